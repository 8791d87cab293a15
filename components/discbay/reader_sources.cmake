# The Video CD reader: libcdio and libiso9660 for the sectors, a libmpv stream for the engine.
pkg_check_modules(CDIO REQUIRED IMPORTED_TARGET libcdio libiso9660)

target_sources(quintara_logic PRIVATE components/discbay/cue_links.cpp components/discbay/vcd_disc.cpp)
target_link_libraries(quintara_logic PRIVATE PkgConfig::CDIO)

target_sources(quintara_desktop PRIVATE components/discbay/vcd_stream.cpp)

# How fast the reader reads an image; run by hand, not a test.
add_executable(quintara_bench_vcd_read bench/vcd_read_bench.cpp)
target_link_libraries(quintara_bench_vcd_read PRIVATE quintara_logic)
target_compile_options(quintara_bench_vcd_read PRIVATE ${QUINTARA_WARNINGS})
set_target_properties(quintara_bench_vcd_read PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
