# Writes a layout as a C++ header holding one string named SYMBOL (kMainFormLayout by default).
# When SKYPLOT and LOGO are given, {@SKYPLOT@} and {@LOGO@} in the layout are replaced by the
# images as picture data (class name with a length byte, 32-bit little-endian byte count, then the
# file image), in hex.
# Usage: cmake -DLAYOUT=... [-DSYMBOL=...] [-DSKYPLOT=... -DLOGO=...] -DOUTPUT=... -P embed.cmake
cmake_minimum_required(VERSION 3.22)

function(hex_byte value out)
  math(EXPR v "${value} & 255" OUTPUT_FORMAT HEXADECIMAL)
  string(SUBSTRING "${v}" 2 -1 v)
  string(LENGTH "${v}" n)
  if(n EQUAL 1)
    set(v "0${v}")
  endif()
  set(${out} "${v}" PARENT_SCOPE)
endfunction()

function(picture_data class file out)
  file(SIZE "${file}" size)
  file(READ "${file}" body HEX)
  string(LENGTH "${class}" name_length)
  hex_byte(${name_length} prefix)
  string(HEX "${class}" name)
  string(APPEND prefix "${name}")
  foreach(shift 0 8 16 24)
    math(EXPR b "${size} >> ${shift}")
    hex_byte(${b} byte)
    string(APPEND prefix "${byte}")
  endforeach()
  string(TOUPPER "${prefix}${body}" all)
  # Short lines: tools cope badly with one line of tens of thousands of digits.
  string(REPEAT "[0-9A-F]" 64 line)
  string(REGEX REPLACE "(${line})" "\n  \\1" wrapped "${all}")
  set(${out} "${wrapped}" PARENT_SCOPE)
endfunction()

foreach(var LAYOUT OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "embed.cmake: ${var} is not set")
  endif()
endforeach()
if(NOT DEFINED SYMBOL)
  set(SYMBOL kMainFormLayout)
endif()

file(READ "${LAYOUT}" text)
# A layout that asks for an image must get it, and an image given must have its place.
foreach(slot SKYPLOT LOGO)
  string(FIND "${text}" "{@${slot}@}" at)
  if(DEFINED ${slot} AND at EQUAL -1)
    message(FATAL_ERROR "embed.cmake: ${LAYOUT} has no {@${slot}@}")
  endif()
  if(NOT DEFINED ${slot} AND NOT at EQUAL -1)
    message(FATAL_ERROR "embed.cmake: ${LAYOUT} needs -D${slot}")
  endif()
endforeach()
if(DEFINED SKYPLOT)
  picture_data(TBitmap "${SKYPLOT}" skyplot)
  string(REPLACE "{@SKYPLOT@}" "{${skyplot}}" text "${text}")
endif()
if(DEFINED LOGO)
  picture_data(TJPEGImage "${LOGO}" logo)
  string(REPLACE "{@LOGO@}" "{${logo}}" text "${text}")
endif()
string(FIND "${text}" ")LAYOUT\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "embed.cmake: ${LAYOUT} contains the raw-string delimiter")
endif()

get_filename_component(layout_name "${LAYOUT}" NAME)
set(header "// Generated from resources/${layout_name} by resources/embed.cmake; do not edit.
#pragma once

#include <string_view>

inline constexpr std::string_view ${SYMBOL} = R\"LAYOUT(${text})LAYOUT\";
")
# Rewrite only on change, so that a rerun does not rebuild everything that includes it.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL header)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${header}")
