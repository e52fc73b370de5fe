# The program's texts in other languages: translations/quillery_<language>.ts
# in the source tree. lupdate keeps them in step with the sources (the
# update_translations target, which `make` runs before every build): a new
# text arrives marked unfinished, a text gone from the sources leaves.
# lrelease compiles them into <build>/share/quillery/translations, beside the
# program (build/bin) and the tests (build/tests) as in an installed tree,
# and they are installed to <prefix>/share/quillery/translations.
#
# quillery_en.ts holds only the English plural forms ("1 page", "2 pages");
# every other text is its own English.
file(GLOB_RECURSE QUILLERY_TRANSLATABLE_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/src/*.cpp ${CMAKE_SOURCE_DIR}/src/*.h)
set(QUILLERY_TS_DIR ${CMAKE_SOURCE_DIR}/translations)
set(QUILLERY_QM_DIR ${CMAKE_BINARY_DIR}/share/quillery/translations)
# No line numbers: an edit elsewhere in a file leaves the catalogues alone.
set(QUILLERY_LUPDATE_OPTIONS -silent -no-obsolete -locations none -source-language en)

qt6_add_lupdate(quillery_de NO_GLOBAL_TARGET
    TS_FILES ${QUILLERY_TS_DIR}/quillery_de.ts
    SOURCES ${QUILLERY_TRANSLATABLE_SOURCES}
    INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}/src
    OPTIONS ${QUILLERY_LUPDATE_OPTIONS})
qt6_add_lupdate(quillery_en NO_GLOBAL_TARGET
    TS_FILES ${QUILLERY_TS_DIR}/quillery_en.ts
    SOURCES ${QUILLERY_TRANSLATABLE_SOURCES}
    INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}/src
    OPTIONS ${QUILLERY_LUPDATE_OPTIONS} -pluralonly)
add_custom_target(update_translations DEPENDS quillery_de_lupdate quillery_en_lupdate)

set(QUILLERY_TS_FILES ${QUILLERY_TS_DIR}/quillery_de.ts ${QUILLERY_TS_DIR}/quillery_en.ts)
set_source_files_properties(${QUILLERY_TS_FILES} PROPERTIES OUTPUT_LOCATION ${QUILLERY_QM_DIR})
# The program library depends on them, so every program and test that links
# it finds the catalogues built.
qt6_add_lrelease(quillery_app NO_GLOBAL_TARGET
    TS_FILES ${QUILLERY_TS_FILES}
    OPTIONS -silent
    QM_FILES_OUTPUT_VARIABLE QUILLERY_QM_FILES)
install(FILES ${QUILLERY_QM_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/quillery/translations)

# The German catalogue is complete: every text marked for translation has
# its German (scripts/check-translations.sh says which are missing).
if(QUILLERY_BUILD_TESTS)
    add_test(NAME translations_complete
        COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-translations.sh ${QUILLERY_TS_DIR}/quillery_de.ts
            $<TARGET_FILE:Qt6::lupdate> $<TARGET_FILE:Qt6::lrelease>)
    set_tests_properties(translations_complete PROPERTIES LABELS fast)
endif()
