# The benchmark build: what the runtime search costs over many registered runtimes, measured
# optimised and without sanitizers so that the figures stand for the shipped code.

find_package(benchmark REQUIRED)

add_executable(runtime_search_bench bench/runtime_search_bench.cpp)
# The benchmark drives the search through the same in-memory machine as the unit tests.
target_include_directories(runtime_search_bench PRIVATE tests/unit)
target_link_libraries(runtime_search_bench PRIVATE launcher_core benchmark::benchmark_main)
target_compile_options(runtime_search_bench PRIVATE -Wall -Wextra)
