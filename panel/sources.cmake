# The panel's skin: the button names and value syntax are plain logic; the reader loads
# pictures through Skin_LoadBitmap, which lives with the desktop.
target_sources(quintara_logic PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/panel_button_names.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skin_values.cpp
)
target_sources(quintara_desktop PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/panel_skin_loader.cpp
)

# The region maker the skin's outline is cut with.
include(${CMAKE_CURRENT_SOURCE_DIR}/components/maskcut/sources.cmake)

# The default skin's generator draws the panel too. Run it by hand when the drawing changes
# (target quintara_default_panel_skin) and put the sections it prints into Quintara.CFG.
target_sources(quintara_make_default_skin PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/tools/panel_skin_art.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/tools/cursor_art.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/tools/panel_key_icons.cpp
)
target_include_directories(quintara_make_default_skin PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
add_custom_target(quintara_default_panel_skin
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:quintara_make_default_skin> ${CMAKE_CURRENT_SOURCE_DIR}/resources/skin/video
          ${CMAKE_CURRENT_SOURCE_DIR}/resources > ${CMAKE_CURRENT_BINARY_DIR}/panel_sections.cfg
  DEPENDS quintara_make_default_skin
  COMMENT "Drawing the default skin's panel, cursors and icons; its sections go to panel_sections.cfg"
  VERBATIM)

# The panel's cursors and the application icons travel inside the executable, as
# ":/cursors/pointing_hand.png" (over a button, hot spot 11,0), ":/cursors/open_hand.png"
# (elsewhere, hot spot 14,0), ":/icons/quintara.png" and ":/icons/video.png".
qt_add_resources(quintara_desktop quintara_panel_pictures
  PREFIX "/"
  BASE ${CMAKE_CURRENT_SOURCE_DIR}/resources
  FILES
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/cursors/pointing_hand.png
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/cursors/open_hand.png
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons/quintara.png
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons/video.png
)
