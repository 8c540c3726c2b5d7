# Shared build settings and the helpers every folder uses.

set(VELKARO_WARNINGS -Wall -Wextra -Wno-missing-field-initializers)
if(VELKARO_WERROR)
  list(APPEND VELKARO_WARNINGS -Werror)
endif()

if(VELKARO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VELKARO_FUZZ needs clang (libFuzzer)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# velkaro_library(name [STATIC] SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# A folder's library; its folder is the include root ("platform/json/Value.h" is included as <json/Value.h>
# through the platform root, see the include directories set below).
function(velkaro_library name)
  cmake_parse_arguments(L "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  target_compile_options(${name} PRIVATE ${VELKARO_WARNINGS})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/platform ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${L_PUBLIC_LIBS} PRIVATE ${L_PRIVATE_LIBS})
endfunction()

# velkaro_test(name [QT] SOURCES ... LIBS ... [ENVIRONMENT var=value ...] [LABELS ...] [TIMEOUT s])
# A GoogleTest executable; each test case becomes a CTest test. With QT, main() creates a
# QApplication first. Widgets run offscreen.
function(velkaro_test name)
  cmake_parse_arguments(T "QT" "TIMEOUT" "SOURCES;LIBS;ENVIRONMENT;LABELS" ${ARGN})
  if(VELKARO_FUZZ)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_compile_options(${name} PRIVATE ${VELKARO_WARNINGS})
  target_compile_definitions(${name} PRIVATE
    VELKARO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    VELKARO_CORPUS_DIR="${VELKARO_CORPUS_DIR}"
    VELKARO_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(T_QT)
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock velkaro_qt_test_main)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${T_ENVIRONMENT}" TIMEOUT ${T_TIMEOUT}
               LABELS "${T_LABELS}")
endfunction()

# velkaro_fuzzer(name SOURCES ... LIBS ... SEEDS dir...)
# With VELKARO_FUZZ a libFuzzer binary; otherwise the same entry point replays the seed folders as
# a regular test, so that every kept finding stays a regression test.
function(velkaro_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS;SEEDS" ${ARGN})
  if(VELKARO_FUZZ)
    add_executable(${name} ${F_SOURCES})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    if(NOT VELKARO_TESTS)
      return()
    endif()
    add_executable(${name} ${F_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/FuzzReplayMain.cpp)
    add_test(NAME ${name}.seeds COMMAND ${name} ${F_SEEDS})
    set_tests_properties(${name}.seeds PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 600)
  endif()
  target_compile_options(${name} PRIVATE ${VELKARO_WARNINGS})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  string(REPLACE ";" "," _seeds "${F_SEEDS}")
  set_property(GLOBAL APPEND PROPERTY VELKARO_FUZZERS "${name} ${_seeds}")
endfunction()

# Writes the list of fuzzers with their seed folders for `./run fuzz`.
function(velkaro_write_fuzzer_list)
  get_property(_fuzzers GLOBAL PROPERTY VELKARO_FUZZERS)
  string(REPLACE ";" "\n" _text "${_fuzzers}")
  file(WRITE "${PROJECT_BINARY_DIR}/fuzzers.txt" "${_text}\n")
endfunction()
