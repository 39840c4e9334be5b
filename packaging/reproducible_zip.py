#!/usr/bin/env python3
"""Rewrites a zip so that it depends on nothing but its files' names and
contents: members in name order, each stamped with SOURCE_DATE_EPOCH (UTC,
the current time where it is unset), no owner, no extra fields, and Unix
modes 0755 for programs and 0644 for the rest.

Usage: reproducible_zip.py ZIP
"""
import os
import sys
import time
import zipfile


def main():
    path = sys.argv[1]
    stamp = time.gmtime(int(os.environ.get("SOURCE_DATE_EPOCH", time.time())))
    # A zip cannot hold a time before 1980.
    date_time = max(stamp[:6], (1980, 1, 1, 0, 0, 0))
    with zipfile.ZipFile(path) as archive:
        members = [(info.filename, archive.read(info)) for info in archive.infolist()
                   if not info.is_dir()]
    with zipfile.ZipFile(path, "w") as archive:
        for name, data in sorted(members):
            info = zipfile.ZipInfo(name, date_time)
            info.create_system = 3
            info.external_attr = (0o100755 if name.endswith(".exe") else 0o100644) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(info, data, compresslevel=9)
    return 0


if __name__ == "__main__":
    sys.exit(main())
