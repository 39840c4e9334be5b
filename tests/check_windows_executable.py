#!/usr/bin/env python3
"""Checks the Windows build's executable: as objdump reads its headers, the
PE format of its processor, a console program, and imports only from DLLs
that every Windows has (no MinGW runtime DLL, which a user would lack); as
pefile reads it, stripped, with the version resource that Explorer shows and
a manifest that never asks for elevation.

Needs Debian's python3-pefile, so run it with /usr/bin/python3.
Usage: check_windows_executable.py OBJDUMP EXE PROCESSOR (x86 or AMD64) VERSION
"""
import re
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

import pefile

FORMATS = {"x86": ("pei-i386", "010b"), "AMD64": ("pei-x86-64", "020b")}
WINDOWS_DLLS = {"kernel32.dll", "msvcrt.dll", "user32.dll", "advapi32.dll", "shell32.dll",
                "gdi32.dll", "ole32.dll", "oleaut32.dll", "ws2_32.dll", "ntdll.dll"}
SUPPORTED_OS = {  # Vista, 7, 8, 8.1, 10 and 11
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}
RT_VERSION, RT_MANIFEST = 16, 24


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


def stripping_problems(pe):
    # Long section names (/4, ...) are the debug sections' names in COFF.
    debug = [name for name in (s.Name.rstrip(b"\0").decode() for s in pe.sections)
             if name.startswith((".debug", "/"))]
    symbols = pe.FILE_HEADER.PointerToSymbolTable or pe.FILE_HEADER.NumberOfSymbols
    return ["not stripped: " + ", ".join(debug or ["a symbol table"])] if debug or symbols else []


def resource(pe, kind):
    """The data of resource 1 of the given type, in its first language."""
    directory = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for entry in directory.entries if directory else []:
        if entry.id == kind:
            for name in entry.directory.entries:
                if name.id == 1:
                    leaf = name.directory.entries[0].data
                    return pe.get_data(leaf.struct.OffsetToData, leaf.struct.Size)
    return None


def version_problems(pe, version):
    found = []
    if resource(pe, RT_VERSION) is None:
        return ["no version resource"]
    major, minor, patch = (int(part) for part in version.split("."))
    fixed = pe.VS_FIXEDFILEINFO[0]
    if (fixed.FileVersionMS, fixed.FileVersionLS) != (major << 16 | minor, patch << 16):
        found.append("the fixed file version is not " + version + ".0")
    info = {entry.Key: entry for entry in pe.FileInfo[0]}
    translation = info[b"VarFileInfo"].Var[0].entry.get(b"Translation") if b"VarFileInfo" in info else None
    if translation != "0x0421 0x04b0":
        found.append(f"translation is {translation}, not Indonesian (0x0421) in Unicode (1200)")
    tables = {table.LangID: table.entries for table in info[b"StringFileInfo"].StringTable} \
        if b"StringFileInfo" in info else {}
    strings = {key.decode(): value.decode() for key, value in tables.get(b"042104B0", {}).items()}
    expected = {"FileVersion": version + ".0", "ProductVersion": version, "ProductName": "dalemira",
                "InternalName": "dalemira", "OriginalFilename": "dalemira.exe",
                "LegalCopyright": "Copyright (c) 2026 the dalemira authors"}
    for key, value in expected.items():
        if strings.get(key) != value:
            found.append(f"{key} is {strings.get(key)!r}, not {value!r}")
    description = strings.get("FileDescription", "")
    # The four scales as an Indonesian list writes them: a comma before "dan".
    if not all(words in description for words in ("suhu", "Celsius, Reamur, Fahrenheit, dan Kelvin")):
        found.append(f"FileDescription {description!r} does not say in Indonesian what it"
                     " converts, with the series comma")
    return found


def manifest_problems(pe):
    data = resource(pe, RT_MANIFEST)
    if data is None:
        return ["no manifest (resource 1 of type 24)"]
    root = ElementTree.fromstring(data)
    found = []
    levels = [element.attrib for element in root.iter("{urn:schemas-microsoft-com:asm.v3}requestedExecutionLevel")]
    if levels != [{"level": "asInvoker", "uiAccess": "false"}]:
        found.append(f"requestedExecutionLevel is {levels}, not asInvoker without uiAccess")
    systems = {element.get("Id") for element in
               root.iter("{urn:schemas-microsoft-com:compatibility.v1}supportedOS")}
    if systems != SUPPORTED_OS:
        found.append(f"supportedOS is {sorted(systems)}, not Vista to 11")
    return found


def main():
    objdump, exe, processor, version = sys.argv[1:5]
    headers = subprocess.run([objdump, "-p", exe], capture_output=True, text=True,
                             check=True).stdout
    pe = pefile.PE(exe)
    found = (problems(headers, processor) + stripping_problems(pe) + version_problems(pe, version)
             + manifest_problems(pe))
    for problem in found:
        print(f"{exe}: {problem}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
