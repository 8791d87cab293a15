# Commands, transport and tracks.
target_sources(quintara_logic PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/app_command.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_strings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dispatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/playback_hooks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/playback_parts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/position_poll.cpp
  ${CMAKE_CURRENT_LIST_DIR}/play_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/track_entry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tracks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/transport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_access.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_commands.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/disc/disc_menu.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/disc/load_disc.cpp
)
