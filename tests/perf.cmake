# Google Benchmarks (tests/bench/*.cpp) in one executable, perf_benchmarks; `make perf` runs it from
# the optimised, unsanitized release build (and `make run` builds it there). Not a ctest test:
# timings are read, not asserted, so the test builds leave it out of their default target.

find_package(benchmark REQUIRED)

file(GLOB CORVAN_BENCHMARKS CONFIGURE_DEPENDS ${CORVAN_ROOT}/tests/bench/*.cpp)
add_executable(perf_benchmarks ${CORVAN_BENCHMARKS})
target_link_libraries(perf_benchmarks PRIVATE corvan_bench_core benchmark::benchmark)
set_target_properties(perf_benchmarks PROPERTIES BUILD_RPATH "${CMAKE_BINARY_DIR}" EXCLUDE_FROM_ALL TRUE)
add_dependencies(perf_benchmarks corvan_module)
