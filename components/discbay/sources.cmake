# The CD-ROM drives on Linux: udev, the kernel's cdrom ioctls, udisks2 over D-Bus.
find_package(Qt6 REQUIRED COMPONENTS DBus)

# What the drives hold and the door flags of bound drives: no hardware, no widgets.
target_sources(quintara_logic PRIVATE
  components/discbay/discbay_core.cpp
)

target_sources(quintara_desktop PRIVATE
  components/discbay/cdrom_devices.cpp
  components/discbay/disc_watchers.cpp
  components/discbay/discbay_linux.cpp
  components/discbay/kernel_drive_hardware.cpp
  components/discbay/udisks_client.cpp
)
target_link_libraries(quintara_desktop PUBLIC PkgConfig::UDEV Qt6::DBus)

# How long the UI thread stands still on a slow disk service; run by hand, not a test.
add_executable(quintara_bench_ui_block bench/ui_block_bench.cpp)
target_link_libraries(quintara_bench_ui_block PRIVATE quintara_desktop)
target_compile_options(quintara_bench_ui_block PRIVATE ${QUINTARA_WARNINGS})
set_target_properties(quintara_bench_ui_block PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
