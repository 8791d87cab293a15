# The video frame and image windows.

# Their geometry and value syntax: plain arithmetic, no widgets.
target_sources(quintara_logic PRIVATE
  video/sys_command.cpp
  video/video_layout.cpp
  video/video_values.cpp
)

# The windows and the skin pictures they are drawn from. Skin_LoadBitmap is the panel's too.
target_sources(quintara_desktop PRIVATE
  panel/skin_bitmap.cpp
  video/image_window.cpp
  video/video_frame.cpp
  video/video_skin.cpp
  video/video_window.cpp
)
