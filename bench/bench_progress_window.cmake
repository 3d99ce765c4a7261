# Its runs of another program's window use the tests' program runner.
if(TARGET testsupport)
  bwvoq_add_benchmark(bench_progress_window ${CMAKE_CURRENT_SOURCE_DIR}/bench_progress_window.cpp platform
                      testsupport)
  target_compile_definitions(bench_progress_window PRIVATE BWVOQ_CONVERTER="$<TARGET_FILE:BW-VOQ-Orvik>")
  add_dependencies(bench_progress_window BW-VOQ-Orvik BWOrvikProgress)
endif()
