# Runs at install time, so that the system-wide settings file names the
# prefix actually installed to.
set(folder "${QV_INSTALL_DIR}")
if(NOT IS_ABSOLUTE "${folder}")
  set(folder "${CMAKE_INSTALL_PREFIX}/${folder}")
endif()
set(file "$ENV{DESTDIR}${QV_XDG_CONFIG_DIR}/quorvel3d/settings.reg")
message(STATUS "Recording the install folder in ${file}")
file(WRITE "${file}"
  "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brenmark\\Quorvel 3D]\n\"InstallDir\"=\"${folder}/\"\n")
