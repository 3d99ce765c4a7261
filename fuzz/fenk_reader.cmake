bwvoq_add_fuzzer(fenk_reader fuzz_fenk_reader.cpp image)
