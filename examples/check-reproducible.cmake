# Runs a script that writes a committed file and compares its output with the file.
#   cmake -DPYTHON=... -DSCRIPT=... -DCOMMITTED=... -DOUTPUT=... -P check-reproducible.cmake
get_filename_component(dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${dir})
execute_process(COMMAND ${PYTHON} ${SCRIPT} ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${SCRIPT} exited with ${status}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${COMMITTED} RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "${COMMITTED} is not what ${SCRIPT} writes; run the script and review the change")
endif()
