# Helpers shared by every component's CMakeLists.

# A shared library that exports only what its sources mark with VIREO_EXPORT.
function(vireo_hidden_visibility target)
  set_target_properties(${target} PROPERTIES
    C_VISIBILITY_PRESET hidden
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
endfunction()

# A GoogleTest executable registered with CTest. The user directories point into the
# build tree, so a test run never writes into the user's home.
function(vireo_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gtest_main VireoTestSupport ${ARG_LIBS})
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "VIREO_STATE_DIR=${CMAKE_BINARY_DIR}/test-state/state;VIREO_CONFIG_DIR=${CMAKE_BINARY_DIR}/test-state/config;VIREO_USER_BLOCKS=${CMAKE_BINARY_DIR}/test-state/userblocks;${ARG_ENV}")
endfunction()
