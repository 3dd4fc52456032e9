// Entity placement (utilities group).
#include "EntityPlacement.h"

#include "Colors.h"
#include "NewObject.h"
#include "OpenObjectGuard.h"

#include "acutmem.h"
#include "dbapserv.h"

namespace {

AcDbDatabase* WorkingDatabase()
{
    AcDbHostApplicationServices* services = acdbHostApplicationServices();
    return services ? services->workingDatabase() : NULL;
}

Acad::ErrorStatus OpenLayerTable(AcDbLayerTable*& table)
{
    table = NULL;
    AcDbDatabase* db = WorkingDatabase();
    if (!db)
        return Acad::eNoDatabase;
    return db->getSymbolTable(table, AcDb::kForWrite);
}

// Looks the layer up by name, erased records not found.
Acad::ErrorStatus FindLayer(const CString& name, AcDbObjectId& id)
{
    AcDbLayerTable* table = NULL;
    Acad::ErrorStatus es = OpenLayerTable(table);
    if (es != Acad::eOk)
        return es;
    OpenObjectGuard<AcDbLayerTable> closeTable(table);
    return table->getAt(name.GetString(), id, false);
}

// Opens the layer table for write, constructs a new record, lets fill set
// its properties and adds it. A record that the table refuses belongs to no
// database and is deleted; an added one is closed before the table.
template <class Fill> Acad::ErrorStatus CreateLayer(AcDbObjectId& id, Fill fill)
{
    AcDbLayerTable* table = NULL;
    Acad::ErrorStatus es = OpenLayerTable(table);
    if (es != Acad::eOk)
        return es;
    OpenObjectGuard<AcDbLayerTable> closeTable(table);
    NewObject<AcDbLayerTableRecord> record(new AcDbLayerTableRecord);
    fill(*record.get());
    es = record.appended(table->add(id, record.get()));
    record.dispose();
    return es;
}

Acad::ErrorStatus SetColor(AcDbEntity* entity, const AcCmColor& entityColor)
{
    return entity->setColor(entityColor, Adesk::kTrue);
}

// The layer, then the colour by setColor; the first failure is returned.
template <class Color>
Acad::ErrorStatus LayerThenColor(AcDbEntity* entity, const CString& layerName, const Color& color,
                                 Acad::ErrorStatus (*setColor)(AcDbEntity*, const Color&))
{
    Acad::ErrorStatus es = SetEntityLayer(entity, layerName);
    if (es != Acad::eOk)
        return es;
    return setColor(entity, color);
}

// The layer-and-colour step, then the append, whichever form the colour has.
template <class Color>
Acad::ErrorStatus PlaceEntity(AcDbEntity* entity, const CString& layerName, const Color& color, AcDbObjectId& id,
                              AcDbBlockTableRecord* block)
{
    Acad::ErrorStatus es = SetEntityLayerAndColor(entity, layerName, color);
    if (es != Acad::eOk)
        return es;
    return AppendToModelSpace(entity, id, block);
}

}  // namespace

// Every placement form is the layer-and-colour step followed by the append;
// the forms without an id append into one of their own and drop it.
Acad::ErrorStatus AddEntity(AcDbEntity* entity, const CString& layerName, const AcCmColor& entityColor,
                            AcDbObjectId& id, AcDbBlockTableRecord* block)
{
    return PlaceEntity(entity, layerName, entityColor, id, block);
}

Acad::ErrorStatus AddEntity(AcDbEntity* entity, const CString& layerName, const AcCmColor& entityColor,
                            AcDbBlockTableRecord* block)
{
    AcDbObjectId id;
    return AddEntity(entity, layerName, entityColor, id, block);
}

Acad::ErrorStatus AddEntity(AcDbEntity* entity, const CString& layerName, const int& rgbColor, AcDbObjectId& id,
                            AcDbBlockTableRecord* block)
{
    return PlaceEntity(entity, layerName, rgbColor, id, block);
}

Acad::ErrorStatus AddEntity(AcDbEntity* entity, const CString& layerName, const int& rgbColor,
                            AcDbBlockTableRecord* block)
{
    AcDbObjectId id;
    return AddEntity(entity, layerName, rgbColor, id, block);
}

Acad::ErrorStatus SetEntityLayerAndColor(AcDbEntity* entity, const CString& layerName, const AcCmColor& entityColor)
{
    return LayerThenColor(entity, layerName, entityColor, SetColor);
}

Acad::ErrorStatus SetEntityLayerAndColor(AcDbEntity* entity, const CString& layerName, const int& rgbColor)
{
    return LayerThenColor(entity, layerName, rgbColor, SetEntityColorRgb);
}

Acad::ErrorStatus SetEntityColorRgb(AcDbEntity* entity, const int& rgbColor)
{
    // 0 stands for colour index 7, not for true-colour black.
    if (rgbColor == 0)
        return entity->setColorIndex(7, Adesk::kTrue);
    return SetColor(entity, RgbToColor(rgbColor));
}

Acad::ErrorStatus SetEntityLayer(AcDbEntity* entity, const CString& layerName)
{
    if (layerName.IsEmpty())
        return Acad::eOk;
    AcDbObjectId id = AcDbObjectId::kNull;
    Acad::ErrorStatus es = GetLayerId(layerName, TRUE, id);
    if (es != Acad::eOk)
        return es;
    return entity->setLayer(id, Adesk::kTrue, false);
}

Acad::ErrorStatus AppendToModelSpace(AcDbEntity* entity, AcDbBlockTableRecord* block)
{
    AcDbObjectId id;
    return AppendToModelSpace(entity, id, block);
}

Acad::ErrorStatus AppendToModelSpace(AcDbEntity* entity, AcDbObjectId& id, AcDbBlockTableRecord* block)
{
    if (block)
        return block->appendAcDbEntity(id, entity);

    AcDbDatabase* db = WorkingDatabase();
    if (!db)
        return Acad::eNoDatabase;
    AcDbBlockTable* table = NULL;
    Acad::ErrorStatus es = db->getSymbolTable(table, AcDb::kForRead);
    if (es != Acad::eOk)
        return es;
    AcDbBlockTableRecord* space = NULL;
    {
        OpenObjectGuard<AcDbBlockTable> closeTable(table);
        es = table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite, false);
    }
    if (es != Acad::eOk)
        return es;
    OpenObjectGuard<AcDbBlockTableRecord> closeSpace(space);
    return space->appendAcDbEntity(id, entity);
}

Acad::ErrorStatus GetLayerId(const CString& name, BOOL create, AcDbObjectId& id)
{
    // Any failure of the lookup counts as a missing layer.
    if (FindLayer(name, id) == Acad::eOk)
        return Acad::eOk;
    if (!create)
        return Acad::eNullObjectId;

    return CreateLayer(id, [&name](AcDbLayerTableRecord& record) { record.setName(name.GetString()); });
}

AcDbObjectId GetLayerId(const CString& name, BOOL create)
{
    AcDbObjectId id = AcDbObjectId::kNull;
    GetLayerId(name, create, id);
    return id;
}

Acad::ErrorStatus AddLayer(const CString& name, AcDbObjectId& id, int rgbColor, BOOL frozen, BOOL locked, BOOL off)
{
    if (FindLayer(name, id) == Acad::eOk)
        return Acad::eOk;

    const AcCmColor color = RgbToColor(rgbColor);
    return CreateLayer(id, [&](AcDbLayerTableRecord& record) {
        record.setName(name.GetString());
        record.setColor(color);
        record.setIsFrozen(frozen != FALSE);
        record.setIsLocked(locked != FALSE);
        record.setIsOff(off != FALSE);
    });
}

Acad::ErrorStatus AddLayer(const CString& name, int rgbColor, BOOL frozen, BOOL locked, BOOL off)
{
    AcDbObjectId id;
    return AddLayer(name, id, rgbColor, frozen, locked, off);
}

Acad::ErrorStatus GetBlockName(const AcDbObjectId& id, CString& name)
{
    AcDbObject* object = NULL;
    Acad::ErrorStatus es = acdbOpenAcDbObject(object, id, AcDb::kForRead, AcDbBlockTableRecord::desc(), false);
    if (es != Acad::eOk)
        return es;
    AcDbBlockTableRecord* record = static_cast<AcDbBlockTableRecord*>(object);
    ACHAR* text = NULL;
    es = record->getName(text);
    if (es != Acad::eOk) {
        record->close();
        return es;
    }
    name = text;
    acutDelString(text);
    record->close();
    return Acad::eOk;
}

CString GetBlockName(const AcDbObjectId& id)
{
    CString name;
    GetBlockName(id, name);
    return name;
}
