# CORV_SANITIZE: AddressSanitizer and UndefinedBehaviorSanitizer for every target.
# CORV_FUZZ: libraries get coverage instrumentation too and fuzz targets link libFuzzer's main. Both can be on in
# one tree: the test command builds a single clang tree that runs every test and links every fuzz target.
if(CORV_FUZZ AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "CORV_FUZZ needs clang (configure with CXX=clang++ CC=clang)")
endif()
if(CORV_SANITIZE OR CORV_FUZZ)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(CORV_SANITIZE)
  # An undefined-behaviour report fails the test instead of scrolling past in its log.
  add_compile_options(-fno-sanitize-recover=undefined)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    # Debian's glslang is built without RTTI, so the vptr check cannot see its classes. clang builds keep the
    # check and leave it out only in the files that use glslang.
    add_compile_options(-fno-sanitize=vptr)
  endif()
endif()
if(CORV_FUZZ)
  # Every library is instrumented for coverage; only fuzz targets link the libFuzzer main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
