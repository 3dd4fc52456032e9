// The geometry library's mesh builders.
#include <gtest/gtest.h>

#include "VrnGeo.h"

namespace {

ON_3dPoint P(double x, double y, double z) { return ON_3dPoint(x, y, z); }

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
