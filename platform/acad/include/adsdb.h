// Entity-name functions of the drawing database.
#pragma once

#include "adsdef.h"

// Erases the entity with the name, or un-erases it when it is erased: a
// second call undoes the first. Main entities (of a block record) only.
// RTNORM, or RTERROR for a bad name, an entity that is open, or an object
// that is not a main entity.
int acdbEntDel(const ads_name ent);
