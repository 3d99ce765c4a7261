include(${PROJECT_SOURCE_DIR}/tests/etc1_reference/etc1_reference.cmake)
bwvoq_add_benchmark(bench_etc1 ${CMAKE_CURRENT_SOURCE_DIR}/bench_etc1.cpp etc1 etc1_reference image)
target_include_directories(bench_etc1 PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_sources(bench_etc1 PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/bench_etc1_pool.cpp)
