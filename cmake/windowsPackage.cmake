# The Windows package: the programs and the licence in one folder, made into an NSIS installer
# (with a Start menu entry, an uninstaller and the .mvk association) and a portable zip by CPack.
install(TARGETS marovink-batch RUNTIME DESTINATION .)
if(MAROVINK_BUILD_GUI)
    install(TARGETS marovink RUNTIME DESTINATION .)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/data/gpl.txt DESTINATION .)

# The outside tools lie beside the programs under the names the settings take by default, so that
# a fresh installation runs its first task without a settings file. The demultiplexer and the DVD
# image writer are programs of the project; mplex, dvdauthor and m2vrequantiser come from the
# folder that scripts/windows-tools builds them into, with their licences and tool-sources.txt
# (what they were built from).
install(TARGETS bbdmux RUNTIME DESTINATION .)
# The image writer is looked for once the top folder has been read, so that this file may come
# before or after the folder that defines it; a tree without it packages the rest.
function(marovink_install_dvdimage)
    if(TARGET dvdimage)
        install(TARGETS dvdimage RUNTIME DESTINATION .)
    endif()
endfunction()
cmake_language(DEFER CALL marovink_install_dvdimage)
set(MAROVINK_WINDOWS_TOOLS_DIR "" CACHE PATH
    "Folder of the outside tools for the package, as scripts/windows-tools prints it")
if(MAROVINK_WINDOWS_TOOLS_DIR)
    foreach(file mplex.exe dvdauthor.exe m2vrequantiser.exe tool-sources.txt licences)
        if(NOT EXISTS ${MAROVINK_WINDOWS_TOOLS_DIR}/${file})
            message(FATAL_ERROR "No ${file} in MAROVINK_WINDOWS_TOOLS_DIR (${MAROVINK_WINDOWS_TOOLS_DIR})")
        endif()
    endforeach()
    install(PROGRAMS ${MAROVINK_WINDOWS_TOOLS_DIR}/mplex.exe ${MAROVINK_WINDOWS_TOOLS_DIR}/dvdauthor.exe
        ${MAROVINK_WINDOWS_TOOLS_DIR}/m2vrequantiser.exe DESTINATION .)
    install(FILES ${MAROVINK_WINDOWS_TOOLS_DIR}/tool-sources.txt DESTINATION .)
    install(DIRECTORY ${MAROVINK_WINDOWS_TOOLS_DIR}/licences DESTINATION .)
endif()

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME Marovink)
set(CPACK_PACKAGE_VENDOR Marovink)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Turns DVD-Video material into authored DVD folders, in batch")
set(CPACK_PACKAGE_HOMEPAGE_URL https://github.com/marovink/marovink)
set(CPACK_PACKAGE_FILE_NAME marovink-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Marovink)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Marovink)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/data/gpl.txt)
# The zip unpacks into a folder of its own; set for that generator alone, as NSIS refuses it.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/windowsPackageByGenerator.cmake)
# The debugging information stays in the build folder: users get the programs without it.
set(CPACK_STRIP_FILES ON)

set(CPACK_NSIS_PACKAGE_NAME Marovink)
set(CPACK_NSIS_DISPLAY_NAME "Marovink ${PROJECT_VERSION}")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A 64-bit installer for 64-bit programs; it also runs where no 32-bit program can.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/data/marovink.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/data/marovink.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME marovink.exe)
set(CPACK_NSIS_URL_INFO_ABOUT ${CPACK_PACKAGE_HOMEPAGE_URL})
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
if(MAROVINK_BUILD_GUI)
    set(CPACK_PACKAGE_EXECUTABLES marovink Marovink)
    set(CPACK_NSIS_MUI_FINISHPAGE_RUN marovink.exe)
endif()

# A double click on a project opens it in the window program. Backslashes and double quotes are
# escaped twice: once for this file, once for the CPack configuration it is written to.
set(mvk_class "Software\\\\Classes\\\\Marovink.Project")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
    WriteRegStr SHCTX 'Software\\\\Classes\\\\.mvk' '' 'Marovink.Project'
    WriteRegStr SHCTX '${mvk_class}' '' 'Marovink project'
    WriteRegStr SHCTX '${mvk_class}\\\\DefaultIcon' '' '$INSTDIR\\\\marovink.exe,0'
    WriteRegStr SHCTX '${mvk_class}\\\\shell\\\\open\\\\command' '' '\\\"$INSTDIR\\\\marovink.exe\\\" \\\"%1\\\"'
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
")
# The settings, the log and the task list's lock that the programs wrote beside themselves go with
# them; those in the user's application-data folder stay, and so does a task list kept for recovery
# (with the folder around it), as it holds the user's work.
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
    ReadRegStr $0 SHCTX 'Software\\\\Classes\\\\.mvk' ''
    StrCmp $0 'Marovink.Project' 0 +2
      DeleteRegKey SHCTX 'Software\\\\Classes\\\\.mvk'
    DeleteRegKey SHCTX '${mvk_class}'
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
    Delete '$INSTDIR\\\\marovink.ini'
    Delete '$INSTDIR\\\\marovink.log'
    Delete '$INSTDIR\\\\marovink.recovery.mvk.lock'
")
include(CPack)
