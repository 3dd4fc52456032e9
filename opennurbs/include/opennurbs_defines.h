// Basic types, export decoration and constants of the openNURBS toolkit.
#pragma once

#include <cstddef>
#include <cstdint>

// Everything the library exports stays visible even when a client module is
// built with hidden visibility.
#define ON_CLASS __attribute__((visibility("default")))
#define ON_DECL __attribute__((visibility("default")))
#define ON_EXTERN_DECL __attribute__((visibility("default")))

typedef std::int8_t ON__INT8;
typedef std::uint8_t ON__UINT8;
typedef std::int16_t ON__INT16;
typedef std::uint16_t ON__UINT16;
typedef std::int32_t ON__INT32;
typedef std::uint32_t ON__UINT32;
typedef std::int64_t ON__INT64;
typedef std::uint64_t ON__UINT64;

#define ON_PI 3.141592653589793238462643
#define ON_DEGREES_TO_RADIANS (ON_PI / 180.0)
#define ON_RADIANS_TO_DEGREES (180.0 / ON_PI)
#define ON_SQRT2 1.414213562373095048801689

#define ON_EPSILON 2.2204460492503131e-16
#define ON_SQRT_EPSILON 1.490116119385000000e-8
#define ON_FLOAT_EPSILON 1.192092896e-07
#define ON_SQRT_FLOAT_EPSILON 3.452669830725202719e-4
#define ON_ZERO_TOLERANCE 2.3283064365386962890625e-10
#define ON_RELATIVE_TOLERANCE 2.27373675443232059478759765625e-13

// Marker values for "not set". A coordinate is valid only when it lies
// strictly between -UNSET and +UNSET and is not NaN.
#define ON_UNSET_VALUE (-1.23432101234321e+308)
#define ON_UNSET_POSITIVE_VALUE (1.23432101234321e+308)
#define ON_UNSET_FLOAT (-1.234321e+38f)
#define ON_UNSET_POSITIVE_FLOAT (1.234321e+38f)
#define ON_UNSET_INT_INDEX (-2147483647)

#define ON_IS_VALID(x) ((x) > ON_UNSET_VALUE && (x) < ON_UNSET_POSITIVE_VALUE)
#define ON_IS_VALID_FLOAT(x) ((x) > ON_UNSET_FLOAT && (x) < ON_UNSET_POSITIVE_FLOAT)

ON_DECL bool ON_IsValid(double x);
ON_DECL bool ON_IsValidFloat(float x);

class ON_TextLog;

// Enumerations and small helpers shared by the whole toolkit.
class ON_CLASS ON
{
public:
  // Where an object takes its display colour from.
  enum object_color_source
  {
    color_from_layer = 0,
    color_from_object = 1,
    color_from_material = 2,
    color_from_parent = 3
  };
  // Unknown values map to color_from_layer.
  static object_color_source ObjectColorSource(int i);

  // Kinds of objects, as bit flags.
  enum object_type
  {
    unknown_object_type = 0,
    point_object = 1,
    pointset_object = 2,
    curve_object = 4,
    surface_object = 8,
    brep_object = 0x10,
    mesh_object = 0x20,
    layer_object = 0x40,
    material_object = 0x80,
    light_object = 0x100,
    annotation_object = 0x200,
    userdata_object = 0x400,
    instance_definition = 0x800,
    instance_reference = 0x1000,
    text_dot = 0x2000,
    grip_object = 0x4000,
    detail_object = 0x8000,
    hatch_object = 0x10000,
    morph_control_object = 0x20000,
    loop_object = 0x80000,
    polysrf_filter = 0x200000,
    edge_filter = 0x400000,
    polyedge_filter = 0x800000,
    meshvertex_object = 0x01000000,
    meshedge_object = 0x02000000,
    meshface_object = 0x04000000,
    cage_object = 0x08000000,
    phantom_object = 0x10000000,
    clipplane_object = 0x20000000,
    extrusion_object = 0x40000000,
    any_object = 0xFFFFFFFF
  };

  // Kinds of annotation.
  enum eAnnotationType
  {
    dtNothing = 0,
    dtDimLinear = 1,
    dtDimAligned = 2,
    dtDimAngular = 3,
    dtDimDiameter = 4,
    dtDimRadius = 5,
    dtLeader = 6,
    dtTextBlock = 7,
    dtDimOrdinate = 8
  };

  // How annotation text sits against its dimension line.
  enum eTextDisplayMode
  {
    dtNormal = 0,
    dtHorizontal = 1,
    dtAboveLine = 2,
    dtInLine = 3
  };
};

// True when two points of the given dimension lie at one place: every
// coordinate pair differs by at most ON_ZERO_TOLERANCE, or by at most
// ON_RELATIVE_TOLERANCE times the sum of their magnitudes. With
// bRational the last coordinate is a weight and the points are compared
// after dividing by it.
ON_DECL bool ON_PointsAreCoincident(int dim, bool bRational, const double* pointA, const double* pointB);
