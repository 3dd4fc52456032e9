// CString: MFC's wide string (CStringT<wchar_t> in the UNICODE build).
//
// The object holds a single pointer to its characters, so it can be handed
// to printf-style functions ("%s") as MFC's can. Indexes and counts are ints
// as in MFC; positions out of range are clamped as CStringT clamps them.
#pragma once

#include <windows.h>
#include <cstdarg>
#include <type_traits>

class CString {
public:
    typedef wchar_t XCHAR;
    typedef const wchar_t* PCXSTR;
    typedef wchar_t* PXSTR;

    CString() noexcept;
    CString(const CString& other);
    CString(CString&& other) noexcept;
    // A value made with MAKEINTRESOURCE loads that string from the current
    // resources, as CStringT does.
    CString(const wchar_t* text);
    CString(const wchar_t* text, int length);
    // Narrow text is UTF-8 (ASCII being a part of it).
    CString(const char* text);
    CString(const char* text, int length);
    CString(const unsigned char* text);
    explicit CString(wchar_t ch, int repeat = 1);
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(CString&& other) noexcept;
    CString& operator=(const wchar_t* text);
    CString& operator=(const char* text);
    CString& operator=(wchar_t ch);

    int GetLength() const noexcept;
    BOOL IsEmpty() const noexcept;
    void Empty();
    operator LPCTSTR() const noexcept { return m_pszData; }
    LPCTSTR GetString() const noexcept { return m_pszData; }
    void SetString(const wchar_t* text);
    void SetString(const wchar_t* text, int length);

    // Direct access to the buffer: after writing, ReleaseBuffer sets the
    // length (-1: up to the first NUL).
    LPTSTR GetBuffer();
    LPTSTR GetBuffer(int minBufferLength);
    LPTSTR GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);
    void ReleaseBufferSetLength(int newLength);
    void Preallocate(int length);
    void FreeExtra();
    int GetAllocLength() const noexcept;

    wchar_t GetAt(int index) const;
    void SetAt(int index, wchar_t ch);
    template <typename I, typename = typename std::enable_if<std::is_integral<I>::value>::type>
    wchar_t operator[](I index) const
    {
        return GetAt(static_cast<int>(index));
    }

    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;
    CString SpanIncluding(const wchar_t* charSet) const;
    CString SpanExcluding(const wchar_t* charSet) const;

    int Find(wchar_t ch, int start = 0) const noexcept;
    int Find(const wchar_t* sub, int start = 0) const noexcept;
    int ReverseFind(wchar_t ch) const noexcept;
    int FindOneOf(const wchar_t* charSet) const noexcept;

    int Replace(wchar_t oldChar, wchar_t newChar);
    int Replace(const wchar_t* oldText, const wchar_t* newText);
    int Remove(wchar_t ch);
    int Insert(int index, wchar_t ch);
    int Insert(int index, const wchar_t* text);
    int Delete(int index, int count = 1);

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    CString& Trim();
    CString& Trim(wchar_t target);
    CString& Trim(const wchar_t* targets);
    CString& TrimLeft();
    CString& TrimLeft(wchar_t target);
    CString& TrimLeft(const wchar_t* targets);
    CString& TrimRight();
    CString& TrimRight(wchar_t target);
    CString& TrimRight(const wchar_t* targets);

    int Compare(const wchar_t* text) const noexcept;
    int CompareNoCase(const wchar_t* text) const noexcept;

    CString& operator+=(const CString& text);
    CString& operator+=(const wchar_t* text);
    CString& operator+=(const char* text);
    CString& operator+=(wchar_t ch);
    CString& operator+=(char ch);
    void Append(const wchar_t* text);
    void Append(const wchar_t* text, int length);
    void Append(const CString& text);
    void AppendChar(wchar_t ch);

    // Wide printf rules: see standin/WideFormat.h.
    void Format(const wchar_t* format, ...);
    void FormatV(const wchar_t* format, va_list args);
    void AppendFormat(const wchar_t* format, ...);
    void AppendFormatV(const wchar_t* format, va_list args);

    // The next token after `start`, skipping leading delimiters; `start`
    // becomes -1 (and the result empty) when no token is left.
    CString Tokenize(const wchar_t* tokens, int& start) const;

    // Loads string `id` from the current resources (FALSE when missing).
    BOOL LoadStringW(UINT id);
    BOOL LoadStringW(HINSTANCE instance, UINT id);

private:
    void assign(const wchar_t* text, int length);
    void reserve(int capacity, bool keep);
    void setLength(int length);
    wchar_t* m_pszData;
};

static_assert(sizeof(CString) == sizeof(void*), "CString holds one pointer");

typedef CString CStringW;

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const wchar_t* b);
CString operator+(const wchar_t* a, const CString& b);
CString operator+(const CString& a, wchar_t b);
CString operator+(wchar_t a, const CString& b);
CString operator+(const CString& a, const char* b);
CString operator+(const char* a, const CString& b);

bool operator==(const CString& a, const CString& b) noexcept;
bool operator==(const CString& a, const wchar_t* b) noexcept;
bool operator==(const wchar_t* a, const CString& b) noexcept;
bool operator!=(const CString& a, const CString& b) noexcept;
bool operator!=(const CString& a, const wchar_t* b) noexcept;
bool operator!=(const wchar_t* a, const CString& b) noexcept;
bool operator<(const CString& a, const CString& b) noexcept;
bool operator<(const CString& a, const wchar_t* b) noexcept;
bool operator<(const wchar_t* a, const CString& b) noexcept;
bool operator>(const CString& a, const CString& b) noexcept;
bool operator>(const CString& a, const wchar_t* b) noexcept;
bool operator>(const wchar_t* a, const CString& b) noexcept;
bool operator<=(const CString& a, const CString& b) noexcept;
bool operator<=(const CString& a, const wchar_t* b) noexcept;
bool operator<=(const wchar_t* a, const CString& b) noexcept;
bool operator>=(const CString& a, const CString& b) noexcept;
bool operator>=(const CString& a, const wchar_t* b) noexcept;
bool operator>=(const wchar_t* a, const CString& b) noexcept;
