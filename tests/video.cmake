# Tests of the video windows.
