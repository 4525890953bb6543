# Tests of the base library's runtime services (and of the lock it carries for tasks).
corv_test(test_base_log LogTest.cpp)
target_link_libraries(test_base_log PRIVATE engine_base)

corv_test(test_base_streams MemoryStreamTest.cpp FrameStreamTest.cpp FileStreamTest.cpp StreamCopyTest.cpp
  StreamCreatorTest.cpp)
target_link_libraries(test_base_streams PRIVATE engine_base)

corv_test(test_base_task TaskTest.cpp)
target_link_libraries(test_base_task PRIVATE engine_base)

corv_test(test_base_singleton SingletonTest.cpp)
target_link_libraries(test_base_singleton PRIVATE engine_base)

corv_test(test_base_delegate DelegateTest.cpp ListenerRegistryTest.cpp)
target_link_libraries(test_base_delegate PRIVATE engine_base)

corv_test(test_base_deferred_delete DeferredDeleteTest.cpp)
target_link_libraries(test_base_deferred_delete PRIVATE engine_base)

corv_test(test_app_critical_section ../App/CriticalSectionTest.cpp)
target_link_libraries(test_app_critical_section PRIVATE engine_base)

corv_test(test_base_containers ContainersTest.cpp)
target_link_libraries(test_base_containers PRIVATE engine_base)
