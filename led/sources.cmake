# The LED display: what each element shows, and its drawing onto the panel's picture.
target_sources(quintara_logic PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/led_draw.cpp
  ${CMAKE_CURRENT_LIST_DIR}/led_view.cpp
)
