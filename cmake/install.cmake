# An installation keeps the show, its pictures and the licence together in
# one folder, and records that folder where both programs look for it.
include(GNUInstallDirs)

set(QV_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/quorvel3d)
set(QV_XDG_CONFIG_DIR /etc/xdg CACHE PATH "Where the system-wide settings file goes")

install(TARGETS qvshow RUNTIME DESTINATION ${QV_INSTALL_DIR})
install(FILES ${QV_STAGE_DIR}/data01 DESTINATION ${QV_INSTALL_DIR})
install(DIRECTORY ${QV_STAGE_DIR}/data DESTINATION ${QV_INSTALL_DIR})
if(TARGET Quorvel3D)
  install(TARGETS Quorvel3D RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/License.txt DESTINATION ${QV_INSTALL_DIR})
endif()

install(CODE "
  set(QV_INSTALL_DIR \"${QV_INSTALL_DIR}\")
  set(QV_XDG_CONFIG_DIR \"${QV_XDG_CONFIG_DIR}\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/record_install_dir.cmake\")")
