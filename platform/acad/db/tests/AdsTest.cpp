// Entity names (ads_name) and acdbEntDel.
#include "DbTest.h"
#include "adscodes.h"
#include "adsdb.h"

TEST_F(DbTest, AdsNamesRoundTrip)
{
    AcDbObjectId id = append(new AcDbLine());
    ads_name name = {0, 0};
    ASSERT_EQ(acdbGetAdsName(name, id), Acad::eOk);
    AcDbObjectId back;
    ASSERT_EQ(acdbGetObjectId(back, name), Acad::eOk);
    EXPECT_EQ(back, id);

    EXPECT_EQ(acdbGetAdsName(name, AcDbObjectId::kNull), Acad::eNullObjectId);
    ads_name bogus = {123456, 987654};
    AcDbObjectId none;
    EXPECT_EQ(acdbGetObjectId(none, bogus), Acad::eInvalidAdsName);
    EXPECT_TRUE(none.isNull());

    // A name of a database that is gone names nothing.
    ads_name stale;
    {
        AcDbDatabase other;
        ASSERT_EQ(acdbGetAdsName(stale, other.layerZero()), Acad::eOk);
    }
    EXPECT_EQ(acdbGetObjectId(none, stale), Acad::eInvalidAdsName);
}

TEST_F(DbTest, EntDelToggles)
{
    AcDbObjectId id = append(new AcDbPoint());
    ads_name name;
    ASSERT_EQ(acdbGetAdsName(name, id), Acad::eOk);
    EXPECT_EQ(acdbEntDel(name), RTNORM);
    EXPECT_TRUE(id.isErased());
    EXPECT_EQ(standin::entityCount(modelSpaceId()), 0);
    EXPECT_EQ(acdbEntDel(name), RTNORM);
    EXPECT_FALSE(id.isErased());
    EXPECT_EQ(standin::entityCount(modelSpaceId()), 1);

    // An entity that is open cannot be deleted.
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(acdbEntDel(name), RTERROR);
    e->close();
    EXPECT_FALSE(id.isErased());

    // Only main entities: not a layer record.
    ads_name layerName;
    ASSERT_EQ(acdbGetAdsName(layerName, db()->layerZero()), Acad::eOk);
    EXPECT_EQ(acdbEntDel(layerName), RTERROR);
    ads_name bogus = {0, 0};
    EXPECT_EQ(acdbEntDel(bogus), RTERROR);
}
