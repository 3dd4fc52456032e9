// Definitions a resource script includes (styles, ids, languages).
#pragma once
#include "winresrc.h"
