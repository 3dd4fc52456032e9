// MFC's resource definitions for resource scripts and C++ code alike.
#pragma once
#include "winresrc.h"

#define AFX_IDP_PARSE_INT 0xF110
#define AFX_IDP_PARSE_REAL 0xF111
#define AFX_IDP_INTERNAL_FAILURE 0xF108
