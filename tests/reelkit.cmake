# Tests of the media engine.
