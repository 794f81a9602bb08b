# Installs the build into a fresh prefix, checks that every file of the install is there, and
# runs the validators of the desktop entry, the AppStream metadata and the manual page, each of
# which must print nothing but its success line. Prints "SKIP: ..." (the test's skip pattern)
# when a validator is not installed. Run by CTest with -DBUILD_DIR, -DPREFIX, -DMAN_PAGE,
# -DAPP_ID and the GNU install directories.
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
find_program(GROFF groff)
find_program(SYSTEMD_ANALYZE systemd-analyze)
foreach(tool DESKTOP_FILE_VALIDATE APPSTREAMCLI GROFF SYSTEMD_ANALYZE)
  if(NOT ${tool})
    message("SKIP: ${tool} is not installed (scripts/install-deps.sh installs it)")
    return()
  endif()
endforeach()

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

set(expected
  ${BINDIR}/showcase
  ${BINDIR}/showcase-record
  ${MANDIR}/man1/showcase-record.1.gz
  ${DATADIR}/applications/${APP_ID}.desktop
  ${DATADIR}/metainfo/${APP_ID}.metainfo.xml
  ${DATADIR}/icons/hicolor/48x48/apps/${APP_ID}.png
  ${DATADIR}/icons/hicolor/128x128/apps/${APP_ID}.png
  ${DATADIR}/icons/hicolor/256x256/apps/${APP_ID}.png
  ${MANDIR}/man6/showcase.6.gz
  ${DOCDIR}/copyright
  ${DOCDIR}/changelog.gz
  lib/systemd/user/showcase-kiosk.service)
foreach(name 1 1a 2 3 4 4a 5 6 8 10 11 11a 12 13 14 15 16 17 18)
  list(APPEND expected ${DATADIR}/showcase/picture/${name}.bmp)
endforeach()
file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT expected)
list(SORT installed)
if(NOT installed STREQUAL expected)
  set(missing ${expected})
  list(REMOVE_ITEM missing ${installed})
  set(extra ${installed})
  list(REMOVE_ITEM extra ${expected})
  message(FATAL_ERROR "install tree differs: missing [${missing}], unexpected [${extra}]")
endif()

# Runs a validator; any line of output but the success line fails the check.
function(validate)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  string(REGEX REPLACE "[^\n]*Validation was successful\\.[^\n]*\n?" "" said "${out}${err}")
  if(NOT status EQUAL 0 OR NOT said STREQUAL "")
    message(FATAL_ERROR "${ARGN}\nexit status ${status}:\n${out}${err}")
  endif()
endfunction()
validate(${DESKTOP_FILE_VALIDATE} ${PREFIX}/${DATADIR}/applications/${APP_ID}.desktop)
validate(${APPSTREAMCLI} validate --no-net ${PREFIX}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml)
validate(${GROFF} -k -man -Tutf8 -ww -z ${MAN_PAGE})
validate(${GROFF} -k -man -Tutf8 -ww -z ${RECORD_MAN_PAGE})
# The unit's program is this tree's, and its Documentation= page is looked up with man.
set(unit ${PREFIX}/lib/systemd/user/showcase-kiosk.service)
file(STRINGS ${unit} exec REGEX "^ExecStart=")
if(NOT exec STREQUAL "ExecStart=${PREFIX}/${BINDIR}/showcase --kiosk")
  message(FATAL_ERROR "${unit}: ${exec}")
endif()
validate(${CMAKE_COMMAND} -E env MANPATH=${PREFIX}/${MANDIR} ${SYSTEMD_ANALYZE} verify ${unit})
message("install tree complete and valid: ${PREFIX}")
