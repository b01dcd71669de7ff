#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""volpar-run --exercise as a teacher's script and a CI job use it: a class graded in every
format, compared with the expected reports (report.* in DATA_DIR) and read back by a real
reader (json, a TAP parser, an XML parser, a CSV reader); the progress line; and the
sessions of tests/data/cli/grading.txt: exit statuses and messages, expected results made
from a solution, names that are not plain, what leaks from hidden tests (nothing), what a
report costs however long a program runs, the feedback files.

Usage: grading_test.py VOLPAR_RUN DATA_DIR
"""
import csv
import io
import os
import pty
import subprocess
import sys
import time
import unittest
import xml.etree.ElementTree as ET

import transcript

RUNNER, DATA = sys.argv[1], sys.argv[2]
CLASS = ["correct.txt", "first_input.txt", "waits.txt", "conditional_halt.txt", "no_fourth8.txt",
         "untaken.txt", "memory30.txt", "endless.txt", "data.txt", "spare.txt", "missing.txt"]
FORMATS = ("text", "json", "tap", "junit", "csv")


def run(*args):
    p = subprocess.run([RUNNER, *args], capture_output=True, cwd=DATA, timeout=60)
    return p.returncode, p.stdout.decode("utf-8"), p.stderr.decode("utf-8")


def read(path, mode="r"):
    with open(path, mode, **({} if "b" in mode else {"encoding": "utf-8", "newline": ""})) as f:
        return f.read()


def data(name, mode="r"):
    return read(os.path.join(DATA, name), mode)


def tap_points(text):
    """The test points as Perl's TAP::Parser reads them, [(ok, description, directive)], with
    the plan and the parse errors. The parser knows TAP 13: it reads all but the header."""
    header, text = text.split("\n", 1)
    assert header == "TAP version 14", header
    script = r'''use TAP::Parser; local $/; my $p = TAP::Parser->new({tap => <STDIN>});
while (my $r = $p->next) { printf "T\t%d\t%s\t%s\n", $r->is_ok, $r->description, $r->directive if $r->is_test; }
print "PLAN\t", $p->tests_planned, "\n"; print "ERROR\t$_\n" for $p->parse_errors;'''
    found = {"T": [], "PLAN": [], "ERROR": []}
    for line in subprocess.run(["perl", "-e", script], input=text.encode(), capture_output=True,
                               check=True).stdout.decode().splitlines():
        kind, *fields = line.split("\t")
        found[kind].append(fields)
    return [(ok == "1", d, rest) for ok, d, rest in found["T"]], found["PLAN"][0][0], found["ERROR"]


class Grading(unittest.TestCase):
    maxDiff = None
    def test_a_class_in_every_format(self):
        """Verdicts of right, wrong, waiting, endless, damaged and missing programs, as each
        format's reader reads them; the warning and the similarity notes on standard error."""
        for fmt in FORMATS:
            with self.subTest(fmt):
                status, out, err = run("--exercise", "add.ini", "--format", fmt, *CLASS)
                self.assertEqual(status, 1)
                self.assertEqual(out, data("report." + fmt))
                stderr = data("report.stderr")  # JSON carries the warnings in the report itself
                self.assertEqual(err, stderr.split("\n", 1)[1] if fmt == "json" else stderr)
        self.assertEqual(run("--exercise", "add.ini", "--format", "json", "--jobs", "3", *CLASS)[1], data("report.json"))
        points, plan, errors = tap_points(data("report.tap"))
        junit = ET.fromstring(data("report.junit")).findall("*/testcase")
        # 17 of 33 points pass, none marked TODO or SKIP: prove would fail the job.
        self.assertEqual((len(points), sum(ok and not d for ok, _, d in points), plan, errors, len(junit)),
                         (33, 17, "33", [], 33))
        row = list(csv.reader(io.StringIO(data("report.csv"))))[-1]
        self.assertEqual((row[0], '"missing.txt" could not be loaded' in row[5]), ("missing.txt", True))

    def test_sessions(self):
        self.assertEqual(*transcript.play("grading", RUNNER, os.path.abspath(DATA)))

    def test_progress_only_on_a_terminal_and_only_when_slow(self):
        """A class whose one program comes on standard input after 1.5 s takes longer than a
        second however fast the machine."""
        args = [RUNNER, "--exercise", os.path.join(DATA, "add.ini"), "-", os.path.join(DATA, "waits.txt")]
        for terminal in (True, False):
            leader, follower = pty.openpty() if terminal else os.pipe()
            p = subprocess.Popen(args, stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=follower)
            os.close(follower)
            time.sleep(1.5)
            p.stdin.write(data("correct.txt", "rb"))
            p.stdin.close()
            seen = b""
            try:
                while chunk := os.read(leader, 4096):
                    seen += chunk
            except OSError:  # a terminal whose other side is closed
                pass
            os.close(leader)
            shown = "\rvolpar-run: graded 1 of 2 programs\rvolpar-run: graded 2 of 2 programs\r\n"
            self.assertEqual((p.wait(), seen.decode()), (1, shown if terminal else ""))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
