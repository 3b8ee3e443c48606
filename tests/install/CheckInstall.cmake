# Installs the build into a scratch prefix and checks that every file a desktop install needs
# is where the desktop looks for it, and that the desktop entry names the installed program.
# Run by ctest with -DBUILD_DIR=... -DSCRATCH=...
file(REMOVE_RECURSE "${SCRATCH}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${SCRATCH}/usr"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
foreach(f bin/hexcavator share/applications/hexcavator.desktop
          share/icons/hicolor/scalable/apps/hexcavator.svg share/doc/hexcavator/README.md)
  if(NOT EXISTS "${SCRATCH}/usr/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
file(READ "${SCRATCH}/usr/share/applications/hexcavator.desktop" entry)
foreach(line "Exec=hexcavator %F" "Icon=hexcavator" "Type=Application")
  string(FIND "${entry}" "${line}" at)
  if(at LESS 0)
    message(FATAL_ERROR "desktop entry lacks '${line}'")
  endif()
endforeach()
file(REMOVE_RECURSE "${SCRATCH}")
