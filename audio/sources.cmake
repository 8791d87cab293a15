# Volume, mute and the engine's audio properties.
target_sources(quintara_logic PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/audio_parts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/audio_properties.cpp
  ${CMAKE_CURRENT_LIST_DIR}/volume.cpp
)
