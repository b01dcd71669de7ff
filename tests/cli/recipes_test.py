#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The README's grading recipes, taken from the README as they stand and run with one
right and one wrong answer in the sessions of tests/data/cli/recipes.txt, which play the
part of the shell, CodeRunner and Gradescope: what a teacher copies is what is tested.

Usage: recipes_test.py VOLPAR_RUN SOURCE_DIR
"""
import os
import sys
import tempfile
import textwrap
import unittest

import transcript

RUNNER, SOURCE = sys.argv[1], sys.argv[2]
DATA = os.path.join(SOURCE, "tests", "data", "exercise")


def recipe(marker):
    """The first indented block after the README paragraph that starts with marker."""
    with open(os.path.join(SOURCE, "README.md"), encoding="utf-8") as f:
        lines = f.read().split(marker, 1)[1].splitlines()
    start = next(i for i, line in enumerate(lines) if line.startswith("    "))
    end = next((i for i in range(start, len(lines))
                if lines[i] and not lines[i].startswith("    ")), len(lines))
    return textwrap.dedent("\n".join(lines[start:end])).strip() + "\n"


def recipes(folder):
    """The recipes as the shell, Gradescope (its folder in $AUTOGRADER) and CodeRunner run
    them, CodeRunner's filled in with each answer as its e('py') filter escapes it."""
    files = {"shell-loop.sh": recipe("**A shell loop**"),
             "gradescope.sh": recipe("**Gradescope**").replace("/autograder", "$AUTOGRADER")}
    template = recipe("**Moodle CodeRunner**").replace("/opt/exercises/add.ini", os.path.join(DATA, "add.ini"))
    for answer in ("correct", "first_input"):
        with open(os.path.join(DATA, answer + ".txt"), encoding="utf-8") as f:
            text = f.read()
        escaped = (text.replace("\\", "\\\\").replace('"', '\\"').replace("'", "\\'")
                   .replace("\n", "\\n").replace("\r", "\\r"))
        files[f"coderunner-{answer}.py"] = template.replace("{{ STUDENT_ANSWER | e('py') }}", escaped)
    for name, text in files.items():
        with open(os.path.join(folder, name), "w", encoding="utf-8") as f:
            f.write(text)


class Recipes(unittest.TestCase):
    maxDiff = None

    def test_recipes(self):
        with tempfile.TemporaryDirectory() as folder:
            recipes(folder)
            self.assertEqual(*transcript.play("recipes", RUNNER, DATA, RECIPES=folder))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
