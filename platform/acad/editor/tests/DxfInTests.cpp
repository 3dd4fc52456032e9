// The host's "_dxfin": what "_dxfout" writes reads back whole, on its layers
// with its colours; a file that cannot be read whole changes nothing.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "acedads.h"
#include "dbSubD.h"

#include "EditorTest.h"

namespace {

class DxfInTest : public EditorTest {
protected:
    void buildSampleDrawing();
    std::string goodFile();
};

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string colorText(const AcCmColor& c)
{
    char buffer[64];
    if (c.isByLayer())
        return "bylayer";
    if (c.isByBlock())
        return "byblock";
    if (c.isByColor()) {
        std::snprintf(buffer, sizeof buffer, "rgb(%d,%d,%d)", c.red(), c.green(), c.blue());
        return buffer;
    }
    std::snprintf(buffer, sizeof buffer, "aci %d", c.colorIndex());
    return buffer;
}

std::string pointText(const AcGePoint3d& p)
{
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "(%.17g %.17g %.17g)", p.x, p.y, p.z);
    return buffer;
}

// Every entity of model space and every layer, as text, in order.
std::vector<std::string> describeDrawing(AcDbDatabase* db)
{
    std::vector<std::string> out;
    AcDbLayerTable* layers = nullptr;
    EXPECT_EQ(db->getLayerTable(layers, AcDb::kForRead), Acad::eOk);
    AcDbSymbolTableIterator* it = nullptr;
    layers->newIterator(it);
    for (; !it->done(); it->step()) {
        AcDbSymbolTableRecord* record = nullptr;
        if (it->getRecord(record, AcDb::kForRead) != Acad::eOk)
            continue;
        auto* layer = static_cast<AcDbLayerTableRecord*>(record);
        const ACHAR* name = nullptr;
        layer->getName(name);
        out.push_back("layer " + standin::narrow(name) + " " + colorText(layer->color()) +
                      (layer->isFrozen() ? " frozen" : "") + (layer->isLocked() ? " locked" : "") +
                      (layer->isOff() ? " off" : ""));
        layer->close();
    }
    delete it;
    layers->close();
    standin::forEachSpaceEntity(db, [&](AcDbObjectId id) {
        AcDbEntity* e = nullptr;
        if (acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk)
            return;
        ACHAR* layer = e->layer();
        std::string text = standin::narrow(e->isA()->name()) + " on " + standin::narrow(layer) + " " +
                           colorText(e->color());
        acutDelString(layer);
        if (auto* face = AcDbFace::cast(e)) {
            for (Adesk::UInt16 i = 0; i < 4; ++i) {
                AcGePoint3d p;
                Adesk::Boolean visible = true;
                face->getVertexAt(i, p);
                face->isEdgeVisibleAt(i, visible);
                text += " " + pointText(p) + (visible ? "" : "i");
            }
        } else if (auto* line = AcDbLine::cast(e)) {
            text += " " + pointText(line->startPoint()) + " " + pointText(line->endPoint());
        } else if (auto* point = AcDbPoint::cast(e)) {
            text += " " + pointText(point->position());
        } else if (auto* mesh = AcDbSubDMesh::cast(e)) {
            AcGePoint3dArray vertices;
            AcArray<Adesk::Int32> faces;
            Adesk::Int32 level = 0;
            mesh->getVertices(vertices);
            mesh->getFaceArray(faces);
            mesh->subDLevel(level);
            text += " level " + std::to_string(level);
            for (const AcGePoint3d& p : vertices)
                text += " " + pointText(p);
            for (Adesk::Int32 v : faces)
                text += " " + std::to_string(v);
        }
        out.push_back(text);
        e->close();
    });
    return out;
}

AcDbObjectId addLayer(const wchar_t* name, const AcCmColor& color, bool frozen = false, bool off = false)
{
    AcDbLayerTable* table = nullptr;
    EXPECT_EQ(acdbHostApplicationServices()->workingDatabase()->getLayerTable(table, AcDb::kForWrite), Acad::eOk);
    auto* layer = new AcDbLayerTableRecord();
    layer->setName(name);
    layer->setColor(color);
    layer->setIsFrozen(frozen);
    layer->setIsOff(off);
    AcDbObjectId id;
    EXPECT_EQ(table->add(id, layer), Acad::eOk);
    layer->close();
    table->close();
    return id;
}

AcCmColor aci(int index)
{
    AcCmColor c;
    c.setColorIndex(static_cast<Adesk::UInt16>(index));
    return c;
}

// A drawing of every entity class, on layers of their own, in every kind of colour.
void DxfInTest::buildSampleDrawing()
{
    addLayer(L"Walls", aci(1));
    addLayer(L"Gl\u00e4ser \u6771", aci(5), true, true);
    AcCmColor rgb;
    rgb.setRGB(10, 200, 30);
    AcCmColor byBlock;
    byBlock.setColorMethod(AcCmEntityColor::kByBlock);

    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(3.25, -4, 1e-7));
    line->setLayer(L"Walls");
    append(line);
    auto* point = new AcDbPoint(AcGePoint3d(1.0 / 3, 2e6, -7));
    point->setColor(rgb);
    append(point);
    auto* face = new AcDbFace(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0.5),
                              AcGePoint3d(0, 1, 0.5));
    face->makeEdgeInvisibleAt(1);
    face->makeEdgeInvisibleAt(3);
    face->setLayer(L"Gl\u00e4ser \u6771");
    face->setColor(aci(3));
    append(face);
    auto* mesh = new AcDbSubDMesh();
    AcGePoint3dArray vertices;
    for (int i = 0; i < 5; ++i)
        vertices.append(AcGePoint3d(i, i * i, 0.1 * i));
    AcArray<Adesk::Int32> faces;
    for (int v : {3, 0, 1, 2, 4, 1, 2, 3, 4})
        faces.append(v);
    EXPECT_EQ(mesh->setSubDMesh(vertices, faces, 1), Acad::eOk);
    mesh->setColor(byBlock);
    append(mesh);
}

TEST_F(DxfInTest, WhatDxfOutWritesReadsBackWhole)
{
    buildSampleDrawing();
    const std::vector<std::string> before = describeDrawing(db());
    ASSERT_EQ(before.size(), 3u + 4u) << "layers 0, Walls, the other; four entities";
    const std::wstring written = standin::widen(path("sample.dxf"));
    ASSERT_EQ(acedCommand(RTSTR, L"_dxfout", RTSTR, written.c_str(), RTNONE), RTNORM);

    freshDrawing();
    EXPECT_EQ(acedCommand(RTSTR, L"_dxfin", RTSTR, written.c_str(), RTNONE), RTNORM)
        << standin::narrow(standin::editor::commandLineText());
    EXPECT_EQ(describeDrawing(db()), before);

    // Read into a drawing that has entities already: they are added, and a
    // layer that exists keeps its own colour.
    freshDrawing();
    addLayer(L"Walls", aci(2));
    addLine(5, 5, 6, 6);
    EXPECT_EQ(acedCommand(RTSTR, L"_dxfin", RTSTR, written.c_str(), RTNONE), RTNORM);
    const std::vector<std::string> merged = describeDrawing(db());
    EXPECT_EQ(standin::modelSpaceEntityCount(db()), 5);
    EXPECT_NE(std::find(merged.begin(), merged.end(), "layer Walls aci 2"), merged.end());
}

TEST_F(DxfInTest, AskedAtThePromptAndTheExtensionAdded)
{
    addPoint(1, 2);
    const std::wstring written = standin::widen(path("p.dxf"));
    ASSERT_EQ(acedCommand(RTSTR, L"_dxfout", RTSTR, written.c_str(), RTNONE), RTNORM);
    freshDrawing();
    user().type(L"\"" + standin::widen(path("p")) + L"\"");
    EXPECT_EQ(standin::editor::runCommand(L"_dxfin"), RTNORM);
    EXPECT_EQ(user().prompts(), std::vector<std::wstring>{L"Enter DXF file name: "});
    EXPECT_EQ(standin::modelSpaceEntityCount(db()), 1);
    // Cancel at the prompt.
    EXPECT_EQ(standin::editor::runCommand(L"_dxfin"), RTCAN);
    EXPECT_EQ(standin::modelSpaceEntityCount(db()), 1);
}

// A small drawing written by _dxfout, to be spoilt by each case.
std::string DxfInTest::goodFile()
{
    addLine(0, 0, 1, 1);
    addFace(2, 2, 1);
    auto* mesh = new AcDbSubDMesh();
    AcGePoint3dArray vertices;
    vertices.append(AcGePoint3d(0, 0, 0));
    vertices.append(AcGePoint3d(1, 0, 0));
    vertices.append(AcGePoint3d(0, 1, 0));
    AcArray<Adesk::Int32> faces;
    for (int v : {3, 0, 1, 2})
        faces.append(v);
    mesh->setSubDMesh(vertices, faces, 0);
    append(mesh);
    const std::wstring out = standin::widen(path("good.dxf"));
    EXPECT_EQ(acedCommand(RTSTR, L"_dxfout", RTSTR, out.c_str(), RTNONE), RTNORM);
    return readAll(path("good.dxf"));
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

TEST_F(DxfInTest, AFileThatCannotBeReadWholeChangesNothing)
{
    const std::string good = goodFile();
    const std::string line = "\n 11\n1.0\n 21\n1.0\n";
    ASSERT_NE(good.find(line), std::string::npos);
    const size_t entities = good.find("ENTITIES");
    const std::string head = good.substr(0, entities + 9);
    struct Case {
        const char* name;
        std::string content;
    };
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919 + 13) % 256);
    const std::vector<Case> cases = {
        {"empty", ""},
        {"binary garbage", garbage},
        {"text that is not DXF", "hello\nworld\n"},
        {"binary DXF", "AutoCAD Binary DXF\r\n\x1a" + std::string(40, '\1')},
        {"cut in half", good.substr(0, good.size() / 2)},
        {"no EOF", good.substr(0, good.rfind("EOF"))},
        {"NaN coordinate", replaced(good, line, "\n 11\nnan\n 21\n1.0\n")},
        {"infinite coordinate", replaced(good, line, "\n 11\n1e999\n 21\n1.0\n")},
        {"hex coordinate", replaced(good, line, "\n 11\n0x10\n 21\n1.0\n")},
        {"integer out of range", replaced(good, "\n 62\n", "\n 62\n99999999999") },
        {"group code out of range", replaced(good, line, "\n 5000\n1.0\n 21\n1.0\n")},
        {"a line too long", replaced(good, line, "\n 11\n1." + std::string(5000, '0') + "\n 21\n1.0\n")},
        {"NUL byte", replaced(good, "LINE", std::string("LI\0E", 4))},
        {"unknown entity", replaced(good, "\n  0\nLINE\n", "\n  0\nHATCH\n")},
        {"entity in a block", replaced(good, "ENDBLK", "LINE\n  8\n0\n  0\nENDBLK")},
        {"section in a section", replaced(good, "ENTITIES\n", "ENTITIES\n  0\nSECTION\n  2\nENTITIES\n")},
        {"absurd mesh count", replaced(good, "\n 92\n3\n", "\n 92\n2000000000\n")},
        {"mesh index outside", replaced(good, "\n 90\n2\n", "\n 90\n7\n")},
        {"mesh face list count", replaced(good, "\n 93\n4\n", "\n 93\n400000000\n")},
        {"colour out of range", replaced(good, "\n 62\n256\n", "\n 62\n999\n")},
        {"bad layer name", head + "  0\nPOINT\n  8\na<b\n 10\n0\n 20\n0\n 30\n0\n  0\nENDSEC\n  0\nEOF\n"},
        {"bad face flags", replaced(good, "3DFACE\n", "3DFACE\n 70\n99\n")},
        {"last entity truncated", head + "  0\nLINE\n 10\n"},
    };
    const std::vector<std::string> before = describeDrawing(db());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        standin::editor::clearCommandLine();
        const std::wstring name = standin::widen(file("bad.dxf", c.content));
        EXPECT_NE(acedCommand(RTSTR, L"_dxfin", RTSTR, name.c_str(), RTNONE), RTNORM);
        EXPECT_NE(standin::editor::commandLineText().find(L"Unable to read DXF file \"" + name + L"\": "),
                  std::wstring::npos)
            << standin::narrow(standin::editor::commandLineText());
        EXPECT_EQ(describeDrawing(db()), before);
        EXPECT_TRUE(standin::openObjects().empty()) << standin::describeOpenObjects();
    }
    // The good file itself reads.
    EXPECT_EQ(acedCommand(RTSTR, L"_dxfin", RTSTR, standin::widen(path("good.dxf")).c_str(), RTNONE), RTNORM);
    EXPECT_EQ(standin::modelSpaceEntityCount(db()), 6);
}

TEST_F(DxfInTest, NamesThatAreNoFileFailWithTheirReason)
{
    mkdir(path("folder.dxf").c_str(), 0700);
    mkfifo(path("fifo.dxf").c_str(), 0600);
    const std::string locked = file("locked.dxf", "  0\nEOF\n");
    chmod(locked.c_str(), 0);
    struct Case {
        std::wstring name;
        std::wstring reason;
    };
    std::vector<Case> cases = {
        {standin::widen(path("missing.dxf")), L"No such file or directory"},
        {standin::widen(path("folder.dxf")), L"it is a folder"},
        {standin::widen(path("fifo.dxf")), L"it is not a regular file"},
        {std::wstring(L"a\0b.dxf", 7), L"NUL"},
    };
    if (geteuid() != 0)
        cases.push_back({standin::widen(locked), L"Permission denied"});
    for (const Case& c : cases) {
        SCOPED_TRACE(standin::narrow(c.name));
        standin::editor::clearCommandLine();
        user().type(c.name);
        EXPECT_EQ(standin::editor::runCommand(L"_dxfin"), RTERROR);
        EXPECT_NE(standin::editor::commandLineText().find(c.reason), std::wstring::npos)
            << standin::narrow(standin::editor::commandLineText());
    }
    EXPECT_EQ(standin::modelSpaceEntityCount(db()), 0);
}

TEST_F(DxfInTest, ZoomExtentsFitsTheViewToModelSpace)
{
    const standin::editor::View start = standin::editor::currentView();
    EXPECT_EQ(acedCommand(RTSTR, L"_zoom", RTSTR, L"_extents", RTNONE), RTNORM);
    standin::editor::View v = standin::editor::currentView();
    EXPECT_EQ(v.extentsZooms, 1);
    EXPECT_EQ(v.width, start.width) << "an empty drawing leaves the view";

    addLine(-2, 1, 4, 3);
    addPoint(0, 7);
    EXPECT_EQ(acedCommand(RTSTR, L"_zoom", RTSTR, L"_e", RTNONE), RTNORM);
    v = standin::editor::currentView();
    EXPECT_EQ(v.extentsZooms, 2);
    EXPECT_DOUBLE_EQ(v.center[0], 1.0);
    EXPECT_DOUBLE_EQ(v.center[1], 4.0);
    EXPECT_DOUBLE_EQ(v.width, 6.0);
    EXPECT_DOUBLE_EQ(v.height, 6.0);

    // Other options leave the view.
    addLine(100, 100, 200, 200);
    EXPECT_EQ(acedCommand(RTSTR, L"_zoom", RTSTR, L"_previous", RTNONE), RTNORM);
    EXPECT_DOUBLE_EQ(standin::editor::currentView().width, 6.0);
    EXPECT_EQ(standin::editor::currentView().extentsZooms, 2);
}

}  // namespace
