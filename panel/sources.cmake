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
