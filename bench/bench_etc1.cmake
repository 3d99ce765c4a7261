bwvoq_add_benchmark(bench_etc1 ${CMAKE_CURRENT_SOURCE_DIR}/bench_etc1.cpp etc1 image)
target_include_directories(bench_etc1 PRIVATE ${PROJECT_SOURCE_DIR}/tests)
