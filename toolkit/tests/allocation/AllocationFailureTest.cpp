// The mesh and curve writers when the host runs out of memory in the middle
// of a write: every allocation of the write in turn is made to fail. The
// failure may end the write with std::bad_alloc, but nothing is left open,
// the open protocol is kept, model space holds only whole, closed entities,
// as many as were placed before the failure, and no entity is left on the
// host's heap outside the drawing.
//
// This program replaces the global operator new to fail on request; it runs
// on its own so that no other test shares that allocator.

#include "ToolkitTest.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "CurveWriters.h"
#include "EntityDispatch.h"
#include "MeshWriters.h"
#include "dbents.h"
#include "dbregion.h"
#include "dbsol3d.h"

namespace {

// Allocations still to succeed before one fails; negative: none fails.
long g_allocationsBeforeFailure = -1;

void* Allocate(std::size_t size)
{
    if (g_allocationsBeforeFailure >= 0 && g_allocationsBeforeFailure-- == 0)
        throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size)
{
    return Allocate(size);
}
void* operator new[](std::size_t size)
{
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept
{
    return operator new(size, tag);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

// Nine vertices on a 3 x 3 grid, two quads and four triangles.
ON_Mesh GridMesh()
{
    ON_Mesh mesh;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            mesh.m_V.Append(ON_3fPoint(static_cast<float>(x), static_cast<float>(y), 0.0f));
    const int faces[6][4] = {{0, 1, 4, 3}, {1, 2, 5, 4}, {3, 4, 7, 7}, {4, 8, 7, 7}, {4, 5, 8, 8}, {7, 6, 3, 3}};
    for (const auto& f : faces) {
        ON_MeshFace& face = mesh.m_F.AppendNew();
        for (int k = 0; k < 4; ++k)
            face.vi[k] = f[k];
    }
    return mesh;
}

ON_NurbsCurve Nurbs(int order, const std::vector<ON_3dPoint>& cvs)
{
    ON_NurbsCurve curve;
    curve.Create(3, false, order, static_cast<int>(cvs.size()));
    for (int i = 0; i < static_cast<int>(cvs.size()); ++i)
        curve.SetCV(i, cvs[static_cast<size_t>(i)]);
    curve.MakeClampedUniformKnotVector(1.0);
    return curve;
}

class AllocationFailureTest : public ToolkitTest {};

TEST_F(AllocationFailureTest, WritersLeaveAConsistentDrawingWhenAnAllocationFails)
{
    const AcCmColor color;
    // The inputs are made before any allocation is failed; the topology too:
    // a topology that cannot be built is no topology (no lines, no points),
    // not a failure of the writes, which are what is tried here.
    const ON_Mesh mesh = GridMesh();
    mesh.Topology();
    ON_3dPointArray points;
    points.Append(ON_3dPoint(0, 0, 0));
    points.Append(ON_3dPoint(1, 2, 0));
    points.Append(ON_3dPoint(3, 1, 0));
    points.Append(ON_3dPoint(4, 4, 1));
    ON_SimpleArray<ON_Line> lines;
    lines.Append(ON_Line(ON_3dPoint(0, 0, 0), ON_3dPoint(1, 0, 0)));
    lines.Append(ON_Line(ON_3dPoint(0, 1, 0), ON_3dPoint(1, 1, 0)));
    const ON_Circle circle(ON_Plane(ON_3dPoint(1, 1, 0), ON_3dVector(0, 0, 1)), 2.0);
    ON_SimpleArray<ON_Circle> circles;
    circles.Append(circle);
    circles.Append(ON_Circle(ON_Plane(), 1.0));
    ON_SimpleArray<ON_Arc> arcs;
    arcs.Append(ON_Arc(circle, 1.0));
    arcs.Append(ON_Arc(circle, 2.0 * ON_PI));
    ON_ClassArray<ON_Polyline> polylines;
    ON_Polyline square;
    for (const ON_3dPoint& p : {ON_3dPoint(0, 0, 0), ON_3dPoint(1, 0, 0), ON_3dPoint(1, 1, 0), ON_3dPoint(0, 0, 0)})
        square.Append(p);
    polylines.Append(square);
    square.Remove(3);
    polylines.Append(square);
    ON_ClassArray<ON_NurbsCurve> curves;
    curves.Append(Nurbs(2, {ON_3dPoint(0, 0, 0), ON_3dPoint(3, 0, 0)}));
    circle.GetNurbForm(curves.AppendNew());
    curves.Append(Nurbs(4, {ON_3dPoint(0, 0, 0), ON_3dPoint(1, 2, 0), ON_3dPoint(3, -2, 0), ON_3dPoint(4, 0, 1)}));

    struct Writer {
        const char* name;
        std::function<void(const CString&)> write;
        int entities;  // what a whole write makes
    } writers[] = {
        {"MeshToFaces", [&](const CString& l) { MeshToFaces(mesh, l, color); }, 6},
        {"MeshToLines", [&](const CString& l) { MeshToLines(mesh, l, color); }, 14},
        {"MeshToPoints", [&](const CString& l) { MeshToPoints(mesh, l, color); }, 9},
        {"MeshToSubDMesh", [&](const CString& l) { MeshToSubDMesh(mesh, FALSE, l, color); }, 1},
        {"WritePoints", [&](const CString& l) { WritePoints(points, l, color); }, 4},
        {"WriteLines", [&](const CString& l) { WriteLines(lines, l, color); }, 2},
        {"WriteCircles", [&](const CString& l) { WriteCircles(circles, l, color); }, 2},
        {"WriteArcs", [&](const CString& l) { WriteArcs(arcs, l, color); }, 2},
        {"Write3dPolylines", [&](const CString& l) { Write3dPolylines(polylines, l, color); }, 2},
        {"WriteCurves", [&](const CString& l) { WriteCurves(curves, l, color); }, 3},
        {"WriteFitSpline", [&](const CString& l) { WriteFitSpline(points, l, color); }, 1},
    };
    for (const Writer& w : writers) {
        for (const CString& layer : {CString(), CString(L"Imported")}) {
            bool finished = false;
            int failures = 0, mostPlacedBeforeAFailure = 0;
            for (long failAt = 0; !finished && failAt < 100000; ++failAt) {
                SCOPED_TRACE(std::string(w.name) + (layer.IsEmpty() ? "" : " on a layer") + ", allocation " +
                             std::to_string(failAt) + " fails");
                freshDatabase();
                const std::size_t emptyDrawing = standin::objectHeapBytes();
                bool threw = false;
                g_allocationsBeforeFailure = failAt;
                try {
                    w.write(layer);
                } catch (const std::bad_alloc&) {
                    threw = true;
                }
                g_allocationsBeforeFailure = -1;
                finished = !threw;

                ASSERT_TRUE(standin::openObjects().empty()) << standin::describeOpenObjects();
                ASSERT_TRUE(standin::protocolViolations().empty())
                    << standin::protocolViolations().size() << " breaches";
                const std::vector<AcDbObjectId> ids = modelSpaceIds();
                if (threw) {
                    ASSERT_LE(static_cast<int>(ids.size()), w.entities);
                    ++failures;
                    mostPlacedBeforeAFailure = std::max(mostPlacedBeforeAFailure, static_cast<int>(ids.size()));
                } else {
                    ASSERT_EQ(static_cast<int>(ids.size()), w.entities);
                }
                for (const AcDbObjectId& id : ids) {
                    AcDbEntity* entity = nullptr;
                    ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForRead), Acad::eOk);
                    entity->close();
                }
                // What the drawing does not hold is off the heap: with the
                // drawing gone, the heap holds what an empty one holds.
                freshDatabase();
                ASSERT_EQ(standin::objectHeapBytes(), emptyDrawing);
            }
            EXPECT_TRUE(finished) << w.name << ": the write never finished";
            // Failures were met, and for the writers of many entities also
            // after some were placed: in the middle of the write.
            EXPECT_GT(failures, 0) << w.name;
            if (w.entities > 1) {
                EXPECT_GT(mostPlacedBeforeAFailure, 0) << w.name;
            }
        }
    }
}

// Lets every allocation succeed while it lives, then goes on counting.
class AllocationsAllowed {
public:
    AllocationsAllowed() : held_(g_allocationsBeforeFailure) { g_allocationsBeforeFailure = -1; }
    ~AllocationsAllowed() { g_allocationsBeforeFailure = held_; }
    AllocationsAllowed(const AllocationsAllowed&) = delete;
    AllocationsAllowed& operator=(const AllocationsAllowed&) = delete;

private:
    long held_;
};

// Pieces made with every allocation allowed, so that only the reading of
// them runs out of memory: a solid of a line, a region of two lines and
// another line.
class PiecesRegion : public AcDbRegion {
public:
    Acad::ErrorStatus explode(AcDbVoidPtrArray& pieces) const override
    {
        AllocationsAllowed allowed;
        pieces.append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
        pieces.append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0)));
        return Acad::eOk;
    }
};

class PiecesSolid : public AcDb3dSolid {
public:
    Acad::ErrorStatus explode(AcDbVoidPtrArray& pieces) const override
    {
        AllocationsAllowed allowed;
        pieces.append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(3, 0, 0)));
        pieces.append(new PiecesRegion());
        pieces.append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(4, 0, 0)));
        return Acad::eOk;
    }
};

// An explode reader that runs out of memory between its pieces leaves none of
// them behind: every piece, read or not, is off the heap afterwards.
TEST_F(AllocationFailureTest, ExplodeReadersDisposeOfEveryPieceWhenAnAllocationFails)
{
    bool finished = false;
    int failures = 0;
    for (long failAt = 0; !finished && failAt < 100000; ++failAt) {
        SCOPED_TRACE("allocation " + std::to_string(failAt) + " fails");
        const std::size_t before = standin::objectHeapBytes();
        bool threw = false;
        {
            PiecesSolid solid;
            ON_SimpleArray<ON_Geometry*> objects;
            g_allocationsBeforeFailure = failAt;
            try {
                EXPECT_EQ(Read3dSolid(&solid, objects), 1);
            } catch (const std::bad_alloc&) {
                threw = true;
            }
            g_allocationsBeforeFailure = -1;
            if (!threw) {
                EXPECT_EQ(objects.Count(), 4);
            }
            for (int i = 0; i < objects.Count(); ++i)
                delete objects[i];
        }
        finished = !threw;
        failures += threw ? 1 : 0;
        ASSERT_EQ(standin::objectHeapBytes(), before);
        ASSERT_TRUE(standin::openObjects().empty()) << standin::describeOpenObjects();
        ASSERT_TRUE(standin::protocolViolations().empty());
    }
    EXPECT_TRUE(finished);
    EXPECT_GT(failures, 0);
}

}  // namespace
