# Tests of the video windows.
quintara_logic_test(video_logic_tests test_video_layout.cpp test_video_values.cpp)
quintara_test(video_window_tests test_video_window.cpp test_skin_bitmap.cpp)

# The same window tests once more on a real X server (test.sh starts Xvfb and sets DISPLAY):
# no window manager there, so the frame sizes, moves and goes full screen by itself. Skipped
# where no display is given.
add_test(NAME VideoWindowOnX11
  COMMAND sh -c "[ -n \"$DISPLAY\" ] || exit 77; exec \"$0\"" $<TARGET_FILE:video_window_tests>)
set_tests_properties(VideoWindowOnX11 PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=xcb" SKIP_RETURN_CODE 77 TIMEOUT 120)

# The twins of the skin's pictures at twice the pixel density.
add_test(NAME VideoWindowScaled COMMAND video_window_tests --gtest_filter=VideoWindow.Twin*)
set_tests_properties(VideoWindowScaled PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2" TIMEOUT 120)
