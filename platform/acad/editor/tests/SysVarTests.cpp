// System variables: types, read-only variables, ranges, 16-bit integers,
// the release in _VERNUM and the current layer.
#include <cstdlib>
#include <cwchar>

#include "acedads.h"
#include "acutads.h"

#include "EditorTest.h"

namespace {

using SysVarTest = EditorTest;

struct TypeCase {
    const wchar_t* name;
    int type;
};

TEST_F(SysVarTest, EachVariableComesWithItsOwnType)
{
    const TypeCase cases[] = {
        {L"_VERNUM", RTSTR},   {L"_vernum", RTSTR},   {L"ACADVER", RTSTR},  {L"DWGNAME", RTSTR}, {L"CMDECHO", RTSHORT},
        {L"FILEDIA", RTSHORT}, {L"OSMODE", RTSHORT},  {L"PDMODE", RTSHORT}, {L"PDSIZE", RTREAL}, {L"LTSCALE", RTREAL},
        {L"CLAYER", RTSTR},    {L"cmdecho", RTSHORT}, {L"LtScale", RTREAL}, {L"ERRNO", RTSHORT},
    };
    for (const TypeCase& c : cases) {
        // The host writes restype whatever the buffer held.
        resbuf* rb = acutNewRb(c.type == RTSTR ? RTREAL : RTSTR);
        ASSERT_EQ(acedGetVar(c.name, rb), RTNORM) << c.name;
        EXPECT_EQ(rb->restype, c.type) << c.name;
        if (rb->restype == RTSTR) {
            EXPECT_NE(rb->resval.rstring, nullptr) << c.name;
        }
        acutRelRb(rb);  // frees the string the host allocated
    }
}

TEST_F(SysVarTest, VernumCarriesTheReleaseLetterUnderItsOwnNameOnly)
{
    // The underscore belongs to "_VERNUM"; no other name takes one.
    for (const wchar_t* name : {L"VERNUM", L"_LTSCALE", L"__VERNUM"}) {
        resbuf none{};
        EXPECT_EQ(acedGetVar(name, &none), RTERROR) << name;
    }
    resbuf rb{};
    ASSERT_EQ(acedGetVar(L"_VERNUM", &rb), RTNORM);
    EXPECT_STREQ(rb.resval.rstring, L"E.206.0.0 (UNICODE)");
    std::free(rb.resval.rstring);

    standin::editor::setHostRelease(L'D');
    ASSERT_EQ(acedGetVar(L"_vernum", &rb), RTNORM);
    EXPECT_EQ(rb.resval.rstring[0], L'D');
    std::free(rb.resval.rstring);
    ASSERT_EQ(acedGetVar(L"ACADVER", &rb), RTNORM);
    EXPECT_STREQ(rb.resval.rstring, L"18.0s (LMS Tech)");
    std::free(rb.resval.rstring);
}

int errnoNow()
{
    resbuf rb{};
    EXPECT_EQ(acedGetVar(L"ERRNO", &rb), RTNORM);
    return rb.resval.rint;
}

TEST_F(SysVarTest, ReadOnlyAndUnknownVariablesAreRefused)
{
    EXPECT_EQ(errnoNow(), 0);
    for (const wchar_t* name : {L"_VERNUM", L"ACADVER", L"DWGNAME"}) {
        resbuf* rb = acutNewRb(RTSTR);
        rb->resval.rstring = wcsdup(L"X.1");
        EXPECT_EQ(acedSetVar(name, rb), RTERROR) << name;
        acutRelRb(rb);
        EXPECT_EQ(errnoNow(), 20) << name;  // a read-only variable
        resbuf now{};
        ASSERT_EQ(acedGetVar(name, &now), RTNORM);
        EXPECT_STRNE(now.resval.rstring, L"X.1") << name;
        std::free(now.resval.rstring);
    }
    resbuf rb{};
    rb.restype = RTSHORT;
    rb.resval.rint = 7;
    EXPECT_EQ(acedGetVar(L"NOSUCHVAR", &rb), RTERROR);
    EXPECT_EQ(rb.restype, RTSHORT);
    EXPECT_EQ(rb.resval.rint, 7);
    EXPECT_EQ(acedSetVar(L"NOSUCHVAR", &rb), RTERROR);
    EXPECT_EQ(acedGetVar(nullptr, &rb), RTERROR);
}

struct SetCase {
    const wchar_t* name;
    int type;
    double value;
    int expected;
};

TEST_F(SysVarTest, ValuesOutOfRangeOrOfTheWrongTypeAreRefused)
{
    const SetCase cases[] = {
        {L"CMDECHO", RTSHORT, 0, RTNORM},   {L"CMDECHO", RTSHORT, 2, RTERROR}, {L"FILEDIA", RTSHORT, -1, RTERROR},
        {L"PDMODE", RTSHORT, 3, RTNORM},    {L"PDMODE", RTSHORT, 35, RTNORM},  {L"PDMODE", RTSHORT, 5, RTERROR},
        {L"OSMODE", RTREAL, 1.5, RTERROR},  {L"OSMODE", RTSTR, 0, RTERROR},    {L"LTSCALE", RTREAL, 2.5, RTNORM},
        {L"LTSCALE", RTREAL, 0.0, RTERROR}, {L"LTSCALE", RTSHORT, 3, RTNORM},  {L"PDSIZE", RTREAL, -2.0, RTNORM},
        {L"CLAYER", RTSHORT, 1, RTERROR},
    };
    for (const SetCase& c : cases) {
        resbuf* rb = acutNewRb(c.type);
        if (c.type == RTSHORT)
            rb->resval.rint = static_cast<short>(c.value);
        else if (c.type == RTREAL)
            rb->resval.rreal = c.value;
        else
            rb->resval.rstring = wcsdup(L"1");
        const int before = errnoNow();
        EXPECT_EQ(acedSetVar(c.name, rb), c.expected) << c.name << " " << c.value;
        acutRelRb(rb);
        // A refusal sets ERRNO; a success leaves it as it was.
        EXPECT_EQ(errnoNow(), c.expected == RTNORM ? before : 22) << c.name << " " << c.value;
    }
    resbuf zero{};
    zero.restype = RTSHORT;
    EXPECT_EQ(acedSetVar(L"ERRNO", &zero), RTERROR);  // applications only read it
    EXPECT_EQ(errnoNow(), 20);
    resbuf now{};
    ASSERT_EQ(acedGetVar(L"LTSCALE", &now), RTNORM);
    EXPECT_EQ(now.resval.rreal, 3.0);  // the short became the real's value
}

TEST_F(SysVarTest, IntegersAreSixteenBits)
{
    resbuf rb{};
    rb.restype = RTSHORT;
    rb.resval.rint = static_cast<short>(70000);
    ASSERT_EQ(acedSetVar(L"USERI1", &rb), RTNORM);
    resbuf now{};
    ASSERT_EQ(acedGetVar(L"USERI1", &now), RTNORM);
    EXPECT_EQ(now.resval.rint, 4464);
    rb.resval.rint = -1;
    ASSERT_EQ(acedSetVar(L"USERI1", &rb), RTNORM);
    ASSERT_EQ(acedGetVar(L"USERI1", &now), RTNORM);
    EXPECT_EQ(now.resval.rint, -1);
}

TEST_F(SysVarTest, CurrentLayerMustNameALayerOfTheDrawing)
{
    AcDbLayerTable* layers = nullptr;
    ASSERT_EQ(db()->getLayerTable(layers, AcDb::kForWrite), Acad::eOk);
    auto* walls = new AcDbLayerTableRecord();
    ASSERT_EQ(walls->setName(L"Walls"), Acad::eOk);
    AcDbObjectId wallsId;
    ASSERT_EQ(layers->add(wallsId, walls), Acad::eOk);
    walls->close();
    layers->close();

    resbuf* rb = acutNewRb(RTSTR);
    rb->resval.rstring = wcsdup(L"walls");
    EXPECT_EQ(acedSetVar(L"CLAYER", rb), RTNORM);
    EXPECT_EQ(db()->clayer(), wallsId);
    acutRelRb(rb);

    rb = acutNewRb(RTSTR);
    rb->resval.rstring = wcsdup(L"NoSuchLayer");
    EXPECT_EQ(acedSetVar(L"CLAYER", rb), RTERROR);
    EXPECT_EQ(db()->clayer(), wallsId);
    acutRelRb(rb);

    resbuf now{};
    ASSERT_EQ(acedGetVar(L"CLAYER", &now), RTNORM);
    EXPECT_STREQ(now.resval.rstring, L"Walls");
    std::free(now.resval.rstring);
}

TEST(ResultBuffers, BuildListAndReleaseFreeTheirStrings)
{
    const ads_point p = {1, 2, 3};
    resbuf* list = acutBuildList(RTSTR, L"text", RTSHORT, 7, RTREAL, 2.5, RT3DPOINT, p, RTDXF0, L"LINE", RTNONE);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->restype, RTSTR);
    EXPECT_STREQ(list->resval.rstring, L"text");
    EXPECT_EQ(list->rbnext->resval.rint, 7);
    EXPECT_EQ(list->rbnext->rbnext->resval.rreal, 2.5);
    EXPECT_EQ(list->rbnext->rbnext->rbnext->resval.rpoint[2], 3.0);
    EXPECT_STREQ(list->rbnext->rbnext->rbnext->rbnext->resval.rstring, L"LINE");
    EXPECT_EQ(list->rbnext->rbnext->rbnext->rbnext->rbnext, nullptr);
    EXPECT_EQ(acutRelRb(list), RTNORM);
    EXPECT_EQ(acutBuildList(12345, 1, RTNONE), nullptr);
}

}  // namespace
