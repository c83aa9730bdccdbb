# What a user installs: the program, its manual page and its documents, laid
# out for a Debian package on Linux and for a zip on Windows. Every version
# shown comes from the project's version.

# The changelog records each version; its latest entry must be this one.
file(STRINGS doc/changelog latest LIMIT_COUNT 1)
if(NOT latest MATCHES "^symtext \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "doc/changelog must open with an entry for version ${PROJECT_VERSION}")
endif()

# The release's date is that of this entry, which its last line ends with
# (" -- name <address>  Tue, 08 Dec 2026 12:00:00 +0000"): the packages' files
# carry it as their time, and the manual page shows it.
file(STRINGS doc/changelog signature REGEX "^ -- " LIMIT_COUNT 1)
if(NOT signature MATCHES ">  ([^<>]+)$")
  message(FATAL_ERROR "doc/changelog: the newest entry must end with its date")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C date -u -d "${CMAKE_MATCH_1}" "+%s;%Y-%m-%d"
  OUTPUT_VARIABLE release OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
list(GET release 0 CPACK_SYMTEXT_RELEASE_EPOCH) # read by cmake/cpack-options.cmake
list(GET release 1 SYMTEXT_RELEASE_DATE)

# The copyright notice, years and holders, is written once, in LICENSE; the
# manual page and Debian's copyright file show it too.
file(STRINGS LICENSE notice REGEX "^Copyright \\(c\\) " LIMIT_COUNT 1)
string(REPLACE "Copyright (c) " "" SYMTEXT_COPYRIGHT "${notice}")
# A change to either file configures the build again.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS doc/changelog LICENSE)

# The manual page, its header showing the version and the release's date.
configure_file(doc/symtext.1.in ${PROJECT_BINARY_DIR}/symtext.1 @ONLY)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_PACKAGE_NAME symtext)
set(CPACK_PACKAGE_VENDOR "symtext developers")
set(CPACK_PACKAGE_CONTACT "symtext developers <dev@symtext.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dump binary symbol files as readable text")
# Lines of the long description stay under 80 columns, as Debian asks.
set(CPACK_PACKAGE_DESCRIPTION [[
symtext reads a symbol file, a flat run of big-endian, length-prefixed
items, and writes one text per item to OutPut.txt in the current
directory, exact to the byte and with CR LF line ends on every platform.
Items of kinds 4, 5, 6, 7 and 11 are decoded into their words and counted
names; items of every other kind are shown byte by byte, and their kinds
are listed on standard output.]])
set(CPACK_STRIP_FILES ON)
# Read by cpack as it starts: the packages' files are dated by the release,
# unless SOURCE_DATE_EPOCH is set already.
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/cpack-options.cmake)

if(WIN32)
  # symtext-<version>/ holds the program, the README, the licence and the manual as texts
  # with CR LF line ends, which every Windows editor shows.
  set(zip_folder symtext-${PROJECT_VERSION})
  find_program(SYMTEXT_GROFF groff)
  if(NOT SYMTEXT_GROFF)
    message(FATAL_ERROR "groff not found: the Windows build needs it to render the manual page as text for the zip (Debian's package groff-base)")
  endif()
  # windows_text(IN OUT [options of windows-text.cmake]): OUT made from IN.
  function(windows_text in out)
    set(script ${PROJECT_SOURCE_DIR}/cmake/windows-text.cmake)
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -DIN=${in} -DOUT=${out} ${ARGN} -P ${script}
      DEPENDS ${in} ${script} VERBATIM)
  endfunction()
  windows_text(${PROJECT_SOURCE_DIR}/README.md README.txt)
  windows_text(${PROJECT_SOURCE_DIR}/LICENSE LICENSE.txt)
  windows_text(${PROJECT_BINARY_DIR}/symtext.1 manual.txt -DMANUAL=ON -DGROFF=${SYMTEXT_GROFF})
  add_custom_target(documents ALL DEPENDS README.txt LICENSE.txt manual.txt)
  install(TARGETS symtext RUNTIME DESTINATION ${zip_folder})
  install(FILES ${PROJECT_BINARY_DIR}/README.txt ${PROJECT_BINARY_DIR}/LICENSE.txt ${PROJECT_BINARY_DIR}/manual.txt
          DESTINATION ${zip_folder})
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  math(EXPR bits "${CMAKE_SIZEOF_VOID_P} * 8")
  set(CPACK_PACKAGE_FILE_NAME symtext-${PROJECT_VERSION}-win${bits})
else()
  include(GNUInstallDirs)
  # Debian's layout: the manual page and the changelog compressed, without
  # a time stamp in them, so that a rebuild gives the same bytes.
  add_custom_command(OUTPUT symtext.1.gz
    COMMAND gzip -9nkf symtext.1
    DEPENDS ${PROJECT_BINARY_DIR}/symtext.1 VERBATIM)
  add_custom_command(OUTPUT changelog.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/doc/changelog changelog
    COMMAND gzip -9nf changelog
    DEPENDS doc/changelog VERBATIM)
  add_custom_target(documents ALL DEPENDS symtext.1.gz changelog.gz)
  install(TARGETS symtext RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The packaged program, stripped, also loses its .comment section (the
  # compilers' names and versions), which nothing at run time reads.
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/symtext\" COMMAND_ERROR_IS_FATAL ANY)
    endif()")
  install(FILES ${PROJECT_BINARY_DIR}/symtext.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  configure_file(doc/copyright.in copyright @ONLY)
  install(FILES README.md ${PROJECT_BINARY_DIR}/copyright ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
  # The lintian override speaks of the .deb alone: only the package presets
  # install it, not cmake --install into /usr/local.
  option(SYMTEXT_DEBIAN_PACKAGE "Install what only the Debian package holds (its lintian override)" OFF)
  if(SYMTEXT_DEBIAN_PACKAGE)
    install(FILES doc/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME symtext)
  endif()

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # symtext_<version>_<architecture>.deb
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON) # Depends from the libraries the program links
  if(CMAKE_CROSSCOMPILING)
    # Debian's name of the target's architecture, which the cross toolchain
    # file sets; dpkg-shlibdeps then reads the Depends from the target's own
    # C library (libc6:<architecture>, installed beside the cross compiler).
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${SYMTEXT_DEBIAN_ARCH})
  endif()
endif()
include(CPack)
