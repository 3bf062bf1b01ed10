# Packages of what cmake/krgfx_install.cmake installs (tools/package.sh makes
# them): a .deb on Linux, a .zip on Windows.
set(CPACK_PACKAGE_NAME krgfx)
set(CPACK_PACKAGE_VENDOR krgfx)
set(CPACK_PACKAGE_CONTACT "krgfx developers <krgfx@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Graphics, text and input runtime for desktop programs, with a small mouse game")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
  else()
    set(CPACK_SYSTEM_NAME win32)
  endif()
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
  # The zip opens to one folder of that name.
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
  # The programs' shared libraries come from dpkg-shlibdeps; the static
  # library's users also need the X11 development files (find_dependency(X11)
  # and krgfx.pc's Requires).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libx11-dev, libxext-dev, libxrandr-dev")
endif()

include(CPack)
