// AcArray and the AcGe values.
#include <gtest/gtest.h>

#include <cmath>

#include "acarray.h"
#include "gemat3d.h"
#include "gept3dar.h"

TEST(AcArrayTest, GrowFindAndRemove)
{
    AcArray<int> a;
    EXPECT_TRUE(a.isEmpty());
    EXPECT_EQ(a.asArrayPtr(), nullptr);
    for (int v : {5, 7, 9, 7})
        a.append(v);
    EXPECT_EQ(a.append(11), 4);  // the new index
    EXPECT_EQ(a.length(), 5);
    EXPECT_EQ(a.logicalLength(), 5);
    EXPECT_EQ(a.first(), 5);
    EXPECT_EQ(a.last(), 11);
    EXPECT_EQ(a.at(2), 9);
    EXPECT_TRUE(a.contains(7));
    EXPECT_FALSE(a.contains(5, 1));
    int at = -1;
    EXPECT_TRUE(a.find(7, at));
    EXPECT_EQ(at, 1);
    EXPECT_TRUE(a.find(7, at, 2));
    EXPECT_EQ(at, 3);
    EXPECT_FALSE(a.find(8, at));
    EXPECT_EQ(at, 3);  // untouched when not found
    EXPECT_EQ(a.find(9), 2);
    a.removeAt(1);
    EXPECT_EQ(a[1], 9);
    EXPECT_EQ(a.asArrayPtr()[0], 5);
    a.setLogicalLength(2);
    EXPECT_EQ(a.length(), 2);
    a.setPhysicalLength(10);
    EXPECT_GE(a.physicalLength(), 10);
    EXPECT_EQ(a.length(), 2);
    a.setPhysicalLength(1);  // shrinking below the length cuts it
    EXPECT_EQ(a.length(), 1);
    a.removeAll();
    EXPECT_TRUE(a.isEmpty());
}

TEST(AcGeTest, TolerancesAndVectors)
{
    EXPECT_EQ(AcGeContext::gTol.equalPoint(), 1e-10);
    EXPECT_EQ(AcGeContext::gTol.equalVector(), 1e-10);
    AcGePoint3d p(1, 2, 3);
    EXPECT_TRUE(p.isEqualTo(AcGePoint3d(1, 2, 3 + 5e-11)));
    EXPECT_FALSE(p.isEqualTo(AcGePoint3d(1, 2, 3 + 1e-9)));

    AcGeVector3d x = AcGeVector3d::kXAxis, y = AcGeVector3d::kYAxis;
    EXPECT_TRUE(x.crossProduct(y).isEqualTo(AcGeVector3d::kZAxis));
    EXPECT_NEAR(x.angleTo(y), M_PI / 2, 1e-12);
    EXPECT_NEAR(x.angleTo(y, -AcGeVector3d::kZAxis), 3 * M_PI / 2, 1e-12);
    EXPECT_TRUE(x.isPerpendicularTo(y));
    EXPECT_TRUE(x.isParallelTo(-x));
    AcGeVector3d tiny(1e-12, 0, 0);
    tiny.normalize();
    EXPECT_EQ(tiny.x, 1e-12);  // too short to normalise: unchanged
    AcGeVector3d ortho;
    AcGeContext::gOrthoVector(AcGeVector3d(0, 0, 1), ortho);
    EXPECT_TRUE(ortho.isEqualTo(AcGeVector3d(1, 0, 0)));

    AcGeMatrix3d m;  // identity
    EXPECT_TRUE(m.isEqualTo(AcGeMatrix3d::kIdentity));
    m.setToTranslation(AcGeVector3d(1, 2, 3));
    EXPECT_EQ(m.entry[1][3], 2.0);
    AcGePoint3d q = m * AcGePoint3d(1, 1, 1);
    EXPECT_TRUE(q.isEqualTo(AcGePoint3d(2, 3, 4)));
    EXPECT_TRUE((m.inverse() * q).isEqualTo(AcGePoint3d(1, 1, 1)));
}
