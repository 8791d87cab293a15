# The system mixer on a PulseAudio server, run by libpulse's own thread.
pkg_check_modules(PULSE REQUIRED IMPORTED_TARGET libpulse)

target_sources(quintara_desktop PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/pulse_link.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pulse_mixer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sonokit_values.cpp
)
target_link_libraries(quintara_desktop PUBLIC PkgConfig::PULSE)
