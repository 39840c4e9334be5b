#!/usr/bin/env python3
"""wasm-text.py PROGRAM.wasm OUTPUT: the WebAssembly gzipped, as base64 text
for the page to hold. Gzip shrinks it to about a quarter, and the browser
reads the page's text the faster; no time stamp, so the page is the same
bytes from the same program."""
import base64
import gzip
import sys
from pathlib import Path

program, output = sys.argv[1:]
packed = gzip.compress(Path(program).read_bytes(), compresslevel=9, mtime=0)
Path(output).write_text(base64.b64encode(packed).decode("ascii"), encoding="ascii")
