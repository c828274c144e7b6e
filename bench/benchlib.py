"""Measuring helpers of bench/run: timed runs, interleaved rounds, medians,
ratios and the results table. Kept apart from the scenarios so that they can
be tested without Wine or a JDK."""

import os
import statistics
import struct
import subprocess
import tempfile
import time


class RunFailed(RuntimeError):
    pass


def timed_run(argv, env=None, cwd=None, expect_code=None, before=None):
    """Seconds from starting argv to its end. `before` runs untimed first."""
    if before is not None:
        before()
    # Standard error goes to a file, not a pipe: a helper process that the
    # program leaves behind (Wine starts some) would hold a pipe open, and
    # the time would run until that one ends.
    with tempfile.TemporaryFile() as err:
        start = time.perf_counter()
        proc = subprocess.Popen(argv, env=env, cwd=cwd, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=err)
        code = proc.wait()
        elapsed = time.perf_counter() - start
        if expect_code is not None and code != expect_code:
            err.seek(0)
            raise RunFailed("%s ended with %d, expected %d: %s" % (
                argv[-1], code, expect_code, err.read().decode(errors="replace")[-400:]))
    return elapsed


def first_line_run(argv, expected, env=None, cwd=None, before=None):
    """Seconds from starting argv to the first line on its standard output,
    which must be `expected` (or satisfy it, when it is a function); the
    process is then waited for and must end with 0. `before` runs untimed
    first."""
    if before is not None:
        before()
    start = time.perf_counter()
    proc = subprocess.Popen(argv, env=env, cwd=cwd, stdin=subprocess.DEVNULL,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    line = proc.stdout.readline()
    elapsed = time.perf_counter() - start
    _, err = proc.communicate()
    text = line.decode(errors="replace").rstrip("\r\n")
    matches = expected(text) if callable(expected) else text == expected
    if not matches or proc.returncode != 0:
        raise RunFailed("%s: first line %r, exit code %d: %s" % (
            argv[0], text, proc.returncode, err.decode(errors="replace")[-400:]))
    return elapsed


def line_and_total_run(argv, expected, env=None, cwd=None, before=None):
    """(seconds to the first line on standard output, seconds to the end) of
    one run of argv; the line must be `expected` (or satisfy it, when it is
    a function) and the process end with 0. `before` runs untimed first."""
    if before is not None:
        before()
    start = time.perf_counter()
    proc = subprocess.Popen(argv, env=env, cwd=cwd, stdin=subprocess.DEVNULL,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    line = proc.stdout.readline()
    first = time.perf_counter() - start
    _, err = proc.communicate()
    total = time.perf_counter() - start
    text = line.decode(errors="replace").rstrip("\r\n")
    matches = expected(text) if callable(expected) else text == expected
    if not matches or proc.returncode != 0:
        raise RunFailed("%s: first line %r, exit code %d: %s" % (
            argv[0], text, proc.returncode, err.decode(errors="replace")[-400:]))
    return first, total


def interleaved(cases, runs, warmup=1, on_round=None):
    """Runs every case once per round, round after round, so that a slow
    spell of the machine hits all cases alike. `cases` maps a name to a
    function returning seconds; the result maps it to the list of times of
    the `runs` recorded rounds (the warm-up rounds are dropped). `on_round`
    is called before each round."""
    times = {name: [] for name in cases}
    for round_index in range(warmup + runs):
        if on_round is not None:
            on_round()
        for name, case in cases.items():
            seconds = case()
            if round_index >= warmup:
                times[name].append(seconds)
    return times


def median(values):
    if not values:
        raise ValueError("no values")
    return statistics.median(values)


def ratio(value, reference):
    """value / reference, or None where the reference is not positive."""
    if reference is None or value is None or reference <= 0:
        return None
    return value / reference


def format_seconds(seconds):
    if seconds is None:
        return "-"
    if seconds < 1:
        return "%.1f ms" % (seconds * 1000)
    return "%.2f s" % seconds


def format_target(target):
    """1.0 as "1.0", 0.85 as "0.85": as many decimals as the target has."""
    text = ("%.2f" % target).rstrip("0")
    return text + "0" if text.endswith(".") else text


def format_ratio(value, target=None):
    if value is None:
        return "-"
    text = "%.2fx" % value
    if target is not None:
        text += " (target <= %sx: %s)" % (format_target(target), "met" if value <= target else "missed")
    return text


class LoadSamples:
    """The machine's load average (1 minute), sampled while a part runs."""

    def __init__(self):
        self.values = []

    def sample(self):
        self.values.append(os.getloadavg()[0])

    def summary(self):
        if not self.values:
            return "not sampled"
        ordered = sorted(self.values)
        return "load average (1 min) %.1f to %.1f, median %.1f, over %d samples, on %d cores" % (
            ordered[0], ordered[-1], statistics.median(ordered), len(ordered), os.cpu_count())


def markdown_table(header, rows):
    """A Markdown table; every cell is turned into text and '|' escaped."""
    def cells(row):
        if len(row) != len(header):
            raise ValueError("row %r has %d cells, header %d" % (row, len(row), len(header)))
        return "| " + " | ".join(str(c).replace("|", "\\|") for c in row) + " |"
    lines = [cells(header), "|" + "|".join("---" for _ in header) + "|"]
    lines += [cells(r) for r in rows]
    return "\n".join(lines)


def bmp24(width, height, rgb=(40, 90, 160)):
    """A bottom-up 24-bit BMP of one colour; rows padded to 4 bytes."""
    row = bytes((rgb[2], rgb[1], rgb[0])) * width
    row += b"\0" * ((4 - len(row) % 4) % 4)
    pixels = row * height
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def write_random_file(path, size, chunk=1 << 20):
    """`size` bytes that do not compress, written in chunks."""
    with open(path, "wb") as out:
        left = size
        while left > 0:
            n = min(chunk, left)
            out.write(os.urandom(n))
            left -= n
