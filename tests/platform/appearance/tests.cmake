# The portal stand-in owns org.freedesktop.portal.Desktop on the test bus.
set_tests_properties(${QUILLERY_TEST_NAME} PROPERTIES LABELS dbus)
