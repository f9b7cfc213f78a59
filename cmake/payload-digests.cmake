# Writes the resource script that gives every payload resource named in
# setup.rc (a line `"NAME" RT_PAYLOAD file`) its SHA-256 digest: a resource of
# type RT_PAYLOAD_DIGEST under the same name, 32 bytes. Run at build time
# whenever setup.rc or a payload file changes:
#   cmake -DRC=<setup.rc> -DOUTPUT=<payload_digests.rc> -P payload-digests.cmake
get_filename_component(folder ${RC} DIRECTORY)
file(STRINGS ${RC} lines REGEX "^[ \t]*\"[^\"]+\"[ \t]+RT_PAYLOAD[ \t]")
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
