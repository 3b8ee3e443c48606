# The program for Windows users: one folder, unpacked anywhere, that runs as it is.
#   hexcavator.exe, the Qt and MinGW runtime DLLs it loads, qt.conf (plug-ins and
#   translations found beside the program, not where Qt was built), platforms/qwindows.dll,
#   styles/, translations/qtbase_ja.qm, README.md, manual/ (the Japanese user guide).
# `cpack -G ZIP` packs it as hexcavator-VERSION-win64.zip.
set_target_properties(hexcavator PROPERTIES WIN32_EXECUTABLE TRUE)
find_package(Qt6 REQUIRED COMPONENTS Network PrintSupport)

install(TARGETS hexcavator RUNTIME DESTINATION .)
install(FILES README.md DESTINATION .)
# The Japanese user guide, which the help command 目次 (F1) finds in manual/ beside the program.
install(DIRECTORY ${PROJECT_BINARY_DIR}/app/manual/ DESTINATION manual)
if(EXISTS ${PROJECT_SOURCE_DIR}/docs/guide-ja.md)
  install(FILES docs/guide-ja.md DESTINATION .)
endif()

foreach(module Core Gui Widgets Network PrintSupport)
  install(FILES $<TARGET_FILE:Qt6::${module}> DESTINATION .)
endforeach()
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
if(TARGET Qt6::QWindowsVistaStylePlugin)
  install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
endif()

# The compiler's own runtime, from where Debian's MinGW-w64 keeps it.
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  find_file(HX_RUNTIME_${dll} ${dll} NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH
            PATHS /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)
  if(NOT HX_RUNTIME_${dll})
    message(FATAL_ERROR "MinGW runtime ${dll} not found")
  endif()
  # Debian ships them with their symbols (libstdc++ alone is 23 MB): stripped for the package.
  set(stripped ${PROJECT_BINARY_DIR}/runtime/${dll})
  file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/runtime)
  execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded -o ${stripped} ${HX_RUNTIME_${dll}} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    set(stripped ${HX_RUNTIME_${dll}})
  endif()
  install(FILES ${stripped} DESTINATION .)
endforeach()

find_file(HX_QT_JA qtbase_ja.qm NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH PATHS /usr/share/qt6/translations)
if(HX_QT_JA)
  install(FILES ${HX_QT_JA} DESTINATION translations)
endif()
file(WRITE ${PROJECT_BINARY_DIR}/qt.conf "[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n")
install(FILES ${PROJECT_BINARY_DIR}/qt.conf DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME hexcavator)
set(CPACK_PACKAGE_VENDOR "Hexcavator developers")
set(CPACK_PACKAGE_FILE_NAME hexcavator-${PROJECT_VERSION}-win64)
include(CPack)
