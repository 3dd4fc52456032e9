// Geometry value conversion (conversion group).
#include "GeometryConversion.h"

#include <cmath>

#include "Colors.h"
#include "gegbl.h"

namespace {

// Below this, both x and y of a unit normal make it "near the world Z axis"
// for the host's arbitrary-axis rule.
const double kArbitraryAxisLimit = 1.0 / 64.0;

// The x axis of an entity's own coordinate system for the unit normal n.
// A component that is not a number is not below the limit.
AcGeVector3d ArbitraryXAxis(const AcGeVector3d& n)
{
    const bool nearZ = std::fabs(n.x) < kArbitraryAxisLimit && std::fabs(n.y) < kArbitraryAxisLimit;
    AcGeVector3d axis = nearZ ? AcGeVector3d::kYAxis.crossProduct(n) : AcGeVector3d::kZAxis.crossProduct(n);
    axis.normalize(AcGeContext::gTol);
    return axis;
}

}  // namespace

AcGePoint3d OnPointToAcGe(const ON_3dPoint& point)
{
    return AcGePoint3d(point.x, point.y, point.z);
}

AcGeVector3d OnVectorToAcGe(const ON_3dVector& vector)
{
    return AcGeVector3d(vector.x, vector.y, vector.z);
}

AcGeMatrix3d OnXformToAcGe(const ON_Xform& xform)
{
    AcGeMatrix3d matrix;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c)
            matrix.entry[r][c] = xform.m_xform[r][c];
    }
    return matrix;
}

AcCmColor AttributesToAcCmColor(const ON_3dmObjectAttributes& attributes)
{
    AcCmColor color;
    switch (attributes.ColorSource()) {
    case ON::color_from_layer:
    case ON::color_from_material: color.setColorMethod(AcCmEntityColor::kByLayer); break;
    case ON::color_from_object:
        // The packed value holds red, green and blue as an rgbColor does;
        // its top byte is not used.
        color = RgbToColor(static_cast<int>(static_cast<unsigned int>(attributes.m_color)));
        break;
    default: break;
    }
    return color;
}

ON_3dPoint AcGePointToOn(const AcGePoint3d& point)
{
    return ON_3dPoint(point.x, point.y, point.z);
}

ON_3dVector AcGeVectorToOn(const AcGeVector3d& vector)
{
    return ON_3dVector(vector.x, vector.y, vector.z);
}

ON_Xform AcGeMatrixToOn(const AcGeMatrix3d& matrix)
{
    ON_Xform xform;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c)
            xform.m_xform[r][c] = matrix.entry[r][c];
    }
    return xform;
}

int SetAcDbPoint(const ON_Point& point, AcDbPoint* entity)
{
    entity->setPosition(OnPointToAcGe(point.point));
    return 1;
}

int SetAcDbLine(const ON_Line& line, AcDbLine* entity)
{
    entity->setStartPoint(OnPointToAcGe(line.from));
    entity->setEndPoint(OnPointToAcGe(line.to));
    return 1;
}

int SetAcDbArc(const ON_Arc& arc, AcDbArc* entity)
{
    const AcGePoint3d center = OnPointToAcGe(arc.Center());
    AcGeVector3d startDirection = OnPointToAcGe(arc.StartPoint()) - center;
    startDirection.normalize(AcGeContext::gTol);
    AcGeVector3d normal = OnVectorToAcGe(arc.Normal());
    normal.normalize(AcGeContext::gTol);

    const AcGeVector3d xAxis = ArbitraryXAxis(normal);
    const double startAngle = xAxis.angleTo(startDirection, normal);
    const double endAngle = startAngle + arc.AngleRadians();

    entity->setCenter(center);
    entity->setNormal(normal);
    entity->setRadius(arc.Radius());
    entity->setStartAngle(startAngle);
    entity->setEndAngle(endAngle);
    return 1;
}

int SetAcDbCircle(const ON_Circle& circle, AcDbCircle* entity)
{
    entity->setCenter(OnPointToAcGe(circle.Center()));
    entity->setRadius(circle.radius);
    entity->setNormal(OnVectorToAcGe(circle.Normal()));
    return 1;
}
