# SPDX-License-Identifier: GPL-3.0-or-later
"""Plays a transcript of shell sessions, tests/data/cli/NAME.txt. "## what" starts a session
in a fresh folder; "$ command" runs there with sh (lines starting "> " continue it), with
volpar-run on the PATH and $DATA naming the test data; the lines indented by two spaces
after it are what it printed, standard output then standard error, "\\ no newline at end"
where the last line has none, and "[n]" when its exit status n is not 0. The session's
folder reads as "~" and the test data as "$DATA". With VOLPAR_UPDATE_GOLDEN=1 the file is
written again with what was printed, to be read over before it is committed."""
import os
import subprocess
import tempfile


def printed(command, folder, env):
    p = subprocess.run(["sh", "-c", command], cwd=folder, env=env, capture_output=True, timeout=120)
    text = (p.stdout + p.stderr).decode("utf-8", "backslashreplace")
    text = text.replace(folder, "~").replace(env["DATA"], "$DATA")
    lines = text.splitlines() + ["\\ no newline at end"] * (text != "" and not text.endswith("\n"))
    return ["  " + line for line in lines + [f"[{p.returncode}]"] * (p.returncode != 0)]


def play(name, runner, data, **env):
    """The transcript as written and as its commands print it now."""
    path = os.path.join(data, "..", "cli", name + ".txt")
    with open(path, encoding="utf-8") as f:
        written = f.read()
    blocks = []  # each command with its continuation lines, and each line of prose
    for line in written.splitlines():
        if line.startswith("> ") and blocks and blocks[-1].startswith("$ "):
            blocks[-1] += "\n" + line
        elif not line.startswith("  "):
            blocks.append(line)
    seen = []
    with tempfile.TemporaryDirectory() as root:
        os.mkdir(os.path.join(root, "bin"))
        os.symlink(os.path.abspath(runner), os.path.join(root, "bin", "volpar-run"))
        env = dict(os.environ, PATH=os.path.join(root, "bin") + os.pathsep + os.environ["PATH"], DATA=data, **env)
        folder = root
        for block in blocks:
            seen.append(block)
            if block.startswith("## "):
                folder = tempfile.mkdtemp(dir=root)
            elif block.startswith("$ "):
                seen += printed("\n".join(line[2:] for line in block.split("\n")), folder, env)
    now = "\n".join(seen) + "\n"
    if os.environ.get("VOLPAR_UPDATE_GOLDEN"):
        with open(path, "w", encoding="utf-8") as f:
            f.write(now)
    return written, now
