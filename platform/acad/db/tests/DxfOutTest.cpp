// dxfOut: the written file is read back with ezdxf, audited, and compared.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "DbTest.h"
#include "DxfTestSupport.h"
#include "dbSubD.h"
#include "dbelipse.h"
#include "dbpl.h"
#include "dbspline.h"
#include "dbsol3d.h"
#include "standin/AcDbStandin.h"

namespace {

std::string sourceDir()
{
    const char* dir = std::getenv("KV_SOURCE_DIR");
    return dir != nullptr ? dir : KV_ACDB_SOURCE_DIR;
}

// Runs the checker on the file and returns its output lines.
std::vector<std::string> readBack(const std::string& path)
{
    std::string cmd = "/usr/bin/python3 " + sourceDir() + "/platform/acad/db/tests/dxf_check.py '" + path + "' 2>&1";
    std::vector<std::string> lines;
    FILE* pipe = popen(cmd.c_str(), "r");
    if (pipe == nullptr)
        return lines;
    char buf[4096];
    std::string current;
    while (std::fgets(buf, sizeof buf, pipe) != nullptr) {
        current += buf;
        if (!current.empty() && current.back() == '\n') {
            current.pop_back();
            lines.push_back(current);
            current.clear();
        }
    }
    if (!current.empty())
        lines.push_back(current);
    pclose(pipe);
    return lines;
}

std::vector<std::string> linesStartingWith(const std::vector<std::string>& lines, const std::string& prefix)
{
    std::vector<std::string> out;
    for (const std::string& l : lines)
        if (l.compare(0, prefix.size(), prefix) == 0)
            out.push_back(l);
    return out;
}

std::string tempPath(const char* name)
{
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp != nullptr ? tmp : "/tmp") + "/acdb_" + std::to_string(::getpid()) + "_" + name;
}

std::wstring wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

}  // namespace

class DxfOutTest : public DbTest {
protected:
    // Adds to the block table, open for write, a block of the name and
    // origin that holds one line from (0, 0, 0) to (1, 0, 0).
    static void addOneLineBlock(AcDbBlockTable* table, const ACHAR* name, const AcGePoint3d& origin,
                                AcDbObjectId& blockId)
    {
        auto* block = new AcDbBlockTableRecord();
        block->setName(name);
        block->setOrigin(origin);
        ASSERT_EQ(table->add(blockId, block), Acad::eOk);
        auto* inside = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
        ASSERT_EQ(block->appendAcDbEntity(inside), Acad::eOk);
        inside->close();
        block->close();
    }

    // Writes the drawing to the temporary file name and reads it back with
    // the checker into lines, whose first is the audit's, clean. The file is
    // removed, or left for the caller where keptPath receives its path.
    void writeAndReadBack(const char* name, std::vector<std::string>& lines, std::string* keptPath = nullptr)
    {
        const std::string path = tempPath(name);
        ASSERT_EQ(db()->dxfOut(wide(path).c_str()), Acad::eOk);
        lines = readBack(path);
        if (keptPath)
            *keptPath = path;
        else
            std::remove(path.c_str());
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0], "audit 0 0") << lines[0];
    }
};

TEST_F(DxfOutTest, EntitiesLayersAndColoursSurviveTheRoundTrip)
{
    addLayer(db(), L"Walls", aci(1));
    addLayer(db(), L"Frozen", aci(3), true, true, true);
    addLayer(db(), L"Stra\u00dfe \u03a9", aci(250));

    auto* face = new AcDbFace(AcGePoint3d(0, 0, 0), AcGePoint3d(1.5, 0, 0), AcGePoint3d(1.5, 2.25, 0.125),
                              AcGePoint3d(0, 2.25, -3));
    face->makeEdgeInvisibleAt(1);
    face->setLayer(L"Walls");
    append(face);

    auto* line = new AcDbLine(AcGePoint3d(0.1, 0.2, 0.3), AcGePoint3d(1e6 + 0.5, -2.0, 1.0 / 3.0));
    AcCmColor rgb;
    rgb.setRGB(10, 20, 30);
    line->setColor(rgb);
    append(line);

    auto* point = new AcDbPoint(AcGePoint3d(-5, 6, 7));
    point->setColorIndex(0);
    point->setLayer(L"Frozen");
    append(point);

    auto* mesh = new AcDbSubDMesh();
    AcGePoint3dArray v =
        arrayOf({AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(0, 1, 0.5)});
    AcArray<Adesk::Int32> f = arrayOf<Adesk::Int32>({3, 0, 1, 2, 4, 0, 1, 2, 3});
    ASSERT_EQ(mesh->setSubDMesh(v, f, 1), Acad::eOk);
    mesh->setColorIndex(5);
    append(mesh);

    auto* erased = new AcDbPoint(AcGePoint3d(99, 99, 99));
    AcDbObjectId erasedId = append(erased);
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, erasedId, AcDb::kForWrite), Acad::eOk);
    obj->erase();
    obj->close();

    std::vector<std::string> lines;
    ASSERT_NO_FATAL_FAILURE(writeAndReadBack("roundtrip.dxf", lines));

    std::vector<std::string> layers = linesStartingWith(lines, "layer ");
    std::vector<std::string> expectLayers = {
        "layer 0 7 -1 0 0 0 Continuous", "layer Walls 1 -1 0 0 0 Continuous", "layer Frozen 3 -1 1 1 1 Continuous",
        "layer Stra\xc3\x9f"
        "e \xce\xa9 250 -1 0 0 0 Continuous",  // UTF-8 as Python prints it
    };
    EXPECT_EQ(layers, expectLayers);

    std::vector<std::string> entities;
    for (const std::string& l : lines)
        if (l.compare(0, 6, "audit ") != 0 && l.compare(0, 6, "layer ") != 0)
            entities.push_back(l);
    std::vector<std::string> expect = {
        "3DFACE Walls 256 -1 0.0 0.0 0.0 1.5 0.0 0.0 1.5 2.25 0.125 0.0 2.25 -3.0 2",
        "LINE 0 " + std::to_string(AcCmEntityColor::lookUpACI(10, 20, 30)) + " " +
            std::to_string((10 << 16) | (20 << 8) | 30) + " 0.1 0.2 0.3 1000000.5 -2.0 0.3333333333333333",
        "POINT Frozen 0 -1 -5.0 6.0 7.0",
        "MESH 0 5 -1 1 4 0.0 0.0 0.0 1.0 0.0 0.0 1.0 1.0 0.0 0.0 1.0 0.5 2 3 0 1 2 4 0 1 2 3",
    };
    EXPECT_EQ(entities, expect);
}

TEST_F(DxfOutTest, AnEmptyDrawingIsAValidFile)
{
    std::vector<std::string> lines;
    ASSERT_NO_FATAL_FAILURE(writeAndReadBack("empty.dxf", lines));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "layer 0 7 -1 0 0 0 Continuous");
}

TEST_F(DxfOutTest, BadArgumentsAreRefused)
{
    EXPECT_EQ(db()->dxfOut(nullptr), Acad::eNullObjectPointer);
    EXPECT_EQ(db()->dxfOut(L""), Acad::eNoFileName);
    EXPECT_EQ(db()->dxfOut(L"/tmp/x.dxf", 17), Acad::eInvalidInput);
    EXPECT_EQ(db()->dxfOut(L"/nonexistent-folder/x.dxf"), Acad::eCantOpenFile);
}

namespace {

std::vector<std::string> tokens(const std::string& line)
{
    std::vector<std::string> out;
    std::istringstream in(line);
    std::string t;
    while (in >> t)
        out.push_back(t);
    return out;
}

// Compares the numbers of a checker line (after type, layer, colour and true
// colour) with the expected ones.
void expectNumbers(const std::string& line, const std::vector<double>& expect, double tol = 1e-9)
{
    std::vector<std::string> t = tokens(line);
    ASSERT_EQ(t.size(), expect.size() + 4) << line;
    for (size_t i = 0; i < expect.size(); ++i)
        EXPECT_NEAR(std::stod(t[i + 4]), expect[i], tol) << line << " (number " << i << ")";
}

void add(std::vector<double>& v, const AcGePoint3d& p)
{
    v.push_back(p.x);
    v.push_back(p.y);
    v.push_back(p.z);
}

void add(std::vector<double>& v, const AcGeVector3d& p)
{
    v.push_back(p.x);
    v.push_back(p.y);
    v.push_back(p.z);
}

}  // namespace

// Each curve entity is read back by ezdxf with the same geometry: its ends in
// world coordinates (through ezdxf's own object coordinate systems) agree
// with the stand-in's curve queries.
TEST_F(DxfOutTest, CurveEntitiesSurviveTheRoundTrip)
{
    const double pi = 3.14159265358979323846;
    const AcGeVector3d tilted = AcGeVector3d(0.3, -0.4, 0.866).normal();
    auto* circle = new AcDbCircle(AcGePoint3d(1, 2, 3), tilted, 2.5);
    auto* arc = new AcDbArc(AcGePoint3d(-1, 0, 2), AcGeVector3d(0, 0, -1), 1.5, pi / 6, 5 * pi / 3);
    auto* ellipse =
        new AcDbEllipse(AcGePoint3d(0, 1, 0), AcGeVector3d(0, 0, 1), AcGeVector3d(3, 3, 0), 0.4, pi / 4, 3 * pi / 2);
    AcGePoint3dArray ctrl =
        arrayOf({AcGePoint3d(0, 0, 0), AcGePoint3d(1, 2, 0), AcGePoint3d(3, 2, 1), AcGePoint3d(4, 0, 0)});
    AcGeDoubleArray knots = arrayOf({0.0, 0.0, 0.0, 0.0, 2.0, 2.0, 2.0, 2.0});
    AcGeDoubleArray weights = arrayOf({1.0, 2.0, 0.5, 1.0});
    auto* spline = new AcDbSpline(3, true, false, false, ctrl, knots, weights);
    auto* lw = new AcDbPolyline();
    lw->addVertexAt(0, AcGePoint2d(0, 0), 0.5);
    lw->addVertexAt(1, AcGePoint2d(2, 0));
    lw->addVertexAt(2, AcGePoint2d(2, 3), -1.0);
    lw->setClosed(true);
    lw->setNormal(AcGeVector3d(0, 1, 0));
    lw->setElevation(4.0);
    AcGePoint3dArray pts = arrayOf({AcGePoint3d(0, 0, 0), AcGePoint3d(5, 0, 0), AcGePoint3d(5, 5, 0)});
    AcGeDoubleArray bulges = arrayOf({1.0});
    auto* pl2 = new AcDb2dPolyline(AcDb::k2dSimplePoly, pts, 2.0, false, 0, 0, &bulges);
    auto* pl3 = new AcDb3dPolyline(AcDb::k3dSimplePoly, pts, true);
    auto* ray = new AcDbRay();
    ray->setBasePoint(AcGePoint3d(1, 2, 3));
    ray->setUnitDir(AcGeVector3d(0, 3, 4));
    auto* xline = new AcDbXline();
    xline->setBasePoint(AcGePoint3d(-1, -1, 0));
    xline->setUnitDir(AcGeVector3d(1, 1, 0));
    pl3->setColorIndex(3);

    std::vector<AcDbCurve*> curves = {circle, arc, ellipse, spline, lw, pl2, pl3, ray, xline};
    // What each line must hold, taken from the entities before they are closed.
    std::vector<std::vector<double>> expect(curves.size());
    add(expect[0], circle->center());
    expect[0].push_back(2.5);
    add(expect[0], tilted);
    add(expect[1], arc->center());
    expect[1].push_back(1.5);
    add(expect[1], AcGeVector3d(0, 0, -1));
    {
        AcGePoint3d s, e;
        arc->getStartPoint(s);
        arc->getEndPoint(e);
        add(expect[1], s);
        add(expect[1], e);
    }
    add(expect[2], ellipse->center());
    add(expect[2], ellipse->majorAxis());
    expect[2].push_back(0.4);
    add(expect[2], ellipse->normal());
    {
        AcGePoint3d s, e;
        ellipse->getStartPoint(s);
        ellipse->getEndPoint(e);
        add(expect[2], s);
        add(expect[2], e);
    }
    expect[3] = {3, 4, 4};
    for (const AcGePoint3d& p : ctrl)
        add(expect[3], p);
    expect[3].push_back(8);
    expect[3].insert(expect[3].end(), {0, 0, 0, 0, 2, 2, 2, 2});
    expect[3].push_back(4);
    expect[3].insert(expect[3].end(), {1, 2, 0.5, 1});
    expect[3].push_back(0);
    {
        AcGePoint3d mid;
        spline->getPointAtParam(2.0 * 0.37, mid);
        add(expect[3], mid);
    }
    expect[4] = {1, 3};
    for (unsigned int i = 0; i < 3; ++i) {
        double b = 0;
        AcGePoint3d w;
        lw->getBulgeAt(i, b);
        lw->getPointAt(i, w);
        expect[4].push_back(b);
        add(expect[4], w);
    }
    expect[5] = {0, 0, 3};
    for (int i = 0; i < 3; ++i) {
        expect[5].push_back(i == 0 ? 1.0 : 0.0);
        add(expect[5], AcGePoint3d(pts[i].x, pts[i].y, 2.0));
    }
    expect[6] = {1, 1, 3};
    for (int i = 0; i < 3; ++i) {
        expect[6].push_back(0.0);
        add(expect[6], pts[i]);
    }
    add(expect[7], AcGePoint3d(1, 2, 3));
    add(expect[7], AcGeVector3d(0, 0.6, 0.8));
    add(expect[8], AcGePoint3d(-1, -1, 0));
    add(expect[8], AcGeVector3d(1, 1, 0).normal());

    for (AcDbCurve* c : curves)
        append(c);

    std::vector<std::string> lines;
    ASSERT_NO_FATAL_FAILURE(writeAndReadBack("curves.dxf", lines));

    std::vector<std::string> entities;
    for (const std::string& l : lines)
        if (l.compare(0, 6, "audit ") != 0 && l.compare(0, 6, "layer ") != 0)
            entities.push_back(l);
    const char* types[] = {"CIRCLE", "ARC", "ELLIPSE", "SPLINE", "LWPOLYLINE", "POLYLINE", "POLYLINE", "RAY", "XLINE"};
    ASSERT_EQ(entities.size(), curves.size()) << (entities.empty() ? "" : entities.back());
    for (size_t i = 0; i < curves.size(); ++i) {
        EXPECT_EQ(tokens(entities[i])[0], types[i]) << entities[i];
        expectNumbers(entities[i], expect[i]);
    }
    EXPECT_EQ(tokens(entities[6])[2], "3");  // the polyline's colour, with its vertices
}

namespace {

// The ids of model space's entities, in order.
std::vector<AcDbObjectId> modelSpaceIds(AcDbDatabase* db)
{
    std::vector<AcDbObjectId> ids;
    AcDbBlockTable* table = nullptr;
    EXPECT_EQ(db->getBlockTable(table, AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecord* space = nullptr;
    EXPECT_EQ(table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForRead), Acad::eOk);
    table->close();
    AcDbBlockTableRecordIterator* it = nullptr;
    EXPECT_EQ(space->newIterator(it), Acad::eOk);
    for (; it != nullptr && !it->done(); it->step()) {
        AcDbObjectId id;
        it->getEntityId(id);
        ids.push_back(id);
    }
    delete it;
    space->close();
    return ids;
}

// A checker line "<word> <label> x y z" names the point.
void expectPointLine(const std::string& line, const AcGePoint3d& p)
{
    const std::vector<std::string> t = tokens(line);
    ASSERT_EQ(t.size(), 5u) << line;
    EXPECT_NEAR(std::stod(t[2]), p.x, 1e-9) << line;
    EXPECT_NEAR(std::stod(t[3]), p.y, 1e-9) << line;
    EXPECT_NEAR(std::stod(t[4]), p.z, 1e-9) << line;
}

}  // namespace

// A periodic spline is written as the ordinary B-spline it stands for, which
// other readers place where the drawing has it, and read back as one loop.
TEST_F(DxfOutTest, PeriodicSplinesRunTheSameLoopInOtherReaders)
{
    AcGePoint3dArray ctrl = arrayOf({AcGePoint3d(3, 0, 0), AcGePoint3d(0, 3, 1), AcGePoint3d(-3, 0, 0),
                                     AcGePoint3d(0, -3, -1), AcGePoint3d(2, -2, 0)});
    AcGeDoubleArray knots = arrayOf({1.0, 2.0, 2.5, 4.0, 5.0, 7.0});
    AcGeDoubleArray weights = arrayOf({1.0, 2.0, 1.0, 0.5, 1.0});
    auto* spline = new AcDbSpline(3, true, true, true, ctrl, knots, weights);
    ASSERT_FALSE(spline->isNull());
    std::vector<AcGePoint3d> along;
    for (int i = 0; i < 9; ++i) {
        AcGePoint3d p;
        EXPECT_EQ(spline->getPointAtParam(1.0 + 6.0 * i / 8, p), Acad::eOk);
        along.push_back(p);
    }
    append(spline);

    std::string path;
    std::vector<std::string> lines;
    ASSERT_NO_FATAL_FAILURE(writeAndReadBack("loop.dxf", lines, &path));
    const std::vector<std::string> loop = linesStartingWith(lines, "loop ");
    ASSERT_EQ(loop.size(), 9u);
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_NEAR(std::stod(tokens(loop[i])[1]), 1.0 + 6.0 * static_cast<double>(i) / 8, 1e-12) << loop[i];
        expectPointLine(loop[i], along[i]);
    }

    // Read back beside the spline it was written from: the second entity.
    std::wstring reason;
    ASSERT_EQ(standin::dxfIn(db(), wide(path), reason), Acad::eOk) << std::string(reason.begin(), reason.end());
    std::remove(path.c_str());
    const std::vector<AcDbObjectId> ids = modelSpaceIds(db());
    ASSERT_EQ(ids.size(), 2u);
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenObject(e, ids[1], AcDb::kForRead), Acad::eOk);
    const AcDbSpline* read = AcDbSpline::cast(e);
    ASSERT_NE(read, nullptr);
    const NurbsData data = nurbsDataOf(*read);
    EXPECT_EQ(data.degree, 3);
    EXPECT_TRUE(data.rational);
    EXPECT_TRUE(data.periodic);
    EXPECT_EQ(data.controls, ctrl);
    EXPECT_EQ(data.knots, knots);
    EXPECT_EQ(data.weights, weights);
    e->close();
}

// Block references of any normal, scale and rotation land where ezdxf puts
// them, and read back with the same placement.
TEST_F(DxfOutTest, BlockReferencesOfAnyNormalLandWhereOtherReadersPutThem)
{
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(db()->getBlockTable(table, AcDb::kForWrite), Acad::eOk);
    AcDbObjectId blockId;
    ASSERT_NO_FATAL_FAILURE(addOneLineBlock(table, L"Seat", AcGePoint3d(1, 2, 3), blockId));
    table->close();

    const struct {
        AcGePoint3d at;
        AcGeScale3d scale;
        double rotation;
        AcGeVector3d normal;
    } cases[] = {
        {AcGePoint3d(10, 20, 30), AcGeScale3d(1, 1, 1), 0.0, AcGeVector3d(0, 0, 1)},
        {AcGePoint3d(-4, 5, 6), AcGeScale3d(2, 0.5, 3), 0.7, AcGeVector3d(0, 0.6, 0.8)},
        {AcGePoint3d(1, 1, 1), AcGeScale3d(1.5, 1.5, -2), 2.0, AcGeVector3d(1, 0, 0)},
        {AcGePoint3d(0, -3, 2), AcGeScale3d(-1, 2, 1), 4.0, AcGeVector3d(0.01, 0.01, -1).normal()},
    };
    std::vector<AcGeMatrix3d> placed;
    for (const auto& c : cases) {
        auto* ref = new AcDbBlockReference(c.at, blockId);
        ASSERT_EQ(ref->setScaleFactors(c.scale), Acad::eOk);
        ASSERT_EQ(ref->setRotation(c.rotation), Acad::eOk);
        ASSERT_EQ(ref->setNormal(c.normal), Acad::eOk);
        placed.push_back(ref->blockTransform());
        append(ref);
    }

    std::string path;
    std::vector<std::string> lines;
    ASSERT_NO_FATAL_FAILURE(writeAndReadBack("inserts.dxf", lines, &path));
    const std::vector<std::string> place = linesStartingWith(lines, "place ");
    ASSERT_EQ(place.size(), 4 * placed.size());
    const AcGePoint3d blockPoints[] = {AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(0, 1, 0),
                                       AcGePoint3d(0, 0, 1)};
    for (size_t i = 0; i < place.size(); ++i) {
        AcGePoint3d expected = blockPoints[i % 4];
        expectPointLine(place[i], expected.transformBy(placed[i / 4]));
    }

    // Read back beside the references it was written from: the same
    // placements once more.
    std::wstring reason;
    ASSERT_EQ(standin::dxfIn(db(), wide(path), reason), Acad::eOk) << std::string(reason.begin(), reason.end());
    std::remove(path.c_str());
    std::vector<AcGeMatrix3d> read;
    for (const AcDbObjectId& id : modelSpaceIds(db())) {
        AcDbEntity* e = nullptr;
        ASSERT_EQ(acdbOpenObject(e, id, AcDb::kForRead), Acad::eOk);
        if (const AcDbBlockReference* ref = AcDbBlockReference::cast(e))
            read.push_back(ref->blockTransform());
        e->close();
    }
    ASSERT_EQ(read.size(), 2 * placed.size());
    AcGeTol tol;
    tol.setEqualVector(1e-9);
    for (size_t i = 0; i < placed.size(); ++i)
        EXPECT_TRUE(read[placed.size() + i].isEqualTo(placed[i], tol)) << i;
}

TEST_F(DxfOutTest, MeshesSolidsTextAndBlockReferencesAreWritten)
{
    // A polyface mesh: a quad and a triangle with an invisible edge.
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(db()->getBlockTable(table, AcDb::kForWrite), Acad::eOk);
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite), Acad::eOk);
    auto* pface = new AcDbPolyFaceMesh();
    ASSERT_EQ(space->appendAcDbEntity(pface), Acad::eOk);
    ASSERT_NO_FATAL_FAILURE(fillSamplePolyFace(pface));
    pface->close();

    // A block of one line, and a reference to it moved and turned.
    AcDbObjectId blockId;
    ASSERT_NO_FATAL_FAILURE(addOneLineBlock(table, L"Chair", AcGePoint3d::kOrigin, blockId));
    space->close();
    table->close();

    AcGePoint3dArray grid;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            grid.append(AcGePoint3d(c, r, 0.5));
    append(new AcDbPolygonMesh(AcDb::kSimpleMesh, 2, 2, grid, false, true));
    append(new AcDbSolid(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0), AcGePoint3d(0, 1, 0)));
    append(new AcDbText(AcGePoint3d(1, 2, 0), L"Hello", AcDbObjectId::kNull, 0.5, 0.0));
    auto* ref = new AcDbBlockReference(AcGePoint3d(10, 20, 0), blockId);
    AcGeMatrix3d turn;  // a quarter turn about Z at (10, 20, 0)
    turn.entry[0][0] = 0.0;
    turn.entry[0][1] = -1.0;
    turn.entry[1][0] = 1.0;
    turn.entry[1][1] = 0.0;
    turn.entry[0][3] = 10.0;
    turn.entry[1][3] = 20.0;
    ref->setBlockTransform(turn);
    append(ref);
    auto* solid = new AcDb3dSolid();
    solid->createBox(1, 1, 1);
    append(solid);

    std::vector<std::string> lines;
    ASSERT_NO_FATAL_FAILURE(writeAndReadBack("meshes.dxf", lines));
    std::vector<std::string> expect = {
        "POLYLINE 0 256 -1 64 5 0.0 0.0 0.0 1.0 0.0 0.0 1.0 1.0 0.0 0.0 1.0 0.0 2.0 0.0 1.0 2 1 2 3 4 2 -5 3 0",
        "POLYLINE 0 256 -1 48 2 2 0.0 0.0 0.5 1.0 0.0 0.5 0.0 1.0 0.5 1.0 1.0 0.5",
        "SOLID 0 256 -1 0.0 0.0 0.0 2.0 0.0 0.0 0.0 1.0 0.0 0.0 1.0 0.0",
        "TEXT 0 256 -1 1.0 2.0 0.0 0.5 0.0 Hello",
        "INSERT 0 256 -1 Chair 10.0 20.0 0.0 1.0 1.0 1.0 90.0",
        "3DSOLID 0 256 -1",
        "place Chair 10.0 20.0 0.0",
        "place Chair 10.0 21.0 0.0",
        "place Chair 9.0 20.0 0.0",
        "place Chair 10.0 20.0 1.0",
        "block Chair LINE",
    };
    std::vector<std::string> got(lines.begin() + 2, lines.end());
    EXPECT_EQ(got, expect);
}

// SOLID and TEXT are written in their own coordinates: another reader (ezdxf)
// places a solid and a text whose normal is not +Z where the drawing has them.
TEST_F(DxfOutTest, SolidsAndTextsOfAnyNormalLandWhereTheDrawingHasThem)
{
    auto* down =
        new AcDbSolid(AcGePoint3d(0, 0, -2), AcGePoint3d(-1, 0, -2), AcGePoint3d(0, 1, -2), AcGePoint3d(-1, 1, -2));
    down->setNormal(AcGeVector3d(0, 0, -1));
    append(down);
    const AcGeVector3d tilted = AcGeVector3d(1, 1, 1).normal();
    auto* text = new AcDbText(AcGePoint3d(-1.5, 5.25, 9), L"Tilted", AcDbObjectId::kNull, 1.0, 0.5);
    text->setNormal(tilted);
    append(text);

    std::vector<std::string> lines;
    ASSERT_NO_FATAL_FAILURE(writeAndReadBack("normals.dxf", lines));
    const std::vector<std::string> solids = linesStartingWith(lines, "SOLID");
    const std::vector<std::string> texts = linesStartingWith(lines, "TEXT");
    ASSERT_EQ(solids.size(), 1u);
    ASSERT_EQ(texts.size(), 1u);
    // Corners and position in world coordinates, to the precision written.
    std::istringstream solid(solids[0].substr(solids[0].find("-1 ") + 3));
    const double corners[4][3] = {{0, 0, -2}, {-1, 0, -2}, {0, 1, -2}, {-1, 1, -2}};
    for (const auto& corner : corners)
        for (double expected : corner) {
            double got = 0;
            solid >> got;
            EXPECT_NEAR(got, expected, 1e-9) << solids[0];
        }
    std::istringstream position(texts[0].substr(texts[0].find("-1 ") + 3));
    for (double expected : {-1.5, 5.25, 9.0}) {
        double got = 0;
        position >> got;
        EXPECT_NEAR(got, expected, 1e-9) << texts[0];
    }
}
