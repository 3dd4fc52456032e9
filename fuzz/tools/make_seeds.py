#!/usr/bin/env python3
"""Writes the seed corpora of the three fuzzers (mesh, model, script) into
fuzz/<target>/corpus. The files are small and made here from nothing; run it
again after changing how a harness reads its input."""
import base64
import os
import struct
import sys

top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def put(target, name, data):
    folder = os.path.join(top, target, "corpus")
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("utf-8")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# ---- meshes: the byte layout read by MeshFromBytes --------------------------
# flags (layer: 0 none, 1 "Kv", 2 a name of the next bytes), u16 vertices,
# u16 faces; per vertex a mode byte (0 three raw floats, 1 three small grid
# numbers, 2 three special values, 3 a copy of an earlier vertex) and its data;
# per face a shape byte (0 triangle, 1 a repeated corner, 2 as given) and four
# indices, each a selector byte (0 in range: u16, 5 negative: u8, 6 past the
# end: u8, 7 any: u32) and its data.

def mesh(flags, vertices, faces, layer=b""):
    out = bytes([flags])
    if flags % 4 == 2:
        out += bytes([len(layer) - 1]) + layer
    out += struct.pack("<HH", len(vertices), len(faces))
    for v in vertices:
        out += v
    for shape, corners in faces:
        out += bytes([shape])
        for c in corners:
            out += c
    return out


def grid(x, y, z):
    return bytes([1, x & 0xFF, y & 0xFF, z & 0xFF])


def raw(x, y, z):
    return bytes([0]) + struct.pack("<fff", x, y, z)


def special(a, b, c):
    return bytes([2, a, b, c])


def copy(i):
    return bytes([3]) + struct.pack("<H", i)


def at(i):
    return bytes([0]) + struct.pack("<H", i)


NEG, PAST = bytes([5, 0]), bytes([6, 0])


def anyindex(v):
    return bytes([7]) + struct.pack("<i", v)


cube_v = [grid(x, y, z) for z in (0, 1) for y in (0, 1) for x in (0, 1)]
cube_f = [(2, [at(a), at(b), at(c), at(d)]) for a, b, c, d in
          [(0, 2, 3, 1), (4, 5, 7, 6), (0, 1, 5, 4), (1, 3, 7, 5), (3, 2, 6, 7), (2, 0, 4, 6)]]
put("mesh", "cube", mesh(0, cube_v, cube_f))
put("mesh", "cube-on-layer", mesh(1, cube_v, cube_f))
put("mesh", "hostile-layer", mesh(2, cube_v, cube_f, layer=b"<>/\\\":;?*|=`"))
six = [raw(0, 0, 0), raw(1, 0, 0), raw(0, 1, 0), copy(1), copy(2), raw(1, 1, 0)]
put("mesh", "two-triangles-six-vertices",
    mesh(0, six, [(0, [at(0), at(1), at(2), at(2)]), (0, [at(3), at(5), at(4), at(4)])]))
put("mesh", "out-of-range",
    mesh(0, cube_v, [(2, [NEG, at(1), at(2), at(3)]), (0, [at(0), PAST, at(2), at(2)]),
                     (2, [at(0), at(1), anyindex(-2 ** 31), anyindex(2 ** 31 - 1)]), cube_f[0]]))
put("mesh", "special-values",
    mesh(0, [special(4, 5, 6), special(7, 8, 9), special(10, 11, 12), special(0, 1, 13), raw(1e38, -1e38, 3)],
         [(0, [at(0), at(1), at(2), at(2)]), (2, [at(1), at(2), at(3), at(4)]), (1, [at(4), at(3), at(4), at(0)])]))
put("mesh", "repeated-corners",
    mesh(0, cube_v[:4], [(1, [at(0), at(0), at(1), at(2)]), (0, [at(3), at(3), at(3), at(3)]),
                         (2, [at(0), at(1), at(0), at(1)])]))
put("mesh", "faces-without-vertices", mesh(0, [], [(0, [at(0), at(0), at(0), at(0)])] * 3))
put("mesh", "vertices-without-faces", mesh(0, cube_v, []))

# ---- model files: the first byte chooses the extension ----------------------
EXT = ["obj", "stl", "ply", "off", "3ds", "dae", "glb", "gltf", "fbx", "x3d", "skp", "ase", "ms3d", "md2",
       "lwo", "bin"]


def model(ext, data):
    if isinstance(data, str):
        data = data.encode("utf-8")
    return bytes([EXT.index(ext)]) + data


CUBE_OBJ = ("o cube\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\n"
            "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n")
put("model", "cube.obj", model("obj", CUBE_OBJ))
put("model", "two-objects.obj",
    model("obj", "o a\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\no b\nv 5 0 0\nv 6 0 0\nv 6 1 0\nv 5 1 0\nf 4 5 6 7\n"))
put("model", "concave.obj",
    model("obj", "v 0 0 0\nv 4 0 0\nv 4 4 0\nv 2 1 0\nv 0 4 0\nv 1 2 0\nf 1 2 3 4 5 6\n"))
put("model", "points-and-lines.obj", model("obj", "v 0 0 0\nv 1 0 0\nv 1 1 1\np 1\nl 1 2 3\n"))
put("model", "index-out-of-range.obj", model("obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 7\n"))
put("model", "negative-index.obj", model("obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf -1 -2 -3\nf -1 -2 -9\n"))
put("model", "nan.obj", model("obj", "v nan 0 0\nv inf -inf 0\nv 1e39 0 1\nf 1 2 3\n"))
put("model", "empty.obj", model("obj", ""))
put("model", "cube.ascii.stl",
    model("stl", "solid t\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 0 0\nvertex 0 1 0\n"
                 "endloop\nendfacet\nendsolid t\n"))
tri = struct.pack("<3f", 0, 0, 1) + struct.pack("<9f", 0, 0, 0, 1, 0, 0, 0, 1, 0) + b"\0\0"
put("model", "binary.stl", model("stl", b"binary seed".ljust(80, b" ") + struct.pack("<I", 1) + tri))
put("model", "binary-count-too-large.stl", model("stl", b"binary seed".ljust(80, b" ") + struct.pack("<I", 1000) + tri))
put("model", "ascii.ply",
    model("ply", "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\nproperty float z\n"
                 "element face 1\nproperty list uchar int vertex_indices\nend_header\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n"))
put("model", "binary.ply",
    model("ply", b"ply\nformat binary_little_endian 1.0\nelement vertex 3\nproperty float x\nproperty float y\n"
                 b"property float z\nelement face 1\nproperty list uchar int vertex_indices\nend_header\n"
          + struct.pack("<9f", 0, 0, 0, 1, 0, 0, 0, 1, 0) + bytes([3]) + struct.pack("<3i", 0, 1, 5)))
put("model", "quad.off", model("off", "OFF\n4 1 0\n0 0 0\n1 0 0\n1 1 0\n0 1 0\n4 0 1 2 3\n"))
put("model", "counts-past-the-data.off", model("off", "OFF\n400000 900000 0\n0 0 0\n1 0 0\n3 0 1 2\n"))
put("model", "triangle.dae", model("dae", """<?xml version="1.0"?>
<COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">
<asset><unit meter="1"/><up_axis>Z_UP</up_axis></asset>
<library_geometries><geometry id="g"><mesh>
<source id="p"><float_array id="pa" count="9">0 0 0 1 0 0 0 1 0</float_array>
<technique_common><accessor source="#pa" count="3" stride="3"><param name="X" type="float"/>
<param name="Y" type="float"/><param name="Z" type="float"/></accessor></technique_common></source>
<vertices id="v"><input semantic="POSITION" source="#p"/></vertices>
<triangles count="1"><input semantic="VERTEX" source="#v" offset="0"/><p>0 1 2</p></triangles>
</mesh></geometry></library_geometries>
<library_visual_scenes><visual_scene id="s"><node id="n"><instance_geometry url="#g"/></node>
<node id="m"><matrix>2 0 0 5 0 2 0 0 0 0 2 0 0 0 0 1</matrix><instance_geometry url="#g"/></node>
</visual_scene></library_visual_scenes>
<scene><instance_visual_scene url="#s"/></scene></COLLADA>
"""))
buf = struct.pack("<9f", 0, 0, 0, 1, 0, 0, 0, 1, 0) + struct.pack("<3H", 0, 1, 2) + b"\0\0"
put("model", "triangle.gltf", model("gltf", """{"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],
"nodes":[{"mesh":0}],"meshes":[{"primitives":[{"attributes":{"POSITION":0},"indices":1}]}],
"buffers":[{"byteLength":%d,"uri":"data:application/octet-stream;base64,%s"}],
"bufferViews":[{"buffer":0,"byteOffset":0,"byteLength":36},{"buffer":0,"byteOffset":36,"byteLength":6}],
"accessors":[{"bufferView":0,"componentType":5126,"count":3,"type":"VEC3","max":[1,1,0],"min":[0,0,0]},
{"bufferView":1,"componentType":5123,"count":3,"type":"SCALAR"}]}""" % (len(buf), base64.b64encode(buf).decode())))
put("model", "sketchup.skp", model("skp", b"\xff\xfe\xff\x0e" + "SketchUp Model".encode("utf-16-le") + b"{rest}"))
put("model", "garbage.3ds", model("3ds", b"\x4d\x4d\xff\xff\xff\x7f" + b"\x3d" * 40))

# ---- scripts: lines as arxhost reads them ------------------------------------
# The harness's working folder holds cube.obj, two.obj, nomesh.obj, empty.obj
# and bad.obj.
for item in ["Mesh", "3D Faces", "Lines", "Points"]:
    put("script", "import-" + item.replace(" ", "").lower(),
        "_Kolvane\ncube.obj\n%s\nYes\nOK\n_dxfout\nout.dxf\n" % item)
put("script", "two-meshes", "Kolvane\ntwo.obj\nLines\nNo\nOK\n_Kolvane\ntwo.obj\n\n\n\n")
put("script", "failures",
    "_Kolvane\n\n_Kolvane\nnomesh.obj\n_Kolvane\nempty.obj\n_Kolvane\nbad.obj\n_Kolvane\nmissing.obj\n"
    "_Kolvane\ncube.obj\nPoints\nYes\nCancel\n_Kolvane\ncube.obj\n*Cancel*\n")
put("script", "wrong-answers", "_Kolvane\ncube.obj\nTriangles\nMaybe\nPerhaps\n3d faces\nno\nok\n")
put("script", "help-about-menu",
    "_KolvaneHelp\nKolvaneAbout\n_menuunload\nKolvane\n_menuload\nKolvane.mnu\n_zoom\n_extents\n")
put("script", "unknown-and-blank", "\n   \nnonsense\n_\n*Cancel*\n\r\n_Kolvane\r\ncube.obj\r\n\r\n\r\n\r\n")

# ---- polygons for the reader's splitting and joining: 0xC0, then corners ----
# (a tag byte: 0 three floats, 1 three floats taken as small whole numbers,
# 3 an earlier corner by number; then its data)


def polygon(corners):
    out = b"\xc0"
    for c in corners:
        if isinstance(c, int):
            out += bytes([3, c])
        else:
            out += bytes([0]) + struct.pack("<fff", *c)
    return out


put("model", "polygon-concave", polygon([(0, 0, 0), (4, 0, 0), (4, 4, 0), (2, 1, 0), (0, 4, 0), (1, 2, 0)]))
put("model", "polygon-ring-with-bridge",
    polygon([(0, 0, 0), (6, 0, 0), (6, 6, 0), (0, 6, 0), (0, 0, 0), (2, 2, 0), (2, 4, 0), (4, 4, 0), (4, 2, 0),
             (2, 2, 0)]))
put("model", "polygon-collinear", polygon([(0, 0, 0), (1, 0, 0), (2, 0, 0), (3, 0, 0), 1, 2]))
put("model", "polygon-special",
    polygon([(float("nan"), 0, 0), (float("inf"), 1, 0), (3e38, -3e38, 0), (-0.0, 0, 0), (0, 0, 0), 0, 0]))
