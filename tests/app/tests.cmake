# The launch tests start the real program.
add_dependencies(${QUILLERY_TEST_NAME} quillery)

# The end-to-end test answers as the desktop's notification server on the
# shared test bus.
target_sources(${QUILLERY_TEST_NAME} PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../platform/notifications/TestNotificationServer.cpp)
set_tests_properties(${QUILLERY_TEST_NAME} PROPERTIES RESOURCE_LOCK session-bus-notifications LABELS e2e)

# The accessibility audit of the assembled window.
target_sources(${QUILLERY_TEST_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support/A11yAudit.cpp)
