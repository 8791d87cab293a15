# The region maker: plain pixel work, no widgets.
target_sources(quintara_logic PRIVATE ${CMAKE_CURRENT_LIST_DIR}/maskcut_regions.cpp)
