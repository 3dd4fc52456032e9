// A transform maps an entity onto its image: a mirror gives the same sweep
// through the images of its points, and a transform that would turn circles
// into ellipses is refused by the entities that cannot hold one.
#include <cmath>

#include "DbTest.h"
#include "dbbody.h"
#include "dbents.h"
#include "dbregion.h"
#include "dbsol3d.h"
#include "gemat3d.h"
#include "standin/AcDbShapeModel.h"

namespace {

const double kPi = 3.14159265358979323846;

// A diagonal transform: each axis scaled by its factor (a negative one mirrors).
AcGeMatrix3d diagonal(double sx, double sy, double sz)
{
    AcGeMatrix3d m;
    m.entry[0][0] = sx;
    m.entry[1][1] = sy;
    m.entry[2][2] = sz;
    return m;
}

void expectNear(const AcGePoint3d& got, const AcGePoint3d& want)
{
    EXPECT_NEAR(got.x, want.x, 1e-12);
    EXPECT_NEAR(got.y, want.y, 1e-12);
    EXPECT_NEAR(got.z, want.z, 1e-12);
}

AcGePoint3d image(AcGePoint3d p, const AcGeMatrix3d& m)
{
    return p.transformBy(m);
}

// An arc's ends, the point half way along its parameters, and its length.
struct ArcPoints {
    AcGePoint3d start, end, middle;
    double length = 0;
};

ArcPoints pointsOf(const AcDbArc& arc)
{
    ArcPoints p;
    double s0 = 0, s1 = 0;
    arc.getStartPoint(p.start);
    arc.getEndPoint(p.end);
    arc.getStartParam(s0);
    arc.getEndParam(s1);
    arc.getPointAtParam((s0 + s1) / 2, p.middle);
    arc.getDistAtParam(s1, p.length);
    return p;
}

class MirrorTest : public DbTest {};

TEST_F(MirrorTest, AMirroredArcIsTheImageOfTheArcNotItsComplement)
{
    const AcGeMatrix3d mirrors[] = {diagonal(-1, 1, 1), diagonal(1, -1, 1), diagonal(1, 1, -1), diagonal(-2, 2, 2)};
    for (const AcGeMatrix3d& m : mirrors) {
        SCOPED_TRACE(m.entry[0][0] * 100 + m.entry[1][1] * 10 + m.entry[2][2]);
        // A quarter turn from 10 to 100 degrees, centre (1, 2, 3).
        AcDbArc arc(AcGePoint3d(1, 2, 3), AcGeVector3d::kZAxis, 1.5, kPi / 18, kPi / 18 + kPi / 2);
        const ArcPoints before = pointsOf(arc);

        ASSERT_EQ(arc.transformBy(m), Acad::eOk);
        const ArcPoints after = pointsOf(arc);
        // The image runs the other way: from the image of the end to the
        // image of the start, through the image of the middle.
        expectNear(after.start, image(before.end, m));
        expectNear(after.end, image(before.start, m));
        expectNear(after.middle, image(before.middle, m));
        EXPECT_NEAR(after.length, before.length * std::fabs(m.entry[1][1]), 1e-12);
        const AcGeVector3d n = (m * AcGeVector3d::kZAxis).normal();
        EXPECT_TRUE(arc.normal().isEqualTo(n)) << "the normal is the image of the normal";
    }
}

TEST_F(MirrorTest, TransformsThatMakeCirclesEllipsesAreRefused)
{
    AcDbArc arc(AcGePoint3d(0, 0, 0), 1, 0, kPi / 2);
    EXPECT_EQ(arc.transformBy(diagonal(2, 1, 1)), Acad::eCannotScaleNonUniformly);
    EXPECT_DOUBLE_EQ(arc.radius(), 1);
    AcDbCircle circle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 1);
    EXPECT_EQ(circle.transformBy(diagonal(1, 3, 1)), Acad::eCannotScaleNonUniformly);

    AcDb3dSolid solid;
    ASSERT_EQ(solid.setStandinModel(standin::cylinderModel(AcGePoint3d(0, 0, 0), 1, 2)), Acad::eOk);
    const double before = solid.standinModel().faces[0].loops[0].edges[0].radius;
    EXPECT_EQ(solid.transformBy(diagonal(2, 1, 1)), Acad::eCannotScaleNonUniformly);
    EXPECT_EQ(solid.standinModel().faces[0].loops[0].edges[0].radius, before) << "left as it was";
    EXPECT_EQ(solid.transformBy(diagonal(2, 2, 2)), Acad::eOk) << "a uniform scale is taken";
}

// The middle point of an arc edge.
AcGePoint3d middleOf(const standin::ModelEdge& e)
{
    const double a = (e.startAngle + e.endAngle) / 2;
    const AcGeVector3d x = acdbStandinEcsXAxis(e.normal), y = e.normal.normal().crossProduct(x);
    return e.center + x * (e.radius * std::cos(a)) + y * (e.radius * std::sin(a));
}

TEST_F(MirrorTest, MirroredShapesKeepTheirArcsAndTheirLoopsClosed)
{
    // A half disc: an arc over the top from (1, 0) to (-1, 0), closed by a line.
    standin::ShapeModel halfDisc;
    halfDisc.faces.resize(1);
    halfDisc.faces[0].loops.resize(1);
    halfDisc.faces[0].loops[0].edges = {standin::ModelEdge::arc(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 1, 0, kPi),
                                        standin::ModelEdge::line(AcGePoint3d(-1, 0, 0), AcGePoint3d(1, 0, 0))};
    const AcGeMatrix3d mirrors[] = {diagonal(-1, 1, 1), diagonal(1, -1, 1), diagonal(1, 1, -1)};
    for (const AcGeMatrix3d& m : mirrors) {
        SCOPED_TRACE(m.entry[0][0] * 100 + m.entry[1][1] * 10 + m.entry[2][2]);
        AcDbRegion region;
        ASSERT_EQ(region.setStandinModel(halfDisc), Acad::eOk);
        AcDb3dSolid cylinder;
        ASSERT_EQ(cylinder.setStandinModel(standin::cylinderModel(AcGePoint3d(0, 0, 0), 1, 2)), Acad::eOk);
        const standin::ShapeModel regionBefore = region.standinModel(), cylinderBefore = cylinder.standinModel();
        ASSERT_EQ(region.transformBy(m), Acad::eOk);
        ASSERT_EQ(cylinder.transformBy(m), Acad::eOk);
        const std::pair<const standin::ShapeModel*, const standin::ShapeModel*> shapes[] = {
            {&regionBefore, &region.standinModel()}, {&cylinderBefore, &cylinder.standinModel()}};
        for (const auto& [before, after] : shapes) {
            for (size_t f = 0; f < after->faces.size(); ++f)
                for (size_t l = 0; l < after->faces[f].loops.size(); ++l) {
                    const auto& edges = after->faces[f].loops[l].edges;
                    const auto& old = before->faces[f].loops[l].edges;
                    for (size_t i = 0; i < edges.size(); ++i) {
                        expectNear(edges[i].startPoint(), image(old[i].startPoint(), m));
                        expectNear(edges[i].endPoint(), image(old[i].endPoint(), m));
                        // A loop that was closed stays closed.
                        const size_t next = (i + 1) % edges.size();
                        if (old[i].endPoint().isEqualTo(old[next].startPoint()))
                            expectNear(edges[i].endPoint(), edges[next].startPoint());
                        if (edges[i].kind == standin::ModelEdge::kArc)
                            expectNear(middleOf(edges[i]), image(middleOf(old[i]), m));
                    }
                }
        }
    }
}

}  // namespace
