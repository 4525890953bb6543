# Dialogs and their show/hide effects. Included by this folder's CMakeLists.txt.
target_sources(engine_widget PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/Dialog.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Dialog.h
  ${CMAKE_CURRENT_SOURCE_DIR}/DialogEffects.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/DialogEffects.h
)
target_link_libraries(engine_widget PUBLIC engine_animation PRIVATE PkgConfig::TINYXML2)
