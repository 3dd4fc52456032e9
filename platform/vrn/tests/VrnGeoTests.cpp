// The geometry library's mesh builders.
#include <gtest/gtest.h>

#include "VrnGeo.h"

namespace {

ON_3dPoint P(double x, double y, double z)
{
    return ON_3dPoint(x, y, z);
}

}  // namespace

TEST(VrnMesh, EachCallAddsOneFaceWithItsOwnVerticesInTheOrderGiven)
{
    ON_Mesh mesh;
    EXPECT_EQ(VrnMesh::AddQuad(mesh, P(0, 0, 0), P(1, 0, 0), P(1, 1, 0), P(0, 1, 0)), 1);
    EXPECT_EQ(VrnMesh::AddTriangle(mesh, P(0, 0, 1), P(1, 0, 1), P(0, 1, 1)), 1);
    ASSERT_EQ(mesh.VertexCount(), 7);
    ASSERT_EQ(mesh.FaceCount(), 2);
    const ON_MeshFace& q = mesh.m_F[0];
    EXPECT_FALSE(q.IsTriangle());
    EXPECT_EQ(q.vi[0], 0);
    EXPECT_EQ(q.vi[3], 3);
    EXPECT_EQ(mesh.m_V[static_cast<unsigned>(q.vi[2])], ON_3fPoint(1.0f, 1.0f, 0.0f));
    const ON_MeshFace& t = mesh.m_F[1];
    EXPECT_TRUE(t.IsTriangle());
    EXPECT_EQ(t.vi[0], 4);
    EXPECT_EQ(t.vi[2], 6);
    EXPECT_EQ(t.vi[3], 6);
    EXPECT_TRUE(mesh.IsValid());
}

TEST(VrnMesh, AnInvalidCornerAddsNothing)
{
    ON_Mesh mesh;
    VrnMesh::AddTriangle(mesh, P(0, 0, 0), P(1, 0, 0), P(0, 1, 0));
    EXPECT_EQ(VrnMesh::AddQuad(mesh, P(0, 0, 0), ON_3dPoint::UnsetPoint, P(1, 1, 0), P(0, 1, 0)), 0);
    EXPECT_EQ(VrnMesh::AddTriangle(mesh, P(0, 0, 0), P(1, 0, 0), ON_3dPoint::UnsetPoint), 0);
    EXPECT_EQ(mesh.VertexCount(), 3);
    EXPECT_EQ(mesh.FaceCount(), 1);
}

TEST(VrnNurbsSurface, QuadIsTheBilinearPatchOfItsCornersInOutlineOrder)
{
    ON_NurbsSurface s;
    ASSERT_NE(VrnNurbsSurface::CreateQuad(s, P(0, 0, 0), P(2, 0, 0), P(2, 1, 0), P(0, 1, 1)), 0);
    EXPECT_TRUE(s.IsValid());
    EXPECT_EQ(s.Degree(0), 1);
    EXPECT_EQ(s.Degree(1), 1);
    EXPECT_EQ(s.CVCount(0), 2);
    EXPECT_EQ(s.CVCount(1), 2);
    EXPECT_FALSE(s.IsRational());
    ON_3dPoint p;
    ASSERT_TRUE(s.GetCV(1, 1, p));
    EXPECT_EQ(p, P(2, 1, 0));
    ASSERT_TRUE(s.GetCV(0, 1, p));
    EXPECT_EQ(p, P(0, 1, 1));
    EXPECT_EQ(s.Knot(0, 0), 0.0);
    EXPECT_EQ(s.Knot(1, 1), 1.0);
}

TEST(VrnNurbsSurface, TriangleCollapsesItsLastEdgeAndDegenerateCornersMakeNothing)
{
    ON_NurbsSurface s;
    ASSERT_NE(VrnNurbsSurface::CreateTriangle(s, P(0, 0, 0), P(1, 0, 0), P(0, 1, 0)), 0);
    ON_3dPoint a, b;
    s.GetCV(1, 1, a);
    s.GetCV(0, 1, b);
    EXPECT_EQ(a, P(0, 1, 0));
    EXPECT_EQ(b, P(0, 1, 0));

    ON_NurbsSurface untouched;
    EXPECT_EQ(VrnNurbsSurface::CreateQuad(untouched, P(0, 0, 0), P(1, 0, 0), P(2, 0, 0), P(3, 0, 0)), 0);
    EXPECT_EQ(VrnNurbsSurface::CreateTriangle(untouched, P(1, 1, 1), P(1, 1, 1), P(1, 1, 1)), 0);
    EXPECT_EQ(VrnNurbsSurface::CreateTriangle(untouched, P(0, 0, 0), ON_3dPoint::UnsetPoint, P(0, 1, 0)), 0);
    EXPECT_EQ(untouched.CVCount(), 0);
}
