# Writes the resource script that gives every payload resource named in
# setup.rc (a line `"NAME" RT_PAYLOAD file`) its SHA-256 digest: a resource of
# type RT_PAYLOAD_DIGEST under the same name, 32 bytes. Run at build time
# whenever setup.rc, a payload file or the program's capacity changes:
#   cmake -DRC=<setup.rc> -DOUTPUT=<payload_digests.rc> -DCAPACITY_HEADER=<payload_install.h>
#         -DPREPROCESSOR=<C compiler> -DGENERATED=<folder> -P payload-digests.cmake
# It refuses a setup.rc with more payload resources than the program takes,
# or with a payload line that the resource compiler does not see (in a
# comment, or an #if that is off): either would build a program that calls
# itself damaged on every machine.
get_filename_component(folder ${RC} DIRECTORY)
file(STRINGS ${RC} lines REGEX "^[ \t]*\"[^\"]+\"[ \t]+RT_PAYLOAD[ \t]")

# What the resource compiler reads: setup.rc through the C preprocessor, as
# windres runs it, with an empty digest script in place of the one written here.
get_filename_component(stub ${OUTPUT}.stub ABSOLUTE)
file(WRITE ${stub}/payload_digests.rc "")
execute_process(COMMAND ${PREPROCESSOR} -E -P -xc -DRC_INVOKED -I${stub} -I${GENERATED} ${RC}
  OUTPUT_VARIABLE seen ERROR_VARIABLE errors RESULT_VARIABLE failed)
file(REMOVE_RECURSE ${stub})
if(failed)
  message(FATAL_ERROR "${RC}: the C preprocessor failed:\n${errors}")
endif()
foreach(line IN LISTS lines)
  string(REGEX MATCH "\"[^\"]+\"" name "${line}")
  string(REGEX REPLACE "([][+.*?^$()|\\\\])" "\\\\\\1" pattern "${name}")
  if(NOT seen MATCHES "(^|\n)[ \t]*${pattern}[ \t]")
    message(FATAL_ERROR "${RC}: the resource compiler does not see the payload line\n  ${line}\n"
      "(it is inside a comment or an #if that is off). Remove the line, or make it count.")
  endif()
endforeach()

file(STRINGS ${CAPACITY_HEADER} capacity REGEX "^constexpr int kPayloadCapacity = [0-9]+;")
string(REGEX REPLACE "[^0-9]" "" capacity "${capacity}")
if(NOT capacity)
  message(FATAL_ERROR "${CAPACITY_HEADER}: no line `constexpr int kPayloadCapacity = <n>;`")
endif()
list(LENGTH lines count)
if(count GREATER capacity)
  message(FATAL_ERROR "${RC} holds ${count} payload resources; the program takes at most "
    "${capacity} (kPayloadCapacity in ${CAPACITY_HEADER}).")
endif()

set(text "/* Written by cmake/payload-digests.cmake from setup.rc and the payload. */\n")
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^[ \t]*(\"[^\"]+\")[ \t]+RT_PAYLOAD[ \t]+\"?([^\"]+[^\" \t])")
    message(FATAL_ERROR "payload line not understood: ${line}")
  endif()
  set(name ${CMAKE_MATCH_1})
  file(SHA256 ${folder}/${CMAKE_MATCH_2} digest)
  # Raw data is written in 16-bit words, low byte first.
  string(REGEX REPLACE "(..)(..)" "0x\\2\\1, " words ${digest})
  string(REGEX REPLACE ", $" "" words ${words})
  string(APPEND text "${name} RT_PAYLOAD_DIGEST { ${words} }\n")
endforeach()
file(WRITE ${OUTPUT} ${text})
