# The Video CD reader: libcdio and libiso9660 for the sectors, a libmpv stream for the engine.
pkg_check_modules(CDIO REQUIRED IMPORTED_TARGET libcdio libiso9660)

target_sources(quintara_logic PRIVATE components/discbay/cue_links.cpp components/discbay/vcd_disc.cpp)
target_link_libraries(quintara_logic PRIVATE PkgConfig::CDIO)

target_sources(quintara_desktop PRIVATE components/discbay/vcd_stream.cpp)
