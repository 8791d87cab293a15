# Tests of commands, transport, tracks and the play list.
quintara_logic_test(playback_tests
  test_dispatch.cpp
  test_transport.cpp
  test_tracks.cpp
  test_track_entry.cpp
  test_position_poll.cpp
  test_load_disc.cpp
  test_play_files.cpp
  test_disc_menu.cpp
)
quintara_test(end_to_end_tests test_disc_end_to_end.cpp)
