// The openNURBS toolkit: points and vectors, arrays, meshes.
#pragma once

#include "opennurbs_defines.h"
#include "opennurbs_point.h"
#include "opennurbs_array.h"
#include "opennurbs_mesh.h"
