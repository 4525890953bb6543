# Text and numbers half of the base library: formatting, encodings, paths, tokenizer, math, image records.
target_sources(engine_base PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AABB.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CodePages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FloatText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageInfo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MathUtil.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Matrix4.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Paths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StringUtils.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextEncoding.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextFormat.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextStream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Transform3D.cpp
)
