#!/usr/bin/env python3
"""Checks the Windows zip: the program and its how-to-run text, and that the
text has CR LF line ends for every Notepad."""
import sys
import zipfile


def main():
    path = sys.argv[1]
    with zipfile.ZipFile(path) as archive:
        names = {name.rsplit("/", 1)[-1]: name for name in archive.namelist()}
        problems = [f"{path}: no {wanted}" for wanted in ("dalemira.exe", "README.txt")
                    if wanted not in names]
        if "README.txt" in names:
            text = archive.read(names["README.txt"])
            if b"dalemira.exe" not in text or text.count(b"\n") != text.count(b"\r\n"):
                problems.append(f"{path}: README.txt lacks the how-to or CR LF line ends")
    for problem in problems:
        print(problem)
    print(f"{path}: {', '.join(sorted(names))}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
