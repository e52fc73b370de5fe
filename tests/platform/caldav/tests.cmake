# The sync tests run against a throwaway Radicale server that CTest starts
# before them and removes after them. Run by hand, the test program starts
# one of its own with the same script.
set(_rad_state ${CMAKE_BINARY_DIR}/tests/${QUILLERY_TEST_NAME}.radicale-state)
add_test(NAME ${QUILLERY_TEST_NAME}_server_start COMMAND ${QUILLERY_TEST_DIR}/radicale.sh start ${_rad_state})
add_test(NAME ${QUILLERY_TEST_NAME}_server_stop COMMAND ${QUILLERY_TEST_DIR}/radicale.sh stop ${_rad_state})
set_tests_properties(${QUILLERY_TEST_NAME}_server_start PROPERTIES
    FIXTURES_SETUP ${QUILLERY_TEST_NAME}_server TIMEOUT 60)
set_tests_properties(${QUILLERY_TEST_NAME}_server_stop PROPERTIES
    FIXTURES_CLEANUP ${QUILLERY_TEST_NAME}_server TIMEOUT 60)
set_tests_properties(${QUILLERY_TEST_NAME} PROPERTIES FIXTURES_REQUIRED ${QUILLERY_TEST_NAME}_server)
set_tests_properties(${QUILLERY_TEST_NAME} ${QUILLERY_TEST_NAME}_server_start ${QUILLERY_TEST_NAME}_server_stop
    PROPERTIES LABELS http)
set_property(TEST ${QUILLERY_TEST_NAME} APPEND PROPERTY ENVIRONMENT "QUILLERY_RADICALE_STATE=${_rad_state}")
target_compile_definitions(${QUILLERY_TEST_NAME} PRIVATE
    QUILLERY_RADICALE_SCRIPT="${QUILLERY_TEST_DIR}/radicale.sh")
