#define IDD_PICK       400
#define IDC_CHOICE     401
#define IDS_MODULE_NAME 7
