# `cmake --install build --prefix P`: the program and its tool in P/bin, what they read in
# P/share/fareboard (the bus-word dictionary, the town list, the demo route) and
# P/lib/fareboard (the sample ticket plug-in), and a desktop entry with its icon. The program finds its files relative to
# its own folder (platform/InstallPaths.h), so the prefix may be anything.
include(GNUInstallDirs)

install(TARGETS fareboard fareboard-ticket fareboard-data RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS fareboard_sample_plugin LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/fareboard)
install(FILES ${FAREBOARD_BUS_DICTIONARY} ${FAREBOARD_TOWN_LIST} DESTINATION ${CMAKE_INSTALL_DATADIR}/fareboard)
install(DIRECTORY ${FAREBOARD_DEMO_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/fareboard/demo)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/fareboard.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/fareboard.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
