// Picking one object and selection sets, answered by a scripted user.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "EditorTest.h"
#include "Selection.h"

#include "aced.h"
#include "standin/AcDbStandin.h"

namespace {

// A list of class names for the filtered calls.
struct classes {
    CStringArray array;
    classes(std::initializer_list<const wchar_t*> names)
    {
        for (const wchar_t* name : names)
            array.Add(name);
    }
    operator const CStringArray&() const { return array; }
};

class Selection : public EditorTest {
protected:
    // The handles of the objects, separated by blanks, as the user types them.
    static std::wstring handles(std::initializer_list<AcDbObjectId> ids)
    {
        std::wstring text;
        for (const AcDbObjectId& id : ids)
            text += (text.empty() ? L"" : L" ") + handleOf(id);
        return text;
    }

    static std::vector<AcDbObjectId> toVector(const AcArray<AcDbObjectId>& ids)
    {
        std::vector<AcDbObjectId> out;
        for (int i = 0; i < ids.length(); ++i)
            out.push_back(ids[i]);
        return out;
    }
};

// ---- PickEntity -----------------------------------------------------------

TEST_F(Selection, PickEntityTakesThePickedObjectAndPoint)
{
    addFace();
    const AcDbObjectId line = addLine(0, 0, 10, 0);
    user().type(L"5,0.25");

    AcDbObjectId id;
    AcGePoint3d point;
    EXPECT_EQ(PickEntity(L"Pick a line:", 0, id, point), 1);
    EXPECT_EQ(id, line);
    EXPECT_EQ(point, AcGePoint3d(5, 0.25, 0));
    EXPECT_EQ(user().prompts(), std::vector<std::wstring>{L"Pick a line:"});
}

TEST_F(Selection, PickEntityWithAnEmptyPromptShowsItsOwn)
{
    const AcDbObjectId line = addLine();
    user().type(handleOf(line));
    AcDbObjectId id;
    EXPECT_EQ(PickEntity(L"", 0, id), 1);
    EXPECT_EQ(id, line);
    EXPECT_EQ(user().prompts(), std::vector<std::wstring>{L"Select an object:"});
}

TEST_F(Selection, PickEntityHighlightsOnlyForHighlightOne)
{
    const struct {
        int highlight;
        bool highlighted;
    } cases[] = {{0, false}, {1, true}, {2, false}, {-1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.highlight);
        const AcDbObjectId line = addLine();
        user().type(handleOf(line));
        AcDbObjectId id;
        EXPECT_EQ(PickEntity(L"", c.highlight, id), 1);
        EXPECT_EQ(standin::isHighlighted(line), c.highlighted);
    }
}

TEST_F(Selection, PickEntityAsksAgainUntilSomethingIsPickedOrCancelled)
{
    const AcDbObjectId line = addLine(0, 0, 10, 0);
    // An empty answer, then empty space, then the line.
    user().type(L"").type(L"100,100").type(handleOf(line));
    AcDbObjectId id;
    EXPECT_EQ(PickEntity(L"", 1, id), 1);
    EXPECT_EQ(id, line);
    EXPECT_EQ(user().prompts().size(), 3u);
    EXPECT_EQ(commandLine(), L"\nObject not selected\n\nObject not selected\n");
    EXPECT_EQ(utilitiesText(), L"");
}

TEST_F(Selection, PickEntityCancelledStoresWhy)
{
    addLine();
    user().type(L"100,100").escape();
    AcDbObjectId id;
    AcGePoint3d point;
    EXPECT_EQ(PickEntity(L"", 1, id, point), 0);
    EXPECT_EQ(utilitiesText(), L"Object selection cancelled");
    EXPECT_EQ(commandLine(), L"\nObject not selected\n");
    EXPECT_TRUE(standin::highlightedEntities(db()).empty());
}

TEST_F(Selection, ALaterPickDoesNotClearTheFailureText)
{
    const AcDbObjectId line = addLine();
    user().escape().type(handleOf(line));
    AcDbObjectId id;
    EXPECT_EQ(PickEntity(L"", 0, id), 0);
    EXPECT_EQ(PickEntity(L"", 0, id), 1);
    EXPECT_EQ(utilitiesText(), L"Object selection cancelled");
}

TEST_F(Selection, PickEntityEndsWhenTheAnswerIsAKeywordAndNoObject)
{
    // A caller's keywords apply to the pick; a keyword names no object, so
    // nothing is picked.
    addLine();
    ASSERT_EQ(acedInitGet(0, L"Done"), RTNORM);
    user().type(L"Done");
    AcDbObjectId id;
    EXPECT_EQ(PickEntity(L"", 1, id), 0);
    EXPECT_EQ(utilitiesText(), L"Object selection cancelled");
    EXPECT_TRUE(standin::highlightedEntities(db()).empty());
}

TEST_F(Selection, FilteredPickRefusesOtherClassesAndAsksAgain)
{
    const AcDbObjectId line = addLine();
    const AcDbObjectId face = addFace();
    user().type(handleOf(line)).type(handleOf(face));

    AcDbObjectId id;
    AcGePoint3d point;
    EXPECT_EQ(PickEntity(L"Pick a face:", 1, classes({L"AcDbFace"}), id, point), 1);
    EXPECT_EQ(id, face);
    EXPECT_EQ(commandLine(), L"\nObject was filtered out\n");
    EXPECT_EQ(user().prompts(), (std::vector<std::wstring>{L"Pick a face:", L"Pick a face:"}));
    EXPECT_EQ(standin::highlightedEntities(db()), std::vector<AcDbObjectId>{face});
}

TEST_F(Selection, FilteredPickAcceptsAnyListedClass)
{
    const AcDbObjectId point = addPoint(1, 2, 3);
    user().type(handleOf(point));
    AcDbObjectId id;
    EXPECT_EQ(PickEntity(L"", 2, classes({L"AcDbFace", L"AcDbPoint"}), id), 1);
    EXPECT_EQ(id, point);
    EXPECT_TRUE(standin::highlightedEntities(db()).empty());
}

TEST_F(Selection, FilteredPickEndsOnlyByAPassingPickOrACancel)
{
    const struct {
        const char* name;
        classes classNames;
    } cases[] = {
        {"other case", classes({L"acdbface"})},
        {"empty list", classes({})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        standin::editor::clearCommandLine();
        CToolkitUtilities::SetLastErrorText(L"");
        const AcDbObjectId face = addFace();
        standin::ScriptedUser user;
        standin::ScopedUser scoped(user);
        user.type(handleOf(face)).type(handleOf(face)).escape();

        AcDbObjectId id;
        EXPECT_EQ(PickEntity(L"", 1, c.classNames, id), 0);
        EXPECT_EQ(user.prompts().size(), 3u);
        EXPECT_EQ(commandLine(), L"\nObject was filtered out\n\nObject was filtered out\n");
        EXPECT_EQ(utilitiesText(), L"Object selection cancelled");
        EXPECT_TRUE(standin::highlightedEntities(db()).empty());
    }
}

TEST_F(Selection, OneClassPickTakesThatClassOnly)
{
    const AcDbObjectId face = addFace();
    const AcDbObjectId line = addLine(0, 0, 10, 0);
    user().type(handleOf(face)).type(L"5,0");

    AcDbObjectId id;
    AcGePoint3d point;
    EXPECT_EQ(PickEntity(L"", 1, CString(L"AcDbLine"), id, point), 1);
    EXPECT_EQ(id, line);
    EXPECT_EQ(point, AcGePoint3d(5, 0, 0));
    EXPECT_TRUE(standin::isHighlighted(line));

    user().type(handleOf(face));
    EXPECT_EQ(PickEntity(L"", 0, CString(L"AcDbFace"), id), 1);
    EXPECT_EQ(id, face);
    EXPECT_EQ(commandLine(), L"\nObject was filtered out\n");
}

// ---- SelectEntities with a class list -------------------------------------

TEST_F(Selection, SelectEntitiesKeepsTheListedClassesInSetOrder)
{
    const AcDbObjectId line1 = addLine();
    const AcDbObjectId face1 = addFace(0, 20);
    const AcDbObjectId line2 = addLine(0, 5, 10, 5);
    const AcDbObjectId face2 = addFace(5, 20);
    const AcDbObjectId line3 = addLine(0, 9, 10, 9);
    user().type(handles({face2, line1, line2})).type(handles({face1, line3})).type(L"");

    AcArray<AcDbObjectId> ids;
    EXPECT_EQ(SelectEntities(L"Select faces: ", 1, classes({L"AcDbFace"}), ids), 1);
    EXPECT_EQ(toVector(ids), (std::vector<AcDbObjectId>{face2, face1}));
    EXPECT_EQ(commandLine(), L"3 object(s) were filtered out\n");
    EXPECT_EQ(user().prompts(), (std::vector<std::wstring>{L"Select faces: ", L"Select faces: ", L"Select faces: "}));
    EXPECT_TRUE(standin::isHighlighted(face1));
    EXPECT_TRUE(standin::isHighlighted(face2));
    EXPECT_FALSE(standin::isHighlighted(line1));
}

TEST_F(Selection, SelectEntitiesHighlightsForAnyNonZeroHighlight)
{
    const struct {
        int highlight;
        bool highlighted;
    } cases[] = {{0, false}, {1, true}, {2, true}, {-1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.highlight);
        const AcDbObjectId face = addFace();
        user().type(handleOf(face)).type(L"");
        AcArray<AcDbObjectId> ids;
        EXPECT_EQ(SelectEntities(L"Faces: ", c.highlight, classes({L"AcDbFace"}), ids), 1);
        EXPECT_EQ(standin::isHighlighted(face), c.highlighted);
    }
}

TEST_F(Selection, SelectEntitiesWithNothingOfTheClassesFails)
{
    const AcDbObjectId line1 = addLine();
    const AcDbObjectId line2 = addLine(0, 5, 10, 5);
    const AcDbObjectId line3 = addLine(0, 9, 10, 9);
    user().type(handles({line1, line2, line3})).type(L"");

    AcArray<AcDbObjectId> ids;
    EXPECT_EQ(SelectEntities(L"Select faces: ", 1, classes({L"AcDbFace"}), ids), 0);
    EXPECT_TRUE(ids.isEmpty());
    EXPECT_EQ(commandLine(), L"3 object(s) were filtered out\n");
    EXPECT_EQ(utilitiesText(), L"No valid objects selected");
    EXPECT_TRUE(standin::highlightedEntities(db()).empty());
}

TEST_F(Selection, SelectEntitiesAppendsAndTestsTheWholeList)
{
    const AcDbObjectId earlier = addFace();
    const AcDbObjectId line = addLine();
    user().type(handleOf(line)).type(L"");

    AcArray<AcDbObjectId> ids;
    ids.append(earlier);
    EXPECT_EQ(SelectEntities(L"Select faces: ", 0, classes({L"AcDbFace"}), ids), 1);
    EXPECT_EQ(toVector(ids), std::vector<AcDbObjectId>{earlier});
    EXPECT_EQ(commandLine(), L"1 object(s) were filtered out\n");
}

TEST_F(Selection, SelectEntitiesWithoutASelectionFails)
{
    addFace();
    const struct {
        const char* name;
        bool cancel;
    } cases[] = {{"cancelled", true}, {"nothing selected", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CToolkitUtilities::SetLastErrorText(L"");
        standin::ScriptedUser user;
        standin::ScopedUser scoped(user);
        if (c.cancel)
            user.escape();
        else
            user.type(L"");

        AcArray<AcDbObjectId> ids;
        EXPECT_EQ(SelectEntities(L"Select faces: ", 1, classes({L"AcDbFace"}), ids), 0);
        EXPECT_EQ(utilitiesText(), L"No entities selected");

        CToolkitUtilities::SetLastErrorText(L"");
        if (c.cancel)
            user.escape();
        else
            user.type(L"");
        EXPECT_EQ(SelectEntities(L"Select: ", 1, ids), 0);
        EXPECT_EQ(utilitiesText(), L"No entities selected");
        EXPECT_TRUE(ids.isEmpty());
    }
}

TEST_F(Selection, SelectEntitiesWithAnEmptyPromptUsesTheHostsSelection)
{
    const AcDbObjectId face = addFace();
    user().type(handleOf(face)).type(L"");
    AcArray<AcDbObjectId> ids;
    EXPECT_EQ(SelectEntities(L"", 0, classes({L"AcDbFace"}), ids), 1);
    EXPECT_EQ(toVector(ids), std::vector<AcDbObjectId>{face});
    ASSERT_FALSE(user().prompts().empty());
    EXPECT_EQ(user().prompts()[0], L"Select objects: ");
}

TEST_F(Selection, SelectEntitiesShowsTheRemovePrompt)
{
    const AcDbObjectId face1 = addFace(0, 20);
    const AcDbObjectId face2 = addFace(5, 20);
    user().type(handles({face1, face2})).type(L"Remove").type(handleOf(face1)).type(L"");
    AcArray<AcDbObjectId> ids;
    EXPECT_EQ(SelectEntities(L"Select faces: ", 0, ids), 1);
    EXPECT_EQ(toVector(ids), std::vector<AcDbObjectId>{face2});
    EXPECT_EQ(user().prompts(),
              (std::vector<std::wstring>{L"Select faces: ", L"Select faces: ", L"Remove objects", L"Remove objects"}));
}

TEST_F(Selection, SelectEntitiesCutsAPromptLongerThanTheHostsBuffer)
{
    const struct {
        size_t length;
        size_t shown;
    } cases[] = {{253, 253}, {254, 254}, {255, 254}, {1000, 254}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const AcDbObjectId face = addFace();
        standin::ScriptedUser user;
        standin::ScopedUser scoped(user);
        user.type(handleOf(face)).type(L"");

        std::wstring prompt;
        for (size_t i = 0; i < c.length; ++i)
            prompt += static_cast<wchar_t>(L'a' + i % 26);
        AcArray<AcDbObjectId> ids;
        EXPECT_EQ(SelectEntities(CString(prompt.c_str()), 0, classes({L"AcDbFace"}), ids), 1);
        ASSERT_FALSE(user.prompts().empty());
        EXPECT_EQ(user.prompts()[0], prompt.substr(0, c.shown));
    }
}

// ---- SelectEntities without a class list ----------------------------------

TEST_F(Selection, SelectEntitiesWithoutClassesKeepsEverySelectedObject)
{
    const AcDbObjectId earlier = addPoint(1, 1, 1);
    const AcDbObjectId line = addLine();
    const AcDbObjectId face = addFace();
    user().type(handles({face, line})).type(L"");

    AcArray<AcDbObjectId> ids;
    ids.append(earlier);
    EXPECT_EQ(SelectEntities(L"Select: ", 2, ids), 1);
    EXPECT_EQ(toVector(ids), (std::vector<AcDbObjectId>{earlier, face, line}));
    EXPECT_EQ(standin::highlightedEntities(db()), (std::vector<AcDbObjectId>{line, face}));
    EXPECT_EQ(commandLine(), L"");
}

TEST_F(Selection, SelectEntitiesWithoutClassesAndHighlightZeroHighlightsNothing)
{
    const AcDbObjectId line = addLine();
    user().type(handleOf(line)).type(L"");
    AcArray<AcDbObjectId> ids;
    EXPECT_EQ(SelectEntities(L"", 0, ids), 1);
    EXPECT_EQ(toVector(ids), std::vector<AcDbObjectId>{line});
    EXPECT_TRUE(standin::highlightedEntities(db()).empty());
}

// ---- SelectAllEntities ----------------------------------------------------

TEST_F(Selection, SelectAllEntitiesReplacesTheListWithEveryObject)
{
    const AcDbObjectId line = addLine();
    const AcDbObjectId erased = addPoint(1, 2, 3);
    const AcDbObjectId face = addFace();
    const AcDbObjectId paper = add(new AcDbPoint(AcGePoint3d(0, 0, 0)), ACDB_PAPER_SPACE);
    erase(erased);

    AcArray<AcDbObjectId> ids;
    ids.append(erased);
    EXPECT_EQ(SelectAllEntities(ids), 1);
    EXPECT_EQ(toVector(ids), (std::vector<AcDbObjectId>{line, face, paper}));
    EXPECT_TRUE(user().prompts().empty());
    EXPECT_TRUE(standin::highlightedEntities(db()).empty());
}

TEST_F(Selection, SelectAllEntitiesOfAnEmptyDrawingFails)
{
    const AcDbObjectId erased = addLine();
    erase(erased);
    AcArray<AcDbObjectId> ids;
    ids.append(erased);
    EXPECT_EQ(SelectAllEntities(ids), 0);
    EXPECT_EQ(utilitiesText(), L"Drawing empty");
    EXPECT_EQ(toVector(ids), std::vector<AcDbObjectId>{erased});
}

// ---- SelectPoints ---------------------------------------------------------

TEST_F(Selection, SelectPointsAppendsThePositionsOfTheSelectedPoints)
{
    const AcDbObjectId first = addPoint(1, 2, 3);
    const AcDbObjectId line = addLine();
    const AcDbObjectId second = addPoint(-4, 5.5, 6);
    addPoint(7, 8, 9);
    user().type(handles({second, line, first})).type(L"");

    AcArray<AcGePoint3d> points;
    points.append(AcGePoint3d(0, 0, 100));
    EXPECT_EQ(SelectPoints(points), 1);
    ASSERT_EQ(points.length(), 3);
    EXPECT_EQ(points[0], AcGePoint3d(0, 0, 100));
    EXPECT_EQ(points[1], AcGePoint3d(-4, 5.5, 6));
    EXPECT_EQ(points[2], AcGePoint3d(1, 2, 3));
    EXPECT_EQ(user().prompts(), (std::vector<std::wstring>{L"Select points: ", L"Select points: "}));
}

TEST_F(Selection, SelectPointsWithoutPointsFails)
{
    const AcDbObjectId line = addLine();
    const AcDbObjectId face = addFace();
    const struct {
        const char* name;
        bool cancel;
    } cases[] = {{"cancelled", true}, {"only other entities", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CToolkitUtilities::SetLastErrorText(L"");
        standin::ScriptedUser user;
        standin::ScopedUser scoped(user);
        if (c.cancel)
            user.escape();
        else
            user.type(handles({line, face})).type(L"");

        AcArray<AcGePoint3d> points;
        EXPECT_EQ(SelectPoints(points), 0);
        EXPECT_TRUE(points.isEmpty());
        EXPECT_EQ(utilitiesText(), L"No entities selected");
    }
}

}  // namespace
