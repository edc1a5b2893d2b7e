# WAVE data: random bytes as a WAVE resource, loaded by the click sound player over the platform
# layer. Sourced by run.sh; the program exports its resource table for the resource functions.
wave_bin="$out/fuzz_wave_data"
wave_sources=("$root/tests/fuzz/fuzz_wave_data.cpp" "$root/module/sound_player.cpp" "$root"/platform/*.cpp)
if [ ! -x "$wave_bin" ] || [ -n "$(find "${wave_sources[@]}" "$root/module/sound_player.h" \
     "$root/module/win32_api.h" "$root"/platform/*.h "$0" "${BASH_SOURCE[0]}" -newer "$wave_bin" | head -n 1)" ]; then
  clang++ "${flags[@]}" "${wave_sources[@]}" -o "$wave_bin" -ldl \
    -Wl,--export-dynamic-symbol=corvan_embedded_resources
fi
targets+=(fuzz_wave_data)
