// ACHAR: the character type of the AutoCAD API (wide, as in the Unicode build).
#pragma once

typedef wchar_t ACHAR;

#define _ACRX_T(x) L##x
#define ACRX_T(x) _ACRX_T(x)
