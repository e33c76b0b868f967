# Builds the block reference (cmake -P, run by the block-reference target):
#   BLOCKDOC, PDFLATEX  the programs
#   SOURCE_DIR          top of the source tree
#   SOURCES             the candidate block sources relative to it, separated by "|"
#   DOCUMENT            the LaTeX master document
#   VERSION             VIREO's version, shown on the title page
#   WORK                the working tree; OUTPUT the PDF to write
#   LIBRARY_TITLE       optional: the section title of sources outside blocks/<library>/
#                       (default: the user blocks of libVireoUB)
#
# WORK/vireoBlockReference/ is where blockdoc and pdflatex run: the pages go to its pages/
# folder and include their pictures from WORK/pic/ as ../pic/<name>.pic, and blockdoc
# finds hand-written descriptions in ../vireoBlockReference/des/ from there.
cmake_minimum_required(VERSION 3.25)

set(doc ${WORK}/vireoBlockReference)
file(REMOVE ${OUTPUT})
# Pages and pictures of blocks that are gone must not stay in the document.
file(REMOVE_RECURSE ${doc}/pages ${WORK}/pic)
file(MAKE_DIRECTORY ${doc}/pages ${WORK}/pic)

# Sections of the document, in this order; a library not named here follows under its
# folder's name.
set(library_order em st pp userblocks)
set(title_em "Energy meteorology (libVireoEM)")
set(title_st "Solar thermal (libVireoST)")
set(title_pp "Power plant (libVireoPP)")
set(title_userblocks "User blocks (libVireoUB)")
if(DEFINED LIBRARY_TITLE)
  set(title_userblocks "${LIBRARY_TITLE}")
endif()

# The picture of one page: the block as a box with its name, inputs coming in on the
# left and outputs going out on the right, each arrow with its count from the layout.
function(write_picture page)
  file(READ ${doc}/pages/${page}.tex text)
  set(name "")
  set(inputs "")
  set(outputs "")
  if(text MATCHES "mblue{Name}}\\][ ]*([^\n]*)")
    string(STRIP "${CMAKE_MATCH_1}" name)
    string(REPLACE "\\_" "_" name "${name}")  # quoted for the page's text, shown detokenized here
  endif()
  if(text MATCHES "mblue{Inputs}}\\][ ]*([^\n]*)")
    string(STRIP "${CMAKE_MATCH_1}" inputs)
  endif()
  if(text MATCHES "mblue{Outputs}}\\][ ]*([^\n]*)")
    string(STRIP "${CMAKE_MATCH_1}" outputs)
  endif()
  set(pic "\\setlength{\\unitlength}{1mm}%\n\\begin{picture}(100,26)\n")
  string(APPEND pic "\\put(30,3){\\framebox(40,20){\\large\\bfseries \\detokenize{${name}}}}\n")
  if(NOT inputs STREQUAL "" AND NOT inputs STREQUAL "0")
    string(APPEND pic "\\put(6,13){\\vector(1,0){24}}\n")
    string(APPEND pic "\\put(6,15){\\makebox(24,4){\\small ${inputs}}}\n")
    string(APPEND pic "\\put(6,7){\\makebox(24,4){\\small inputs}}\n")
  endif()
  if(NOT outputs STREQUAL "" AND NOT outputs STREQUAL "0")
    string(APPEND pic "\\put(70,13){\\vector(1,0){24}}\n")
    string(APPEND pic "\\put(70,15){\\makebox(24,4){\\small ${outputs}}}\n")
    string(APPEND pic "\\put(70,7){\\makebox(24,4){\\small outputs}}\n")
  endif()
  string(APPEND pic "\\end{picture}\n")
  file(WRITE ${WORK}/pic/${page}.pic "${pic}")
endfunction()

# A block library's source is named for its block, but its page names the exported routine
# (blockdoc takes the function from the file name): such a source is handed to blockdoc as
# a copy named for the routine its library's identity table gives the block's first name.
# Pages follow in the order of the routines, as the identity tables list them.
string(REPLACE "|" ";" sources "${SOURCES}")
file(REMOVE_RECURSE ${WORK}/routines)
set(keyed "")
foreach(source IN LISTS sources)
  set(path ${SOURCE_DIR}/${source})
  # Only a source whose header declares a block gets pages.
  file(STRINGS ${path} block_lines REGEX "^..[ ]*#Block( |$)" LIMIT_COUNT 1 ENCODING UTF-8)
  if(NOT block_lines)
    continue()
  endif()
  get_filename_component(key ${source} NAME_WE)
  set(table "")
  if(source MATCHES "^blocks/([^/]+)/")
    set(table ${SOURCE_DIR}/blocks/${CMAKE_MATCH_1}/src/table.h)
  endif()
  if(table AND EXISTS ${table})
    string(REGEX REPLACE "^..[ ]*#Block[ ]+([^ ,]+).*$" "\\1" first "${block_lines}")
    file(STRINGS ${table} rows REGEX "X\\([a-z]+[0-9]+, \"${first}[ \"]")
    if(NOT rows MATCHES "X\\(([a-z]+[0-9]+),")
      message(FATAL_ERROR "${source}: block ${first} has no row in ${table}")
    endif()
    set(key ${CMAKE_MATCH_1})
    file(MAKE_DIRECTORY ${WORK}/routines)
    configure_file(${path} ${WORK}/routines/${key}.cpp COPYONLY)
    set(path ${WORK}/routines/${key}.cpp)
  endif()
  list(APPEND keyed "${key}|${source}|${path}")
endforeach()
list(SORT keyed)

set(libraries "")
foreach(entry IN LISTS keyed)
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 1 source)
  list(GET entry 2 path)
  if(source MATCHES "^blocks/([^/]+)/")
    set(library ${CMAKE_MATCH_1})
  else()
    set(library userblocks)
  endif()
  execute_process(COMMAND ${BLOCKDOC} ${path} pages/ WORKING_DIRECTORY ${doc}
                  RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE said)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "blockdoc failed on ${source} (status ${status}):\n${said}")
  endif()
  string(REGEX MATCHALL "Writing output to pages/[^\n]*\\.tex" written "${said}")
  foreach(line IN LISTS written)
    string(REGEX REPLACE "^Writing output to pages/(.*)\\.tex$" "\\1" page "${line}")
    write_picture(${page})
    string(APPEND pages_${library} "\\input{pages/${page}.tex}\n")
  endforeach()
  list(APPEND libraries ${library})
endforeach()

list(REMOVE_DUPLICATES libraries)
set(ordered "")
foreach(library IN LISTS library_order)
  if(library IN_LIST libraries)
    list(APPEND ordered ${library})
  endif()
endforeach()
foreach(library IN LISTS libraries)
  if(NOT library IN_LIST ordered)
    list(APPEND ordered ${library})
  endif()
endforeach()
if(NOT ordered)
  message(FATAL_ERROR "no block source with a #Block line among ${SOURCES}")
endif()

set(body "")
foreach(library IN LISTS ordered)
  if(NOT DEFINED title_${library})
    set(title_${library} "${library}")
  endif()
  string(APPEND body "\\mlibrary{${title_${library}}}\n${pages_${library}}")
endforeach()
file(WRITE ${doc}/pages.tex "${body}")
file(WRITE ${doc}/version.tex "\\newcommand{\\vireoversion}{${VERSION}}\n")
configure_file(${DOCUMENT} ${doc}/vireo-block-reference.tex COPYONLY)

# Twice: the second run sets the contents from the first. The body's page numbers do not
# depend on the length of the contents (the front matter counts its own pages).
foreach(run 1 2)
  execute_process(
    COMMAND ${PDFLATEX} -interaction=nonstopmode -halt-on-error -file-line-error vireo-block-reference.tex
    WORKING_DIRECTORY ${doc} RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE said)
  if(NOT status EQUAL 0)
    string(LENGTH "${said}" length)
    if(length GREATER 4000)
      math(EXPR from "${length} - 4000")
      string(SUBSTRING "${said}" ${from} -1 said)
    endif()
    message(FATAL_ERROR "pdflatex failed on the block reference (status ${status}); "
                        "see ${doc}/vireo-block-reference.log\n${said}")
  endif()
endforeach()

# Only Ninja makes the folders of a command's outputs before running it.
get_filename_component(output_dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${output_dir})
file(COPY_FILE ${doc}/vireo-block-reference.pdf ${OUTPUT})
