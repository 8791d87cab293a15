# Tests of the panel's skin, its region maker and the LED drawing.
quintara_logic_test(maskcut_tests test_maskcut.cpp)
quintara_test(panel_skin_tests
  test_panel_skin.cpp
  test_panel_skin_files.cpp
  test_led_draw_default_skin.cpp
  test_panel_skin_cursors.cpp
)
quintara_logic_test(led_draw_tests test_led_draw.cpp)
