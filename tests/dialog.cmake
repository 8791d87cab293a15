# Tests of the play-list dialog: its rules without a display, its window on the offscreen platform.
quintara_logic_test(dialog_logic_tests test_play_list_dialog_logic.cpp)
quintara_test(dialog_window_tests test_play_list_dialog.cpp)
