#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A class graded as a teacher grades it: what leaks from hidden tests (nothing), what a
report costs however long a program runs, the CSV, the feedback files, the expected
results made from a solution, the progress line on a terminal, and plain runs of damaged
files.

Usage: class_test.py VOLPAR_RUN DATA_DIR (tests/data)
"""
import csv
import io
import json
import os
import pty
import re
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

RUNNER, DATA = sys.argv[1], sys.argv[2]
COUNTDOWN = os.path.join(DATA, "runner", "countdown.txt")  # INPUT n, OUTPUT n..0, halt
EXERCISE_DATA = os.path.join(DATA, "exercise")
FORMATS = ("text", "json", "tap", "junit", "csv")

INPUT, OUTPUT, BRANCH = 3, 4, 5


def program_text(bytes_at):
    """A program file as VOLPAR saves it; the bytes not given are 0."""
    lines = []
    for a in range(32):
        if a % 8 == 0:
            lines.append("[%s]" % ("First8", "Second8", "Third8", "Fourth8")[a // 8])
        lines.append("Byte%d=%s" % (a, format(bytes_at.get(a, 0), "08b")))
    return "\r\n".join(lines) + "\r\n"


def op(code, address):
    return code * 32 + address


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def run(*args, cwd=None):
    p = subprocess.run([RUNNER, *args], capture_output=True, cwd=cwd, timeout=120)
    return p.returncode, p.stdout.decode("utf-8"), p.stderr.decode("utf-8")


class Class(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.tmp = self.dir.name

    def tearDown(self):
        self.dir.cleanup()

    def write(self, name, text):
        path = os.path.join(self.tmp, name)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        return path

    def test_a_hidden_test_cannot_be_recovered_from_any_output(self):
        secret = 117  # counted down: 118 values, 117..0, in 1 + 3 * 118 + 1 instructions
        self.write("count.ini", "[Exercise]\nTitle=Count down\nMaxInstructions=3000\n"
                   "[Test seen]\nInput=3\nOutput=3,2,1,0\n"
                   "[Test secret]\nHidden=1\nWeight=3\nInput=%d\nOutput=%s\n"
                   % (secret, ",".join(str(v) for v in range(secret, -1, -1))))
        programs = {
            "right.txt": read(COUNTDOWN),
            "once.txt": program_text({0: op(INPUT, 0), 1: op(OUTPUT, 0), 2: op(BRANCH, 2)}),
            "loops.txt": program_text({0: op(INPUT, 0), 1: op(OUTPUT, 0), 2: op(BRANCH, 1)}),
        }
        for name, text in programs.items():
            self.write(name, text)
        # The same test made visible gives every number a report could let slip.
        self.write("open.ini", read(os.path.join(self.tmp, "count.ini")).replace("Hidden=1", "Hidden=0"))
        _, out, _ = run("--exercise", "open.ini", "--format", "json", *programs, cwd=self.tmp)
        right = json.loads(out)["programs"][0]["tests"][1]
        self.assertTrue(right["passed"])
        numbers = {secret, secret - 1, right["instructions"], right["got"]["output_count"]}
        self.assertEqual(numbers, {117, 116, 356, 118})
        outputs = []
        for fmt in FORMATS:
            status, out, err = run("--exercise", "count.ini", "--format", fmt, "--feedback", "fb",
                                   *programs, cwd=self.tmp)
            self.assertEqual(status, 1)
            outputs += [(fmt, out), (fmt + " stderr", err)]
        for name in os.listdir(os.path.join(self.tmp, "fb")):
            outputs.append((name, read(os.path.join(self.tmp, "fb", name))))
        self.assertEqual(len(outputs), 13)
        for where, text in outputs:
            for n in sorted(numbers):
                self.assertIsNone(re.search(r"(?<!\d)%d(?!\d)" % n, text), "%d in %s:\n%s" % (n, where, text))
        for p in json.loads(outputs[2][1])["programs"]:
            self.assertEqual(set(p["tests"][1]), {"name", "weight", "hidden", "passed"})

    def test_a_program_that_cannot_be_loaded_fails_every_test_in_every_format(self):
        args = ["--exercise", "add.ini", "correct.txt", "missing.txt"]
        counts = {}
        for fmt in FORMATS[1:]:
            _, out, _ = run(*args, "--format", fmt, cwd=EXERCISE_DATA)
            if fmt == "json":
                counts[fmt] = [len(p["tests"]) - sum(t["passed"] for t in p["tests"])
                               for p in json.loads(out)["programs"]]
            elif fmt == "tap":
                failed = re.findall(r"^not ok \d+ - (\S+):", out, re.M)
                counts[fmt] = [failed.count("correct.txt"), failed.count("missing.txt")]
            elif fmt == "junit":
                counts[fmt] = [int(s.get("failures")) + int(s.get("errors"))
                               for s in ET.fromstring(out).findall("testsuite")]
            else:
                counts[fmt] = [int(row["failed"]) for row in csv.DictReader(io.StringIO(out))]
        self.assertEqual(counts, {fmt: [0, 3] for fmt in FORMATS[1:]})

    def test_a_report_stays_small_however_long_a_program_runs(self):
        self.write("long.ini", "[Exercise]\nTitle=T\nMaxInstructions=200000\n[Test 1]\nOutput=1,2\n")
        self.write("endless.txt", program_text({0: op(OUTPUT, 0), 1: op(BRANCH, 0)}))
        for fmt in FORMATS:
            status, out, _ = run("--exercise", "long.ini", "--format", fmt, "--feedback", "fb",
                                 "endless.txt", cwd=self.tmp)
            self.assertEqual(status, 1)
            self.assertLess(len(out), 2000, fmt)
            if fmt == "text":
                self.assertIn("... (100000 values), end limit (still running after 200000 instructions: "
                              "does it ever halt?); Output value 1 expected 1, got 0", out)
        feedback = read(os.path.join(self.tmp, "fb", "endless.txt.feedback.txt"))
        self.assertLess(len(feedback), 1000)

    def test_csv_reads_as_a_spreadsheet_would(self):
        self.write("=SUM(A1).txt", read(os.path.join(EXERCISE_DATA, "correct.txt")))
        status, out, _ = run("--exercise", os.path.join(EXERCISE_DATA, "add.ini"), "--format", "csv",
                             "=SUM(A1).txt", os.path.join(EXERCISE_DATA, "first_input.txt"), "gone.txt",
                             cwd=self.tmp)
        rows = list(csv.reader(io.StringIO(out, newline="")))
        self.assertEqual(rows[0], ["file", "score", "maximum", "passed", "failed", "error"])
        self.assertEqual(rows[1], ["'=SUM(A1).txt", "4", "4", "3", "0", ""])
        self.assertEqual(rows[2][1:5], ["0", "4", "0", "3"])
        self.assertEqual(rows[3][:5], ["gone.txt", "0", "4", "0", "3"])
        self.assertIn('"gone.txt" could not be loaded', rows[3][5])

    def test_feedback_files_one_per_program(self):
        data = os.path.join(EXERCISE_DATA, "correct.txt")
        other = os.path.join(self.tmp, "class b")
        os.mkdir(other)
        self.write("class b/correct.txt", read(os.path.join(EXERCISE_DATA, "waits.txt")))
        with open(data, "rb") as f:
            p = subprocess.run([RUNNER, "--exercise", os.path.join(EXERCISE_DATA, "add.ini"), "--feedback",
                                "out/fb", data, "class b/correct.txt", "-"], stdin=f, capture_output=True, cwd=self.tmp)
        self.assertEqual(p.returncode, 1)
        files = sorted(os.listdir(os.path.join(self.tmp, "out", "fb")))
        self.assertEqual(files, ["correct.txt.2.feedback.txt", "correct.txt.feedback.txt",
                                 "standard-input.feedback.txt"])
        second = read(os.path.join(self.tmp, "out", "fb", files[0]))
        self.assertEqual(second.splitlines()[:3], [
            "Add two numbers", "class b/correct.txt: 0 of 4 points",
            "Test 1: failed: input 5,7; expected output 12, end halt; got output none, end input "
            "(it waited for more input than the test gives)"])
        self.assertEqual(second.splitlines()[-1], "1 more test: 0 passed")
        self.write("blocked", "a file, not a folder")
        status, _, err = run("--exercise", os.path.join(EXERCISE_DATA, "add.ini"), "--feedback", "blocked",
                             data, cwd=self.tmp)
        self.assertEqual((status, err.startswith('volpar-run: The feedback folder "blocked" could not be made')),
                         (2, True), err)

    def test_expected_results_made_from_a_solution(self):
        self.write("count.ini", "; Countdown, checked by hand\n[Exercise]\nTitle=Count\nEnd=halt\n"
                   "[Test 1]\nInput=2\n\n[Test 2]\nInput=0\nOutput=9\n")
        status, out, err = run("--exercise", "count.ini", "--make-expected", COUNTDOWN, cwd=self.tmp)
        self.assertEqual((status, err), (0, ""))
        self.assertEqual(out, "; Countdown, checked by hand\n[Exercise]\nTitle=Count\nEnd=halt\n"
                              "[Test 1]\nInput=2\nOutput=2,1,0\nEnd=halt\n\n[Test 2]\nInput=0\nOutput=0\nEnd=halt\n")
        self.write("made.ini", out)
        self.assertEqual(run("--exercise", "made.ini", COUNTDOWN, cwd=self.tmp)[0], 0)
        status, out, err = run("--exercise", "count.ini", "--make-expected", "nowhere.txt", cwd=self.tmp)
        self.assertEqual((status, out), (2, ""))
        self.assertIn('"nowhere.txt" could not be loaded', err)

    def test_progress_only_on_a_terminal_and_only_when_slow(self):
        self.write("slow.ini", "[Exercise]\nTitle=T\nMaxInstructions=1000000\n[Test 1]\nEnd=limit\n")
        names = ["p%d.txt" % i for i in range(4)]  # a class of well over a second
        for name in names:
            self.write(name, program_text({0: op(BRANCH, 1), 1: op(BRANCH, 0)}))
        fast = [os.path.join(EXERCISE_DATA, "add.ini"), os.path.join(EXERCISE_DATA, "correct.txt")]
        for exercise, programs, shown in (("slow.ini", names, True), (fast[0], fast[1:], False)):
            leader, follower = pty.openpty()
            p = subprocess.run([RUNNER, "--exercise", exercise, *programs], stdout=subprocess.PIPE,
                               stderr=follower, cwd=self.tmp, timeout=300)
            os.close(follower)
            seen = b""
            try:
                while chunk := os.read(leader, 4096):
                    seen += chunk
            except OSError:
                pass
            os.close(leader)
            self.assertEqual(p.returncode, 0)
            if shown:
                self.assertIn("\rvolpar-run: graded 4 of 4 programs\r\n", seen.decode())
            else:
                self.assertEqual(seen, b"")
        status, _, err = run("--exercise", "slow.ini", *names, cwd=self.tmp)  # not a terminal
        self.assertEqual((status, err), (0, "volpar-run: note: identical programs: " + ", ".join(names) + "\n"))

    def test_plain_runs_say_what_loading_passed_over(self):
        damaged = os.path.join(EXERCISE_DATA, "no_fourth8.txt")
        cases = [
            ([damaged, "--input", "5,7"], 0, "OUTPUT 12\nEND halt\n",
             "volpar-run: warning: %s: Section [Fourth8] is missing: its eight bytes load as 00000000\n" % damaged),
            ([damaged, "--strict", "--input", "5,7"], 2, "",
             'volpar-run: The program file "%s" is not in the form VOLPAR saves: Section [Fourth8] is missing: '
             "its eight bytes load as 00000000\n" % damaged),
            (["missing.txt"], 2, "",
             'volpar-run: The program file "missing.txt" could not be loaded: No such file or directory\n'),
        ]
        for args, status, out, err in cases:
            with self.subTest(args=args):
                self.assertEqual(run(*args, cwd=self.tmp), (status, out, err))

    def test_help_gives_each_option_a_line_of_its_own(self):
        status, out, _ = run("--help")
        self.assertEqual(status, 0)
        for line in out.splitlines():
            self.assertLessEqual(len(re.findall(r"--[a-z]", line)), 1, line)
        options = re.findall(r"^\s+(?:-h, )?(--[a-z-]+)", out, re.M)
        self.assertIn("--version", options)
        self.assertIn("--help", options)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
