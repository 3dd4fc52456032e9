// Geometry value conversion: points, vectors, matrices and colours between
// openNURBS and the host, and point, line, arc and circle entities set from
// openNURBS geometry.
#include "ToolkitTest.h"

#include <cmath>

#include "GeometryConversion.h"
#include "dbents.h"

namespace {

const double kPi = 3.14159265358979323846;

void ExpectPoint(const AcGePoint3d& p, double x, double y, double z, double tol = 1e-12)
{
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
    EXPECT_NEAR(p.z, z, tol);
}

TEST(GeometryConversionTest, PointsAndVectorsKeepTheirCoordinates)
{
    const AcGePoint3d p = OnPointToAcGe(ON_3dPoint(1.5, -2.25, 1e300));
    EXPECT_EQ(p.x, 1.5);
    EXPECT_EQ(p.y, -2.25);
    EXPECT_EQ(p.z, 1e300);
    const AcGeVector3d v = OnVectorToAcGe(ON_3dVector(-0.0, 7.0, -3.5));
    EXPECT_EQ(v.x, 0.0);
    EXPECT_TRUE(std::signbit(v.x));
    EXPECT_EQ(v.y, 7.0);
    EXPECT_EQ(v.z, -3.5);

    const ON_3dPoint q = AcGePointToOn(AcGePoint3d(4, 5, 6));
    EXPECT_EQ(q.x, 4.0);
    EXPECT_EQ(q.y, 5.0);
    EXPECT_EQ(q.z, 6.0);
    const ON_3dVector w = AcGeVectorToOn(AcGeVector3d(-1, 0.5, 2));
    EXPECT_EQ(w.x, -1.0);
    EXPECT_EQ(w.y, 0.5);
    EXPECT_EQ(w.z, 2.0);
}

TEST(GeometryConversionTest, MatricesCopyEveryEntryInPlace)
{
    // A translation by (1, 2, 3) keeps its translation in the last column.
    ON_Xform translation;
    translation.m_xform[0][3] = 1.0;
    translation.m_xform[1][3] = 2.0;
    translation.m_xform[2][3] = 3.0;
    const AcGeMatrix3d matrix = OnXformToAcGe(translation);
    EXPECT_EQ(matrix.entry[0][3], 1.0);
    EXPECT_EQ(matrix.entry[1][3], 2.0);
    EXPECT_EQ(matrix.entry[2][3], 3.0);
    EXPECT_EQ(matrix.entry[3][0], 0.0);
    EXPECT_EQ(matrix.entry[0][0], 1.0);
    const ON_Xform back = AcGeMatrixToOn(matrix);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(back.m_xform[r][c], translation.m_xform[r][c]) << r << "," << c;
    }

    // Sixteen different entries: nothing transposed, nothing left out.
    ON_Xform all;
    AcGeMatrix3d host;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            all.m_xform[r][c] = 10.0 * r + c + 0.5;
            host.entry[r][c] = -(10.0 * r + c + 0.25);
        }
    }
    const AcGeMatrix3d toHost = OnXformToAcGe(all);
    const ON_Xform toOn = AcGeMatrixToOn(host);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(toHost.entry[r][c], 10.0 * r + c + 0.5) << r << "," << c;
            EXPECT_EQ(toOn.m_xform[r][c], -(10.0 * r + c + 0.25)) << r << "," << c;
        }
    }
}

TEST(GeometryConversionTest, AttributeColoursFollowTheColourSource)
{
    ON_3dmObjectAttributes attributes;
    // Red 153, green 102, blue 51, and a top byte that must not matter.
    attributes.m_color = ON_Color(static_cast<unsigned int>(0xAB336699u));

    AcCmColor byLayer;
    byLayer.setColorMethod(AcCmEntityColor::kByLayer);

    attributes.SetColorSource(ON::color_from_layer);
    EXPECT_EQ(AttributesToAcCmColor(attributes), byLayer);
    attributes.SetColorSource(ON::color_from_material);
    EXPECT_EQ(AttributesToAcCmColor(attributes), byLayer);
    attributes.SetColorSource(ON::color_from_parent);
    EXPECT_EQ(AttributesToAcCmColor(attributes), AcCmColor());

    attributes.SetColorSource(ON::color_from_object);
    const AcCmColor own = AttributesToAcCmColor(attributes);
    EXPECT_EQ(own.colorMethod(), AcCmEntityColor::kByColor);
    EXPECT_EQ(own.red(), 153);
    EXPECT_EQ(own.green(), 102);
    EXPECT_EQ(own.blue(), 51);
}

TEST(GeometryConversionTest, PointAndLineEntitiesTakeTheGeometry)
{
    AcDbPoint point;
    ON_Point onPoint(ON_3dPoint(1, 2, 3));
    EXPECT_EQ(SetAcDbPoint(onPoint, &point), 1);
    ExpectPoint(point.position(), 1, 2, 3);

    AcDbLine line;
    EXPECT_EQ(SetAcDbLine(ON_Line(ON_3dPoint(1, 1, 1), ON_3dPoint(-4, 5, 6)), &line), 1);
    ExpectPoint(line.startPoint(), 1, 1, 1);
    ExpectPoint(line.endPoint(), -4, 5, 6);
}

TEST(GeometryConversionTest, CircleEntitiesTakeCentreRadiusAndNormal)
{
    AcDbCircle circle;
    const ON_Circle onCircle(ON_Plane(ON_3dPoint(1, 2, 3), ON_3dVector(0, 1, 0)), 2.5);
    EXPECT_EQ(SetAcDbCircle(onCircle, &circle), 1);
    ExpectPoint(circle.center(), 1, 2, 3);
    EXPECT_EQ(circle.radius(), 2.5);
    EXPECT_NEAR(circle.normal().y, 1.0, 1e-12);
    EXPECT_NEAR(circle.normal().x, 0.0, 1e-12);
}

// The arc on the openNURBS plane with that origin and normal whose angle
// interval runs from start to start + sweep.
ON_Arc ArcOn(const ON_3dPoint& center, const ON_3dVector& normal, double radius, double start, double sweep)
{
    return ON_Arc(ON_Circle(ON_Plane(center, normal), radius), ON_Interval(start, start + sweep));
}

TEST(GeometryConversionTest, ArcAnglesAreMeasuredFromTheHostsArbitraryAxis)
{
    const double nearZ = 1.0 / 64.0;
    const double zBelow = std::sqrt(1.0 - nearZ * nearZ);
    struct Case {
        const char* name;
        ON_3dVector normal;
        ON_3dVector startDirection;  // from the centre, in the arc's plane
        double sweep;
        double startAngle;  // expected, from the host's x axis
    };
    const Case cases[] = {
        // x axis (1, 0, 0); a start at (0, r, 0) lies a quarter turn on.
        {"up", ON_3dVector(0, 0, 1), ON_3dVector(0, 1, 0), kPi / 2, kPi / 2},
        // x axis (-1, 0, 0); (0, 1, 0) is a quarter turn on about -Z.
        {"down", ON_3dVector(0, 0, -1), ON_3dVector(0, 1, 0), kPi / 2, kPi / 2},
        {"down, on the axis", ON_3dVector(0, 0, -1), ON_3dVector(-1, 0, 0), 1.0, 0.0},
        // x axis (0, 1, 0), the world Y axis.
        {"along X", ON_3dVector(1, 0, 0), ON_3dVector(0, 1, 0), 1.0, 0.0},
        {"along X, from Z", ON_3dVector(1, 0, 0), ON_3dVector(0, 0, 1), 1.0, kPi / 2},
        // Both components below 1/64: the world Y rule, x axis near (1, 0, 0).
        {"near Z", ON_3dVector(0.01, 0.01, 1), ON_3dVector(1, 0, -0.01), 1.0, 0.0},
        // x exactly 1/64: the world Z rule, x axis Z x N = (0, 1, 0).
        {"x at 1/64", ON_3dVector(nearZ, 0, zBelow), ON_3dVector(0, 1, 0), 1.0, 0.0},
        // A start three quarters on, sweeping three quarters: 3 pi unreduced.
        {"past a turn", ON_3dVector(0, 0, 1), ON_3dVector(0, -1, 0), 1.5 * kPi, 1.5 * kPi},
    };
    const ON_3dPoint center(1, 2, 3);
    const double radius = 2.0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The openNURBS arc starts where the case says, whatever its own x axis.
        const ON_Plane plane(center, c.normal);
        ON_3dVector direction = c.startDirection;
        direction.Unitize();
        const double own = std::atan2(direction * plane.yaxis, direction * plane.xaxis);
        const ON_Arc arc = ArcOn(center, c.normal, radius, own, c.sweep);

        AcDbArc entity;
        EXPECT_EQ(SetAcDbArc(arc, &entity), 1);
        ExpectPoint(entity.center(), 1, 2, 3);
        EXPECT_NEAR(entity.radius(), radius, 1e-12);
        ON_3dVector n = c.normal;
        n.Unitize();
        EXPECT_NEAR(entity.normal().x, n.x, 1e-12);
        EXPECT_NEAR(entity.normal().y, n.y, 1e-12);
        EXPECT_NEAR(entity.normal().z, n.z, 1e-12);
        EXPECT_NEAR(entity.startAngle(), c.startAngle, 1e-9);
        const double endAngle = c.startAngle + c.sweep;
        // The host may keep its angles within one turn.
        EXPECT_NEAR(std::fmod(entity.endAngle(), 2 * kPi), std::fmod(endAngle, 2 * kPi), 1e-9);

        // Whatever the axes, the entity starts and ends where the arc does.
        AcGePoint3d start;
        AcGePoint3d end;
        entity.getStartPoint(start);
        entity.getEndPoint(end);
        const ON_3dPoint arcStart = arc.StartPoint();
        const ON_3dPoint arcEnd = arc.EndPoint();
        ExpectPoint(start, arcStart.x, arcStart.y, arcStart.z, 1e-9);
        ExpectPoint(end, arcEnd.x, arcEnd.y, arcEnd.z, 1e-9);
    }
}

}  // namespace
