# The Debian package, made by CPack from the install rules and looked at
# without installing it:
#   MODE=make     cpack -G DEB into WORK_DIR (the fixture of the others)
#   MODE=files    the package's file list is exactly the expected one
#   MODE=run      extracted with dpkg-deb -x: batch mode, and the window
#                 program started offscreen from the extracted tree
#   MODE=lintian  no error and no warning from lintian
#   cmake -DMODE=... -DBUILD_DIR=... -DWORK_DIR=... -DVERSION=... -P deb_test.cmake
cmake_minimum_required(VERSION 3.25)
file(GLOB debs "${WORK_DIR}/tallix_*.deb")

if(MODE STREQUAL "make")
  file(REMOVE_RECURSE "${WORK_DIR}")
  execute_process(COMMAND cpack -G DEB -B "${WORK_DIR}" --config "${BUILD_DIR}/CPackConfig.cmake"
                  OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE rc)
  file(GLOB debs "${WORK_DIR}/tallix_*.deb")
  if(NOT rc EQUAL 0 OR NOT debs)
    message(FATAL_ERROR "cpack -G DEB failed (${rc}):\n${out}")
  endif()
  execute_process(COMMAND dpkg-architecture -qDEB_HOST_ARCH OUTPUT_VARIABLE arch
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT debs STREQUAL "${WORK_DIR}/tallix_${VERSION}_${arch}.deb")
    message(FATAL_ERROR "unexpected package name: ${debs}")
  endif()
  # What apt reads: the dependencies found from the shared libraries, and
  # who answers for the package.
  execute_process(COMMAND dpkg-deb -f "${debs}" Package Version Depends Maintainer Description
                  OUTPUT_VARIABLE fields RESULT_VARIABLE rc)
  foreach(want "Package: tallix\n" "Version: ${VERSION}\n" "Depends: [^\n]*libc6 \\(>= "
               "Depends: [^\n]*libqt6widgets6" "Maintainer: [^\n]+<[^\n]+@[^\n]+>\n"
               "Description: [^\n]+\n [^\n]+")
    if(NOT fields MATCHES "${want}")
      message(SEND_ERROR "control fields lack ${want}:\n${fields}")
    endif()
  endforeach()
  return()
endif()

list(LENGTH debs count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one package in ${WORK_DIR}, found: ${debs}")
endif()

if(MODE STREQUAL "files")
  execute_process(COMMAND dpkg-deb -c "${debs}" OUTPUT_VARIABLE listing RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "dpkg-deb -c failed: ${rc}")
  endif()
  # Files only (directories end in a slash), with their modes.
  string(REGEX MATCHALL "[-l]r[-rwx]+ [^\n]* \\./usr/[^\n]*[^/]\n" lines "${listing}")
  set(actual "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^([-lrwx]+) .* \\./(usr/[^\n]*)\n$" "\\1 \\2" entry "${line}")
    list(APPEND actual "${entry}")
  endforeach()
  list(SORT actual)
  set(expected
      "-rwxr-xr-x usr/bin/tallix"
      "-rwxr-xr-x usr/libexec/tallix/tallix-window"
      "-rw-r--r-- usr/share/applications/tallix.desktop"
      "-rw-r--r-- usr/share/bash-completion/completions/tallix"
      "-rw-r--r-- usr/share/doc/tallix/changelog.gz"
      "-rw-r--r-- usr/share/doc/tallix/copyright"
      "-rw-r--r-- usr/share/fish/vendor_completions.d/tallix.fish"
      "-rw-r--r-- usr/share/icons/hicolor/scalable/apps/tallix.svg"
      "-rw-r--r-- usr/share/man/man1/tallix.1.gz"
      "-rw-r--r-- usr/share/zsh/vendor-completions/_tallix")
  foreach(size 16 22 24 32 48 64 128 256)
    list(APPEND expected "-rw-r--r-- usr/share/icons/hicolor/${size}x${size}/apps/tallix.png")
  endforeach()
  list(SORT expected)
  if(NOT actual STREQUAL expected)
    string(REPLACE ";" "\n" a "${actual}")
    string(REPLACE ";" "\n" e "${expected}")
    message(FATAL_ERROR "package files differ.\n--- expected\n${e}\n--- actual\n${a}")
  endif()
  # Owned by root, as a package built without fakeroot would not be.
  string(REGEX MATCHALL " [^ /]+/[^ /]+ +[0-9]+ " owners "${listing}")
  list(REMOVE_DUPLICATES owners)
  string(REGEX REPLACE " +[0-9]+ " "" owners "${owners}")
  list(REMOVE_DUPLICATES owners)
  if(NOT owners STREQUAL " root/root")
    message(SEND_ERROR "owners other than root: ${owners}")
  endif()
  # The licence is the project's.
  file(READ "${SOURCE_DIR}/LICENSE" licence)
  execute_process(COMMAND dpkg-deb --fsys-tarfile "${debs}" COMMAND tar -xOf - ./usr/share/doc/tallix/copyright
                  OUTPUT_VARIABLE copyright)
  string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" _ "${licence}")
  if(NOT copyright MATCHES "\nCopyright: ${CMAKE_MATCH_1}\nLicense: Expat\n Permission is hereby granted")
    message(SEND_ERROR "copyright file does not carry the LICENSE:\n${copyright}")
  endif()
  message(STATUS "${count} package, files as expected")

elseif(MODE STREQUAL "run")
  set(root "${WORK_DIR}/run")
  file(REMOVE_RECURSE "${root}")
  file(MAKE_DIRECTORY "${root}/home/runtime")
  file(CHMOD "${root}/home/runtime" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  execute_process(COMMAND dpkg-deb -x "${debs}" "${root}/tree" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "dpkg-deb -x failed: ${rc}")
  endif()
  set(tallix "${root}/tree/usr/bin/tallix")
  set(env ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
          PATH=/usr/bin:/bin LC_ALL=C HOME=${root}/home XDG_CONFIG_HOME=${root}/home/config
          XDG_RUNTIME_DIR=${root}/home/runtime)

  execute_process(COMMAND ${env} "${tallix}" -e "1 2 +"
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "3\n" OR NOT err STREQUAL "")
    message(SEND_ERROR "extracted tallix -e '1 2 +': status ${rc}, output '${out}', errors '${err}'")
  endif()

  # The window start, offscreen: the launcher must find the window program
  # in the extracted libexec. It runs until stopped; a stop by SIGTERM saves
  # the settings, which shows that the window came up and ran.
  execute_process(COMMAND ${env} QT_QPA_PLATFORM=offscreen timeout -s TERM 4 "${tallix}"
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL 124)
    message(SEND_ERROR "extracted window start ended by itself: status ${rc}, errors '${err}'")
  endif()
  if(NOT EXISTS "${root}/home/config/Quorin/Tallix.conf")
    message(SEND_ERROR "extracted window start saved no settings; errors '${err}'")
  endif()
  # Without a display the window program itself answers, in one line.
  execute_process(COMMAND ${env} "${tallix}" ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL 1 OR NOT err MATCHES "^tallix: cannot open the calculator window: no display")
    message(SEND_ERROR "extracted window start without a display: status ${rc}, errors '${err}'")
  endif()
  # A PDF listing is drawn by the window program without any display.
  execute_process(COMMAND ${env} "${tallix}" -e "1 2 3" --print "${root}/stack.pdf"
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  file(READ "${root}/stack.pdf" pdf LIMIT 16)
  if(NOT rc EQUAL 0 OR NOT pdf MATCHES "^%PDF-")
    message(SEND_ERROR "extracted PDF listing: status ${rc}, errors '${err}', file starts '${pdf}'")
  endif()
  # The manual page reads as one.
  execute_process(COMMAND mandoc -T ascii "${root}/tree/usr/share/man/man1/tallix.1.gz"
                  OUTPUT_VARIABLE page RESULT_VARIABLE rc)
  string(ASCII 8 backspace)
  string(REGEX REPLACE ".${backspace}" "" page "${page}") # bold and underline
  if(NOT rc EQUAL 0 OR NOT page MATCHES "SYNOPSIS" OR NOT page MATCHES "--list-commands")
    message(SEND_ERROR "mandoc on the extracted page: status ${rc}\n${page}")
  endif()
  file(REMOVE_RECURSE "${root}")

elseif(MODE STREQUAL "lintian")
  execute_process(COMMAND lintian --no-tag-display-limit "${debs}"
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  message(STATUS "lintian:\n${out}")
  if(out MATCHES "(^|\n)[EW]: ")
    message(FATAL_ERROR "lintian reports errors or warnings")
  endif()
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "lintian failed (${rc}): ${err}")
  endif()
else()
  message(FATAL_ERROR "unknown MODE '${MODE}'")
endif()
