# The video frame and image windows.
