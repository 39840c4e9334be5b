# The browser edition: the same program compiled to WebAssembly, as a script
# for node that reads and writes standard input and output as the native
# program does (the tests run it), and as one page that holds the program,
# its terminal and their glue, and needs nothing else.
set(web ${CMAKE_CURRENT_SOURCE_DIR}/packaging/web)

# Node's own file descriptors give the bytes as written: emscripten's console
# would hold back a prompt until a line end. The WebAssembly is embedded, as
# the loader would fetch a separate file, which node cannot from a path. The
# first line lets the tests start it as they start a native program.
target_link_options(dalemira PRIVATE
    -sNODERAWFS=1 -sENVIRONMENT=node -sSINGLE_FILE=1 --extern-pre-js ${web}/shebang.js)
set_property(TARGET dalemira APPEND PROPERTY LINK_DEPENDS ${web}/shebang.js)
add_custom_command(TARGET dalemira POST_BUILD COMMAND chmod +x $<TARGET_FILE:dalemira>)

# For the page: started by the page's script as often as the user asks,
# reading and writing through the terminal (terminal-io.js), and waiting for
# a line with Asyncify, which only the read needs. Its WebAssembly goes into
# the page apart from the script, as base64 text (wasm-text.py): the page
# compiles it once, before the terminal, for every run. The link optimises
# for size (-Oz, after the build type's -O3, and emscripten's small
# allocator): the page's WebAssembly text is what the browser reads and
# compiles before the menu, and the program's work is too small to feel the
# difference.
# The read waits; named with its module, as emscripten puts any name without
# one in "env", where the read is not.
set(asyncify_read "-sASYNCIFY_IMPORTS=['wasi_snapshot_preview1.fd_read']")
add_executable(dalemira_page src/main.cpp)
target_link_libraries(dalemira_page PRIVATE dalemira_core)
target_link_options(dalemira_page PRIVATE -Oz -sMALLOC=emmalloc
    -sENVIRONMENT=web -sFILESYSTEM=0
    -sMODULARIZE=1 -sEXPORT_NAME=createDalemira
    -sASYNCIFY=1 ${asyncify_read}
    --js-library ${web}/terminal-io.js)
set_property(TARGET dalemira_page APPEND PROPERTY LINK_DEPENDS ${web}/terminal-io.js)

# Asyncify instruments only the functions that can be on the stack while the
# program waits for a line, not every function that makes an indirect call
# (253 KB of WebAssembly become 137 KB). The list is not kept by hand: a
# probe build, unoptimised and with its functions' names, runs every
# recorded session under node, and asyncify-list.js lists the functions on
# the stack at each read. The terminal test then types into the page built
# with it. Names the optimiser has inlined away only draw a warning.
add_executable(dalemira_page_probe EXCLUDE_FROM_ALL src/main.cpp)
target_link_libraries(dalemira_page_probe PRIVATE dalemira_core)
target_link_options(dalemira_page_probe PRIVATE -O0 --profiling-funcs
    -sENVIRONMENT=node -sFILESYSTEM=0 -sMODULARIZE=1 -sASYNCIFY=1 ${asyncify_read}
    --js-library ${web}/terminal-io.js --pre-js ${web}/read-stacks.js)
set_property(TARGET dalemira_page_probe APPEND PROPERTY LINK_DEPENDS
    ${web}/terminal-io.js ${web}/read-stacks.js)
find_program(NODE_EXECUTABLE node REQUIRED)
file(GLOB recorded_sessions CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/sessions/*.in)
set(asyncify_list ${CMAKE_CURRENT_BINARY_DIR}/asyncify-only.txt)
add_custom_command(OUTPUT ${asyncify_list}
    COMMAND ${NODE_EXECUTABLE} ${web}/asyncify-list.js $<TARGET_FILE:dalemira_page_probe>
        ${asyncify_list} ${recorded_sessions}
    DEPENDS dalemira_page_probe ${web}/asyncify-list.js ${recorded_sessions}
    VERBATIM)
add_custom_target(asyncify_list DEPENDS ${asyncify_list})
add_dependencies(dalemira_page asyncify_list)
target_link_options(dalemira_page PRIVATE -sASYNCIFY_ONLY=@${asyncify_list})
set_property(TARGET dalemira_page APPEND PROPERTY LINK_DEPENDS ${asyncify_list})
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(page_wasm_text ${CMAKE_CURRENT_BINARY_DIR}/dalemira_page.wasm.txt)
add_custom_command(OUTPUT ${page_wasm_text}
    COMMAND ${Python3_EXECUTABLE} ${web}/wasm-text.py
        ${CMAKE_CURRENT_BINARY_DIR}/dalemira_page.wasm ${page_wasm_text}
    DEPENDS dalemira_page ${web}/wasm-text.py
    VERBATIM)

# xterm.js and xterm-pty, as the lockfile pins them, installed in the build
# folder with their cache, so nothing lands in the sources or the home.
find_program(NPM_EXECUTABLE npm REQUIRED)
set(npm_folder ${CMAKE_CURRENT_BINARY_DIR}/npm)
set(npm_modules ${npm_folder}/node_modules)
set(xterm_js ${npm_modules}/@xterm/xterm/lib/xterm.js)
add_custom_command(OUTPUT ${xterm_js}
    COMMAND ${CMAKE_COMMAND} -E copy ${web}/package.json ${web}/package-lock.json ${npm_folder}
    COMMAND ${NPM_EXECUTABLE} ci --ignore-scripts --no-audit --no-fund --loglevel=error
        --cache=${npm_folder}/cache --update-notifier=false
    COMMAND ${CMAKE_COMMAND} -E touch ${xterm_js}
    WORKING_DIRECTORY ${npm_folder}
    DEPENDS ${web}/package.json ${web}/package-lock.json
    COMMENT "Installing the page's npm packages")
file(MAKE_DIRECTORY ${npm_folder})

# page_file(OUTPUT PROGRAM_JS PROGRAM_WASM [DEPENDS ...]): the page template
# with the terminal, the styles, the glue, PROGRAM_JS and the text of
# PROGRAM_WASM written into it, its scripts in ASCII (ascii-scripts.py).
function(page_file output program_js program_wasm)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -DTEMPLATE=${web}/page.html -DOUTPUT=${output}
            -DXTERM_CSS=${npm_modules}/@xterm/xterm/css/xterm.css -DXTERM_JS=${xterm_js}
            -DPTY_JS=${npm_modules}/xterm-pty/index.js -DPROGRAM_JS=${program_js}
            -DPROGRAM_WASM=${program_wasm} -DPAGE_JS=${web}/page.js -P ${web}/inline.cmake
        COMMAND ${Python3_EXECUTABLE} ${web}/ascii-scripts.py ${output}
        DEPENDS ${web}/page.html ${web}/page.js ${web}/inline.cmake ${web}/ascii-scripts.py
            ${xterm_js} ${program_js} ${program_wasm} ${ARGN}
        VERBATIM)
endfunction()
page_file(${CMAKE_CURRENT_BINARY_DIR}/dalemira.html $<TARGET_FILE:dalemira_page> ${page_wasm_text}
    dalemira_page)
add_custom_target(page ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/dalemira.html)
