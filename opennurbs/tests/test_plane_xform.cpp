#include "opennurbs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

namespace
{
struct PerpCase
{
  ON_3dVector v;
  ON_3dVector expected;
};

TEST(Vector, PerpendicularToPicksTheTwoLargestComponents)
{
  const PerpCase cases[] = {
      {ON_3dVector(0, 0, 1), ON_3dVector(1, 0, 0)},  {ON_3dVector(0, 0, -1), ON_3dVector(-1, 0, 0)},
      {ON_3dVector(1, 0, 0), ON_3dVector(0, 1, 0)},  {ON_3dVector(0, 1, 0), ON_3dVector(0, 0, 1)},
      {ON_3dVector(1, 2, 3), ON_3dVector(0, 3, -2)}, {ON_3dVector(1, 1, 1), ON_3dVector(-1, 1, 0)},
      {ON_3dVector(1, 1, 2), ON_3dVector(2, 0, -1)},
  };
  for (const PerpCase& c : cases)
  {
    ON_3dVector r(9, 9, 9);
    EXPECT_TRUE(r.PerpendicularTo(c.v));
    EXPECT_EQ(r, c.expected) << c.v.x << "," << c.v.y << "," << c.v.z;
    EXPECT_EQ(r * c.v, 0.0);
  }
  ON_3dVector z(9, 9, 9);
  EXPECT_FALSE(z.PerpendicularTo(ON_3dVector::ZeroVector));
}

struct PlaneCase
{
  ON_3dVector normal;
  ON_3dVector x;
  ON_3dVector y;
};

TEST(Plane, FromNormalFollowsTheToolkitsOwnXAxisRule)
{
  const double r2 = std::sqrt(2.0), r6 = std::sqrt(6.0);
  const PlaneCase cases[] = {
      {ON_3dVector(0, 0, 1), ON_3dVector(1, 0, 0), ON_3dVector(0, 1, 0)},
      {ON_3dVector(0, 0, -1), ON_3dVector(-1, 0, 0), ON_3dVector(0, 1, 0)},
      {ON_3dVector(1, 0, 0), ON_3dVector(0, 1, 0), ON_3dVector(0, 0, 1)},
      {ON_3dVector(0, 1, 0), ON_3dVector(0, 0, 1), ON_3dVector(1, 0, 0)},
      {ON_3dVector(0, 0, 5), ON_3dVector(1, 0, 0), ON_3dVector(0, 1, 0)},
      {ON_3dVector(1, 1, 1), ON_3dVector(-1 / r2, 1 / r2, 0), ON_3dVector(-1 / r6, -1 / r6, 2 / r6)},
  };
  const ON_3dPoint origin(1, 2, 3);
  for (const PlaneCase& c : cases)
  {
    const ON_Plane p(origin, c.normal);
    ON_3dVector n = c.normal;
    n.Unitize();
    EXPECT_TRUE(p.IsValid());
    EXPECT_EQ(p.origin, origin);
    EXPECT_NEAR((p.zaxis - n).Length(), 0.0, 1e-15);
    EXPECT_NEAR((p.xaxis - c.x).Length(), 0.0, 1e-15);
    EXPECT_NEAR((p.yaxis - c.y).Length(), 0.0, 1e-15);
    EXPECT_DOUBLE_EQ(p.plane_equation.d, -(n * ON_3dVector(origin)));
  }
  ON_Plane bad;
  EXPECT_FALSE(bad.CreateFromNormal(origin, ON_3dVector::ZeroVector));
  EXPECT_EQ(bad.zaxis, ON_3dVector::ZeroVector);
  EXPECT_FALSE(bad.IsValid());
}

TEST(Plane, DefaultIsWorldXYAndFrameKeepsTheXDirection)
{
  const ON_Plane w;
  EXPECT_EQ(w.origin, ON_3dPoint::Origin);
  EXPECT_EQ(w.zaxis, ON_3dVector::ZAxis);
  EXPECT_EQ(w.plane_equation.z, 1.0);
  EXPECT_EQ(w.plane_equation.d, 0.0);
  EXPECT_TRUE(ON_xy_plane.IsValid());

  // Major axis along x, a minor axis not quite perpendicular to it.
  const ON_Plane p(ON_3dPoint(1, 1, 0), ON_3dVector(0, 3, 0), ON_3dVector(-2, 0.5, 0));
  EXPECT_TRUE(p.IsValid());
  EXPECT_EQ(p.xaxis, ON_3dVector(0, 1, 0));
  EXPECT_NEAR((p.yaxis - ON_3dVector(-1, 0, 0)).Length(), 0.0, 1e-15);
  EXPECT_NEAR((p.zaxis - ON_3dVector(0, 0, 1)).Length(), 0.0, 1e-15);
  EXPECT_FALSE(ON_Plane().CreateFromFrame(ON_3dPoint::Origin, ON_3dVector(1, 0, 0), ON_3dVector(2, 0, 0)));
}

TEST(Xform, DefaultIsIdentityAndPointsAreColumnVectors)
{
  const ON_Xform id;
  EXPECT_TRUE(id.IsIdentity());
  EXPECT_EQ(id, ON_Xform::IdentityTransformation);
  EXPECT_EQ(ON_Xform(1.0), id);
  ON_Xform zero;
  zero.Zero();
  EXPECT_EQ(zero.m_xform[3][3], 1.0);
  EXPECT_EQ(zero.m_xform[0][0], 0.0);

  const ON_Xform t = ON_Xform::TranslationTransformation(1, 2, 3);
  EXPECT_EQ(t.m_xform[0][3], 1.0);
  EXPECT_EQ(t.m_xform[1][3], 2.0);
  EXPECT_EQ(t.m_xform[2][3], 3.0);
  EXPECT_EQ(t * ON_3dPoint(1, 1, 1), ON_3dPoint(2, 3, 4));
  // B acts first in A*B.
  const ON_Xform ts = ON_Xform::TranslationTransformation(1, 0, 0) * ON_Xform::DiagonalTransformation(2.0);
  EXPECT_EQ(ts * ON_3dPoint(1, 0, 0), ON_3dPoint(3, 0, 0));
  ON_Xform inv = ts;
  ASSERT_TRUE(inv.Invert());
  EXPECT_TRUE((inv * ts).IsIdentity(1e-15));
  ON_Xform singular;
  singular.Zero();
  EXPECT_FALSE(singular.Invert());

  const ON_Xform r = ON_Xform::RotationTransformation(0.5 * ON_PI, ON_3dVector::ZAxis, ON_3dPoint(1, 0, 0));
  const ON_3dPoint q = r * ON_3dPoint(2, 0, 0);
  EXPECT_NEAR(q.x, 1.0, 1e-15);
  EXPECT_NEAR(q.y, 1.0, 1e-15);
}

TEST(Color, PacksRedLowAndClamps)
{
  EXPECT_EQ((unsigned int)ON_Color(), 0u);
  EXPECT_EQ((unsigned int)ON_Color(10, 20, 30), 1971210u);
  EXPECT_EQ((unsigned int)ON_Color(10, 20, 30, 40), 0x281E140Au);
  EXPECT_EQ((unsigned int)ON_Color(300, -5, 128), 0x008000FFu);
  EXPECT_EQ((unsigned int)ON_Color::UnsetColor, 0xFFFFFFFFu);
  const ON_Color c(0x00336699u);
  EXPECT_EQ(c.Red(), 0x99);
  EXPECT_EQ(c.Green(), 0x66);
  EXPECT_EQ(c.Blue(), 0x33);
  EXPECT_EQ(c.Alpha(), 0);
  EXPECT_EQ(sizeof(ON_Color), 4u);
}

TEST(Attributes, ColourSourceDefaultsToLayerAndUnknownValuesMapThere)
{
  ON_3dmObjectAttributes a;
  EXPECT_EQ(a.ColorSource(), ON::color_from_layer);
  EXPECT_EQ((unsigned int)a.m_color, 0u);
  EXPECT_EQ(a.m_layer_index, 0);
  EXPECT_TRUE(a.m_name.IsEmpty());
  a.SetColorSource(ON::color_from_parent);
  EXPECT_EQ(a.ColorSource(), ON::color_from_parent);
  a.SetColorSource(ON::ObjectColorSource(7));
  EXPECT_EQ(a.ColorSource(), ON::color_from_layer);
  EXPECT_EQ(ON::ObjectColorSource(1), ON::color_from_object);
  EXPECT_EQ(ON::ObjectColorSource(-1), ON::color_from_layer);
}

TEST(Uuid, NewIdsAreVersion4UniqueAndRoundTripThroughText)
{
  EXPECT_TRUE(ON_UuidIsNil(ON_nil_uuid));
  std::set<std::string> seen;
  for (int i = 0; i < 200; i++)
  {
    ON_UUID u;
    ASSERT_TRUE(ON_CreateUuid(u));
    EXPECT_TRUE(ON_UuidIsNotNil(u));
    EXPECT_EQ(u.Data3 >> 12, 4);
    EXPECT_EQ(u.Data4[0] & 0xC0, 0x80);
    char s[37];
    ON_UuidToString(u, s);
    EXPECT_TRUE(seen.insert(s).second);
    EXPECT_EQ(ON_UuidFromString(s), u);
  }
  const ON_UUID t = ON_UuidFromString("{46F75541-F46B-48be-AA7E-B353BBE068A7}");
  EXPECT_EQ(t.Data1, 0x46F75541u);
  EXPECT_EQ(t.Data2, 0xF46B);
  EXPECT_EQ(t.Data4[7], 0xA7);
  EXPECT_EQ(ON_UuidFromString("not a uuid"), ON_nil_uuid);
  EXPECT_EQ(ON_UuidFromString("46F75541-F46B-48be-AA7E-B353BBE068"), ON_nil_uuid);
  EXPECT_EQ(ON_UuidCompare(&t, nullptr), 1);
  EXPECT_LT(ON_nil_uuid, t);
}

TEST(Interval, ParametersAndDirection)
{
  const ON_Interval unset;
  EXPECT_FALSE(unset.IsValid());
  EXPECT_TRUE(unset.IsEmptyInterval());
  ON_Interval i(2.0, 6.0);
  EXPECT_TRUE(i.IsIncreasing());
  EXPECT_EQ(i.Length(), 4.0);
  EXPECT_EQ(i.ParameterAt(0.25), 3.0);
  EXPECT_EQ(i.NormalizedParameterAt(5.0), 0.75);
  EXPECT_TRUE(i.Includes(6.0));
  EXPECT_FALSE(i.Includes(6.0, true));
  i.Reverse();
  EXPECT_EQ(i, ON_Interval(-6.0, -2.0));
  EXPECT_TRUE(ON_Interval(1.0, 0.0).IsDecreasing());
}
}  // namespace
