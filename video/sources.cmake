# The video frame and image windows.

# Their geometry and value syntax: plain arithmetic, no widgets.
target_sources(quintara_logic PRIVATE
  video/sys_command.cpp
  video/video_layout.cpp
  video/video_values.cpp
)
