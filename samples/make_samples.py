#!/usr/bin/python3
"""Writes the sample parts of this folder (run with Debian's python3, which has ezdxf):

    /usr/bin/python3 samples/make_samples.py

bracket.dxf  outer contour plus one of every standard hole kind (circle, ellipse, obround, single-D,
             double-D, radius slot, rectangle, rounded rectangle, isosceles triangle), every one drawn as
             loose LINEs and ARCs, shuffled, some pieces reversed.
plate.dxf    a plate with a row, a grid and a bolt circle of round holes.
cutout.dxf   an LWPOLYLINE outline with bulges (rounded corners, a notch, an obround slot) and a closed
             spline cut-out.

The output is deterministic: fixed shuffling seed and fixed file metadata. All sizes are millimetres.

Drawing rules that let the shape recognition find the holes:
- A DXF ARC always runs counter-clockwise. The obround and the radius slot are recognised only when their
  half-circle ends run clockwise, so those ends are written as ARCs with extrusion (0, 0, -1), which
  mirrors the arc's coordinate system and turns it clockwise in the drawing plane.
- The rounded rectangle and the single-D are found from how their pieces follow one another, so their
  pieces all run one way round; lines of the other shapes may be reversed freely.
"""

import math
import os
import random

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))
OUTLINE = "OUTLINE"
HOLES = "HOLES"

ezdxf.options.write_fixed_meta_data_for_testing = True


def new_doc():
    doc = ezdxf.new("R2000")
    doc.header["$INSUNITS"] = 4  # millimetres
    doc.header["$MEASUREMENT"] = 1
    doc.layers.add(OUTLINE, color=7)
    doc.layers.add(HOLES, color=1)
    return doc


class Pieces:
    """Loose lines and arcs, collected first so that they can be shuffled before writing."""

    def __init__(self):
        self.items = []

    def line(self, p, q, layer=HOLES, reversible=True):
        self.items.append(("line", (p, q), layer, reversible))

    def arc(self, centre, radius, start_deg, end_deg, layer=HOLES):
        """Counter-clockwise from start to end, as DXF ARCs run."""
        self.items.append(("arc", (centre, radius, start_deg, end_deg, 1), layer, False))

    def cw_arc(self, centre, radius, start_deg, sweep_deg):
        """Clockwise from start_deg through sweep_deg (> 0): an ARC in a mirrored OCS, where x is negated
        and a world angle a is the OCS angle 180 - a."""
        ocs_start = 180.0 - start_deg
        self.items.append(("arc", ((-centre[0], centre[1]), radius, ocs_start, ocs_start + sweep_deg, -1), HOLES,
                           False))

    def write(self, msp, rng, reverse_share=0.4):
        items = list(self.items)
        rng.shuffle(items)
        for kind, data, layer, reversible in items:
            if kind == "line":
                p, q = data
                if reversible and rng.random() < reverse_share:
                    p, q = q, p
                msp.add_line(p, q, dxfattribs={"layer": layer})
            else:
                centre, radius, a0, a1, ez = data
                msp.add_arc(centre, radius, a0 % 360.0, a1 % 360.0,
                            dxfattribs={"layer": layer, "extrusion": (0, 0, ez)})


def polar(c, r, deg):
    a = math.radians(deg)
    return (c[0] + r * math.cos(a), c[1] + r * math.sin(a))


def bracket():
    doc = new_doc()
    s = Pieces()
    # Outer contour: 240 x 160 with a fillet (R20) top right and a chamfer top left.
    for p, q in [((0, 0), (240, 0)), ((240, 0), (240, 140)), ((220, 160), (15, 160)), ((15, 160), (0, 145)),
                 ((0, 145), (0, 0))]:
        s.line(p, q, layer=OUTLINE)
    s.arc((220, 140), 20, 0, 90, layer=OUTLINE)

    # Circle, diameter 12: two half arcs, one of them clockwise.
    s.arc((30, 30), 6, 0, 180)
    s.cw_arc((30, 30), 6, 360, 180)

    # Ellipse 40 x 20: 36 lines through points of the curve, including the ends of both axes.
    pts = [(100 + 20 * math.cos(2 * math.pi * k / 36), 30 + 10 * math.sin(2 * math.pi * k / 36)) for k in range(36)]
    for k in range(36):
        s.line(pts[k], pts[(k + 1) % 36])

    # Obround: end-arc centres 20 apart, width 10; the half circles clockwise.
    s.cw_arc((175, 30), 5, 270, 180)
    s.cw_arc((195, 30), 5, 90, 180)
    s.line((175, 35), (195, 35))
    s.line((195, 25), (175, 25))

    # Single-D: radius 8, flat 5 below the centre; the arc runs counter-clockwise from the flat's right
    # end over the top, the flat back from left to right.
    c, r, t = (30, 80), 8.0, 5.0
    alpha = math.degrees(math.acos(t / r))
    half = math.sqrt(r * r - t * t)
    s.arc(c, r, -90 + alpha, 270 - alpha)
    s.line((c[0] - half, c[1] - t), (c[0] + half, c[1] - t), reversible=False)

    # Double-D: radius 10, flats 7 from the centre.
    c, r, t = (100, 80), 10.0, 7.0
    alpha = math.degrees(math.acos(t / r))
    half = math.sqrt(r * r - t * t)
    s.arc(c, r, -90 + alpha, 90 - alpha)
    s.arc(c, r, 90 + alpha, 270 - alpha)
    s.line((c[0] + half, c[1] + t), (c[0] - half, c[1] + t))
    s.line((c[0] - half, c[1] - t), (c[0] + half, c[1] - t))

    # Radius slot: centre line radius 20 about (185, 60) from 60 to 120 degrees, width 6; clockwise caps.
    c, big, w = (185, 60), 20.0, 6.0
    s.arc(c, big - w / 2, 60, 120)
    s.arc(c, big + w / 2, 60, 120)
    s.cw_arc(polar(c, big, 60), w / 2, 60, 180)
    s.cw_arc(polar(c, big, 120), w / 2, 300, 180)

    # Rectangle 25 x 20.
    for p, q in [((20, 115), (45, 115)), ((45, 115), (45, 135)), ((45, 135), (20, 135)), ((20, 135), (20, 115))]:
        s.line(p, q)

    # Rounded rectangle 40 x 20, corner radius 4, every piece counter-clockwise round the hole.
    s.line((84, 115), (116, 115), reversible=False)
    s.arc((116, 119), 4, 270, 360)
    s.line((120, 119), (120, 131), reversible=False)
    s.arc((116, 131), 4, 0, 90)
    s.line((116, 135), (84, 135), reversible=False)
    s.arc((84, 131), 4, 90, 180)
    s.line((80, 131), (80, 119), reversible=False)
    s.arc((84, 119), 4, 180, 270)

    # Isosceles triangle: base 30, height 20 (sides exactly 25).
    for p, q in [((170, 115), (200, 115)), ((200, 115), (185, 135)), ((185, 135), (170, 115))]:
        s.line(p, q)

    s.write(doc.modelspace(), random.Random(1987))
    return doc


def plate():
    doc = new_doc()
    msp = doc.modelspace()
    for p, q in [((0, 0), (300, 0)), ((300, 0), (300, 200)), ((300, 200), (0, 200)), ((0, 200), (0, 0))]:
        msp.add_line(p, q, dxfattribs={"layer": OUTLINE})
    holes = {"layer": HOLES}
    # A row of six, diameter 8, pitch 40.
    for i in range(6):
        msp.add_circle((50 + 40 * i, 20), 4, dxfattribs=holes)
    # A grid of 4 x 3, diameter 6, pitch 20.
    for row in range(3):
        for col in range(4):
            msp.add_circle((40 + 20 * col, 80 + 20 * row), 3, dxfattribs=holes)
    # A bolt circle of eight, diameter 10, on radius 50 round a bore of diameter 40.
    centre = (210, 120)
    msp.add_circle(centre, 20, dxfattribs=holes)
    for k in range(8):
        msp.add_circle(polar(centre, 50, 22.5 + 45 * k), 5, dxfattribs=holes)
    return doc


def cutout():
    doc = new_doc()
    msp = doc.modelspace()
    fillet = math.tan(math.radians(90) / 4)  # bulge of a quarter circle
    # Outline 160 x 100 counter-clockwise, corners rounded with R10, a semicircular notch R10 in the bottom
    # edge (clockwise: negative bulge).
    outline = [
        (10, 0, 0), (70, 0, -1), (90, 0, 0), (150, 0, fillet), (160, 10, 0), (160, 90, fillet),
        (150, 100, 0), (10, 100, fillet), (0, 90, 0), (0, 10, fillet),
    ]
    msp.add_lwpolyline(outline, format="xyb", close=True, dxfattribs={"layer": OUTLINE})
    # An obround slot 30 x 10 as a closed polyline, run clockwise so that its half circles turn clockwise.
    slot = [(95, 25, 0), (115, 25, -1), (115, 15, 0), (95, 15, -1)]
    msp.add_lwpolyline(slot, format="xyb", close=True, dxfattribs={"layer": HOLES})
    # A closed cubic B-spline cut-out: six control points, the first three repeated at the end, uniform
    # knots, so that the curve closes smoothly.
    cv = [(40, 40), (60, 30), (80, 45), (75, 70), (50, 75), (30, 60)]
    cv = cv + cv[:3]
    msp.add_open_spline(cv, degree=3, knots=list(range(len(cv) + 4)), dxfattribs={"layer": HOLES})
    return doc


def main():
    for name, make in [("bracket", bracket), ("plate", plate), ("cutout", cutout)]:
        path = os.path.join(HERE, name + ".dxf")
        make().saveas(path)
        print("wrote", path)


if __name__ == "__main__":
    main()
