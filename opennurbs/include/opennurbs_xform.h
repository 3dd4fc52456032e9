// 4 x 4 transformation matrices.
//
// m_xform[row][column]; points are column vectors, so the translation sits
// in column 3 and in A*B the transform B acts first.
#pragma once

#include "opennurbs_point.h"

class ON_CLASS ON_Xform
{
public:
  // The identity.
  ON_Xform();
  // The diagonal matrix (d, d, d, 1).
  explicit ON_Xform(double d);
  explicit ON_Xform(int d);
  explicit ON_Xform(const double m[4][4]);
  explicit ON_Xform(const float m[4][4]);

  static const ON_Xform IdentityTransformation;
  static const ON_Xform ZeroTransformation;

  double* operator[](int i)
  {
    return m_xform[i];
  }
  const double* operator[](int i) const
  {
    return m_xform[i];
  }
  double& operator()(int row, int col)
  {
    return m_xform[row][col];
  }
  double operator()(int row, int col) const
  {
    return m_xform[row][col];
  }

  bool operator==(const ON_Xform& other) const;
  bool operator!=(const ON_Xform& other) const;

  ON_Xform operator*(const ON_Xform& rhs) const;
  ON_Xform operator+(const ON_Xform& rhs) const;
  ON_Xform operator-(const ON_Xform& rhs) const;
  // M * (x, y, z, 1), divided by the fourth coordinate when it is not 0.
  ON_3dPoint operator*(const ON_3dPoint& p) const;
  ON_4dPoint operator*(const ON_4dPoint& p) const;
  // The upper-left 3 x 3 part applied to the vector.
  ON_3dVector operator*(const ON_3dVector& v) const;

  bool IsValid() const;
  bool IsIdentity(double zero_tolerance = 0.0) const;
  bool IsZero() const;

  void Identity();
  // All zeros except m_xform[3][3] = 1.
  void Zero();
  void Diagonal(double d);
  void Scale(double x_scale_factor, double y_scale_factor, double z_scale_factor);
  void Scale(const ON_3dVector& scale_vector);
  void Translation(double x, double y, double z);
  void Translation(const ON_3dVector& delta);
  // Rotation by angle (radians, counter-clockwise about the axis) around
  // the line through center.
  void Rotation(double angle, ON_3dVector axis, ON_3dPoint center);
  void Rotation(double sin_angle, double cos_angle, ON_3dVector axis, ON_3dPoint center);

  double Determinant(double* pivot = nullptr) const;
  // False, leaving the matrix as it was, when it is singular.
  bool Invert(double* pivot = nullptr);
  ON_Xform Inverse(double* pivot = nullptr) const;
  void Transpose();

  static ON_Xform DiagonalTransformation(double d);
  static ON_Xform DiagonalTransformation(double d0, double d1, double d2);
  static ON_Xform TranslationTransformation(const ON_3dVector& delta);
  static ON_Xform TranslationTransformation(double dx, double dy, double dz);
  static ON_Xform ScaleTransformation(const ON_3dPoint& fixed_point, double scale_factor);
  static ON_Xform RotationTransformation(double angle_radians, ON_3dVector rotation_axis, ON_3dPoint rotation_center);

  double m_xform[4][4];
};
