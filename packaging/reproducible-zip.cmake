# Run by CPack once the zip is made: rewrite it reproducibly.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    execute_process(COMMAND ${CPACK_DALEMIRA_PYTHON} ${CPACK_DALEMIRA_ZIP_SCRIPT} ${package}
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()
