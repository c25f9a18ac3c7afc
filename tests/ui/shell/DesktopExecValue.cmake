# `cmake -DPROGRAM=<path> -P DesktopExecValue.cmake`: the Exec value the install writes for <path>,
# on standard error.
include("${CMAKE_CURRENT_LIST_DIR}/../../../cmake/DesktopExec.cmake")
olvane_desktop_exec("${PROGRAM}" value)
message(NOTICE "${value}")
