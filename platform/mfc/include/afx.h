// MFC core: CObject, run-time class information, exceptions, CString and the
// collections. Everything of the MFC stand-in is reachable through afxwin.h.
#pragma once

#include <windows.h>
#include <tchar.h>
#include "afxstr.h"

// Diagnostics: the release build of MFC compiles them away.
#ifndef ASSERT
#define ASSERT(f) ((void)0)
#endif
#ifndef VERIFY
#define VERIFY(f) ((void)(f))
#endif
#ifndef ASSERT_VALID
#define ASSERT_VALID(p) ((void)0)
#endif
#ifndef TRACE
#define TRACE(...) ((void)0)
#endif
#define AFX_EXT_CLASS
#define AFX_EXT_API
#define AFX_EXT_DATA
#define AFX_CDECL
#define AFXAPI
#define AFX_DATA
#define AFX_NOVTABLE
#define afx_msg

class CObject;

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();
    CRuntimeClass* m_pBaseClass;
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
    CObject* CreateObject() const;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)                                                                                    \
public:                                                                                                                \
    static CRuntimeClass* GetThisClass();                                                                              \
    virtual CRuntimeClass* GetRuntimeClass() const;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                                 \
    CRuntimeClass* class_name::GetThisClass()                                                                          \
    {                                                                                                                  \
        static CRuntimeClass rc = {#class_name, (int)sizeof(class_name), 0xFFFF, nullptr,                              \
                                   RUNTIME_CLASS(base_class_name)};                                                    \
        return &rc;                                                                                                    \
    }                                                                                                                  \
    CRuntimeClass* class_name::GetRuntimeClass() const                                                                 \
    {                                                                                                                  \
        return class_name::GetThisClass();                                                                             \
    }

#define DECLARE_DYNCREATE(class_name)                                                                                  \
    DECLARE_DYNAMIC(class_name)                                                                                        \
    static CObject* CreateObject();

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                                               \
    CObject* class_name::CreateObject()                                                                                \
    {                                                                                                                  \
        return new class_name;                                                                                         \
    }                                                                                                                  \
    CRuntimeClass* class_name::GetThisClass()                                                                          \
    {                                                                                                                  \
        static CRuntimeClass rc = {#class_name, (int)sizeof(class_name), 0xFFFF, &class_name::CreateObject,            \
                                   RUNTIME_CLASS(base_class_name)};                                                    \
        return &rc;                                                                                                    \
    }                                                                                                                  \
    CRuntimeClass* class_name::GetRuntimeClass() const                                                                 \
    {                                                                                                                  \
        return class_name::GetThisClass();                                                                             \
    }

class CObject {
public:
    virtual ~CObject() = default;
    static CRuntimeClass* GetThisClass();
    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* rc) const;

protected:
    CObject() = default;

private:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

// Exceptions are thrown as pointers and released with Delete(), as in MFC.
class CException : public CObject {
public:
    explicit CException(BOOL autoDelete = TRUE) : m_bAutoDelete(autoDelete) {}
    void Delete();
    virtual BOOL GetErrorMessage(LPTSTR error, UINT maxError, UINT* helpContext = NULL) const;
    virtual int ReportError(UINT type = MB_OK, UINT messageId = 0) const;

protected:
    BOOL m_bAutoDelete;
};

class CUserException : public CException {};
class CNotSupportedException : public CException {
public:
    BOOL GetErrorMessage(LPTSTR error, UINT maxError, UINT* helpContext = NULL) const override;
};
class CInvalidArgException : public CException {
public:
    BOOL GetErrorMessage(LPTSTR error, UINT maxError, UINT* helpContext = NULL) const override;
};
class CMemoryException : public CException {};
class CResourceException : public CException {};

[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowResourceException();

#define TRY try
#define CATCH(class_name, e) catch (class_name * e)
#define AND_CATCH(class_name, e) catch (class_name * e)
#define END_CATCH
#define CATCH_ALL(e) catch (CException * e)
#define AND_CATCH_ALL(e) catch (CException * e)
#define END_CATCH_ALL
#define THROW(e) throw e
#define THROW_LAST() throw

#include "afxcoll.h"
