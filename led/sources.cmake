# The LED display: what each element shows, and its drawing onto the panel's picture.
target_sources(quintara_logic PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/led_draw.cpp
  ${CMAKE_CURRENT_LIST_DIR}/led_view.cpp
)

# How long a panel paint and a position tick take with the default skin; run by hand.
add_executable(quintara_bench_panel_paint ${CMAKE_CURRENT_SOURCE_DIR}/bench/panel_paint_bench.cpp)
target_link_libraries(quintara_bench_panel_paint PRIVATE quintara_desktop)
target_compile_options(quintara_bench_panel_paint PRIVATE ${QUINTARA_WARNINGS})
target_compile_definitions(quintara_bench_panel_paint PRIVATE QUINTARA_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
set_target_properties(quintara_bench_panel_paint PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
