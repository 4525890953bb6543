# Image loading, hit masks, image containers, the drawing front and bitmap fonts. Included by this folder's
# CMakeLists.txt. The image containers live with the file layer's sources but are built here: they take the
# application's image scale, and the file layer sits below the application.
target_sources(engine_render PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/BMFont.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/BMFont.h
  ${CMAKE_CURRENT_SOURCE_DIR}/BMFontLayout.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/DrawParam.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/DrawParam.h
  ${CMAKE_CURRENT_SOURCE_DIR}/Font.h
  ${CMAKE_CURRENT_SOURCE_DIR}/Graphics.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Graphics.h
  ${CMAKE_CURRENT_SOURCE_DIR}/GraphicsFriend.h
  ${CMAKE_CURRENT_SOURCE_DIR}/HitMask.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/HitMask.h
  ${CMAKE_CURRENT_SOURCE_DIR}/ImageLoader.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ImageLoader.h
  ${CMAKE_CURRENT_SOURCE_DIR}/ImageLoaderDDS.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ImageLoaderDevil.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ImageLoaderPng.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ResourceTexture.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ResourceTexture.h
  ${CMAKE_CURRENT_SOURCE_DIR}/TextLayout.h
  ${CMAKE_CURRENT_SOURCE_DIR}/Transform2D.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Transform2D.h
  ${CMAKE_CURRENT_SOURCE_DIR}/../File/ImageContainer.h
  ${CMAKE_CURRENT_SOURCE_DIR}/../File/ImageFolder.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/../File/ImageFolder.h
  ${CMAKE_CURRENT_SOURCE_DIR}/../File/PsdFile.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/../File/PsdFile.h
)
target_link_libraries(engine_render PRIVATE engine_psd PkgConfig::DEVIL PkgConfig::PNG PkgConfig::ZLIB PkgConfig::TINYXML2)
