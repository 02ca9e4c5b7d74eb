# pointlink for Linux as it ships (included by the top CMakeLists.txt in a
# native build with RUVO_PACKAGE=ON, which leaves the sanitizers out and
# builds nothing but the program): its manual page, its install rules
#   bin/pointlink, share/man/man1/pointlink.1.gz
# for `cmake --install`, and its Debian package, pointlink_<version>-1_<arch>.deb
# in <build dir>/dist, made by the target `package` (tools/package.sh).

if(NOT CMAKE_BUILD_TYPE MATCHES "^(Release|MinSizeRel)$")
  message(WARNING "pointlink ships optimised and stripped: configure with -DCMAKE_BUILD_TYPE=Release")
endif()
include(GNUInstallDirs)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

# The manual page, made from the program's own help.
set(RUVO_POINTLINK_MAN ${CMAKE_BINARY_DIR}/man/pointlink.1.gz)
add_custom_command(OUTPUT ${RUVO_POINTLINK_MAN}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
  COMMAND ${Python3_EXECUTABLE} -B ${CMAKE_SOURCE_DIR}/tools/pointlink-man.py $<TARGET_FILE:pointlink>
    ${RUVO_POINTLINK_MAN}
  DEPENDS pointlink ${CMAKE_SOURCE_DIR}/tools/pointlink-man.py
  COMMENT "Writing pointlink(1) from the program's help"
  VERBATIM)
add_custom_target(pointlink_man ALL DEPENDS ${RUVO_POINTLINK_MAN})

install(TARGETS pointlink RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${RUVO_POINTLINK_MAN} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package: what dpkg-shlibdeps finds the program needs (the C and
# C++ libraries) is its Depends.
set(RUVO_DEB_MAINTAINER "Ruvoworks Geodesy Lab" CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pointlink)
set(CPACK_PACKAGE_VENDOR "Ruvoworks, Geodesy Lab")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/dist)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${RUVO_DEB_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "convert point files and exchange points with a total station
pointlink converts survey point files between five formats (Ruvo, TopCom,
SV300, GuangZhou Kass, South Kass) and writes CSV, GeoJSON, DXF, LandXML
and KML, GeoJSON and KML in WGS 84 longitude and latitude through PROJ. It
receives points from Korvel and Tassin total stations on a serial port and
sends points to them, with the same bytes as the korvellink and tassinlink
desktop programs. A converted file replaces its target only when complete.")
include(CPack)
