// Selection sets: the modes, filters, the user's answers, the table of 128
// sets and the report of sets never freed.
#include <algorithm>
#include <array>

#include "acedads.h"
#include "acutads.h"

#include "EditorTest.h"

namespace {

class SelectionTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        lines_ = {addLine(0, 0, 1, 0), addLine(0, 1, 1, 1)};
        points_ = {addPoint(5, 5), addPoint(6, 6)};
        face_ = addFace(10, 10, 1);
    }

    // The ids of the set, in its order; the set is freed.
    static std::vector<AcDbObjectId> contents(ads_name ss)
    {
        std::vector<AcDbObjectId> ids;
        long length = -1;
        EXPECT_EQ(acedSSLength(ss, &length), RTNORM);
        for (long i = 0; i < length; ++i) {
            ads_name entity;
            EXPECT_EQ(acedSSName(ss, i, entity), RTNORM);
            AcDbObjectId id;
            EXPECT_EQ(acdbGetObjectId(id, entity), Acad::eOk);
            ids.push_back(id);
        }
        ads_name entity;
        EXPECT_EQ(acedSSName(ss, length, entity), RTERROR);
        EXPECT_EQ(acedSSName(ss, -1, entity), RTERROR);
        EXPECT_EQ(acedSSFree(ss), RTNORM);
        EXPECT_EQ(acedSSFree(ss), RTERROR);
        return ids;
    }

    std::vector<AcDbObjectId> every() const { return {lines_[0], lines_[1], points_[0], points_[1], face_}; }

    std::vector<AcDbObjectId> lines_, points_;
    AcDbObjectId face_;
};

TEST_F(SelectionTest, TheUserNamesObjectsByHandleUntilAnEmptyAnswer)
{
    user()
        .type(handle(points_[1]) + L" " + handle(lines_[0]) + L"," + handle(face_))
        .type(handle(lines_[0]))  // already chosen
        .type(L"");
    ads_name ss;
    ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTNORM);
    EXPECT_EQ(contents(ss), (std::vector<AcDbObjectId>{points_[1], lines_[0], face_}));
    EXPECT_EQ(user().prompts(), std::vector<std::wstring>(3, L"Select objects: "));
}

TEST_F(SelectionTest, AllRemoveAndTheirPromptPair)
{
    const ACHAR* prompts[2] = {L"Select points: ", L"Remove objects"};
    user().type(L"All").type(L"r").type(handle(face_)).type(L"Add").type(L"nonsense").type(L"");
    ads_name ss;
    ASSERT_EQ(acedSSGet(L":$", prompts, nullptr, nullptr, ss), RTNORM);
    EXPECT_EQ(contents(ss), (std::vector<AcDbObjectId>{lines_[0], lines_[1], points_[0], points_[1]}));
    EXPECT_EQ(user().prompts(),
              (std::vector<std::wstring>{L"Select points: ", L"Select points: ", L"Remove objects", L"Remove objects",
                                         L"Select points: ", L"Select points: "}));
    EXPECT_NE(user().output().find(L"*Invalid selection*"), std::wstring::npos);
}

TEST_F(SelectionTest, FiltersKeepTheListedTypesAndLayers)
{
    struct Case {
        const wchar_t* type;
        size_t count;
    };
    const Case cases[] = {{L"POINT", 2}, {L"line", 2}, {L"LINE,3DFACE", 3}, {L"*", 5}, {L"MESH", 0}};
    for (const Case& c : cases) {
        resbuf* filter = acutBuildList(RTDXF0, c.type, RTNONE);
        ads_name ss;
        const int status = acedSSGet(L"X", nullptr, nullptr, filter, ss);
        acutRelRb(filter);
        if (c.count == 0) {
            EXPECT_EQ(status, RTERROR) << c.type;
            continue;
        }
        ASSERT_EQ(status, RTNORM) << c.type;
        EXPECT_EQ(contents(ss).size(), c.count) << c.type;
    }
    resbuf* layer = acutBuildList(8, L"0", RTNONE);
    ads_name ss;
    ASSERT_EQ(acedSSGet(L"A", nullptr, nullptr, layer, ss), RTNORM);
    acutRelRb(layer);
    EXPECT_EQ(contents(ss), every());
    resbuf* colour = acutBuildList(62, 1, RTNONE);
    EXPECT_EQ(acedSSGet(L"X", nullptr, nullptr, colour, ss), RTERROR);  // not served
    acutRelRb(colour);
}

TEST_F(SelectionTest, InteractiveSelectionAppliesTheFilterToo)
{
    resbuf* filter = acutBuildList(RTDXF0, L"POINT", RTNONE);
    user().type(L"all").type(L"");
    ads_name ss;
    ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, filter, ss), RTNORM);
    EXPECT_EQ(contents(ss), points_);
    user().type(handle(lines_[0])).type(L"");
    EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, filter, ss), RTERROR);
    acutRelRb(filter);
}

TEST_F(SelectionTest, AllSkipsFrozenLayersAndErasedObjects)
{
    AcDbLayerTable* layers = nullptr;
    ASSERT_EQ(db()->getLayerTable(layers, AcDb::kForWrite), Acad::eOk);
    auto* frozen = new AcDbLayerTableRecord();
    frozen->setName(L"Frozen");
    frozen->setIsFrozen(true);
    AcDbObjectId frozenId;
    ASSERT_EQ(layers->add(frozenId, frozen), Acad::eOk);
    frozen->close();
    layers->close();
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(entity, face_, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(entity->setLayer(frozenId), Acad::eOk);
    entity->close();
    ads_name name;
    acdbGetAdsName(name, points_[0]);
    ASSERT_EQ(acdbEntDel(name), RTNORM);

    ads_name ss;
    ASSERT_EQ(acedSSGet(L"A", nullptr, nullptr, nullptr, ss), RTNORM);
    EXPECT_EQ(contents(ss), (std::vector<AcDbObjectId>{lines_[0], lines_[1], points_[1]}));
    ASSERT_EQ(acedSSGet(L"_X", nullptr, nullptr, nullptr, ss), RTNORM);
    EXPECT_EQ(contents(ss), (std::vector<AcDbObjectId>{lines_[0], lines_[1], points_[1], face_}));
}

TEST_F(SelectionTest, EmptySelectionCancelAndModesNotServed)
{
    ads_name ss;
    user().type(L"");
    EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTERROR);
    user().escape();
    EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTCAN);
    EXPECT_EQ(acedSSGet(L"W", nullptr, nullptr, nullptr, ss), RTERROR);
    EXPECT_EQ(acedSSGet(L":$", nullptr, nullptr, nullptr, ss), RTERROR);
    EXPECT_TRUE(standin::editor::heldSelectionSets().empty());

    freshDrawing();
    EXPECT_EQ(acedSSGet(L"A", nullptr, nullptr, nullptr, ss), RTERROR);  // nothing to select
}

TEST_F(SelectionTest, AtMost128SetsAtOnceAndHeldSetsAreListed)
{
    std::vector<std::array<Adesk::LongPtr, 2>> sets;
    for (int i = 0; i < 128; ++i) {
        ads_name ss;
        ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, ss), RTNORM) << i;
        sets.push_back({ss[0], ss[1]});
    }
    ads_name extra;
    EXPECT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, extra), RTERROR);
    const auto held = standin::editor::heldSelectionSets();
    ASSERT_EQ(held.size(), 128u);
    EXPECT_EQ(held[0].length, 5);
    EXPECT_EQ(held[0].mode, L"X");
    EXPECT_NE(standin::editor::describeHeldSelectionSets(), "");
    // Freeing one makes room again.
    ads_name first = {sets[0][0], sets[0][1]};
    EXPECT_EQ(acedSSFree(first), RTNORM);
    EXPECT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, extra), RTNORM);
    EXPECT_EQ(acedSSMemb(first, extra), RTERROR);
    ads_name member;
    acdbGetAdsName(member, face_);
    EXPECT_EQ(acedSSMemb(member, extra), RTNORM);
    EXPECT_EQ(standin::editor::freeAllSelectionSets(), 128);
    EXPECT_TRUE(standin::editor::heldSelectionSets().empty());
}

}  // namespace
