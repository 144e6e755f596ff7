# Client code for Wayland protocols, made by wayland-scanner from the XML
# that Debian's wayland-protocols and plasma-wayland-protocols install.
pkg_check_modules(WaylandClient REQUIRED IMPORTED_TARGET wayland-client)
pkg_get_variable(QV_WAYLAND_SCANNER wayland-scanner wayland_scanner)
pkg_get_variable(QV_WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
find_package(PlasmaWaylandProtocols REQUIRED)
if(NOT QV_WAYLAND_SCANNER OR NOT QV_WAYLAND_PROTOCOLS_DIR)
  message(FATAL_ERROR "wayland-scanner and wayland-protocols are needed (tools/install-deps installs them)")
endif()

# qv_wayland_protocol(TARGET NAME XML): NAME-client-protocol.h and its code
# in TARGET, found by #include "NAME-client-protocol.h".
function(qv_wayland_protocol target name xml)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/wayland)
  set(header ${dir}/${name}-client-protocol.h)
  set(code ${dir}/${name}-protocol.c)
  add_custom_command(OUTPUT ${header} ${code}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${QV_WAYLAND_SCANNER} client-header ${xml} ${header}
    COMMAND ${QV_WAYLAND_SCANNER} private-code ${xml} ${code}
    DEPENDS ${xml}
    COMMENT "Wayland protocol ${name}")
  target_sources(${target} PRIVATE ${header} ${code})
  target_include_directories(${target} PRIVATE ${dir})
endfunction()
