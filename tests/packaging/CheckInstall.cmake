# Installs the build into a fresh prefix and checks that every file lands
# where the desktop looks for it, and that the installed tools work from
# there: the viewer's help texts beside its folder, the thumbnailer on the
# demo drawing without a display.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(f
    bin/tolvani-cli
    share/tolvani/はじめに.txt
    share/tolvani/エクセルにJWW.txt
    share/tolvani/エクセルをJWW.txt
    share/applications/jp.morlen.Tolvani.desktop
    share/mime/packages/tolvani.xml
    share/icons/hicolor/scalable/apps/tolvani.svg
    share/thumbnailers/tolvani.thumbnailer
    share/metainfo/jp.morlen.Tolvani.metainfo.xml
    share/doc/tolvani/copyright)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
if(WITH_VIEWER AND NOT EXISTS "${PREFIX}/bin/tolvani")
  message(FATAL_ERROR "not installed: bin/tolvani")
endif()
file(READ "${PREFIX}/share/thumbnailers/tolvani.thumbnailer" thumbnailer)
if(NOT thumbnailer MATCHES "\nExec=tolvani-cli thumbnail %i %o %s\n")
  message(FATAL_ERROR "the thumbnailer's command line is not the tool's: ${thumbnailer}")
endif()
set(ENV{QT_QPA_PLATFORM} "")
set(ENV{DISPLAY} "")
set(ENV{WAYLAND_DISPLAY} "")
execute_process(COMMAND "${PREFIX}/bin/tolvani-cli" thumbnail "${DEMO}" "${PREFIX}/thumb.png" 128
                RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT EXISTS "${PREFIX}/thumb.png")
  message(FATAL_ERROR "the installed thumbnailer failed: ${result}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
