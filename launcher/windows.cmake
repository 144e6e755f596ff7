# The launcher for Windows: the same dialog classes over the Win32 platform
# layer, the dialog templates and the icon compiled in as resources, and the
# program named as the system expects a screen saver to be.
enable_language(RC)

# The icon is drawn at build time by draw_icon, built for this machine
# against its own Qt; ImageMagick gives each picture its 256 colours and
# icoutils' icotool packs them.
find_program(QV_HOST_CXX NAMES c++ g++ REQUIRED)
find_program(QV_CONVERT convert REQUIRED)
find_program(QV_ICOTOOL icotool REQUIRED)
# The host's Qt, not the target's: pkg-config as the build machine sets it up.
execute_process(
  COMMAND env -u PKG_CONFIG_LIBDIR -u PKG_CONFIG_PATH -u PKG_CONFIG_SYSROOT_DIR pkg-config --cflags --libs Qt6Gui
  OUTPUT_VARIABLE QV_HOST_QT_FLAGS OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
separate_arguments(QV_HOST_QT_FLAGS UNIX_COMMAND "${QV_HOST_QT_FLAGS}")
set(QV_ICON_TOOL ${CMAKE_CURRENT_BINARY_DIR}/draw_icon)
set(QV_ICON_DIR ${CMAKE_CURRENT_BINARY_DIR}/icons)
set(QV_ICON_DRAWN ${QV_ICON_DIR}/icon16.png ${QV_ICON_DIR}/icon32.png)
set(QV_ICON_PICTURES ${QV_ICON_DIR}/icon16-256.png ${QV_ICON_DIR}/icon32-256.png)
set(QV_ICON_FILE ${CMAKE_CURRENT_BINARY_DIR}/quorvel3d.ico)
add_custom_command(
  OUTPUT ${QV_ICON_TOOL}
  COMMAND ${QV_HOST_CXX} -std=c++20 -O1 -fPIC -o ${QV_ICON_TOOL} ${CMAKE_CURRENT_SOURCE_DIR}/tools/draw_icon.cpp
          ${QV_HOST_QT_FLAGS}
  DEPENDS tools/draw_icon.cpp
  COMMENT "Building the icon tool for the build machine"
  VERBATIM)
add_custom_command(
  OUTPUT ${QV_ICON_PICTURES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QV_ICON_DIR}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${QV_ICON_TOOL} --full-colour ${QV_ICON_DIR}
  COMMAND ${QV_CONVERT} ${QV_ICON_DIR}/icon16.png -colors 256 PNG8:${QV_ICON_DIR}/icon16-256.png
  COMMAND ${QV_CONVERT} ${QV_ICON_DIR}/icon32.png -colors 256 PNG8:${QV_ICON_DIR}/icon32-256.png
  DEPENDS ${QV_ICON_TOOL}
  BYPRODUCTS ${QV_ICON_DRAWN}
  COMMENT "Drawing the program icon"
  VERBATIM)
add_custom_command(
  OUTPUT ${QV_ICON_FILE}
  COMMAND ${QV_ICOTOOL} --create --bit-depth=8 --output=${QV_ICON_FILE} ${QV_ICON_PICTURES}
  DEPENDS ${QV_ICON_PICTURES}
  COMMENT "Packing the program icon"
  VERBATIM)

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
