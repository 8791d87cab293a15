# The media engine on libmpv.
pkg_check_modules(MPV REQUIRED IMPORTED_TARGET mpv)
find_package(Qt6 REQUIRED COMPONENTS OpenGL OpenGLWidgets)

target_sources(quintara_desktop PRIVATE
  components/reelkit/audio_choice.cpp
  components/reelkit/audio_dialog.cpp
  components/reelkit/backward_stepper.cpp
  components/reelkit/engine_status.cpp
  components/reelkit/mpv_engine.cpp
  components/reelkit/mpv_picture.cpp
)
target_link_libraries(quintara_desktop PUBLIC PkgConfig::MPV Qt6::OpenGL Qt6::OpenGLWidgets)

# The engine's benchmark driver is built beside it.
include(${CMAKE_SOURCE_DIR}/bench/bench.cmake)
