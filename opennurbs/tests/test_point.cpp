#include "opennurbs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <type_traits>

namespace
{
// True when a brace list {1.0, 2.0, 3.0} converts to P in a call.
template <class P> auto BraceConverts(int) -> decltype(std::declval<void (*)(P)>()({1.0, 2.0, 3.0}), std::true_type());
template <class P> std::false_type BraceConverts(...);

struct PlainTriple
{
  double a, b, c;
};

const float kNaNf = std::numeric_limits<float>::quiet_NaN();

TEST(Point, ThreeArgumentConstructorsAreExplicit)
{
  // Brace lists must not turn into points or vectors behind the caller's back.
  static_assert(decltype(BraceConverts<PlainTriple>(0))::value, "the check itself works");
  static_assert(!decltype(BraceConverts<ON_3dPoint>(0))::value, "");
  static_assert(!decltype(BraceConverts<ON_3dVector>(0))::value, "");
  static_assert(!decltype(BraceConverts<ON_3fPoint>(0))::value, "");
  static_assert(std::is_constructible<ON_3dPoint, double, double, double>::value, "");
  static_assert(std::is_trivially_copyable<ON_3dPoint>::value, "");
  static_assert(std::is_trivially_copyable<ON_3fPoint>::value, "");
  static_assert(sizeof(ON_3fPoint) == 12, "");
  // Widening is implicit, narrowing is not.
  static_assert(std::is_convertible<ON_3fPoint, ON_3dPoint>::value, "");
  static_assert(!std::is_convertible<ON_3dPoint, ON_3fPoint>::value, "");
  static_assert(!std::is_convertible<ON_3dVector, ON_3dPoint>::value, "");
}

TEST(Point, EqualityIsExactWithSignedZeroEqualAndNaNUnequal)
{
  EXPECT_TRUE(ON_3fPoint(-0.0f, 0.0f, -0.0f) == ON_3fPoint(0.0f, -0.0f, 0.0f));
  EXPECT_TRUE(ON_3dPoint(-0.0, 0.0, 0.0) == ON_3dPoint(0.0, 0.0, 0.0));
  const ON_3fPoint n(kNaNf, 0.0f, 0.0f);
  EXPECT_FALSE(n == n);
  EXPECT_TRUE(n != n);
  EXPECT_FALSE(ON_3dPoint(1.0, 2.0, 3.0) == ON_3dPoint(1.0, 2.0, std::nextafter(3.0, 4.0)));
  EXPECT_TRUE(ON_2fPoint(1.0f, 2.0f) == ON_2fPoint(1.0f, 2.0f));
  EXPECT_TRUE(ON_2fPoint(1.0f, 2.0f) != ON_2fPoint(1.0f, 2.5f));
}

TEST(Point, WideningIsExactAndNarrowingRounds)
{
  const ON_3fPoint f(0.1f, -1e-30f, 3.0e38f);
  const ON_3dPoint d = f;
  EXPECT_EQ(d.x, (double)0.1f);
  EXPECT_EQ(d.y, (double)-1e-30f);
  EXPECT_EQ(d.z, (double)3.0e38f);
  const ON_3fPoint back(ON_3dPoint(0.1, 0.2, 0.3));
  EXPECT_EQ(back.x, 0.1f);
  EXPECT_EQ(back.y, 0.2f);
  EXPECT_EQ(back.z, 0.3f);
}

TEST(Point, ArithmeticKeepsPointsAndVectorsApart)
{
  const ON_3dPoint a(1.0, 2.0, 3.0), b(4.0, 6.0, 3.0);
  const ON_3dVector ab = b - a;
  static_assert(std::is_same<decltype(b - a), ON_3dVector>::value, "");
  static_assert(std::is_same<decltype(a + ab), ON_3dPoint>::value, "");
  EXPECT_EQ(ab, ON_3dVector(3.0, 4.0, 0.0));
  EXPECT_EQ(a + ab, b);
  EXPECT_EQ(b - ab, a);
  EXPECT_EQ(2.0 * a, ON_3dPoint(2.0, 4.0, 6.0));
  EXPECT_EQ(a / 2.0, ON_3dPoint(0.5, 1.0, 1.5));
  EXPECT_DOUBLE_EQ(a.DistanceTo(b), 5.0);
  EXPECT_DOUBLE_EQ(ab.Length(), 5.0);
  EXPECT_DOUBLE_EQ(ab * ON_3dVector(1.0, 1.0, 1.0), 7.0);
  EXPECT_EQ(ON_CrossProduct(ON_3dVector::XAxis, ON_3dVector::YAxis), ON_3dVector::ZAxis);
  EXPECT_EQ(a[0], 1.0);
  EXPECT_EQ(a[2], 3.0);

  const ON_3fPoint fa(1.0f, 2.0f, 3.0f), fb(1.0f, 2.0f, 5.0f);
  static_assert(std::is_same<decltype(fb - fa), ON_3fVector>::value, "");
  EXPECT_EQ(fb - fa, ON_3fVector(0.0f, 0.0f, 2.0f));
  EXPECT_EQ(fa + (fb - fa), fb);
}

TEST(Point, LengthDoesNotOverflowAndUnitizeRejectsZero)
{
  EXPECT_DOUBLE_EQ(ON_3dVector(3e200, 4e200, 0.0).Length(), 5e200);
  EXPECT_DOUBLE_EQ(ON_3dVector(0.0, -3e-200, 4e-200).Length(), 5e-200);

  ON_3dVector v(0.0, 3.0, 4.0);
  EXPECT_TRUE(v.Unitize());
  EXPECT_DOUBLE_EQ(v.y, 0.6);
  EXPECT_DOUBLE_EQ(v.z, 0.8);

  ON_3dVector zero(0.0, 0.0, 0.0);
  EXPECT_FALSE(zero.Unitize());
  EXPECT_TRUE(zero.IsZero());

  ON_3dVector bad(std::numeric_limits<double>::infinity(), 1.0, 0.0);
  EXPECT_FALSE(bad.Unitize());
  EXPECT_TRUE(bad.IsZero());

  ON_3fVector fv(kNaNf, 1.0f, 0.0f);
  EXPECT_FALSE(fv.Unitize());
  EXPECT_TRUE(fv.IsZero());
}

TEST(Point, ValidityRejectsUnsetAndNaN)
{
  EXPECT_TRUE(ON_3dPoint(0.0, 1e300, -1e300).IsValid());
  EXPECT_FALSE(ON_3dPoint::UnsetPoint.IsValid());
  EXPECT_FALSE(ON_3dPoint(std::nan(""), 0.0, 0.0).IsValid());
  EXPECT_TRUE(ON_3fPoint(1e38f, 0.0f, 0.0f).IsValid());
  EXPECT_FALSE(ON_3fPoint(2e38f, 0.0f, 0.0f).IsValid());
  EXPECT_FALSE(ON_3fPoint(ON_UNSET_FLOAT, 0.0f, 0.0f).IsValid());
  EXPECT_FALSE(ON_3fPoint(0.0f, kNaNf, 0.0f).IsValid());
}
}  // namespace
