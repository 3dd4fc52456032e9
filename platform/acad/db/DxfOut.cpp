// AcDbDatabase::dxfOut: the drawing as a DXF file (AutoCAD 2000 format).
//
// dxflib writes the header, the tables, the blocks, the objects and the
// entities it knows (3DFACE, LINE, POINT); the MESH entity is written here,
// the meshes, solids, text and block references in DxfOutMeshes.cpp.
#include <cstdio>
#include <memory>
#include <string>

#include <dxflib/dl_attributes.h>
#include <dxflib/dl_codes.h>
#include <dxflib/dl_dxf.h>
#include <dxflib/dl_entities.h>
#include <dxflib/dl_writer_ascii.h>

#include "DbInternal.h"
#include "DxfOutMeshes.h"
#include "standin/WideFormat.h"
#include "dbSubD.h"
#include "dbents.h"

using namespace acdbimpl;
using Impl = AcDbDatabase::Impl;

namespace {

// A wide name as DXF text: ASCII as it is, anything else as \U+XXXX.
std::string dxfText(const ACHAR* text)
{
    std::string out;
    if (text == nullptr)
        return out;
    for (; *text != 0; ++text) {
        unsigned long c = static_cast<unsigned long>(*text);
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char buf[16];
            std::snprintf(buf, sizeof buf, "\\U+%04lX", c & 0xFFFFFF);
            out += buf;
        }
    }
    return out;
}

std::string nameOf(const AcDbStub* s)
{
    if (s == nullptr || s->mpObject == nullptr)
        return std::string();
    return dxfText(Impl::nameOf(static_cast<const AcDbSymbolTableRecord*>(s->mpObject)));
}

// Group 62 (colour number) and 420 (true colour, -1 for none) of a colour.
void colorCodes(const AcCmEntityColor& c, int& aci, int& trueColor)
{
    trueColor = -1;
    if (c.isByColor()) {
        aci = c.colorIndex();
        trueColor = static_cast<int>(c.color() & 0xFFFFFF);
    } else if (c.isByLayer() || c.isNone()) {
        aci = 256;
    } else if (c.isByBlock()) {
        aci = 0;
    } else {
        aci = c.colorIndex();
        if (aci < 1 || aci > 255)
            aci = 7;
    }
}

std::vector<const AcDbObject*> liveObjects(const std::vector<AcDbStub*>& list)
{
    std::vector<const AcDbObject*> out;
    for (const AcDbStub* s : list)
        if (s->mpObject != nullptr && !s->mpObject->isErased())
            out.push_back(s->mpObject);
    return out;
}

void writeMesh(DL_WriterA& dw, const AcDbSubDMesh& mesh, const DL_Attributes& attrib)
{
    AcGePoint3dArray vertices;
    AcArray<Adesk::Int32> faces;
    Adesk::Int32 level = 0;
    mesh.getVertices(vertices);
    mesh.getFaceArray(faces);
    mesh.subDLevel(level);
    dw.entity("MESH");
    dw.dxfString(100, "AcDbEntity");
    dw.entityAttributes(attrib);
    dw.dxfString(100, "AcDbSubDMesh");
    dw.dxfInt(71, 2);  // version
    dw.dxfInt(72, 0);  // blend crease
    dw.dxfInt(91, level);
    dw.dxfInt(92, vertices.length());
    for (const AcGePoint3d& p : vertices)
        dw.coord(10, p.x, p.y, p.z);
    dw.dxfInt(93, faces.length());
    for (Adesk::Int32 v : faces)
        dw.dxfInt(90, v);
    dw.dxfInt(94, 0);  // edges
    dw.dxfInt(95, 0);  // creases
    dw.dxfInt(90, 0);  // overridden properties
}

}  // namespace

Acad::ErrorStatus AcDbDatabase::dxfOut(const ACHAR* fileName, int precision, AcDb::AcDbDwgVersion, bool)
{
    if (fileName == nullptr)
        return Acad::eNullObjectPointer;
    if (*fileName == 0)
        return Acad::eNoFileName;
    if (precision < 0 || precision > 16)
        return Acad::eInvalidInput;

    const Impl& d = *mpImpl;
    auto records = [](const AcDbStub* table) {
        return table != nullptr && table->mpObject != nullptr
                   ? liveObjects(Impl::recordsOf(static_cast<const AcDbSymbolTable*>(table->mpObject)))
                   : std::vector<const AcDbObject*>();
    };
    std::vector<const AcDbObject*> layers = records(d.layerTable);
    std::vector<const AcDbObject*> linetypes = records(d.linetypeTable);
    // Block records other than the two spaces, with their entities.
    std::vector<const AcDbBlockTableRecord*> blocks;
    for (const AcDbObject* o : records(d.blockTable))
        if (Impl::stubOf(o) != d.modelSpace && Impl::stubOf(o) != d.paperSpace)
            blocks.push_back(static_cast<const AcDbBlockTableRecord*>(o));
    std::vector<const AcDbObject*> entities;
    if (d.modelSpace != nullptr && d.modelSpace->mpObject != nullptr)
        entities = liveObjects(Impl::entitiesOf(static_cast<const AcDbBlockTableRecord*>(d.modelSpace->mpObject)));

    DL_Dxf dxf;
    std::unique_ptr<DL_WriterA> dw(dxf.out(standin::narrow(fileName).c_str(), DL_Codes::AC1015));
    if (!dw)
        return Acad::eCantOpenFile;

    dxf.writeHeader(*dw);
    dw->sectionEnd();

    dw->sectionTables();
    dxf.writeVPort(*dw);

    dw->tableLinetypes(static_cast<int>(linetypes.size()));
    for (const AcDbObject* o : linetypes) {
        auto* lt = static_cast<const AcDbLinetypeTableRecord*>(o);
        const ACHAR* comments = nullptr;
        lt->comments(comments);
        dxf.writeLinetype(*dw, DL_LinetypeData(dxfText(Impl::nameOf(lt)), dxfText(comments), 0, 0, 0.0));
    }
    dw->tableEnd();

    dw->tableLayers(static_cast<int>(layers.size()));
    for (const AcDbObject* o : layers) {
        auto* layer = static_cast<const AcDbLayerTableRecord*>(o);
        int flags = (layer->isFrozen() ? 1 : 0) | (layer->isLocked() ? 4 : 0);
        int aci = 7, trueColor = -1;
        colorCodes(layer->color().entityColor(), aci, trueColor);
        if (aci < 1 || aci > 255)
            aci = 7;
        std::string linetype = nameOf(Impl::layerLinetypeOf(layer));
        if (linetype.empty())
            linetype = "Continuous";
        dxf.writeLayer(*dw, DL_LayerData(dxfText(Impl::nameOf(layer)), flags, layer->isOff()),
                       DL_Attributes(std::string(), aci, trueColor, -3, linetype));
    }
    dw->tableEnd();

    dw->tableStyle(1);
    dxf.writeStyle(*dw, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
    dw->tableEnd();
    dxf.writeView(*dw);
    dxf.writeUcs(*dw);
    dw->tableAppid(1);
    dxf.writeAppid(*dw, "ACAD");
    dw->tableEnd();
    dxf.writeDimStyle(*dw, 2.5, 1.25, 0.625, 0.625, 2.5);
    // The block records of the two spaces (dxflib's own list adds a third
    // paper space without a layout).
    dw->dxfString(0, "TABLE");
    dw->dxfString(2, "BLOCK_RECORD");
    dw->dxfHex(5, 1);
    dw->dxfString(100, "AcDbSymbolTable");
    dw->dxfInt(70, 2 + static_cast<int>(blocks.size()));
    for (const AcDbBlockTableRecord* block : blocks) {
        dw->dxfString(0, "BLOCK_RECORD");
        dw->handle();
        dw->dxfString(330, "1");
        dw->dxfString(100, "AcDbSymbolTableRecord");
        dw->dxfString(100, "AcDbBlockTableRecord");
        dw->dxfString(2, dxfText(Impl::nameOf(block)));
    }
    for (const auto& space : {std::make_pair(0x1F, "*Model_Space"), std::make_pair(0x1B, "*Paper_Space")}) {
        dw->dxfString(0, "BLOCK_RECORD");
        dw->dxfHex(5, space.first);
        dw->dxfString(330, "1");
        dw->dxfString(100, "AcDbSymbolTableRecord");
        dw->dxfString(100, "AcDbBlockTableRecord");
        dw->dxfString(2, space.second);
    }
    dw->tableEnd();
    dw->sectionEnd();

    auto writeEntity = [&](const AcDbEntity* e) {
        int aci = 256, trueColor = -1;
        colorCodes(e->entityColor(), aci, trueColor);
        std::string layer = nameOf(Impl::layerOf(e));
        if (layer.empty())
            layer = "0";
        std::string linetype = nameOf(Impl::linetypeOf(e));
        if (linetype.empty())
            linetype = "ByLayer";
        DL_Attributes attrib(layer, aci, trueColor, -1, linetype);
        if (const AcDbFace* face = AcDbFace::cast(e)) {
            DL_3dFaceData data;
            int invisible = 0;
            for (Adesk::UInt16 i = 0; i < 4; ++i) {
                AcGePoint3d p;
                face->getVertexAt(i, p);
                data.x[i] = p.x;
                data.y[i] = p.y;
                data.z[i] = p.z;
                Adesk::Boolean visible = true;
                face->isEdgeVisibleAt(i, visible);
                if (!visible)
                    invisible |= 1 << i;
            }
            dxf.write3dFace(*dw, data, attrib);
            if (invisible != 0)
                dw->dxfInt(70, invisible);
        } else if (const AcDbLine* line = AcDbLine::cast(e)) {
            AcGePoint3d s = line->startPoint(), t = line->endPoint();
            dxf.writeLine(*dw, DL_LineData(s.x, s.y, s.z, t.x, t.y, t.z), attrib);
        } else if (const AcDbPoint* point = AcDbPoint::cast(e)) {
            AcGePoint3d p = point->position();
            dxf.writePoint(*dw, DL_PointData(p.x, p.y, p.z), attrib);
        } else if (const AcDbSubDMesh* mesh = AcDbSubDMesh::cast(e)) {
            writeMesh(*dw, *mesh, attrib);
        } else {
            dxfOutMeshEntity(*dw, e, attrib);
        }
    };

    dw->sectionBlocks();
    dxf.writeBlock(*dw, DL_BlockData("*Model_Space", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(*dw, "*Model_Space");
    dxf.writeBlock(*dw, DL_BlockData("*Paper_Space", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(*dw, "*Paper_Space");
    for (const AcDbBlockTableRecord* block : blocks) {
        const std::string name = dxfText(Impl::nameOf(block));
        const AcGePoint3d base = block->origin();
        dxf.writeBlock(*dw, DL_BlockData(name, 0, base.x, base.y, base.z));
        for (const AcDbObject* o : liveObjects(Impl::entitiesOf(block)))
            writeEntity(static_cast<const AcDbEntity*>(o));
        dxf.writeEndBlock(*dw, name);
    }
    dw->sectionEnd();

    dw->sectionEntities();
    for (const AcDbObject* o : entities)
        writeEntity(static_cast<const AcDbEntity*>(o));
    dw->sectionEnd();

    // The named-object dictionary with an empty group dictionary.
    dw->sectionObjects();
    unsigned long root = dw->getNextHandle();
    dw->dxfString(0, "DICTIONARY");
    dw->handle();
    dw->dxfString(330, "0");
    dw->dxfString(100, "AcDbDictionary");
    dw->dxfInt(281, 1);
    dw->dxfString(3, "ACAD_GROUP");
    unsigned long group = dw->getNextHandle();
    char text[32];
    std::snprintf(text, sizeof text, "%lX", group);
    dw->dxfString(350, text);
    dw->dxfString(0, "DICTIONARY");
    dw->handle();
    std::snprintf(text, sizeof text, "%lX", root);
    dw->dxfString(330, text);
    dw->dxfString(100, "AcDbDictionary");
    dw->dxfInt(281, 1);
    dw->sectionEnd();
    dw->dxfEOF();
    dw->close();
    return Acad::eOk;
}
