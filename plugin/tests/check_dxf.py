#!/usr/bin/python3
"""Reads a DXF file with ezdxf and prints what the plug-in's tests check.

Usage: check_dxf.py FILE.dxf

Prints, one per line:
  audit_errors N            errors that ezdxf's audit finds
  count TYPE N              model-space entities by DXF type, sorted by type
  bbox X0 Y0 Z0 X1 Y1 Z1    over every corner, end point, location and mesh
                            vertex (absent when there is none)
  mesh VERTICES FACES       one line per MESH entity, in model-space order
Exits 2 when the file cannot be read as DXF.
"""
import sys

import ezdxf


def points(entity):
    kind = entity.dxftype()
    if kind == "3DFACE":
        return [entity.dxf.vtx0, entity.dxf.vtx1, entity.dxf.vtx2, entity.dxf.vtx3]
    if kind == "LINE":
        return [entity.dxf.start, entity.dxf.end]
    if kind == "POINT":
        return [entity.dxf.location]
    if kind == "MESH":
        return list(entity.vertices)
    return []


def main():
    try:
        doc = ezdxf.readfile(sys.argv[1])
    except (IOError, ezdxf.DXFStructureError) as error:
        print("error", error)
        return 2
    auditor = doc.audit()
    counts = {}
    meshes = []
    low = [float("inf")] * 3
    high = [float("-inf")] * 3
    for entity in doc.modelspace():
        kind = entity.dxftype()
        counts[kind] = counts.get(kind, 0) + 1
        if kind == "MESH":
            meshes.append((len(entity.vertices), len(entity.faces)))
        for p in points(entity):
            for i in range(3):
                low[i] = min(low[i], p[i])
                high[i] = max(high[i], p[i])
    print("audit_errors", len(auditor.errors))
    for kind in sorted(counts):
        print("count", kind, counts[kind])
    if low[0] != float("inf"):
        print("bbox", " ".join("%.6g" % v for v in low + high))
    for vertices, faces in meshes:
        print("mesh", vertices, faces)
    return 0


if __name__ == "__main__":
    sys.exit(main())
