# The launcher for Windows: the same dialog classes over the Win32 platform
# layer, the dialog templates and the icon compiled in as resources, and the
# program named as the system expects a screen saver to be.
enable_language(RC)

# The icon is drawn at build time by a small tool built for this machine.
find_program(QV_HOST_CXX NAMES c++ g++ REQUIRED)
set(QV_ICON_TOOL ${CMAKE_CURRENT_BINARY_DIR}/write_icon)
set(QV_ICON_FILE ${CMAKE_CURRENT_BINARY_DIR}/quorvel3d.ico)
add_custom_command(
  OUTPUT ${QV_ICON_TOOL}
  COMMAND ${QV_HOST_CXX} -std=c++20 -O1 -o ${QV_ICON_TOOL} ${CMAKE_CURRENT_SOURCE_DIR}/tools/write_icon.cpp
  DEPENDS tools/write_icon.cpp
  COMMENT "Building the icon tool for the build machine")
add_custom_command(
  OUTPUT ${QV_ICON_FILE}
  COMMAND ${QV_ICON_TOOL} ${QV_ICON_FILE}
  DEPENDS ${QV_ICON_TOOL}
  COMMENT "Drawing the program icon")

add_library(qv_launcher STATIC
  ${QV_LAUNCHER_SOURCES}
  templates_win32.cpp)
target_include_directories(qv_launcher PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(qv_launcher PUBLIC qv_dialog_kit qv_settings PRIVATE qv_warnings)

add_executable(Quorvel3D WIN32 main_win32.cpp resources/quorvel3d.rc)
set_target_properties(Quorvel3D PROPERTIES SUFFIX .scr)
# The resource compiler finds the drawn icon and the shared ids here.
target_include_directories(Quorvel3D PRIVATE ${CMAKE_CURRENT_BINARY_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/resources)
set_source_files_properties(resources/quorvel3d.rc PROPERTIES
  OBJECT_DEPENDS "${QV_ICON_FILE};${CMAKE_CURRENT_SOURCE_DIR}/resources/resource_ids.h")
target_link_libraries(Quorvel3D PRIVATE qv_launcher qv_warnings comctl32)

# The licence text belongs to the installation, beside the programs.
configure_file(${PROJECT_SOURCE_DIR}/License.txt ${QV_STAGE_DIR}/License.txt COPYONLY)
