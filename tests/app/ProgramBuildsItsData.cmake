# Building only the program must build what it looks for beside itself at run time: the demo
# route, its chimes, the sample plug-in and the bus-word dictionary. Reads the commands Ninja
# would run for the program from scratch, so it costs no build.
# cmake -DNINJA=... -DBUILD_DIR=... -DPROGRAM=... "-DNEEDED=text;text" -P ProgramBuildsItsData.cmake
execute_process(COMMAND ${NINJA} -C ${BUILD_DIR} -t commands ${PROGRAM}
                OUTPUT_VARIABLE commands RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "ninja -t commands ${PROGRAM} failed")
endif()
foreach(needed IN LISTS NEEDED)
  string(FIND "${commands}" "${needed}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "building ${PROGRAM} alone runs nothing that makes ${needed}")
  endif()
endforeach()
