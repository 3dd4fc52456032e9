// The library's constants read during the dynamic initialisation of a file
// that is initialised before all of the library's own files.
#include "opennurbs_circle.h"
#include "opennurbs_plane.h"

#include <gtest/gtest.h>

namespace
{
// Copied before any of the library's files has run an initialiser.
const ON_Plane kEarlyPlanes[6] = {ON_Plane::World_xy, ON_Plane::World_yz, ON_Plane::World_zx,
                                  ON_xy_plane,        ON_yz_plane,        ON_zx_plane};
const ON_3dVector kEarlyAxes[3] = {ON_3dVector::XAxis, ON_3dVector::YAxis, ON_3dVector::ZAxis};
const ON_Circle kEarlyCircle;

void ExpectFrame(const ON_Plane& p, const ON_3dVector& x, const ON_3dVector& y, const ON_3dVector& z)
{
  EXPECT_EQ(p.origin, ON_3dPoint(0.0, 0.0, 0.0));
  EXPECT_EQ(ON_3dPoint(p.xaxis), ON_3dPoint(x));
  EXPECT_EQ(ON_3dPoint(p.yaxis), ON_3dPoint(y));
  EXPECT_EQ(ON_3dPoint(p.zaxis), ON_3dPoint(z));
  EXPECT_EQ(p.plane_equation.x, z.x);
  EXPECT_EQ(p.plane_equation.y, z.y);
  EXPECT_EQ(p.plane_equation.z, z.z);
  EXPECT_EQ(p.plane_equation.d, 0.0);
  EXPECT_TRUE(p.IsValid());
}
}  // namespace

TEST(InitOrderTest, WorldPlanesAndAxesHoldTheirValuesBeforeTheLibraryRuns)
{
  const ON_3dVector X(1.0, 0.0, 0.0), Y(0.0, 1.0, 0.0), Z(0.0, 0.0, 1.0);
  EXPECT_EQ(ON_3dPoint(kEarlyAxes[0]), ON_3dPoint(X));
  EXPECT_EQ(ON_3dPoint(kEarlyAxes[1]), ON_3dPoint(Y));
  EXPECT_EQ(ON_3dPoint(kEarlyAxes[2]), ON_3dPoint(Z));
  for (int i = 0; i < 2; i++)
  {
    SCOPED_TRACE(i == 0 ? "ON_Plane::World_*" : "ON_*_plane");
    ExpectFrame(kEarlyPlanes[3 * i + 0], X, Y, Z);
    ExpectFrame(kEarlyPlanes[3 * i + 1], Y, Z, X);
    ExpectFrame(kEarlyPlanes[3 * i + 2], Z, X, Y);
  }
  // A default circle takes the world XY plane.
  EXPECT_TRUE(kEarlyCircle.IsValid());
  ExpectFrame(kEarlyCircle.plane, X, Y, Z);
}

TEST(InitOrderTest, TheLibraryHoldsTheSameValuesLater)
{
  ExpectFrame(ON_Plane::World_yz, ON_3dVector::YAxis, ON_3dVector::ZAxis, ON_3dVector::XAxis);
  ExpectFrame(ON_zx_plane, ON_3dVector::ZAxis, ON_3dVector::XAxis, ON_3dVector::YAxis);
}
