# Runs an example model through the host and checks how it ended: exit status 0, the
# closing messages 4004 and 4999, and ROWS data rows below the header of its CSV file.
#   cmake -DVIREO=... -DMODEL=... -DCSV=... -DROWS=n -DSTATE=dir -P check-example.cmake
file(REMOVE ${CSV})
get_filename_component(dir ${MODEL} DIRECTORY)
get_filename_component(name ${MODEL} NAME_WE)
# One trace per model: the examples run side by side in one directory.
set(trace ${dir}/${name}-trace.txt)
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
message(STATUS "${MODEL}: ${data} rows, messages ${codes}")
