# The Video CD reader and its control files against disc images made by vcdimager.

# The disc image fixture, for these tests and others that play a Video CD.
add_library(quintara_vcd_testsupport STATIC support/vcd_image.cpp support/vcd_pbc_image.cpp)
target_link_libraries(quintara_vcd_testsupport PUBLIC quintara_testsupport)
target_compile_definitions(quintara_vcd_testsupport PRIVATE QUINTARA_TEST_MEDIA="${CMAKE_BINARY_DIR}/test-media"
  QUINTARA_TEST_FIXTURES="${CMAKE_CURRENT_SOURCE_DIR}/fixtures")
target_link_libraries(quintara_vcd_testsupport PRIVATE quintara_warnings)

quintara_logic_test(vcd_reader_tests test_vcd_reader.cpp test_vcd_damaged.cpp test_cue_links.cpp
  test_vcd_control.cpp test_vcd_control_damaged.cpp)
target_link_libraries(vcd_reader_tests PRIVATE quintara_vcd_testsupport)

quintara_test(vcd_engine_tests test_vcd_engine.cpp test_reelkit_support.cpp)
target_link_libraries(vcd_engine_tests PRIVATE quintara_vcd_testsupport)

quintara_test(disc_control_tests test_disc_control.cpp)
target_link_libraries(disc_control_tests PRIVATE quintara_vcd_testsupport quintara_mpris)

# The disc scan, the command line, the end-to-end run and the dialog's lists take images as drives.
target_link_libraries(disc_tests PRIVATE quintara_vcd_testsupport)
target_link_libraries(playback_tests PRIVATE quintara_vcd_testsupport)
target_link_libraries(end_to_end_tests PRIVATE quintara_vcd_testsupport)
target_link_libraries(dialog_logic_tests PRIVATE quintara_vcd_testsupport)
target_link_libraries(panel_window_tests PRIVATE quintara_vcd_testsupport)

# The timestamp reader and entry times against ffprobe and vcd-info.
quintara_logic_test(entry_time_tests test_entry_times.cpp)
target_link_libraries(entry_time_tests PRIVATE quintara_vcd_testsupport)
