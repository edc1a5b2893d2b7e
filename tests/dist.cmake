# The release: one version everywhere (the product's version resource, the bench), the zip that
# `make dist` writes and what it holds, and the gauge catalogue kept in step with the module.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

add_test(NAME dist.version WORKING_DIRECTORY ${CORVAN_ROOT} COMMAND sh -c [=[
  set -e
  python3 tests/dist/pe_version.py --check VERSION build/win32/Corvan_Instr.gau
  [ "$("$0" --version)" = "corvan-bench $(cat VERSION)" ] || { echo "corvan-bench --version: $("$0" --version)"; exit 1; }]=]
  $<TARGET_FILE:corvan-bench>)

# The committed catalogue is the one the module writes now, and agrees with the scenarios.
add_test(NAME dist.catalogue COMMAND ${Python3_EXECUTABLE} ${CORVAN_ROOT}/tests/dist/check_catalogue.py
         $<TARGET_FILE:corvan-bench> WORKING_DIRECTORY ${CORVAN_ROOT})
set_tests_properties(dist.catalogue PROPERTIES TIMEOUT 300)

# `make dist`'s zip, made again into a temporary folder: what it holds, and that its module is the
# built product stripped of its debug sections, with the version resource.
add_test(NAME dist.zip COMMAND ${Python3_EXECUTABLE} ${CORVAN_ROOT}/tests/dist/check_dist.py WORKING_DIRECTORY ${CORVAN_ROOT})
set_tests_properties(dist.zip PROPERTIES TIMEOUT 300)
