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
