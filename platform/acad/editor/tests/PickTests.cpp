// acedEntSel: picks by handle and by point, empty space, empty answers,
// cancel and keywords.
#include "acedads.h"

#include "EditorTest.h"

namespace {

class PickTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        line_ = addLine(0, 0, 10, 0);
        point_ = addPoint(5, 5);
        face_ = addFace(20, 0, 4);
    }

    // Picks with the answer; the object picked, or the null id.
    AcDbObjectId pick(const std::wstring& answer, int expected, ads_point pt = nullptr)
    {
        user().type(answer);
        ads_name name = {0, 0};
        ads_point where = {0, 0, 0};
        const int status = acedEntSel(L"Pick: ", name, pt != nullptr ? pt : where);
        EXPECT_EQ(status, expected) << standin::narrow(answer);
        AcDbObjectId id;
        if (status == RTNORM) {
            EXPECT_EQ(acdbGetObjectId(id, name), Acad::eOk);
        }
        return id;
    }

    AcDbObjectId line_, point_, face_;
};

TEST_F(PickTest, AHandleNamesTheObject)
{
    EXPECT_EQ(pick(handle(point_), RTNORM), point_);
    EXPECT_EQ(pick(handle(line_), RTNORM), line_);
    std::wstring lower = handle(face_);
    for (wchar_t& c : lower)
        c = static_cast<wchar_t>(towlower(c));
    EXPECT_EQ(pick(lower, RTNORM), face_);
    EXPECT_EQ(pick(L"FFFFF", RTERROR), AcDbObjectId());
}

TEST_F(PickTest, APointTakesTheNearestObjectWithinTheAperture)
{
    ads_point pt = {0, 0, 0};
    EXPECT_EQ(pick(L"5,4.5", RTNORM, pt), point_);
    EXPECT_EQ(pt[0], 5.0);
    EXPECT_EQ(pt[1], 4.5);
    EXPECT_EQ(pick(L"3,0.4,7", RTNORM, pt), line_);
    EXPECT_EQ(pt[2], 7.0);
    EXPECT_EQ(pick(L"24.5,2", RTNORM), face_);          // near its right edge
    EXPECT_EQ(pick(L"22,2", RTERROR), AcDbObjectId());  // inside the face, far from its edges
    EXPECT_EQ(pick(L"50,50", RTERROR), AcDbObjectId());
    standin::editor::setPickAperture(100.0);
    EXPECT_EQ(pick(L"50,50", RTNORM), face_);
}

TEST_F(PickTest, EmptyAnswerErasedObjectsAndCancel)
{
    EXPECT_EQ(pick(L"", RTERROR), AcDbObjectId());
    ads_name name = {0, 0};
    acdbGetAdsName(name, point_);
    ASSERT_EQ(acdbEntDel(name), RTNORM);
    EXPECT_EQ(pick(handle(point_), RTERROR), AcDbObjectId());
    user().escape();
    ads_point pt;
    EXPECT_EQ(acedEntSel(nullptr, name, pt), RTCAN);
    EXPECT_EQ(user().prompts().back(), L"Select object: ");
}

TEST_F(PickTest, NonsenseIsRefusedAndKeywordsAreReturned)
{
    user().type(L"over there").type(handle(line_));
    ads_name name;
    ads_point pt;
    EXPECT_EQ(acedEntSel(L"Pick: ", name, pt), RTNORM);
    EXPECT_NE(user().output().find(L"*Invalid selection*"), std::wstring::npos);

    acedInitGet(0, L"Undo eXit");
    user().type(L"x");
    EXPECT_EQ(acedEntSel(L"Pick or [Undo/eXit]: ", name, pt), RTKWORD);
    ACHAR keyword[132] = {};
    EXPECT_EQ(acedGetInput(keyword), RTNORM);
    EXPECT_STREQ(keyword, L"eXit");
}

}  // namespace

namespace {

int errnoNow()
{
    resbuf rb{};
    EXPECT_EQ(acedGetVar(L"ERRNO", &rb), RTNORM);
    return rb.resval.rint;
}

TEST_F(EditorTest, AFailedPickTellsEmptySpaceFromAnEmptyAnswerInErrno)
{
    addLine(0, 0, 10, 0);
    struct Case {
        const wchar_t* answer;
        int errnoAfter;
    };
    const Case cases[] = {{L"50,50", 7}, {L"", 52}, {L"FFFFF", 7}, {L"  ", 52}};
    for (const Case& c : cases) {
        user().type(c.answer);
        ads_name name;
        ads_point pt;
        EXPECT_EQ(acedEntSel(nullptr, name, pt), RTERROR) << standin::narrow(c.answer);
        EXPECT_EQ(errnoNow(), c.errnoAfter) << standin::narrow(c.answer);
    }
    // A successful pick leaves ERRNO as it was.
    user().type(L"5,0");
    ads_name name;
    ads_point pt;
    EXPECT_EQ(acedEntSel(nullptr, name, pt), RTNORM);
    EXPECT_EQ(errnoNow(), 52);
}

}  // namespace
