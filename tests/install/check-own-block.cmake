# A block library built outside the tree against the installed package in PREFIX, as a
# user builds it: the project PROJECT (examples/own-block) copied into WORK, configured
# with the default generator and find_package(Vireo), its model run by the installed
# vireo from another folder, its reference built by the installed blockdoc.
#   cmake -DPREFIX=dir -DPROJECT=dir -DWORK=dir -P check-own-block.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/home/elsewhere)
file(COPY ${PROJECT}/ DESTINATION ${WORK}/own-block)
set(project ${WORK}/own-block)
set(build ${project}/build)

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR "${out}${err}" MATCHES "warning:")
    message(FATAL_ERROR "${what} failed (${status}) or warned:\n${out}${err}")
  endif()
endfunction()

# Nothing of the build tree may help: a generator of its own, the package found by prefix.
run("configuring the outside project"
    ${CMAKE_COMMAND} -E env --unset=CMAKE_GENERATOR --unset=CMAKE_PREFIX_PATH --unset=Vireo_DIR
    ${CMAKE_COMMAND} -S ${project} -B ${build} -DCMAKE_PREFIX_PATH=${PREFIX} -DCMAKE_BUILD_TYPE=Release)
run("building the outside project" ${CMAKE_COMMAND} --build ${build} -j 4)

# Built as our block libraries are: only the block functions and info leave it, not the
# routines its blocks share.
set(library ${build}/blocks/libHeatMeterBlocks.so)
find_program(NM nm REQUIRED)
execute_process(COMMAND ${NM} -D --defined-only --format=posix ${library} OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
string(REGEX REPLACE " [^\n]*" "" symbols "${symbols}")
string(REGEX REPLACE "\n$" "" symbols "${symbols}")
string(REPLACE "\n" ";" symbols "${symbols}")
list(SORT symbols)
if(NOT status EQUAL 0 OR NOT symbols STREQUAL "info;ubheatmeter;ubtreturn")
  message(FATAL_ERROR "${library} exports ${symbols}, not just info, ubheatmeter and ubtreturn")
endif()

# A user's shell in another folder, the library's folder as the user's block directory.
set(env ${CMAKE_COMMAND} -E env --unset=VIREO_HOME --unset=VIREO_INCLUDE_DIR --unset=VIREO_STATE_DIR
    --unset=VIREO_CONFIG_DIR --unset=LD_LIBRARY_PATH --unset=XDG_DATA_HOME --unset=XDG_STATE_HOME
    --unset=XDG_CONFIG_HOME HOME=${WORK}/home VIREO_USER_BLOCKS=${build}/blocks)
execute_process(COMMAND ${env} --unset=VIREO_MSG_TRACE ${PREFIX}/bin/vireo ${project}/heat-meter.vireo
                WORKING_DIRECTORY ${WORK}/home/elsewhere RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "End of VIREO run")
  message(FATAL_ERROR "the installed vireo exited with ${status} on the outside model:\n${out}${err}")
endif()
# 8380 W given off by 0.1 kg/s at 60 degC: 8380 / (0.1 * 4190) = 20 K, a return at 40 degC;
# the meter reads the 8380 W back, over 24 hours 201.12 kWh.
file(STRINGS ${project}/heat-meter.csv rows)
list(LENGTH rows count)
list(GET rows -1 last)
string(REGEX MATCHALL "[^,; \t]+" fields "${last}")
list(LENGTH fields nfields)
if(NOT count EQUAL 25 OR NOT nfields EQUAL 4)
  message(FATAL_ERROR "heat-meter.csv: ${count} lines (expected 25), last '${last}'")
endif()
list(GET fields 1 degC)
list(GET fields 2 watts)
list(GET fields 3 kwh)
# CMake has no floating-point arithmetic: the values in hundredths, within 0.01.
foreach(pair "degC;4000" "watts;838000" "kwh;20112")
  list(GET pair 0 name)
  list(GET pair 1 expected)
  if(NOT ${name} MATCHES "^([0-9]+)(\\.([0-9]*))?$")
    message(FATAL_ERROR "heat-meter.csv: ${name} '${${name}}' is no plain number: '${last}'")
  endif()
  string(SUBSTRING "${CMAKE_MATCH_3}00" 0 2 cents)
  math(EXPR got "${CMAKE_MATCH_1} * 100 + 1${cents} - 100")
  math(EXPR diff "${got} - ${expected}")
  if(diff GREATER 1 OR diff LESS -1)
    message(FATAL_ERROR "heat-meter.csv: ${name} ${${name}}, expected ${expected} hundredths: '${last}'")
  endif()
endforeach()

# A refused parameter is an error naming the block and the parameter, by its number and
# its table's name, and the rule in words.
file(READ ${project}/heat-meter.vireo model)
string(REPLACE "p 4 4190 3600" "p 4 4190 0" model "${model}")
string(REPLACE "heat-meter.csv" "bad-step.csv" model "${model}")
file(WRITE ${project}/bad-step.vireo "${model}")
set(trace ${WORK}/trace.txt)
execute_process(COMMAND ${env} VIREO_MSG_TRACE=${trace} ${PREFIX}/bin/vireo ${project}/bad-step.vireo
                WORKING_DIRECTORY ${WORK}/home/elsewhere RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(STRINGS ${trace} records REGEX "^309003\t")
if(NOT status EQUAL 1 OR NOT records MATCHES "s1=HEATMETER" OR NOT records MATCHES "i10=2\t"
   OR NOT records MATCHES "s0=a number above 0" OR NOT records MATCHES "s2=Time step")
  message(FATAL_ERROR "a time step of 0 gave exit status ${status} and ${records}:\n${out}${err}")
endif()

# The reference pages, where there is a pdflatex to build them.
find_program(PDFLATEX pdflatex)
if(PDFLATEX AND NOT EXISTS ${build}/heat-meter-reference.pdf)
  message(FATAL_ERROR "the outside project's block reference was not built")
endif()
message(STATUS "the outside block library built against ${PREFIX} ran its model")
