# Run by CPack once it has staged the installer's files: writes the NSIS
# macros that install and remove them, in name order, that list them in the
# install's marker and that tell one of them by its path. NSIS's own "File /r"
# and CPack's lists follow the order the file system lists a folder in, which
# differs from machine to machine, and so would the installer's bytes.
set(staged "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${staged}" "${staged}/*")
file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE "${staged}" "${staged}/*")
set(folders ${entries})
list(REMOVE_ITEM folders ${files})
list(SORT files)
list(SORT folders)
list(REVERSE folders) # the deepest first, for removal

# From the staged folder, or from the signed copy windows_sign.sh names.
set(install "!ifndef KLIMORA_FILES\n    !define KLIMORA_FILES \"${staged}\"\n!endif\n")
string(APPEND install "!macro InstallFiles\n")
set(current "-")
foreach(file IN LISTS files)
    cmake_path(GET file PARENT_PATH folder)
    if(NOT folder STREQUAL current)
        set(current "${folder}")
        string(REPLACE "/" "\\" windows_folder "\\${folder}")
        if(folder STREQUAL "")
            set(windows_folder "")
        endif()
        string(APPEND install "    SetOutPath \"$INSTDIR${windows_folder}\"\n")
    endif()
    string(APPEND install "    File \"\${KLIMORA_FILES}/${file}\"\n")
endforeach()
string(APPEND install "!macroend\n")

set(remove "!macro RemoveFiles\n")
foreach(file IN LISTS files)
    string(REPLACE "/" "\\" windows_file "${file}")
    string(APPEND remove "    Delete \"$INSTDIR\\${windows_file}\"\n")
endforeach()
foreach(folder IN LISTS folders)
    string(REPLACE "/" "\\" windows_folder "${folder}")
    string(APPEND remove "    RMDir \"$INSTDIR\\${windows_folder}\"\n")
endforeach()
string(APPEND remove "!macroend\n")

# The marker lists them, so that a later version can tell them from a folder's
# other files before the uninstaller has run; a version whose marker has no
# list had these same files.
set(listed "!macro ListFiles HANDLE\n")
set(known "!macro IsInstalledFile PATH RESULT\n    StrCpy \${RESULT} 0\n")
foreach(file IN LISTS files)
    string(REPLACE "/" "\\" windows_file "${file}")
    string(APPEND listed "    FileWriteUTF16LE \${HANDLE} \"${windows_file}$\\r$\\n\"\n")
    string(APPEND known "    StrCmp \${PATH} \"${windows_file}\" 0 +2\n    StrCpy \${RESULT} 1\n")
endforeach()
string(APPEND listed "!macroend\n")
string(APPEND known "!macroend\n")
file(WRITE "${CPACK_TOPLEVEL_DIRECTORY}/installer_files.nsh" "${install}${remove}${listed}${known}")
