# Tests of the panel window, its buttons and the keyboard map.
quintara_logic_test(panel_logic_tests test_keyboard.cpp test_panel_buttons.cpp test_panel_place.cpp)
quintara_test(panel_window_tests test_panel_window.cpp test_keyboard_qt.cpp test_panel_from_files.cpp
  test_panel_skin_files.cpp test_panel_default_skin.cpp)

# The same on a real X server (test.sh starts Xvfb and sets DISPLAY), where no window manager
# moves the panel; skipped where no display is given.
add_test(NAME PanelWindowOnX11
  COMMAND sh -c "[ -n \"$DISPLAY\" ] || exit 77; exec \"$0\"" $<TARGET_FILE:panel_window_tests>)
set_tests_properties(PanelWindowOnX11 PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=xcb" SKIP_RETURN_CODE 77 TIMEOUT 120)
# One X server for all: a full-screen video frame hides the panel (nothing of a hidden window
# is painted) and the tests move the one pointer, so the window tests on X take turns.

# Once more at twice the pixel density: the skin's pictures are scaled once, at the copy.
add_test(NAME PanelWindowScaled COMMAND panel_window_tests)
set_tests_properties(PanelWindowScaled PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2" TIMEOUT 120)
