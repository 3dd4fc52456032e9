// Readable texts for the drawing database's status codes.
#pragma once

#include <afxwin.h>
#include <acadstrc.h>

// A short English phrase for a status code, such as "Invalid Input" for
// Acad::eInvalidInput; an empty text for a code that has none, including
// every negative code and the editor's result codes. Keeps no state.
CString ErrorStatusText(Acad::ErrorStatus status);
