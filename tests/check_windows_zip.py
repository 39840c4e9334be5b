#!/usr/bin/env python3
"""Checks the Windows zip: at its root and nothing else, the program,
stripped, and its how-to and license texts, both with CR LF line ends for
every Notepad, the how-to in Indonesian first, in lines that Notepad shows
without wrapping.

Needs Debian's python3-pefile, so run it with /usr/bin/python3.
"""
import sys
import zipfile
from pathlib import PurePosixPath

import pefile

from check_windows_executable import stripping_problems

FILES = {"dalemira.exe", "README.txt", "LICENSE.txt"}
README_WIDTH = 72


def problems(archive):
    names = archive.namelist()
    found = []
    if sorted(names) != sorted(FILES):
        found.append(f"holds {sorted(names)}, not exactly {sorted(FILES)} at its root")
    texts = {PurePosixPath(name).name: archive.read(name) for name in names}
    for name in FILES - {"dalemira.exe"}:
        text = texts.get(name, b"")
        if text.count(b"\n") != text.count(b"\r\n"):
            found.append(f"{name} lacks CR LF line ends")
    readme = texts.get("README.txt", b"")
    if not 0 <= readme.find(b"Cara menjalankan") < readme.find(b"How to run it"):
        found.append("README.txt does not say how to run it in Indonesian, then in English")
    too_long = [number for number, line in enumerate(readme.split(b"\r\n"), 1)
                if len(line) > README_WIDTH]
    if too_long:
        found.append(f"README.txt has lines over {README_WIDTH} characters: {too_long}")
    if b"Copyright (c) 2026 the dalemira authors" not in texts.get("LICENSE.txt", b""):
        found.append("LICENSE.txt lacks the MIT license's copyright line")
    if "dalemira.exe" in texts:
        found += stripping_problems(pefile.PE(data=texts["dalemira.exe"]))
    return found


def main():
    path = sys.argv[1]
    with zipfile.ZipFile(path) as archive:
        found = problems(archive)
        print(f"{path}: {', '.join(sorted(archive.namelist()))}")
    for problem in found:
        print(f"{path}: {problem}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
