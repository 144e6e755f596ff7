# The engine built for Windows by tools/build-windows: programs link its
# import library, and its DLL goes into the stage beside them. The toolchain
# file links the compiler's runtimes into each program, so the engine is the
# only DLL the folder carries.
find_path(IRRLICHT_INCLUDE_DIR irrlicht.h PATH_SUFFIXES irrlicht REQUIRED)
find_library(IRRLICHT_LIBRARY Irrlicht REQUIRED)
find_file(IRRLICHT_DLL Irrlicht.dll HINTS ${QV_WIN_PREFIX}/bin NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_library(Irrlicht::Irrlicht SHARED IMPORTED)
set_target_properties(Irrlicht::Irrlicht PROPERTIES
  IMPORTED_IMPLIB ${IRRLICHT_LIBRARY}
  IMPORTED_LOCATION ${IRRLICHT_DLL}
  INTERFACE_INCLUDE_DIRECTORIES ${IRRLICHT_INCLUDE_DIR})
configure_file(${IRRLICHT_DLL} ${QV_STAGE_DIR}/Irrlicht.dll COPYONLY)
configure_file(${PROJECT_SOURCE_DIR}/License.txt ${QV_STAGE_DIR}/License.txt COPYONLY)

