// dxfIn on files that are not what they claim: each is refused with the line
// and what is wrong there, and the drawing stays as it was.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "DbTest.h"
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
                                 std::to_string(c.code) + "\n" + c.count + "\n10\n0\n20\n0\n" +
                                 (table.empty() ? "" : "0\nENDTAB\n") + "0\nENDSEC\n0\nEOF\n";
        const size_t line = table.empty() ? 5 : 9;
        EXPECT_EQ(read(text), L"line " + std::to_wstring(line) + L": an entity (" + standin::widen(c.type) +
                                  L") in the " + standin::widen(section) + L" section");
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

}  // namespace
