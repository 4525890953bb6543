# Tests of the text and numbers half of the base library.
corv_test(test_base_text_format TextFormatTest.cpp TextStreamTest.cpp)
corv_test(test_base_text_encoding TextEncodingTest.cpp)
corv_test(test_base_strings StringTokenizerTest.cpp StringUtilsTest.cpp PathsTest.cpp)
corv_test(test_base_math MathUtilTest.cpp MathTypesTest.cpp Transform3DTest.cpp)
foreach(t test_base_text_format test_base_text_encoding test_base_strings test_base_math)
  target_link_libraries(${t} PRIVATE engine_base)
endforeach()
