# Tests of the play-list dialog: its rules without a display, its window on the offscreen platform.
quintara_logic_test(dialog_logic_tests test_play_list_dialog_logic.cpp)
quintara_test(dialog_window_tests test_play_list_dialog.cpp)

# The same window tests once more on the real X server that test.sh starts; skipped without one.
add_test(NAME DialogWindowOnX11
  COMMAND sh -c "[ -n \"$DISPLAY\" ] || exit 77; exec \"$0\"" $<TARGET_FILE:dialog_window_tests>)
set_tests_properties(DialogWindowOnX11 PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=xcb" SKIP_RETURN_CODE 77 TIMEOUT 120)
