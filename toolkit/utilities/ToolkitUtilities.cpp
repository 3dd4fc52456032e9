#include "ToolkitUtilities.h"

CString CToolkitUtilities::LastErrorText;

CString CToolkitUtilities::GetLastErrorText()
{
    return LastErrorText;
}

void CToolkitUtilities::SetLastErrorText(const CString& text)
{
    LastErrorText = text;
}
