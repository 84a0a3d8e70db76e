# What an installed Pimora carries besides the program, and the Debian package made of it
# (`scripts/package.sh`, or `cpack -G DEB` in a build).

# Debian wants its manual pages and changelog compressed, without a time stamp, so that the
# same sources make the same package.
set(PIMORA_DOC_DIR ${CMAKE_BINARY_DIR}/doc)
file(MAKE_DIRECTORY ${PIMORA_DOC_DIR})
foreach(doc pimora.1 debian/changelog)
    get_filename_component(name ${doc} NAME)
    add_custom_command(
        OUTPUT ${PIMORA_DOC_DIR}/${name}.gz
        COMMAND sh -c "gzip -9 -n -c '${CMAKE_SOURCE_DIR}/resources/${doc}' > '${name}.gz'"
        WORKING_DIRECTORY ${PIMORA_DOC_DIR}
        DEPENDS ${CMAKE_SOURCE_DIR}/resources/${doc}
        VERBATIM)
    list(APPEND PIMORA_DOCS ${PIMORA_DOC_DIR}/${name}.gz)
endforeach()
add_custom_target(app_docs ALL DEPENDS ${PIMORA_DOCS})

install(FILES ${PIMORA_DOC_DIR}/pimora.1.gz DESTINATION share/man/man1)
install(FILES ${CMAKE_SOURCE_DIR}/resources/org.pimora.Pimora.metainfo.xml
        DESTINATION share/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/resources/debian/copyright ${PIMORA_DOC_DIR}/changelog.gz
        DESTINATION share/doc/pimora)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pimora)
set(CPACK_PACKAGE_VENDOR "Pimora developers")
set(CPACK_PACKAGE_CONTACT "Pimora developers <developers@pimora.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "personal information manager: calendar, journal and notes")
set(CPACK_PACKAGE_DESCRIPTION
    "Pimora keeps the information of one person: a calendar with a month grid, one
plain-text journal entry for every day and timed events of the event types the
user keeps, and Thoughts, a tree of named notes. Both can be searched.
Everything is kept in one SQLite file in the user's data folder, readable by
its owner only, with backups made without being asked.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://pimora.invalid/")
include(CPack)
