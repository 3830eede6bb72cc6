set(CPACK_PACKAGE_CONTACT "Tallix maintainers <maintainers@users.noreply.c-seed-23958bde.example>"
    CACHE STRING "The package maintainer, as Debian writes it")

# The licence and the change log where Debian looks for them: the copyright
# file is the LICENSE in the machine-readable copyright format.
if(NOT WIN32)
  set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/tallix)
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
  string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" _ "${licence}")
  set(holder "${CMAKE_MATCH_1}")
  string(REGEX REPLACE "^MIT License\n\n[^\n]*\n\n" "" terms "${licence}")
  string(REGEX REPLACE "\n+$" "" terms "${terms}")
  string(REGEX REPLACE "\n\n" "\n.\n" terms "${terms}")
  string(REGEX REPLACE "\n" "\n " terms "${terms}")
  file(WRITE ${PROJECT_BINARY_DIR}/packaging/copyright
       "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
       "Upstream-Name: Tallix\n"
       "\n"
       "Files: *\n"
       "Copyright: ${holder}\n"
       "License: Expat\n"
       " ${terms}\n")
  string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
  file(WRITE ${PROJECT_BINARY_DIR}/packaging/changelog
       "tallix (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
       "  * Release ${PROJECT_VERSION}.\n\n"
       " -- ${CPACK_PACKAGE_CONTACT}  ${changelog_date}\n")
  find_program(GZIP gzip REQUIRED)
  execute_process(COMMAND ${GZIP} -9nf ${PROJECT_BINARY_DIR}/packaging/changelog)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/copyright
                ${PROJECT_BINARY_DIR}/packaging/changelog.gz DESTINATION ${doc_dir})
endif()

# Packages made with CPack from the install rules: `cpack -G DEB` in the
# build folder makes tallix_<version>_<arch>.deb.
set(CPACK_PACKAGE_NAME tallix)
set(CPACK_PACKAGE_VENDOR Quorin)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "RPN scientific calculator with a value stack")
set(CPACK_PACKAGE_DESCRIPTION
    "Tallix is a desktop calculator in reverse Polish notation: a keypad of\n"
    "scientific, logic and whole-number functions over a stack of values kept\n"
    "with 18 significant digits, in four bases and four angle units, with undo,\n"
    "stack files and a printed listing. The same calculator runs on the command\n"
    "line (tallix -e '1 2 +') without opening a window.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_FILE_NAME tallix)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# Directories the package shares with the system keep the system's modes.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

include(CPack)
