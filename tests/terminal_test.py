#!/usr/bin/env python3
"""Types a session into the converter in a real terminal (tmux) and checks the
visible screen after every step, clearing included, as a person would see it.

With --wine LOADER the program is a Windows build started by that wine loader.
Wine's console draws the program's console calls into the terminal, so the
same screens must show: `cls` has to clear them.
"""
import argparse
import os
import shlex
import subprocess
import sys
import tempfile
import time

WAIT_SECONDS = 10
EQ = "=" * 45
MENU = ["Program Dalemira", EQ,
        "A = Celsius ke Reamur, Fahrenheit, Kelvin",
        "B = Reamur ke Celsius, Fahrenheit, Kelvin",
        "C = Fahrenheit ke Celsius, Reamur, Kelvin",
        "D = Kelvin ke Celsius, Reamur, Fahrenheit",
        EQ, ""]
ERROR = ["Kode yang Anda masukkan salah!!", ""]

# Each step: what is typed (None: nothing yet), then the whole screen that
# must follow, from its first line. The terminal echoes what is typed; tmux
# shows no trailing blanks.
STEPS = [
    (None, MENU + ["Masukkan Pilihan :"]),
    ("x", ERROR + MENU + ["Masukkan Pilihan :"]),
    ("a", ERROR + MENU + ["Masukkan Pilihan : a", "", "Suhu Celsius    :"]),
    ("100", ERROR + MENU + ["Masukkan Pilihan : a", "", "Suhu Celsius    : 100", "",
                            "Suhu Reamur     : 80", "Suhu Fahrenheit : 212",
                            "Suhu Kelvin     : 373", "", "Ingin coba lagi (Y/N) ?"]),
    ("x", ERROR + ["", "Ingin coba lagi (Y/N) ?"]),
    ("y", MENU + ["Masukkan Pilihan :"]),
    ("c", MENU + ["Masukkan Pilihan : c", "", "Suhu Fahrenheit :"]),
    ("0", MENU + ["Masukkan Pilihan : c", "", "Suhu Fahrenheit : 0", "",
                  "Suhu Celsius    : -17.7778", "Suhu Reamur     : -14.2222",
                  "Suhu Kelvin     : 255.222", "", "Ingin coba lagi (Y/N) ?"]),
]
LAST_SCREEN = STEPS[-1][1][:-1] + ["Ingin coba lagi (Y/N) ? N"]


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("--wine", metavar="LOADER")
    args = parser.parse_args()
    command = shlex.join(([args.wine] if args.wine else []) + [os.path.abspath(args.program)])
    with tempfile.TemporaryDirectory() as folder:
        socket = os.path.join(folder, "tmux.socket")
        env = dict(os.environ, TERM="xterm")

        def tmux(*words: str) -> str:
            return subprocess.run(["tmux", "-S", socket, "-f", "/dev/null", *words],
                                  check=True, capture_output=True, text=True,
                                  env=env).stdout

        def screen(*history: str) -> list:
            lines = tmux("capture-pane", "-p", "-t", "converter", *history).split("\n")
            while lines and lines[-1].strip() == "":
                lines.pop()
            return [line.rstrip() for line in lines]

        def wait_for(expected: list, what: str) -> bool:
            deadline = time.monotonic() + WAIT_SECONDS
            seen = screen()
            while seen != expected and time.monotonic() < deadline:
                time.sleep(0.05)
                seen = screen()
            if seen == expected:
                return True
            print(f"after {what}: the screen is not as expected")
            print("expected:\n  " + "\n  ".join(expected))
            print("seen:\n  " + "\n  ".join(seen))
            return False

        status_file = os.path.join(folder, "status")
        wrapped = f"{command}; echo $? > '{status_file}.part'; mv '{status_file}.part' '{status_file}'"
        tmux("new-session", "-d", "-s", "converter", "-x", "80", "-y", "40", "sh", "-c", wrapped,
             ";", "set-option", "-t", "converter", "remain-on-exit", "on")
        try:
            for typed, expected in STEPS:
                if typed is not None:
                    tmux("send-keys", "-t", "converter", "-l", typed)
                    tmux("send-keys", "-t", "converter", "Enter")
                what = "start" if typed is None else f"typing {typed!r}"
                if not wait_for(expected, what):
                    return 1
                if typed == "y" and tmux("display-message", "-p", "-t", "converter",
                                         "#{history_size}").strip() != "0":
                    print("after 'y': the scrollback was not cleared")
                    return 1

            tmux("send-keys", "-t", "converter", "-l", "N")
            tmux("send-keys", "-t", "converter", "Enter")
            # The shell around the program records its exit status; tmux's own
            # record of it is not always there in time.
            deadline = time.monotonic() + WAIT_SECONDS
            while not os.path.exists(status_file) and time.monotonic() < deadline:
                time.sleep(0.05)
            if not os.path.exists(status_file):
                print("after typing 'N': the program is still running")
                return 1
            with open(status_file, encoding="ascii") as recorded:
                status = recorded.read().strip()
            if status != "0":
                print(f"after typing 'N': exit status {status}, expected 0")
                return 1
            # tmux adds its own "Pane is dead" line at the bottom, which can
            # scroll the top line into the (otherwise empty) history.
            seen = [line for line in screen("-S", "-") if not line.startswith("Pane is dead")]
            while seen and seen[-1] == "":
                seen.pop()
            if seen != LAST_SCREEN:
                print("after typing 'N': the last screen did not stay as it was")
                print("seen:\n  " + "\n  ".join(seen))
                return 1
        finally:
            subprocess.run(["tmux", "-S", socket, "kill-server"], capture_output=True, check=False)
    print(f"{len(STEPS) + 1} screens as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main())
