bwvoq_add_fuzzer(xml_reader fuzz_xml_reader.cpp image)
