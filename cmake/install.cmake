# The installed layout on Linux. The programs and the tool launchers share one private folder, so
# that the programs find the launchers beside themselves as in the bundle, and the launcher named
# mplex never shadows the system's mplex on the PATH; bin/ holds links to the two programs.
include(GNUInstallDirs)

set(MAROVINK_PRIVATE_DIR lib/marovink)
set(MAROVINK_DATA_DIR ${PROJECT_SOURCE_DIR}/data)
set(MAROVINK_LINKS_DIR ${CMAKE_BINARY_DIR}/installedLinks)

set(installed_programs marovink-batch bbdmux)
if(TARGET marovink)
    list(APPEND installed_programs marovink)
endif()
install(TARGETS ${installed_programs} RUNTIME DESTINATION ${MAROVINK_PRIVATE_DIR})
install(PROGRAMS
    ${PROJECT_SOURCE_DIR}/tools/mplex
    ${PROJECT_SOURCE_DIR}/tools/dvdauthor
    ${PROJECT_SOURCE_DIR}/tools/m2vrequantiser
    ${PROJECT_SOURCE_DIR}/tools/genisoimage
    DESTINATION ${MAROVINK_PRIVATE_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/tools/launcher-common.sh DESTINATION ${MAROVINK_PRIVATE_DIR})

file(MAKE_DIRECTORY ${MAROVINK_LINKS_DIR})
foreach(program ${installed_programs})
    file(CREATE_LINK ../${MAROVINK_PRIVATE_DIR}/${program} ${MAROVINK_LINKS_DIR}/${program} SYMBOLIC)
    install(FILES ${MAROVINK_LINKS_DIR}/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

# The about box of an installed program reads the licence here.
install(FILES ${MAROVINK_DATA_DIR}/gpl.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/marovink)
install(FILES ${MAROVINK_DATA_DIR}/man/marovink-batch.1 ${MAROVINK_DATA_DIR}/man/bbdmux.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${MAROVINK_DATA_DIR}/marovink-batch.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME marovink-batch)
if(TARGET marovink)
    install(FILES ${MAROVINK_DATA_DIR}/man/marovink.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${MAROVINK_DATA_DIR}/marovink.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${MAROVINK_DATA_DIR}/marovink.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(FILES ${MAROVINK_DATA_DIR}/marovink-mime.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME marovink.xml)
    install(FILES ${MAROVINK_DATA_DIR}/io.github.marovink.marovink.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
