# PROJ, the library of coordinate systems, for files/proj: the imported
# target ruvo_proj, and RUVO_PROJ_DB, the database that ships with the
# Windows programs.
#
# Natively it is Debian's libproj-dev. For Windows it is PROJ built with
# the project's cross compiler from Debian's source packages of the same
# version, as a static library over a static SQLite
# (tools/proj-mingw.sh, which builds it once and keeps it outside the build
# tree), linked into pointlink.exe. Its database is Debian's proj.db of
# that version (proj-data), which the zip and the installer put beside the
# programs.

if(WIN32)
  execute_process(COMMAND bash ${CMAKE_SOURCE_DIR}/tools/proj-mingw.sh
    OUTPUT_VARIABLE RUVO_PROJ_PREFIX RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(failed)
    message(FATAL_ERROR "PROJ for Windows could not be built (tools/proj-mingw.sh above); "
      "run tools/install-deps.sh as root first")
  endif()
  message(STATUS "PROJ for Windows: ${RUVO_PROJ_PREFIX}")
  add_library(ruvo_proj INTERFACE)
  target_include_directories(ruvo_proj SYSTEM INTERFACE ${RUVO_PROJ_PREFIX}/include)
  target_compile_definitions(ruvo_proj INTERFACE PROJ_DLL=)
  # PROJ's C++ part uses the shell's folder functions for its user folder.
  target_link_libraries(ruvo_proj INTERFACE ${RUVO_PROJ_PREFIX}/lib/libproj.a ${RUVO_PROJ_PREFIX}/lib/libsqlite3.a
    shell32 ole32)
  find_file(RUVO_PROJ_DB proj.db PATHS /usr/share/proj NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
else()
  find_path(RUVO_PROJ_INCLUDE proj.h REQUIRED)
  find_library(RUVO_PROJ_LIBRARY proj REQUIRED)
  add_library(ruvo_proj INTERFACE)
  target_include_directories(ruvo_proj SYSTEM INTERFACE ${RUVO_PROJ_INCLUDE})
  target_link_libraries(ruvo_proj INTERFACE ${RUVO_PROJ_LIBRARY})
endif()
