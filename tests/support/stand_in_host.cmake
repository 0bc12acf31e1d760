# The stand-in player for tests that link a plug-in into the test program (stand_in_host.h).
add_library(vortel_stand_in_host STATIC ${CMAKE_CURRENT_LIST_DIR}/stand_in_host.cpp)
target_include_directories(vortel_stand_in_host PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(vortel_stand_in_host PUBLIC vortel_interface PkgConfig::SDL)
