// A chain of curves that owns its segments.
#pragma once

#include "opennurbs_array.h"
#include "opennurbs_curve.h"

class ON_CLASS ON_PolyCurve : public ON_Curve
{
  ON_OBJECT_DECLARE(ON_PolyCurve);

public:
  ON_PolyCurve();
  explicit ON_PolyCurve(int capacity);
  // Deep copies: every segment is duplicated.
  ON_PolyCurve(const ON_PolyCurve& src);
  ON_PolyCurve& operator=(const ON_PolyCurve& src);
  // Deletes the segments.
  ~ON_PolyCurve() override;

  // Deletes the segments and empties the chain.
  void Destroy();

  // Takes ownership of curve: the pointer itself is kept and deleted with
  // the chain. The first segment keeps its domain; every later one spans
  // the length of its own domain from where the previous span ended. A
  // curve of another dimension is changed to the chain's. False for null,
  // for the chain itself, for a curve already in the chain or one without
  // an increasing domain; the curve then stays the caller's.
  bool Append(ON_Curve* curve);
  // Takes ownership as Append; the chain's start moves down.
  bool Prepend(ON_Curve* curve);

  int Count() const
  {
    return m_segment.Count();
  }
  // Null when out of range.
  ON_Curve* SegmentCurve(int segment_index) const;
  ON_Curve* operator[](int segment_index) const
  {
    return SegmentCurve(segment_index);
  }
  ON_Curve* FirstSegmentCurve() const
  {
    return SegmentCurve(0);
  }
  ON_Curve* LastSegmentCurve() const
  {
    return SegmentCurve(Count() - 1);
  }
  // The chain's parameters at the segment ends: Count()+1 values.
  bool SegmentParameters(ON_SimpleArray<double>& segment_parameters) const;
  // The part of the chain's domain that segment i covers.
  ON_Interval SegmentDomain(int segment_index) const;
  // The segment for chain parameter t: before the domain the first, after
  // it the last (0 for an empty chain).
  int SegmentIndex(double t) const;
  // Removes the last segment and hands it back to the caller; null when empty.
  ON_Curve* HarvestLastSegment();

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  int Dimension() const override;
  bool ChangeDimension(int desired_dimension) override;
  ON_BoundingBox BoundingBox() const override;
  bool Transform(const ON_Xform& xform) override;
  ON_Interval Domain() const override;
  bool SetDomain(double t0, double t1) override;
  bool Evaluate(double t, int der_count, int v_stride, double* v, int side = 0, int* hint = nullptr) const override;
  bool IsClosed() const override;
  bool Reverse() override;
  bool GetLength(double* length, double fractional_tolerance = 1.0e-8,
                 const ON_Interval* sub_domain = nullptr) const override;
  unsigned int SizeOf() const override;

private:
  ON_SimpleArray<ON_Curve*> m_segment;
  ON_SimpleArray<double> m_t;
};
