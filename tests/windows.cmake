# Tests built for Windows. GoogleTest comes from Debian's source package
# (googletest), compiled here with the cross compiler.
set(QV_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${QV_GTEST_SOURCE_DIR} ${CMAKE_CURRENT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# The settings suite that the file store runs on Linux, here against the
# registry; each case clears the key for itself, so one process runs them all.
add_executable(settings_key_test
  settings_key_test.cpp
  support/settings_store.h
  support/settings_store_registry.cpp
  support/settings_store_values.cpp)
set_target_properties(settings_key_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
target_include_directories(settings_key_test PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(settings_key_test PRIVATE qv_settings gtest_main advapi32 qv_warnings)

# A stand-in for the show, which the launcher's script installs as qvshow.exe.
add_executable(qvshow_stub WIN32 wine/qvshow_stub.cpp)
set_target_properties(qvshow_stub PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
target_link_libraries(qvshow_stub PRIVATE qv_warnings)

# The scripts run the Windows programs under Wine, each in a private prefix;
# the launcher's needs a virtual X server and drives the dialogs.
add_test(NAME settings_key_wine COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/wine/settings_wine.sh)
set_tests_properties(settings_key_wine PROPERTIES
  ENVIRONMENT "QV_WIN_BUILD=${CMAKE_BINARY_DIR}" TIMEOUT 300 LABELS wine)
if(TARGET Quorvel3D)
  add_test(NAME launcher_wine COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/wine/launcher_wine.sh)
  set_tests_properties(launcher_wine PROPERTIES
    ENVIRONMENT "QV_WIN_BUILD=${CMAKE_BINARY_DIR}" TIMEOUT 300 LABELS wine RESOURCE_LOCK xserver)
endif()
