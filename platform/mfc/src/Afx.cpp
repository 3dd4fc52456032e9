// MFC core: run-time classes, exceptions and CStringArray.
#include "afxwin.h"

#include <cstring>

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == base)
            return TRUE;
    return FALSE;
}

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

CRuntimeClass* CObject::GetThisClass()
{
    static CRuntimeClass rc = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr};
    return &rc;
}

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return GetThisClass();
}

BOOL CObject::IsKindOf(const CRuntimeClass* rc) const
{
    return GetRuntimeClass()->IsDerivedFrom(rc);
}

// --- exceptions ------------------------------------------------------------------

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

namespace {
BOOL copyMessage(const wchar_t* text, LPTSTR error, UINT maxError, UINT* helpContext)
{
    if (helpContext)
        *helpContext = 0;
    if (!error || maxError == 0)
        return FALSE;
    size_t n = std::wcslen(text);
    if (n >= maxError)
        n = maxError - 1;
    std::wmemcpy(error, text, n);
    error[n] = 0;
    return TRUE;
}
}  // namespace

BOOL CException::GetErrorMessage(LPTSTR error, UINT maxError, UINT* helpContext) const
{
    if (helpContext)
        *helpContext = 0;
    if (error && maxError)
        error[0] = 0;
    return FALSE;
}

int CException::ReportError(UINT type, UINT messageId) const
{
    wchar_t text[512];
    if (GetErrorMessage(text, 512, nullptr))
        return AfxMessageBox(text, type);
    if (messageId)
        return AfxMessageBox(messageId, type);
    return AfxMessageBox(L"No error message is available.", type);
}

BOOL CNotSupportedException::GetErrorMessage(LPTSTR error, UINT maxError, UINT* helpContext) const
{
    return copyMessage(L"An unsupported operation was attempted.", error, maxError, helpContext);
}

BOOL CInvalidArgException::GetErrorMessage(LPTSTR error, UINT maxError, UINT* helpContext) const
{
    return copyMessage(L"Encountered an improper argument.", error, maxError, helpContext);
}

void AfxThrowUserException()
{
    throw new CUserException;
}
void AfxThrowNotSupportedException()
{
    throw new CNotSupportedException;
}
void AfxThrowInvalidArgException()
{
    throw new CInvalidArgException;
}
void AfxThrowMemoryException()
{
    throw new CMemoryException;
}
void AfxThrowResourceException()
{
    throw new CResourceException;
}

// --- CStringArray --------------------------------------------------------------------

void CStringArray::check(INT_PTR index) const
{
    if (index < 0 || index >= GetSize())
        AfxThrowInvalidArgException();
}

void CStringArray::SetSize(INT_PTR newSize, INT_PTR)
{
    if (newSize < 0)
        AfxThrowInvalidArgException();
    m_items.resize(static_cast<size_t>(newSize));
}

const CString& CStringArray::GetAt(INT_PTR index) const
{
    check(index);
    return m_items[static_cast<size_t>(index)];
}

void CStringArray::SetAt(INT_PTR index, LPCTSTR element)
{
    check(index);
    m_items[static_cast<size_t>(index)] = element;
}

void CStringArray::SetAt(INT_PTR index, const CString& element)
{
    check(index);
    m_items[static_cast<size_t>(index)] = element;
}

CString& CStringArray::ElementAt(INT_PTR index)
{
    check(index);
    return m_items[static_cast<size_t>(index)];
}

const CString& CStringArray::ElementAt(INT_PTR index) const
{
    check(index);
    return m_items[static_cast<size_t>(index)];
}

void CStringArray::SetAtGrow(INT_PTR index, LPCTSTR element)
{
    SetAtGrow(index, CString(element));
}

void CStringArray::SetAtGrow(INT_PTR index, const CString& element)
{
    if (index < 0)
        AfxThrowInvalidArgException();
    if (index >= GetSize())
        m_items.resize(static_cast<size_t>(index) + 1);
    m_items[static_cast<size_t>(index)] = element;
}

INT_PTR CStringArray::Add(LPCTSTR element)
{
    return Add(CString(element));
}

INT_PTR CStringArray::Add(const CString& element)
{
    m_items.push_back(element);
    return GetSize() - 1;
}

INT_PTR CStringArray::Append(const CStringArray& source)
{
    INT_PTR old = GetSize();
    if (&source == this) {
        std::vector<CString> copy = m_items;
        m_items.insert(m_items.end(), copy.begin(), copy.end());
    } else {
        m_items.insert(m_items.end(), source.m_items.begin(), source.m_items.end());
    }
    return old;
}

void CStringArray::Copy(const CStringArray& source)
{
    if (&source != this)
        m_items = source.m_items;
}

void CStringArray::InsertAt(INT_PTR index, LPCTSTR element, INT_PTR count)
{
    InsertAt(index, CString(element), count);
}

void CStringArray::InsertAt(INT_PTR index, const CString& element, INT_PTR count)
{
    if (index < 0 || count < 0)
        AfxThrowInvalidArgException();
    if (count == 0)
        return;
    CString value(element);  // the element may be one of ours
    if (index >= GetSize())
        m_items.resize(static_cast<size_t>(index));
    m_items.insert(m_items.begin() + index, static_cast<size_t>(count), value);
}

void CStringArray::InsertAt(INT_PTR startIndex, const CStringArray* newArray)
{
    if (!newArray || startIndex < 0)
        AfxThrowInvalidArgException();
    std::vector<CString> copy = newArray->m_items;
    if (startIndex >= GetSize())
        m_items.resize(static_cast<size_t>(startIndex));
    m_items.insert(m_items.begin() + startIndex, copy.begin(), copy.end());
}

void CStringArray::RemoveAt(INT_PTR index, INT_PTR count)
{
    if (index < 0 || count < 0 || index + count > GetSize())
        AfxThrowInvalidArgException();
    m_items.erase(m_items.begin() + index, m_items.begin() + index + count);
}
