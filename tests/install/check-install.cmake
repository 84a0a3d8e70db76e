# Installs the build into a fresh prefix and checks what a desktop needs: the application
# folder, a desktop entry that desktop-file-validate accepts and that names the installed
# program, the icons, and bin/pimora.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${installed}")
endif()
foreach(file lib/pimora/pimora lib/pimora/kosg.dat lib/pimora/readme.xml bin/pimora
             share/applications/pimora.desktop share/icons/hicolor/48x48/apps/pimora.png
             share/icons/hicolor/256x256/apps/pimora.png share/man/man1/pimora.1.gz
             share/metainfo/org.pimora.Pimora.metainfo.xml share/doc/pimora/copyright)
    if(NOT EXISTS "${PREFIX}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
execute_process(COMMAND desktop-file-validate "${PREFIX}/share/applications/pimora.desktop"
                RESULT_VARIABLE valid OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(NOT valid EQUAL 0 OR said)
    message(FATAL_ERROR "desktop-file-validate: ${said}")
endif()
file(STRINGS "${PREFIX}/share/applications/pimora.desktop" exec REGEX "^Exec=")
if(NOT exec STREQUAL "Exec=${PREFIX}/lib/pimora/pimora")
    message(FATAL_ERROR "the entry runs ${exec}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
