# The program's folders as libraries, each of which may use only the
# libraries it names, so that an include against the direction of the
# layers does not build.
#
#   ruvo_library(<name> <folder> [SUBFOLDERS <folder>...] [EXCLUDE <file>...]
#                [USES <library>...])
#
# makes a static library of the .cpp files of <folder> and its SUBFOLDERS
# (an INTERFACE library when there are none). Its users, and its own
# sources, include its headers as "<folder>/<header>.h", and they find them
# in a generated include root that holds links to its own headers alone:
# the source tree itself is on no include path. A library sees its own root
# and those of the libraries it USES (and of theirs, in turn), so an
# include of any other folder's header is a missing file. tools/
# include-graph.py reads the same calls to check the tree's includes.

set(RUVO_INCLUDE_ROOTS ${CMAKE_BINARY_DIR}/include-roots)

function(ruvo_library name folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "SUBFOLDERS;EXCLUDE;USES")
  set(root ${RUVO_INCLUDE_ROOTS}/${name})
  file(REMOVE_RECURSE ${root})
  set(sources)
  foreach(dir ${folder} ${arg_SUBFOLDERS})
    file(MAKE_DIRECTORY ${root}/${dir})
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.h)
    foreach(header ${headers})
      get_filename_component(file ${header} NAME)
      file(CREATE_LINK ${header} ${root}/${dir}/${file} SYMBOLIC)
    endforeach()
    file(GLOB dir_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${dir_sources})
  endforeach()
  foreach(excluded ${arg_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "/${excluded}$")
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${root})
    target_link_libraries(${name} PUBLIC ${arg_USES})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${root})
    target_link_libraries(${name} INTERFACE ${arg_USES})
  endif()
endfunction()

# ruvo_layering_probe(<library> <header> [ALLOWED]): a test that compiles a
# file of <library> that includes <header>. Without ALLOWED the test passes
# when the compiler does not find the header; with it, when the file builds.
# The probes are built by the tests only, one at a time.
function(ruvo_layering_probe library header)
  cmake_parse_arguments(PARSE_ARGV 2 arg "ALLOWED" "" "")
  string(MAKE_C_IDENTIFIER "${library}_${header}" probe)
  set(probe layering_${probe})
  set(source ${CMAKE_BINARY_DIR}/layering/${probe}.cpp)
  file(CONFIGURE OUTPUT ${source} CONTENT "// Does ${library} see ${header}?\n#include \"${header}\"\n")
  add_library(${probe} OBJECT EXCLUDE_FROM_ALL ${source})
  target_link_libraries(${probe} PRIVATE ${library})
  add_test(NAME ${probe} COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target ${probe})
  set_tests_properties(${probe} PROPERTIES RESOURCE_LOCK build_tree LABELS layering)
  if(NOT arg_ALLOWED)
    set_tests_properties(${probe} PROPERTIES PASS_REGULAR_EXPRESSION "${header}: No such file or directory")
  endif()
endfunction()
