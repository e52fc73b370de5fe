# The accessibility audit lives with the test helpers; place searches stay
# on this machine.
target_sources(${QUILLERY_TEST_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support/A11yAudit.cpp
    ${CMAKE_SOURCE_DIR}/tests/support/A11yAudit.h)
set_property(TEST ${QUILLERY_TEST_NAME} APPEND PROPERTY ENVIRONMENT
    "QUILLERY_PLACES_URL=off" "QUILLERY_TILE_URL=off" "LANGUAGE=en")
