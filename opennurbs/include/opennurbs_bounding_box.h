// Axis-aligned bounding boxes.
#pragma once

#include "opennurbs_point.h"

class ON_CLASS ON_BoundingBox
{
public:
  // The empty box: m_min (1,0,0) above m_max (-1,0,0), not valid.
  ON_BoundingBox();
  ON_BoundingBox(const ON_3dPoint& min_pt, const ON_3dPoint& max_pt);

  static const ON_BoundingBox EmptyBoundingBox;

  // Every coordinate valid and m_min <= m_max in each direction.
  bool IsValid() const;
  void Destroy();
  const ON_3dPoint& Min() const
  {
    return m_min;
  }
  const ON_3dPoint& Max() const
  {
    return m_max;
  }
  ON_3dPoint Center() const;
  ON_3dVector Diagonal() const;
  // With bGrowBox and a valid box, the box grows to hold the point;
  // otherwise it becomes the point.
  bool Set(const ON_3dPoint& point, int bGrowBox = false);
  // Grows this box to hold other (an invalid box is ignored).
  bool Union(const ON_BoundingBox& other);
  bool IsPointIn(const ON_3dPoint& point, int bStrictlyIn = false) const;

  ON_3dPoint m_min;
  ON_3dPoint m_max;
};
