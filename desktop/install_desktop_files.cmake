# Runs at install time, when the prefix is known (also one given to cmake --install):
# writes the launcher and the two desktop entries with the installed paths.
#
# Expects STATION_SOURCE (this folder), STATION_BUILD (a folder of the build),
# and the install folders relative to the prefix: STATION_BINDIR_REL, STATION_PKGLIBDIR_REL
# (the programs and the component), STATION_DATADIR_REL.

set(prefix "${CMAKE_INSTALL_PREFIX}")
# Installs may run side by side (the tests install into scratch prefixes): each writes
# its files in a folder of its own.
string(RANDOM LENGTH 12 run)
set(work "${STATION_BUILD}/install-${run}")
set(STATION_BINDIR "${prefix}/${STATION_BINDIR_REL}")
set(STATION_PROGRAMS "${prefix}/${STATION_PKGLIBDIR_REL}")
# The administrator's template folders, in the system configuration folder that
# belongs to the prefix: /etc for /usr, <prefix>/etc otherwise.
if(prefix STREQUAL "/usr")
  set(STATION_TEMPLATES "/etc/print-station")
else()
  set(STATION_TEMPLATES "${prefix}/etc/print-station")
endif()

set(launcher "${STATION_BINDIR}/print-station")

# The launcher holds the paths in single quotes.
function(shell_quoted out text)
  string(REPLACE "'" "'\\''" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
set(STATION_BINDIR_PATH "${STATION_BINDIR}")
shell_quoted(STATION_BINDIR "${STATION_BINDIR}")
shell_quoted(STATION_PROGRAMS "${STATION_PROGRAMS}")
shell_quoted(STATION_TEMPLATES "${STATION_TEMPLATES}")
configure_file("${STATION_SOURCE}/print-station.in" "${work}/print-station" @ONLY)
file(INSTALL "${work}/print-station" DESTINATION "${STATION_BINDIR_PATH}"
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                      WORLD_READ WORLD_EXECUTE)

# Exec names the launcher by its full path in double quotes. Inside them a backslash,
# a double quote, "`" and "$" take a backslash, which the file itself writes twice.
string(REPLACE "\\" "\\\\\\\\" STATION_EXEC "${launcher}")
foreach(special "\"" "`" "$")
  string(REPLACE "${special}" "\\\\${special}" STATION_EXEC "${STATION_EXEC}")
endforeach()
set(STATION_EXEC "\"${STATION_EXEC}\"")
foreach(STATION_MODE kv_print ts_print)
  if(STATION_MODE STREQUAL "kv_print")
    set(STATION_NAME "KORVID-PDF-Ausgabe")
    set(STATION_COMMENT "Druckt die PDF-Dokumente des Lieferdienstes auf den Druckern der Institution")
  else()
    set(STATION_NAME "Tessaline-PDF-Ausgabe")
    set(STATION_COMMENT "Druckt die PDF-Dokumente der Spool-Verzeichnisse auf ihren Druckern")
  endif()
  configure_file("${STATION_SOURCE}/station.desktop.in" "${work}/${STATION_MODE}.desktop" @ONLY)
  file(INSTALL "${work}/${STATION_MODE}.desktop"
       DESTINATION "${prefix}/${STATION_DATADIR_REL}/applications")
endforeach()
file(REMOVE_RECURSE "${work}")
