# Writes a manual page from a program's --help text and a page template, so that the page says
# what --help says. Run as
#   cmake -DPROGRAM=<program> -DTEMPLATE=<page.in> -DOUTPUT=<page> -DVERSION=<v> -P ManPage.cmake
# The template holds the page around the help text: @SYNOPSIS@ becomes the usage lines, @HELP@
# the rest of the help text, @VERSION@ the version.
#
# The help text is read by its layout: "Usage:" lines and their indented continuation form the
# synopsis; a line ending in ":" starts a subsection; "  OPTION  text" (two blanks before and at
# least two after the option) is an option with its description, deeper indented lines continue
# it; other indented lines are examples; everything else is running text.
cmake_minimum_required(VERSION 3.25)
foreach(var PROGRAM TEMPLATE OUTPUT VERSION)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "ManPage.cmake: ${var} is not set")
  endif()
endforeach()

execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR help STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} --help failed (${status}) or wrote nothing on standard output: ${errors}")
endif()

# The match of the last MATCHES is the one CMAKE_MATCH_n holds, so a test that must not match
# comes first in a condition.

# Text as roff reads it: backslashes escaped, a leading point or quote kept from being a request.
function(roff_text in out)
  string(REPLACE "\\" "\\e" t "${in}")
  string(REPLACE "-" "\\-" t "${t}")
  if(t MATCHES "^[.']")
    set(t "\\&${t}")
  endif()
  set(${out} "${t}" PARENT_SCOPE)
endfunction()

string(REGEX REPLACE "\n$" "" help "${help}")
# Lines of the help text; a semicolon inside a line must not split it.
string(REPLACE ";" "\\;" help "${help}")
string(REPLACE "\n" ";" lines "${help}")

set(synopsis "")
set(body "")
set(mode "synopsis-start")   # synopsis-start, synopsis, text, option, example
foreach(line IN LISTS lines)
  if(mode MATCHES "^synopsis")
    if(line MATCHES "^[Uu]sage: (.*)$")
      roff_text("${CMAKE_MATCH_1}" t)
      string(APPEND synopsis "${t}\n")
      set(mode "synopsis")
      continue()
    elseif(mode STREQUAL "synopsis" AND line MATCHES "^ +(.+)$")
      roff_text("${CMAKE_MATCH_1}" t)
      string(APPEND synopsis "${t}\n")
      continue()
    elseif(mode STREQUAL "synopsis" AND line MATCHES "^ *[Uu]sage")
      continue()
    endif()
    set(mode "text")
  endif()

  if(line STREQUAL "")
    if(mode STREQUAL "example")
      string(APPEND body ".RE\n.fi\n")
    endif()
    set(mode "text")
    string(APPEND body ".PP\n")
  elseif(NOT line MATCHES "^  [^-/ ]" AND line MATCHES "^  ([^ ].*[^ ]|[^ ])   *([^ ].*)$")
    # An option: "  /E   text" or "  --pause   text".
    if(mode STREQUAL "example")
      string(APPEND body ".RE\n.fi\n")
    endif()
    roff_text("${CMAKE_MATCH_1}" option)
    roff_text("${CMAKE_MATCH_2}" text)
    string(APPEND body ".TP\n.B ${option}\n${text}\n")
    set(mode "option")
  elseif(line MATCHES "^  ([-/][^ ]*)$")
    # An option alone on its line.
    if(mode STREQUAL "example")
      string(APPEND body ".RE\n.fi\n")
    endif()
    roff_text("${CMAKE_MATCH_1}" option)
    string(APPEND body ".TP\n.B ${option}\n")
    set(mode "option")
  elseif(mode STREQUAL "option" AND line MATCHES "^    +(.*)$")
    roff_text("${CMAKE_MATCH_1}" text)
    string(APPEND body "${text}\n")
  elseif(line MATCHES "^ +(.*)$")
    if(NOT mode STREQUAL "example")
      string(APPEND body ".PP\n.nf\n.RS\n")
      set(mode "example")
    endif()
    roff_text("${CMAKE_MATCH_1}" text)
    string(APPEND body "${text}\n")
  elseif(line MATCHES "^(.*):$")
    if(mode STREQUAL "example")
      string(APPEND body ".RE\n.fi\n")
    endif()
    roff_text("${CMAKE_MATCH_1}" text)
    string(APPEND body ".SS \"${text}\"\n")
    set(mode "text")
  else()
    if(mode STREQUAL "example")
      string(APPEND body ".RE\n.fi\n")
    elseif(mode STREQUAL "option")
      string(APPEND body ".PP\n")
    endif()
    roff_text("${line}" text)
    string(APPEND body "${text}\n")
    set(mode "text")
  endif()
endforeach()
if(mode STREQUAL "example")
  string(APPEND body ".RE\n.fi\n")
endif()
# Escaped semicolons come back as themselves.
string(REPLACE "\\;" ";" synopsis "${synopsis}")
string(REPLACE "\\;" ";" body "${body}")
# Roff reads ".PP" twice in a row, or before a heading, as one break.
string(REGEX REPLACE "(\\.PP\n)+" ".PP\n" body "${body}")
string(REGEX REPLACE "\\.PP\n\\.SS" ".SS" body "${body}")

file(READ ${TEMPLATE} page)
string(REPLACE "@SYNOPSIS@" ".nf\n${synopsis}.fi" page "${page}")
string(REPLACE "@HELP@" "${body}" page "${page}")
string(REPLACE "@VERSION@" "${VERSION}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
