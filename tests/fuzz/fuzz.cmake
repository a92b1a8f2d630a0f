# Included by tests/CMakeLists.txt. When clang can link libFuzzer programs
# (scripts/deps --test installs it), the fuzz targets are built by a clang
# build of their own under fuzz/ and each runs as one ctest test for
# JSB_FUZZ_SECONDS; a crash, a sanitizer report, a hang or a broken rule of
# the target fails it. Without clang they are left out and the configure
# says so.
set(JSB_FUZZ_SECONDS 30 CACHE STRING "How long each fuzz target runs in ctest")
find_program(JSB_FUZZ_CLANG NAMES clang++ clang++-14)

if(JSB_FUZZ_CLANG AND NOT JSB_FUZZ_WORKS)
  set(probe ${CMAKE_CURRENT_BINARY_DIR}/fuzz-probe)
  file(WRITE ${probe}/probe.cpp
    "#include <cstddef>\n#include <cstdint>\n"
    "extern \"C\" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n")
  execute_process(
    COMMAND ${JSB_FUZZ_CLANG} -fsanitize=fuzzer,address,undefined ${probe}/probe.cpp -o ${probe}/probe
    RESULT_VARIABLE probe_rc OUTPUT_QUIET ERROR_QUIET)
  if(probe_rc EQUAL 0)
    set(JSB_FUZZ_WORKS ON CACHE INTERNAL "clang links libFuzzer programs")
  endif()
endif()

if(NOT JSB_FUZZ_WORKS)
  message(STATUS "Fuzz targets left out: no clang that links -fsanitize=fuzzer (scripts/deps --test installs one)")
  return()
endif()

include(ExternalProject)
set(fuzz_bin ${CMAKE_BINARY_DIR}/fuzz)
set(fuzz_args -DCMAKE_CXX_COMPILER=${JSB_FUZZ_CLANG} -DJSB_SOURCE_DIR=${CMAKE_SOURCE_DIR})
if(CMAKE_CXX_COMPILER_LAUNCHER)
  list(APPEND fuzz_args -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER})
endif()
ExternalProject_Add(jsb_fuzz
  SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR}/fuzz
  BINARY_DIR ${fuzz_bin}
  CMAKE_ARGS ${fuzz_args}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON)

foreach(target notice_page text_to_number)
  set(dict ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/${target}.dict)
  if(NOT EXISTS ${dict})
    set(dict "")
  endif()
  add_test(NAME fuzz/${target}
    COMMAND ${CMAKE_COMMAND}
      -DFUZZER=${fuzz_bin}/fuzz_${target}
      -DSEEDS=${CMAKE_CURRENT_SOURCE_DIR}/fuzz/${target}
      -DDICT=${dict}
      -DWORK=${fuzz_bin}/run/${target}
      -DSECONDS=${JSB_FUZZ_SECONDS}
      -P ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/run.cmake)
  set_tests_properties(fuzz/${target} PROPERTIES TIMEOUT 600)
endforeach()
