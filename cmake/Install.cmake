# Install rules: the library, its public headers, a CMake package config
# (find_package(Tb58Wk31) gives the target Tb58Wk31::Tb58Wk31) and a
# pkg-config file (tb58wk31.pc).
include(CMakePackageConfigHelpers)

# The components are the Debian packages of cmake/Packaging.cmake: 'library'
# (the versioned shared object) and 'development' (everything a caller's
# build needs, the unversioned link too).
install(TARGETS Tb58Wk31 EXPORT Tb58Wk31Targets
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT library
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT library NAMELINK_COMPONENT development
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
file(GLOB TB58_PUBLIC_HEADERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/include/*.h ${PROJECT_SOURCE_DIR}/include/*.hpp)
install(FILES ${TB58_PUBLIC_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
install(EXPORT Tb58Wk31Targets
    NAMESPACE Tb58Wk31::
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Tb58Wk31
    COMPONENT development)

configure_package_config_file(cmake/Tb58Wk31Config.cmake.in
    ${CMAKE_BINARY_DIR}/Tb58Wk31Config.cmake
    INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Tb58Wk31)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/Tb58Wk31ConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/Tb58Wk31Config.cmake ${CMAKE_BINARY_DIR}/Tb58Wk31ConfigVersion.cmake
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Tb58Wk31 COMPONENT development)

file(RELATIVE_PATH TB58_PC_RELATIVE_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
configure_file(cmake/tb58wk31.pc.in ${CMAKE_BINARY_DIR}/tb58wk31.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/tb58wk31.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)
