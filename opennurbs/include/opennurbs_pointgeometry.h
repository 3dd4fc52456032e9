// A single point as a geometry object.
#pragma once

#include "opennurbs_geometry.h"

class ON_CLASS ON_Point : public ON_Geometry
{
  ON_OBJECT_DECLARE(ON_Point);

public:
  // At the origin.
  ON_Point();
  ON_Point(const ON_3dPoint& pt);
  ON_Point(double x, double y, double z);
  ON_Point(const ON_Point&) = default;
  ON_Point& operator=(const ON_Point&) = default;
  ON_Point& operator=(const ON_3dPoint& pt);
  ~ON_Point() override;

  operator ON_3dPoint&()
  {
    return point;
  }
  operator const ON_3dPoint&() const
  {
    return point;
  }

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  ON::object_type ObjectType() const override;
  int Dimension() const override;
  ON_BoundingBox BoundingBox() const override;
  bool Transform(const ON_Xform& xform) override;

  ON_3dPoint point;
};
