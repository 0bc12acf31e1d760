# The probe plug-in (Probe.so, see probe_plugin.cpp) and variants lacking entry points, for the library
# host's tests. All land in <build>/bin next to the player.
function(vortel_probe target)
    add_library(${target} SHARED ${CMAKE_CURRENT_LIST_DIR}/probe_plugin.cpp)
    target_link_libraries(${target} PRIVATE vortel_interface)
    target_compile_definitions(${target} PRIVATE ${ARGN})
    vortel_plugin(${target})
endfunction()

vortel_probe(Probe)
vortel_probe(ProbeNoInit PROBE_WITHOUT_INIT)
vortel_probe(ProbeNoQuit PROBE_WITHOUT_QUIT_AND_FRAME PROBE_WITHOUT_UPDATE_PARAM)
vortel_probe(ProbeNoUpdate PROBE_WITHOUT_UPDATE_PARAM)
add_custom_target(probe_plugins DEPENDS Probe ProbeNoInit ProbeNoQuit ProbeNoUpdate)
