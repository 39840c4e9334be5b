#!/usr/bin/env python3
"""Runs the converter on one recorded session and compares the result.

A session is three files side by side: NAME.in (bytes typed), NAME.out (every
byte the program must write) and NAME.exit (its exit status). The comparison
is byte for byte; on a difference the first differing bytes are shown.

With --wine LOADER the program is a Windows build started by that wine
loader: its CR LF line ends are read as LF, and the terminal's clearing bytes
are taken out of the expectation, since `cls` writes nothing into a pipe.
"""
import argparse
import subprocess
import sys
from pathlib import Path

CLEAR = b"\x1b[H\x1b[2J\x1b[3J"
TIMEOUT_SECONDS = 30


def windows_expectation(expected: bytes) -> bytes:
    return expected.replace(CLEAR, b"")


def from_windows(actual: bytes) -> bytes:
    return actual.replace(b"\r\n", b"\n")


def first_difference(actual: bytes, expected: bytes) -> str:
    at = next((i for i, (a, e) in enumerate(zip(actual, expected)) if a != e),
              min(len(actual), len(expected)))
    start = max(0, at - 40)
    return (f"first difference at byte {at} (actual {len(actual)} bytes, "
            f"expected {len(expected)} bytes)\n"
            f"  expected: {expected[start:at + 40]!r}\n"
            f"  actual:   {actual[start:at + 40]!r}")


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("session", help="path of the session without extension")
    parser.add_argument("--wine", metavar="LOADER")
    args = parser.parse_args()

    session = Path(args.session)
    typed = session.with_suffix(".in").read_bytes()
    expected = session.with_suffix(".out").read_bytes()
    expected_status = int(session.with_suffix(".exit").read_text())

    command = [args.program]
    if args.wine:
        command.insert(0, args.wine)
        expected = windows_expectation(expected)
    try:
        run = subprocess.run(command, input=typed, stdout=subprocess.PIPE,
                             timeout=TIMEOUT_SECONDS, check=False)
    except subprocess.TimeoutExpired:
        print(f"{session.name}: still running after {TIMEOUT_SECONDS} s")
        return 1
    actual = run.stdout
    if args.wine:
        actual = from_windows(actual)

    failures = []
    if actual != expected:
        failures.append("output differs: " + first_difference(actual, expected))
    if run.returncode != expected_status:
        failures.append(f"exit status {run.returncode}, expected {expected_status}")
    for failure in failures:
        print(f"{session.name}: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
