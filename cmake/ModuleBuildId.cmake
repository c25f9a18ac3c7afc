# Runs after each link of a module: HEADER defines MACRO as MODULE's GNU build ID. Written only
# when the ID changed, so that a module linked again alike makes nothing compile again.
set(ENV{LC_ALL} C)
execute_process(COMMAND "${READELF}" -n "${MODULE}" OUTPUT_VARIABLE notes RESULT_VARIABLE failed)
if(failed OR NOT notes MATCHES "Build ID: ([0-9a-f]+)")
  message(FATAL_ERROR "Aucun identifiant de construction dans ${MODULE}")
endif()
set(content "#pragma once\n// Written by the build from the module's notes.\n#define ${MACRO} \"${CMAKE_MATCH_1}\"\n")
file(CONFIGURE OUTPUT "${HEADER}" CONTENT "${content}")
