# The served page in headless Chromium: Debian's browser driven by playwright-core (installed by
# scripts/setup.sh with npm ci in tests/browser), run by node's own test runner.
find_program(CORVAN_NODE node)
add_test(NAME bench.browser_page
         COMMAND ${CORVAN_NODE} --test ${CORVAN_ROOT}/tests/browser/
         WORKING_DIRECTORY ${CORVAN_ROOT})
set_tests_properties(bench.browser_page PROPERTIES TIMEOUT 600 RESOURCE_LOCK browser COST 35
                     ENVIRONMENT "CORVAN_BENCH=$<TARGET_FILE:corvan-bench>;CORVAN_PANEL=${CORVAN_ROOT}/panels/default/panel.cfg;CORVAN_SCENARIO=${CORVAN_ROOT}/panels/default/demo.scn")
