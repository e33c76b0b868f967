# Installs the build tree BUILD into PREFIX and runs every installed example there.
#   cmake -DBUILD=dir -DSOURCE=dir -DPREFIX=dir -P check-install.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install exited with ${status}")
endif()

set(libs ${PREFIX}/lib/vireo)
foreach(f bin/vireo bin/blockdoc lib/vireo/libVireoTools.so lib/vireo/libVireoEngine.so lib/vireo/libVireoBridge.so
          lib/vireo/libVireoUB.so lib/vireo/libVireoEM.so share/vireo/examples/sun-year.vireo
          share/vireo/examples/weather-year.vireo share/vireo/examples/auckland-2023.csv
          lib/cmake/Vireo/VireoConfig.cmake lib/cmake/Vireo/VireoConfigVersion.cmake
          include/vireo/BlockFrame.h include/vireo/BlockProtocol.h include/vireo/Stepping.h
          lib/libVireoBlockStepping.a)
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
# The block kit and nothing of the engine's inside.
file(GLOB_RECURSE inside RELATIVE ${PREFIX} ${PREFIX}/include/* ${PREFIX}/lib/*.a)
foreach(f ${inside})
  if(f MATCHES "(Compiler|Loader|Simulator|vireoEngine|IDRecord|Engine[^/]*\\.a|Format)")
    message(FATAL_ERROR "installed from the engine's inside: ${f}")
  endif()
endforeach()
if(NOT IS_DIRECTORY ${libs}/include)
  message(FATAL_ERROR "not installed: the include directory lib/vireo/include")
endif()
# The empty weather database, where the blocks look for it.
foreach(f vireoWeather.loc vireoWeather.ind vireoWeather.dat)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${libs}/data/mtm/${f} ${SOURCE}/blocks/em/data/mtm/${f}
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "not installed as committed: lib/vireo/data/mtm/${f}")
  endif()
endforeach()

# Nothing installed may find its libraries in the build tree: it would run there only.
file(GLOB installed ${PREFIX}/bin/* ${libs}/*.so)
foreach(f ${installed})
  file(READ_ELF ${f} RPATH rpath RUNPATH runpath)
  if("${rpath}${runpath}" MATCHES "${BUILD}")
    message(FATAL_ERROR "${f} looks for libraries in the build tree: ${rpath}${runpath}")
  endif()
endforeach()

# A user's shell: another working directory, a home of its own, none of VIREO's
# directory variables.
set(home ${PREFIX}/home)
file(MAKE_DIRECTORY ${home}/elsewhere)
set(clean ${CMAKE_COMMAND} -E env --unset=VIREO_HOME --unset=VIREO_USER_BLOCKS --unset=VIREO_INCLUDE_DIR
    --unset=VIREO_STATE_DIR --unset=VIREO_CONFIG_DIR --unset=VIREO_MSG_TRACE --unset=LD_LIBRARY_PATH
    --unset=XDG_DATA_HOME --unset=XDG_STATE_HOME --unset=XDG_CONFIG_HOME HOME=${home})
set(examples ${PREFIX}/share/vireo/examples)
# Every example model of the sources is installed, and runs.
file(GLOB sources RELATIVE ${SOURCE}/examples ${SOURCE}/examples/*.vireo)
file(GLOB models RELATIVE ${examples} ${examples}/*.vireo)
if(NOT sources STREQUAL models)
  message(FATAL_ERROR "example models installed: ${models}; in the sources: ${sources}")
endif()
list(TRANSFORM models PREPEND ${examples}/)
list(LENGTH models count)
foreach(model ${models})
  execute_process(COMMAND ${clean} ${PREFIX}/bin/vireo ${model}
                  WORKING_DIRECTORY ${home}/elsewhere OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT out MATCHES "Running VIREO" OR NOT out MATCHES "End of VIREO run")
    message(FATAL_ERROR "the installed vireo exited with ${status} on ${model}:\n${out}${err}")
  endif()
endforeach()
file(STRINGS ${examples}/sun-2023.csv lines)
list(LENGTH lines rows)
if(NOT rows EQUAL 8761)
  message(FATAL_ERROR "${examples}/sun-2023.csv: ${rows} lines, expected 8761")
endif()
message(STATUS "installed into ${PREFIX}; its ${count} examples ran")
