# Short fuzz runs of every libFuzzer target (clang, ASan + UBSan): the corpus in the tree, then a
# few seconds of fuzzing each; `make fuzz` runs them for hours.
add_test(NAME fuzz.short COMMAND ${CORVAN_ROOT}/tests/fuzz/run.sh short WORKING_DIRECTORY ${CORVAN_ROOT})
set_tests_properties(fuzz.short PROPERTIES TIMEOUT 1200 COST 25)
