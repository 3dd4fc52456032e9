// Strings handed out by the database (layer(), linetype(), getName(ACHAR*&)).
#pragma once

#include "AdAChar.h"
#include "acadstrc.h"

// Frees a string that the host allocated, and sets the pointer to null.
void acutDelString(ACHAR*& string);
// A copy of the string that the caller frees with acutDelString (nullptr for nullptr).
ACHAR* acutNewString(const ACHAR* source);
Acad::ErrorStatus acutNewString(const ACHAR* source, ACHAR*& dest);
