# Writes the 6-minute weather of the solar hot-water example: each hourly row of IN held
# for the ten 6-minute steps of its hour, its first column (seconds at the end of the
# hour) made the end of each step; comment and header lines are copied.
#   cmake -DIN=solar-dhw-weather.csv -DOUT=solar-dhw-weather-6min.csv -P hold-weather-rows.cmake
file(STRINGS ${IN} lines)
file(WRITE ${OUT}.part "")
set(chunk "")
foreach(line IN LISTS lines)
  if(line MATCHES "^([0-9]+)(,.*)$")
    set(rest "${CMAKE_MATCH_2}")
    math(EXPR start "${CMAKE_MATCH_1} - 3600")
    foreach(i RANGE 1 10)
      math(EXPR t "${start} + 360 * ${i}")
      string(APPEND chunk "${t}${rest}\n")
    endforeach()
  else()
    string(APPEND chunk "${line}\n")
  endif()
  # Appending to one long string copies it each time: write it out in pieces.
  string(LENGTH "${chunk}" length)
  if(length GREATER 65536)
    file(APPEND ${OUT}.part "${chunk}")
    set(chunk "")
  endif()
endforeach()
file(APPEND ${OUT}.part "${chunk}")
file(RENAME ${OUT}.part ${OUT})
