# The engine's benchmark driver; bench/engine_cpu.sh runs it. Not a test.
add_executable(quintara_engine_play ${CMAKE_CURRENT_LIST_DIR}/engine_play.cpp)
target_link_libraries(quintara_engine_play PRIVATE quintara_desktop)
target_compile_options(quintara_engine_play PRIVATE ${QUINTARA_WARNINGS})
