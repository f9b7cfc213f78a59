# Tests and benchmarks. Both are Windows programs; CTest runs the tests under
# Wine through the emulator script, in a Wine prefix inside the build tree:
# the win64 build with the wine64 loader, the win32 build with the 32-bit one.

set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

# One Wine prefix, one X display and one wineserver serve the whole run.
add_test(NAME wine_start COMMAND ${CMAKE_BINARY_DIR}/wine-run.sh --start)
# The sessions at other display scales start with their first run.
set(scaled_session_dpis 144 192)
list(JOIN scaled_session_dpis " " scaled_session_words)
add_test(NAME wine_stop COMMAND sh -c
  "for dpi in '' ${scaled_session_words}; do WINE_RUN_DPI=$dpi '${CMAKE_BINARY_DIR}/wine-run.sh' --stop; done")
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine)

# A small drive that the install tests fill to meet a full disk; without
# root, this test shows as skipped and those cases are not tried.
add_test(NAME small_drive_mount
  COMMAND ${CMAKE_SOURCE_DIR}/cmake/small-drive.sh --mount ${CMAKE_BINARY_DIR})
set_tests_properties(small_drive_mount PROPERTIES SKIP_RETURN_CODE 77)
add_test(NAME small_drive_unmount
  COMMAND ${CMAKE_SOURCE_DIR}/cmake/small-drive.sh --unmount ${CMAKE_BINARY_DIR})
set_tests_properties(small_drive_mount PROPERTIES FIXTURES_SETUP small_drive
  FIXTURES_REQUIRED wine)
set_tests_properties(small_drive_unmount PROPERTIES FIXTURES_CLEANUP small_drive)

file(GLOB test_support_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_library(test_support STATIC ${test_support_sources})
target_include_directories(test_support PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(test_support PUBLIC setup_core GTest::gtest version shlwapi ole32)

# One test program per folder under tests/, run as one CTest test.
file(GLOB test_areas LIST_DIRECTORIES true RELATIVE ${CMAKE_SOURCE_DIR}/tests
  CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*)
foreach(area IN LISTS test_areas)
  if(area STREQUAL "support" OR NOT IS_DIRECTORY ${CMAKE_SOURCE_DIR}/tests/${area})
    continue()
  endif()
  # A folder may bring resources of its own (test bitmaps) in an .rc file,
  # which then includes the program's setup.rc: the linker cannot merge two
  # resource sections that hold the same resource types.
  file(GLOB area_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${area}/*.cpp)
  file(GLOB area_resources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${area}/*.rc)
  if(NOT area_sources)
    continue()
  endif()
  if(area_resources)
    set_source_files_properties(${area_resources} PROPERTIES OBJECT_DEPENDS "${setup_resource_files}")
    add_executable(test_${area} ${area_sources} ${area_resources})
  else()
    add_executable(test_${area} ${area_sources} $<TARGET_OBJECTS:setup_resources>)
  endif()
  target_link_libraries(test_${area} PRIVATE test_support GTest::gtest_main)
  target_link_options(test_${area} PRIVATE -static)
  target_include_directories(test_${area} PRIVATE ${CMAKE_SOURCE_DIR}/res
    ${CMAKE_SOURCE_DIR}/tests/${area})
  # Some tests look at or start the built setup.exe beside them.
  add_dependencies(test_${area} setup)
  add_test(NAME ${area} COMMAND test_${area})
  set_tests_properties(${area} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300)
endforeach()

# These tests share state of the whole Wine session: the program's
# single-instance guard (taken by setup.exe, and held until the test program
# ends by an entry run in-process) and the maker's and the hosts' registry
# keys, which discovery reads, the tests fill in and the install writes. A
# parallel CTest run must not overlap them.
foreach(area IN ITEMS app discovery dll_search e2e entry payload skin)
  if(TARGET test_${area})
    set_tests_properties(${area} PROPERTIES RESOURCE_LOCK program_session_state)
  endif()
endforeach()

foreach(area IN ITEMS app payload)
  if(TARGET test_${area})
    set_tests_properties(${area} PROPERTIES FIXTURES_REQUIRED "wine;small_drive"
      ENVIRONMENT "SMALL_DRIVE=S:")
  endif()
endforeach()

# The build refuses a setup.rc with more payload resources than the program
# takes, or with a payload line in an #if that is off or in a comment (CMake
# wraps the message at any space).
file(STRINGS payload/payload_install.h capacity REGEX "^constexpr int kPayloadCapacity")
string(REGEX REPLACE "[^0-9]" "" capacity "${capacity}")
string(REPEAT "\"PART\" RT_PAYLOAD payload/part\n" ${capacity} parts)
foreach(case IN ITEMS "too_many|${parts}\"LAST\" RT_PAYLOAD x|takes[ \n]+at[ \n]+most"
    "in_an_if|#if 0\n\"HIDDEN\" RT_PAYLOAD x\n#endif|does[ \n]+not[ \n]+see"
    "in_a_comment|/*\n\"NOTE\" RT_PAYLOAD x\n*/|does[ \n]+not[ \n]+see")
  string(REPLACE "|" ";" case "${case}")
  list(GET case 0 name)
  list(GET case 1 text)
  list(GET case 2 said)
  set(rc ${CMAKE_BINARY_DIR}/payload-lines/${name}.rc)
  file(WRITE ${rc} "${text}\n")
  add_test(NAME payload_lines_${name} COMMAND ${setup_payload_digests_command}
    -DRC=${rc} -DOUTPUT=${rc}.digests
    -P ${CMAKE_SOURCE_DIR}/cmake/payload-digests.cmake)
  set_tests_properties(payload_lines_${name} PROPERTIES PASS_REGULAR_EXPRESSION "${said}"
    LABELS build)
endforeach()

# The shipped program imports only system DLLs and is a stripped GUI program.
add_test(NAME setup_exe_is_self_contained
  COMMAND ${CMAKE_SOURCE_DIR}/cmake/check-exe.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:setup>)

# The end-to-end tests start the real setup.exe; they get its path, and read
# its dialog as a screen reader does. A throwaway-signed copy must verify and
# still run.
if(TARGET test_e2e)
  set_tests_properties(e2e PROPERTIES ENVIRONMENT "SETUP_EXE=$<TARGET_FILE:setup>")
  target_link_libraries(test_e2e PRIVATE oleacc oleaut32)
  add_test(NAME signed_setup_exe COMMAND ${CMAKE_SOURCE_DIR}/cmake/check-signing.sh
    $<TARGET_FILE:setup> ${CMAKE_BINARY_DIR}/wine-run.sh $<TARGET_FILE:test_e2e>
    ${PROJECT_DESCRIPTION})
  set_tests_properties(signed_setup_exe PROPERTIES FIXTURES_REQUIRED wine
    RESOURCE_LOCK program_session_state)
  # The dialog at each display scale, in a Wine session of that scale, of its
  # own prefix, display and pointer: every program there sees what the user
  # at that scale sees.
  foreach(dpi IN LISTS scaled_session_dpis)
    add_test(NAME e2e_at_${dpi} COMMAND ${CMAKE_COMMAND} -E env WINE_RUN_DPI=${dpi}
      ${CMAKE_BINARY_DIR}/wine-run.sh $<TARGET_FILE:test_e2e> --gtest_filter=Dpi/*)
    set_tests_properties(e2e_at_${dpi} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300
      ENVIRONMENT "SETUP_EXE=$<TARGET_FILE:setup>")
  endforeach()
endif()
if(TARGET test_skin)
  # The art tests read the committed renderings from the source tree, which
  # Wine shows on drive Z:, through GDI+.
  target_link_libraries(test_skin PRIVATE oleacc uuid gdiplus)
  target_compile_definitions(test_skin PRIVATE ART_FOLDER="Z:${CMAKE_SOURCE_DIR}/res/art/")
endif()

# The program's own allocation operators, out of memory, in a probe of their
# own: they end the process.
add_executable(heap_probe ${CMAKE_SOURCE_DIR}/tests/entry/probe/heap_probe.cpp
  ${CMAKE_SOURCE_DIR}/app/heap_new.cpp)
target_link_options(heap_probe PRIVATE -static)
if(TARGET test_entry)
  add_dependencies(test_entry heap_probe)
endif()

# A planted DLL and a probe program for the DLL search test; they live in a
# folder of their own so that no other program here finds the DLL.
add_library(planted_dll SHARED ${CMAKE_SOURCE_DIR}/tests/dll_search/planted/planted.c)
set_target_properties(planted_dll PROPERTIES OUTPUT_NAME uxtheme PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/planted)
target_link_options(planted_dll PRIVATE -static)
add_executable(dll_probe WIN32 ${CMAKE_SOURCE_DIR}/tests/dll_search/planted/probe.cpp)
target_link_libraries(dll_probe PRIVATE setup_core)
target_link_options(dll_probe PRIVATE -static)
set_target_properties(dll_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/planted)
if(TARGET test_dll_search)
  add_dependencies(test_dll_search planted_dll dll_probe)
  # Wine reads its DLL load order when a process starts: prefer a DLL found
  # on disk to Wine's own, as Windows does for DLLs it does not know.
  set_tests_properties(dll_search PROPERTIES
    ENVIRONMENT "WINEDLLOVERRIDES=uxtheme=n,b\\;mscoree,mshtml=")
endif()

# A real DLL and a stand-in for an image editor that loads it, for the
# install tests: a loaded plug-in can be renamed but not replaced.
add_library(editor_plugin SHARED ${CMAKE_SOURCE_DIR}/tests/payload/editor/plugin.c)
add_executable(editor_stand_in WIN32 ${CMAKE_SOURCE_DIR}/tests/payload/editor/editor.c)
foreach(target IN ITEMS editor_plugin editor_stand_in)
  target_link_options(${target} PRIVATE -static)
  set_target_properties(${target} PROPERTIES PREFIX ""
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/editor)
endforeach()
if(TARGET test_payload)
  add_dependencies(test_payload editor_plugin editor_stand_in)
endif()

# Benchmarks print figures; they are built with the tests but not run by CTest.
file(GLOB bench_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
foreach(source IN LISTS bench_sources)
  get_filename_component(name ${source} NAME_WE)
  add_executable(bench_${name} ${source} $<TARGET_OBJECTS:setup_resources>)
  target_link_libraries(bench_${name} PRIVATE setup_core)
  target_include_directories(bench_${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_link_options(bench_${name} PRIVATE -static)
endforeach()

# The start-up benchmark runs the built setup.exe beside it.
if(TARGET bench_dialog_start)
  add_dependencies(bench_dialog_start setup)
endif()

# The start-up race against a minimal NSIS installer (bench/race-nsis.sh), run
# only when asked for: cmake --build --preset win64 --target race_nsis. It
# needs makensis and the X11 headers on the host, and a quiet machine.
add_custom_target(race_nsis
  COMMAND ${CMAKE_SOURCE_DIR}/bench/race-nsis.sh ${CMAKE_BINARY_DIR}
  DEPENDS setup bench_race_close USES_TERMINAL VERBATIM)
