# Runs at install time: CMAKE_INSTALL_PREFIX is the prefix installed to (what the desktop entry
# names), DESTDIR an optional staging root in front of it. Each file is written beside its place
# and renamed over it: a running OlvaneMac or OlvaneWatchdog keeps the file it started from.
# CMAKE_INSTALL_DO_STRIP (`cmake --install --strip`) strips the programs and modules there first.
include("${CMAKE_CURRENT_LIST_DIR}/InstallFiles.cmake")
set(folder "${prefix}/lib/OlvaneMac")
set(share "${prefix}/share")

include("${CMAKE_CURRENT_LIST_DIR}/DesktopExec.cmake")

foreach(program IN LISTS OLVANE_PROGRAMS)
  cmake_path(GET program FILENAME name)
  olvane_install_file("${program}" "${folder}/${name}" PROGRAM)
endforeach()

foreach(size IN LISTS OLVANE_ICON_SIZES)
  olvane_install_file("${OLVANE_ICON_FOLDER}/${size}.png"
                      "${share}/icons/hicolor/${size}x${size}/apps/so.olvane.mac.png" FILE)
endforeach()

olvane_desktop_exec("${folder}/OlvaneMac" OLVANE_EXEC)
set(entry "$ENV{DESTDIR}${share}/applications/so.olvane.mac.desktop")
cmake_path(GET entry PARENT_PATH entry_folder)
file(MAKE_DIRECTORY "${entry_folder}")
file(REMOVE "${entry}.installation")
configure_file("${OLVANE_DESKTOP_ENTRY}" "${entry}.installation" @ONLY)
file(CHMOD "${entry}.installation" PERMISSIONS ${file_permissions})
olvane_put_in_place("${entry}.installation" "${entry}")
