# Install-time helpers: each file is written beside its place and renamed over it, so that a
# running program keeps the file it started from. CMAKE_INSTALL_DO_STRIP (`cmake --install
# --strip`) strips the programs and modules first; DESTDIR is an optional staging root.
# `prefix` is the prefix installed to, normalised.
if(NOT IS_ABSOLUTE "${CMAKE_INSTALL_PREFIX}")
  message(FATAL_ERROR "Préfixe d’installation relatif : ${CMAKE_INSTALL_PREFIX} (un chemin absolu est attendu)")
endif()
cmake_path(SET prefix NORMALIZE "${CMAKE_INSTALL_PREFIX}/")
string(REGEX REPLACE "/$" "" prefix "${prefix}")
set(executable_permissions OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
set(file_permissions OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# A plain strip: the symbol table and debug information go; the dynamic symbols a module is
# opened by stay.
function(olvane_strip file)
  if(NOT CMAKE_INSTALL_DO_STRIP)
    return()
  endif()
  if(NOT OLVANE_STRIP)
    message(FATAL_ERROR "Aucun programme strip connu de cette compilation : ${file} resterait tel quel")
  endif()
  execute_process(COMMAND "${OLVANE_STRIP}" "${file}" RESULT_VARIABLE result ERROR_VARIABLE error)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "Échec de strip sur ${file} : ${error}")
  endif()
endfunction()

# `partial` (a file beside `target`, already written) takes the place of `target`.
function(olvane_put_in_place partial target)
  file(RENAME "${partial}" "${target}")
  message(STATUS "Installé : ${target}")
  set(CMAKE_INSTALL_MANIFEST_FILES ${CMAKE_INSTALL_MANIFEST_FILES} "${target}" PARENT_SCOPE)
endfunction()

# `source` copied beside `destination`, then renamed over it. A program or module (`kind` PROGRAM)
# keeps no search path into the build tree, and no debug information when stripping.
function(olvane_install_file source destination kind)
  set(target "$ENV{DESTDIR}${destination}")
  cmake_path(GET target PARENT_PATH parent)
  file(MAKE_DIRECTORY "${parent}")
  set(partial "${target}.installation")
  # What an install cut short left there goes first, whatever it is.
  file(REMOVE "${partial}")
  file(COPY_FILE "${source}" "${partial}")
  if(kind STREQUAL "PROGRAM")
    file(RPATH_REMOVE FILE "${partial}")
    olvane_strip("${partial}")
    file(CHMOD "${partial}" PERMISSIONS ${executable_permissions})
  else()
    file(CHMOD "${partial}" PERMISSIONS ${file_permissions})
  endif()
  olvane_put_in_place("${partial}" "${target}")
  set(CMAKE_INSTALL_MANIFEST_FILES ${CMAKE_INSTALL_MANIFEST_FILES} PARENT_SCOPE)
endfunction()
