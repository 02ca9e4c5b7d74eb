# cmake -DPROGRAM=<program> -DEXPECTED=present|absent -P TestHooksCheck.cmake
#
# Fails unless the names of the plot's test messages (RUVO_PLOT_WHERE,
# RUVO_PLOT_PAINT_TIME) are in the program as EXPECTED says: present in the
# builds with the test hooks, absent from the release builds.
file(STRINGS "${PROGRAM}" found REGEX "RUVO_PLOT_(WHERE|PAINT_TIME)")
list(LENGTH found count)
if(EXPECTED STREQUAL "present" AND count EQUAL 0)
  message(FATAL_ERROR "${PROGRAM}: the test hooks' messages are missing")
elseif(EXPECTED STREQUAL "absent" AND NOT count EQUAL 0)
  message(FATAL_ERROR "${PROGRAM}: a release program holds the test hooks' messages: ${found}")
elseif(NOT EXPECTED MATCHES "^(present|absent)$")
  message(FATAL_ERROR "EXPECTED must be present or absent, not ${EXPECTED}")
endif()
message(STATUS "${PROGRAM}: the test hooks' messages are ${EXPECTED}")
