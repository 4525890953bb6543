find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)
pkg_check_modules(EPOXY REQUIRED IMPORTED_TARGET epoxy)
pkg_check_modules(TINYXML2 REQUIRED IMPORTED_TARGET tinyxml2)
pkg_check_modules(DEVIL REQUIRED IMPORTED_TARGET IL)
pkg_check_modules(VORBIS REQUIRED IMPORTED_TARGET vorbisfile vorbisenc vorbis ogg)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(JPEG REQUIRED IMPORTED_TARGET libjpeg)
pkg_check_modules(ZLIB REQUIRED IMPORTED_TARGET zlib)
pkg_check_modules(SPVC REQUIRED IMPORTED_TARGET spirv-cross-c-shared)
find_package(glslang REQUIRED)
find_path(UTFCPP_INCLUDE_DIR utf8.h PATH_SUFFIXES utf8cpp REQUIRED)
add_library(corv_utfcpp INTERFACE)
target_include_directories(corv_utfcpp SYSTEM INTERFACE ${UTFCPP_INCLUDE_DIR})

if(CORV_TESTS)
  # The process-level tests drive the game with synthetic mouse and keys; the game itself needs no XTest.
  pkg_check_modules(XTST REQUIRED IMPORTED_TARGET xtst)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()
if(CORV_BENCH)
  find_package(benchmark REQUIRED)
endif()

# Every engine target includes from the repository root: #include "Core/Base/Log.h".
function(corv_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  corv_warnings(${name})
endfunction()

# Compile options every test program shares.
function(corv_test_options name)
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    CORV_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    CORV_TESTDATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  corv_warnings(${name})
  if(CORV_SANITIZE)
    # Test programs are mostly assertions: unoptimised they compile in about half the time and still run
    # under both sanitizers, while the libraries they test keep the tree's optimisation.
    target_compile_options(${name} PRIVATE -O0)
  endif()
  if(CORV_FUZZ)
    # Coverage only guides the fuzzer; test programs do without it.
    target_compile_options(${name} PRIVATE -fno-sanitize=fuzzer-no-link)
  endif()
endfunction()

# The test framework's header costs more to parse than most test files: every test program reuses one
# precompiled copy. Test programs share their compile options (corv_test_options), as reusing it requires.
if(CORV_TESTS)
  add_library(corv_test_pch OBJECT ${PROJECT_SOURCE_DIR}/tests/Support/Precompiled.cpp)
  corv_test_options(corv_test_pch)
  target_precompile_headers(corv_test_pch PRIVATE <gtest/gtest.h> <filesystem> <functional> <string> <vector>)
endif()

# A test executable registered with ctest; sources relative to the calling folder.
# SERIAL: the tests need the display to themselves (a full-screen window that loses the keyboard focus
# to another test's window stops drawing, as a real inactive full-screen game does).
# TIMEOUT: seconds per test case, 300 when not given.
function(corv_test name)
  cmake_parse_arguments(ARG "SERIAL" "TIMEOUT" "" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  if(CORV_SANITIZE)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/Support/LeakSuppressions.cpp)
  endif()
  corv_test_options(${name})
  target_precompile_headers(${name} REUSE_FROM corv_test_pch)
  if(ARG_SERIAL)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT ${ARG_TIMEOUT} RUN_SERIAL TRUE)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT ${ARG_TIMEOUT})
  endif()
endfunction()
