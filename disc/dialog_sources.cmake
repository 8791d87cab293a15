# The play-list dialog: its folder chain and list rules in the logic, its window on the desktop.
target_sources(quintara_logic PRIVATE
  disc/dialog_folder_combo.cpp
  disc/dialog_lists.cpp
)
target_sources(quintara_desktop PRIVATE
  disc/dialog_views.cpp
  disc/play_list_dialog.cpp
)

# How long the dialog takes to list a folder of many playable files and to draw it while
# scrolling; run by hand, not a test.
add_executable(quintara_bench_play_list_dialog bench/play_list_dialog_bench.cpp)
target_link_libraries(quintara_bench_play_list_dialog PRIVATE quintara_desktop)
target_compile_options(quintara_bench_play_list_dialog PRIVATE ${QUINTARA_WARNINGS})
set_target_properties(quintara_bench_play_list_dialog PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
