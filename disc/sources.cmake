# The play list, the drive table and the disc scan.
target_sources(quintara_logic PRIVATE
  disc/disc_scan.cpp
  disc/drive_table.cpp
  disc/image_disc.cpp
  disc/play_list.cpp
)

# How long a folder of many playable files takes to list; run by hand, not a test.
add_executable(quintara_bench_play_list bench/play_list_bench.cpp)
target_link_libraries(quintara_bench_play_list PRIVATE quintara_logic)
target_compile_options(quintara_bench_play_list PRIVATE ${QUINTARA_WARNINGS})
set_target_properties(quintara_bench_play_list PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
