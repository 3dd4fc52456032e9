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

// A point or vector of one library as the other's: x, y, z as they stand.
template <class To, class From>
To Xyz(const From& from)
{
    return To(from.x, from.y, from.z);
}

// Entry (row, column) to entry (row, column).
void CopyEntries(const double (&from)[4][4], double (&to)[4][4])
{
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c)
            to[r][c] = from[r][c];
    }
}

}  // namespace

AcGePoint3d OnPointToAcGe(const ON_3dPoint& point)
{
    return Xyz<AcGePoint3d>(point);
}

AcGeVector3d OnVectorToAcGe(const ON_3dVector& vector)
{
    return Xyz<AcGeVector3d>(vector);
}

AcGeMatrix3d OnXformToAcGe(const ON_Xform& xform)
{
    AcGeMatrix3d matrix;
    CopyEntries(xform.m_xform, matrix.entry);
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
    return Xyz<ON_3dPoint>(point);
}

ON_3dVector AcGeVectorToOn(const AcGeVector3d& vector)
{
    return Xyz<ON_3dVector>(vector);
}

ON_Xform AcGeMatrixToOn(const AcGeMatrix3d& matrix)
{
    ON_Xform xform;
    CopyEntries(matrix.entry, xform.m_xform);
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
