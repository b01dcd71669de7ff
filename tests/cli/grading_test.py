#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""volpar-run --exercise as a teacher's script and a CI job use it: every report format is
read back by a real reader (json, a TAP parser, an XML parser, a CSV reader), never compared
as text; and a class graded as a teacher grades it: what leaks from hidden tests (nothing),
what a report costs however long a program runs, the feedback files, the expected results
made from a solution, the progress line on a terminal, plain runs of damaged files.

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
EXERCISE = os.path.join(DATA, "add.ini")
PROGRAMS = ["correct.txt", "first_input.txt", "waits.txt", "conditional_halt.txt", "no_fourth8.txt"]
HIDDEN_INPUT = "200"  # Test 2's input and expected output (44) never appear
COUNTDOWN = os.path.join(DATA, "..", "runner", "countdown.txt")  # INPUT n, OUTPUT n..0, halt
FORMATS = ("text", "json", "tap", "junit", "csv")


def run(*args, stdin=None, cwd=DATA):
    p = subprocess.run([RUNNER, *args], input=stdin, capture_output=True, cwd=cwd, timeout=60)
    return p.returncode, p.stdout.decode("utf-8"), p.stderr.decode("utf-8")


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


def grade(fmt, *programs, extra=()):
    return run("--exercise", "add.ini", "--format", fmt, *extra, *(programs or PROGRAMS))


def tap_results(text):
    """The test points as Perl's TAP::Parser reads them: ({PLANNED}, [(number, ok,
    description, directive)], parse errors). The parser here knows TAP 13, which the test
    points must also be: it reads all but the version 14 header."""
    header, text = text.split("\n", 1)
    assert header == "TAP version 14", header
    script = r'''
use TAP::Parser; local $/; my $p = TAP::Parser->new({tap => <STDIN>});
while (my $r = $p->next) {
  printf "%d\t%d\t%s\t%s\n", $r->number, $r->is_ok ? 1 : 0, $r->description, $r->directive
    if $r->is_test;
}
print "PLANNED\t", $p->tests_planned, "\n";
print "ERROR\t$_\n" for $p->parse_errors;'''
    p = subprocess.run(["perl", "-e", script], input=text.encode(), capture_output=True, check=True)
    points, meta, errors = [], {}, []
    for line in p.stdout.decode().splitlines():
        f = line.split("\t")
        if f[0] == "ERROR":
            errors.append(f[1])
        elif f[0] == "PLANNED":
            meta[f[0]] = int(f[1])
        else:
            points.append((int(f[0]), f[1] == "1", f[2], f[3]))
    return meta, points, errors


class Grading(unittest.TestCase):
    def test_text_gives_scores_and_describes_visible_failures(self):
        status, out, err = grade("text")
        self.assertEqual(status, 1)
        lines = out.splitlines()
        scores = {l.split(": ")[0]: l.split(": ")[1].split(" ")[0] for l in lines if not l.startswith(" ")}
        self.assertEqual(scores, {"correct.txt": "4/4", "first_input.txt": "0/4", "waits.txt": "0/4",
                                  "conditional_halt.txt": "4/4", "no_fourth8.txt": "4/4"})
        failed = [l for l in lines if l.startswith("  ")]
        self.assertIn("  Test 1: input 5,7; expected output 12, end halt; got output 5, end halt", failed)
        self.assertIn("  Test 3: input 0,0; expected output 0, end halt; got output none, end input "
                      "(it waited for more input than the test gives)", failed)
        self.assertIn("  Test 3: input 0,0; expected output 0, end halt; got output 0, end halt; "
                      "Inputs read expected 2, got 1", failed)
        self.assertFalse(any("Test 2" in l or HIDDEN_INPUT in l for l in lines))
        self.assertIn("(1 hidden test: 0 passed)", out)
        self.assertEqual(err, "volpar-run: warning: no_fourth8.txt: Section [Fourth8] is missing: "
                              "its eight bytes load as 00000000\n"
                              "volpar-run: note: identical programs: correct.txt, no_fourth8.txt\n")

    def test_json_document(self):
        status, out, err = grade("json")
        self.assertEqual((status, err), (1, "volpar-run: note: identical programs: correct.txt, no_fourth8.txt\n"))
        doc = json.loads(out, object_pairs_hook=lambda pairs: (dict(pairs), [k for k, _ in pairs])[0])
        self.assertEqual(doc["exercise"], "Add two numbers")
        keys = list(json.loads(out)["programs"][0].keys())
        self.assertEqual(keys, ["file", "score", "max_score", "error", "warnings", "tests"])
        by_file = {p["file"]: p for p in doc["programs"]}
        self.assertEqual([p["file"] for p in doc["programs"]], PROGRAMS)
        self.assertEqual(by_file["first_input.txt"]["score"], 0)
        self.assertEqual(by_file["first_input.txt"]["max_score"], 4)
        self.assertEqual(by_file["no_fourth8.txt"]["warnings"], [
            "Section [Fourth8] is missing: its eight bytes load as 00000000"])
        first = by_file["first_input.txt"]["tests"][0]
        self.assertEqual((first["name"], first["passed"], first["input"]), ("Test 1", False, [5, 7]))
        self.assertEqual(first["expected"], {"output": [12], "end": "halt"})
        self.assertEqual(first["got"], {"output": [5], "output_count": 1, "end": "halt"})
        self.assertEqual(first["message"], "input 5,7; expected output 12, end halt; got output 5, end halt")
        self.assertEqual(by_file["waits.txt"]["tests"][0]["got"]["end"], "input")
        for program in doc["programs"]:
            self.assertEqual(program["tests"][1], {"name": "Test 2", "passed": program["score"] == 4,
                                                   "hidden": True, "weight": 2})
        self.assertEqual(doc["similar"], [{"identical": True, "files": ["correct.txt", "no_fourth8.txt"]}])
        # Threads share nothing: the grades are those of one thread, in the programs' order.
        self.assertEqual(json.loads(grade("json", extra=("--jobs", "3"))[1]), doc, "--jobs changes nothing")

    def test_tap_read_by_a_tap_parser(self):
        status, out, _ = grade("tap")
        self.assertEqual(status, 1)
        meta, points, errors = tap_results(out)
        self.assertEqual(errors, [])
        self.assertEqual(meta, {"PLANNED": 15})
        self.assertEqual([n for n, *_ in points], list(range(1, 16)))
        failed = [d for _, ok, d, _ in points if not ok]
        self.assertEqual(failed, ["- first_input.txt: Test 1", "- first_input.txt: Test 2",
                                  "- first_input.txt: Test 3", "- waits.txt: Test 1", "- waits.txt: Test 2", "- waits.txt: Test 3"])
        # Test 2 of first_input.txt (hidden) has no YAML block; Test 1 has one.
        block = out.split("not ok 4 - first_input.txt: Test 1\n")[1].split("\nnot ok 5")[0]
        self.assertIn('expected: "output 12, end halt"', block)
        self.assertNotIn("---", out.split("not ok 5 - first_input.txt: Test 2\n")[1].split("\n")[0])
        self.assertNotIn(HIDDEN_INPUT, out)

    def test_prove_fails_the_job_when_a_test_fails(self):
        with tempfile.TemporaryDirectory() as tmp:
            for passing in (True, False):
                script = os.path.join(tmp, "grade.sh")
                programs = "correct.txt" if passing else "correct.txt first_input.txt"
                with open(script, "w") as f:
                    f.write(f"cd '{DATA}' && '{RUNNER}' --exercise add.ini --format tap {programs} | sed 1d\n")
                p = subprocess.run(["prove", "--exec", "sh", script], capture_output=True, cwd=tmp)
                self.assertEqual(p.returncode == 0, passing, p.stdout.decode())

    def test_junit_read_by_an_xml_parser(self):
        status, out, _ = grade("junit")
        self.assertEqual(status, 1)
        root = ET.fromstring(out.encode())
        self.assertEqual(root.tag, "testsuites")
        suites = root.findall("testsuite")
        self.assertEqual([s.get("name") for s in suites], PROGRAMS)
        first = suites[1]
        self.assertEqual((first.get("tests"), first.get("failures")), ("3", "3"))
        cases = first.findall("testcase")
        self.assertEqual([c.get("name") for c in cases], ["Test 1", "Test 2", "Test 3"])
        self.assertEqual(cases[0].find("failure").get("message"), "Output value 1 expected 12, got 5")
        self.assertEqual(cases[2].find("failure").get("message"), "Inputs read expected 2, got 1")
        self.assertNotIn(HIDDEN_INPUT, ET.tostring(cases[1], encoding="unicode"))
        self.assertNotIn(HIDDEN_INPUT, out)

    def test_exit_status(self):
        cases = [
            (0, ["--exercise", "add.ini", "correct.txt", "conditional_halt.txt"], ""),
            (1, ["--exercise", "add.ini", "correct.txt", "missing.txt"], ""),
            (1, ["--exercise", "add.ini", "--strict", "no_fourth8.txt"], ""),
            (2, ["--exercise", "nowhere.ini", "correct.txt"], 'volpar-run: The exercise file "nowhere.ini" cannot be used'),
            (2, ["--exercise", "correct.txt", "correct.txt"], "in section [First8], an exercise file has only the sections"),
            (2, ["--exercise", "add.ini", "--format", "xml", "correct.txt"], "--format needs text, json, tap, junit or csv"),
            (2, ["--exercise", "add.ini", "--jobs", "0", "correct.txt"], "--jobs needs a number of threads"),
            (2, ["--exercise", "add.ini"], "no program file given to grade"),
            (2, ["--exercise", "add.ini", "--input", "1", "correct.txt"], "cannot be used with --exercise"),
            (2, ["--feedback", "out", "correct.txt"], "--feedback needs --exercise"),
            (2, ["--exercise", "add.ini", "--make-expected", "correct.txt", "waits.txt"],
             '--make-expected takes no program to grade, not "waits.txt"'),
            (2, ["--exercise", "add.ini", "-", "-"], "standard input (-) can be read only once"),
        ]
        for expected, args, message in cases:
            with self.subTest(args=args):
                status, out, err = run(*args)
                self.assertEqual(status, expected, err)
                self.assertIn(message, err)
                if expected == 2:
                    self.assertEqual(out, "")

    def test_strict_refuses_what_lenient_reading_passes_over(self):
        status, out, err = grade("json", "no_fourth8.txt", extra=("--strict",))
        program = json.loads(out)["programs"][0]
        self.assertEqual((status, program["score"]), (1, 0))
        self.assertEqual([t["passed"] for t in program["tests"]], [False] * 3)
        self.assertIn("Section [Fourth8] is missing", program["error"])

    def test_program_from_standard_input(self):
        with open(os.path.join(DATA, "correct.txt"), "rb") as f:
            status, out, _ = run("--exercise", "add.ini", "--format", "json", "-", stdin=f.read())
        program = json.loads(out)["programs"][0]
        self.assertEqual((status, program["file"], program["score"]), (0, "-", 4))
        with open(os.path.join(DATA, "first_input.txt"), "rb") as f:
            status, out, _ = run("-", "--input", "9,1", stdin=f.read())
        self.assertEqual((status, out), (0, "OUTPUT 9\nEND halt\n"))

    def test_names_that_are_not_plain_stay_inside_their_field(self):
        with tempfile.TemporaryDirectory() as tmp:
            odd = os.path.join(tmp.encode(), b'a # SKIP <"&\xff\nc.txt')
            shutil.copy(os.path.join(DATA, "first_input.txt").encode(), odd)
            shutil.copy(EXERCISE, tmp)
            args = ["--exercise", "add.ini", odd.decode("utf-8", "surrogateescape")]
            for fmt in ("json", "tap", "junit"):
                p = subprocess.run([RUNNER, *args, "--format", fmt], capture_output=True, cwd=tmp)
                out = p.stdout.decode("utf-8")  # valid UTF-8 whatever the name
                if fmt == "json":
                    self.assertTrue(json.loads(out)["programs"][0]["file"].startswith('/'))
                elif fmt == "tap":
                    meta, points, errors = tap_results(out)
                    self.assertEqual((errors, len(points)), ([], 3))
                    self.assertEqual([d for *_, d in points], ["", "", ""])  # no SKIP or TODO
                    self.assertTrue(all("# SKIP" in d for _, _, d, _ in points), points)
                else:
                    suite = ET.fromstring(p.stdout).find("testsuite")
                    self.assertIn('a # SKIP <"&\ufffd\nc.txt', suite.get("name"))


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
            _, out, _ = run(*args, "--format", fmt, cwd=DATA)
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
        self.write("=SUM(A1).txt", read(os.path.join(DATA, "correct.txt")))
        status, out, _ = run("--exercise", os.path.join(DATA, "add.ini"), "--format", "csv",
                             "=SUM(A1).txt", os.path.join(DATA, "first_input.txt"), "gone.txt",
                             cwd=self.tmp)
        rows = list(csv.reader(io.StringIO(out, newline="")))
        self.assertEqual(rows[0], ["file", "score", "maximum", "passed", "failed", "error"])
        self.assertEqual(rows[1], ["'=SUM(A1).txt", "4", "4", "3", "0", ""])
        self.assertEqual(rows[2][1:5], ["0", "4", "0", "3"])
        self.assertEqual(rows[3][:5], ["gone.txt", "0", "4", "0", "3"])
        self.assertIn('"gone.txt" could not be loaded', rows[3][5])

    def test_feedback_files_one_per_program(self):
        data = os.path.join(DATA, "correct.txt")
        other = os.path.join(self.tmp, "class b")
        os.mkdir(other)
        self.write("class b/correct.txt", read(os.path.join(DATA, "waits.txt")))
        with open(data, "rb") as f:
            p = subprocess.run([RUNNER, "--exercise", os.path.join(DATA, "add.ini"), "--feedback",
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
        status, _, err = run("--exercise", os.path.join(DATA, "add.ini"), "--feedback", "blocked",
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
        self.write("endless.txt", program_text({0: op(BRANCH, 1), 1: op(BRANCH, 0)}))
        status, out, err = run("--exercise", "count.ini", "--make-expected", "endless.txt", cwd=self.tmp)
        self.assertEqual(err.splitlines(), ["volpar-run: note: Test %d: the solution was still running after 10000 "
                                            "instructions (End=limit written)" % n for n in (1, 2)])
        status, out, err = run("--exercise", "count.ini", "--make-expected", "nowhere.txt", cwd=self.tmp)
        self.assertEqual((status, out), (2, ""))
        self.assertIn('"nowhere.txt" could not be loaded', err)

    def test_progress_only_on_a_terminal_and_only_when_slow(self):
        """A class whose one program comes on standard input after 1.5 s takes longer than a
        second however fast the machine."""
        correct = read(os.path.join(DATA, "correct.txt")).encode()
        args = [RUNNER, "--exercise", os.path.join(DATA, "add.ini"), "-", os.path.join(DATA, "waits.txt")]
        for terminal in (True, False):
            leader, follower = pty.openpty() if terminal else os.pipe()
            p = subprocess.Popen(args, stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=follower)
            os.close(follower)
            time.sleep(1.5)
            p.stdin.write(correct)
            p.stdin.close()
            seen = b""
            try:
                while chunk := os.read(leader, 4096):
                    seen += chunk
            except OSError:  # a terminal whose other side is closed
                pass
            os.close(leader)
            self.assertEqual(p.wait(), 1)
            shown = "\rvolpar-run: graded 1 of 2 programs\rvolpar-run: graded 2 of 2 programs\r\n"
            self.assertEqual(seen.decode(), shown if terminal else "")

    def test_plain_runs_say_what_loading_passed_over(self):
        damaged = os.path.join(DATA, "no_fourth8.txt")
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
