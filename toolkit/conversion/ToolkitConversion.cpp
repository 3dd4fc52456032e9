#include "ToolkitConversion.h"

CString CToolkitConversion::LastErrorText;

CString CToolkitConversion::GetLastErrorText()
{
    return LastErrorText;
}

void CToolkitConversion::SetLastErrorText(const CString& text)
{
    LastErrorText = text;
}
