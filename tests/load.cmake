# The module under load over its whole gauge table (corvan-bench cycles, faults and soak): install
# and kill cycles natively, under wine64 and on the product under 32-bit Wine (skipped, saying why,
# where the machine runs no 32-bit programs), sound failing at each loading step, a short soak.
# The budgets are those of a working loop: a left sound object or a leak of a few hundred bytes a
# cycle shows in 200 cycles, and natively LeakSanitizer also reports memory left unreachable at
# exit. `make proof` runs the full counts and `make soak` the hour. COST (seconds here) lets ctest
# start the long ones first even before it has timed them.
add_test(NAME load.cycles.native COMMAND $<TARGET_FILE:corvan-bench> cycles --count 2000 WORKING_DIRECTORY ${CORVAN_ROOT})
add_test(NAME load.faults.native COMMAND $<TARGET_FILE:corvan-bench> faults WORKING_DIRECTORY ${CORVAN_ROOT})
add_test(NAME load.soak.native COMMAND $<TARGET_FILE:corvan-bench> soak --seconds 15 WORKING_DIRECTORY ${CORVAN_ROOT})
add_test(NAME load.cycles.wine COMMAND ${CORVAN_ROOT}/tests/wine/run_bench.sh cycles --count 200 WORKING_DIRECTORY ${CORVAN_ROOT})
set_tests_properties(load.soak.native PROPERTIES TIMEOUT 300 COST 15)
set_tests_properties(load.cycles.wine PROPERTIES RESOURCE_LOCK wine TIMEOUT 1200 COST 50)
add_test(NAME load.cycles.wine32 COMMAND ${CORVAN_ROOT}/tests/wine/run_bench.sh --win32 cycles --count 200
         WORKING_DIRECTORY ${CORVAN_ROOT})
set_tests_properties(load.cycles.wine32 PROPERTIES RESOURCE_LOCK wine32 TIMEOUT 1200 SKIP_RETURN_CODE 77 COST 50)
