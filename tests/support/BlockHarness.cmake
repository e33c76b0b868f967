# The block harness (block_harness.h) as a library of its own, free of GoogleTest: the
# tests reach it through VireoTestSupport, the benchmark and the fuzz targets link it
# directly. The benchmark is configured also without the tests, so whichever comes first
# defines it.
include_guard(GLOBAL)
add_library(VireoBlockHarness STATIC ${CMAKE_CURRENT_LIST_DIR}/block_harness.cpp)
target_include_directories(VireoBlockHarness PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(VireoBlockHarness PRIVATE VIREO_BUILD_DIR="${CMAKE_BINARY_DIR}")
target_link_libraries(VireoBlockHarness PUBLIC ${CMAKE_DL_LIBS})
