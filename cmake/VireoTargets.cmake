# Helpers shared by every component's CMakeLists.

set(VIREO_CMAKE_DIR ${CMAKE_CURRENT_LIST_DIR})

# A shared library that exports only what its sources mark with VIREO_EXPORT.
function(vireo_hidden_visibility target)
  set_target_properties(${target} PROPERTIES
    C_VISIBILITY_PRESET hidden
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
endfunction()

# A shared library's exports without the C++ names: hidden visibility does not reach the
# standard library's templates instantiated in it, and libraries opened with global
# symbols would otherwise share (and interpose) those instances. Exported functions are
# C names, so nothing meant for callers is lost.
function(vireo_hide_cxx_exports target)
  target_link_options(${target} PRIVATE -Wl,--version-script=${VIREO_CMAKE_DIR}/hide-cxx-exports.map)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${VIREO_CMAKE_DIR}/hide-cxx-exports.map)
endfunction()

# Adds every folder below the current one that has a CMakeLists.txt, in name order, so a
# new area (a test folder, a fuzz target, a shared block concern) needs no edit here.
function(vireo_add_subfolders)
  file(GLOB folders LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT folders)
  foreach(folder ${folders})
    if(IS_DIRECTORY ${folder} AND EXISTS ${folder}/CMakeLists.txt)
      add_subdirectory(${folder})
    endif()
  endforeach()
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

# A block library: a shared library that links the block kit (blocks/common/frame), the
# same target a user's own block library links from the installed package, so that ours
# are built exactly as theirs: only what the sources mark for export leaves the library,
# and its calls to its own exported routines cannot be taken over by another library.
# A library built into lib/ (no OUTPUT_DIRECTORY) lies in the first block directory and
# is installed into the installed one; those built elsewhere are the tests' own.
#   vireo_block_library(target SOURCES ... [LIBS ...] [OUTPUT_NAME name] [OUTPUT_DIRECTORY dir])
function(vireo_block_library target)
  cmake_parse_arguments(ARG "" "OUTPUT_NAME;OUTPUT_DIRECTORY" "SOURCES;LIBS" ${ARGN})
  add_library(${target} SHARED ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE VireoBlockKit ${ARG_LIBS})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${VIREO_CMAKE_DIR}/hide-cxx-exports.map)
  if(ARG_OUTPUT_NAME)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME ${ARG_OUTPUT_NAME})
  endif()
  if(ARG_OUTPUT_DIRECTORY)
    set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${ARG_OUTPUT_DIRECTORY})
  else()
    install(TARGETS ${target} LIBRARY DESTINATION ${VIREO_INSTALL_LIBDIR})
  endif()
endfunction()

# A committed reference table checked against the Python script that writes it from an
# oracle package (Debian's python3-iapws, python3-ephem): the test regenerates the table
# and compares all but its first line, which names the package's version; it is skipped
# where the package is not installed.
#   vireo_add_table_check(NAME test MODULE module SCRIPT script.py TABLE table.inc)
function(vireo_add_table_check)
  cmake_parse_arguments(ARG "" "NAME;MODULE;SCRIPT;TABLE" "" ${ARGN})
  add_test(NAME ${ARG_NAME}
    COMMAND bash -c "/usr/bin/python3 -c 'import ${ARG_MODULE}' 2>/dev/null || exit 77; \
diff <(/usr/bin/python3 \"$0\" | tail -n +2) <(tail -n +2 \"$1\")"
      ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_SCRIPT} ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_TABLE})
  set_tests_properties(${ARG_NAME} PROPERTIES SKIP_RETURN_CODE 77)
endfunction()

# A libFuzzer target, run by CTest (label "fuzz") for a bounded time in the fuzz build.
#   vireo_add_fuzzer(name SOURCES ... [LIBS ...] [CORPUS dir] [SECONDS n] [ARGS ...])
function(vireo_add_fuzzer name)
  cmake_parse_arguments(ARG "" "CORPUS;SECONDS" "SOURCES;LIBS;ARGS" ${ARGN})
  if(NOT ARG_SECONDS)
    set(ARG_SECONDS 60)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  add_dependencies(fuzzers ${name})
  set(work ${CMAKE_BINARY_DIR}/fuzz-work/${name})
  set(corpus)
  if(ARG_CORPUS)
    set(corpus ${ARG_CORPUS})
  endif()
  add_test(NAME ${name}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
            $<TARGET_FILE:${name}> -max_total_time=${ARG_SECONDS} -timeout=10 -rss_limit_mb=2048
            -print_final_stats=1 ${ARG_ARGS} ${work} ${corpus})
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 900)
  file(MAKE_DIRECTORY ${work})
endfunction()
