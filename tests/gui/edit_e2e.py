#!/usr/bin/env python3
"""End-to-end test of geomfeature-edit under a virtual X server, driven by real input events (xdotool).

Opens the bracket sample, draws a line with two clicks reaching past the part's right edge and a circle with
two clicks whose centre snaps to the line's end, selects the circle and moves it, undoes the move, saves
with Ctrl+S and quits with Ctrl+Q. The saved part is then checked with `geomfeature info --json` (counts and
the part's box, which the circle reaches) and through its DXF export (exact coordinates of the new line and
circle). The program prints a line after every handled event; the test waits for those lines, never for a
fixed time.

usage: edit_e2e.py EDITOR GEOMFEATURE SAMPLE_DXF WORKDIR
"""
import json
import os
import queue
import subprocess
import sys
import threading
import time

TIMEOUT = 120.0  # seconds for any one state on a loaded machine
SCALE = 2.0      # pixels per drawing unit
CENTER = (120.0, 80.0)


class Editor:
    def __init__(self, argv, env):
        self.proc = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env, text=True)
        self.lines = queue.Queue()
        self.log = []
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.proc.stdout:
            self.lines.put(line.rstrip("\n"))
        self.lines.put(None)

    def wait_for(self, predicate, what):
        deadline = time.monotonic() + TIMEOUT
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                raise AssertionError("timed out waiting for " + what + "; last lines: " + repr(self.log[-5:]))
            try:
                line = self.lines.get(timeout=left)
            except queue.Empty:
                continue
            if line is None:
                raise AssertionError("the editor ended while waiting for " + what + "; stderr: " +
                                     self.proc.stderr.read())
            self.log.append(line)
            if predicate(line):
                return line


def fields(line):
    out = {}
    for word in line.split()[3:]:
        if "=" in word:
            key, value = word.split("=", 1)
            out[key] = value
    return out


def start_xvfb():
    """A virtual screen on a free display number (Xvfb picks it and tells us through a pipe)."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    with os.fdopen(read_end, "rb") as pipe:
        while not number.endswith(b"\n"):
            chunk = pipe.read(1)
            if not chunk:
                raise RuntimeError("Xvfb did not start")
            number += chunk
    return xvfb, ":" + number.decode().strip()


def read_dxf_entities(path):
    """(type, {group code: value}) for each entity of the ENTITIES section."""
    with open(path) as f:
        pairs = [l.strip() for l in f]
    codes = list(zip(pairs[0::2], pairs[1::2]))
    entities, current, inside = [], None, False
    for code, value in codes:
        if code == "2" and current is None and value == "ENTITIES":
            inside = True
            continue
        if not inside:
            continue
        if code == "0":
            if current:
                entities.append(current)
            if value == "ENDSEC":
                break
            current = (value, {})
        elif current is not None:
            current[1].setdefault(code, value)
    return entities


def main():
    editor_path, program, sample, work = sys.argv[1:5]
    os.makedirs(work, exist_ok=True)
    part = os.path.join(work, "bracket.db")
    subprocess.run([program, "import", sample, "-o", part, "--force", "--quiet"], check=True,
                   stdout=subprocess.DEVNULL)

    xvfb, display = start_xvfb()
    env = dict(os.environ, DISPLAY=display, GDK_BACKEND="x11", GDK_SCALE="1", NO_AT_BRIDGE="1")
    # In a sanitizer build GTK's own caches (fonts, themes, types) live until exit and would read as
    # leaks; the window's logic is leak-checked by its unit tests.
    env["ASAN_OPTIONS"] = (os.environ.get("ASAN_OPTIONS", "") + ":detect_leaks=0").lstrip(":")
    editor = None
    try:
        editor = Editor([editor_path, part, "--status", "--size", "1100x750", "--view", str(CENTER[0]),
                         str(CENTER[1]), str(SCALE)], env)
        ready = editor.wait_for(lambda l: l.startswith("ready "), "the window")
        info = dict(w.split("=", 1) for w in ready.split()[1:])
        ox, oy = map(int, info["origin"].split(","))
        width, height = map(int, info["size"].split("x"))
        scale = float(info["scale"])
        cx, cy = map(float, info["center"].split(","))

        def pixel(x, y):
            return (round(ox + width / 2 + (x - cx) * scale), round(oy + height / 2 - (y - cy) * scale))

        def world(px, py):
            """The drawing point under a screen pixel: what a click there gives unless it snaps."""
            return (cx + (px - ox - width / 2) / scale, cy - (py - oy - height / 2) / scale)

        counter = {"n": 0}

        def xdo(*args):
            subprocess.run(["xdotool"] + list(args), env=env, check=True)

        def act(event, *args):
            """Sends input and waits for the program to report that it handled it."""
            before = counter["n"]
            xdo(*args)
            line = editor.wait_for(lambda l: l.startswith("idle ") and l.split()[2] == event,
                                   event + " after xdotool " + " ".join(args))
            counter["n"] = before + 1
            return fields(line)

        def click(x, y):
            px, py = pixel(x, y)
            xdo("mousemove", str(px), str(py))
            act("press", "mousedown", "1")
            return act("release", "mouseup", "1"), world(px, py)

        act("command", "key", "F3")  # line tool
        _, start = click(200.0, 40.0)
        state, end = click(260.0, 40.0)
        assert state["patterns"] == "16", state
        act("command", "key", "F4")  # circle tool
        # Two pixels right and one up of the line's end: the centre snaps onto it.
        state, _ = click(end[0] + 2 / scale, end[1] + 1 / scale)
        assert state["cursor"] == "%g,%g" % end, ("no snap to the end point", state)
        state, rim = click(end[0] + 10.0, end[1])
        radius = rim[0] - end[0]
        assert state["patterns"] == "17", state

        act("command", "key", "F2")  # select
        click(end[0], end[1] - radius)  # the circle's lowest point
        act("command", "key", "F6")  # move
        click(end[0], end[1])  # base point: snaps to the centre
        state, _ = click(end[0] - 20.0, end[1] + 60.0)
        assert state["undo"] == "3", state
        state = act("command", "key", "ctrl+z")
        assert state["undo"] == "2" and state["modified"] == "1", state
        state = act("saved", "key", "ctrl+s")
        assert state["modified"] == "0", state
        xdo("key", "ctrl+q")
        editor.proc.wait(timeout=TIMEOUT)
        assert editor.proc.returncode == 0, editor.proc.returncode
    finally:
        if editor and editor.proc.poll() is None:
            editor.proc.kill()
        xvfb.terminate()
        xvfb.wait()

    summary = json.loads(subprocess.run([program, "info", part, "--json"], check=True, capture_output=True,
                                        text=True).stdout)
    assert summary["patterns"]["total"] == 17, summary["patterns"]
    assert summary["patterns"]["by_type"]["line"] == 6, summary["patterns"]
    assert summary["patterns"]["by_type"]["circle"] == 2, summary["patterns"]
    # The circle sits at the line's end after the undone move: it sets the part's right edge.
    assert summary["box"]["max"] == [end[0] + radius, 160.0], summary["box"]
    assert summary["box"]["min"] == [0.0, 0.0], summary["box"]

    dxf = os.path.join(work, "bracket.dxf")
    subprocess.run([program, "export", part, "-o", dxf, "--force"], check=True, stdout=subprocess.DEVNULL)
    entities = read_dxf_entities(dxf)
    lines = [e for t, e in entities if t == "LINE" and float(e["10"]) == start[0] and float(e["20"]) == start[1]]
    assert lines and (float(lines[0]["11"]), float(lines[0]["21"])) == end, lines
    circles = [e for t, e in entities if t == "CIRCLE" and (float(e["10"]), float(e["20"])) == end]
    assert circles and float(circles[0]["40"]) == radius, [e for t, e in entities if t == "CIRCLE"]
    print("ok: line %s-%s, circle at %s radius %g" % (start, end, end, radius))


if __name__ == "__main__":
    main()
