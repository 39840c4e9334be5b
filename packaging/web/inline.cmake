# cmake -DTEMPLATE=page.html -DOUTPUT=out.html -DNAME=file... -P inline.cmake
# Writes TEMPLATE with each line @NAME@ replaced by the contents of the file
# that NAME names, so that the page needs no other file and fetches nothing.
file(READ ${TEMPLATE} page)
string(REGEX MATCHALL "@[A-Z_]+@" placeholders "${page}")
foreach(placeholder IN LISTS placeholders)
    string(REPLACE "@" "" name ${placeholder})
    file(READ ${${name}} content)
    # A source map is for a developer's tools, and would name a file that
    # is not there.
    string(REGEX REPLACE "\n//# sourceMappingURL=[^\n]*" "" content "${content}")
    # Inside a script element, this would end it.
    string(REPLACE "</script" "<\\/script" content "${content}")
    string(REPLACE "${placeholder}" "${content}" page "${page}")
endforeach()
file(WRITE ${OUTPUT} "${page}")
