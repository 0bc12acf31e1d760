#Refused allocations for out - of - memory tests(short_of_memory.h); replaces operator new in its program.
add_library(vortel_short_of_memory STATIC ${CMAKE_CURRENT_LIST_DIR} / short_of_memory.cpp)
    target_include_directories(vortel_short_of_memory PUBLIC ${CMAKE_CURRENT_LIST_DIR})
