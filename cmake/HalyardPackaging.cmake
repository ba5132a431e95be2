# Release packages through CPack: a .deb on Linux, a .zip on Windows.
#   cmake --build <dir> && cpack --config <dir>/CPackConfig.cmake
# scripts/package.sh does both into out/packages/.

set(CPACK_PACKAGE_NAME halyard)
set(CPACK_PACKAGE_VENDOR "HALYARD developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "UTC clock that marks the maritime silent periods")
# Wrapped by hand: the .deb control file shows these lines as they are.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "HALYARD is a station clock for radio operators. It shows Coordinated\n"
  "Universal Time on an analogue face, with the time as text above the dial,\n"
  "and marks the silent periods of every hour: 500 kHz (minutes 15-18 and\n"
  "45-48) in red, and 2182 kHz (minutes 00-03 and 30-33) in a colour of the\n"
  "operator's choice. Nine lines in an options file set its colours and\n"
  "texts: copy /usr/share/doc/halyard/examples/OPTION.DTA to\n"
  "~/.config/halyard/ and edit it.\n"
  "halyard-options checks an options file; halyard-render draws the face\n"
  "into a PNG without a display.")
# Release builds carry debug information; the packages do not.
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/" "/out/")

if(WIN32)
  # One folder to unzip anywhere: both programs, the options example and a README,
  # side by side, because the clock reads OPTION.DTA from its own folder. The
  # Windows operator's world is CR LF, so the text files are written that way.
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "halyard-${PROJECT_VERSION}-win64")
  set(HALYARD_ZIP_DIR ${CMAKE_CURRENT_BINARY_DIR}/packaging/windows)
  configure_file(${CMAKE_CURRENT_SOURCE_DIR}/packaging/OPTION.DTA.example
    ${HALYARD_ZIP_DIR}/OPTION.DTA.example @ONLY NEWLINE_STYLE CRLF)
  # README.txt ends with the licence, as LICENSE words it.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
  file(READ ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE HALYARD_LICENCE_TEXT)
  string(STRIP "${HALYARD_LICENCE_TEXT}" HALYARD_LICENCE_TEXT)
  # configure_file sets the template's line ends, not those inside a value.
  string(REPLACE "\n" "\r\n" HALYARD_LICENCE_TEXT "${HALYARD_LICENCE_TEXT}")
  configure_file(${CMAKE_CURRENT_SOURCE_DIR}/packaging/windows/README.txt.in
    ${HALYARD_ZIP_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
  install(TARGETS halyard halyard-options RUNTIME DESTINATION . COMPONENT windows-zip)
  install(FILES ${HALYARD_ZIP_DIR}/OPTION.DTA.example ${HALYARD_ZIP_DIR}/README.txt
    DESTINATION . COMPONENT windows-zip)
  # Only that component: the plain install rules put the programs under bin/.
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_CURRENT_BINARY_DIR};${PROJECT_NAME};windows-zip;/")
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_PACKAGE_NAME halyard)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  # Version revision and maintainer come from packaging/linux/changelog.
  set(CPACK_DEBIAN_PACKAGE_RELEASE ${HALYARD_DEBIAN_REVISION})
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${HALYARD_MAINTAINER}")
  set(CPACK_PACKAGE_CONTACT "${HALYARD_MAINTAINER}")
  set(CPACK_HALYARD_CHANGELOG_VERSION ${HALYARD_CHANGELOG_VERSION})
  # Checks the changelog has an entry for this version, and takes the compiler
  # notes (.comment) out of the staged programs: strip keeps them.
  set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/packaging/linux/FinishStaging.cmake)
  set(CPACK_HALYARD_OBJCOPY ${CMAKE_OBJCOPY})
  # A cross build is packaged for the machine it was built for, by Debian's
  # name for it (arm64, armhf), which the compiler's multiarch triplet gives.
  if(CMAKE_CROSSCOMPILING)
    execute_process(COMMAND dpkg-architecture -qDEB_HOST_ARCH -t ${CMAKE_LIBRARY_ARCHITECTURE}
      OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The faces are drawn in Liberation Sans, found through fontconfig at run time,
  # which no library link reveals.
  set(HALYARD_RUNTIME_FONTS fonts-liberation)
  find_program(HALYARD_DPKG_SHLIBDEPS dpkg-shlibdeps)
  find_program(HALYARD_FILE_TOOL file)
  if(HALYARD_DPKG_SHLIBDEPS AND HALYARD_FILE_TOOL)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS ${HALYARD_RUNTIME_FONTS})
  else()
    # Without dpkg-shlibdeps, the libraries the programs link, by their bookworm names.
    string(JOIN ", " CPACK_DEBIAN_PACKAGE_DEPENDS
      libc6 libstdc++6 libgcc-s1 libx11-6 libxext6 libxrandr2 libfreetype6 libfontconfig1 libpng16-16 libdate-tz3
      ${HALYARD_RUNTIME_FONTS})
  endif()
endif()

include(CPack)
