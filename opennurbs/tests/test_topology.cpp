#include "opennurbs.h"
