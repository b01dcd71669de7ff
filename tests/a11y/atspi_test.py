# SPDX-License-Identifier: GPL-3.0-or-later
"""The execution screen read over the accessibility bus, as a screen reader reads it.

Runs a short program phase by phase (Begin/Step pressed through its accessible action)
and checks, after every phase, that each register's accessible text says the value the
engine computes (volpar-run's trace of the same program), that the memory table says what
memory holds, and that every text box has a name.
Usage: atspi_test.py VOLPAR_RUN PROGRAM_FILE   (the program must already be running)
"""
import re
import subprocess
import sys
import time

import pyatspi

failures = []
last_clock = None
passed = 0


def check(ok, what):
    global passed
    if ok:
        passed += 1
    else:
        failures.append(what)
        print("FAILED:", what, flush=True)


def wait_for(find, what, seconds=10.0):
    end = time.time() + seconds
    while time.time() < end:
        found = find()
        if found:
            return found
        time.sleep(0.05)
    raise SystemExit("FAILED: no %s within %g s (%s)" % (what, seconds, last_clock))


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "volpar":
            return app
    return None


def frame(app, title):
    for i in range(app.childCount):
        f = app.getChildAtIndex(i)
        if f is not None and f.name == title:
            return f
    return None


def named(root, roles, names):
    for node in walk(root):
        if node.getRoleName() in roles and node.name in names and node.getState().contains(pyatspi.STATE_SHOWING):
            return node
    return None


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
        try:
            return wait_for(at_phase, "clock at " + phase, 1.5)
        except SystemExit:
            pass
    return wait_for(at_phase, "clock at " + phase, 0)


def number_and_bits(text):
    m = re.fullmatch(r"(?:(\d+), )?binary ([01]+)(?:, [A-Z ]+\d+)?", text)
    assert m, "not a register's text: %r" % text
    return (int(m.group(1)) if m.group(1) else None), m.group(2)


def memory_rows(screen):
    table = named(screen, ["table"], ["Memory"])
    return {table.getChildAtIndex(a).name: table.getChildAtIndex(a).description for a in range(table.childCount)}


def check_memory(screen, dump, when):
    rows = memory_rows(screen)
    check(len(rows) == 32, "%s: the memory table has 32 rows, not %d" % (when, len(rows)))
    for a in range(32):
        said = rows.get("Address %d" % a, "")
        check(said.split(",")[0] == dump["MEM %d" % a], "%s: Address %d says %r, memory holds %s" % (when, a, said, dump["MEM %d" % a]))


def check_text_boxes(app):
    boxes = [n for n in walk(app) if n.getRoleName() == "text"]
    check(len(boxes) > 0, "text boxes are found")
    for box in boxes:
        check(box.name != "", "a text box has a name (%r in %r)" % (box.queryText().getText(0, -1), box.parent.parent.name))


def run_engine(volpar_run, program, *args):
    # Exit 3 is the instruction limit, which the memory before the run asks for.
    done = subprocess.run([volpar_run, program, *args], capture_output=True, text=True)
    assert done.returncode in (0, 3), done.stderr
    return done.stdout.splitlines()


def main():
    volpar_run, program = sys.argv[1], sys.argv[2]
    trace = [line.split() for line in run_engine(volpar_run, program, "--trace") if line.startswith("T")]
    dump_at = lambda lines: {" ".join(l.split()[:-1]): l.split()[-1] for l in lines if not l.startswith(("T", "END", "OUTPUT"))}
    start = dump_at(run_engine(volpar_run, program, "--max-instructions", "0", "--dump"))
    end = dump_at(run_engine(volpar_run, program, "--dump"))

    app = wait_for(application, "program on the accessibility bus")
    input_screen = wait_for(lambda: frame(app, "VOLPAR Input Screen"), "input screen")
    wait_for(lambda: memory_rows(input_screen).get("Address 0", "").startswith(start["MEM 0"]), "program loaded")
    check_memory(input_screen, start, "loaded")
    check_text_boxes(app)

    press(input_screen, ["push button"], "Execute Program")
    press(input_screen, ["push button"], "OK")
    rexec = wait_for(lambda: frame(app, "VOLPAR Execution Screen"), "execution screen")
    press(rexec, ["push button"], "Options")
    press(rexec, ["radio button"], "Manual clock advance")
    # A press is an animated click: its effect comes a moment later.
    wait_for(lambda: named(rexec, ["radio button"], ["Manual clock advance"]).getState().contains(pyatspi.STATE_CHECKED), "manual clock")
    press(rexec, ["push button"], "Close")
    check_text_boxes(rexec)

    for phase, _, pc, _, ar, _, s in trace:
        now = step(rexec, phase)
        for name, want in (("Program Counter", pc), ("Address Register", ar), ("S", s)):
            got, _ = number_and_bits(now[name])
            check(got == int(want), "%s: %s says %r, the engine %s" % (phase, name, now[name], want))
        for name in ("Program Counter", "Address Register", "Memory (PC)", "X", "Y", "S", "Output"):
            got, bits = number_and_bits(now[name])
            check(got is None or got == int(bits, 2), "%s: %s %r: its number and bits differ" % (phase, name, now[name]))
        ir, ir_bits = number_and_bits(now["Instruction Register"])
        check(ir == int(ir_bits, 2), "%s: the IR's byte %r" % (phase, now["Instruction Register"]))

    for name, key in (("X", "X"), ("Y", "Y"), ("S", "S"), ("Output", "OUT"), ("Program Counter", "PC")):
        got, _ = number_and_bits(now[name])
        check(got == int(end[key]), "at the end %s says %r, the engine %s" % (name, now[name], end[key]))
    _, ir_bits = number_and_bits(now["Instruction Register"])
    check(int(ir_bits, 2) == int(end["IR"]), "at the end the IR holds %s, the engine %s" % (ir_bits, end["IR"]))

    press(rexec, ["push button"], "View Memory")
    check_memory(input_screen, end, "after the run")

    print("%d passed, %d failed" % (passed, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
