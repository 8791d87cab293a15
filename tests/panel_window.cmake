# Tests of the panel window, its buttons and the keyboard map.
quintara_logic_test(panel_logic_tests test_keyboard.cpp test_panel_buttons.cpp test_panel_place.cpp)
