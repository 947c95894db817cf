# Writes a layout as a C++ header: kMainFormLayout, with {@SKYPLOT@} and {@LOGO@} replaced by
# the images as picture data (class name with a length byte, 32-bit little-endian byte count,
# then the file image), in hex.
# Usage: cmake -DLAYOUT=... -DSKYPLOT=... -DLOGO=... -DOUTPUT=... -P embed.cmake
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

foreach(var LAYOUT SKYPLOT LOGO OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "embed.cmake: ${var} is not set")
  endif()
endforeach()

file(READ "${LAYOUT}" text)
foreach(slot SKYPLOT LOGO)
  string(FIND "${text}" "{@${slot}@}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "embed.cmake: ${LAYOUT} has no {@${slot}@}")
  endif()
endforeach()
picture_data(TBitmap "${SKYPLOT}" skyplot)
picture_data(TJPEGImage "${LOGO}" logo)
string(REPLACE "{@SKYPLOT@}" "{${skyplot}}" text "${text}")
string(REPLACE "{@LOGO@}" "{${logo}}" text "${text}")
string(FIND "${text}" ")LAYOUT\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "embed.cmake: ${LAYOUT} contains the raw-string delimiter")
endif()

set(header "// Generated from resources/main_form.layout by resources/embed.cmake; do not edit.
#pragma once

#include <string_view>

inline constexpr std::string_view kMainFormLayout = R\"LAYOUT(${text})LAYOUT\";
")
# Rewrite only on change, so that a rerun does not rebuild everything that includes it.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL header)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${header}")
