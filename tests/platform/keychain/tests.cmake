# Starts a private D-Bus bus and a Secret Service (gnome-keyring-daemon) of
# its own, so the user's real secret store is never touched.
set_tests_properties(${QUILLERY_TEST_NAME} PROPERTIES LABELS dbus)
