# The video frame and image windows.

# Their geometry and value syntax: plain arithmetic, no widgets.
target_sources(quintara_logic PRIVATE
  video/sys_command.cpp
  video/video_layout.cpp
  video/video_values.cpp
)

# The windows and the skin pictures they are drawn from. Skin_LoadBitmap is the panel's too.
target_sources(quintara_desktop PRIVATE
  panel/skin_bitmap.cpp
  video/image_window.cpp
  video/video_frame.cpp
  video/video_skin.cpp
  video/video_window.cpp
)

# The default configuration and skin beside the executable, where the player looks for them.
file(GLOB_RECURSE QUINTARA_SKIN_FILES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/skin/*)
set(QUINTARA_RESOURCES_STAMP ${CMAKE_CURRENT_BINARY_DIR}/quintara_resources.stamp)
add_custom_command(
  OUTPUT ${QUINTARA_RESOURCES_STAMP}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different
          ${CMAKE_CURRENT_SOURCE_DIR}/resources/Quintara.CFG ${CMAKE_BINARY_DIR}/Quintara.CFG
  COMMAND ${CMAKE_COMMAND} -E copy_directory
          ${CMAKE_CURRENT_SOURCE_DIR}/resources/skin ${CMAKE_BINARY_DIR}/skin
  COMMAND ${CMAKE_COMMAND} -E touch ${QUINTARA_RESOURCES_STAMP}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/Quintara.CFG ${QUINTARA_SKIN_FILES}
  COMMENT "Copying Quintara.CFG and the default skin beside the executable"
  VERBATIM)
add_custom_target(quintara_resources DEPENDS ${QUINTARA_RESOURCES_STAMP})

# Draws the default skin's video pictures; run by hand (target quintara_default_skin) when the
# drawing changes, and the pictures it writes are committed.
add_executable(quintara_make_default_skin tools/make_default_skin.cpp)
target_link_libraries(quintara_make_default_skin PRIVATE Qt6::Gui)
target_compile_options(quintara_make_default_skin PRIVATE ${QUINTARA_WARNINGS})
add_custom_target(quintara_default_skin
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:quintara_make_default_skin> ${CMAKE_CURRENT_SOURCE_DIR}/resources/skin/video
  DEPENDS quintara_make_default_skin
  COMMENT "Drawing the default skin's video pictures into resources/skin/video"
  VERBATIM)

# The player and the window tests find the configuration and the skin beside them. The
# executable is declared after this file is read, so the dependency waits for the end.
cmake_language(DEFER CALL add_dependencies quintara quintara_resources)
