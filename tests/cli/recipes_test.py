#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The README's grading recipes, taken from the README as they stand and run with one
right and one wrong answer, this script playing the part of the shell, CodeRunner and
Gradescope: what a teacher copies is what is tested.

Usage: recipes_test.py VOLPAR_RUN SOURCE_DIR
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import textwrap
import unittest

RUNNER, SOURCE = sys.argv[1], sys.argv[2]
DATA = os.path.join(SOURCE, "tests", "data", "exercise")
RIGHT, WRONG = os.path.join(DATA, "correct.txt"), os.path.join(DATA, "first_input.txt")


def recipe(marker):
    """The first indented block after the README paragraph that starts with marker."""
    with open(os.path.join(SOURCE, "README.md"), encoding="utf-8") as f:
        lines = f.read().split(marker, 1)[1].splitlines()
    start = next(i for i, line in enumerate(lines) if line.startswith("    "))
    end = next((i for i in range(start, len(lines))
                if lines[i] and not lines[i].startswith("    ")), len(lines))
    return textwrap.dedent("\n".join(lines[start:end])).strip() + "\n"


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


class Recipes(unittest.TestCase):
    def setUp(self):
        self.tmp = self.enterContext(tempfile.TemporaryDirectory())
        bin_dir = os.path.join(self.tmp, "bin")
        os.mkdir(bin_dir)
        os.symlink(os.path.abspath(RUNNER), os.path.join(bin_dir, "volpar-run"))
        self.env = dict(os.environ, PATH=bin_dir + os.pathsep + os.environ["PATH"])

    def place(self, folder, files):
        os.makedirs(os.path.join(self.tmp, folder), exist_ok=True)
        for name, source in files.items():
            shutil.copy(source, os.path.join(self.tmp, folder, name))

    def test_shell_loop(self):
        self.place(".", {"add.ini": os.path.join(DATA, "add.ini")})
        self.place("submissions/class a", {"right.txt": RIGHT, "wrong one.txt": WRONG})
        os.makedirs(os.path.join(self.tmp, "submissions", "empty"))
        p = subprocess.run(["sh", "-c", recipe("**A shell loop**")], cwd=self.tmp, env=self.env)
        self.assertEqual(p.returncode, 0)
        rows = read(os.path.join(self.tmp, "submissions", "class a.csv")).splitlines()
        self.assertEqual(rows[1:], ['"submissions/class a/right.txt",4,4,3,0,',
                                    '"submissions/class a/wrong one.txt",0,4,0,3,'])
        self.assertEqual(sorted(os.listdir(os.path.join(self.tmp, "submissions", "class a.feedback"))),
                         ["right.txt.feedback.txt", "wrong one.txt.feedback.txt"])
        self.assertFalse(os.path.exists(os.path.join(self.tmp, "submissions", "empty.csv")))

    def code_runner(self, answer):
        """What CodeRunner's exact-match grader compares with the expected "OK"."""
        escaped = (answer.replace("\\", "\\\\").replace('"', '\\"').replace("'", "\\'")
                   .replace("\n", "\\n").replace("\r", "\\r"))
        template = recipe("**Moodle CodeRunner**")
        program = (template.replace("{{ STUDENT_ANSWER | e('py') }}", escaped)
                   .replace("/opt/exercises/add.ini", os.path.join(DATA, "add.ini")))
        p = subprocess.run([sys.executable, "-c", program], capture_output=True, text=True,
                           cwd=self.tmp, env=self.env)
        self.assertEqual(p.returncode, 0, p.stderr)
        return p.stdout

    def test_code_runner(self):
        self.assertEqual(self.code_runner(read(RIGHT)), "OK")
        self.assertIn("Test 1: input 5,7; expected output 12, end halt; got output 5, end halt",
                      self.code_runner(read(WRONG)))

    def gradescope(self, submission):
        """The results.json Gradescope reads after running run_autograder."""
        root = os.path.join(self.tmp, "gs")
        shutil.rmtree(root, ignore_errors=True)
        self.place("gs/autograder/source", {"add.ini": os.path.join(DATA, "add.ini")})
        self.place("gs/autograder/submission", submission)
        os.makedirs(os.path.join(root, "autograder", "results"))
        script = recipe("**Gradescope**").replace("/autograder", os.path.join(root, "autograder"))
        p = subprocess.run(["sh", "-c", script], cwd=self.tmp, env=self.env)
        self.assertEqual(p.returncode, 0)
        results = json.loads(read(os.path.join(root, "autograder", "results", "results.json")))
        score = results.get("score", sum(t["score"] for t in results.get("tests", [])))
        return score, sum(t["max_score"] for t in results.get("tests", [])), results

    def test_gradescope(self):
        self.assertEqual(self.gradescope({"program.txt": RIGHT})[:2], (4, 4))
        score, most, results = self.gradescope({"program.txt": WRONG})
        self.assertEqual((score, most, [t["output"] for t in results["tests"][:2]], results["tests"][1]["visibility"]),
                         (0, 4, ["input 5,7; expected output 12, end halt; got output 5, end halt", ""],
                          "after_published"))  # a hidden test says nothing
        score, most, results = self.gradescope({"program.txt": os.path.join(DATA, "add.ini")})
        self.assertEqual((score, most, '"program.txt" could not be loaded' in results["output"]), (0, 4, True), results)
        score, _, results = self.gradescope({"a.txt": RIGHT, "b.txt": RIGHT})
        self.assertEqual((score, results["output"]), (0, "Upload exactly one program file."))
        self.assertEqual(self.gradescope({})[0], 0)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
