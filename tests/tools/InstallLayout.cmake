cmake_minimum_required(VERSION 3.25)
# Installs the build into a scratch prefix and checks that everything lands where the program
# and a desktop look for it, and that the installed tool passes the installed demo route.
# Run by ctest: cmake -DBUILD=<build dir> -DPREFIX=<scratch prefix> -P InstallLayout.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

include(GNUInstallDirs)
set(expected
  ${CMAKE_INSTALL_BINDIR}/fareboard
  ${CMAKE_INSTALL_BINDIR}/fareboard-data
  ${CMAKE_INSTALL_BINDIR}/fareboard-ticket
  ${CMAKE_INSTALL_LIBDIR}/fareboard/sample.4SP
  ${CMAKE_INSTALL_DATADIR}/fareboard/fareboard-bus.dic
  ${CMAKE_INSTALL_DATADIR}/fareboard/demo/1.hy3
  ${CMAKE_INSTALL_DATADIR}/fareboard/demo/1tp.csv
  ${CMAKE_INSTALL_DATADIR}/fareboard/demo/tape1.mid
  ${CMAKE_INSTALL_DATADIR}/fareboard/demo/step1.wav
  ${CMAKE_INSTALL_DATADIR}/applications/fareboard.desktop
  ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps/fareboard.svg)
foreach(file IN LISTS expected)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# The desktop entry starts the installed program by name and shows the installed icon.
file(STRINGS ${PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/fareboard.desktop entry)
foreach(line "Exec=fareboard" "Icon=fareboard" "Type=Application")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "the desktop entry lacks ${line}")
  endif()
endforeach()

foreach(file 1.hy3 1tp.csv)
  execute_process(COMMAND ${PREFIX}/${CMAKE_INSTALL_BINDIR}/fareboard-data check
                          ${PREFIX}/${CMAKE_INSTALL_DATADIR}/fareboard/demo/${file}
                  RESULT_VARIABLE status OUTPUT_QUIET)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the installed demo ${file} fails its check")
  endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
