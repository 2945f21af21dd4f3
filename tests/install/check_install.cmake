# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a staging folder and checks that a desktop finds the program there.
#   cmake -DBUILD_DIR=... -DSTAGE=... -P check_install.cmake
file(REMOVE_RECURSE "${STAGE}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${STAGE}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected
  bin/lexorquine
  share/applications/lexorquine.desktop
  share/icons/hicolor/16x16/apps/lexorquine.png
  share/icons/hicolor/32x32/apps/lexorquine.png
  share/icons/hicolor/48x48/apps/lexorquine.png
  share/man/man1/lexorquine.1.gz
  share/metainfo/example.lexo.lexorquine.metainfo.xml
  share/doc/lexorquine/copyright
  share/doc/lexorquine/changelog.Debian.gz
  share/lintian/overrides/lexorquine)
foreach(path IN LISTS expected)
  if(NOT EXISTS "${STAGE}/${path}")
    message(FATAL_ERROR "missing after install: ${path}")
  endif()
endforeach()

file(READ "${STAGE}/share/applications/lexorquine.desktop" entry)
foreach(line "Exec=lexorquine %f" "Icon=lexorquine" "Categories=Utility;TextTools;"
             "Name=Lexorquine" "MimeType=text/plain;")
  string(FIND "${entry}" "${line}\n" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "the desktop entry lacks: ${line}")
  endif()
endforeach()
# The program opens one local file at a time: a list or addresses would be mostly ignored.
if(entry MATCHES "Exec=[^\n]*%[FuU]")
  message(FATAL_ERROR "the desktop entry passes several files or addresses")
endif()
message(STATUS "install layout ok")
