bwvoq_add_benchmark(bench_progress_window ${CMAKE_CURRENT_SOURCE_DIR}/bench_progress_window.cpp platform)
target_compile_definitions(bench_progress_window PRIVATE BWVOQ_CONVERTER="$<TARGET_FILE:BW-VOQ-Orvik>")
add_dependencies(bench_progress_window BW-VOQ-Orvik BWOrvikProgress)
