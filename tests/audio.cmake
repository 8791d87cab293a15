# Tests of volume, mute and the audio properties.
quintara_logic_test(audio_tests test_audio_volume.cpp test_audio_properties.cpp)

# The mixer against real sound servers: the one test.sh starts, shared by these tests and so
# never used by two at once, and private ones the tests start and kill themselves.
pkg_check_modules(PULSE_SIMPLE REQUIRED IMPORTED_TARGET libpulse-simple)
add_executable(sonokit_tests test_sonokit_values.cpp test_sonokit_pulse.cpp test_sonokit_restart.cpp)
target_link_libraries(sonokit_tests PRIVATE quintara_qt_testsupport PkgConfig::PULSE_SIMPLE)
target_link_libraries(sonokit_tests PRIVATE quintara_warnings)
gtest_discover_tests(sonokit_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120 RESOURCE_LOCK quintara_pulseaudio)
