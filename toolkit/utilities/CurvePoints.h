// Points along a curve entity.
#pragma once

#include "acarray.h"
#include "dbcurve.h"
#include "gepnt3d.h"

// Appends to points the curve's points at parameters start, start + d,
// start + 2d, ... below the end parameter, then the end point, where d is
// step / length x (end - start): points step apart along a curve whose
// parameter grows with its length. The array is not cleared first. A step of
// 0 or less appends the start point and the end point when the end parameter
// lies above the start parameter, and the end point alone otherwise (as every
// step does then). curve is open for read and stays so. Returns 1.
int GetCurvePoints(AcDbCurve* curve, double step, AcArray<AcGePoint3d>& points);
