#!/usr/bin/env python3
"""Runs the converter on seeded random input, in two kinds.

Noise: random byte strings built from everything a keyboard or a pipe can
send at the two questions and the temperature prompt. Every run has to end
by itself, with status 0 or 1, nothing on stderr, and output bounded by the
input it was given.

Sessions: random well-formed conversions whose whole output is predicted
here, from the formulas and the texts, then compared byte for byte.

The seed is printed; `--seed N` repeats a run exactly. With --wine LOADER
the program is a Windows build, run as the session tests run one.
"""
import argparse
import concurrent.futures
import os
import random
import select
import subprocess
import sys
import tempfile
import time

from check_session import CLEAR, first_difference, from_windows, windows_expectation

DEFAULT_SEED = 20261207
TIMEOUT_SECONDS = 20
# One invalid letter at the menu costs the longest reply: the error, the
# whole menu and the prompt, about 340 bytes. A run may also write the first
# screen before reading anything.
BYTES_PER_INPUT_BYTE = 400
ONE_SCREEN = 80 * 25

EQ = "=" * 45
MENU = ("Program Dalemira \n" + EQ + "\n"
        "A = Celsius ke Reamur, Fahrenheit, Kelvin\n"
        "B = Reamur ke Celsius, Fahrenheit, Kelvin\n"
        "C = Fahrenheit ke Celsius, Reamur, Kelvin\n"
        "D = Kelvin ke Celsius, Reamur, Fahrenheit\n" + EQ + "\n\n"
        "Masukkan Pilihan : ")
RETRY = "\nIngin coba lagi (Y/N) ? "
LABELS = {
    "celsius": "Suhu Celsius    : ",
    "reamur": "Suhu Reamur     : ",
    "fahrenheit": "Suhu Fahrenheit : ",
    "kelvin": "Suhu Kelvin     : ",
}


# Python floats are IEEE doubles with the same rounding, so each step below
# is the same operation the program does, in the same order.
def from_celsius(c):
    return [("reamur", (4.0 * c) / 5.0), ("fahrenheit", ((9.0 * c) / 5.0) + 32.0),
            ("kelvin", c + 273.0)]


def from_reamur(r):
    return [("celsius", (5.0 * r) / 4.0), ("fahrenheit", ((9.0 * r) / 4.0) + 32.0),
            ("kelvin", ((r * 5.0) / 4.0) + 273.0)]


def from_fahrenheit(f):
    return [("celsius", ((f - 32.0) * 5.0) / 9.0), ("reamur", ((f - 32.0) * 4.0) / 9.0),
            ("kelvin", (((f - 32.0) * 5.0) / 9.0) + 273.0)]


def from_kelvin(k):
    return [("celsius", k - 273.0), ("reamur", ((k - 273.0) * 4.0) / 5.0),
            ("fahrenheit", (((k - 273.0) * 9.0) / 5.0) + 32.0)]


SCALES = {"a": ("celsius", from_celsius), "b": ("reamur", from_reamur),
          "c": ("fahrenheit", from_fahrenheit), "d": ("kelvin", from_kelvin)}


def random_number(rng):
    """A number as a person or a script might type it, in a form that the
    stream's extraction reads whole."""
    sign = rng.choice(["", "", "-", "+"])
    form = rng.randrange(9)
    if form == 0:
        return sign + str(rng.randrange(1000))
    if form == 1:
        return sign + f"{rng.randrange(10000)}.{rng.randrange(1000):0{rng.randrange(1, 4)}d}"
    if form == 2:
        return sign + rng.choice([".5", "5.", "0.25", "007", "00.100"])
    if form == 3:
        mantissa = rng.choice(["1", "2.5", "9.99999", "1.8", "7"])
        exponent = rng.choice(["", "+", "-"]) + str(rng.randrange(0, 20))
        return sign + mantissa + rng.choice("eE") + exponent
    if form == 4:
        return rng.choice(["-0", "-0.0", "0", "+0", "-0e5"])
    if form == 5:  # near the ends of the double range, where results overflow
        return sign + rng.choice(["1.7e308", "1e307", "3e307", "1e300", "2.2e-308",
                                  "4.9e-324", "1e-310", "1e-400"])
    if form == 6:  # where printing changes to exponent form
        return sign + rng.choice(["999999.4", "999999.5", "555555.3", "0.0001", "0.00009999"])
    if form == 7:
        return sign + repr(rng.uniform(0.0, 500.0))
    return sign + repr(rng.uniform(0.0, 1e9))


def random_gap(rng):
    return "".join(rng.choice([" ", "\t", "\n", "\r\n", "  \n"]) for _ in range(rng.randint(1, 3)))


def expected_output(conversions, answered):
    """Everything the converter writes for `conversions`, a list of (menu
    letter, typed number) each answered yes but the last. That one is
    answered no, or, if not `answered`, input ends at the retry question."""
    expected = [MENU]
    for number, (letter, typed) in enumerate(conversions):
        if number > 0:
            expected.append(CLEAR.decode() + MENU)
        source, formulas = SCALES[letter.lower()]
        expected += ["\n", LABELS[source], "\n"]
        for scale, value in formulas(float(typed)):
            expected.append(f"{LABELS[scale]}{value:g}\n")
        expected.append(RETRY)
    if not answered:
        expected.append("\n")
    return "".join(expected).encode()


def random_session(rng):
    """Returns (typed, expected output, expected status)."""
    conversions = [(rng.choice("aAbBcCdD"), random_number(rng)) for _ in range(rng.randint(1, 6))]
    typed = [rng.choice(["", "\n", " \t"])]
    for number, (letter, number_text) in enumerate(conversions):
        if number > 0:
            typed += [rng.choice("yY"), random_gap(rng)]
        typed += [letter, random_gap(rng), number_text, random_gap(rng)]
    ending = rng.choice(["n", "N", "n\n", ""])
    typed.append(ending)
    return "".join(typed).encode(), expected_output(conversions, ending != ""), 0


NOISE_PIECES = [b"a", b"A", b"b", b"B", b"c", b"C", b"d", b"D", b"y", b"Y", b"n", b"N",
                b"x", b"0", b"1", b"5", b"9", b"42", b"-", b"+", b".", b",", b"e", b"E",
                b" ", b"\t", b"\r", b"\n", b"\r\n", b"\x00", b"\x80", b"\xe9", b"\xff",
                b"1e999", b"inf", b"nan"]


def random_noise(rng):
    if rng.randrange(50) == 0:
        return b""
    return b"".join(rng.choice(NOISE_PIECES) for _ in range(rng.randint(1, 120)))


class Outcome:
    def __init__(self, status=None, stdout=b"", stderr=b"", problem=""):
        self.status, self.stdout, self.stderr, self.problem = status, stdout, stderr, problem


def run(command, typed):
    """Runs one case. Output is read only up to its bound, and a run past the
    time limit is killed, so a runaway program fails fast instead of filling
    memory."""
    limit = BYTES_PER_INPUT_BYTE * len(typed) + ONE_SCREEN
    with tempfile.TemporaryFile() as stderr:
        # The input is far smaller than a pipe's buffer, so writing it all
        # before reading cannot block.
        with subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                              stderr=stderr) as process:
            try:
                process.stdin.write(typed)
                process.stdin.close()
            except BrokenPipeError:
                pass
            stdout = bytearray()
            deadline = time.monotonic() + TIMEOUT_SECONDS
            problem = ""
            while not problem:
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([process.stdout], [], [], left)[0]:
                    problem = f"still running after {TIMEOUT_SECONDS} s"
                    break
                chunk = os.read(process.stdout.fileno(), 65536)
                if not chunk:
                    break
                stdout += chunk
                if len(stdout) > limit:
                    problem = f"wrote more than {limit} bytes"
            if problem:
                process.kill()
            status = process.wait()
        stderr.seek(0)
        return Outcome(status, bytes(stdout), stderr.read(), problem)


def common_problems(done):
    problems = [done.problem] if done.problem else []
    if done.stderr:
        problems.append(f"wrote to stderr: {done.stderr[:2000]!r}")
    return problems


def check_noise(command, typed):
    done = run(command, typed)
    problems = common_problems(done)
    if not done.problem and done.status not in (0, 1):
        problems.append(f"exit status {done.status}")
    return "; ".join(problems)


def check_session(command, case, windows):
    typed, expected, status = case
    done = run(command, typed)
    problems = common_problems(done)
    actual = done.stdout
    if windows:
        actual, expected = from_windows(actual), windows_expectation(expected)
    if actual != expected:
        problems.append("output differs: " + first_difference(actual, expected))
    if not done.problem and done.status != status:
        problems.append(f"exit status {done.status}, expected {status}")
    return "; ".join(problems)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("--seed", type=int, default=DEFAULT_SEED)
    parser.add_argument("--noise", type=int, default=3000, help="random byte strings")
    parser.add_argument("--sessions", type=int, default=300, help="well-formed sessions")
    parser.add_argument("--wine", metavar="LOADER")
    args = parser.parse_args()

    print(f"seed {args.seed} (repeat with --seed {args.seed})")
    rng = random.Random(args.seed)
    noise = [random_noise(rng) for _ in range(args.noise)]
    sessions = [random_session(rng) for _ in range(args.sessions)]
    command = [args.wine, args.program] if args.wine else [args.program]

    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        noise_results = list(pool.map(lambda typed: check_noise(command, typed), noise))
        session_results = list(pool.map(lambda case: check_session(command, case, args.wine),
                                        sessions))
    failed = 0
    for kind, inputs, results in [("noise", noise, noise_results),
                                  ("session", [case[0] for case in sessions], session_results)]:
        failures = [(number, typed, problem)
                    for number, (typed, problem) in enumerate(zip(inputs, results)) if problem]
        failed += len(failures)
        for number, typed, problem in failures[:5]:
            print(f"{kind} {number}, input {typed!r}:\n  {problem}")
    print(f"{len(noise)} noise runs, {len(sessions)} sessions, {failed} failed (seed {args.seed})")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
