# The click sound player's own sources go into the unit tests too, so that its steps can be driven
# directly over the platform stand-in; the test program exports a resource table of its own.
target_sources(unit_tests PRIVATE ${CORVAN_ROOT}/module/sound_player.cpp ${CORVAN_ROOT}/module/click_sound.cpp)
target_link_options(unit_tests PRIVATE "LINKER:--export-dynamic-symbol=corvan_embedded_resources")
