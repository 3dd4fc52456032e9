// The conversion group of the drawing toolkit: geometry to and from entities.
#pragma once

#include "ToolkitUtilities.h"

// Holds the readable text of the conversion group's latest failure, apart
// from the utilities group's. Never instantiated.
class CToolkitConversion : public CToolkitUtilities {
public:
    CToolkitConversion() {}
    ~CToolkitConversion() {}

    // A copy of the group's last failure text (empty before any failure).
    static CString GetLastErrorText();
    // Replaces the group's last failure text.
    static void SetLastErrorText(const CString& text);

protected:
    static CString LastErrorText;
};
