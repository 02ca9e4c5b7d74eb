# The release packages of both programs and of pointlink.exe, their console
# companion, in <build dir>/dist (included by the top CMakeLists.txt in a
# Windows build with RUVO_PACKAGE=ON):
#   ruvolink-<version>-win32.zip   the programs, PROJ's database proj.db (which
#                                  pointlink.exe finds beside itself) and the
#                                  read-me, to unpack and run
#   ruvolink-<version>-setup.exe   the per-user installer (tools/installer/ruvolink.nsi)
# <version> is the project's. Made by the target package_files, part of the
# default build of such a tree (tools/package.sh).

find_program(RUVO_MAKENSIS makensis)
if(NOT RUVO_MAKENSIS)
  message(FATAL_ERROR "makensis is missing (Debian package nsis): run tools/install-deps.sh")
endif()

set(installer_dir ${CMAKE_SOURCE_DIR}/tools/installer)
set(files_dir ${CMAKE_BINARY_DIR}/package-files)
set(dist_dir ${CMAKE_BINARY_DIR}/dist)
# Also read by the tests of the packages (tests/package).
set(RUVO_PACKAGE_ZIP ${dist_dir}/ruvolink-${PROJECT_VERSION}-win32.zip)
set(RUVO_PACKAGE_SETUP ${dist_dir}/ruvolink-${PROJECT_VERSION}-setup.exe)
set(zip ${RUVO_PACKAGE_ZIP})
set(setup ${RUVO_PACKAGE_SETUP})

# The read-me for Windows users: UTF-8 with a byte-order mark, so that
# Notepad shows the Chinese half, and CR LF line ends.
configure_file(${installer_dir}/README.txt.in ${files_dir}/README.txt @ONLY NEWLINE_STYLE CRLF)

add_custom_command(OUTPUT ${zip} ${setup}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${dist_dir}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:korvellink> $<TARGET_FILE:tassinlink> $<TARGET_FILE:pointlink>
    ${RUVO_PROJ_DB} ${files_dir}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${zip} ${setup}
  COMMAND ${CMAKE_COMMAND} -E chdir ${files_dir}
    ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip korvellink.exe tassinlink.exe pointlink.exe proj.db README.txt
  COMMAND ${RUVO_MAKENSIS} -V2 -WX -DVERSION=${PROJECT_VERSION} -DFILES=${files_dir}
    -DICON=${CMAKE_SOURCE_DIR}/resources/program.ico -DOUTFILE=${setup}
    ${installer_dir}/ruvolink.nsi
  DEPENDS korvellink tassinlink pointlink ${RUVO_PROJ_DB} ${files_dir}/README.txt ${installer_dir}/ruvolink.nsi
    ${CMAKE_SOURCE_DIR}/resources/program.ico
  COMMENT "Packing ruvolink-${PROJECT_VERSION}: the zip and the installer"
  VERBATIM)
add_custom_target(package_files ALL DEPENDS ${zip} ${setup})
