// dxfIn on files that are not what they claim: each is refused with the line
// and what is wrong there, and the drawing stays as it was.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <cstdlib>
#include <string>
#include <vector>

#include "DbTest.h"
#include "dbhatch.h"
#include "dbspline.h"
#include "standin/WideFormat.h"

namespace {

class DxfInTest : public DbTest {
protected:
    void TearDown() override
    {
        std::remove(path_.c_str());
        DbTest::TearDown();
    }

    // Reads the text as a DXF file into the drawing; the reason of a refusal,
    // "" when it was read.
    std::wstring read(const std::string& text)
    {
        std::FILE* f = std::fopen(path_.c_str(), "wb");
        EXPECT_NE(f, nullptr);
        if (f == nullptr)
            return L"no file";
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
        std::wstring reason;
        const Acad::ErrorStatus es = standin::dxfIn(db(), standin::widen(path_), reason);
        EXPECT_EQ(es == Acad::eOk, reason.empty()) << standin::narrow(reason);
        return reason;
    }

    // The names in the layer, linetype and block tables and the number of
    // entities of model space.
    std::string describe()
    {
        std::string text;
        auto names = [&](AcDbSymbolTable* table) {
            AcDbSymbolTableIterator* it = nullptr;
            if (table->newIterator(it) == Acad::eOk) {
                for (; !it->done(); it->step()) {
                    AcDbSymbolTableRecord* record = nullptr;
                    if (it->getRecord(record, AcDb::kForRead) == Acad::eOk) {
                        const ACHAR* name = nullptr;
                        record->getName(name);
                        text += standin::narrow(name) + " ";
                        record->close();
                    }
                }
                delete it;
            }
            table->close();
            text += "| ";
        };
        AcDbLayerTable* layers = nullptr;
        AcDbLinetypeTable* linetypes = nullptr;
        AcDbBlockTable* blocks = nullptr;
        if (db()->getLayerTable(layers, AcDb::kForRead) == Acad::eOk)
            names(layers);
        if (db()->getLinetypeTable(linetypes, AcDb::kForRead) == Acad::eOk)
            names(linetypes);
        if (db()->getBlockTable(blocks, AcDb::kForRead) == Acad::eOk)
            names(blocks);
        return text + std::to_string(standin::modelSpaceEntityCount(db()));
    }

    // The entities of model space, described.
    std::vector<std::string> entities()
    {
        std::vector<std::string> out;
        standin::forEachSpaceEntity(db(), [&](AcDbObjectId id) {
            AcDbEntity* e = nullptr;
            if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk)
                return;
            out.push_back(describeEntity(e));
            e->close();
        });
        return out;
    }

    static std::string describeEntity(AcDbEntity* e)
    {
        char buffer[64];
        auto num = [&](double v) {
            std::snprintf(buffer, sizeof buffer, "%.4g", std::fabs(v) < 1e-12 ? 0.0 : v);
            return std::string(buffer);
        };
        std::string text = standin::narrow(e->isA()->name());
        if (auto* spline = AcDbSpline::cast(e)) {
            text += " fit";
            for (int k = 0; k < spline->numFitPoints(); ++k) {
                AcGePoint3d p;
                spline->getFitPointAt(k, p);
                text += " (" + num(p.x) + " " + num(p.y) + ")";
            }
            AcGePoint3d start, end;
            spline->getStartPoint(start);
            spline->getEndPoint(end);
            text += " from (" + num(start.x) + " " + num(start.y) + ") to (" + num(end.x) + " " + num(end.y) + ")";
        } else if (auto* solid = AcDbSolid::cast(e)) {
            for (Adesk::UInt16 k = 0; k < 4; ++k) {
                AcGePoint3d p;
                solid->getPointAt(k, p);
                text += " (" + num(p.x) + " " + num(p.y) + " " + num(p.z) + ")";
            }
        } else if (auto* label = AcDbText::cast(e)) {
            const AcGePoint3d p = label->position();
            text += " (" + num(p.x) + " " + num(p.y) + " " + num(p.z) + ") turned " +
                num(label->rotation() * 180 / 3.14159265358979);
        } else if (auto* hatch = AcDbHatch::cast(e)) {
            text +=
                " " + standin::narrow(hatch->patternName()) + " " + num(hatch->patternAngle() * 180 / 3.14159265358979);
            for (int k = 0; k < hatch->numLoops(); ++k) {
                Adesk::Int32 type = 0;
                AcGePoint3dArray vertices;
                AcGeDoubleArray bulges;
                hatch->getLoopAt(k, type, vertices, bulges);
                text += " loop";
                for (int v = 0; v < vertices.length(); ++v)
                    text += " (" + num(vertices[v].x) + " " + num(vertices[v].y) + ")" +
                        (bulges.length() > v ? "b" + num(bulges[v]) : "");
            }
            AcDbVoidPtrArray pieces;
            text += hatch->explode(pieces) == Acad::eOk && pieces.length() > 0 ? " explodes" : " does not explode";
            for (void* piece : pieces)
                delete static_cast<AcDbEntity*>(piece);
        }
        return text;
    }

private:
    std::string path_ = std::string(std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "/tmp") +
        "/acdb_dxfin_" + std::to_string(::getpid()) + ".dxf";
};

// A record with a count that dxflib would size its buffers by, standing in a
// section that holds no entities: such files once took all memory or broke
// the host. Each file is also kept in the DXF fuzzer's regressions.
TEST_F(DxfInTest, EntityRecordsOutsideTheEntitySectionsAreRefusedWithTheirLine)
{
    struct Case {
        const char* section;
        const char* type;
        int code;
        const char* count;
    };
    const Case cases[] = {
        {"OBJECTS", "LWPOLYLINE", 90, "1073741824"},
        {"OBJECTS", "LWPOLYLINE", 90, "25000000"},
        {"THUMBNAILIMAGE", "LWPOLYLINE", 90, "1073741824"},
        {"HEADER", "LWPOLYLINE", 90, "1073741824"},
        {"TABLES", "LWPOLYLINE", 90, "1073741824"},
        {"CLASSES", "LWPOLYLINE", 90, "1073741824"},
        {"ACDSDATA", "LWPOLYLINE", 90, "1073741824"},
        {"OBJECTS", "LEADER", 76, "1073741824"},
        {"TABLES", "LEADER", 76, "1073741824"},
        {"HEADER", "LEADER", 76, "25000000"},
        {"OBJECTS", "SPLINE", 72, "1073741824"},
        {"OBJECTS", "SPLINE", 73, "1073741824"},
        {"THUMBNAILIMAGE", "SPLINE", 74, "1073741824"},
        {"OBJECTS", "HATCH", 91, "1073741824"},
        {"OBJECTS", "MTEXT", 71, "1073741824"},
    };
    const std::string before = describe();
    for (const Case& c : cases) {
        const std::string section = c.section;
        SCOPED_TRACE(section + " " + c.type + " " + std::to_string(c.code) + " " + c.count);
        // In TABLES the record stands inside a table, as a table's records do.
        const std::string table = section == "TABLES" ? "0\nTABLE\n2\nLAYER\n" : "";
        const std::string text = "0\nSECTION\n2\n" + section + "\n" + table + "0\n" + c.type + "\n8\n0\n" +
            std::to_string(c.code) + "\n" + c.count + "\n10\n0\n20\n0\n" + (table.empty() ? "" : "0\nENDTAB\n") +
            "0\nENDSEC\n0\nEOF\n";
        const size_t line = table.empty() ? 5 : 9;
        EXPECT_EQ(read(text),
                  L"line " + std::to_wstring(line) + L": an entity (" + standin::widen(c.type) + L") in the " +
                      standin::widen(section) + L" section");
        EXPECT_EQ(describe(), before);
    }
}

// Only the records of the layer and linetype tables make layers and linetypes:
// a LAYER record among the objects is no layer of the drawing.
TEST_F(DxfInTest, TableRecordsOutsideTheirTableAreNotRead)
{
    const std::string before = describe();
    EXPECT_EQ(read("0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nSTYLE\n0\nLAYER\n2\nInStyles\n62\n1\n0\nENDTAB\n"
                   "0\nENDSEC\n0\nSECTION\n2\nOBJECTS\n0\nLAYER\n2\nInObjects\n62\n1\n0\nLTYPE\n2\nDots\n"
                   "0\nENDSEC\n0\nEOF\n"),
              L"");
    EXPECT_EQ(describe(), before);
    EXPECT_EQ(read("0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nWalls\n62\n1\n0\nENDTAB\n"
                   "0\nENDSEC\n0\nEOF\n"),
              L"");
    EXPECT_NE(describe().find("Walls"), std::string::npos) << describe();
}

// A file of the source tree, by its path there.
std::string sourceFile(const std::string& path)
{
    const char* dir = std::getenv("KV_SOURCE_DIR");
    std::ifstream in(std::string(dir != nullptr ? dir : KV_ACDB_SOURCE_DIR) + "/" + path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A file that ezdxf wrote: a spline by its fit points, hatches bounded by a
// polyline path and by edge paths of lines and arcs (one arc a whole circle,
// one written clockwise from its other end).
TEST_F(DxfInTest, FitPointSplinesAndHatchesOfARealWriterRead)
{
    const std::string file = sourceFile("platform/acad/db/dxfin/tests/data/ezdxf-splines-hatches.dxf");
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(read(file), L"");
    const std::vector<std::string> expected = {
        "AcDbSpline fit (0 0) (1 1) (2 0) (3 1) from (0 0) to (3 1)",
        "AcDbHatch SOLID 0 loop (0 0)b0 (4 0)b0.5 (4 4)b0 (0 4)b0 explodes",
        "AcDbHatch ANSI31 30 loop (10 0)b0 (14 0)b0.4142 (16 2)b0.4142 (14 4)b0 (10 4)b0 explodes",
        "AcDbHatch SOLID 0 loop (21 0)b0.4142 (20 1)b0.4142 (19 0)b0.4142 (20 -1)b0.4142 explodes",
        "AcDbHatch SOLID 0 loop (30 0)b0 (30 2)b0.4142 (31 1)b0.4142 (32 2)b0 (32 0)b0 explodes",
    };
    EXPECT_EQ(entities(), expected);
}

// The DXF fuzzer's seed with records in every section (written by ezdxf, with
// a preview image and embedded object data added) reads whole.
TEST_F(DxfInTest, AFileWithEverySectionReadsWhole)
{
    const std::string file = sourceFile("fuzz/dxf/corpus/every-section.dxf");
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(read(file), L"");
    std::string types;
    for (const std::string& e : entities())
        types += e.substr(0, e.find(' ')) + " ";
    EXPECT_EQ(types,
              "AcDbBlockReference AcDbLine AcDbPoint AcDbFace AcDbPolyline AcDbArc AcDbEllipse AcDbSpline "
              "AcDbText AcDbHatch ");
    EXPECT_NE(describe().find("Walls"), std::string::npos);
    EXPECT_NE(describe().find("DASHED2"), std::string::npos);
    EXPECT_NE(describe().find("Door"), std::string::npos);
}

// SOLID and TEXT give their points in their own coordinates: a file that
// ezdxf wrote with normals other than +Z reads where ezdxf places them.
TEST_F(DxfInTest, SolidsAndTextsOfAnyNormalLandWhereTheWriterPlacedThem)
{
    const std::string file = sourceFile("platform/acad/db/dxfin/tests/data/ezdxf-object-coordinates.dxf");
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(read(file), L"");
    const std::vector<std::string> expected = {
        "AcDbSolid (0 0 -2) (-1 0 -2) (0 1 -2) (-1 1 -2)",
        "AcDbSolid (0.2084 1.623 3.365) (-1.913 3.744 3.365) (-1.016 0.3979 5.815) (-1.016 0.3979 5.815)",
        "AcDbText (-3 4 -2) turned 0",
        "AcDbText (-1.944 5.127 8.94) turned 30",
    };
    EXPECT_EQ(entities(), expected);
}

TEST_F(DxfInTest, WhatTheReaderDoesNotUseIsReadPast)
{
    // Embedded objects (group 101) of newer files.
    EXPECT_EQ(read("0\nSECTION\n2\nACDSDATA\n0\nACDSRECORD\n90\n0\n101\nEmbedded Object\n95\n0\n0\nENDSEC\n"
                   "0\nSECTION\n2\nENTITIES\n0\nLINE\n101\nEmbedded Object\n10\n0\n20\n0\n11\n1\n21\n1\n"
                   "0\nENDSEC\n0\nEOF\n"),
              L"");
    // A line across the whole range of numbers.
    EXPECT_EQ(read("0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n-1e308\n20\n-1e308\n11\n1e308\n21\n1e308\n"
                   "0\nENDSEC\n0\nEOF\n"),
              L"");
    EXPECT_EQ(entities(), (std::vector<std::string>{"AcDbLine", "AcDbLine"}));
}

TEST_F(DxfInTest, FilesThatWouldReadWrongAreRefusedWithTheLineAndWhy)
{
    const std::string entities = "0\nSECTION\n2\nENTITIES\n";
    const std::string end = "0\nENDSEC\n0\nEOF\n";
    const std::string block =
        "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nDoor\n10\n0\n20\n0\n0\nLINE\n10\n0\n20\n0\n11\n1\n21\n0\n"
        "0\nENDBLK\n";
    const std::string hatchHead = "0\nHATCH\n100\nAcDbHatch\n10\n0\n20\n0\n30\n0\n2\nSOLID\n70\n1\n91\n1\n92\n1\n";
    struct Case {
        const char* name;
        std::string text;
        const char* reason;
    };
    const Case cases[] = {
        {"a header variable in a line", entities + "0\nLINE\n10\n1\n20\n2\n9\n$X\n11\n3\n21\n4\n" + end,
         "line 11: group 9 (the name of a header variable) inside a record"},
        {"a header variable in a layer",
         "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nA\n9\n$X\n62\n1\n0\nENDTAB\n" + end,
         "line 13: group 9 (the name of a header variable) inside a record"},
        {"a layer of colour 0", "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nA\n62\n0\n0\nENDTAB\n" + end,
         "line 13: layer \"A\": a colour of 0, which no layer takes (1 to 255)"},
        {"a layer without colour", "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nA\n0\nENDTAB\n" + end,
         "line 9: LAYER: layer \"A\": no colour (group 62)"},
        {"a block defined twice", block + "0\nBLOCK\n2\nDOOR\n10\n0\n20\n0\n0\nENDBLK\n0\nENDSEC\n0\nEOF\n",
         "line 25: the block \"DOOR\" is defined twice"},
        {"model space inside itself", entities + "0\nINSERT\n2\n*Model_Space\n10\n0\n20\n0\n" + end,
         "line 5: INSERT: a reference to *Model_Space, which would show model space inside itself"},
        {"model space inside itself through a block",
         "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nAll\n10\n0\n20\n0\n0\nINSERT\n2\n*MODEL_SPACE\n10\n0\n20\n0\n0\nENDBLK\n"
         "0\nENDSEC\n" +
             entities + "0\nINSERT\n2\nAll\n10\n0\n20\n0\n" + end,
         "line 13: INSERT: a reference to *Model_Space, which would show model space inside itself"},
        {"a hatch edge of an ellipse",
         entities + hatchHead +
             "93\n1\n72\n3\n10\n0\n20\n0\n11\n1\n21\n0\n40\n0.5\n"
             "50\n0\n51\n360\n73\n1\n97\n0\n" +
             end,
         "line 25: HATCH: a boundary edge of type 3 (only lines and circular arcs are read)"},
        {"hatch edges that do not join",
         entities + hatchHead +
             "93\n3\n72\n1\n10\n0\n20\n0\n11\n1\n21\n0\n"
             "72\n1\n10\n1\n20\n0\n11\n1\n21\n1\n72\n1\n10\n5\n20\n5\n"
             "11\n0\n21\n0\n97\n0\n" +
             end,
         "line 45: HATCH: boundary edges that do not join"},
        {"an absurd hatch edge count", entities + hatchHead + "93\n1073741824\n72\n1\n" + end,
         "line 23: HATCH: a count of 1073741824 that the entity does not hold"},
        {"an absurd hatch path count",
         entities + "0\nHATCH\n100\nAcDbHatch\n2\nSOLID\n70\n1\n91\n1073741824\n92\n1\n" + end,
         "line 13: HATCH: a count of 1073741824 that the entity does not hold"},
        {"a hatch path of two vertices",
         entities + hatchHead.substr(0, hatchHead.size() - 2) +
             "3\n72\n0\n73\n1\n93\n2\n10\n0\n20\n0\n10\n1\n20\n0\n97\n0\n" + end,
         "line 5: HATCH: a boundary path of fewer than three vertices"},
        {"a reference to no block", entities + "0\nINSERT\n2\nNowhere\n10\n0\n20\n0\n" + end,
         "line 5: a reference to the block \"Nowhere\", which neither the file nor the drawing holds"},
        {"a block that shows itself",
         "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nLoop\n10\n0\n20\n0\n0\nINSERT\n2\nLoop\n10\n0\n20\n0\n0\nENDBLK\n" + end,
         "line 5: the block \"Loop\" holds a reference to itself"},
        {"an entity on a layer of a bad name", entities + "0\nPOINT\n8\na<b\n10\n0\n20\n0\n" + end,
         "line 5: a layer with the bad name \"a<b\""},
        {"an entity of a linetype that is nowhere", entities + "0\nPOINT\n6\nDots\n10\n0\n20\n0\n" + end,
         "line 5: the linetype \"Dots\" is not in the drawing"},
        {"a spline of one fit point",
         entities + "0\nSPLINE\n70\n0\n71\n3\n72\n0\n73\n0\n74\n1\n11\n0\n21\n0\n31\n0\n" + end,
         "line 5: SPLINE: fit points that give no spline (fewer than two distinct points)"},
        {"a spline's fit point count",
         entities + "0\nSPLINE\n70\n0\n71\n3\n74\n3\n11\n0\n21\n0\n31\n0\n11\n1\n21\n0\n31\n0\n" + end,
         "line 5: SPLINE: group 74 gives 3 fit points but the entity holds 2"},
    };
    const std::string before = describe();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(standin::narrow(read(c.text)), c.reason);
        EXPECT_EQ(describe(), before);
    }
}

// A file far larger than what dxflib is handed at a time, with the entities it
// reads among those read here: each lands in file order with its own
// coordinates and layer, and a fault in the last of them is still refused
// with its line and leaves the drawing as it was.
TEST_F(DxfInTest, ManyEntitiesOfBothReadersLandInFileOrder)
{
    std::string text = "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nEdges\n62\n3\n0\nENDTAB\n0\nENDSEC\n"
                       "0\nSECTION\n2\nENTITIES\n";
    std::vector<std::string> expected;
    const int n = 6000;
    for (int i = 0; i < n; ++i) {
        const std::string x = std::to_string(i), y = std::to_string(i % 7);
        switch (i % 4) {
        case 0:
            text += "0\nPOINT\n8\nEdges\n10\n" + x + "\n20\n" + y + "\n30\n1\n";
            expected.push_back("AcDbPoint Edges " + x + " " + y + " 1");
            break;
        case 1:
            text += "0\nLINE\n10\n" + x + "\n20\n" + y + "\n30\n0\n11\n" + x + "\n21\n-1\n31\n0\n";
            expected.push_back("AcDbLine 0 " + x + " " + y + " 0 to " + x + " -1 0");
            break;
        case 2:
            text += "0\nCIRCLE\n8\nEdges\n10\n" + x + "\n20\n" + y + "\n30\n0\n40\n2\n";
            expected.push_back("AcDbCircle Edges " + x + " " + y + " 0");
            break;
        default:
            text += "0\n3DFACE\n10\n" + x + "\n20\n" + y +
                "\n30\n0\n11\n1\n21\n0\n31\n0\n12\n1\n22\n1\n32\n0\n"
                "13\n0\n23\n1\n33\n2\n";
            expected.push_back("AcDbFace 0 " + x + " " + y + " 0 to 0 1 2");
            break;
        }
    }
    const std::string end = "0\nENDSEC\n0\nEOF\n";
    ASSERT_GT(text.size(), 4u * 64 * 1024);  // what dxflib reads spans several of its pieces

    const std::string before = describe();
    const size_t lastLine = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    EXPECT_EQ(standin::narrow(read(text + "0\nPOINT\n62\n300\n10\n0\n20\n0\n" + end)),
              "line " + std::to_string(lastLine) + ": a bad colour");
    EXPECT_EQ(describe(), before);

    ASSERT_EQ(read(text + end), L"");
    std::vector<std::string> found;
    standin::forEachSpaceEntity(db(), [&](AcDbObjectId id) {
        AcDbEntity* e = nullptr;
        if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk)
            return;
        auto at = [](const AcGePoint3d& p) {
            char buffer[96];
            std::snprintf(buffer, sizeof buffer, "%g %g %g", p.x, p.y, p.z);
            return std::string(buffer);
        };
        ACHAR* layer = e->layer();
        std::string d = standin::narrow(e->isA()->name()) + " " + standin::narrow(layer) + " ";
        acutDelString(layer);
        if (auto* point = AcDbPoint::cast(e)) {
            d += at(point->position());
        } else if (auto* line = AcDbLine::cast(e)) {
            d += at(line->startPoint()) + " to " + at(line->endPoint());
        } else if (auto* circle = AcDbCircle::cast(e)) {
            d += at(circle->center());
        } else if (auto* face = AcDbFace::cast(e)) {
            AcGePoint3d first, last;
            face->getVertexAt(0, first);
            face->getVertexAt(3, last);
            d += at(first) + " to " + at(last);
        }
        found.push_back(d);
        e->close();
    });
    EXPECT_EQ(found, expected);
}

}  // namespace
