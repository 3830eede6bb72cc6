# Installs the build into a scratch prefix and checks the tree a desktop
# needs: the program, the window program, the desktop entry and the icons in
# the XDG places. Then runs the installed program: batch mode, and a window
# start without a display, which only the installed window program answers
# with its one-line message.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DWITH_WINDOW=ON|OFF -P check_install.cmake
file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${WORK_DIR}"
                OUTPUT_QUIET RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

set(expected bin/tallix share/applications/tallix.desktop share/man/man1/tallix.1.gz
             share/bash-completion/completions/tallix share/doc/tallix/copyright
             share/fish/vendor_completions.d/tallix.fish share/zsh/vendor-completions/_tallix
             share/icons/hicolor/scalable/apps/tallix.svg)
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/tallix.png)
endforeach()
if(WITH_WINDOW)
  list(APPEND expected libexec/tallix/tallix-window)
endif()
foreach(f IN LISTS expected)
  if(NOT EXISTS "${WORK_DIR}/${f}")
    message(SEND_ERROR "not installed: ${f}")
  endif()
endforeach()
# Only what a desktop reads goes to the icon theme: no drawings, no scripts.
file(GLOB_RECURSE icon_files RELATIVE "${WORK_DIR}/share/icons" "${WORK_DIR}/share/icons/*")
list(LENGTH icon_files icon_count)
if(NOT icon_count EQUAL 9)
  message(SEND_ERROR "expected 9 icon files, installed: ${icon_files}")
endif()
file(READ "${WORK_DIR}/share/applications/tallix.desktop" entry)
foreach(line "Exec=tallix" "Icon=tallix" "Categories=Utility;Calculator;")
  if(NOT entry MATCHES "(^|\n)${line}\n")
    message(SEND_ERROR "tallix.desktop lacks ${line}")
  endif()
endforeach()

set(run ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
        PATH=/usr/bin:/bin LC_ALL=C)
execute_process(COMMAND ${run} "${WORK_DIR}/bin/tallix" -e "1 2 +"
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "3\n")
  message(SEND_ERROR "installed batch run: status ${rc}, output '${out}', errors '${err}'")
endif()
if(WITH_WINDOW)
  execute_process(COMMAND ${run} "${WORK_DIR}/bin/tallix"
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL 1 OR NOT err MATCHES "^tallix: cannot open the calculator window: no display")
    message(SEND_ERROR "installed window start: status ${rc}, errors '${err}'")
  endif()
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
