//{{NO_DEPENDENCIES}}
// Resource identifiers of Kolvane.rc.
//
#define IDD_KOLVANE_OPTIONS 200
#define IDC_IMPORT_AS 200
#define IDC_WARNING 201

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Next default values for new objects
//
#ifdef APSTUDIO_INVOKED
#ifndef APSTUDIO_READONLY_SYMBOLS
#define _APS_NEXT_RESOURCE_VALUE 201
#define _APS_NEXT_COMMAND_VALUE 32771
#define _APS_NEXT_CONTROL_VALUE 202
#define _APS_NEXT_SYMED_VALUE 101
#endif
#endif
