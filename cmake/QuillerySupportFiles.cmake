# Desktop integration and packaging: the desktop entry, AppStream metainfo,
# the icon at every hicolor size, and a Debian package (make package).
include(GNUInstallDirs)
include(QuilleryTranslations)

add_executable(quillery_render_icon ${CMAKE_SOURCE_DIR}/tools/RenderIcon.cpp)
target_link_libraries(quillery_render_icon PRIVATE quillery_options Qt6::Gui Qt6::Svg)

set(QUILLERY_ID app.quillery.Quillery)
set(QUILLERY_ICON_SVG ${CMAKE_SOURCE_DIR}/data/icons/${QUILLERY_ID}.svg)
set(QUILLERY_ICON_PNGS "")
foreach(size 16 24 32 48 64 128 256 512)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${QUILLERY_ID}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
        COMMAND quillery_render_icon ${QUILLERY_ICON_SVG} ${size} ${png}
        DEPENDS quillery_render_icon ${QUILLERY_ICON_SVG}
        COMMENT "Rendering the ${size}px icon")
    list(APPEND QUILLERY_ICON_PNGS ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(quillery_icons ALL DEPENDS ${QUILLERY_ICON_PNGS})

install(FILES ${QUILLERY_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The same icon built into the program, for its own windows (the about dialog).
qt_add_resources(quillery_ui quillery_app_icon PREFIX /app BASE ${CMAKE_SOURCE_DIR}/data FILES ${QUILLERY_ICON_SVG})

set(QUILLERY_DESKTOP_ENTRY ${CMAKE_SOURCE_DIR}/data/${QUILLERY_ID}.desktop)
install(FILES ${QUILLERY_DESKTOP_ENTRY} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The screenshot software centres show (scripts/take-screenshot.sh makes it).
# Its size goes into the metainfo, read from the PNG's header.
set(QUILLERY_SCREENSHOT ${CMAKE_SOURCE_DIR}/data/screenshots/book.png)
file(READ ${QUILLERY_SCREENSHOT} png_size OFFSET 16 LIMIT 8 HEX)
string(SUBSTRING "${png_size}" 0 8 png_width)
string(SUBSTRING "${png_size}" 8 8 png_height)
math(EXPR QUILLERY_SCREENSHOT_WIDTH "0x${png_width}")
math(EXPR QUILLERY_SCREENSHOT_HEIGHT "0x${png_height}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QUILLERY_SCREENSHOT})
install(FILES ${QUILLERY_SCREENSHOT} DESTINATION ${CMAKE_INSTALL_DATADIR}/quillery/screenshots)

# AppStream metainfo: the newest release is the project's version.
set(QUILLERY_RELEASE_DATE 2026-12-06)
set(QUILLERY_METAINFO ${CMAKE_BINARY_DIR}/data/${QUILLERY_ID}.metainfo.xml)
configure_file(${CMAKE_SOURCE_DIR}/data/${QUILLERY_ID}.metainfo.xml.in ${QUILLERY_METAINFO} @ONLY)
install(FILES ${QUILLERY_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The desktop's own validators check both files as part of the tests.
if(QUILLERY_BUILD_TESTS)
    find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
    find_program(APPSTREAMCLI appstreamcli)
    if(DESKTOP_FILE_VALIDATE)
        add_test(NAME desktop_entry_valid COMMAND ${DESKTOP_FILE_VALIDATE} ${QUILLERY_DESKTOP_ENTRY})
        set_tests_properties(desktop_entry_valid PROPERTIES LABELS fast)
    endif()
    if(APPSTREAMCLI)
        add_test(NAME metainfo_valid COMMAND ${APPSTREAMCLI} validate --no-net --no-color ${QUILLERY_METAINFO})
        set_tests_properties(metainfo_valid PROPERTIES LABELS fast)
    endif()
endif()

# Who wrote Quillery and under which licence, where Debian looks for it.
install(FILES ${CMAKE_SOURCE_DIR}/data/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillery)

# The manual page and the package's changelog, compressed the way Debian
# keeps them (no name or time stamp inside, so the same text gives the same
# file).
find_program(GZIP_PROGRAM gzip REQUIRED)
configure_file(${CMAKE_SOURCE_DIR}/data/quillery.1 ${CMAKE_BINARY_DIR}/data/quillery.1 @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/data/changelog.Debian ${CMAKE_BINARY_DIR}/data/changelog.Debian COPYONLY)
set(QUILLERY_COMPRESSED_DOCS "")
foreach(doc quillery.1 changelog.Debian)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/data/${doc}.gz
        COMMAND ${GZIP_PROGRAM} -9nkf ${CMAKE_BINARY_DIR}/data/${doc}
        DEPENDS ${CMAKE_BINARY_DIR}/data/${doc}
        COMMENT "Compressing ${doc}")
    list(APPEND QUILLERY_COMPRESSED_DOCS ${CMAKE_BINARY_DIR}/data/${doc}.gz)
endforeach()
add_custom_target(quillery_docs ALL DEPENDS ${QUILLERY_COMPRESSED_DOCS})
install(FILES ${CMAKE_BINARY_DIR}/data/quillery.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/data/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillery)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillery)
set(CPACK_PACKAGE_VENDOR "Quillery Developers")
set(CPACK_PACKAGE_CONTACT "Quillery Developers <dev@quillery.app>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Task planner shaped like a paper notebook")
set(CPACK_PACKAGE_DESCRIPTION "Quillery keeps your tasks in a book of pages: tick them off, nest subtasks,\n give them a due day, a reminder, a place, notes, photos and files.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://quillery.app")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# dpkg-shlibdeps finds the libraries the program links (Qt, SQLite, ICU,
# libpq, libgeonames, ...) with their versions.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Runtime data and plugins the libraries do not pull in by themselves: the X11
# platform plugin, image formats of attached photos (SVG pictures are read
# through Qt's plugin, which the linker no longer records as a library the
# program needs), the symbols, file types, the session bus for notifications,
# and the browser hand-off.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-image-formats-plugins, libqt6svg6, adwaita-icon-theme, shared-mime-info, dbus, xdg-utils")
# Native windows on Wayland desktops (without it Qt falls back to XWayland).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
