# The Windows installer, QLOK-<version>-win32.exe (-win64.exe from the 64-bit build, itself a
# 64-bit program): CPack's NSIS generator (Debian's nsis), made by the build itself (target
# installer). A Unicode installer; it installs qlok.exe, qlok-setclock.exe, qlok-sync.exe and
# the help file, adds a Start-menu shortcut and an uninstaller; "/S" installs silently. The
# optional component "Synchronise every 4 hours, also when nobody is logged on" (off unless
# chosen, or "/TASK" given) registers qlok-sync.exe with Task Scheduler.
#
# QLOK reads "QLOK servers.ini" and writes "QLOK.log" in the folder it starts in, and
# Program Files is not writable without elevation: the shortcut starts it in
# %LOCALAPPDATA%\QLOK of the installing user, which gets a copy of the help file there.

find_program(QLOK_MAKENSIS makensis)
if(NOT QLOK_MAKENSIS)
    message(FATAL_ERROR "makensis not found (Debian package nsis; scripts/deps.sh installs it)")
endif()

# The Windows help text, as Notepad on every Windows version shows it: CR LF.
set(qlok_help_file "${CMAKE_BINARY_DIR}/installer/QLOK instructions.txt")
configure_file("${PROJECT_SOURCE_DIR}/dist/windows/QLOK instructions.txt" ${qlok_help_file} @ONLY
               NEWLINE_STYLE CRLF)
install(TARGETS qlok qlok-setclock qlok-sync RUNTIME DESTINATION .)
install(FILES ${qlok_help_file} DESTINATION .)

set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME QLOK)
set(CPACK_PACKAGE_VENDOR "The QLOK team")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "QLOK Internet time synchronisation")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(qlok_installer_name QLOK-${PROJECT_VERSION}-win64)
    set(qlok_nsis_target amd64-unicode)
    set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
else()
    set(qlok_installer_name QLOK-${PROJECT_VERSION}-win32)
    set(qlok_nsis_target x86-unicode)
endif()
set(CPACK_PACKAGE_FILE_NAME ${qlok_installer_name})
set(CPACK_PACKAGE_INSTALL_DIRECTORY QLOK)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY QLOK)
set(CPACK_NSIS_PACKAGE_NAME QLOK)
set(CPACK_NSIS_DISPLAY_NAME QLOK)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/assets/qlok.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/assets/qlok.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME qlok.exe)
set(CPACK_NSIS_IGNORE_LICENSE_PAGE ON)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)

# Run between the creation of the Start-menu folder and the uninstaller's shortcut, with
# the shell folders of all users when the installer runs as an administrator: the user's
# own folders are used for the shortcut, then the context goes back as it was.
set(CPACK_NSIS_CREATE_ICONS_EXTRA [=[
  StrCpy $R9 $SMPROGRAMS
  SetShellVarContext current
  CreateDirectory "$LOCALAPPDATA\QLOK"
  CopyFiles /SILENT "$INSTDIR\QLOK instructions.txt" "$LOCALAPPDATA\QLOK"
  CreateDirectory "$SMPROGRAMS\$STARTMENU_FOLDER"
  SetOutPath "$LOCALAPPDATA\QLOK"
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\QLOK.lnk" "$INSTDIR\qlok.exe" "" \
    "$INSTDIR\qlok.exe" 0 SW_SHOWNORMAL "" "Check the clock against a time server and set it"
  SetOutPath "$INSTDIR"
  StrCmp $R9 $SMPROGRAMS +2
    SetShellVarContext all
]=])
# At the start of the uninstaller. The user's folder stays when it holds more than the help
# file (a servers list, the history).
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS [=[
  StrCpy $R9 $SMPROGRAMS
  SetShellVarContext current
  Delete "$SMPROGRAMS\$START_MENU\QLOK.lnk"
  RMDir "$SMPROGRAMS\$START_MENU"
  Delete "$LOCALAPPDATA\QLOK\QLOK instructions.txt"
  RMDir "$LOCALAPPDATA\QLOK"
  StrCmp $R9 $SMPROGRAMS +2
    SetShellVarContext all
]=])
# At the end of the uninstaller: the task goes; its folder stays when it holds more than the
# help file.
string(APPEND CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS [=[
  nsExec::Exec '"$SYSDIR\schtasks.exe" /Delete /F /TN "QLOK sync"'
  Pop $R8
  Delete "$INSTDIR\QLOK sync task.xml"
  StrCpy $R9 $SMPROGRAMS
  SetShellVarContext all
  Delete "$APPDATA\QLOK\QLOK instructions.txt"
  RMDir "$APPDATA\QLOK"
  StrCmp $R9 $SMPROGRAMS +2
    SetShellVarContext current
]=])

# CPack's own installer script, with the task's section, its switch, the components page and
# the target (Unicode, 32- or 64-bit) added: CPack takes NSIS.template.in from the module path.
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in qlok_nsis)
file(READ ${PROJECT_SOURCE_DIR}/dist/windows/sync_task.nsh qlok_task_section)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/dist/windows/sync_task.nsh)
function(qlok_nsis_insert anchor text)
    string(FIND "${qlok_nsis}" "${anchor}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "CPack's NSIS.template.in has no '${anchor}' to add the task to")
    endif()
    string(REPLACE "${anchor}" "${text}" patched "${qlok_nsis}")
    set(qlok_nsis "${patched}" PARENT_SCOPE)
endfunction()
qlok_nsis_insert("@CPACK_NSIS_PAGE_COMPONENTS@" "!insertmacro MUI_PAGE_COMPONENTS")
qlok_nsis_insert("Section \"-Add to path\"" "${qlok_task_section}\nSection \"-Add to path\"")
qlok_nsis_insert("Function .onInit\n" [=[Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/TASK" $R1
  IfErrors +2
    !insertmacro SelectSection ${SecSyncTask}
]=])
qlok_nsis_insert("; CPack install script designed for a nmake build\n"
                 "Target ${qlok_nsis_target}\n!include FileFunc.nsh\n")
file(WRITE ${CMAKE_BINARY_DIR}/installer/NSIS.template.in "${qlok_nsis}")
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_BINARY_DIR}/installer)

include(CPack)

# Made by every build, after qlok.exe. CPack installs into its own staging folder and
# does not build anything itself.
set(qlok_installer ${CMAKE_BINARY_DIR}/${qlok_installer_name}.exe)
add_custom_command(
    OUTPUT ${qlok_installer}
    COMMAND ${CMAKE_CPACK_COMMAND} -G NSIS --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
            -B ${CMAKE_BINARY_DIR}
    DEPENDS qlok qlok-setclock qlok-sync ${qlok_help_file} ${CPACK_NSIS_MUI_ICON}
            ${CMAKE_BINARY_DIR}/CPackConfig.cmake ${CMAKE_BINARY_DIR}/installer/NSIS.template.in
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    COMMENT "Packing ${qlok_installer_name}.exe")
add_custom_target(installer ALL DEPENDS ${qlok_installer})
set(QLOK_INSTALLER ${qlok_installer} CACHE INTERNAL "The installer the build makes")
