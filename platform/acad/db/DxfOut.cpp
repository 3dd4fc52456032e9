// AcDbDatabase::dxfOut: the drawing as a DXF file (AutoCAD 2000 format).
//
// dxflib writes the header, the tables, the blocks, the objects and the
// entities it knows (3DFACE, LINE, POINT); the MESH entity is written here,
// the curves in DxfOutCurves.cpp, the meshes, solids, text and block
// references in DxfOutMeshes.cpp.
// The groups go through a writer of our own that checks every write, into a
// file replaced as the stand-in replaces every file (standin/FileIo.h): it
// is written beside the old one and renamed over it only once it is whole,
// so a failed write (a full disk) leaves an earlier file as it was. Numbers are written with as many digits as read back the same value.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <dxflib/dl_attributes.h>
#include <dxflib/dl_codes.h>
#include <dxflib/dl_dxf.h>
#include <dxflib/dl_entities.h>
#include <dxflib/dl_writer_ascii.h>

#include "DbInternal.h"
#include "DxfOutInternal.h"
#include "standin/FileIo.h"
#include "standin/WideFormat.h"
#include "dbSubD.h"
#include "dbents.h"

using namespace acdbimpl;
using Impl = AcDbDatabase::Impl;

std::string acdbimpl::dxfText(const ACHAR* text)
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

namespace {

// The shortest text of a number that reads back as the same number, always
// with a point or an exponent.
std::string realText(double value)
{
    char buffer[64];
    for (int digits = 15; digits <= 17; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
        if (std::strtod(buffer, nullptr) == value)
            break;
    }
    std::string text = buffer;
    for (char& c : text)
        if (c == ',')
            c = '.';  // a locale's decimal comma
    if (text.find_first_of(".eEn") == std::string::npos)
        text += ".0";
    return text;
}

// dxflib's writer with its output taken over: every group goes through a
// buffer of our own into the file being replaced, which keeps the first
// failure. dxflib's own stream is opened on /dev/null and never written.
class CheckedWriter : public DL_WriterA {
public:
    CheckedWriter(standin::files::Replacement& file, DL_Codes::version version)
        : DL_WriterA("/dev/null", version), file_(file)
    {
        buffer_.reserve(kBufferSize + 256);
    }
    CheckedWriter(const CheckedWriter&) = delete;
    CheckedWriter& operator=(const CheckedWriter&) = delete;

    void dxfReal(int gc, double value) const override { group(gc, realText(value)); }
    void dxfInt(int gc, int value) const override { group(gc, std::to_string(value)); }
    void dxfHex(int gc, int value) const override
    {
        char text[16];
        std::snprintf(text, sizeof text, "%0X", static_cast<unsigned>(value));
        group(gc, text);
    }
    void dxfString(int gc, const char* value) const override { group(gc, value != nullptr ? value : ""); }
    void dxfString(int gc, const std::string& value) const override { group(gc, value); }

    // Hands over what is buffered.
    void finish() const { flush(); }

private:
    // Large enough that a big drawing costs few writes, small enough to stay
    // in the allocator's reused heap rather than a fresh mapping per file.
    static constexpr size_t kBufferSize = 64 << 10;

    void group(int gc, const std::string& value) const
    {
        if (gc < 10)
            buffer_ += "  ";
        else if (gc < 100)
            buffer_ += ' ';
        buffer_ += std::to_string(gc);
        buffer_ += '\n';
        buffer_ += value;
        buffer_ += '\n';
        if (buffer_.size() >= kBufferSize)
            flush();
    }

    void flush() const
    {
        file_.write(buffer_);
        buffer_.clear();
    }

    standin::files::Replacement& file_;
    mutable std::string buffer_;
};

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

template <typename List> std::vector<const AcDbObject*> liveObjects(const List& list)
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

namespace {

// Writes the drawing's groups through the writer.
void writeDrawing(const Impl& d, DL_Dxf& dxf, DL_WriterA* dw)
{
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
            if (!writeCurveEntity(*dw, e, attrib))
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
}

}  // namespace

namespace standin {

Acad::ErrorStatus dxfOut(AcDbDatabase* db, const std::wstring& fileName, std::wstring& reason)
{
    reason.clear();
    if (db == nullptr) {
        reason = L"no drawing";
        return Acad::eNoDatabase;
    }
    // The file's rules (links followed, a temporary file renamed over the old
    // one, permissions and owner kept, devices written as they are) are the
    // stand-in's for every file it replaces.
    standin::files::Replacement file;
    if (const standin::files::FileError e = file.open(standin::narrow(fileName))) {
        reason = e.reason();
        if (e.kind == standin::files::FileError::kNoName)
            return Acad::eNoFileName;
        return e.kind == standin::files::FileError::kNulInName ? Acad::eInvalidInput : Acad::eCantOpenFile;
    }
    try {
        DL_Dxf dxf;
        CheckedWriter writer(file, DL_Codes::AC1015);
        writeDrawing(*db->impl(), dxf, &writer);
        writer.finish();
    } catch (const std::bad_alloc&) {
        file.fail(ENOMEM);
    }
    if (const standin::files::FileError e = file.commit()) {
        reason = e.reason();
        return e.diskFull() ? Acad::eOutOfDisk : Acad::eFileAccessErr;
    }
    return Acad::eOk;
}

}  // namespace standin

Acad::ErrorStatus AcDbDatabase::dxfOut(const ACHAR* fileName, int precision, AcDb::AcDbDwgVersion, bool)
{
    if (fileName == nullptr)
        return Acad::eNullObjectPointer;
    if (*fileName == 0)
        return Acad::eNoFileName;
    if (precision < 0 || precision > 16)
        return Acad::eInvalidInput;
    std::wstring reason;
    return standin::dxfOut(this, fileName, reason);
}
