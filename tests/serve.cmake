# The interactive page: a server on a free loopback port over the default panel and its demo,
# driven through its HTTP interface and stopped again.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME bench.serve_page
         COMMAND ${Python3_EXECUTABLE} ${CORVAN_ROOT}/tests/serve/serve_page_test.py $<TARGET_FILE:corvan-bench>
                 ${CORVAN_ROOT}/panels/default/panel.cfg ${CORVAN_ROOT}/panels/default/demo.scn
         WORKING_DIRECTORY ${CORVAN_ROOT})
set_tests_properties(bench.serve_page PROPERTIES TIMEOUT 240)
