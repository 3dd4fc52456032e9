// Utility functions of the host's ADS interface: command-line output and
// result buffers.
#pragma once

#include "AdAChar.h"
#include "adscodes.h"
#include "adsdef.h"

// Prints on the host's command line. The format follows the wide printf
// rules of the platform (%s and %ls a wide string, %S and %hs a narrow one,
// %c a wide character). Returns the number of characters printed, or a
// negative value for a null format.
int acutPrintf(const ACHAR* format, ...);

// A new result buffer of the given type (restype set, rbnext null, the value
// zeroed). No string storage is allocated: a string put into a result
// buffer must be allocated with malloc (wcsdup), as acutRelRb frees it.
struct resbuf* acutNewRb(int type);

// Frees the whole chain from rb on, and every string held by a buffer of
// type RTSTR (or a group code that holds a string). RTNORM.
int acutRelRb(struct resbuf* rb);

// A new chain from type/value pairs ending with 0 or RTNONE: RTSTR takes a
// const ACHAR*, RTSHORT an int, RTLONG an int, RTREAL a double, RTPOINT and
// RT3DPOINT an ads_point (const double*), RTENAME an ads_name; a DXF group
// code takes the value its range holds (0-9 strings, 10-19 points, 38-59
// reals, 60-79 shorts). nullptr for an unknown type. Free it with acutRelRb.
struct resbuf* acutBuildList(int rtype, ...);
