# The Windows program as its users get it: stripped, with a version resource
# and a manifest, in a zip with how to use it, the license and the browser
# page.
enable_language(RC)
set(manifest ${CMAKE_CURRENT_SOURCE_DIR}/packaging/dalemira.exe.manifest)
configure_file(packaging/windows-resources.rc.in windows-resources.rc @ONLY)
target_sources(dalemira PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/windows-resources.rc)
set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/windows-resources.rc
    APPEND PROPERTY OBJECT_DEPENDS ${manifest})
# Symbols are of no use to a user; the tests run this same stripped program.
target_link_options(dalemira PRIVATE -s)

# windows_text(SOURCE NAME): SOURCE as NAME beside the program, with the
# project's version filled in and CR LF line ends, so that every Notepad
# shows its lines.
function(windows_text source name)
    file(READ ${source} content)
    # Read at configure time: an edit must configure again.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    string(CONFIGURE "${content}" content @ONLY)
    string(REPLACE "\n" "\r\n" content "${content}")
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name} "${content}")
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${name} DESTINATION .)
endfunction()
windows_text(packaging/windows-readme.txt README.txt)
windows_text(LICENSE LICENSE.txt)
install(TARGETS dalemira RUNTIME DESTINATION .)
# The browser page, for PCs that will not run the program: built by the web
# preset before the zip is packed.
set(DALEMIRA_PAGE ${CMAKE_CURRENT_SOURCE_DIR}/build/web/dalemira.html
    CACHE FILEPATH "The browser page that the zip holds beside the program")
# Missed now, not by CPack after the whole build. The 64-bit build, only
# for tests, is never packed. One line: CMake wraps a longer message.
if(NOT EXISTS ${DALEMIRA_PAGE} AND CMAKE_SIZEOF_VOID_P EQUAL 4)
    cmake_path(GET DALEMIRA_PAGE PARENT_PATH page_folder)
    cmake_path(GET page_folder FILENAME page_preset)
    if(page_folder STREQUAL "${CMAKE_CURRENT_SOURCE_DIR}/build/${page_preset}"
            AND page_preset MATCHES "^web")
        message(FATAL_ERROR "No page for the zip yet: first run cmake --workflow --preset ${page_preset}")
    endif()
    message(FATAL_ERROR "No page for the zip: ${DALEMIRA_PAGE} is missing")
endif()
install(FILES ${DALEMIRA_PAGE} DESTINATION . RENAME dalemira-peramban.html)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(CPACK_SYSTEM_NAME win32)
else()
    set(CPACK_SYSTEM_NAME win64)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
# The files at the zip's root: Explorer's Extract All, like most archivers,
# already unpacks into a folder named after the zip, and a folder of the
# same name inside it would hide the program one level deeper.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# CPack's zip keeps the builder's file times, user and group; rewritten, it
# holds nothing but the files and SOURCE_DATE_EPOCH, the same for anyone.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(CPACK_DALEMIRA_PYTHON ${Python3_EXECUTABLE})
set(CPACK_DALEMIRA_ZIP_SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/packaging/reproducible_zip.py)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/packaging/reproducible-zip.cmake)
include(CPack)
