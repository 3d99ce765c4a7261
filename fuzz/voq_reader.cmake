bwvoq_add_fuzzer(voq_reader fuzz_voq_reader.cpp image)
