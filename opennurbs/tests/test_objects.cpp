#include "opennurbs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace
{
// The object bases carry no data: a mesh costs no more than before.
static_assert(sizeof(ON_Object) == sizeof(void*), "");
static_assert(sizeof(ON_Geometry) == sizeof(void*), "");

TEST(RunTimeClass, CastsFollowTheHierarchy)
{
  ON_SimpleArray<ON_Geometry*> objects;
  objects.Append(new ON_Point(ON_3dPoint(1, 2, 3)));
  objects.Append(new ON_LineCurve(ON_3dPoint(0, 0, 0), ON_3dPoint(1, 0, 0)));
  objects.Append(new ON_ArcCurve());
  objects.Append(new ON_NurbsCurve());
  objects.Append(new ON_PolylineCurve());
  objects.Append(new ON_Mesh());
  objects.Append(new ON_NurbsSurface());
  objects.Append(new ON_InstanceRef());
  objects.Append(new ON_TextEntity2());
  const char* names[] = {"ON_Point", "ON_LineCurve",    "ON_ArcCurve",    "ON_NurbsCurve", "ON_PolylineCurve",
                         "ON_Mesh",  "ON_NurbsSurface", "ON_InstanceRef", "ON_TextEntity2"};
  for (int i = 0; i < objects.Count(); i++)
  {
    const ON_Geometry* g = objects[i];
    EXPECT_STREQ(g->ClassId()->ClassName(), names[i]);
    EXPECT_TRUE(g->IsKindOf(ON_CLASS_ID(ON_Geometry)));
    EXPECT_TRUE(g->IsKindOf(&ON_Object::m_ON_Object_class_rtti));
    EXPECT_EQ(ON_Curve::Cast(g) != nullptr, i >= 1 && i <= 4) << names[i];
    EXPECT_EQ(ON_Surface::Cast(g) != nullptr, i == 6) << names[i];
    EXPECT_EQ(ON_Annotation2::Cast(g) != nullptr, i == 8) << names[i];
  }
  EXPECT_NE(ON_LineCurve::Cast(objects[1]), nullptr);
  EXPECT_EQ(ON_LineCurve::Cast(objects[2]), nullptr);
  EXPECT_EQ(ON_ArcCurve::Cast(objects[1]), nullptr);
  EXPECT_NE(ON_Mesh::Cast(objects[5]), nullptr);
  EXPECT_EQ(ON_Mesh::Cast(objects[0]), nullptr);
  EXPECT_EQ(ON_Point::Cast(static_cast<const ON_Object*>(nullptr)), nullptr);
  EXPECT_EQ(ON_Point::Cast(objects[0])->point, ON_3dPoint(1, 2, 3));
  EXPECT_EQ(objects[5]->ObjectType(), ON::mesh_object);
  EXPECT_EQ(objects[1]->ObjectType(), ON::curve_object);
  EXPECT_EQ(objects[7]->ObjectType(), ON::instance_reference);

  // Each class's uuid is its own.
  const ON_UUID text_id = ON_TextEntity2::m_ON_TextEntity2_class_rtti.Uuid();
  EXPECT_EQ(text_id, ON_UuidFromString("46F75541-F46B-48be-AA7E-B353BBE068A7"));
  EXPECT_NE(ON_CLASS_ID(ON_LineCurve)->Uuid(), ON_CLASS_ID(ON_ArcCurve)->Uuid());

  // Duplicates are of the object's own class; deleting through the base frees all.
  std::unique_ptr<ON_Object> dup(objects[1]->DuplicateObject());
  EXPECT_NE(ON_LineCurve::Cast(dup.get()), nullptr);
  EXPECT_EQ(ON_Curve().DuplicateObject(), nullptr);
  for (int i = 0; i < objects.Count(); i++)
    delete objects[i];
}

TEST(Instances, DefinitionNameAndIdReferenceDefaults)
{
  ON_ClassArray<ON_InstanceDefinition> defs;
  ON_InstanceDefinition& d = defs.AppendNew();
  EXPECT_STREQ(d.Name(), L"");
  EXPECT_TRUE(ON_UuidIsNil(d.Uuid()));
  const ON_UUID id = ON_CreateUuid();
  d.SetName(L"Chair");
  d.SetUuid(id);
  EXPECT_EQ(std::wcscmp(defs[0].Name(), L"Chair"), 0);
  EXPECT_EQ(defs[0].Uuid(), id);
  EXPECT_EQ(defs[0].Id(), id);
  const ON_ClassArray<ON_InstanceDefinition> copy(defs);
  EXPECT_EQ(std::wcscmp(copy[0].Name(), L"Chair"), 0);

  ON_InstanceRef r;
  EXPECT_TRUE(ON_UuidIsNil(r.m_instance_definition_uuid));
  EXPECT_TRUE(r.m_xform.IsIdentity());
  EXPECT_FALSE(r.m_bbox.IsValid());
  EXPECT_FALSE(r.IsValid());
  r.m_instance_definition_uuid = id;
  EXPECT_TRUE(r.IsValid());
  r.Transform(ON_Xform::TranslationTransformation(1, 2, 3));
  EXPECT_EQ(r.m_xform.m_xform[2][3], 3.0);
}

TEST(Text, DefaultTextEntityIsAnEmptyTextBlock)
{
  const ON_TextEntity2 t;
  EXPECT_EQ(t.m_type, ON::dtTextBlock);
  EXPECT_STREQ(t.UserText(), L"");
  EXPECT_EQ(t.m_points.Count(), 0);
  EXPECT_TRUE(t.m_plane.IsValid());
  EXPECT_EQ(t.m_plane.zaxis, ON_3dVector::ZAxis);
  EXPECT_EQ(t.FontIndex(), 0);
  EXPECT_EQ(t.ObjectType(), ON::annotation_object);
}

TEST(MeshGeometry, MeshKeepsItsBehaviourAsGeometry)
{
  ON_Mesh m;
  m.SetVertex(0, ON_3dPoint(0, 0, 0));
  m.SetVertex(1, ON_3dPoint(2, 0, 0));
  m.SetVertex(2, ON_3dPoint(0, 3, 1));
  m.SetTriangle(0, 0, 1, 2);
  ON_Geometry* g = &m;
  EXPECT_TRUE(g->IsValid());
  const ON_BoundingBox b = g->BoundingBox();
  EXPECT_EQ(b.m_min, ON_3dPoint(0, 0, 0));
  EXPECT_EQ(b.m_max, ON_3dPoint(2, 3, 1));
  EXPECT_EQ(m.Topology().TopEdgeCount(), 3);
  ASSERT_TRUE(g->Translate(ON_3dVector(1, 0, 0)));
  EXPECT_EQ(m.m_V[1], ON_3fPoint(3, 0, 0));
  EXPECT_FALSE(m.TopologyExists());
  std::unique_ptr<ON_Mesh> dup(m.Duplicate());
  EXPECT_EQ(dup->VertexCount(), 3);
}

TEST(NurbsSurface, BilinearPatchEvaluates)
{
  ON_NurbsSurface s;
  EXPECT_FALSE(s.IsValid());
  EXPECT_FALSE(s.Create(3, false, 2, 2, 1, 2));
  ASSERT_TRUE(s.Create(3, false, 2, 2, 2, 2));
  EXPECT_EQ(s.KnotCount(0), 2);
  EXPECT_EQ(s.CVCount(), 4);
  ASSERT_TRUE(s.MakeClampedUniformKnotVector(0));
  ASSERT_TRUE(s.MakeClampedUniformKnotVector(1));
  s.SetCV(0, 0, ON_3dPoint(0, 0, 0));
  s.SetCV(1, 0, ON_3dPoint(2, 0, 0));
  s.SetCV(0, 1, ON_3dPoint(0, 2, 0));
  s.SetCV(1, 1, ON_3dPoint(2, 2, 4));
  ASSERT_TRUE(s.IsValid());
  EXPECT_EQ(s.Domain(0), ON_Interval(0.0, 1.0));
  const ON_3dPoint p = s.PointAt(0.5, 0.5);
  EXPECT_NEAR(p.DistanceTo(ON_3dPoint(1, 1, 1)), 0.0, 1e-15);
  EXPECT_NEAR(s.PointAt(1.0, 1.0).DistanceTo(ON_3dPoint(2, 2, 4)), 0.0, 1e-15);
  EXPECT_FALSE(s.SetKnot(0, 2, 1.0));
  EXPECT_EQ(s.CV(2, 0), nullptr);
  const ON_NurbsSurface copy(s);
  EXPECT_NEAR(copy.PointAt(0.25, 0.75).DistanceTo(s.PointAt(0.25, 0.75)), 0.0, 0.0);
  EXPECT_EQ(s.BoundingBox().m_max, ON_3dPoint(2, 2, 4));
}
}  // namespace
