#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""volpar-run --exercise as a teacher's script and a CI job use it: a class graded in every
format, compared with the expected reports (report.* in DATA_DIR) and read back by a real
reader (json, a TAP parser, an XML parser, a CSV reader); what leaks from hidden tests
(nothing), what a report costs however long a program runs, the feedback files, expected
results made from a solution, the progress line, exit statuses and messages.

Usage: grading_test.py VOLPAR_RUN DATA_DIR
"""
import csv
import io
import json
import os
import pty
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ET

RUNNER, DATA = sys.argv[1], sys.argv[2]
CLASS = ["correct.txt", "first_input.txt", "waits.txt", "conditional_halt.txt", "no_fourth8.txt",
         "untaken.txt", "memory30.txt", "endless.txt", "data.txt", "spare.txt", "missing.txt"]
COUNTDOWN = os.path.join(DATA, "..", "runner", "countdown.txt")  # INPUT n, OUTPUT n..0, halt
FORMATS = ("text", "json", "tap", "junit", "csv")


def run(*args, stdin=None, cwd=DATA):
    p = subprocess.run([RUNNER, *args], input=stdin, capture_output=True, cwd=cwd, timeout=60)
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

    def test_exit_status_and_messages(self):
        """The cases in exit_status.txt."""
        for line in (l for l in data("exit_status.txt").splitlines() if l and not l.startswith("#")):
            args, stdin, status, out, err = (f.encode().decode("unicode_escape") for f in line.split(" ; "))
            with self.subTest(args=args):
                got = run(*args.split(), stdin=data(stdin, "rb") if stdin else None)
                self.assertEqual(got[0], int(status), got[2])
                self.assertEqual(got[1], got[1] if out == "*" else out)
                self.assertIn(err, got[2]) if err else self.assertEqual(got[2], "")


class Class(unittest.TestCase):
    def setUp(self):
        self.tmp = self.enterContext(tempfile.TemporaryDirectory())

    def write(self, name, text):
        with open(os.path.join(self.tmp, name), "w", encoding="utf-8") as f:
            f.write(text)

    def test_names_that_are_not_plain_stay_inside_their_field(self):
        odd = os.path.join(self.tmp.encode(), b'a # SKIP <"&\xff\nc.txt')
        shutil.copy(os.path.join(DATA, "first_input.txt").encode(), odd)
        shutil.copy(os.path.join(DATA, "add.ini"), self.tmp)
        args = [RUNNER, "--exercise", "add.ini", odd.decode("utf-8", "surrogateescape"), "--format"]
        out = {fmt: subprocess.run(args + [fmt], capture_output=True, cwd=self.tmp).stdout
               for fmt in ("json", "tap", "junit")}
        self.assertTrue(json.loads(out["json"])["programs"][0]["file"].startswith("/"))
        points, _, errors = tap_points(out["tap"].decode("utf-8"))
        self.assertEqual((errors, [d for *_, d in points]), ([], ["", "", ""]))  # no SKIP or TODO
        self.assertTrue(all("# SKIP" in d for _, d, _ in points), points)
        self.assertIn('a # SKIP <"&\ufffd\nc.txt', ET.fromstring(out["junit"]).find("testsuite").get("name"))

    def test_a_hidden_test_cannot_be_recovered_from_any_output(self):
        secret = 117  # counted down: 118 values, 117..0, in 1 + 3 * 118 + 1 instructions
        self.write("count.ini", "[Exercise]\nTitle=Count down\nMaxInstructions=3000\n"
                   "[Test seen]\nInput=3\nOutput=3,2,1,0\n[Test secret]\nHidden=1\nWeight=3\nInput=%d\nOutput=%s\n"
                   % (secret, ",".join(str(v) for v in range(secret, -1, -1))))
        programs = ["countdown.txt", "first_input.txt", "repeats.txt"]  # right, once, for ever
        for path in [COUNTDOWN] + [os.path.join(DATA, p) for p in programs[1:]]:
            shutil.copy(path, self.tmp)
        # The same test made visible gives every number a report could let slip.
        self.write("open.ini", read(os.path.join(self.tmp, "count.ini")).replace("Hidden=1", "Hidden=0"))
        right = json.loads(run("--exercise", "open.ini", "--format", "json", *programs, cwd=self.tmp)[1])
        right = right["programs"][0]["tests"][1]
        numbers = {secret, secret - 1, right["instructions"], right["got"]["output_count"]}
        self.assertEqual((right["passed"], numbers), (True, {117, 116, 356, 118}))
        outputs = []
        for fmt in FORMATS:
            status, out, err = run("--exercise", "count.ini", "--format", fmt, "--feedback", "fb", *programs, cwd=self.tmp)
            self.assertEqual(status, 1)
            outputs += [(fmt, out), (fmt + " stderr", err)]
        outputs += [(n, read(os.path.join(self.tmp, "fb", n))) for n in os.listdir(os.path.join(self.tmp, "fb"))]
        self.assertEqual(len(outputs), 13)
        for where, text in outputs:
            for n in sorted(numbers):
                self.assertIsNone(re.search(r"(?<!\d)%d(?!\d)" % n, text), "%d in %s:\n%s" % (n, where, text))
        for p in json.loads(outputs[2][1])["programs"]:
            self.assertEqual(set(p["tests"][1]), {"name", "weight", "hidden", "passed"})

    def test_a_report_stays_small_however_long_a_program_runs(self):
        self.write("long.ini", "[Exercise]\nTitle=T\nMaxInstructions=200000\n[Test 1]\nOutput=1,2\n")
        outs = {}
        for fmt in FORMATS:
            status, outs[fmt], _ = run("--exercise", "long.ini", "--format", fmt, "--feedback", "fb",
                                       os.path.join(DATA, "outputs.txt"), cwd=self.tmp)
            self.assertEqual((status, len(outs[fmt]) < 2000), (1, True), fmt)
        self.assertIn("... (100000 values), end limit (still running after 200000 instructions: "
                      "does it ever halt?); Output value 1 expected 1, got 0", outs["text"])
        self.assertLess(len(read(os.path.join(self.tmp, "fb", "outputs.txt.feedback.txt"))), 1000)

    def test_csv_keeps_a_spreadsheet_from_reading_a_name_as_a_formula(self):
        self.write("=SUM(A1).txt", data("correct.txt"))
        _, out, _ = run("--exercise", os.path.join(DATA, "add.ini"), "--format", "csv", "=SUM(A1).txt", cwd=self.tmp)
        self.assertEqual(list(csv.reader(io.StringIO(out, newline="")))[1], ["'=SUM(A1).txt", "4", "4", "3", "0", ""])

    def test_feedback_files_one_per_program(self):
        correct = os.path.join(DATA, "correct.txt")
        os.mkdir(os.path.join(self.tmp, "class b"))
        self.write("class b/correct.txt", data("waits.txt"))
        args = ["--exercise", os.path.join(DATA, "add.ini"), "--feedback", "out/fb", correct, "class b/correct.txt", "-"]
        self.assertEqual(run(*args, stdin=read(correct, "rb"), cwd=self.tmp)[0], 1)
        files = sorted(os.listdir(os.path.join(self.tmp, "out", "fb")))
        self.assertEqual(files, ["correct.txt.2.feedback.txt", "correct.txt.feedback.txt",
                                 "standard-input.feedback.txt"])
        self.assertEqual(read(os.path.join(self.tmp, "out", "fb", files[0])), data("waits.feedback.txt"))
        self.write("blocked", "a file, not a folder")
        status, _, err = run("--exercise", os.path.join(DATA, "add.ini"), "--feedback", "blocked", correct, cwd=self.tmp)
        self.assertEqual((status, err.startswith('volpar-run: The feedback folder "blocked" could not be made')), (2, True), err)

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
