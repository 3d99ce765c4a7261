bwvoq_add_benchmark(bench_textures ${CMAKE_CURRENT_LIST_DIR}/bench_textures.cpp image)
