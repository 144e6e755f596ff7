# An installation keeps the show in one folder of its own, where the
# launcher starts it; its pictures, archive and licence live with the
# architecture-independent data and are linked into that folder, so the show
# still finds them by relative paths. The folder is recorded where both
# programs look for it. The screen-saver daemons look in fixed system
# folders, whatever the prefix.
include(GNUInstallDirs)

set(QV_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/quorvel3d)
set(QV_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/quorvel3d)
set(QV_XDG_CONFIG_DIR /etc/xdg CACHE PATH "Where the system-wide settings file goes")
set(QV_XSCREENSAVER_CONFIG_DIR /usr/share/xscreensaver/config CACHE PATH
  "Where xscreensaver reads screen-saver descriptors")
set(QV_MATE_THEME_DIR /usr/share/applications/screensavers CACHE PATH
  "Where mate-screensaver finds its themes")

install(TARGETS qvshow RUNTIME DESTINATION ${QV_INSTALL_DIR})
install(FILES ${QV_STAGE_DIR}/data01 DESTINATION ${QV_DATA_INSTALL_DIR})
install(DIRECTORY ${QV_STAGE_DIR}/data DESTINATION ${QV_DATA_INSTALL_DIR})
set(QV_LINKED_DATA data01 data)
if(TARGET Quorvel3D)
  install(TARGETS Quorvel3D RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/License.txt DESTINATION ${QV_DATA_INSTALL_DIR})
  list(APPEND QV_LINKED_DATA License.txt)

  install(FILES ${PROJECT_SOURCE_DIR}/dist/man/Quorvel3D.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/dist/quorvel3d-options.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  # Software centres find the options program, and read of the screen saver, here.
  install(FILES ${PROJECT_SOURCE_DIR}/dist/example.brenmark.quorvel3d.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  get_directory_property(icon_dir DIRECTORY ${PROJECT_SOURCE_DIR}/launcher DEFINITION QV_ICON_DIR)
  foreach(size 16 32)
    install(FILES ${icon_dir}/icon${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
      RENAME quorvel3d.png)
  endforeach()
endif()

# Relative links, made in the build tree and installed as links, so that
# the installed tree can move with its prefix.
set(data_link_dir ${CMAKE_BINARY_DIR}/install-links)
cmake_path(RELATIVE_PATH QV_DATA_INSTALL_DIR BASE_DIRECTORY ${QV_INSTALL_DIR} OUTPUT_VARIABLE data_from_show)
if(IS_ABSOLUTE "${QV_INSTALL_DIR}" OR IS_ABSOLUTE "${QV_DATA_INSTALL_DIR}")
  set(data_from_show ${QV_DATA_INSTALL_DIR})
endif()
file(MAKE_DIRECTORY ${data_link_dir})
foreach(name ${QV_LINKED_DATA})
  file(REMOVE ${data_link_dir}/${name})
  file(CREATE_LINK ${data_from_show}/${name} ${data_link_dir}/${name} SYMBOLIC)
  list(APPEND data_links ${data_link_dir}/${name})
endforeach()
install(FILES ${data_links} DESTINATION ${QV_INSTALL_DIR})

if(TARGET quorvel3d)
  install(TARGETS quorvel3d RUNTIME DESTINATION ${QV_XSCREENSAVER_HACK_DIR})
  install(FILES ${PROJECT_SOURCE_DIR}/dist/quorvel3d.xml DESTINATION ${QV_XSCREENSAVER_CONFIG_DIR})
  set(QV_HACK_PATH ${QV_XSCREENSAVER_HACK_DIR}/quorvel3d)
  configure_file(${PROJECT_SOURCE_DIR}/dist/quorvel3d-screensaver.desktop.in
    ${CMAKE_BINARY_DIR}/dist/quorvel3d.desktop @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/dist/quorvel3d.desktop DESTINATION ${QV_MATE_THEME_DIR})
endif()
install(TARGETS quorvel3d-xscreensaver-add RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The idle runner, started in each graphical session by its user unit, or
# by the autostart entry where the session does not run under systemd.
install(TARGETS quorvel3d-idle RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(QV_IDLE_PATH ${CMAKE_INSTALL_FULL_BINDIR}/quorvel3d-idle)
configure_file(${PROJECT_SOURCE_DIR}/dist/quorvel3d-idle.service.in
  ${CMAKE_BINARY_DIR}/dist/quorvel3d-idle.service @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/dist/quorvel3d-idle.service DESTINATION lib/systemd/user)
install(FILES ${PROJECT_SOURCE_DIR}/dist/quorvel3d-idle.desktop DESTINATION ${QV_XDG_CONFIG_DIR}/autostart)
install(FILES ${PROJECT_SOURCE_DIR}/dist/man/quorvel3d-idle.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/dist/man/quorvel3d-xscreensaver-add.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(CODE "
  set(QV_INSTALL_DIR \"${QV_INSTALL_DIR}\")
  set(QV_XDG_CONFIG_DIR \"${QV_XDG_CONFIG_DIR}\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/record_install_dir.cmake\")")
