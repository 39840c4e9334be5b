# What a Debian user gets besides the program: the manual pages, which
# `cmake --install` puts under any prefix, and the target `deb`, which makes
# the Debian package with Debian's own tools (build-deb.sh).
include(GNUInstallDirs)

install(TARGETS dalemira RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# English and Indonesian, with the project's version, compressed as Debian
# Policy asks: gzip -9n, best compression and no name or time in the header.
set(manual_pages)
foreach(language IN ITEMS "" "id/")
    set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${language}dalemira.1)
    configure_file(man/${language}dalemira.1.in ${page} @ONLY)
    add_custom_command(OUTPUT ${page}.gz
        COMMAND gzip -9nkf ${page}
        DEPENDS ${page}
        VERBATIM)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/${language}man1)
    list(APPEND manual_pages ${page}.gz)
endforeach()
add_custom_target(manual_pages ALL DEPENDS ${manual_pages})

add_custom_target(deb
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/build-deb.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION}
    COMMENT "Making the Debian package"
    VERBATIM)
add_dependencies(deb dalemira manual_pages)
