# Tests of the media engine.
quintara_logic_test(reelkit_logic_tests test_reelkit_logic.cpp)
quintara_test(reelkit_tests test_reelkit_engine.cpp test_reelkit_picture.cpp test_reelkit_support.cpp)
