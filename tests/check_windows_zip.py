#!/usr/bin/env python3
"""Checks the Windows zip: at its root and nothing else, the program,
stripped, the browser page, and the how-to and license texts, both with CR
LF line ends for every Notepad, the how-to in Indonesian first, in lines
that Notepad shows without wrapping. Each language's half of the how-to
stays short, gives the whole normal path on its first screen, and pictures
the program's screen as the native PROGRAM draws it for the choice and
value shown.

Needs Debian's python3-pefile, so run it with /usr/bin/python3.
Usage: check_windows_zip.py ZIP PROGRAM
"""
import re
import subprocess
import sys
import zipfile
from pathlib import PurePosixPath

import pefile

from check_windows_executable import stripping_problems

# The page's name alone tells it from the program where Explorer hides
# extensions ("peramban" is Indonesian for browser).
FILES = {"dalemira.exe", "README.txt", "LICENSE.txt", "dalemira-peramban.html"}
README_WIDTH = 72
HALF_LINES = 180
# What a hurried reader must meet within Notepad's first screen of each half:
# extracting, getting past SmartScreen, the letters, the decimal point, N.
FIRST_SCREEN_LINES = 30
QUICK_START = [
    ["Ekstrak Semua", "Tetap jalankan", "A = Celsius", "C = Fahrenheit", "titik desimal",
     "ketik N"],
    ["Extract All", "Run anyway", "A = Celsius", "C = Fahrenheit", "decimal point", "type N"],
]


def terminal_screen(program, choice, value):
    """The lines a terminal shows for CHOICE and VALUE up to the retry
    question: the program's output with each answer echoed after its prompt."""
    written = subprocess.run([program], input=f"{choice}\n{value}\nn\n".encode(),
                             capture_output=True, check=True, timeout=30).stdout
    typed, lines = [choice, value], []
    for line in written.decode("ascii").split("\n"):
        if line.endswith(": ") and typed:
            lines += [line + typed.pop(0), ""]
        else:
            lines.append(line.rstrip())
    return lines


def half_problems(language, lines, program):
    found = []
    if len(lines) > HALF_LINES:
        found.append(f"README.txt's {language} half has {len(lines)} lines, over {HALF_LINES}")
    first_screen = " ".join(" ".join(lines[:FIRST_SCREEN_LINES]).split())
    missing = [term for term in QUICK_START[language == "English"] if term not in first_screen]
    if missing:
        found.append(f"README.txt's {language} half lacks in its first {FIRST_SCREEN_LINES} "
                     f"lines: {missing}")
    start = next((n for n, line in enumerate(lines) if line == "  Program Dalemira"), None)
    end = next((n for n, line in enumerate(lines) if line.startswith("  Ingin coba lagi")), None)
    if start is None or end is None or end < start:
        return found + [f"README.txt's {language} half has no picture of the program's screen"]
    picture = [line[2:] for line in lines[start:end + 1]]
    choice = next((line.split(" : ")[1] for line in picture if line.startswith("Masukkan")), "")
    value = next((line.split(" : ")[1] for line in picture if line.startswith("Suhu")), "")
    drawn = terminal_screen(program, choice, value)
    if picture != drawn:
        at = next((n for n, (a, b) in enumerate(zip(picture, drawn)) if a != b),
                  min(len(picture), len(drawn)))
        found.append(f"README.txt's {language} picture differs from the program's screen for "
                     f"{choice} and {value} at its line {at + 1}: "
                     f"{picture[at:at + 1]} against {drawn[at:at + 1]}")
    return found


def problems(archive, program):
    names = archive.namelist()
    found = []
    if sorted(names) != sorted(FILES):
        found.append(f"holds {sorted(names)}, not exactly {sorted(FILES)} at its root")
    texts = {PurePosixPath(name).name: archive.read(name) for name in names}
    for name in {"README.txt", "LICENSE.txt"}:
        text = texts.get(name, b"")
        if text.count(b"\n") != text.count(b"\r\n"):
            found.append(f"{name} lacks CR LF line ends")
    readme = texts.get("README.txt", b"")
    if not 0 <= readme.find(b"Panduan singkat") < readme.find(b"Quick start"):
        found.append("README.txt does not give its quick start in Indonesian, then in English")
    # Each byte that is not ASCII stays one character, so widths hold.
    lines = readme.decode("ascii", "replace").split("\r\n")
    too_long = [number for number, line in enumerate(lines, 1) if len(line) > README_WIDTH]
    if too_long:
        found.append(f"README.txt has lines over {README_WIDTH} characters: {too_long}")
    # A quoted label or screen text split across two lines is hard to
    # match against what Windows shows.
    split = [number for number, line in enumerate(lines, 1) if line.count('"') % 2]
    if split:
        found.append(f"README.txt splits a quotation across lines: {split}")
    titles = [n for n, line in enumerate(lines) if re.match(r"dalemira \S+ - ", line)]
    if len(titles) != 2:
        found.append(f"README.txt has {len(titles)} title lines, not one for each language")
    else:
        found += half_problems("Indonesian", lines[:titles[1]], program)
        found += half_problems("English", lines[titles[1]:], program)
    if b"Copyright (c) 2026 the dalemira authors" not in texts.get("LICENSE.txt", b""):
        found.append("LICENSE.txt lacks the MIT license's copyright line")
    if "dalemira.exe" in texts:
        found += stripping_problems(pefile.PE(data=texts["dalemira.exe"]))
    return found


def main():
    path, program = sys.argv[1:3]
    with zipfile.ZipFile(path) as archive:
        found = problems(archive, program)
        print(f"{path}: {', '.join(sorted(archive.namelist()))}")
    for problem in found:
        print(f"{path}: {problem}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
