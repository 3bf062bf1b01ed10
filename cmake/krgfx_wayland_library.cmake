# The Wayland back end's protocol code and libraries on the krgfx target
# (cmake/krgfx_wayland.cmake found them).
if(NOT KRGFX_WAYLAND_FOUND)
  return()
endif()
enable_language(C)
set(KRGFX_WL_GENERATED ${PROJECT_BINARY_DIR}/wayland-protocols)
file(MAKE_DIRECTORY ${KRGFX_WL_GENERATED})
set(KRGFX_WL_PROTOCOL_FILES
    stable/xdg-shell/xdg-shell.xml
    stable/viewporter/viewporter.xml
    unstable/xdg-decoration/xdg-decoration-unstable-v1.xml
    staging/fractional-scale/fractional-scale-v1.xml
    unstable/pointer-constraints/pointer-constraints-unstable-v1.xml
    unstable/idle-inhibit/idle-inhibit-unstable-v1.xml)
set(KRGFX_WL_PROTOCOL_SOURCES "")
foreach(xml ${KRGFX_WL_PROTOCOL_FILES})
  get_filename_component(name ${xml} NAME_WE)
  set(header ${KRGFX_WL_GENERATED}/${name}-client-protocol.h)
  set(code ${KRGFX_WL_GENERATED}/${name}-protocol.c)
  add_custom_command(
    OUTPUT ${header} ${code}
    COMMAND ${KRGFX_WL_SCANNER} client-header ${KRGFX_WL_PROTOCOLS}/${xml} ${header}
    COMMAND ${KRGFX_WL_SCANNER} private-code ${KRGFX_WL_PROTOCOLS}/${xml} ${code}
    DEPENDS ${KRGFX_WL_PROTOCOLS}/${xml}
    COMMENT "wayland-scanner ${name}")
  list(APPEND KRGFX_WL_PROTOCOL_SOURCES ${header} ${code})
endforeach()
target_sources(krgfx PRIVATE ${KRGFX_WL_PROTOCOL_SOURCES})
target_include_directories(krgfx SYSTEM PRIVATE ${KRGFX_WL_GENERATED})
target_link_libraries(krgfx PUBLIC PkgConfig::KRGFX_WL)
target_compile_definitions(krgfx PRIVATE KRGFX_HAVE_WAYLAND=1)
if(KRGFX_DECOR_FOUND)
  target_compile_definitions(krgfx PRIVATE KRGFX_HAVE_LIBDECOR=1)
endif()
