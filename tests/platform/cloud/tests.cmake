# The cloud tests run against a throwaway PostgreSQL cluster that CTest starts
# before them and removes after them. Run by hand, the test program starts one
# of its own with the same script.
set(_pg_state ${CMAKE_BINARY_DIR}/tests/${QUILLERY_TEST_NAME}.pg-state)
add_test(NAME ${QUILLERY_TEST_NAME}_cluster_start COMMAND ${QUILLERY_TEST_DIR}/pg-cluster.sh start ${_pg_state})
add_test(NAME ${QUILLERY_TEST_NAME}_cluster_stop COMMAND ${QUILLERY_TEST_DIR}/pg-cluster.sh stop ${_pg_state})
set_tests_properties(${QUILLERY_TEST_NAME}_cluster_start PROPERTIES
    FIXTURES_SETUP ${QUILLERY_TEST_NAME}_cluster TIMEOUT 120)
set_tests_properties(${QUILLERY_TEST_NAME}_cluster_stop PROPERTIES
    FIXTURES_CLEANUP ${QUILLERY_TEST_NAME}_cluster TIMEOUT 60)
set_tests_properties(${QUILLERY_TEST_NAME} PROPERTIES FIXTURES_REQUIRED ${QUILLERY_TEST_NAME}_cluster)
set_tests_properties(${QUILLERY_TEST_NAME} ${QUILLERY_TEST_NAME}_cluster_start ${QUILLERY_TEST_NAME}_cluster_stop
    PROPERTIES LABELS pg)
set_property(TEST ${QUILLERY_TEST_NAME} APPEND PROPERTY ENVIRONMENT "QUILLERY_PG_STATE=${_pg_state}")
target_compile_definitions(${QUILLERY_TEST_NAME} PRIVATE
    QUILLERY_PG_SCRIPT="${QUILLERY_TEST_DIR}/pg-cluster.sh"
    QUILLERY_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
# The mirror itself is reached through its module, as the program does; the
# tests also open connections of their own to set up and look at the server.
target_link_libraries(${QUILLERY_TEST_NAME} PRIVATE quillery_pg SQLiteCpp)
