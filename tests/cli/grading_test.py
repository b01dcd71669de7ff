#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""volpar-run --exercise as a teacher's script and a CI job use it, in the sessions of
tests/data/cli/grading.txt (a class graded in every format, compared with the expected
reports, report.* in DATA_DIR, and read back by real readers; exit statuses and messages;
expected results made from a solution; names that are not plain; what leaks from hidden
tests, nothing; what a report costs however long a program runs; the feedback files), and
the progress line.

Usage: grading_test.py VOLPAR_RUN DATA_DIR
"""
import os
import pty
import subprocess
import sys
import time
import unittest

import transcript

RUNNER, DATA = sys.argv[1], sys.argv[2]


class Grading(unittest.TestCase):
    maxDiff = None

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
            with open(os.path.join(DATA, "correct.txt"), "rb") as f:
                p.stdin.write(f.read())
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
