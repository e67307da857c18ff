# Installs the headers, both libraries, a CMake package (find_package(Ostra1516e))
# and a pkg-config file (ostra1516e.pc).
include(CMakePackageConfigHelpers)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/RTI
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        FILES_MATCHING PATTERN "*.h")

install(TARGETS rti1516e64 fedtime1516e64
        EXPORT Ostra1516eTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

set(OSTRA_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Ostra1516e)
install(EXPORT Ostra1516eTargets NAMESPACE Ostra1516e:: DESTINATION ${OSTRA_CMAKE_DIR})

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/Ostra1516eConfig.cmake.in
  ${PROJECT_BINARY_DIR}/Ostra1516eConfig.cmake INSTALL_DESTINATION ${OSTRA_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/Ostra1516eConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/Ostra1516eConfig.cmake
              ${PROJECT_BINARY_DIR}/Ostra1516eConfigVersion.cmake
        DESTINATION ${OSTRA_CMAKE_DIR})

file(RELATIVE_PATH OSTRA_PC_TO_PREFIX
     /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)  # "../.." for lib, more for multiarch dirs
configure_file(${PROJECT_SOURCE_DIR}/cmake/ostra1516e.pc.in
               ${PROJECT_BINARY_DIR}/ostra1516e.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/ostra1516e.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
