//{{NO_DEPENDENCIES}}
// Symbols of sample.rc.
#define IDD_OPTIONS 200
#define IDC_MODE 200
#define IDC_WARNING 201
#define IDD_NAME 300
#define IDC_NAME 301
#define IDC_COUNT 302
#define IDC_APPLY 303
#define IDS_GREETING 1
#define IDS_FAREWELL 17
#define IDS_ACCENTS 18
#define IDC_MAYBE 304
#define IDD_BROKEN 500
#define IDC_LIST 501
#define IDC_SORTED 305
