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
