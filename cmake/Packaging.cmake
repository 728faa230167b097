# Debian packages from this build: 'make package' (cmake --build BUILD
# --target package) runs CPack's DEB generator over three components.
#
#   library      libtb58wk31-1    libTb58Wk31.so.1 (SONAME), an ldconfig trigger
#   development  libtb58wk31-dev  headers with the caller kit, the CMake package
#                                 config, tb58wk31.pc, the unversioned link
#   monitor      tb58mon          the program, the systemd unit, the example
#                                 fleet file and /etc/default/tb58mon
#                                 (conffiles), the man page, README
#
# The version is the project's; the dependencies on other packages come from
# dpkg-shlibdeps, the ones between these packages are exact versions.
# Configure with -DCMAKE_INSTALL_PREFIX=/usr (the Makefile's package target
# does, with Debian's hardening flags); tools/check_packages.sh tests them.
if(WIN32 OR CMAKE_CROSSCOMPILING)
    return()
endif()

set(TB58_DEB_LIBRARY libtb58wk31-${PROJECT_VERSION_MAJOR})
set(TB58_DEB_DEV libtb58wk31-dev)
set(TB58_DEB_MONITOR tb58mon)
set(TB58_DEB_DIR ${PROJECT_SOURCE_DIR}/deploy/debian)
set(TB58_DEB_STAGE ${CMAKE_BINARY_DIR}/debian)
find_program(TB58_GZIP gzip REQUIRED)

# Each package's /usr/share/doc/PACKAGE: the copyright file and the
# changelog, compressed the reproducible way Debian wants (gzip -9n).
function(tb58_package_docs component package)
    set(TB58_DEB_SOURCE ${package})
    configure_file(${TB58_DEB_DIR}/changelog.in ${TB58_DEB_STAGE}/${package}/changelog @ONLY)
    set(gz ${TB58_DEB_STAGE}/${package}/changelog.gz)
    add_custom_command(OUTPUT ${gz}
        COMMAND ${TB58_GZIP} -9nc ${TB58_DEB_STAGE}/${package}/changelog > ${gz}
        DEPENDS ${TB58_DEB_STAGE}/${package}/changelog VERBATIM)
    add_custom_target(tb58_doc_${component} ALL DEPENDS ${gz})
    install(FILES ${TB58_DEB_DIR}/copyright ${gz}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endfunction()

tb58_package_docs(library ${TB58_DEB_LIBRARY})
tb58_package_docs(development ${TB58_DEB_DEV})

set(TB58_COMPONENTS library development)
if(TARGET tb58mon AND TB58MON_NETWORK)
    list(APPEND TB58_COMPONENTS monitor)
    tb58_package_docs(monitor ${TB58_DEB_MONITOR})
    install(TARGETS tb58mon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT monitor)
    # A package (prefix /usr) puts the service's files where Debian has them:
    # /etc, and /lib for units (Debian's /usr merge is not complete).  Any
    # other prefix keeps them under itself, so that 'cmake --install' into a
    # folder writes nothing outside it.
    if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
        set(TB58_UNIT_DIR /lib/systemd/system)
        set(TB58_ETC_DIR /etc)
    else()
        set(TB58_UNIT_DIR lib/systemd/system)
        set(TB58_ETC_DIR ${CMAKE_INSTALL_SYSCONFDIR})
    endif()
    install(FILES ${PROJECT_SOURCE_DIR}/deploy/systemd/tb58mon.service
        DESTINATION ${TB58_UNIT_DIR} COMPONENT monitor)
    install(FILES ${TB58_DEB_DIR}/fleet.toml DESTINATION ${TB58_ETC_DIR}/tb58mon COMPONENT monitor)
    install(FILES ${TB58_DEB_DIR}/tb58mon.default DESTINATION ${TB58_ETC_DIR}/default RENAME tb58mon
        COMPONENT monitor)
    install(FILES ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${TB58_DEB_MONITOR} COMPONENT monitor)
    set(man ${TB58_DEB_STAGE}/tb58mon.1.gz)
    add_custom_command(OUTPUT ${man}
        COMMAND ${TB58_GZIP} -9nc ${PROJECT_SOURCE_DIR}/docs/tb58mon.1 > ${man}
        DEPENDS ${PROJECT_SOURCE_DIR}/docs/tb58mon.1 VERBATIM)
    add_custom_target(tb58_man_page ALL DEPENDS ${man})
    install(FILES ${man} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT monitor)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tb58wk31)
set(CPACK_PACKAGE_VENDOR "Tb58Wk31 maintainers")
set(CPACK_PACKAGE_CONTACT "Tb58Wk31 maintainers <maintainers@users.noreply.c-seed-d81aadfc.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL ${TB58_COMPONENTS})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# tb58mon needs the library of this build; the dependency on its package is
# the exact one below.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# A shlibs file for the package that has the shared library (libtb58wk31-1).
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# Each package's description has its own first line.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(TB58_DEB_EXACT "(= ${PROJECT_VERSION})")

set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME ${TB58_DEB_LIBRARY})
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
# The ldconfig trigger.  CPack adds scripts that call ldconfig as well
# (lintian: maintscript-calls-ldconfig, a warning); scripts of our own that
# do nothing would only trade it for another warning.
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA ${TB58_DEB_DIR}/${TB58_DEB_LIBRARY}/triggers)
set(CPACK_COMPONENT_LIBRARY_DESCRIPTION "printer data library for one family of multifunction printers
Tb58Wk31 builds the query packets of one printer family's status monitor
protocol, reads the printers' replies into records and turns status codes
into texts and status pictures in 13 languages.

This package holds the shared library.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME ${TB58_DEB_DEV})
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "${TB58_DEB_LIBRARY} ${TB58_DEB_EXACT}")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "printer data library for one family of printers - development files
Tb58Wk31 builds the query packets of one printer family's status monitor
protocol, reads the printers' replies into records and turns status codes
into texts and status pictures in 13 languages.

This package holds the headers (with the C++ caller kit Tb58Wk31Kit.hpp),
the CMake package configuration (find_package(Tb58Wk31)) and the
pkg-config file (tb58wk31).")

set(CPACK_DEBIAN_MONITOR_PACKAGE_NAME ${TB58_DEB_MONITOR})
set(CPACK_DEBIAN_MONITOR_PACKAGE_SECTION net)
set(CPACK_DEBIAN_MONITOR_PACKAGE_DEPENDS "${TB58_DEB_LIBRARY} ${TB58_DEB_EXACT}")
set(CPACK_DEBIAN_MONITOR_PACKAGE_CONTROL_EXTRA
    ${TB58_DEB_DIR}/tb58mon/conffiles ${TB58_DEB_DIR}/tb58mon/postinst
    ${TB58_DEB_DIR}/tb58mon/prerm ${TB58_DEB_DIR}/tb58mon/postrm)
set(CPACK_COMPONENT_MONITOR_DESCRIPTION "status monitor and fleet service for one family of printers
tb58mon polls printers over the network (PJL on TCP, the device ID over
SNMP) or USB with the Tb58Wk31 library. 'tb58mon serve' watches a fleet,
serves a status page, JSON and Prometheus metrics, keeps the printers'
events and sends notices; it runs as a hardened systemd service
(tb58mon.service, configured in /etc/tb58mon/fleet.toml).")

include(CPack)
