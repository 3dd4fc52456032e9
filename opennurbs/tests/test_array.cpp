#include "opennurbs.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
TEST(SimpleArray, StartsEmptyAndGrowsToFourThenDoubles)
{
  ON_SimpleArray<int> a;
  EXPECT_EQ(a.Count(), 0);
  EXPECT_EQ(a.Capacity(), 0);
  EXPECT_EQ(a.Array(), nullptr);
  EXPECT_EQ(a.First(), nullptr);
  EXPECT_EQ(a.Last(), nullptr);

  const int expected_capacity[] = {4, 4, 4, 4, 8, 8, 8, 8, 16};
  for (int i = 0; i < 9; i++)
  {
    a.Append(i * 10);
    EXPECT_EQ(a.Capacity(), expected_capacity[i]) << "after append " << i;
  }
  EXPECT_EQ(a.Count(), 9);
  EXPECT_EQ(*a.Last(), 80);
  EXPECT_EQ(*a.First(), 0);
  EXPECT_EQ(a.At(9), nullptr);
  EXPECT_EQ(a.At(-1), nullptr);
  EXPECT_EQ(*a.At(3), 30);

  ON_SimpleArray<int> reserved(10);
  EXPECT_EQ(reserved.Count(), 0);
  EXPECT_EQ(reserved.Capacity(), 10);
}

TEST(SimpleArray, AppendingOwnElementAcrossGrowthIsSafe)
{
  ON_SimpleArray<ON_3dPoint> a;
  for (int i = 0; i < 4; i++)
    a.Append(ON_3dPoint(i, i, i));
  ASSERT_EQ(a.Count(), a.Capacity());
  a.Append(a[1]);  // the buffer moves during this call
  a.Insert(0, a[4]);
  EXPECT_EQ(a.Count(), 6);
  EXPECT_EQ(a[0], ON_3dPoint(1, 1, 1));
  EXPECT_EQ(a[5], ON_3dPoint(1, 1, 1));

  ON_SimpleArray<int> b;
  for (int i = 0; i < 4; i++)
    b.Append(i);
  b.Append(4, b.Array());  // the whole array onto itself, with growth
  ASSERT_EQ(b.Count(), 8);
  for (int i = 0; i < 8; i++)
    EXPECT_EQ(b[i], i % 4);
}

TEST(SimpleArray, AppendNewZeroFillsEvenOverOldContents)
{
  ON_SimpleArray<ON_3fPoint> a;
  a.Append(ON_3fPoint(7.0f, 8.0f, 9.0f));
  a.SetCount(0);  // the old point stays in the buffer
  ON_3fPoint& p = a.AppendNew();
  EXPECT_EQ(p, ON_3fPoint(0.0f, 0.0f, 0.0f));
  EXPECT_EQ(a.Count(), 1);
}

TEST(SimpleArray, SetCountIsIgnoredAboveCapacity)
{
  ON_SimpleArray<int> a;
  a.SetCount(3);
  EXPECT_EQ(a.Count(), 0);
  a.Reserve(5);
  a.SetCount(6);
  EXPECT_EQ(a.Count(), 0);
  a.SetCount(5);
  EXPECT_EQ(a.Count(), 5);
  for (int i = 0; i < 5; i++)
    EXPECT_EQ(a[i], 0) << "fresh memory is zero-filled";
  a.SetCount(-1);
  EXPECT_EQ(a.Count(), 5);
}

TEST(SimpleArray, EmptyKeepsCapacityAndZeroFillsDestroyFrees)
{
  ON_SimpleArray<int> a;
  for (int i = 1; i <= 6; i++)
    a.Append(i);
  a.Empty();
  EXPECT_EQ(a.Count(), 0);
  EXPECT_EQ(a.Capacity(), 8);
  a.SetCount(8);
  for (int i = 0; i < 8; i++)
    EXPECT_EQ(a[i], 0);
  a.Destroy();
  EXPECT_EQ(a.Count(), 0);
  EXPECT_EQ(a.Capacity(), 0);
  EXPECT_EQ(a.Array(), nullptr);
}

TEST(SimpleArray, RemoveAndInsertShiftTheRest)
{
  ON_SimpleArray<int> a;
  for (int i = 0; i < 5; i++)
    a.Append(i);    // 0 1 2 3 4
  a.Remove(1);      // 0 2 3 4
  a.Insert(3, 9);   // 0 2 3 9 4
  a.Insert(5, 7);   // 0 2 3 9 4 7
  a.Remove();       // 0 2 3 9 4
  a.Remove(17);     // ignored
  a.Insert(-1, 5);  // ignored
  a.Insert(6, 5);   // ignored: past the end
  const int expected[] = {0, 2, 3, 9, 4};
  ASSERT_EQ(a.Count(), 5);
  for (int i = 0; i < 5; i++)
    EXPECT_EQ(a[i], expected[i]);
  EXPECT_EQ(a.Array()[5], 0) << "the slot given up by Remove is cleared";
}

TEST(SimpleArray, CopiesAreDeep)
{
  ON_SimpleArray<int> a;
  a.Append(1);
  a.Append(2);
  ON_SimpleArray<int> b(a);
  ON_SimpleArray<int> c;
  c = a;
  a[0] = 100;
  EXPECT_EQ(b.Count(), 2);
  EXPECT_EQ(b[0], 1);
  EXPECT_EQ(c[0], 1);
  EXPECT_NE(b.Array(), a.Array());
  c = c;
  EXPECT_EQ(c[1], 2);
  ON_SimpleArray<int> empty;
  c = empty;
  EXPECT_EQ(c.Count(), 0);

  ON_3fPointArray points;
  points.Append(ON_3fPoint(1, 2, 3));
  ON_3fPointArray copy = points;
  points[0].x = 5;
  EXPECT_EQ(copy[0], ON_3fPoint(1, 2, 3));
}

// Counts constructions, destructions and assignments.
struct Counted
{
  static int constructed, destroyed, assigned;
  static void Reset()
  {
    constructed = destroyed = assigned = 0;
  }
  std::string text = "default";
  Counted()
  {
    constructed++;
  }
  Counted(const Counted& o) : text(o.text)
  {
    constructed++;
  }
  Counted(Counted&& o) noexcept : text(std::move(o.text))
  {
    constructed++;
  }
  Counted& operator=(const Counted& o)
  {
    text = o.text;
    assigned++;
    return *this;
  }
  Counted& operator=(Counted&& o) noexcept
  {
    text = std::move(o.text);
    assigned++;
    return *this;
  }
  ~Counted()
  {
    destroyed++;
  }
};
int Counted::constructed = 0;
int Counted::destroyed = 0;
int Counted::assigned = 0;

TEST(ClassArray, GrowingConstructsEverySlotAndAppendAssigns)
{
  Counted::Reset();
  {
    ON_ClassArray<Counted> a;
    Counted x;
    x.text = "first";
    Counted::Reset();
    a.Append(x);
    EXPECT_EQ(Counted::constructed, 4);
    EXPECT_EQ(Counted::assigned, 1);
    EXPECT_EQ(a.Count(), 1);
    EXPECT_EQ(a.Capacity(), 4);
    EXPECT_EQ(a[0].text, "first");
    EXPECT_EQ(a.AppendNew().text, "default");
    Counted::Reset();
  }
  // The array and x are gone: every slot up to the capacity was destroyed.
  EXPECT_EQ(Counted::destroyed, 5);
}

TEST(ClassArray, ElementsSurviveGrowthAndCopiesAreDeep)
{
  ON_ClassArray<Counted> a;
  for (int i = 0; i < 40; i++)
    a.AppendNew().text = "element " + std::to_string(i) + " with a long enough text to leave SSO";
  ON_ClassArray<Counted> b(a);
  a[3].text = "changed";
  ASSERT_EQ(b.Count(), 40);
  for (int i = 0; i < 40; i++)
    EXPECT_EQ(b[i].text, "element " + std::to_string(i) + " with a long enough text to leave SSO");
  b.Append(b[39]);  // an element of the array itself while it grows
  EXPECT_EQ(b[40].text, b[39].text);
}

TEST(ClassArray, EmptyReconstructsUsedSlotsAndKeepsCapacity)
{
  ON_ClassArray<Counted> a;
  for (int i = 0; i < 3; i++)
    a.AppendNew().text = "x";
  Counted::Reset();
  a.Empty();
  EXPECT_EQ(Counted::destroyed, 3);
  EXPECT_EQ(Counted::constructed, 3);
  EXPECT_EQ(a.Count(), 0);
  EXPECT_EQ(a.Capacity(), 4);
  a.SetCount(3);
  EXPECT_EQ(a[2].text, "default");
  a.Destroy();
  EXPECT_EQ(a.Capacity(), 0);
  EXPECT_EQ(a.Array(), nullptr);
}

TEST(ClassArray, RemoveShiftsElementsDown)
{
  ON_ClassArray<Counted> a;
  for (const char* t : {"a", "b", "c"})
    a.AppendNew().text = t;
  a.Remove(0);
  ASSERT_EQ(a.Count(), 2);
  EXPECT_EQ(a[0].text, "b");
  EXPECT_EQ(a[1].text, "c");
  a.Remove(5);
  EXPECT_EQ(a.Count(), 2);
}

TEST(ClassArray, InsertShiftsElementsUpAndTakesItsOwnElement)
{
  ON_ClassArray<Counted> a;
  for (const char* t : {"a", "b", "c", "d"})
    a.AppendNew().text = t;
  ASSERT_EQ(a.Count(), a.Capacity());
  a.Insert(0, a[3]);  // the buffer moves and the elements shift during this call
  a.Insert(2, a[2]);  // no growth; the element itself shifts
  a.Insert(a.Count(), a[0]);
  a.Insert(-1, a[0]);             // ignored
  a.Insert(a.Count() + 1, a[0]);  // ignored: past the end
  const char* expected[] = {"d", "a", "b", "b", "c", "d", "d"};
  ASSERT_EQ(a.Count(), 7);
  for (int i = 0; i < 7; i++)
    EXPECT_EQ(a[i].text, expected[i]) << i;
  EXPECT_EQ(a.At(7), nullptr);
  EXPECT_EQ(a.At((ON__INT64)-1), nullptr);
  EXPECT_EQ(a.At((ON__UINT64)7), nullptr);
  EXPECT_EQ(a.At((ON__UINT64)6)->text, "d");
  a.Remove();
  a.Remove(0);
  ASSERT_EQ(a.Count(), 5);
  EXPECT_EQ(a[0].text, "a");
  EXPECT_EQ(a[4].text, "d");
  EXPECT_EQ(a.Array()[5].text, "default") << "the slots given up by Remove are re-constructed";
  EXPECT_EQ(a.Array()[6].text, "default");
}

TEST(ClassArray, HoldsMeshes)
{
  ON_ClassArray<ON_Mesh> meshes;
  for (int i = 0; i < 9; i++)
  {
    ON_Mesh& m = meshes.AppendNew();
    for (int v = 0; v <= i + 2; v++)
      m.SetVertex(v, ON_3fPoint((float)v, (float)i, 0.0f));
    m.SetTriangle(0, 0, 1, 2);
    EXPECT_EQ(m.Topology().TopEdgeCount(), 3);
  }
  for (int i = 0; i < 9; i++)
  {
    EXPECT_EQ(meshes[i].VertexCount(), i + 3);
    EXPECT_EQ(meshes[i].m_V[0].y, (float)i);
    EXPECT_EQ(meshes[i].Topology().TopVertexCount(), i + 3);
  }
}
}  // namespace
