// MFC collections used by the system: CStringArray.
#pragma once

#include "afx.h"
#include <vector>

// A growable array of CStrings. Indexes outside the array throw
// CInvalidArgException*, as MFC 9 does after its debug assertion.
class CStringArray : public CObject {
public:
    CStringArray() = default;
    ~CStringArray() override = default;

    INT_PTR GetSize() const noexcept { return static_cast<INT_PTR>(m_items.size()); }
    INT_PTR GetCount() const noexcept { return GetSize(); }
    INT_PTR GetUpperBound() const noexcept { return GetSize() - 1; }
    BOOL IsEmpty() const noexcept { return m_items.empty(); }
    void SetSize(INT_PTR newSize, INT_PTR growBy = -1);
    void FreeExtra() { m_items.shrink_to_fit(); }
    void RemoveAll() noexcept { m_items.clear(); }

    const CString& GetAt(INT_PTR index) const;
    void SetAt(INT_PTR index, LPCTSTR element);
    void SetAt(INT_PTR index, const CString& element);
    CString& ElementAt(INT_PTR index);
    const CString& ElementAt(INT_PTR index) const;
    CString& operator[](INT_PTR index) { return ElementAt(index); }
    const CString& operator[](INT_PTR index) const { return GetAt(index); }
    const CString* GetData() const noexcept { return m_items.data(); }
    CString* GetData() noexcept { return m_items.data(); }

    void SetAtGrow(INT_PTR index, LPCTSTR element);
    void SetAtGrow(INT_PTR index, const CString& element);
    INT_PTR Add(LPCTSTR element);
    INT_PTR Add(const CString& element);
    INT_PTR Append(const CStringArray& source);
    void Copy(const CStringArray& source);

    void InsertAt(INT_PTR index, LPCTSTR element, INT_PTR count = 1);
    void InsertAt(INT_PTR index, const CString& element, INT_PTR count = 1);
    void InsertAt(INT_PTR startIndex, const CStringArray* newArray);
    void RemoveAt(INT_PTR index, INT_PTR count = 1);

private:
    void check(INT_PTR index) const;
    std::vector<CString> m_items;
};
