#include "DbTest.h"

TEST_F(DbTest, AppendedFaceIsInModelSpace)
{
    AcDbFace* face = new AcDbFace();
    EXPECT_EQ(face->setVertexAt(1, AcGePoint3d(1, 0, 0)), Acad::eOk);
    AcDbObjectId id = append(face);
    EXPECT_FALSE(id.isNull());
    EXPECT_EQ(standin::entityCount(modelSpaceId()), 1);
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(e->isA()->name(), L"AcDbFace");
    ACHAR* layer = e->layer();
    EXPECT_STREQ(layer, L"0");
    acutDelString(layer);
    e->close();
}
