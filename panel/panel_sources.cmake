# The panel window, its buttons and pointer, and the keyboard map.

# The tables and the pointer logic: no widgets.
target_sources(quintara_logic PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/drive_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/keyboard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panel_buttons.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panel_place.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qt_keys.cpp
)

# The window on Qt, its cursors, and the keys of the video windows.
target_sources(quintara_desktop PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/panel_create.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panel_cursors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/drive_popup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panel_drag.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panel_skin_parts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panel_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/video_keys.cpp
)

