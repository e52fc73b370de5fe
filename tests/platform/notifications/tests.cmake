# These tests own the name org.freedesktop.Notifications on the shared test
# session bus while they run.
set_tests_properties(${QUILLERY_TEST_NAME} PROPERTIES RESOURCE_LOCK session-bus-notifications LABELS dbus)
