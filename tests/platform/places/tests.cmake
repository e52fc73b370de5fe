# The place tests talk only to servers they start themselves; the public
# geocoder and tile server are switched off, and the gazetteer answers in
# English.
set_property(TEST ${QUILLERY_TEST_NAME} APPEND PROPERTY ENVIRONMENT
    "QUILLERY_PLACES_URL=off" "QUILLERY_TILE_URL=off" "LANGUAGE=en")
# Real HTTP servers on loopback, and waits for real network timeouts.
set_tests_properties(${QUILLERY_TEST_NAME} PROPERTIES LABELS http)
