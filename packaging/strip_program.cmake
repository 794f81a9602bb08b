# Run by CPack on the staged tree before it packs it: strips the program as Debian's dh_strip
# does, dropping the symbols and also the compiler's .comment and .note sections.
file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/${CPACK_SHOWCASE_BINDIR}/*")
if(NOT programs)
  message(FATAL_ERROR "no program to strip under ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()
foreach(program ${programs})
  execute_process(COMMAND ${CPACK_SHOWCASE_STRIP} --remove-section=.comment --remove-section=.note
                          --strip-unneeded ${program}
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
