// The base of everything with a place in space: points, curves,
// surfaces, meshes, instance references and annotation.
#pragma once

#include "opennurbs_bounding_box.h"
#include "opennurbs_object.h"
#include "opennurbs_point.h"

class ON_Xform;

class ON_CLASS ON_Geometry : public ON_Object
{
  ON_OBJECT_DECLARE(ON_Geometry);

public:
  ON_Geometry() = default;
  ON_Geometry(const ON_Geometry&) = default;
  ON_Geometry& operator=(const ON_Geometry&) = default;
  ~ON_Geometry() override;

  // Number of coordinates of the object's points; 3 unless a class says so.
  virtual int Dimension() const;
  // The empty box unless a class computes one.
  virtual ON_BoundingBox BoundingBox() const;
  // Applies the transform. False when the class cannot be transformed.
  virtual bool Transform(const ON_Xform& xform);

  bool Translate(const ON_3dVector& translation_vector);
  bool Scale(double scale_factor);
  bool Rotate(double rotation_angle, const ON_3dVector& rotation_axis, const ON_3dPoint& rotation_center);
};
