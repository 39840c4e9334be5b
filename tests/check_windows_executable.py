#!/usr/bin/env python3
"""Checks the Windows build's executable as objdump reads its headers: the
PE format of its processor, a console program, and imports only from DLLs
that every Windows has (no MinGW runtime DLL, which a user would lack).

Usage: check_windows_executable.py OBJDUMP EXE PROCESSOR (x86 or AMD64)
"""
import re
import subprocess
import sys

FORMATS = {"x86": ("pei-i386", "010b"), "AMD64": ("pei-x86-64", "020b")}
WINDOWS_DLLS = {"kernel32.dll", "msvcrt.dll", "user32.dll", "advapi32.dll", "shell32.dll",
                "gdi32.dll", "ole32.dll", "oleaut32.dll", "ws2_32.dll", "ntdll.dll"}


def problems(headers, processor):
    file_format, magic = FORMATS[processor]
    found = []
    if not re.search(rf"file format {re.escape(file_format)}$", headers, re.MULTILINE):
        found.append(f"not in file format {file_format}")
    if not re.search(rf"^Magic\s+{magic}\b", headers, re.MULTILINE):
        found.append(f"optional header magic is not {magic}")
    if not re.search(r"^Subsystem\s+00000003\s+\(Windows CUI\)", headers, re.MULTILINE):
        found.append("not a console (Windows CUI) program")
    dlls = re.findall(r"DLL Name: (\S+)", headers)
    if not dlls:
        found.append("no imported DLL found at all; objdump's output was not understood")
    foreign = [dll for dll in dlls if dll.lower() not in WINDOWS_DLLS]
    if foreign:
        found.append("imports DLLs that Windows does not ship: " + ", ".join(foreign))
    return found


def main():
    objdump, exe, processor = sys.argv[1:4]
    headers = subprocess.run([objdump, "-p", exe], capture_output=True, text=True,
                             check=True).stdout
    found = problems(headers, processor)
    for problem in found:
        print(f"{exe}: {problem}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
