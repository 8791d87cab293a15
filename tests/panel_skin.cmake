# Tests of the panel's skin, its region maker and the LED drawing.
quintara_logic_test(maskcut_tests test_maskcut.cpp)
quintara_test(panel_skin_tests
  test_panel_skin.cpp
  test_panel_skin_files.cpp
)
