// The host's "_dxfin": what "_dxfout" writes reads back whole, on its layers
// with its colours; a file that cannot be read whole changes nothing.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include <cmath>

#include "acedads.h"
#include "dbSubD.h"
#include "dbelipse.h"
#include "dbpl.h"
#include "dbspline.h"

#include "DxfTestSupport.h"
#include "EditorTest.h"

namespace {

class DxfInTest : public EditorTest {
protected:
    void buildSampleDrawing();
    void addCurves();
    void addMeshesSolidAndText();
    void addBlocks();
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

// A number as written to DXF and read back: to nine decimals, no negative zero.
std::string num(double v)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.10g", std::round(v * 1e9) / 1e9 + 0.0);
    return buffer;
}

std::string near(const AcGePoint3d& p)
{
    return "(" + num(p.x) + " " + num(p.y) + " " + num(p.z) + ")";
}

std::string near(const AcGeVector3d& v)
{
    return near(AcGePoint3d(v.x, v.y, v.z));
}

// The geometry of the curve entities, to the precision DXF keeps.
std::string curveText(AcDbEntity* e)
{
    std::string text;
    if (auto* circle = AcDbCircle::cast(e)) {
        text = near(circle->center()) + " n" + near(circle->normal()) + " r " + num(circle->radius()) + " t " +
            num(circle->thickness());
    } else if (auto* arc = AcDbArc::cast(e)) {
        text = near(arc->center()) + " n" + near(arc->normal()) + " r " + num(arc->radius()) + " from " +
            num(arc->startAngle()) + " to " + num(arc->endAngle());
    } else if (auto* ellipse = AcDbEllipse::cast(e)) {
        text = near(ellipse->center()) + " n" + near(ellipse->normal()) + " major" + near(ellipse->majorAxis()) +
            " ratio " + num(ellipse->radiusRatio()) + " from " + num(ellipse->startAngle()) + " to " +
            num(ellipse->endAngle());
    } else if (auto* spline = AcDbSpline::cast(e)) {
        const NurbsData d = nurbsDataOf(*spline);
        text = "degree " + std::to_string(d.degree) + (d.rational ? " rational" : "") + (d.closed ? " closed" : "") +
            (d.periodic ? " periodic" : "");
        for (const AcGePoint3d& p : d.controls)
            text += " " + near(p);
        for (double k : d.knots)
            text += " k" + num(k);
        for (double w : d.weights)
            text += " w" + num(w);
    } else if (auto* pl = AcDbPolyline::cast(e)) {
        text = std::string(pl->isClosed() ? "closed" : "open") + " elevation " + num(pl->elevation()) + " n" +
            near(pl->normal()) + " t " + num(pl->thickness());
        for (unsigned int i = 0; i < pl->numVerts(); ++i) {
            AcGePoint2d p;
            double bulge = 0, sw = 0, ew = 0;
            pl->getPointAt(i, p);
            pl->getBulgeAt(i, bulge);
            pl->getWidthsAt(i, sw, ew);
            text += " (" + num(p.x) + " " + num(p.y) + ") b " + num(bulge) + " w " + num(sw) + " " + num(ew);
        }
    } else if (auto* pl2 = AcDb2dPolyline::cast(e)) {
        text = std::string(pl2->isClosed() ? "closed" : "open") + " elevation " + num(pl2->elevation()) + " n" +
            near(pl2->normal());
        AcDbObjectIterator* it = pl2->vertexIterator();
        for (; !it->done(); it->step()) {
            const auto* v = static_cast<const AcDb2dVertex*>(it->entity());
            // A 2D vertex has x and y; its height is the polyline's elevation.
            text += " (" + num(v->position().x) + " " + num(v->position().y) + ") b " + num(v->bulge()) + " w " +
                num(v->startWidth()) + " " + num(v->endWidth());
        }
        delete it;
    } else if (auto* pl3 = AcDb3dPolyline::cast(e)) {
        text = pl3->isClosed() ? "closed" : "open";
        AcDbObjectIterator* it = pl3->vertexIterator();
        for (; !it->done(); it->step())
            text += " " + near(static_cast<const AcDb3dPolylineVertex*>(it->entity())->position());
        delete it;
    } else if (auto* pface = AcDbPolyFaceMesh::cast(e)) {
        AcDbObjectIterator* it = pface->vertexIterator();
        for (; !it->done(); it->step()) {
            if (auto* v = AcDbPolyFaceMeshVertex::cast(it->entity())) {
                text += " " + near(v->position());
            } else if (auto* f = AcDbFaceRecord::cast(it->entity())) {
                text += " [";
                for (Adesk::UInt16 k = 0; k < 4; ++k) {
                    Adesk::Int16 index = 0;
                    f->getVertexAt(k, index);
                    text += " " + std::to_string(index);
                }
                text += " ]";
            }
        }
        delete it;
    } else if (auto* grid = AcDbPolygonMesh::cast(e)) {
        text = "type " + std::to_string(grid->polyMeshType()) + " " + std::to_string(grid->mSize()) + "x" +
            std::to_string(grid->nSize()) + (grid->isMClosed() ? " m-closed" : "") +
            (grid->isNClosed() ? " n-closed" : "");
        AcDbObjectIterator* it = grid->vertexIterator();
        for (; !it->done(); it->step())
            text += " " + near(static_cast<const AcDbPolygonMeshVertex*>(it->entity())->position());
        delete it;
    } else if (auto* solid = AcDbSolid::cast(e)) {
        for (Adesk::UInt16 k = 0; k < 4; ++k) {
            AcGePoint3d p;
            solid->getPointAt(k, p);
            text += near(p) + " ";
        }
        text += "t " + num(solid->thickness()) + " n" + near(solid->normal());
    } else if (auto* label = AcDbText::cast(e)) {
        text = "\"" + standin::narrow(label->textStringConst()) + "\" at " + near(label->position()) + " height " +
            num(label->height()) + " rotation " + num(label->rotation()) + " n" + near(label->normal());
    } else if (auto* ref = AcDbBlockReference::cast(e)) {
        AcDbBlockTableRecord* block = nullptr;
        if (acdbOpenObject(block, ref->blockTableRecord(), AcDb::kForRead) == Acad::eOk) {
            const ACHAR* name = nullptr;
            block->getName(name);
            text = "of " + standin::narrow(name);
            block->close();
        }
        const AcGeMatrix3d m = ref->blockTransform();
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c)
                text += " " + num(m.entry[r][c]);
    } else if (auto* ray = AcDbRay::cast(e)) {
        text = near(ray->basePoint()) + " along" + near(ray->unitDir());
    } else if (auto* xline = AcDbXline::cast(e)) {
        text = near(xline->basePoint()) + " along" + near(xline->unitDir());
    }
    return text;
}

// One entity as text: class, layer, colour and geometry.
std::string entityText(AcDbObjectId id)
{
    AcDbEntity* e = nullptr;
    if (acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk)
        return std::string("unreadable");
    ACHAR* layer = e->layer();
    std::string text =
        standin::narrow(e->isA()->name()) + " on " + standin::narrow(layer) + " " + colorText(e->color());
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
    } else {
        text += " " + curveText(e);
    }
    e->close();
    return text;
}

// Every layer, every entity of model space and every block, as text, in order.
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
    standin::forEachSpaceEntity(db, [&](AcDbObjectId id) { out.push_back(entityText(id)); });
    // The block definitions other than the spaces, with their entities.
    AcDbBlockTable* blocks = nullptr;
    EXPECT_EQ(db->getBlockTable(blocks, AcDb::kForRead), Acad::eOk);
    AcDbSymbolTableIterator* bit = nullptr;
    blocks->newIterator(bit);
    std::vector<AcDbObjectId> ids;
    for (; !bit->done(); bit->step()) {
        AcDbObjectId id;
        bit->getRecordId(id);
        ids.push_back(id);
    }
    delete bit;
    blocks->close();
    for (AcDbObjectId id : ids) {
        AcDbBlockTableRecord* block = nullptr;
        if (acdbOpenObject(block, id, AcDb::kForRead) != Acad::eOk)
            continue;
        const ACHAR* name = nullptr;
        block->getName(name);
        const std::string text = standin::narrow(name);
        std::vector<AcDbObjectId> inside;
        if (text[0] != '*') {
            out.push_back("block " + text + " at " + near(block->origin()));
            AcDbBlockTableRecordIterator* eit = nullptr;
            block->newIterator(eit);
            for (; !eit->done(); eit->step()) {
                AcDbObjectId entity;
                eit->getEntityId(entity);
                inside.push_back(entity);
            }
            delete eit;
        }
        block->close();
        for (AcDbObjectId entity : inside)
            out.push_back("  " + entityText(entity));
    }
    return out;
}

// A drawing of every entity class, on layers of their own, in every kind of colour.
void DxfInTest::buildSampleDrawing()
{
    addLayer(db(), L"Walls", aci(1));
    addLayer(db(), L"Gl\u00e4ser \u6771", aci(5), true, false, true);
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
    auto* face =
        new AcDbFace(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0.5), AcGePoint3d(0, 1, 0.5));
    face->makeEdgeInvisibleAt(1);
    face->makeEdgeInvisibleAt(3);
    face->setLayer(L"Gl\u00e4ser \u6771");
    face->setColor(aci(3));
    append(face);
    auto* mesh = new AcDbSubDMesh();
    AcGePoint3dArray vertices;
    for (int i = 0; i < 5; ++i)
        vertices.append(AcGePoint3d(i, i * i, 0.1 * i));
    AcArray<Adesk::Int32> faces = arrayOf<Adesk::Int32>({3, 0, 1, 2, 4, 1, 2, 3, 4});
    EXPECT_EQ(mesh->setSubDMesh(vertices, faces, 1), Acad::eOk);
    mesh->setColor(byBlock);
    append(mesh);
    addCurves();
    addMeshesSolidAndText();
    addBlocks();
}

// The curve entities, in planes of their own where they have one.
void DxfInTest::addCurves()
{
    const double pi = 3.14159265358979323846;
    const AcGeVector3d tilted = AcGeVector3d(0.3, -0.4, 0.866).normal();
    auto* circle = new AcDbCircle(AcGePoint3d(1, 2, 3), tilted, 2.5);
    circle->setThickness(0.75);
    circle->setLayer(L"Walls");
    append(circle);
    auto* arc = new AcDbArc(AcGePoint3d(-1, 0, 2), AcGeVector3d(0, 0, -1), 1.5, pi / 6, 5 * pi / 3);
    arc->setColor(aci(6));
    append(arc);
    append(
        new AcDbEllipse(AcGePoint3d(0, 1, 0), AcGeVector3d(0, 0, 1), AcGeVector3d(3, 3, 0), 0.4, pi / 4, 3 * pi / 2));
    append(new AcDbEllipse(AcGePoint3d(5, 5, 5), tilted, tilted.perpVector() * 2, 1.0));
    AcGePoint3dArray ctrl =
        arrayOf({AcGePoint3d(0, 0, 0), AcGePoint3d(1, 2, 0), AcGePoint3d(3, 2, 1), AcGePoint3d(4, 0, 0)});
    AcGeDoubleArray knots = arrayOf({0.0, 0.0, 0.0, 0.0, 2.0, 2.0, 2.0, 2.0});
    AcGeDoubleArray weights = arrayOf({1.0, 2.0, 0.5, 1.0});
    AcGeDoubleArray none;
    append(new AcDbSpline(3, true, false, false, ctrl, knots, weights));
    AcGeDoubleArray knots2 = arrayOf({0.0, 0.0, 0.0, 1.0, 3.0, 3.0, 3.0});
    append(new AcDbSpline(2, false, false, false, ctrl, knots2, none));
    auto* lw = new AcDbPolyline();
    lw->addVertexAt(0, AcGePoint2d(0, 0), 0.5, 0.1, 0.2);
    lw->addVertexAt(1, AcGePoint2d(2, 0), 0.0, 0.3, 0.0);
    lw->addVertexAt(2, AcGePoint2d(2, 3), -1.0, 0.0, 0.0);
    lw->setClosed(true);
    lw->setNormal(AcGeVector3d(0, 1, 0));
    lw->setElevation(4.0);
    append(lw);
    auto* wide = new AcDbPolyline();
    wide->addVertexAt(0, AcGePoint2d(-1, -1));
    wide->addVertexAt(1, AcGePoint2d(1, 1));
    wide->setConstantWidth(0.25);
    wide->setThickness(2.0);
    append(wide);
    AcGePoint3dArray pts = arrayOf({AcGePoint3d(0, 0, 0), AcGePoint3d(5, 0, 0), AcGePoint3d(5, 5, 0)});
    AcGeDoubleArray bulges = arrayOf({1.0, 0.0, -0.25});
    auto* pl2 = new AcDb2dPolyline(AcDb::k2dSimplePoly, pts, 2.0, true, 0, 0, &bulges);
    pl2->setNormal(tilted);
    append(pl2);
    AcGePoint3dArray pts3 = arrayOf({AcGePoint3d(0, 0, 0), AcGePoint3d(5, 0, 1), AcGePoint3d(5, 5, -2.5)});
    auto* pl3 = new AcDb3dPolyline(AcDb::k3dSimplePoly, pts3, true);
    pl3->setColorIndex(3);
    append(pl3);
    auto* ray = new AcDbRay();
    ray->setBasePoint(AcGePoint3d(1, 2, 3));
    ray->setUnitDir(AcGeVector3d(0, 3, 4));
    append(ray);
    auto* xline = new AcDbXline();
    xline->setBasePoint(AcGePoint3d(-1, -1, 0));
    xline->setUnitDir(AcGeVector3d(1, 1, 0));
    append(xline);
}

// The polyface and polygon meshes, a 2D solid and a text.
void DxfInTest::addMeshesSolidAndText()
{
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(db()->getBlockTable(table, AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite), Acad::eOk);
    table->close();
    auto* pface = new AcDbPolyFaceMesh();
    pface->setLayer(L"Walls");
    pface->setColorIndex(4);
    ASSERT_EQ(space->appendAcDbEntity(pface), Acad::eOk);
    space->close();
    ASSERT_NO_FATAL_FAILURE(fillSamplePolyFace(pface));
    pface->close();
    AcGePoint3dArray grid;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            grid.append(AcGePoint3d(c, r, 0.5 * c));
    append(new AcDbPolygonMesh(AcDb::kCubicSurfaceMesh, 2, 3, grid, false, true));
    append(new AcDbSolid(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0), AcGePoint3d(0, 1, 0)));
    auto* quad = new AcDbSolid(AcGePoint3d(0, 0, 1), AcGePoint3d(2, 0, 1), AcGePoint3d(0, 1, 1), AcGePoint3d(2, 2, 1));
    quad->setThickness(0.5);
    append(quad);
    auto* text = new AcDbText(AcGePoint3d(1, 2, 0), L"  Hello, T\u00fcr ", AcDbObjectId::kNull, 0.5, 0.75);
    text->setColorIndex(2);
    append(text);
}

// A block of its own origin holding a circle and a reference to a second
// block; references to it moved, turned, scaled and mirrored.
void DxfInTest::addBlocks()
{
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(db()->getBlockTable(table, AcDb::kForWrite), Acad::eOk);
    auto* leg = new AcDbBlockTableRecord();
    leg->setName(L"Leg");
    AcDbObjectId legId, chairId;
    ASSERT_EQ(table->add(legId, leg), Acad::eOk);
    auto* inside = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(0, 0, -1));
    inside->setLayer(L"Walls");
    ASSERT_EQ(leg->appendAcDbEntity(inside), Acad::eOk);
    inside->close();
    leg->close();
    auto* chair = new AcDbBlockTableRecord();
    chair->setName(L"Chair");
    chair->setOrigin(AcGePoint3d(1, 0, 0));
    ASSERT_EQ(table->add(chairId, chair), Acad::eOk);
    auto* seat = new AcDbCircle(AcGePoint3d(1, 1, 0), AcGeVector3d::kZAxis, 0.5);
    ASSERT_EQ(chair->appendAcDbEntity(seat), Acad::eOk);
    seat->close();
    auto* legRef = new AcDbBlockReference(AcGePoint3d(1, 1, 0), legId);
    ASSERT_EQ(chair->appendAcDbEntity(legRef), Acad::eOk);
    legRef->close();
    chair->close();
    table->close();

    auto* turned = new AcDbBlockReference(AcGePoint3d::kOrigin, chairId);
    AcGeMatrix3d m;  // a quarter turn about Z, scaled by 2 and 3, moved to (10, 20, 0)
    m.entry[0][0] = 0.0;
    m.entry[0][1] = -3.0;
    m.entry[1][0] = 2.0;
    m.entry[1][1] = 0.0;
    m.entry[0][3] = 10.0;
    m.entry[1][3] = 20.0;
    EXPECT_EQ(turned->setBlockTransform(m), Acad::eOk);
    turned->setColorIndex(5);
    append(turned);
    auto* mirrored = new AcDbBlockReference(AcGePoint3d::kOrigin, chairId);
    AcGeMatrix3d flip;  // mirrored in the XY plane
    flip.entry[2][2] = -1.0;
    flip.entry[2][3] = 4.0;
    EXPECT_EQ(mirrored->setBlockTransform(flip), Acad::eOk);
    append(mirrored);
}

TEST_F(DxfInTest, WhatDxfOutWritesReadsBackWhole)
{
    buildSampleDrawing();
    const std::vector<std::string> before = describeDrawing(db());
    ASSERT_EQ(before.size(), 3u + 23u + 5u) << "layers 0, Walls, the other; 23 entities; two blocks of three";
    const std::wstring written = standin::widen(path("sample.dxf"));
    ASSERT_EQ(acedCommand(RTSTR, L"_dxfout", RTSTR, written.c_str(), RTNONE), RTNORM);

    freshDrawing();
    EXPECT_EQ(acedCommand(RTSTR, L"_dxfin", RTSTR, written.c_str(), RTNONE), RTNORM)
        << standin::narrow(standin::editor::commandLineText());
    EXPECT_EQ(describeDrawing(db()), before);

    // Read into a drawing that has entities already: they are added, and a
    // layer that exists keeps its own colour.
    freshDrawing();
    addLayer(db(), L"Walls", aci(2));
    addLine(5, 5, 6, 6);
    EXPECT_EQ(acedCommand(RTSTR, L"_dxfin", RTSTR, written.c_str(), RTNONE), RTNORM);
    const std::vector<std::string> merged = describeDrawing(db());
    EXPECT_EQ(standin::modelSpaceEntityCount(db()), 24);
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
    AcGePoint3dArray vertices = arrayOf({AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(0, 1, 0)});
    AcArray<Adesk::Int32> faces = arrayOf<Adesk::Int32>({3, 0, 1, 2});
    mesh->setSubDMesh(vertices, faces, 0);
    append(mesh);
    append(new AcDbCircle(AcGePoint3d(4, 4, 0), AcGeVector3d::kZAxis, 0.625));
    AcGePoint3dArray ctrl;
    for (int i = 0; i < 4; ++i)
        ctrl.append(AcGePoint3d(i, i % 2, 0));
    AcGeDoubleArray knots, weights;
    for (double k : {0.0, 0.0, 0.0, 0.0, 1.0, 1.0, 1.0, 1.0})
        knots.append(k);
    append(new AcDbSpline(3, false, false, false, ctrl, knots, weights));
    auto* lw = new AcDbPolyline();
    lw->addVertexAt(0, AcGePoint2d(0, 0));
    lw->addVertexAt(1, AcGePoint2d(3, 1.5), 0.5);
    append(lw);
    AcGePoint3dArray pts = arrayOf({AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0)});
    append(new AcDb2dPolyline(AcDb::k2dSimplePoly, pts));
    AcGePoint3dArray grid;
    for (int i = 0; i < 4; ++i)
        grid.append(AcGePoint3d(i % 2, i / 2, 0.25));
    append(new AcDbPolygonMesh(AcDb::kSimpleMesh, 2, 2, grid, false, false));
    append(new AcDbText(AcGePoint3d(0, 0, 0), L"Label", AcDbObjectId::kNull, 0.375));
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

// A polyface mesh of three vertices (0 0 0), (1 0 0), (0 1 0) and one face,
// with the counts and corners given, closed by the end of the file.
std::string polyFace(long long vertexCount, long long faceCount, const char* a, const char* b, const char* c)
{
    std::string text = "  0\nPOLYLINE\n 66\n1\n 70\n64\n 71\n" + std::to_string(vertexCount) + "\n 72\n" +
        std::to_string(faceCount) + "\n";
    for (const char* p : {" 10\n0\n 20\n0\n 30\n0\n", " 10\n1\n 20\n0\n 30\n0\n", " 10\n0\n 20\n1\n 30\n0\n"})
        text += std::string("  0\nVERTEX\n") + p + " 70\n192\n";
    text +=
        std::string("  0\nVERTEX\n 10\n0\n 20\n0\n 30\n0\n 70\n128\n 71\n") + a + "\n 72\n" + b + "\n 73\n" + c + "\n";
    return text + "  0\nSEQEND\n  0\nENDSEC\n  0\nEOF\n";
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
        {"integer out of range", replaced(good, "\n 62\n", "\n 62\n99999999999")},
        {"group code out of range", replaced(good, line, "\n 5000\n1.0\n 21\n1.0\n")},
        {"a line too long", replaced(good, line, "\n 11\n1." + std::string(5000, '0') + "\n 21\n1.0\n")},
        {"NUL byte", replaced(good, "LINE", std::string("LI\0E", 4))},
        {"unknown entity", replaced(good, "\n  0\nLINE\n", "\n  0\nMTEXT\n")},
        {"entity in a block", replaced(good, "ENDBLK", "LINE\n  8\n0\n  0\nENDBLK")},
        {"section in a section", replaced(good, "ENTITIES\n", "ENTITIES\n  0\nSECTION\n  2\nENTITIES\n")},
        {"absurd mesh count", replaced(good, "\n 92\n3\n", "\n 92\n2000000000\n")},
        {"mesh index outside", replaced(good, "\n 90\n2\n", "\n 90\n7\n")},
        {"mesh face list count", replaced(good, "\n 93\n4\n", "\n 93\n400000000\n")},
        {"colour out of range", replaced(good, "\n 62\n256\n", "\n 62\n999\n")},
        {"bad layer name", head + "  0\nPOINT\n  8\na<b\n 10\n0\n 20\n0\n 30\n0\n  0\nENDSEC\n  0\nEOF\n"},
        {"bad face flags", replaced(good, "3DFACE\n", "3DFACE\n 70\n99\n")},
        {"last entity truncated", head + "  0\nLINE\n 10\n"},
        {"NaN circle radius", replaced(good, "\n 40\n0.625\n", "\n 40\nnan\n")},
        {"zero circle radius", replaced(good, "\n 40\n0.625\n", "\n 40\n0.0\n")},
        {"circle without radius", replaced(good, "\n 40\n0.625\n", "\n")},
        {"spline knot count", replaced(good, "\n 72\n8\n", "\n 72\n9\n")},
        {"absurd spline knot count", replaced(good, "\n 72\n8\n", "\n 72\n2000000000\n")},
        {"spline knots decreasing",
         replaced(good, "\n 40\n1.0\n 40\n1.0\n 40\n1.0\n 40\n1.0\n", "\n 40\n1.0\n 40\n1.0\n 40\n1.0\n 40\n0.5\n")},
        {"absurd LWPOLYLINE count", replaced(good, "AcDbPolyline\n 90\n2\n", "AcDbPolyline\n 90\n2000000000\n")},
        {"LWPOLYLINE vertex without y", replaced(good, "\n 10\n3.0\n 20\n1.5\n", "\n 10\n3.0\n")},
        {"VERTEX without POLYLINE", head + "  0\nVERTEX\n 10\n0\n 20\n0\n  0\nENDSEC\n  0\nEOF\n"},
        {"POLYLINE without SEQEND", replaced(good, "\n  0\nSEQEND\n", "\n  0\nLINE\n")},
        {"polygon mesh size beyond its vertices",
         replaced(good, "AcDbPolygonMesh\n 66\n1\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 70\n16\n 71\n2\n",
                  "AcDbPolygonMesh\n 66\n1\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 70\n16\n 71\n30000\n")},
        {"polyface vertex count beyond its vertices", head + polyFace(2000000000, 1, "1", "2", "3")},
        {"polyface face corner outside", head + polyFace(3, 1, "1", "2", "4")},
        {"polyface faces fewer than counted", head + polyFace(3, 2, "1", "2", "3")},
        {"reference to a missing block",
         head + "  0\nINSERT\n  2\nNowhere\n 10\n0\n 20\n0\n 30\n0\n  0\nENDSEC\n  0\nEOF\n"},
        {"block that shows itself",
         replaced(good, "  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n",
                  "  0\nBLOCK\n  2\nLoop\n 10\n0\n 20\n0\n 30\n0\n  0\nINSERT\n  2\nLoop\n"
                  " 10\n0\n 20\n0\n 30\n0\n  0\nENDBLK\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n")},
        {"reference of scale zero",
         head + "  0\nINSERT\n  2\n*Model_Space\n 10\n0\n 20\n0\n 30\n0\n 41\n0\n  0\nENDSEC\n  0\nEOF\n"},
        {"text without height", replaced(good, "\n 40\n0.375\n", "\n")},
        {"solid without a corner", head + "  0\nSOLID\n 10\n0\n 20\n0\n 11\n1\n 21\n0\n  0\nENDSEC\n  0\nEOF\n"},
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
    EXPECT_EQ(standin::modelSpaceEntityCount(db()), 18);
    // A polyface mesh alone reads: its vertices and face follow it in.
    const std::wstring alone =
        standin::widen(file("pface.dxf", good.substr(0, good.find("ENTITIES") + 9) + polyFace(3, 1, "1", "-2", "3")));
    EXPECT_EQ(acedCommand(RTSTR, L"_dxfin", RTSTR, alone.c_str(), RTNONE), RTNORM)
        << standin::narrow(standin::editor::commandLineText());
    EXPECT_EQ(standin::modelSpaceEntityCount(db()), 19);
    EXPECT_NE(describeDrawing(db()).back().find("(0 1 0) [ 1 -2 3 0 ]"), std::string::npos)
        << describeDrawing(db()).back();
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

    // A drawing wider than the largest number still gives a finite view.
    addLine(-1e308, -1e308, 1e308, 1e308);
    EXPECT_EQ(acedCommand(RTSTR, L"_zoom", RTSTR, L"_extents", RTNONE), RTNORM);
    v = standin::editor::currentView();
    EXPECT_TRUE(std::isfinite(v.width) && std::isfinite(v.height) && v.width > 1e308) << v.width << " " << v.height;
    EXPECT_TRUE(std::isfinite(v.center[0]) && std::isfinite(v.center[1]));
    EXPECT_DOUBLE_EQ(v.center[0], 0.0);
}

}  // namespace
