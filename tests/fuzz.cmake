# Short fuzz runs of every libFuzzer target (clang, ASan + UBSan); `make fuzz` runs them longer.
add_test(NAME fuzz.short COMMAND ${CORVAN_ROOT}/tests/fuzz/run.sh short WORKING_DIRECTORY ${CORVAN_ROOT})
set_tests_properties(fuzz.short PROPERTIES TIMEOUT 1200 RUN_SERIAL TRUE)
