# The installed VIREO package (find_package(Vireo)):
#   Vireo::BlockKit   what a block library of one's own links: the block frame and its
#                     headers, the block protocol, the utility library, and the flags that
#                     make it a block library (only what its sources mark for export
#                     leaves it, its calls to its own routines stay its own)
#   Vireo::BlockStepping  what blocks that integrate over the simulation time share: how
#                     a call stands to the one before, updates that never overshoot,
#                     sub-steps by the mass that passes (Stepping.h)
#   Vireo::vireo      the command-line program
#   Vireo::blockdoc   the block-reference generator
#   vireo_add_block_reference(name SOURCES ... [TITLE text])
#                     a target `name` (built by default) writing name.pdf into the current
#                     build folder: the reference pages of the blocks whose sources are
#                     given (relative to the current source folder), as VIREO's own block
#                     reference shows them; needs pdflatex, and is left out with a note
#                     where there is none.
include(${CMAKE_CURRENT_LIST_DIR}/VireoTargets.cmake)

set(VIREO_PACKAGE_DIR ${CMAKE_CURRENT_LIST_DIR})

function(vireo_add_block_reference name)
  cmake_parse_arguments(ARG "" "TITLE" "SOURCES" ${ARGN})
  if(NOT ARG_SOURCES)
    message(FATAL_ERROR "vireo_add_block_reference(${name}): no SOURCES given")
  endif()
  if(NOT ARG_TITLE)
    set(ARG_TITLE "${PROJECT_NAME}")
  endif()
  find_program(VIREO_PDFLATEX pdflatex)
  if(NOT VIREO_PDFLATEX)
    message(STATUS "pdflatex not found: the block reference ${name} is not built")
    return()
  endif()
  set(relative "")
  set(depends "")
  foreach(source IN LISTS ARG_SOURCES)
    get_filename_component(path ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    file(RELATIVE_PATH source ${CMAKE_CURRENT_SOURCE_DIR} ${path})
    list(APPEND relative ${source})
    list(APPEND depends ${path})
  endforeach()
  string(REPLACE ";" "|" relative "${relative}")
  set(pdf ${CMAKE_CURRENT_BINARY_DIR}/${name}.pdf)
  add_custom_command(
    OUTPUT ${pdf}
    COMMAND ${CMAKE_COMMAND}
      -DBLOCKDOC=$<TARGET_FILE:Vireo::blockdoc>
      -DPDFLATEX=${VIREO_PDFLATEX}
      -DSOURCE_DIR=${CMAKE_CURRENT_SOURCE_DIR}
      -DSOURCES=${relative}
      -DDOCUMENT=${VIREO_PACKAGE_DIR}/reference/vireo-block-reference.tex
      -DVERSION=${Vireo_VERSION}
      -DLIBRARY_TITLE=${ARG_TITLE}
      -DWORK=${CMAKE_CURRENT_BINARY_DIR}/${name}
      -DOUTPUT=${pdf}
      -P ${VIREO_PACKAGE_DIR}/reference/make-reference.cmake
    DEPENDS ${depends} $<TARGET_FILE:Vireo::blockdoc>
    COMMENT "Writing the block reference ${pdf}"
    VERBATIM)
  add_custom_target(${name} ALL DEPENDS ${pdf})
endfunction()
