# The real sound path under Wine: the win64 module's own WAVE resources, loaded through its module
# handle, played through DirectSound into an ALSA file device; the captured audio must not be silent.
add_test(NAME wine.sound COMMAND ${CORVAN_ROOT}/tests/wine/sound_test.sh WORKING_DIRECTORY ${CORVAN_ROOT})
set_tests_properties(wine.sound PROPERTIES RESOURCE_LOCK wine TIMEOUT 600 SKIP_RETURN_CODE 77)
