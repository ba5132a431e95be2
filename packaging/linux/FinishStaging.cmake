# Run by CPack after the files are staged and before the .deb is made.
if(NOT CPACK_HALYARD_CHANGELOG_VERSION STREQUAL CPACK_PACKAGE_VERSION)
  message(FATAL_ERROR "packaging/linux/changelog: the latest entry is for "
    "${CPACK_HALYARD_CHANGELOG_VERSION}, the package is ${CPACK_PACKAGE_VERSION}: add an entry")
endif()

# strip keeps the compilers' version notes in .comment; the package needs none.
set(staged ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
file(GLOB programs ${staged}/bin/* ${staged}/lib/*/halyard/*.so ${staged}/lib/halyard/*.so)
foreach(program ${programs})
  execute_process(COMMAND ${CPACK_HALYARD_OBJCOPY} --remove-section=.comment ${program}
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot remove .comment from ${program}")
  endif()
endforeach()
