# Programs that the Wine tests run, built by the win64 preset next to the module and the bench.

# The click sound player over the real DirectSound, fed from the module's own WAVE resources.
add_executable(corvan-sound-check ${CORVAN_ROOT}/tests/wine/sound_check.cpp ${CORVAN_ROOT}/module/sound_player.cpp
               ${CORVAN_ROOT}/module/click_sound.cpp)
target_link_libraries(corvan-sound-check PRIVATE dsound winmm user32 kernel32)
target_link_options(corvan-sound-check PRIVATE -static -static-libgcc -static-libstdc++)

# The build's double arithmetic at limits the gauges meet exactly: fails where it is x87's.
add_executable(corvan-float-check ${CORVAN_ROOT}/tests/wine/float_check.cpp)
target_link_options(corvan-float-check PRIVATE -static -static-libgcc -static-libstdc++)
