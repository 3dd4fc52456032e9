"""Reads a DXF file with ezdxf and prints what the conformance test compares.

Names written with the DXF escape for characters beyond ASCII are decoded. Output, one item a line:
  audit <number of errors> <number of fixes>
  layer <name> <color> <true color or -1> <frozen> <locked> <off> <linetype>
  <DXF type> <layer> <color> <true color or -1> <numbers...>
  block <name> <DXF types of its entities...>   (blocks other than the layouts)
"""
import io
import sys

import ezdxf
from ezdxf.lldxf.encoding import decode_dxf_unicode


def fmt(v):
    return repr(float(v))


def main(path):
    sys.stdout = io.TextIOWrapper(sys.stdout.buffer, encoding="utf-8")
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    print("audit", len(auditor.errors), len(auditor.fixes))
    for layer in doc.layers:
        if layer.dxf.name == "Defpoints":  # added by ezdxf itself
            continue
        print("layer", decode_dxf_unicode(layer.dxf.name), abs(layer.dxf.color),
              layer.dxf.get("true_color", -1),
              int(layer.is_frozen()), int(layer.is_locked()), int(layer.is_off()),
              layer.dxf.linetype)
    for e in doc.modelspace():
        t = e.dxftype()
        head = [t, decode_dxf_unicode(e.dxf.layer), str(e.dxf.color), str(e.dxf.get("true_color", -1))]
        nums = []
        if t == "3DFACE":
            for name in ("vtx0", "vtx1", "vtx2", "vtx3"):
                nums += [fmt(c) for c in e.dxf.get(name)]
            nums.append(str(e.dxf.get("invisible", 0)))
        elif t == "LINE":
            nums = [fmt(c) for c in e.dxf.start] + [fmt(c) for c in e.dxf.end]
        elif t == "POINT":
            nums = [fmt(c) for c in e.dxf.location]
        elif t == "MESH":
            nums.append(str(e.dxf.subdivision_levels))
            verts = list(e.vertices)
            nums.append(str(len(verts)))
            for v in verts:
                nums += [fmt(c) for c in v]
            faces = list(e.faces)
            nums.append(str(len(faces)))
            for f in faces:
                nums.append(str(len(f)))
                nums += [str(i) for i in f]
        elif t in ("CIRCLE", "ARC"):
            ocs = e.ocs()
            nums = [fmt(c) for c in ocs.to_wcs(e.dxf.center)] + [fmt(e.dxf.radius)]
            nums += [fmt(c) for c in e.dxf.extrusion]
            if t == "ARC":
                nums += [fmt(c) for c in e.start_point] + [fmt(c) for c in e.end_point]
        elif t == "ELLIPSE":
            nums = [fmt(c) for c in e.dxf.center] + [fmt(c) for c in e.dxf.major_axis]
            nums += [fmt(e.dxf.ratio)] + [fmt(c) for c in e.dxf.extrusion]
            nums += [fmt(c) for c in e.start_point] + [fmt(c) for c in e.end_point]
        elif t == "SPLINE":
            nums = [str(e.dxf.degree), str(e.dxf.flags), str(len(e.control_points))]
            nums += [fmt(c) for p in e.control_points for c in p]
            nums += [str(len(e.knots))] + [fmt(k) for k in e.knots]
            nums += [str(len(e.weights))] + [fmt(w) for w in e.weights]
            nums += [str(len(e.fit_points))]
            tool = e.construction_tool()
            nums += [fmt(c) for c in tool.point(tool.max_t * 0.37)]
        elif t == "LWPOLYLINE":
            nums = [str(int(e.closed)), str(len(e))]
            for (x, y, sw, ew, b), w in zip(e.get_points("xyseb"), e.vertices_in_wcs()):
                nums += [fmt(b)] + [fmt(c) for c in w]
        elif t in ("RAY", "XLINE"):
            nums = [fmt(c) for c in e.dxf.start] + [fmt(c) for c in e.dxf.unit_vector]
        elif t == "POLYLINE" and (e.is_poly_face_mesh or e.is_polygon_mesh):
            nums.append(str(e.dxf.flags))
            if e.is_poly_face_mesh:
                verts = [v for v in e.vertices if v.is_poly_face_mesh_vertex]
                faces = [v for v in e.vertices if v.is_face_record]
                nums.append(str(len(verts)))
                for v in verts:
                    nums += [fmt(c) for c in v.dxf.location]
                nums.append(str(len(faces)))
                for f in faces:
                    nums += [str(f.dxf.get(n, 0)) for n in ("vtx0", "vtx1", "vtx2", "vtx3")]
            elif e.is_polygon_mesh:
                nums += [str(e.dxf.m_count), str(e.dxf.n_count)]
                for v in e.vertices:
                    nums += [fmt(c) for c in v.dxf.location]
        elif t == "POLYLINE":
            nums = [str(int(e.is_3d_polyline)), str(int(e.is_closed)), str(len(e.vertices))]
            ocs = e.ocs()
            wcs = [p if e.is_3d_polyline else ocs.to_wcs(p) for p in e.points()]
            for v, w in zip(e.vertices, wcs):
                nums += [fmt(v.dxf.get("bulge", 0.0))] + [fmt(c) for c in w]
        elif t == "SOLID":  # corners in world coordinates
            for name in ("vtx0", "vtx1", "vtx2", "vtx3"):
                nums += [fmt(c) for c in e.ocs().to_wcs(e.dxf.get(name))]
        elif t == "TEXT":  # position in world coordinates
            nums = [fmt(c) for c in e.ocs().to_wcs(e.dxf.insert)] + [fmt(e.dxf.height), fmt(e.dxf.rotation), e.dxf.text]
        elif t == "INSERT":
            nums = [e.dxf.name] + [fmt(c) for c in e.dxf.insert]
            nums += [fmt(e.dxf.xscale), fmt(e.dxf.yscale), fmt(e.dxf.zscale), fmt(e.dxf.rotation)]
        print(" ".join(head + nums))
    for block in doc.blocks:
        if block.name.startswith("*"):
            continue
        print(" ".join(["block", block.name] + [e.dxftype() for e in block]))


if __name__ == "__main__":
    main(sys.argv[1])
