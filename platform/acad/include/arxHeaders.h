// Every header of the host's programming interface.
#pragma once

#include <windows.h>

#include "adesk.h"
#include "AdAChar.h"
#include "acadstrc.h"
#include "rxdefs.h"
#include "rxobject.h"
#include "rxdict.h"
#include "rxregsvc.h"
#include "rxdlinkr.h"
#include "accmd.h"
#include "aced.h"
#include "adslib.h"
#include "acdocman.h"
#include "AcApDMgr.h"
#include "acui.h"
#include "rxmfcapi.h"
#include "dbmain.h"
#include "dbsymtb.h"
#include "dbents.h"
#include "dbapserv.h"
#include "acrxEntryPoint.h"
