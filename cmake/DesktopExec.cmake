# The Exec value that starts `program` with no argument: quoted when it holds a character the
# desktop entry reserves, with `"`, `` ` ``, `$` and `\` escaped inside the quotes, then every
# backslash doubled as in any string value of the file; a percent sign is doubled.
function(olvane_desktop_exec program out)
  if("${program}" MATCHES "[\r\n]")
    message(FATAL_ERROR "Chemin inutilisable dans une entrée de bureau : ${program}")
  endif()
  set(value "${program}")
  if("${value}" MATCHES "[ \t\"'\\\\><~|&;$*?#()`]")
    string(REPLACE "\\" "\\\\" value "${value}")
    string(REPLACE "\"" "\\\"" value "${value}")
    string(REPLACE "`" "\\`" value "${value}")
    string(REPLACE "$" "\\$" value "${value}")
    string(REPLACE "\\" "\\\\" value "\"${value}\"")
  endif()
  string(REPLACE "%" "%%" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()
