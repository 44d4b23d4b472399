"""The round trips scripts rely on, the errors they see, and stopping work from a progress callback."""
import json
import os
import pathlib
import subprocess
import tempfile
import threading
import unittest

import geomfeature as gf

PROGRAM = os.environ["GF_PROGRAM"]
SOURCE = pathlib.Path(os.environ["GF_SOURCE_DIR"])
CORPUS = pathlib.Path(os.environ.get("GF_CORPUS_DIR", "/nonexistent")) / "dxf"
BRACKET = SOURCE / "samples" / "bracket.dxf"  # every standard hole kind as loose lines and arcs
PLATE = SOURCE / "samples" / "plate.dxf"  # a row, a grid and a bolt circle of holes


def program(*args):
    return subprocess.run([PROGRAM, *map(str, args)], capture_output=True, text=True)


def drawings():
    yield BRACKET
    for name in ("mix4__4ch-euromixer.dxf", "bots__BalloonBot_proto_v01.dxf", "lumberjack__lumberjack-full.dxf"):
        if (CORPUS / name).exists():
            yield CORPUS / name


def pattern_data(part):
    # Layers and colours come from the drawing; the part tables do not keep them.
    return [(p.id, p.type, p.params, p.array_seed) for p in part.patterns]


def loop_data(part):
    return [(l.id, l.kind, l.shape, l.closed, l.direction, l.depth, l.role, l.pieces) for l in part.loops]


class Case(unittest.TestCase):
    def setUp(self):
        self._dir = tempfile.TemporaryDirectory()
        self.dir = pathlib.Path(self._dir.name)

    def tearDown(self):
        self._dir.cleanup()


class RoundTrip(Case):
    def test_import_save_open_matches_the_program(self):
        for dxf in drawings():
            with self.subTest(dxf.name):
                part = gf.import_dxf(dxf)
                by_program = json.loads(program("import", dxf, "-o", self.dir / "p.db", "--json", "--tree", "-q",
                                                 "--force").stdout)
                summary = part.summary(tree=True)
                for key in ("patterns", "loops", "nesting_depth", "boundary_loop", "box", "tree"):
                    self.assertEqual(summary[key], by_program[key], key)

                saved = self.dir / (dxf.stem + ".db")
                part.save(saved)
                opened = gf.open_part(saved)
                info = json.loads(program("info", saved, "--json", "--tree").stdout)
                del info["input"]
                self.assertEqual(opened.summary(), info)

                # Stored values come back to rounding; derived ones (angles, lengths) may move in the last bits.
                self.assertEqual(loop_data(opened), loop_data(part))
                for mine, theirs in zip(pattern_data(opened), pattern_data(part), strict=True):
                    self.assertEqual(mine[:2] + mine[3:], theirs[:2] + theirs[3:])
                    self.assertEqual(mine[2].keys(), theirs[2].keys())
                    for key, value in mine[2].items():
                        self.assertAlmostEqual(value, theirs[2][key], delta=1e-9 * max(1.0, abs(value)), msg=key)

    def test_arrays_and_pictures(self):
        self.assertEqual(gf.import_dxf(PLATE).recognise_arrays(), 0)  # the import found them already
        part = gf.import_dxf(PLATE, gf.ImportOptions(arrays=False))
        self.assertGreaterEqual(part.recognise_arrays(), 3)  # the row, the grid and the bolt circle
        self.assertIn("array", {l.kind for l in part.loops})
        self.assertTrue(any(p.array_seed for p in part.patterns))
        for name, magic in (("p.png", b"\x89PNG"), ("p.svg", b"<?xml"), ("p.pdf", b"%PDF")):
            part.render(self.dir / name, width=200, height=150)
            self.assertEqual((self.dir / name).read_bytes()[:len(magic)], magic)

    def test_offset_grows_and_refuses_with_a_reason(self):
        part = gf.import_dxf(BRACKET, gf.ImportOptions(recognise=False))
        outer = next(l for l in part.loops if l.role == "outer")
        x0, y0, x1, y1 = outer.box
        part.offset_loop(outer.index, 2.0)
        grown = part.loops[outer.index].box
        self.assertAlmostEqual(grown[0], x0 - 2.0, places=6)
        self.assertAlmostEqual(grown[3], y1 + 2.0, places=6)
        with self.assertRaises(gf.OffsetError) as caught:
            part.offset_loop(outer.index, 1e6, grow=False)
        self.assertEqual(caught.exception.reason, "vanishes")
        self.assertEqual(part.loops[outer.index].box, grown)  # a refused offset changes nothing


class Errors(Case):
    def test_messages_and_exit_codes_are_the_programs(self):
        (self.dir / "notes.dxf").write_text("these are not the drawings you are looking for\n")
        (self.dir / "empty.dxf").write_bytes(b"")
        (self.dir / "taken.db").write_bytes(b"")
        part = gf.import_dxf(BRACKET)
        part.save(self.dir / "ok.db")
        # (python call, the program's arguments, exception, exit code)
        table = [
            (lambda: gf.import_dxf(self.dir / "missing.dxf"), ("import", self.dir / "missing.dxf", "-o", self.dir / "x.db"),
             gf.MissingInputError, 66),
            (lambda: gf.import_dxf(self.dir / "notes.dxf"), ("import", self.dir / "notes.dxf", "-o", self.dir / "x.db"),
             gf.BadDataError, 65),
            (lambda: gf.read_dxf(self.dir / "empty.dxf"), ("import", self.dir / "empty.dxf", "-o", self.dir / "x.db"),
             gf.BadDataError, 65),
            (lambda: gf.import_dxf(BRACKET, unit="furlong"), ("import", BRACKET, "--unit", "furlong", "-o", self.dir / "x.db"),
             gf.UsageError, 64),
            (lambda: gf.open_part(BRACKET), ("info", BRACKET), gf.BadDataError, 65),
            (lambda: gf.open_part(self.dir), ("info", self.dir), gf.MissingInputError, 66),
            (lambda: part.render(self.dir / "p.bmp"), ("render", self.dir / "ok.db", "-o", self.dir / "p.bmp"),
             gf.UsageError, 64),
            (lambda: part.save(self.dir / "taken.db"), ("import", BRACKET, "-q", "-o", self.dir / "taken.db"),
             gf.OutputError, 73),
            (lambda: part.save(self.dir / "no" / "such.db"), ("import", BRACKET, "-q", "-o", self.dir / "no" / "such.db"),
             gf.OutputError, 73),
        ]
        for call, args, kind, code in table:
            with self.subTest(args[:2]):
                with self.assertRaises(kind) as caught:
                    call()
                ran = program(*args)
                self.assertEqual(ran.returncode, code)
                said = ran.stderr.strip().removeprefix("geomfeature: ").replace("--force", "overwrite=True")
                self.assertEqual(str(caught.exception), said)
                self.assertEqual(caught.exception.exit_code, code)
                self.assertIsInstance(caught.exception, gf.Error)
        self.assertFalse((self.dir / "x.db").exists())


class Stopping(Case):
    def leftovers(self):
        return sorted(p.name for p in self.dir.iterdir())

    def test_a_cancelled_import_returns_nothing(self):
        calls = []
        for stop_after in (1, 2, 5):
            with self.subTest(stop_after=stop_after):
                calls.clear()
                with self.assertRaises(gf.CancelledError):
                    gf.import_dxf(BRACKET, progress=lambda f, s: calls.append((f, s)) or len(calls) < stop_after)
                self.assertEqual(len(calls), stop_after)  # no report after the stop was asked
                self.assertTrue(all(0.0 <= f <= 1.0 for f, _ in calls))

    def test_a_cancelled_save_leaves_the_earlier_file(self):
        part = gf.import_dxf(BRACKET)
        target = self.dir / "part.db"
        with self.assertRaises(gf.CancelledError):
            part.save(target, progress=lambda f, s: False)
        self.assertEqual(self.leftovers(), [])

        gf.import_dxf(PLATE).save(target)
        before = target.read_bytes()
        with self.assertRaises(gf.CancelledError):
            part.save(target, overwrite=True, progress=lambda f, s: False)
        self.assertEqual(target.read_bytes(), before)
        self.assertEqual(self.leftovers(), ["part.db"])

    def test_errors_of_the_callback_stop_the_work_and_come_back(self):
        class Stop(Exception):
            pass

        def boom(fraction, stage):
            raise Stop(stage)

        with self.assertRaises(Stop):
            gf.import_dxf(BRACKET, progress=boom)
        part = gf.import_dxf(BRACKET)
        # A callback that reaches back into the part it is saving gets BusyError instead of a deadlock.
        with self.assertRaises(gf.BusyError):
            part.save(self.dir / "p.db", progress=lambda f, s: part.loops)
        self.assertEqual(self.leftovers(), [])

    def test_threads_import_side_by_side(self):
        results = {}

        def work(i):
            results[i] = gf.import_dxf(PLATE).summary()

        threads = [threading.Thread(target=work, args=(i,)) for i in range(4)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()
        self.assertEqual(len(results), 4)
        self.assertTrue(all(r == results[0] for r in results.values()))


if __name__ == "__main__":
    unittest.main()
