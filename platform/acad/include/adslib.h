// The host's ADS interface, all of it.
#pragma once

#include "adsdef.h"
#include "adscodes.h"
#include "acutads.h"
#include "acedads.h"
#include "rxmfcapi.h"
