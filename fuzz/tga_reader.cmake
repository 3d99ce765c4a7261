bwvoq_add_fuzzer(tga_reader fuzz_tga_reader.cpp image)
