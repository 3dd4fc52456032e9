// Polylines: lists of points joined by straight segments.
#pragma once

#include "opennurbs_array.h"
#include "opennurbs_line.h"

class ON_CLASS ON_Polyline : public ON_3dPointArray
{
public:
  ON_Polyline() = default;
  ON_Polyline(const ON_3dPointArray& points);
  ON_Polyline(const ON_Polyline&) = default;
  ON_Polyline(ON_Polyline&&) = default;
  ON_Polyline& operator=(const ON_Polyline&) = default;
  ON_Polyline& operator=(ON_Polyline&&) = default;
  ON_Polyline& operator=(const ON_3dPointArray& points);
  ~ON_Polyline() override = default;

  // At least 2 valid points, no two consecutive points alike (within the
  // tolerance when it is positive), and with fewer than 4 points a first
  // point different from the last.
  bool IsValid(double tolerance = 0.0) const;
  // At least 4 points, the last at the first, and some point between them
  // away from both. With a positive tolerance points are alike within that
  // distance; otherwise they must be equal in all three coordinates.
  bool IsClosed(double tolerance = 0.0) const;

  int PointCount() const
  {
    return Count();
  }
  int SegmentCount() const
  {
    return Count() > 0 ? Count() - 1 : 0;
  }
  double Length() const;
  // Segment i from point i to point i+1; both ends at the origin when out of range.
  ON_Line Segment(int segment_index) const;
  ON_3dVector SegmentDirection(int segment_index) const;
  // Parameter i is point i; between them the segment is linear. Before 0 the
  // first segment is extended; from the last parameter on, the last point.
  ON_3dPoint PointAt(double t) const;
  bool ClosestPointTo(const ON_3dPoint& point, double* t) const;
};
