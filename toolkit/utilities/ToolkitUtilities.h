// The utilities group of the drawing toolkit: database and editor utilities.
#pragma once

#include <afxwin.h>

// Holds the readable text of the utilities group's latest failure. The class
// is never instantiated: the text and its accessors are class-wide.
class CToolkitUtilities {
public:
    CToolkitUtilities() {}
    ~CToolkitUtilities() {}

    // A copy of the group's last failure text (empty before any failure).
    static CString GetLastErrorText();
    // Replaces the group's last failure text.
    static void SetLastErrorText(const CString& text);

protected:
    static CString LastErrorText;
};
