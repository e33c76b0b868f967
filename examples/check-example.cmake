# Runs an example model through the host and checks how it ended: exit status 0, the
# closing messages 4004 and 4999, and ROWS data rows below the header of its CSV file;
# with CHECK, that command (a list) is run on the CSV file and CHECK_ARGS and must
# succeed.
#   cmake -DVIREO=... -DMODEL=... -DCSV=... -DROWS=n -DSTATE=dir [-DCHECK=... -DCHECK_ARGS=...]
#         -P check-example.cmake
file(REMOVE ${CSV})
get_filename_component(dir ${MODEL} DIRECTORY)
get_filename_component(name ${MODEL} NAME_WE)
set(trace ${dir}/${name}.trace)  # the examples run side by side in one directory
file(REMOVE ${trace})
set(ENV{VIREO_MSG_TRACE} ${trace})
# The user directories stay inside the build tree.
set(ENV{VIREO_STATE_DIR} ${STATE}/state)
set(ENV{VIREO_CONFIG_DIR} ${STATE}/config)
set(ENV{VIREO_USER_BLOCKS} ${STATE}/userblocks)
execute_process(COMMAND ${VIREO} ${MODEL} RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "vireo ${MODEL} exited with ${status}")
endif()

file(STRINGS ${trace} records)
set(codes "")
foreach(r ${records})
  string(REGEX MATCH "^[0-9]+" code "${r}")
  if(code AND NOT code STREQUAL "4030")
    list(APPEND codes ${code})
  endif()
endforeach()
list(JOIN codes " " codes)
if(NOT codes MATCHES "4051 4004 4999$")
  message(FATAL_ERROR "unexpected messages: ${codes}")
endif()

file(STRINGS ${CSV} lines)
list(LENGTH lines count)
math(EXPR data "${count} - 1")
if(NOT data EQUAL ROWS)
  message(FATAL_ERROR "${CSV}: ${data} data rows, expected ${ROWS}")
endif()
if(CHECK)
  execute_process(COMMAND ${CHECK} ${CSV} ${CHECK_ARGS} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${CSV}: the check failed")
  endif()
endif()
message(STATUS "${MODEL}: ${data} rows, messages ${codes}")
