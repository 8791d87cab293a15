# Tests of volume, mute and the audio properties.
quintara_logic_test(audio_tests test_audio_volume.cpp test_audio_properties.cpp)
