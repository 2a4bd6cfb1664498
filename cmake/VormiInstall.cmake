# The install: the program and its man page, vormi-sweep and its page (when
# the tools are built), the libraries with their public headers, a CMake
# package (find_package(vormi)), a pkg-config file, the README and the
# licence; and CPack's Debian package of all of it.
include(CMakePackageConfigHelpers)

install(TARGETS vormi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS vormi_codec vormi_platform vormi_zkfile
  EXPORT vormiTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  FILE_SET version DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

set(VORMI_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/vormi)
install(EXPORT vormiTargets NAMESPACE vormi:: DESTINATION ${VORMI_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/vormiConfig.cmake.in
  ${PROJECT_BINARY_DIR}/vormiConfig.cmake INSTALL_DESTINATION ${VORMI_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/vormiConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/vormiConfig.cmake ${PROJECT_BINARY_DIR}/vormiConfigVersion.cmake
  DESTINATION ${VORMI_CMAKE_DIR})

# pkg-config: paths relative to the .pc file, so that an install moved
# elsewhere (or made with cmake --install --prefix) still finds itself; the
# file layer first, the layers it uses after it, as a static link needs them.
file(RELATIVE_PATH VORMI_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" VORMI_PC_TO_PREFIX "${VORMI_PC_TO_PREFIX}")
file(RELATIVE_PATH VORMI_PC_LIBDIR ${CMAKE_INSTALL_PREFIX} ${CMAKE_INSTALL_FULL_LIBDIR})
file(RELATIVE_PATH VORMI_PC_INCLUDEDIR ${CMAKE_INSTALL_PREFIX} ${CMAKE_INSTALL_FULL_INCLUDEDIR})
set(VORMI_PC_LIBS "-lvormi_zkfile -lvormi_platform -lvormi_codec")
if(WIN32)
  string(APPEND VORMI_PC_LIBS " -lwinmm -lmpr")
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/vormi.pc.in ${PROJECT_BINARY_DIR}/vormi.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/vormi.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

set(VORMI_MAN_DATE 2026-12-08)  # the date of the page's last change
configure_file(${PROJECT_SOURCE_DIR}/docs/vormi.1.in ${PROJECT_BINARY_DIR}/vormi.1 @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/vormi.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(TARGET vormi-sweep)
  install(TARGETS vormi-sweep RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  set(VORMI_SWEEP_MAN_DATE 2026-12-09)  # the date of the page's last change
  configure_file(${PROJECT_SOURCE_DIR}/docs/vormi-sweep.1.in ${PROJECT_BINARY_DIR}/vormi-sweep.1 @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/vormi-sweep.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})

# cpack -G DEB in the build folder: everything above under /usr.
set(CPACK_PACKAGE_NAME vormi)
set(CPACK_PACKAGE_VENDOR "The vormi developers")
set(CPACK_PACKAGE_CONTACT "The vormi developers <vormi@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_GENERATOR DEB)
include(CPack)
