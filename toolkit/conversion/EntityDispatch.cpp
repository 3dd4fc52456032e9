// Entity-class dispatch and explode (conversion group).
#include "EntityDispatch.h"

#include <dbbody.h>
#include <dbhatch.h>
#include <dbmline.h>
#include <dbptrar.h>
#include <dbregion.h>
#include <dbsol3d.h>

#include "CurveReaders.h"
#include "FaceReaders.h"
#include "GeometryConversion.h"
#include "NewObject.h"
#include "PolylineReaders.h"
#include "ToolkitConversion.h"

namespace {

// The nesting of explode readers now running; the toolkit runs inside one
// host command at a time.
int gExplodeDepth = 0;

class ExplodeLevel {
public:
    ExplodeLevel() { ++gExplodeDepth; }
    ~ExplodeLevel() { --gExplodeDepth; }
    ExplodeLevel(const ExplodeLevel&) = delete;
    ExplodeLevel& operator=(const ExplodeLevel&) = delete;
};

// The pieces of an explode: new entities in no database, owned by the
// reader that exploded. A piece taken out is the taker's; whatever is still
// in the list when the reader is left, by any way, is disposed of then.
class ExplodedPieces {
public:
    ExplodedPieces() = default;
    ~ExplodedPieces()
    {
        for (int i = 0; i < list_.length(); ++i) {
            NewObject<AcDbEntity> piece(take(i));
            piece.dispose();
        }
    }
    ExplodedPieces(const ExplodedPieces&) = delete;
    ExplodedPieces& operator=(const ExplodedPieces&) = delete;

    AcDbVoidPtrArray& list() { return list_; }
    int count() const { return list_.length(); }
    // Piece i (NULL for an empty entry); the list no longer holds it.
    AcDbEntity* take(int i)
    {
        AcDbEntity* piece = static_cast<AcDbEntity*>(list_[i]);
        list_[i] = NULL;
        return piece;
    }

private:
    AcDbVoidPtrArray list_;
};

int ReadPieces(const AcDbEntity* entity, ON_SimpleArray<ON_Geometry*>& objects)
{
    if (gExplodeDepth >= kMaxExplodeDepth)
        return 0;
    ExplodeLevel level;
    // Whatever a failing explode left in the list is not read.
    ExplodedPieces pieces;
    if (entity->explode(pieces.list()) != Acad::eOk)
        return 0;
    ON_ClassArray<ON_InstanceDefinition> definitions;
    for (int i = 0; i < pieces.count(); ++i) {
        NewObject<AcDbEntity> piece(pieces.take(i));
        if (piece.get())
            ReadEntity(piece.get(), objects, definitions);
    }
    return 1;
}

int ReadLinePieces(const AcDbEntity* entity, ON_ClassArray<ON_LineCurve>& lines)
{
    ExplodedPieces pieces;
    if (entity->explode(pieces.list()) != Acad::eOk)
        return -1;
    for (int i = 0; i < pieces.count(); ++i) {
        NewObject<AcDbEntity> piece(pieces.take(i));
        // Lines only, by the exact class: a class derived from a line is
        // not taken for one.
        if (!piece.get() || wcscmp(piece->isA()->name(), L"AcDbLine") != 0)
            continue;
        const AcDbLine* line = static_cast<const AcDbLine*>(piece.get());
        lines.Append(ON_LineCurve(AcGePointToOn(line->startPoint()), AcGePointToOn(line->endPoint())));
    }
    return 1;
}

template <class Entity, class Object, int (*Reader)(Entity*, Object&)>
int ReadObject(AcDbEntity* entity, ON_SimpleArray<ON_Geometry*>& objects, const ON_ClassArray<ON_InstanceDefinition>&)
{
    Object* object = new Object();
    if (!Reader(static_cast<Entity*>(entity), *object)) {
        delete object;
        return 0;
    }
    objects.Append(object);
    return 1;
}

int ReadBlockReferenceObject(AcDbEntity* entity, ON_SimpleArray<ON_Geometry*>& objects,
                             const ON_ClassArray<ON_InstanceDefinition>& definitions)
{
    ON_InstanceRef* object = new ON_InstanceRef();
    if (!ReadBlockReference(static_cast<AcDbBlockReference*>(entity), *object, definitions)) {
        delete object;
        return 0;
    }
    objects.Append(object);
    return 1;
}

template <class Entity, int (*Reader)(Entity*, ON_ClassArray<ON_LineCurve>&)>
int ReadLines(AcDbEntity* entity, ON_SimpleArray<ON_Geometry*>& objects, const ON_ClassArray<ON_InstanceDefinition>&)
{
    ON_ClassArray<ON_LineCurve> lines;
    if (!Reader(static_cast<Entity*>(entity), lines))
        return 0;
    for (int i = 0; i < lines.Count(); ++i)
        objects.Append(new ON_LineCurve(lines[i]));
    return 1;
}

template <class Entity, int (*Reader)(Entity*, ON_SimpleArray<ON_Geometry*>&)>
int ReadExploded(AcDbEntity* entity, ON_SimpleArray<ON_Geometry*>& objects, const ON_ClassArray<ON_InstanceDefinition>&)
{
    return Reader(static_cast<Entity*>(entity), objects);
}

int ReadText(AcDbEntity*, ON_SimpleArray<ON_Geometry*>& objects, const ON_ClassArray<ON_InstanceDefinition>&)
{
    objects.Append(new ON_TextEntity2());
    return 1;
}

typedef int (*RowReader)(AcDbEntity*, ON_SimpleArray<ON_Geometry*>&, const ON_ClassArray<ON_InstanceDefinition>&);

struct DispatchRow {
    const ACHAR* className;
    RowReader read;
};

// In the order of comparison; the first row of the entity's class decides.
const DispatchRow kDispatchTable[] = {
    {L"AcDbPoint", ReadObject<AcDbPoint, ON_Point, ReadPoint>},
    {L"AcDbLine", ReadObject<AcDbLine, ON_LineCurve, ReadLine>},
    {L"AcDbRay", ReadObject<AcDbRay, ON_LineCurve, ReadRay>},
    {L"AcDbXline", ReadObject<AcDbXline, ON_LineCurve, ReadXline>},
    {L"AcDbMline", ReadLines<AcDbMline, ReadMline>},
    {L"AcDbCircle", ReadObject<AcDbCircle, ON_ArcCurve, ReadCircle>},
    {L"AcDbArc", ReadObject<AcDbArc, ON_ArcCurve, ReadArc>},
    {L"AcDbEllipse", ReadObject<AcDbEllipse, ON_NurbsCurve, ReadEllipse>},
    {L"AcDbPolyline", ReadObject<AcDbPolyline, ON_PolylineCurve, ReadPolyline>},
    {L"AcDb3dPolyline", ReadObject<AcDb3dPolyline, ON_PolylineCurve, Read3dPolyline>},
    {L"AcDbSpline", ReadObject<AcDbSpline, ON_NurbsCurve, ReadSpline>},
    {L"AcDbFace", ReadObject<AcDbFace, ON_Mesh, ReadFace>},
    {L"AcDbPolyFaceMesh", ReadObject<AcDbPolyFaceMesh, ON_Mesh, ReadPolyFaceMesh>},
    {L"AcDbPolygonMesh", ReadObject<AcDbPolygonMesh, ON_Mesh, ReadPolygonMesh>},
    {L"AcDbSolid", ReadObject<AcDbSolid, ON_NurbsSurface, ReadSolid>},
    {L"AcDbHatch", ReadLines<AcDbHatch, ReadHatch>},
    {L"AcDb3dSolid", ReadExploded<AcDb3dSolid, Read3dSolid>},
    {L"AcDbBody", ReadExploded<AcDbBody, ReadBody>},
    {L"AcDbRegion", ReadExploded<AcDbRegion, ReadRegion>},
    {L"AcDbBlockReference", ReadBlockReferenceObject},
    {L"AcDbText", ReadText},
};

}  // namespace

int ReadEntity(AcDbEntity* entity, ON_SimpleArray<ON_Geometry*>& objects,
               const ON_ClassArray<ON_InstanceDefinition>& definitions)
{
    const ACHAR* name = entity->isA()->name();
    for (const DispatchRow& row : kDispatchTable)
        if (wcscmp(row.className, name) == 0)
            return row.read(entity, objects, definitions);
    return 0;
}

int Read3dSolid(AcDb3dSolid* solid, ON_SimpleArray<ON_Geometry*>& objects)
{
    return ReadPieces(solid, objects);
}

int ReadBody(AcDbBody* body, ON_SimpleArray<ON_Geometry*>& objects)
{
    return ReadPieces(body, objects);
}

int ReadRegion(AcDbRegion* region, ON_SimpleArray<ON_Geometry*>& objects)
{
    return ReadPieces(region, objects);
}

int ReadMline(AcDbMline* mline, ON_ClassArray<ON_LineCurve>& lines)
{
    if (ReadLinePieces(mline, lines) < 0) {
        CToolkitConversion::SetLastErrorText(L"Unable to explode MLINE object");
        return 0;
    }
    return 1;
}

int ReadHatch(AcDbHatch* hatch, ON_ClassArray<ON_LineCurve>& lines)
{
    return ReadLinePieces(hatch, lines) < 0 ? 0 : 1;
}
