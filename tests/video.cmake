# Tests of the video windows.
quintara_logic_test(video_logic_tests test_video_layout.cpp test_video_values.cpp)
quintara_test(video_window_tests test_video_window.cpp test_skin_bitmap.cpp)
