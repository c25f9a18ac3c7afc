# `cmake --install <build> --prefix <prefix>` lays out OlvaneMac for the desktop: the programs and
# the modules they open in a folder of their own, <prefix>/lib/OlvaneMac (where they find each
# other), its desktop entry naming OlvaneMac there by absolute path, and the logo in the hicolor
# icon theme. Any build serves; nothing is built at install time. `--strip` installs the programs
# and modules without their debug information; the build tree keeps it.
set(installed_targets OlvaneMac OlvaneWatchdog olvanemac-host olvanemac-safari-extension
    olvane_gsettings olvane_network_favicons)
set(programs "")
foreach(target IN LISTS installed_targets)
  list(APPEND programs "$<TARGET_FILE:${target}>")
endforeach()
# Everything the install copies, and nothing else (scripts/install builds only this).
add_custom_target(olvane_installed)
add_dependencies(olvane_installed ${installed_targets} olvane_logo_icons)

get_target_property(icon_sizes olvane_logo_icons OLVANE_ICON_SIZES)
get_target_property(icon_folder olvane_logo_icons OLVANE_ICON_FOLDER)
install(CODE "
  set(OLVANE_PROGRAMS \"${programs}\")
  set(OLVANE_ICON_SIZES \"${icon_sizes}\")
  set(OLVANE_ICON_FOLDER \"${icon_folder}\")
  set(OLVANE_STRIP \"${CMAKE_STRIP}\")
  set(OLVANE_DESKTOP_ENTRY \"${PROJECT_SOURCE_DIR}/src/ui/shell/so.olvane.mac.desktop.in\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/InstallOlvaneMac.cmake\")
")
