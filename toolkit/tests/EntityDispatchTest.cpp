// The general entity reader and the explode readers.
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "EntityDispatch.h"
#include "MeshTest.h"

#include "dbSubD.h"
#include "dbbody.h"
#include "dbelipse.h"
#include "dbhatch.h"
#include "dbmline.h"
#include "dbpl.h"
#include "dbregion.h"
#include "dbsol3d.h"
#include "dbspline.h"

namespace {

// The objects the readers made, deleted with the list.
struct Objects {
    ON_SimpleArray<ON_Geometry*> list;
    ~Objects()
    {
        for (int i = 0; i < list.Count(); ++i)
            delete list[i];
    }
    int count() const { return list.Count(); }
    template <class T> T* at(int i) const { return dynamic_cast<T*>(list[i]); }
};

class EntityDispatch : public MeshTest {
protected:
    ON_ClassArray<ON_InstanceDefinition> noDefinitions;
};

// One entity of every class of the table, each read into the object it makes.
TEST_F(EntityDispatch, EveryClassOfTheTableMakesItsObject)
{
    const AcDbObjectId square =
        addPolyFace({AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0)}, {{1, 2, 3, 0}});
    const AcDbObjectId grid = addPolygonMesh(2, 2, false, false);

    AcDbObjectId block;
    {
        AcDbBlockTable* table = nullptr;
        ASSERT_EQ(db()->getSymbolTable(table, AcDb::kForWrite), Acad::eOk);
        AcDbBlockTableRecord* record = new AcDbBlockTableRecord;
        record->setName(L"Door");
        ASSERT_EQ(table->add(block, record), Acad::eOk);
        record->close();
        table->close();
    }
    ON_ClassArray<ON_InstanceDefinition> definitions;
    definitions.AppendNew().SetName(L"Door");

    AcDbMline mline;
    mline.appendSeg(AcGePoint3d(0, 0, 0));
    mline.appendSeg(AcGePoint3d(10, 0, 0));
    AcDbRegion region;
    region.setStandinModel(
        standin::polygonRegionModel({AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0), AcGePoint3d(2, 2, 0)}));
    AcDb3dSolid solid;
    solid.createBox(1, 1, 1);
    AcDbBody body;
    body.setStandinModel(
        standin::polygonRegionModel({AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0), AcGePoint3d(2, 2, 0)}));
    AcDbHatch hatch;
    {
        AcGePoint3dArray loop;
        loop.append(AcGePoint3d(0, 0, 0));
        loop.append(AcGePoint3d(4, 0, 0));
        loop.append(AcGePoint3d(4, 4, 0));
        loop.append(AcGePoint3d(0, 4, 0));
        hatch.setPattern(AcDbHatch::kPreDefined, L"SOLID");
        hatch.appendLoop(AcDbHatch::kExternal, loop, AcGeDoubleArray());
    }
    AcDbPoint point(AcGePoint3d(1, 2, 3));
    AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    AcDbRay ray;
    AcDbXline xline;
    AcDbCircle circle(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), 2);
    AcDbArc arc(AcGePoint3d(0, 0, 0), 2, 0, 1);
    AcDbEllipse ellipse(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), AcGeVector3d(2, 0, 0), 0.5);
    AcDbPolyline polyline;
    polyline.addVertexAt(0, AcGePoint2d(0, 0));
    polyline.addVertexAt(1, AcGePoint2d(1, 0));
    AcDb3dPolyline polyline3d;
    AcGePoint3dArray fit;
    fit.append(AcGePoint3d(0, 0, 0));
    fit.append(AcGePoint3d(1, 1, 0));
    fit.append(AcGePoint3d(2, 0, 0));
    fit.append(AcGePoint3d(3, 1, 0));
    AcDbSpline spline(fit);
    AcDbFace face(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0));
    AcDbSolid solid2d(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(0, 1, 0), AcGePoint3d(1, 1, 0));
    AcDbBlockReference reference(AcGePoint3d(0, 0, 0), block);
    AcDbText text(AcGePoint3d(0, 0, 0), L"Hello");

    AcDbPolyFaceMesh* polyface = openForRead<AcDbPolyFaceMesh>(square);
    AcDbPolygonMesh* polygon = openForRead<AcDbPolygonMesh>(grid);

    const struct {
        AcDbEntity* entity;
        std::function<bool(ON_Geometry*)> isExpected;
        int made;
    } cases[] = {
        {&point, [](ON_Geometry* g) { return dynamic_cast<ON_Point*>(g) != nullptr; }, 1},
        {&line, [](ON_Geometry* g) { return dynamic_cast<ON_LineCurve*>(g) != nullptr; }, 1},
        {&ray, [](ON_Geometry* g) { return dynamic_cast<ON_LineCurve*>(g) != nullptr; }, 1},
        {&xline, [](ON_Geometry* g) { return dynamic_cast<ON_LineCurve*>(g) != nullptr; }, 1},
        {&mline, [](ON_Geometry* g) { return dynamic_cast<ON_LineCurve*>(g) != nullptr; }, 2},
        {&circle, [](ON_Geometry* g) { return dynamic_cast<ON_ArcCurve*>(g) != nullptr; }, 1},
        {&arc, [](ON_Geometry* g) { return dynamic_cast<ON_ArcCurve*>(g) != nullptr; }, 1},
        {&ellipse, [](ON_Geometry* g) { return dynamic_cast<ON_NurbsCurve*>(g) != nullptr; }, 1},
        {&polyline, [](ON_Geometry* g) { return dynamic_cast<ON_PolylineCurve*>(g) != nullptr; }, 1},
        {&polyline3d, [](ON_Geometry* g) { return dynamic_cast<ON_PolylineCurve*>(g) != nullptr; }, 1},
        {&spline, [](ON_Geometry* g) { return dynamic_cast<ON_NurbsCurve*>(g) != nullptr; }, 1},
        {&face, [](ON_Geometry* g) { return dynamic_cast<ON_Mesh*>(g) != nullptr; }, 1},
        {polyface, [](ON_Geometry* g) { return dynamic_cast<ON_Mesh*>(g) != nullptr; }, 1},
        {polygon, [](ON_Geometry* g) { return dynamic_cast<ON_Mesh*>(g) != nullptr; }, 1},
        {&solid2d, [](ON_Geometry* g) { return dynamic_cast<ON_NurbsSurface*>(g) != nullptr; }, 1},
        {&hatch, [](ON_Geometry* g) { return dynamic_cast<ON_LineCurve*>(g) != nullptr; }, 4},
        {&solid, [](ON_Geometry* g) { return dynamic_cast<ON_LineCurve*>(g) != nullptr; }, 24},
        {&body, [](ON_Geometry* g) { return dynamic_cast<ON_LineCurve*>(g) != nullptr; }, 3},
        {&region, [](ON_Geometry* g) { return dynamic_cast<ON_LineCurve*>(g) != nullptr; }, 3},
        {&reference, [](ON_Geometry* g) { return dynamic_cast<ON_InstanceRef*>(g) != nullptr; }, 1},
        {&text, [](ON_Geometry* g) { return dynamic_cast<ON_TextEntity2*>(g) != nullptr; }, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.entity->isA()->name());
        Objects objects;
        EXPECT_EQ(ReadEntity(c.entity, objects.list, definitions), 1);
        ASSERT_EQ(objects.count(), c.made);
        for (int i = 0; i < objects.count(); ++i)
            EXPECT_TRUE(c.isExpected(objects.list[i])) << i;
    }
    polygon->close();
    polyface->close();
}

TEST_F(EntityDispatch, ClassesOutsideTheTableGiveNothing)
{
    CToolkitConversion::SetLastErrorText(L"earlier");
    AcDb2dPolyline polyline2d;
    AcDbSubDMesh subd;
    for (AcDbEntity* entity : std::initializer_list<AcDbEntity*>{&polyline2d, &subd}) {
        SCOPED_TRACE(testing::Message() << entity->isA()->name());
        Objects objects;
        objects.list.Append(new ON_Point(ON_3dPoint(1, 1, 1)));
        EXPECT_EQ(ReadEntity(entity, objects.list, noDefinitions), 0);
        EXPECT_EQ(objects.count(), 1);
    }
    EXPECT_EQ(conversionText(), L"earlier");
}

}  // namespace

// A class of its own derived from a listed class: a line to the host's
// class tests, but its run-time class is not named "AcDbLine".
class NamedLine : public AcDbLine {
public:
    ACRX_DECLARE_MEMBERS(NamedLine);
    NamedLine(const AcGePoint3d& start, const AcGePoint3d& end) : AcDbLine(start, end) {}
};
ACRX_NO_CONS_DEFINE_MEMBERS(NamedLine, AcDbLine)

namespace {

TEST_F(EntityDispatch, OnlyTheExactClassNameIsRead)
{
    NamedLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    ASSERT_NE(AcDbLine::cast(&line), nullptr);
    Objects objects;
    EXPECT_EQ(ReadEntity(&line, objects.list, noDefinitions), 0);
    EXPECT_EQ(objects.count(), 0);
}

TEST_F(EntityDispatch, NewObjectsFollowTheOnesAlreadyListed)
{
    Objects objects;
    ON_Point* old = new ON_Point(ON_3dPoint(5, 5, 5));
    objects.list.Append(old);
    AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(3, 0, 0));
    EXPECT_EQ(ReadEntity(&line, objects.list, noDefinitions), 1);
    ASSERT_EQ(objects.count(), 2);
    EXPECT_EQ(objects.list[0], old);
    ON_LineCurve* read = objects.at<ON_LineCurve>(1);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->PointAtEnd(), ON_3dPoint(3, 0, 0));
}

TEST_F(EntityDispatch, AFailingReaderAppendsNothing)
{
    // A polyface mesh without faces reads as invalid; a block reference
    // whose name has no definition finds none.
    const AcDbObjectId empty = addPolyFace({AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0)}, {});
    AcDbPolyFaceMesh* polyface = openForRead<AcDbPolyFaceMesh>(empty);
    Objects objects;
    EXPECT_EQ(ReadEntity(polyface, objects.list, noDefinitions), 0);
    polyface->close();
    EXPECT_EQ(conversionText(), L"Invalid mesh");

    AcDbBlockReference reference(AcGePoint3d(0, 0, 0), db()->currentSpaceId());
    EXPECT_EQ(ReadEntity(&reference, objects.list, noDefinitions), 0);
    EXPECT_EQ(objects.count(), 0);
}

TEST_F(EntityDispatch, TextGivesOneEmptyTextObject)
{
    AcDbText text(AcGePoint3d(1, 2, 3), L"Door", AcDbObjectId::kNull, 2.5);
    Objects objects;
    EXPECT_EQ(ReadEntity(&text, objects.list, noDefinitions), 1);
    ASSERT_EQ(objects.count(), 1);
    const ON_TextEntity2* read = objects.at<ON_TextEntity2>(0);
    ASSERT_NE(read, nullptr);
    // Nothing of the text entity is read into it.
    const ON_TextEntity2 fresh;
    EXPECT_EQ(std::wstring(read->UserText()), std::wstring(fresh.UserText()));
    EXPECT_EQ(read->Height(), fresh.Height());
    EXPECT_EQ(read->Plane().origin, fresh.Plane().origin);
    EXPECT_EQ(read->m_points.Count(), fresh.m_points.Count());
    EXPECT_EQ(read->Type(), fresh.Type());
    EXPECT_EQ(read->FontIndex(), fresh.FontIndex());
    EXPECT_EQ(read->Justification(), fresh.Justification());
}

// ---- explode readers -----------------------------------------------------

// A region whose explode yields a line, an arc and a piece of a class outside
// the dispatch table, new and in no database as the host hands them out.
class ThreePieceRegion : public AcDbRegion {
public:
    Acad::ErrorStatus explode(AcDbVoidPtrArray& pieces) const override
    {
        pieces.append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0)));
        pieces.append(nullptr);
        pieces.append(new AcDbArc(AcGePoint3d(0, 0, 0), 1, 0, ON_PI));
        pieces.append(new AcDb2dPolyline());
        return Acad::eOk;
    }
};

TEST_F(EntityDispatch, RegionPiecesAreReadInOrderAndUnreadOnesGoNowhere)
{
    ThreePieceRegion region;
    Objects objects;
    objects.list.Append(new ON_Point(ON_3dPoint(9, 9, 9)));
    EXPECT_EQ(ReadEntity(&region, objects.list, noDefinitions), 1);
    ASSERT_EQ(objects.count(), 3);
    EXPECT_NE(objects.at<ON_Point>(0), nullptr);
    ASSERT_NE(objects.at<ON_LineCurve>(1), nullptr);
    EXPECT_EQ(objects.at<ON_LineCurve>(1)->PointAtEnd(), ON_3dPoint(2, 0, 0));
    ASSERT_NE(objects.at<ON_ArcCurve>(2), nullptr);
    // Every piece, read or not, was deleted: the leak checker sees none.
}

// A hatch that explodes into a line, a line of a class of its own and an arc,
// or into an arc alone: only pieces of the line class itself give lines.
class PiecedHatch : public AcDbHatch {
public:
    explicit PiecedHatch(bool withLines) : mWithLines(withLines) {}
    Acad::ErrorStatus explode(AcDbVoidPtrArray& pieces) const override
    {
        if (mWithLines) {
            pieces.append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(4, 0, 0)));
            pieces.append(new NamedLine(AcGePoint3d(0, 4, 0), AcGePoint3d(4, 4, 0)));
        }
        pieces.append(new AcDbArc(AcGePoint3d(0, 0, 0), 1, 0, ON_PI));
        return Acad::eOk;
    }

private:
    bool mWithLines;
};

// What ReadEntity gives for a multiline or hatch: the reader's failure, or
// 1 with the lines read, none included.
TEST_F(EntityDispatch, LinePiecesOfMultilinesAndHatches)
{
    AcDbMline emptyMline;
    AcDbHatch emptyHatch;
    PiecedHatch lines(true);
    PiecedHatch arcOnly(false);
    const struct {
        const char* name;
        AcDbEntity* entity;
        int result, made;
    } cases[] = {
        {"multiline that does not explode", &emptyMline, 0, 0},
        {"hatch that does not explode", &emptyHatch, 0, 0},
        {"hatch of lines and an arc", &lines, 1, 1},
        {"hatch of an arc", &arcOnly, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Objects objects;
        objects.list.Append(new ON_Point(ON_3dPoint(1, 1, 1)));
        EXPECT_EQ(ReadEntity(c.entity, objects.list, noDefinitions), c.result);
        ASSERT_EQ(objects.count(), 1 + c.made);
        if (c.made) {
            EXPECT_EQ(objects.at<ON_LineCurve>(1)->PointAtEnd(), ON_3dPoint(4, 0, 0));
        }
    }
}

// A region whose explode yields nothing that can be read.
class UnreadableRegion : public AcDbRegion {
public:
    Acad::ErrorStatus explode(AcDbVoidPtrArray& pieces) const override
    {
        pieces.append(new AcDb2dPolyline());
        pieces.append(new AcDbSubDMesh());
        return Acad::eOk;
    }
};

TEST_F(EntityDispatch, AnExplodeWithoutReadablePiecesSucceeds)
{
    UnreadableRegion region;
    Objects objects;
    EXPECT_EQ(ReadRegion(&region, objects.list), 1);
    EXPECT_EQ(ReadEntity(&region, objects.list, noDefinitions), 1);
    EXPECT_EQ(objects.count(), 0);
}

// A body whose explode yields a line, a region of two lines and another
// line: the region's lines come between the two, depth first.
class MixedBody : public AcDbBody {
public:
    Acad::ErrorStatus explode(AcDbVoidPtrArray& pieces) const override
    {
        pieces.append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
        pieces.append(new TwoLineRegion());
        pieces.append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(4, 0, 0)));
        return Acad::eOk;
    }

private:
    class TwoLineRegion : public AcDbRegion {
    public:
        Acad::ErrorStatus explode(AcDbVoidPtrArray& pieces) const override
        {
            pieces.append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0)));
            pieces.append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(3, 0, 0)));
            return Acad::eOk;
        }
    };
};

TEST_F(EntityDispatch, NestedExplodesComeOutDepthFirst)
{
    MixedBody body;
    Objects objects;
    EXPECT_EQ(ReadEntity(&body, objects.list, noDefinitions), 1);
    ASSERT_EQ(objects.count(), 4);
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(objects.at<ON_LineCurve>(i), nullptr) << i;
        EXPECT_EQ(objects.at<ON_LineCurve>(i)->PointAtEnd(), ON_3dPoint(i + 1, 0, 0)) << i;
    }
}

TEST_F(EntityDispatch, SolidPiecesAreReadDepthFirst)
{
    // A box explodes into six regions, each into its four edges.
    AcDb3dSolid solid;
    ASSERT_EQ(solid.createBox(2, 2, 2), Acad::eOk);
    Objects objects;
    EXPECT_EQ(Read3dSolid(&solid, objects.list), 1);
    ASSERT_EQ(objects.count(), 24);
    // The four edges of the first face follow one another end to start.
    for (int i = 0; i < 3; ++i) {
        ON_LineCurve* a = objects.at<ON_LineCurve>(i);
        ON_LineCurve* b = objects.at<ON_LineCurve>(i + 1);
        ASSERT_TRUE(a && b);
        EXPECT_EQ(a->PointAtEnd(), b->PointAtStart()) << i;
    }
}

TEST_F(EntityDispatch, FailingExplodesGiveZero)
{
    CToolkitConversion::SetLastErrorText(L"earlier");
    AcDb3dSolid solid;
    AcDbBody body;
    AcDbRegion region;
    AcDbHatch hatch;
    Objects objects;
    EXPECT_EQ(Read3dSolid(&solid, objects.list), 0);
    EXPECT_EQ(ReadBody(&body, objects.list), 0);
    EXPECT_EQ(ReadRegion(&region, objects.list), 0);
    ON_ClassArray<ON_LineCurve> lines;
    EXPECT_EQ(ReadHatch(&hatch, lines), 0);
    EXPECT_EQ(conversionText(), L"earlier");
    EXPECT_EQ(objects.count(), 0);

    AcDbMline mline;
    EXPECT_EQ(ReadMline(&mline, lines), 0);
    EXPECT_EQ(conversionText(), L"Unable to explode MLINE object");
    EXPECT_EQ(lines.Count(), 0);
}

TEST_F(EntityDispatch, MlineLinesAreAppendedInExplodeOrder)
{
    AcDbMline mline;
    mline.setJustification(Mline::kZero);
    mline.appendSeg(AcGePoint3d(0, 0, 0));
    mline.appendSeg(AcGePoint3d(10, 0, 0));
    ON_ClassArray<ON_LineCurve> lines;
    lines.AppendNew();
    EXPECT_EQ(ReadMline(&mline, lines), 1);
    ASSERT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines[1].PointAtStart(), ON_3dPoint(0, 0.5, 0));
    EXPECT_EQ(lines[1].PointAtEnd(), ON_3dPoint(10, 0.5, 0));
    EXPECT_EQ(lines[2].PointAtStart(), ON_3dPoint(0, -0.5, 0));
}

// A solid whose explode yields a solid again, as a faulty host might: the
// recursion stops at its depth bound.
class SelfExplodingSolid : public AcDb3dSolid {
public:
    explicit SelfExplodingSolid(int* explodes) : mExplodes(explodes) {}
    Acad::ErrorStatus explode(AcDbVoidPtrArray& pieces) const override
    {
        ++*mExplodes;
        pieces.append(new SelfExplodingSolid(mExplodes));
        pieces.append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
        return Acad::eOk;
    }

private:
    int* mExplodes;
};

TEST_F(EntityDispatch, ExplodeRecursionStopsAtItsDepthBound)
{
    int explodes = 0;
    SelfExplodingSolid solid(&explodes);
    ASSERT_STREQ(solid.isA()->name(), L"AcDb3dSolid");
    Objects objects;
    EXPECT_EQ(ReadEntity(&solid, objects.list, noDefinitions), 1);
    EXPECT_EQ(explodes, kMaxExplodeDepth);
    // One line per level, the deepest level's first.
    EXPECT_EQ(objects.count(), kMaxExplodeDepth);
}

}  // namespace
