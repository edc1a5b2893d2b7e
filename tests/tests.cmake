# Every test of the project, run by ctest from the native build: unit tests, scenario suites
# natively, under wine64 and on the product itself under 32-bit Wine, the static check of the
# product and short fuzz runs.

find_package(GTest REQUIRED)

file(GLOB CORVAN_UNIT_TESTS CONFIGURE_DEPENDS ${CORVAN_ROOT}/tests/unit/*.cpp)
# Unit tests compile the module's helper units (lower-case names; gauge units are named after
# their gauge) into the test itself; the gauge table stays in the loaded module.
file(GLOB CORVAN_MODULE_HELPERS CONFIGURE_DEPENDS
  ${CORVAN_ROOT}/module/[a-z]*.cpp ${CORVAN_ROOT}/radios/[a-z]*.cpp ${CORVAN_ROOT}/flight/[a-z]*.cpp
  ${CORVAN_ROOT}/autopilot/[a-z]*.cpp ${CORVAN_ROOT}/engine/[a-z]*.cpp ${CORVAN_ROOT}/systems/[a-z]*.cpp
  ${CORVAN_ROOT}/displays/[a-z]*.cpp)
list(FILTER CORVAN_MODULE_HELPERS EXCLUDE REGEX "/linkage\\.cpp$")
add_executable(unit_tests ${CORVAN_UNIT_TESTS} ${CORVAN_MODULE_HELPERS})
target_link_libraries(unit_tests PRIVATE corvan_bench_core GTest::gtest_main)
set_target_properties(unit_tests PROPERTIES BUILD_RPATH "${CMAKE_BINARY_DIR}")
add_dependencies(unit_tests corvan_module)
gtest_discover_tests(unit_tests WORKING_DIRECTORY ${CORVAN_ROOT} DISCOVERY_MODE PRE_TEST
                     PROPERTIES ENVIRONMENT "CORVAN_MODULE=${CMAKE_BINARY_DIR}/Corvan_Instr.so")

# One test per scenario folder: natively, under wine64, and on the product (build/win32) under
# 32-bit Wine, which reports itself skipped, with the reason, where 32-bit programs cannot run.
file(GLOB_RECURSE CORVAN_SCENARIOS CONFIGURE_DEPENDS ${CORVAN_ROOT}/tests/scenarios/*.scn)
set(CORVAN_SCENARIO_DIRS "")
foreach(scn ${CORVAN_SCENARIOS})
  get_filename_component(dir ${scn} DIRECTORY)
  list(APPEND CORVAN_SCENARIO_DIRS ${dir})
endforeach()
list(REMOVE_DUPLICATES CORVAN_SCENARIO_DIRS)
foreach(dir ${CORVAN_SCENARIO_DIRS})
  file(RELATIVE_PATH family ${CORVAN_ROOT}/tests/scenarios ${dir})
  if(family STREQUAL "")
    set(family "top")
  endif()
  file(GLOB files ${dir}/*.scn)
  add_test(NAME scenarios.native.${family}
           COMMAND $<TARGET_FILE:corvan-bench> run --panel ${CORVAN_ROOT}/panels/default/panel.cfg ${files}
           WORKING_DIRECTORY ${CORVAN_ROOT})
  add_test(NAME scenarios.wine.${family}
           COMMAND ${CORVAN_ROOT}/tests/wine/run_bench.sh run ${files}
           WORKING_DIRECTORY ${CORVAN_ROOT})
  set_tests_properties(scenarios.wine.${family} PROPERTIES RESOURCE_LOCK wine TIMEOUT 900)
  add_test(NAME scenarios.wine32.${family}
           COMMAND ${CORVAN_ROOT}/tests/wine/run_bench.sh --win32 run ${files}
           WORKING_DIRECTORY ${CORVAN_ROOT})
  set_tests_properties(scenarios.wine32.${family} PROPERTIES RESOURCE_LOCK wine32 TIMEOUT 900 SKIP_RETURN_CODE 77)
endforeach()

# The product's arithmetic and sound under 32-bit Wine, and the one-line skip where it cannot run.
add_test(NAME wine32.float_check COMMAND ${CORVAN_ROOT}/tests/wine/run_bench.sh --win32 --program corvan-float-check.exe
         WORKING_DIRECTORY ${CORVAN_ROOT})
add_test(NAME wine32.sound COMMAND ${CORVAN_ROOT}/tests/wine/sound_test.sh --win32 WORKING_DIRECTORY ${CORVAN_ROOT})
set_tests_properties(wine32.float_check wine32.sound PROPERTIES RESOURCE_LOCK wine32 TIMEOUT 600 SKIP_RETURN_CODE 77)
add_test(NAME wine32.skip_reason WORKING_DIRECTORY ${CORVAN_ROOT} COMMAND sh -c [=[
  out="$(CORVAN_NO_I386=1 tests/wine/run_bench.sh --win32 run none.scn)"; rc=$?; echo "$out"
  [ $rc -eq 77 ] && [ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] && printf '%s' "$out" | grep -q '^skipped: .*32-bit']=])

# Bad input: the runner reports it by file and line and never crashes.
add_test(NAME bench.bad_input COMMAND ${CORVAN_ROOT}/tests/bench_bad_input.sh $<TARGET_FILE:corvan-bench>
         WORKING_DIRECTORY ${CORVAN_ROOT})

# The product, checked statically as well: its format, exports, imports and resources.
add_test(NAME product.win32_pe_check COMMAND ${CORVAN_ROOT}/tests/check_win32_product.sh
         ${CORVAN_ROOT}/build/win32/Corvan_Instr.gau WORKING_DIRECTORY ${CORVAN_ROOT})

# The product read from its file at the panel system's own offsets, as the simulator reads it (no
# Wine, no module header); first the reader itself must report faults planted in a copy.
add_test(NAME product.host_read_self_test WORKING_DIRECTORY ${CORVAN_ROOT}
         COMMAND python3 tests/host_read/read_gau.py build/win32/Corvan_Instr.gau --self-test)
add_test(NAME product.host_read WORKING_DIRECTORY ${CORVAN_ROOT}
         COMMAND python3 tests/host_read/read_gau.py build/win32/Corvan_Instr.gau)

file(GLOB CORVAN_EXTRA_TESTS CONFIGURE_DEPENDS ${CORVAN_ROOT}/tests/*.cmake)
list(FILTER CORVAN_EXTRA_TESTS EXCLUDE REGEX "tests\\.cmake$")
foreach(extra ${CORVAN_EXTRA_TESTS})
  include(${extra})
endforeach()
