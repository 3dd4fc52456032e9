// Explode of the compound entities: 3D solids, bodies, regions, multilines
// and hatches give new entities of no database.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "DbTest.h"
#include "dbbody.h"
#include "dbhatch.h"
#include "dbmline.h"
#include "dbregion.h"
#include "dbsol3d.h"

namespace {

// Takes the pieces out of the array: their class names, and the entities for
// further checks. Every piece must belong to no database.
struct Pieces {
    std::vector<std::unique_ptr<AcDbEntity>> items;
    std::vector<std::wstring> names() const
    {
        std::vector<std::wstring> out;
        for (const auto& e : items)
            out.push_back(e->isA()->name());
        return out;
    }
    explicit Pieces(AcDbVoidPtrArray& array)
    {
        for (void* p : array) {
            items.emplace_back(static_cast<AcDbEntity*>(p));
            EXPECT_EQ(items.back()->database(), nullptr);
        }
    }
};

const AcDbLine* lineAt(const Pieces& p, size_t i)
{
    return AcDbLine::cast(p.items[i].get());
}

}  // namespace

TEST_F(DbTest, SolidExplodesIntoRegionsAndBodiesAndThoseIntoCurves)
{
    AcDb3dSolid box;
    AcDbVoidPtrArray none;
    EXPECT_EQ(box.explode(none), Acad::eNotApplicable);  // no shape yet
    EXPECT_EQ(none.length(), 0);
    EXPECT_EQ(box.createBox(2, 4, 6), Acad::eOk);
    EXPECT_EQ(box.createBox(0, 1, 1), Acad::eInvalidInput);
    AcDbVoidPtrArray a;
    ASSERT_EQ(box.explode(a), Acad::eOk);
    Pieces faces(a);
    ASSERT_EQ(faces.names(), std::vector<std::wstring>(6, L"AcDbRegion"));
    double total = 0.0;
    for (const auto& e : faces.items) {
        double area = 0.0;
        ASSERT_EQ(AcDbRegion::cast(e.get())->getArea(area), Acad::eOk);
        total += area;
    }
    EXPECT_NEAR(total, 2 * (2 * 4 + 2 * 6 + 4 * 6), 1e-9);
    AcDbVoidPtrArray b;
    ASSERT_EQ(faces.items[0]->explode(b), Acad::eOk);
    Pieces edges(b);
    ASSERT_EQ(edges.names(), std::vector<std::wstring>(4, L"AcDbLine"));
    for (size_t i = 0; i < 4; ++i)  // the loop runs end to end
        EXPECT_EQ(lineAt(edges, i)->endPoint(), lineAt(edges, (i + 1) % 4)->startPoint());

    AcDb3dSolid cylinder;
    ASSERT_EQ(cylinder.setStandinModel(standin::cylinderModel(AcGePoint3d(0, 0, 0), 1.0, 2.0)), Acad::eOk);
    AcDbVoidPtrArray c;
    ASSERT_EQ(cylinder.explode(c), Acad::eOk);
    Pieces parts(c);
    EXPECT_EQ(parts.names(), (std::vector<std::wstring>{L"AcDbRegion", L"AcDbRegion", L"AcDbBody"}));
    // A body of one face gives its loop's curves.
    AcDbVoidPtrArray d;
    ASSERT_EQ(parts.items[2]->explode(d), Acad::eOk);
    EXPECT_EQ(Pieces(d).names(), (std::vector<std::wstring>{L"AcDbCircle", L"AcDbLine", L"AcDbCircle"}));
    // A region with a half-turn arc edge gives an arc from its start to its end.
    standin::ShapeModel half;
    half.faces.emplace_back();
    const double pi = 4.0 * std::atan(1.0);
    half.faces[0].loops.push_back(
        standin::ModelLoop{{standin::ModelEdge::arc(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), 2.0, 0.0, pi),
                            standin::ModelEdge::line(AcGePoint3d(-2, 0, 0), AcGePoint3d(2, 0, 0))}});
    AcDbRegion region;
    ASSERT_EQ(region.setStandinModel(half), Acad::eOk);
    AcDbVoidPtrArray e;
    ASSERT_EQ(region.explode(e), Acad::eOk);
    Pieces curves(e);
    ASSERT_EQ(curves.names(), (std::vector<std::wstring>{L"AcDbArc", L"AcDbLine"}));
    AcGePoint3d s0, s1;
    AcDbArc::cast(curves.items[0].get())->getStartPoint(s0);
    AcDbArc::cast(curves.items[0].get())->getEndPoint(s1);
    AcGeTol loose;
    loose.setEqualPoint(1e-9);
    EXPECT_TRUE(s0.isEqualTo(AcGePoint3d(2, 0, 0), loose));
    EXPECT_TRUE(s1.isEqualTo(lineAt(curves, 1)->startPoint(), loose));
}

TEST_F(DbTest, MalformedShapesAreRefused)
{
    standin::ShapeModel noLoop;
    noLoop.faces.emplace_back();
    standin::ShapeModel badArc = standin::cylinderModel(AcGePoint3d(), 1.0, 1.0);
    badArc.faces[0].loops[0].edges[0].radius = 0.0;
    AcDbBody body;
    EXPECT_EQ(body.setStandinModel(noLoop), Acad::eInvalidInput);
    EXPECT_EQ(body.setStandinModel(badArc), Acad::eInvalidInput);
    EXPECT_TRUE(body.isNull());
    AcDbRegion region;
    // A region holds one planar face.
    EXPECT_EQ(region.setStandinModel(standin::boxModel(AcGePoint3d(), AcGePoint3d(1, 1, 1))), Acad::eInvalidInput);
    EXPECT_TRUE(region.isNull());
    AcDbVoidPtrArray a;
    EXPECT_EQ(region.explode(a), Acad::eNotApplicable);
    EXPECT_EQ(body.explode(a), Acad::eNotApplicable);
}

TEST_F(DbTest, RegionFromClosedLines)
{
    std::vector<AcDbLine*> lines{new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(3, 0, 0)),
                                 new AcDbLine(AcGePoint3d(0, 2, 0), AcGePoint3d(3, 2, 0)),  // reversed
                                 new AcDbLine(AcGePoint3d(3, 0, 0), AcGePoint3d(3, 2, 0)),
                                 new AcDbLine(AcGePoint3d(0, 2, 0), AcGePoint3d(0, 0, 0))};
    AcDbVoidPtrArray curves, regions;
    for (AcDbLine* l : lines)
        curves.append(l);
    ASSERT_EQ(AcDbRegion::createFromCurves(curves, regions), Acad::eOk);
    Pieces made(regions);
    ASSERT_EQ(made.items.size(), 1u);
    double area = 0.0;
    AcDbRegion::cast(made.items[0].get())->getArea(area);
    EXPECT_NEAR(area, 6.0, 1e-12);
    // An open chain makes nothing.
    curves.removeAt(3);
    AcDbVoidPtrArray none;
    EXPECT_EQ(AcDbRegion::createFromCurves(curves, none), Acad::eInvalidInput);
    EXPECT_EQ(none.length(), 0);
    for (AcDbLine* l : lines)
        delete l;
}

TEST_F(DbTest, MultilineExplodesIntoMitredElementLines)
{
    AcDbMline ml;
    AcDbVoidPtrArray a;
    EXPECT_EQ(ml.explode(a), Acad::eNotApplicable);
    ml.setJustification(Mline::kZero);
    ml.setScale(2.0);
    ml.appendSeg(AcGePoint3d(0, 0, 0));
    ml.appendSeg(AcGePoint3d(10, 0, 0));
    ml.appendSeg(AcGePoint3d(10, 10, 0));
    ASSERT_EQ(ml.explode(a), Acad::eOk);
    Pieces p(a);
    ASSERT_EQ(p.names(), std::vector<std::wstring>(4, L"AcDbLine"));
    // The left element (+1) turns inside the corner, the right one (-1) outside.
    EXPECT_EQ(lineAt(p, 0)->startPoint(), AcGePoint3d(0, 1, 0));
    EXPECT_EQ(lineAt(p, 0)->endPoint(), AcGePoint3d(9, 1, 0));
    EXPECT_EQ(lineAt(p, 1)->endPoint(), AcGePoint3d(9, 10, 0));
    EXPECT_EQ(lineAt(p, 2)->endPoint(), AcGePoint3d(11, -1, 0));
    EXPECT_EQ(lineAt(p, 3)->endPoint(), AcGePoint3d(11, 10, 0));

    // Top justification puts the first element on the path.
    AcDbMline top;
    top.appendSeg(AcGePoint3d(0, 0, 0));
    top.appendSeg(AcGePoint3d(5, 0, 0));
    top.setClosedMline(false);
    AcDbVoidPtrArray b;
    ASSERT_EQ(top.explode(b), Acad::eOk);
    Pieces q(b);
    ASSERT_EQ(q.items.size(), 2u);
    EXPECT_EQ(lineAt(q, 0)->startPoint(), AcGePoint3d(0, 0, 0));
    EXPECT_EQ(lineAt(q, 1)->startPoint(), AcGePoint3d(0, -1, 0));
}

TEST_F(DbTest, HatchExplodesIntoClippedPatternLines)
{
    AcDbHatch hatch;
    AcDbVoidPtrArray a;
    EXPECT_EQ(hatch.explode(a), Acad::eNotApplicable);  // no loops
    AcGePoint3dArray outer, hole;
    for (auto xy : {std::pair<double, double>{0, 0}, {10, 0}, {10, 10}, {0, 10}})
        outer.append(AcGePoint3d(xy.first, xy.second, 0));
    for (auto xy : {std::pair<double, double>{4, 4}, {6, 4}, {6, 6}, {4, 6}})
        hole.append(AcGePoint3d(xy.first, xy.second, 0));
    AcGeDoubleArray noBulges, oneBulge;
    oneBulge.append(0.5);
    EXPECT_EQ(hatch.appendLoop(AcDbHatch::kExternal, outer, oneBulge), Acad::eInvalidInput);
    ASSERT_EQ(hatch.appendLoop(AcDbHatch::kExternal, outer, noBulges), Acad::eOk);
    ASSERT_EQ(hatch.appendLoop(AcDbHatch::kDefault, hole, noBulges), Acad::eOk);
    ASSERT_EQ(hatch.setPatternSpace(2.5), Acad::eOk);
    ASSERT_EQ(hatch.explode(a), Acad::eOk);
    Pieces p(a);
    // Horizontal lines at y = 0, 2.5, 5, 7.5 (a line on the boundary counts
    // at the lower edge only); the one at y = 5 is cut by the hole.
    ASSERT_EQ(p.items.size(), 5u);
    EXPECT_EQ(lineAt(p, 0)->startPoint(), AcGePoint3d(0, 0, 0));
    EXPECT_EQ(lineAt(p, 1)->startPoint(), AcGePoint3d(0, 2.5, 0));
    EXPECT_EQ(lineAt(p, 1)->endPoint(), AcGePoint3d(10, 2.5, 0));
    EXPECT_EQ(lineAt(p, 2)->endPoint(), AcGePoint3d(4, 5, 0));
    EXPECT_EQ(lineAt(p, 3)->startPoint(), AcGePoint3d(6, 5, 0));

    // Spacing wider than the area: no line, and still a success.
    AcDbHatch sparse;
    sparse.appendLoop(AcDbHatch::kExternal, hole, noBulges);
    sparse.setPatternSpace(100.0);
    AcDbVoidPtrArray b;
    EXPECT_EQ(sparse.explode(b), Acad::eOk);
    EXPECT_EQ(b.length(), 0);

    // A solid fill gives its boundary.
    ASSERT_EQ(sparse.setPattern(AcDbHatch::kPreDefined, L"SOLID"), Acad::eOk);
    ASSERT_EQ(sparse.explode(b), Acad::eOk);
    EXPECT_EQ(Pieces(b).items.size(), 4u);

    // A bulged boundary segment gives an arc: bulge 1 is a half turn.
    AcDbHatch round;
    round.setPattern(AcDbHatch::kPreDefined, L"SOLID");
    AcGePoint2dArray tri;
    tri.append(AcGePoint2d(0, 0));
    tri.append(AcGePoint2d(2, 0));
    tri.append(AcGePoint2d(1, -3));
    AcGeDoubleArray bulges;
    for (double x : {1.0, 0.0, 0.0})
        bulges.append(x);
    ASSERT_EQ(round.appendLoop(AcDbHatch::kExternal, tri, bulges), Acad::eOk);
    AcDbVoidPtrArray c;
    ASSERT_EQ(round.explode(c), Acad::eOk);
    Pieces q(c);
    ASSERT_EQ(q.names(), (std::vector<std::wstring>{L"AcDbArc", L"AcDbLine", L"AcDbLine"}));
    const AcDbArc* arc = AcDbArc::cast(q.items[0].get());
    EXPECT_NEAR(arc->radius(), 1.0, 1e-12);
    EXPECT_TRUE(arc->center().isEqualTo(AcGePoint3d(1, 0, 0)));
    AcGePoint3d top;
    arc->getStartPoint(top);
    AcGeTol loose;
    loose.setEqualPoint(1e-9);
    EXPECT_TRUE(top.isEqualTo(AcGePoint3d(0, 0, 0), loose));  // from a, counter-clockwise
}
