#!/usr/bin/env python3
"""Writes round-table.obj, the sample model of Kolvane for AutoCAD.

A small round table in millimetres, Z up: a 24-sided top (800 across, 30
thick, its upper face at 750), four square legs and two stretchers joining
the front legs and the back legs.
The top is closed by two fans of triangles; every other face is a quad, so
the model shows both kinds of face. Each part is an object of its own and
is read as a mesh of its own. Corners shared by faces are listed once.

Run it again after a change:  python3 make_table.py [output.obj]
"""
import math
import sys

SEGMENTS = 24
RADIUS = 400.0
TOP_Z = 750.0
THICKNESS = 30.0
LEG = 40.0          # leg cross-section (square)
LEG_AT = 250.0      # leg centres at (+-LEG_AT, +-LEG_AT)
STRETCHER_Z = 150.0
STRETCHER_W = 30.0  # stretcher width and height


class Writer:
    def __init__(self):
        self.lines = []
        self.count = 0  # vertices written so far (OBJ indices are global)

    def obj(self, name, vertices, faces):
        self.lines.append("o %s" % name)
        for x, y, z in vertices:
            self.lines.append("v %s %s %s" % (num(x), num(y), num(z)))
        for f in faces:
            self.lines.append("f " + " ".join(str(self.count + i + 1) for i in f))
        self.count += len(vertices)


def num(v):
    v = round(v, 4)
    if v == 0:
        v = 0.0  # no "-0"
    text = ("%.4f" % v).rstrip("0").rstrip(".")
    return text


def box(x0, y0, z0, x1, y1, z1):
    """Eight corners and six outward quads of an axis-aligned box."""
    v = [(x0, y0, z0), (x1, y0, z0), (x1, y1, z0), (x0, y1, z0),
         (x0, y0, z1), (x1, y0, z1), (x1, y1, z1), (x0, y1, z1)]
    f = [(0, 3, 2, 1),  # bottom
         (4, 5, 6, 7),  # top
         (0, 1, 5, 4), (1, 2, 6, 5), (2, 3, 7, 6), (3, 0, 4, 7)]
    return v, f


def table_top():
    bottom_z = TOP_Z - THICKNESS
    v = [(0.0, 0.0, TOP_Z), (0.0, 0.0, bottom_z)]
    for z in (TOP_Z, bottom_z):
        for i in range(SEGMENTS):
            a = 2.0 * math.pi * i / SEGMENTS
            v.append((RADIUS * math.cos(a), RADIUS * math.sin(a), z))
    up = lambda i: 2 + i % SEGMENTS
    down = lambda i: 2 + SEGMENTS + i % SEGMENTS
    f = []
    for i in range(SEGMENTS):
        f.append((0, up(i), up(i + 1)))        # upper face, seen from above
    for i in range(SEGMENTS):
        f.append((1, down(i + 1), down(i)))    # lower face, seen from below
    for i in range(SEGMENTS):
        f.append((down(i), down(i + 1), up(i + 1), up(i)))  # rim
    return v, f


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "round-table.obj"
    w = Writer()
    w.lines += ["# Round table, sample model of Kolvane for AutoCAD.",
                "# Written by make_table.py; units: millimetres, Z up.", ""]
    w.obj("TableTop", *table_top())
    h = LEG / 2
    top = TOP_Z - THICKNESS
    for name, sx, sy in (("LegFrontLeft", -1, -1), ("LegFrontRight", 1, -1),
                         ("LegBackRight", 1, 1), ("LegBackLeft", -1, 1)):
        cx, cy = sx * LEG_AT, sy * LEG_AT
        w.obj(name, *box(cx - h, cy - h, 0.0, cx + h, cy + h, top))
    s = STRETCHER_W / 2
    z0, z1 = STRETCHER_Z - s, STRETCHER_Z + s
    reach = LEG_AT - h
    for name, sy in (("StretcherFront", -1), ("StretcherBack", 1)):
        cy = sy * LEG_AT
        w.obj(name, *box(-reach, cy - s, z0, reach, cy + s, z1))
    with open(out, "w", newline="\n") as f:
        f.write("\n".join(w.lines) + "\n")


if __name__ == "__main__":
    main()
