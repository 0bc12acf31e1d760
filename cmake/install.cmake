# `cmake --install` layout:
#   <prefix>/bin/player                  launcher that runs the real player from the plug-in folder
#   <prefix>/lib/vortel/                 player, plug-ins, SDL.ini, the bundled demo and its media, the studio's
#                                        page (studio/): the player
#                                        finds libraries next to itself and plug-ins find Scaffold.so through
#                                        RUNPATH=$ORIGIN, so the folder works wherever it is installed
#   <prefix>/include/vortel/             the plug-in interface and the plug-in helper (plugin_helper.h)
#   <prefix>/include/vortel/scaffold/    the scene library's headers ("scene/*.h"), the helpers plug-ins share
#                                        ("common/*.h") and "glstate.h"
#   <prefix>/lib/cmake/Vortel/           find_package(Vortel): the imported target Vortel::Scaffold
#   <prefix>/lib/pkgconfig/              vortel-scaffold.pc
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(VORTEL_PLUGIN_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/vortel)
set(VORTEL_HEADER_INSTALL_DIR ${CMAKE_INSTALL_INCLUDEDIR}/vortel/scaffold)
set(VORTEL_CMAKE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Vortel)
set(VORTEL_PKGCONFIG_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The deliverables. Plug-ins carry INSTALL_RPATH $ORIGIN (vortel_plugin), the player needs none.
install(TARGETS player Scaffold Swarms Emberfold Pictor Media Shaders RUNTIME DESTINATION ${VORTEL_PLUGIN_INSTALL_DIR}
                                                                      LIBRARY DESTINATION ${VORTEL_PLUGIN_INSTALL_DIR})
file(RELATIVE_PATH VORTEL_BIN_TO_PLUGINS /${CMAKE_INSTALL_BINDIR} /${VORTEL_PLUGIN_INSTALL_DIR})
configure_file(${CMAKE_CURRENT_LIST_DIR}/player-launcher.sh.in ${CMAKE_BINARY_DIR}/install/player @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/install/player DESTINATION ${CMAKE_INSTALL_BINDIR})

# The bundled demo as the build left it beside the player (player.xml, played without arguments, and its
# media in showcase/), and the default SDL.ini.
install(FILES ${CMAKE_BINARY_DIR}/bin/player.xml ${CMAKE_BINARY_DIR}/bin/SDL.ini
        DESTINATION ${VORTEL_PLUGIN_INSTALL_DIR} OPTIONAL)
install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/showcase DESTINATION ${VORTEL_PLUGIN_INSTALL_DIR} OPTIONAL)
# The studio's page (player --studio), served from beside the player.
install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/studio DESTINATION ${VORTEL_PLUGIN_INSTALL_DIR})

# Headers an outside plug-in compiles against; the include spellings are the same as inside this tree.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/vortel/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/vortel
        FILES_MATCHING PATTERN "*.h")
install(FILES ${CMAKE_SOURCE_DIR}/glstate/glstate.h DESTINATION ${VORTEL_HEADER_INSTALL_DIR})
foreach(folder scene common)
    install(DIRECTORY ${CMAKE_SOURCE_DIR}/scaffold/${folder}/ DESTINATION ${VORTEL_HEADER_INSTALL_DIR}/${folder}
            FILES_MATCHING PATTERN "*.h" PATTERN "*_internal.h" EXCLUDE)
endforeach()

# An outside plug-in loaded into a sanitized player must be built the same way: the sanitizer options of
# this build travel with the package.
get_directory_property(VORTEL_CONSUMER_FLAGS DIRECTORY ${CMAKE_SOURCE_DIR} COMPILE_OPTIONS)
list(FILTER VORTEL_CONSUMER_FLAGS INCLUDE REGEX "^-f(no-)?sanitize|^-fno-omit-frame-pointer$")
get_directory_property(VORTEL_CONSUMER_LINK_FLAGS DIRECTORY ${CMAKE_SOURCE_DIR} LINK_OPTIONS)
list(FILTER VORTEL_CONSUMER_LINK_FLAGS INCLUDE REGEX "^-fsanitize")
list(JOIN VORTEL_CONSUMER_FLAGS " " VORTEL_PC_CFLAGS)
list(JOIN VORTEL_CONSUMER_LINK_FLAGS " " VORTEL_PC_LIBS)

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/VortelConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/install/VortelConfig.cmake
                              INSTALL_DESTINATION ${VORTEL_CMAKE_INSTALL_DIR}
                              PATH_VARS VORTEL_PLUGIN_INSTALL_DIR VORTEL_HEADER_INSTALL_DIR
                                        CMAKE_INSTALL_INCLUDEDIR)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/install/VortelConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/install/VortelConfig.cmake ${CMAKE_BINARY_DIR}/install/VortelConfigVersion.cmake
        DESTINATION ${VORTEL_CMAKE_INSTALL_DIR})

file(RELATIVE_PATH VORTEL_PC_TO_PREFIX /${VORTEL_PKGCONFIG_INSTALL_DIR} /)
string(REGEX REPLACE "/$" "" VORTEL_PC_TO_PREFIX "${VORTEL_PC_TO_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/vortel-scaffold.pc.in ${CMAKE_BINARY_DIR}/install/vortel-scaffold.pc
               @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/install/vortel-scaffold.pc DESTINATION ${VORTEL_PKGCONFIG_INSTALL_DIR})
