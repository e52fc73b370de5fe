# The launch tests start the real program.
add_dependencies(${QUILLERY_TEST_NAME} quillery)
