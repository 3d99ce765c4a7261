# The plain reference compressors, shared by the tests and the benchmarks.
include_guard(GLOBAL)
file(GLOB etc1_reference_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_library(etc1_reference STATIC ${etc1_reference_sources})
target_include_directories(etc1_reference PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(etc1_reference PUBLIC etc1)
