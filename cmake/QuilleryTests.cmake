# quillery_add_test_layer(<layer> <support-target>)
# Makes one test executable per sub-folder of tests/<layer>/ (files directly in
# tests/<layer>/ form test_<layer>). A folder may hold a tests.cmake that adds
# CTest fixtures, labels or environment to its test. Every test carries one
# label: `pg` (a throwaway PostgreSQL cluster), `dbus` (owns a name on the
# session bus), `http` (servers on loopback), `e2e` (starts the whole
# program) or, by default, `fast`.
function(quillery_add_test_layer layer support)
    set(root ${CMAKE_CURRENT_SOURCE_DIR}/${layer})
    file(GLOB children RELATIVE ${root} CONFIGURE_DEPENDS ${root}/*)
    set(groups "")
    foreach(child IN LISTS children)
        if(IS_DIRECTORY ${root}/${child})
            list(APPEND groups ${child})
        endif()
    endforeach()
    file(GLOB top_sources CONFIGURE_DEPENDS ${root}/*.cpp)
    if(top_sources)
        _quillery_add_test(test_${layer} ${root} "${top_sources}" ${support})
    endif()
    foreach(group IN LISTS groups)
        file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${root}/${group}/*.cpp ${root}/${group}/*.h)
        if(sources)
            _quillery_add_test(test_${layer}_${group} ${root}/${group} "${sources}" ${support})
        endif()
    endforeach()
endfunction()

function(_quillery_add_test name dir sources support)
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${support})
    target_precompile_headers(${name} REUSE_FROM ${support})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT 600
        ENVIRONMENT "LANG=C.UTF-8;LC_ALL=;LANGUAGE=;QT_QPA_PLATFORM=offscreen;QUILLERY_PLACES_URL=off;QUILLERY_TILE_URL=off;QUILLERY_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data;QUILLERY_BINARY_DIR=${CMAKE_BINARY_DIR}")
    set(QUILLERY_TEST_NAME ${name})
    set(QUILLERY_TEST_DIR ${dir})
    if(EXISTS ${dir}/tests.cmake)
        include(${dir}/tests.cmake)
    endif()
    get_test_property(${name} LABELS labels)
    if(NOT labels)
        set_tests_properties(${name} PROPERTIES LABELS fast)
    endif()
endfunction()
