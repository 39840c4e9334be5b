#!/usr/bin/env python3
"""wasm-text.py PROGRAM.wasm OUTPUT: the WebAssembly as base64 text, for the
page to hold apart from emscripten's script and compile itself."""
import base64
import sys
from pathlib import Path

program, output = sys.argv[1:]
Path(output).write_text(base64.b64encode(Path(program).read_bytes()).decode("ascii"),
                        encoding="ascii")
