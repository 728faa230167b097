# Install rules: the library, its public headers, a CMake package config
# (find_package(Tb58Wk31) gives the target Tb58Wk31::Tb58Wk31) and a
# pkg-config file (tb58wk31.pc).
include(CMakePackageConfigHelpers)

install(TARGETS Tb58Wk31 EXPORT Tb58Wk31Targets
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
file(GLOB TB58_PUBLIC_HEADERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/include/*.h ${PROJECT_SOURCE_DIR}/include/*.hpp)
install(FILES ${TB58_PUBLIC_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT Tb58Wk31Targets
    NAMESPACE Tb58Wk31::
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Tb58Wk31)

configure_package_config_file(cmake/Tb58Wk31Config.cmake.in
    ${CMAKE_BINARY_DIR}/Tb58Wk31Config.cmake
    INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Tb58Wk31)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/Tb58Wk31ConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/Tb58Wk31Config.cmake ${CMAKE_BINARY_DIR}/Tb58Wk31ConfigVersion.cmake
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Tb58Wk31)

file(RELATIVE_PATH TB58_PC_RELATIVE_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
configure_file(cmake/tb58wk31.pc.in ${CMAKE_BINARY_DIR}/tb58wk31.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/tb58wk31.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
