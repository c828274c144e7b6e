"""Tests of the measuring helpers (run by ctest as bench_helpers)."""

import struct
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import benchlib as bl  # noqa: E402


class Statistics(unittest.TestCase):
    def test_median(self):
        for values, expected in [([3.0], 3.0), ([5.0, 1.0, 3.0], 3.0), ([4.0, 1.0, 2.0, 3.0], 2.5),
                                 ([0.2, 0.2, 9.0], 0.2)]:
            with self.subTest(values=values):
                self.assertEqual(bl.median(values), expected)
        with self.assertRaises(ValueError):
            bl.median([])

    def test_ratio_and_formats(self):
        for value, reference, expected in [(2.0, 1.0, "2.00x"), (0.5, 2.0, "0.25x"), (1.0, 0.0, "-"),
                                           (1.0, -1.0, "-"), (None, 1.0, "-"), (1.0, None, "-")]:
            with self.subTest(value=value, reference=reference):
                self.assertEqual(bl.format_ratio(bl.ratio(value, reference)), expected)
        self.assertEqual(bl.format_ratio(1.2, 1.2), "1.20x (target <= 1.2x: met)")
        self.assertEqual(bl.format_ratio(1.21, 1.2), "1.21x (target <= 1.2x: missed)")
        self.assertEqual(bl.format_ratio(0.85, 0.85), "0.85x (target <= 0.85x: met)")
        self.assertEqual(bl.format_ratio(0.86, 0.85), "0.86x (target <= 0.85x: missed)")
        self.assertEqual(bl.format_ratio(0.99, 1.0), "0.99x (target <= 1.0x: met)")
        for seconds, expected in [(0.0123, "12.3 ms"), (1.234, "1.23 s"), (None, "-")]:
            self.assertEqual(bl.format_seconds(seconds), expected)


class Rounds(unittest.TestCase):
    def test_interleaved_runs_cases_in_rounds_and_drops_the_warmup(self):
        calls = []
        counter = iter(range(100))

        def case(name):
            def run():
                calls.append(name)
                return float(next(counter))
            return run
        times = bl.interleaved({"a": case("a"), "b": case("b")}, runs=2, warmup=1)
        self.assertEqual(calls, ["a", "b", "a", "b", "a", "b"])
        self.assertEqual(times, {"a": [2.0, 4.0], "b": [3.0, 5.0]})

    def test_the_round_hook_runs_before_every_round(self):
        calls = []
        bl.interleaved({"a": lambda: calls.append("a") or 0.0}, runs=2, warmup=1,
                       on_round=lambda: calls.append("round"))
        self.assertEqual(calls, ["round", "a", "round", "a", "round", "a"])
        load = bl.LoadSamples()
        self.assertEqual(load.summary(), "not sampled")
        load.sample()
        self.assertIn("over 1 samples", load.summary())


class Table(unittest.TestCase):
    def test_rows_and_escaping(self):
        text = bl.markdown_table(["A", "B"], [["x|y", 1]])
        self.assertEqual(text.splitlines(), ["| A | B |", "|---|---|", "| x\\|y | 1 |"])

    def test_a_short_row_is_refused(self):
        with self.assertRaises(ValueError):
            bl.markdown_table(["A", "B"], [["only one"]])


class Bitmap(unittest.TestCase):
    def test_rows_are_padded_and_sizes_agree(self):
        for width, height, row_bytes in [(1, 1, 4), (3, 2, 12), (4, 3, 12), (400, 300, 1200)]:
            with self.subTest(width=width, height=height):
                data = bl.bmp24(width, height, (1, 2, 3))
                magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data)
                _, w, h, planes, bits, _, image = struct.unpack_from("<IiiHHII", data, 14)
                self.assertEqual((magic, w, h, planes, bits), (b"BM", width, height, 1, 24))
                self.assertEqual(image, row_bytes * height)
                self.assertEqual(size, len(data))
                self.assertEqual(offset + image, len(data))
                self.assertEqual(data[offset:offset + 3], bytes((3, 2, 1)))  # stored blue, green, red


class Runs(unittest.TestCase):
    def test_first_line_must_match_and_the_process_succeed(self):
        ok = [sys.executable, "-c", "print('hello'); print('more')"]
        self.assertGreater(bl.first_line_run(ok, "hello"), 0)
        self.assertGreater(bl.first_line_run(ok, lambda line: "ell" in line), 0)
        with self.assertRaises(bl.RunFailed):
            bl.first_line_run(ok, lambda line: "more" in line)
        for argv, expected in [
            (ok, "other"),
            ([sys.executable, "-c", "print('hello'); raise SystemExit(3)"], "hello"),
            ([sys.executable, "-c", "pass"], "hello"),
        ]:
            with self.subTest(argv=argv[-1], expected=expected):
                with self.assertRaises(bl.RunFailed):
                    bl.first_line_run(argv, expected)

    def test_line_and_total(self):
        argv = [sys.executable, "-c", "import time; print('hello', flush=True); time.sleep(0.2)"]
        first, total = bl.line_and_total_run(argv, "hello")
        self.assertGreater(total - first, 0.15)
        with self.assertRaises(bl.RunFailed):
            bl.line_and_total_run([sys.executable, "-c", "print('hello'); raise SystemExit(2)"], "hello")

    def test_exit_code_is_checked_when_asked(self):
        argv = [sys.executable, "-c", "raise SystemExit(1)"]
        self.assertGreater(bl.timed_run(argv), 0)
        self.assertGreater(bl.timed_run(argv, expect_code=1), 0)
        with self.assertRaises(bl.RunFailed):
            bl.timed_run(argv, expect_code=0)

    def test_random_file_has_the_size(self):
        import tempfile
        with tempfile.TemporaryDirectory() as d:
            for size in (0, 1, (1 << 20) + 7):
                path = Path(d) / ("f%d" % size)
                bl.write_random_file(path, size, chunk=1 << 19)
                self.assertEqual(path.stat().st_size, size)


if __name__ == "__main__":
    unittest.main()
