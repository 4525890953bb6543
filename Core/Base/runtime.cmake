# Runtime services of the base library: log, streams, tasks, singletons, deferred deletion, lock.
target_sources(engine_base PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Log.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LogChannel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LogOutput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MemoryStream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FrameStream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileStream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StreamCreator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Task.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Singleton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DeferredDelete.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../App/Linux/CriticalSectionLinux.cpp
)
