# The Wayland back end (gfx/display/wayland/) beside X11 on Linux.
# KRGFX_WAYLAND: AUTO builds it when pkg-config finds the development
# packages, ON insists on them, OFF leaves it out. libdecor, when found,
# draws the window's frame where the compositor draws none. The protocol code comes
# from wayland-scanner and the XML of wayland-protocols, at build time.
set(KRGFX_WAYLAND AUTO CACHE STRING "Wayland back end: AUTO, ON or OFF")
set_property(CACHE KRGFX_WAYLAND PROPERTY STRINGS AUTO ON OFF)
set(KRGFX_WAYLAND_FOUND OFF)
if(NOT KRGFX_WAYLAND STREQUAL "OFF" AND NOT CMAKE_SYSTEM_NAME STREQUAL "Windows")
  find_package(PkgConfig QUIET)
  if(PKG_CONFIG_FOUND)
    set(KRGFX_WL_MODULES wayland-client wayland-cursor xkbcommon)
    pkg_check_modules(KRGFX_DECOR QUIET libdecor-0)
    if(KRGFX_DECOR_FOUND)
      list(APPEND KRGFX_WL_MODULES libdecor-0)
    endif()
    pkg_check_modules(KRGFX_WL QUIET IMPORTED_TARGET ${KRGFX_WL_MODULES})
    pkg_get_variable(KRGFX_WL_PROTOCOLS wayland-protocols pkgdatadir)
    pkg_get_variable(KRGFX_WL_SCANNER wayland-scanner wayland_scanner)
  endif()
  if(KRGFX_WL_FOUND AND KRGFX_WL_PROTOCOLS AND KRGFX_WL_SCANNER)
    set(KRGFX_WAYLAND_FOUND ON)
  elseif(KRGFX_WAYLAND STREQUAL "ON")
    message(FATAL_ERROR "KRGFX_WAYLAND=ON needs libwayland-dev, wayland-protocols and "
                        "libxkbcommon-dev (tools/install_deps.sh)")
  endif()
endif()
message(STATUS "Wayland back end: ${KRGFX_WAYLAND_FOUND} (libdecor: ${KRGFX_DECOR_FOUND})")
