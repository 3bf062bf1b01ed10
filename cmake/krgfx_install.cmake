# Installs the runtime for other programs: the library, its public headers
# below include/krgfx, a CMake package (find_package(krgfx CONFIG)) and a
# pkg-config file. Both carry the link option that keeps the start-up object.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(KRGFX_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR})
set(KRGFX_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/krgfx)
target_include_directories(krgfx PUBLIC $<INSTALL_INTERFACE:${KRGFX_INCLUDE_DIR}>)

# The headers a program includes as <krgfx/...>; they need nothing but the
# standard library.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/krgfx DESTINATION ${KRGFX_INCLUDE_DIR}
        FILES_MATCHING PATTERN "*.h")

install(TARGETS krgfx EXPORT krgfxTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT krgfxTargets NAMESPACE krgfx:: DESTINATION ${KRGFX_PACKAGE_DIR})
# The same targets for a program that finds krgfx in this build folder.
export(EXPORT krgfxTargets NAMESPACE krgfx:: FILE ${PROJECT_BINARY_DIR}/krgfxTargets.cmake)

# What the static library needs besides itself: X11 on Linux; on Windows
# GDI beside the libraries every program links, with the C and C++ runtime
# linked in.
if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(KRGFX_CONFIG_DEPENDENCIES "")
  set(KRGFX_PC_REQUIRES "")
  set(KRGFX_PC_LINK_OPTIONS -static)
  set(KRGFX_PC_SYSTEM_LIBS "-lgdi32 ")
else()
  set(KRGFX_CONFIG_DEPENDENCIES "find_dependency(X11)")
  set(KRGFX_PC_REQUIRES "Requires: x11 xext xrandr")
  set(KRGFX_PC_LINK_OPTIONS "")
  set(KRGFX_PC_SYSTEM_LIBS "")
  if(KRGFX_WAYLAND_FOUND)
    list(JOIN KRGFX_WL_MODULES " " modules)
    string(APPEND KRGFX_CONFIG_DEPENDENCIES "\nfind_dependency(PkgConfig)\n"
           "pkg_check_modules(KRGFX_WL REQUIRED IMPORTED_TARGET ${modules})")
    string(APPEND KRGFX_PC_REQUIRES " ${modules}")
  endif()
endif()
string(APPEND KRGFX_PC_LINK_OPTIONS " -Wl,--undefined=${KRGFX_ANCHOR_SYMBOL}")
string(STRIP "${KRGFX_PC_LINK_OPTIONS}" KRGFX_PC_LINK_OPTIONS)

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/krgfxConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/krgfxConfig.cmake
                              INSTALL_DESTINATION ${KRGFX_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/krgfxConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/krgfxConfig.cmake
              ${PROJECT_BINARY_DIR}/krgfxConfigVersion.cmake
        DESTINATION ${KRGFX_PACKAGE_DIR})

# krgfx.pc finds its prefix from its own place, so `cmake --install --prefix`
# may put it anywhere.
file(RELATIVE_PATH KRGFX_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
configure_file(${CMAKE_CURRENT_LIST_DIR}/krgfx.pc.in ${PROJECT_BINARY_DIR}/krgfx.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/krgfx.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The game and the examples. The game reads 2.spr and the images it names
# from the current directory: on Windows game.exe sits in one folder with
# them (a double click starts it there); on Linux the program goes to
# libexec/krgfx, its assets to share/krgfx/assets, and bin/krgfx-game starts
# it from there.
if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(KRGFX_GAME_DIR game)
  set(KRGFX_ASSETS_DIR game)
  set(KRGFX_EXAMPLES_DIR examples)
  set(KRGFX_EXAMPLES_DATA_DIR examples)
else()
  set(KRGFX_GAME_DIR ${CMAKE_INSTALL_LIBEXECDIR}/krgfx)
  set(KRGFX_ASSETS_DIR ${CMAKE_INSTALL_DATADIR}/krgfx/assets)
  set(KRGFX_EXAMPLES_DIR ${CMAKE_INSTALL_LIBEXECDIR}/krgfx/examples)
  set(KRGFX_EXAMPLES_DATA_DIR ${CMAKE_INSTALL_DATADIR}/krgfx/examples)
endif()

if(TARGET game AND KRGFX_GAME)
  install(TARGETS game RUNTIME DESTINATION ${KRGFX_GAME_DIR})
  file(GLOB KRGFX_ASSETS ${PROJECT_SOURCE_DIR}/assets/*)
  install(FILES ${KRGFX_ASSETS} DESTINATION ${KRGFX_ASSETS_DIR})
  if(NOT CMAKE_SYSTEM_NAME STREQUAL "Windows")
    # The launcher finds both from its own place, wherever the prefix is.
    file(RELATIVE_PATH KRGFX_LAUNCHER_TO_ASSETS /${CMAKE_INSTALL_BINDIR} /${KRGFX_ASSETS_DIR})
    file(RELATIVE_PATH KRGFX_LAUNCHER_TO_GAME /${CMAKE_INSTALL_BINDIR} /${KRGFX_GAME_DIR}/game)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/krgfx-game.in ${PROJECT_BINARY_DIR}/krgfx-game @ONLY)
    install(PROGRAMS ${PROJECT_BINARY_DIR}/krgfx-game DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endif()

if(KRGFX_EXAMPLES)
  get_property(KRGFX_EXAMPLE_PROGRAMS DIRECTORY ${PROJECT_SOURCE_DIR}/examples
               PROPERTY BUILDSYSTEM_TARGETS)
  install(TARGETS ${KRGFX_EXAMPLE_PROGRAMS} RUNTIME DESTINATION ${KRGFX_EXAMPLES_DIR})
  install(FILES ${PROJECT_SOURCE_DIR}/examples/planets.txt
          DESTINATION ${KRGFX_EXAMPLES_DATA_DIR})
endif()
