# The click sound tests feed the player WAVE files of their own: the test program exports a
# resource table, which the resource functions find when given the null module handle.
target_link_options(unit_tests PRIVATE "LINKER:--export-dynamic-symbol=corvan_embedded_resources")
