# The ten Markov transition matrices of the daily clearness index (data/daily-clearness-
# transition-matrices.csv) as C++ initialisers, checked for shape so that a damaged file
# never builds: 100 rows in matrix and class order, ten probabilities of three decimals
# each, every row summing to 1 within 0.005, and rows that tell a transposed or shifted
# matrix as published. The class bounds of each matrix come from the file's header.
#
# As a script (cmake -DVIREO_MATRICES=<file> -P transition_matrices.cmake) it only checks.

# Thousandths of a probability written with three decimals (math reads leading zeros as
# decimal digits).
function(_vireo_thousandths text out)
  string(REGEX REPLACE "^([01])\\.([0-9][0-9][0-9])$" "\\1\\2" digits "${text}")
  set(${out} ${digits} PARENT_SCOPE)
endfunction()

# Ten bounds after `name` in the header, such as "ktmin 0.031 0.058 ...".
function(_vireo_bounds file header name out)
  if(NOT header MATCHES "${name}(( +[0-9]\\.[0-9]+)+)")
    message(FATAL_ERROR "${file}: the header gives no ${name} bounds")
  endif()
  string(STRIP "${CMAKE_MATCH_1}" values)
  string(REGEX REPLACE " +" ";" values "${values}")
  list(LENGTH values count)
  if(NOT count EQUAL 10)
    message(FATAL_ERROR "${file}: ${count} ${name} bounds, 10 expected")
  endif()
  set(${out} ${values} PARENT_SCOPE)
endfunction()

# Sets <matrices> to the 1000 probabilities (matrix, then current class, then next class,
# the order of the table mtm) and <low>, <high> to the bounds, each as initialiser text.
function(vireo_transition_matrices file matrices low high)
  file(STRINGS ${file} header REGEX "^#")
  string(JOIN " " header ${header})
  _vireo_bounds(${file} "${header}" ktmin lows)
  _vireo_bounds(${file} "${header}" ktmax highs)
  foreach(k RANGE 9)
    list(GET lows ${k} lo)
    list(GET highs ${k} hi)
    if(NOT lo LESS hi)
      math(EXPR matrix "${k} + 1")
      message(FATAL_ERROR "${file}: matrix ${matrix} has the bounds ${lo} and ${hi}")
    endif()
  endforeach()

  file(STRINGS ${file} rows REGEX "^[0-9]")
  list(LENGTH rows count)
  if(NOT count EQUAL 100)
    message(FATAL_ERROR "${file}: ${count} rows of probabilities, 100 expected")
  endif()
  set(telling_1_1 "0.229,0.333,0.208,0.042,0.083,0.042,0.042,0.021,0.000,0.000")
  set(telling_1_2 "0.167,0.319,0.194,0.139,0.097,0.028,0.042,0.000,0.014,0.000")
  set(telling_5_5 "0.024,0.030,0.098,0.098,0.165,0.195,0.195,0.140,0.043,0.012")
  set(telling_10_10 "0.000,0.000,0.000,0.143,0.000,0.000,0.000,0.143,0.714,0.000")

  set(text "")
  set(index 0)
  foreach(row ${rows})
    math(EXPR matrix "${index} / 10 + 1")
    math(EXPR class "${index} % 10 + 1")
    if(NOT row MATCHES "^${matrix},${class},(.*)$")
      message(FATAL_ERROR "${file}: row ${index} is not matrix ${matrix}, class ${class}: ${row}")
    endif()
    set(probabilities "${CMAKE_MATCH_1}")
    if(DEFINED telling_${matrix}_${class} AND NOT probabilities STREQUAL telling_${matrix}_${class})
      message(FATAL_ERROR "${file}: matrix ${matrix}, class ${class} reads ${probabilities}, "
                          "published ${telling_${matrix}_${class}}")
    endif()
    string(REPLACE "," ";" values "${probabilities}")
    list(LENGTH values width)
    if(NOT width EQUAL 10)
      message(FATAL_ERROR "${file}: matrix ${matrix}, class ${class} has ${width} probabilities, 10 expected")
    endif()
    set(sum 0)
    foreach(p ${values})
      if(NOT p MATCHES "^(0\\.[0-9][0-9][0-9]|1\\.000)$")
        message(FATAL_ERROR "${file}: matrix ${matrix}, class ${class}: ${p} is no probability of three decimals")
      endif()
      _vireo_thousandths(${p} t)
      math(EXPR sum "${sum} + ${t}")
    endforeach()
    if(sum LESS 995 OR sum GREATER 1005)
      message(FATAL_ERROR "${file}: matrix ${matrix}, class ${class} sums to ${sum} thousandths, not 1 within 0.005")
    endif()
    string(REPLACE "," "f, " literals "${probabilities}")
    string(APPEND text "    ${literals}f,\n")
    math(EXPR index "${index} + 1")
  endforeach()

  string(REPLACE ";" "f, " lows "${lows}f")
  string(REPLACE ";" "f, " highs "${highs}f")
  set(${matrices} "${text}" PARENT_SCOPE)
  set(${low} "${lows}" PARENT_SCOPE)
  set(${high} "${highs}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE AND DEFINED VIREO_MATRICES)
  vireo_transition_matrices(${VIREO_MATRICES} matrices low high)
endif()
