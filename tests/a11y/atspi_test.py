# SPDX-License-Identifier: GPL-3.0-or-later
"""The execution screen read over the accessibility bus, as a screen reader reads it.

Runs a short program phase by phase (Begin/Step pressed through its accessible action)
and checks, after every phase, that each register's accessible text says the value the
engine computes (volpar-run's trace of the same program), and that the memory table says
what memory holds, before the run and after it.
Usage: atspi_test.py VOLPAR_RUN PROGRAM_FILE   (the program must already be running)
"""
import re
import subprocess
import sys
import time

import pyatspi

failures = []
passed = 0
last_clock = None
REGISTERS = ("Program Counter", "Address Register", "Memory (PC)", "Instruction Register", "X", "Y", "S", "Output")


def check(ok, what):
    global passed
    passed += bool(ok)
    if not ok:
        failures.append(what)
        print("FAILED:", what, flush=True)


def wait_for(find, what, seconds=10.0, must=True):
    end = time.time() + seconds
    while not (found := find()) and time.time() < end:
        time.sleep(0.05)
    if not found and must:
        sys.exit("FAILED: no %s within %g s (%s)" % (what, seconds, last_clock))
    return found


def walk(node):
    yield node
    for child in (node.getChildAtIndex(i) for i in range(node.childCount)):
        if child is not None:
            yield from walk(child)


def child(parent, name):
    return next((c for c in parent if c is not None and c.name == name), None)


def named(root, roles, names):
    return next((n for n in walk(root) if n.getRoleName() in roles and n.name in names
                 and n.getState().contains(pyatspi.STATE_SHOWING)), None)


def press(root, roles, *names):
    node = wait_for(lambda: named(root, roles, names), "%s %s" % (roles, names))
    try:
        node.queryAction().doAction(0)
    except Exception:
        # A press that changes the button's own caption (Begin becomes Step) is done but
        # answered with an error; what follows is checked from the screen itself.
        root.clear_cache()


def readings(screen):
    """Every reading of the execution screen by name: its description."""
    global last_clock
    r = {n.name: n.description for n in walk(screen) if n.getRoleName() == "table cell" and n.description}
    last_clock = r.get("Clock")
    return r


def step(rexec, phase):
    """Presses Begin/Step until the clock has performed the phase: a press that comes
    while the last one is still being animated is lost, and is made again."""
    at_phase = lambda: (lambda r: r if r.get("Clock") == "phase " + phase else None)(readings(rexec))
    for _ in range(3):
        press(rexec, ["push button"], "Begin", "Step")
        if found := wait_for(at_phase, "clock at " + phase, 1.5, must=False):
            return found
    return wait_for(at_phase, "clock at " + phase, 0)


def number_and_bits(text):
    m = re.fullmatch(r"(?:(\d+), )?binary ([01]+)(?:, [A-Z ]+\d+)?", text)
    assert m, "not a register's text: %r" % text
    return (int(m.group(1)) if m.group(1) else None), int(m.group(2), 2)


def check_memory(screen, dump, when):
    table = named(screen, ["table"], ["Memory"])
    rows = {r.name: r.description for r in table}
    check(len(rows) == 32, "%s: the memory table has 32 rows, not %d" % (when, len(rows)))
    for a in range(32):
        said, held = rows.get("Address %d" % a, ""), dump["MEM %d" % a]
        check(said.split(",")[0] == held, "%s: Address %d says %r, memory holds %s" % (when, a, said, held))


def engine(volpar_run, program, *args):
    # Exit 3 is the instruction limit, which the memory before the run asks for.
    done = subprocess.run([volpar_run, program, *args], capture_output=True, text=True)
    assert done.returncode in (0, 3), done.stderr
    return done.stdout.splitlines()


def dump(lines):
    return {" ".join(l.split()[:-1]): l.split()[-1] for l in lines if not l.startswith(("T", "END", "OUTPUT"))}


def main():
    volpar_run, program = sys.argv[1], sys.argv[2]
    trace = [line.split() for line in engine(volpar_run, program, "--trace") if line.startswith("T")]
    start, end = dump(engine(volpar_run, program, "--max-instructions", "0", "--dump")), dump(engine(volpar_run, program, "--dump"))

    app = wait_for(lambda: child(pyatspi.Registry.getDesktop(0), "volpar"), "program on the accessibility bus")
    input_screen = wait_for(lambda: child(app, "VOLPAR Input Screen"), "input screen")
    wait_for(lambda: named(input_screen, ["table"], ["Memory"]).getChildAtIndex(0).description.startswith(start["MEM 0"]), "program loaded")
    check_memory(input_screen, start, "loaded")
    press(input_screen, ["push button"], "Execute Program")
    press(input_screen, ["push button"], "OK")
    rexec = wait_for(lambda: child(app, "VOLPAR Execution Screen"), "execution screen")
    press(rexec, ["push button"], "Options")
    press(rexec, ["radio button"], "Manual clock advance")
    # A press is an animated click: its effect comes a moment later.
    wait_for(lambda: named(rexec, ["radio button"], ["Manual clock advance"]).getState().contains(pyatspi.STATE_CHECKED), "manual clock")
    press(rexec, ["push button"], "Close")

    for phase, _, pc, _, ar, _, s in trace:
        said = step(rexec, phase)
        now = {name: number_and_bits(said[name]) for name in REGISTERS}
        for name, want in (("Program Counter", pc), ("Address Register", ar), ("S", s)):
            check(now[name][0] == int(want), "%s: %s says %r, the engine %s" % (phase, name, said[name], want))
        for name, (number, bits) in now.items():
            check(number in (None, bits), "%s: %s %r: its number and bits differ" % (phase, name, said[name]))
        check(now["Instruction Register"][0] is not None, "%s: the IR's byte %r" % (phase, said["Instruction Register"]))

    for name, key in (("X", "X"), ("Y", "Y"), ("S", "S"), ("Output", "OUT"), ("Program Counter", "PC")):
        check(now[name][0] == int(end[key]), "at the end %s says %r, the engine %s" % (name, said[name], end[key]))
    check(now["Instruction Register"][1] == int(end["IR"]), "at the end the IR holds %r, the engine %s" % (said["Instruction Register"], end["IR"]))

    press(rexec, ["push button"], "View Memory")
    check_memory(input_screen, end, "after the run")

    print("%d passed, %d failed" % (passed, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
