# What a Windows user downloads: Klimora-1.0.2-setup.exe. Read when CPack
# runs, so that a version given to cpack names its installer.
set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-setup")
