#include "afxwin.h"
#include "standin/WideFormat.h"
#include "StringBuffers.h"

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <mutex>
#include <new>
#include <unordered_set>

// Each buffer is a header followed by the characters and a NUL. The header is
// 8 bytes after a 16-byte aligned block, so a buffer address never has its
// low 32 bits all zero; the formatter relies on that.
namespace {

struct Header {
    int length;
    int capacity;  // characters, without the NUL
};

alignas(16) int g_nil[4] = {0, 0, 0, 0};

wchar_t* nilData()
{
    return reinterpret_cast<wchar_t*>(&g_nil[2]);
}
Header* header(const wchar_t* data)
{
    return reinterpret_cast<Header*>(const_cast<wchar_t*>(data)) - 1;
}

struct BufferSet {
    std::mutex mutex;
    std::unordered_set<const void*> live;
};
BufferSet& buffers()
{
    static BufferSet* set = new BufferSet;  // lives as long as the process
    return *set;
}

wchar_t* allocate(int capacity)
{
    if (capacity < 0 || capacity > (1 << 28))
        AfxThrowMemoryException();
    void* block = std::malloc(sizeof(Header) + (static_cast<size_t>(capacity) + 1) * sizeof(wchar_t));
    if (!block)
        AfxThrowMemoryException();
    Header* h = static_cast<Header*>(block);
    h->length = 0;
    h->capacity = capacity;
    wchar_t* data = reinterpret_cast<wchar_t*>(h + 1);
    data[0] = 0;
    standin::detail::registerStringBuffer(data);
    return data;
}

void release(wchar_t* data)
{
    if (data == nilData())
        return;
    standin::detail::unregisterStringBuffer(data);
    std::free(header(data));
}

int textLength(const wchar_t* text)
{
    return text ? static_cast<int>(std::wcslen(text)) : 0;
}

bool isResourceId(const wchar_t* text)
{
    return text != nullptr && IS_INTRESOURCE(text);
}

bool inSet(wchar_t ch, const wchar_t* set)
{
    if (!set)
        return false;
    for (; *set; ++set)
        if (*set == ch)
            return true;
    return false;
}

}  // namespace

namespace standin {
namespace detail {

void registerStringBuffer(const wchar_t* data)
{
    BufferSet& set = buffers();
    std::lock_guard<std::mutex> lock(set.mutex);
    set.live.insert(data);
}

void unregisterStringBuffer(const wchar_t* data)
{
    BufferSet& set = buffers();
    std::lock_guard<std::mutex> lock(set.mutex);
    set.live.erase(data);
}

bool isStringBuffer(const void* data)
{
    if (data == nilData())
        return true;
    BufferSet& set = buffers();
    std::lock_guard<std::mutex> lock(set.mutex);
    return set.live.count(data) != 0;
}

}  // namespace detail
}  // namespace standin

// --- construction ---------------------------------------------------------

CString::CString() noexcept : m_pszData(nilData()) {}

CString::CString(const CString& other) : m_pszData(nilData())
{
    assign(other.m_pszData, other.GetLength());
}

CString::CString(CString&& other) noexcept : m_pszData(other.m_pszData)
{
    other.m_pszData = nilData();
}

CString::CString(const wchar_t* text) : m_pszData(nilData())
{
    if (isResourceId(text)) {
        LoadStringW(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text)));
        return;
    }
    assign(text, textLength(text));
}

CString::CString(const wchar_t* text, int length) : m_pszData(nilData())
{
    if (!text || length <= 0)
        return;
    assign(text, length);
}

CString::CString(const char* text) : m_pszData(nilData())
{
    if (!text)
        return;
    if (IS_INTRESOURCE(text)) {
        LoadStringW(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text)));
        return;
    }
    std::wstring wide = standin::widen(text);
    assign(wide.data(), static_cast<int>(wide.size()));
}

CString::CString(const char* text, int length) : m_pszData(nilData())
{
    if (!text || length <= 0)
        return;
    std::wstring wide = standin::widen(std::string(text, static_cast<size_t>(length)));
    assign(wide.data(), static_cast<int>(wide.size()));
}

CString::CString(const unsigned char* text) : CString(reinterpret_cast<const char*>(text)) {}

CString::CString(wchar_t ch, int repeat) : m_pszData(nilData())
{
    if (repeat <= 0)
        return;
    reserve(repeat, false);
    for (int i = 0; i < repeat; ++i)
        m_pszData[i] = ch;
    setLength(repeat);
}

CString::~CString()
{
    release(m_pszData);
}

CString& CString::operator=(const CString& other)
{
    if (this != &other)
        assign(other.m_pszData, other.GetLength());
    return *this;
}

CString& CString::operator=(CString&& other) noexcept
{
    if (this != &other) {
        release(m_pszData);
        m_pszData = other.m_pszData;
        other.m_pszData = nilData();
    }
    return *this;
}

CString& CString::operator=(const wchar_t* text)
{
    if (isResourceId(text)) {
        LoadStringW(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text)));
        return *this;
    }
    assign(text, textLength(text));
    return *this;
}

CString& CString::operator=(const char* text)
{
    CString wide(text);
    *this = std::move(wide);
    return *this;
}

CString& CString::operator=(wchar_t ch)
{
    assign(&ch, 1);
    return *this;
}

// --- internals --------------------------------------------------------------

void CString::reserve(int capacity, bool keep)
{
    if (capacity < 0)
        capacity = 0;
    if (m_pszData != nilData() && header(m_pszData)->capacity >= capacity)
        return;
    int old = GetLength();
    int grown = std::max(capacity, m_pszData == nilData() ? 0 : header(m_pszData)->capacity * 3 / 2);
    wchar_t* data = allocate(grown);
    if (keep && old > 0) {
        std::wmemcpy(data, m_pszData, static_cast<size_t>(old));
        header(data)->length = old;
        data[old] = 0;
    }
    release(m_pszData);
    m_pszData = data;
}

void CString::setLength(int length)
{
    if (m_pszData == nilData())
        return;
    header(m_pszData)->length = length;
    m_pszData[length] = 0;
}

void CString::assign(const wchar_t* text, int length)
{
    if (!text || length <= 0) {
        Empty();
        return;
    }
    // The text may lie inside our own buffer.
    const wchar_t* begin = m_pszData;
    const wchar_t* end = m_pszData + GetLength();
    if (text >= begin && text < end) {
        std::wstring copy(text, static_cast<size_t>(length));
        assign(copy.data(), length);
        return;
    }
    if (m_pszData == nilData() || header(m_pszData)->capacity < length) {
        wchar_t* data = allocate(length);
        release(m_pszData);
        m_pszData = data;
    }
    std::wmemcpy(m_pszData, text, static_cast<size_t>(length));
    setLength(length);
}

// --- basic access -----------------------------------------------------------

int CString::GetLength() const noexcept
{
    return header(m_pszData)->length;
}
BOOL CString::IsEmpty() const noexcept
{
    return GetLength() == 0;
}
int CString::GetAllocLength() const noexcept
{
    return header(m_pszData)->capacity;
}

void CString::Empty()
{
    release(m_pszData);
    m_pszData = nilData();
}

void CString::SetString(const wchar_t* text)
{
    assign(text, textLength(text));
}
void CString::SetString(const wchar_t* text, int length)
{
    assign(text, length);
}

LPTSTR CString::GetBuffer()
{
    return GetBuffer(0);
}

LPTSTR CString::GetBuffer(int minBufferLength)
{
    int length = GetLength();
    reserve(std::max(std::max(minBufferLength, length), 1), true);
    return m_pszData;
}

LPTSTR CString::GetBufferSetLength(int length)
{
    if (length < 0)
        length = 0;
    GetBuffer(length);
    setLength(length);
    return m_pszData;
}

void CString::ReleaseBuffer(int newLength)
{
    if (m_pszData == nilData())
        return;
    int capacity = header(m_pszData)->capacity;
    if (newLength < 0) {
        int n = 0;
        while (n < capacity && m_pszData[n] != 0)
            ++n;
        newLength = n;
    }
    if (newLength > capacity)
        newLength = capacity;
    setLength(newLength);
}

void CString::ReleaseBufferSetLength(int newLength)
{
    ReleaseBuffer(newLength < 0 ? 0 : newLength);
}

void CString::Preallocate(int length)
{
    reserve(length, true);
}

void CString::FreeExtra()
{
    if (m_pszData == nilData())
        return;
    if (IsEmpty()) {
        Empty();
        return;
    }
    if (GetAllocLength() > GetLength()) {
        CString copy(m_pszData, GetLength());
        *this = std::move(copy);
    }
}

wchar_t CString::GetAt(int index) const
{
    // The terminating NUL may be read, as with CStringT.
    if (index < 0 || index > GetLength())
        AfxThrowInvalidArgException();
    return m_pszData[index];
}

void CString::SetAt(int index, wchar_t ch)
{
    if (index < 0 || index >= GetLength())
        AfxThrowInvalidArgException();
    m_pszData[index] = ch;
}

// --- extraction ---------------------------------------------------------------

CString CString::Left(int count) const
{
    count = std::max(0, std::min(count, GetLength()));
    return CString(m_pszData, count);
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    int length = GetLength();
    first = std::max(0, first);
    count = std::max(0, count);
    if (first > length)
        first = length;
    if (count > length - first)
        count = length - first;
    return CString(m_pszData + first, count);
}

CString CString::Right(int count) const
{
    int length = GetLength();
    count = std::max(0, std::min(count, length));
    return CString(m_pszData + length - count, count);
}

CString CString::SpanIncluding(const wchar_t* charSet) const
{
    int n = 0;
    while (n < GetLength() && inSet(m_pszData[n], charSet))
        ++n;
    return Left(n);
}

CString CString::SpanExcluding(const wchar_t* charSet) const
{
    int n = 0;
    while (n < GetLength() && !inSet(m_pszData[n], charSet))
        ++n;
    return Left(n);
}

// --- searching ---------------------------------------------------------------

int CString::Find(wchar_t ch, int start) const noexcept
{
    int length = GetLength();
    if (start < 0)
        start = 0;
    for (int i = start; i < length; ++i)
        if (m_pszData[i] == ch)
            return i;
    return -1;
}

int CString::Find(const wchar_t* sub, int start) const noexcept
{
    if (!sub)
        return -1;
    int length = GetLength();
    if (start < 0)
        start = 0;
    if (start > length)
        return -1;
    const wchar_t* hit = std::wcsstr(m_pszData + start, sub);
    return hit ? static_cast<int>(hit - m_pszData) : -1;
}

int CString::ReverseFind(wchar_t ch) const noexcept
{
    for (int i = GetLength() - 1; i >= 0; --i)
        if (m_pszData[i] == ch)
            return i;
    return -1;
}

int CString::FindOneOf(const wchar_t* charSet) const noexcept
{
    for (int i = 0; i < GetLength(); ++i)
        if (inSet(m_pszData[i], charSet))
            return i;
    return -1;
}

// --- editing -------------------------------------------------------------------

int CString::Replace(wchar_t oldChar, wchar_t newChar)
{
    int count = 0;
    for (int i = 0; i < GetLength(); ++i) {
        if (m_pszData[i] == oldChar) {
            m_pszData[i] = newChar;
            ++count;
        }
    }
    return count;
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText)
{
    int oldLength = textLength(oldText);
    if (oldLength == 0)
        return 0;
    std::wstring replacement = newText ? newText : L"";
    std::wstring result;
    int count = 0;
    int i = 0;
    int length = GetLength();
    while (i < length) {
        if (i + oldLength <= length && std::wmemcmp(m_pszData + i, oldText, static_cast<size_t>(oldLength)) == 0) {
            result += replacement;
            i += oldLength;
            ++count;
        } else {
            result += m_pszData[i++];
        }
    }
    if (count)
        assign(result.data(), static_cast<int>(result.size()));
    return count;
}

int CString::Remove(wchar_t ch)
{
    int length = GetLength();
    int out = 0;
    for (int i = 0; i < length; ++i)
        if (m_pszData[i] != ch)
            m_pszData[out++] = m_pszData[i];
    setLength(out);
    return length - out;
}

int CString::Insert(int index, wchar_t ch)
{
    return Insert(index, std::wstring(1, ch).c_str());
}

int CString::Insert(int index, const wchar_t* text)
{
    int length = GetLength();
    if (index < 0)
        index = 0;
    if (index > length)
        index = length;
    int add = textLength(text);
    if (add == 0)
        return length;
    std::wstring result(m_pszData, static_cast<size_t>(length));
    result.insert(static_cast<size_t>(index), text, static_cast<size_t>(add));
    assign(result.data(), static_cast<int>(result.size()));
    return GetLength();
}

int CString::Delete(int index, int count)
{
    int length = GetLength();
    if (index < 0)
        index = 0;
    if (count <= 0 || index >= length)
        return length;
    if (count > length - index)
        count = length - index;
    std::wmemmove(m_pszData + index, m_pszData + index + count, static_cast<size_t>(length - index - count));
    setLength(length - count);
    return GetLength();
}

CString& CString::MakeUpper()
{
    for (int i = 0; i < GetLength(); ++i)
        m_pszData[i] = static_cast<wchar_t>(std::towupper(m_pszData[i]));
    return *this;
}

CString& CString::MakeLower()
{
    for (int i = 0; i < GetLength(); ++i)
        m_pszData[i] = static_cast<wchar_t>(std::towlower(m_pszData[i]));
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(m_pszData, m_pszData + GetLength());
    return *this;
}

namespace {
bool isBlank(wchar_t ch)
{
    return std::iswspace(static_cast<wint_t>(ch)) != 0;
}
}  // namespace

CString& CString::TrimLeft()
{
    int n = 0;
    while (n < GetLength() && isBlank(m_pszData[n]))
        ++n;
    return n ? (Delete(0, n), *this) : *this;
}

CString& CString::TrimLeft(wchar_t target)
{
    int n = 0;
    while (n < GetLength() && m_pszData[n] == target)
        ++n;
    return n ? (Delete(0, n), *this) : *this;
}

CString& CString::TrimLeft(const wchar_t* targets)
{
    int n = 0;
    while (n < GetLength() && inSet(m_pszData[n], targets))
        ++n;
    return n ? (Delete(0, n), *this) : *this;
}

CString& CString::TrimRight()
{
    int n = GetLength();
    while (n > 0 && isBlank(m_pszData[n - 1]))
        --n;
    setLength(n);
    return *this;
}

CString& CString::TrimRight(wchar_t target)
{
    int n = GetLength();
    while (n > 0 && m_pszData[n - 1] == target)
        --n;
    setLength(n);
    return *this;
}

CString& CString::TrimRight(const wchar_t* targets)
{
    int n = GetLength();
    while (n > 0 && inSet(m_pszData[n - 1], targets))
        --n;
    setLength(n);
    return *this;
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}
CString& CString::Trim(wchar_t target)
{
    return TrimRight(target).TrimLeft(target);
}
CString& CString::Trim(const wchar_t* targets)
{
    return TrimRight(targets).TrimLeft(targets);
}

// --- comparing -------------------------------------------------------------------

int CString::Compare(const wchar_t* text) const noexcept
{
    int r = std::wcscmp(m_pszData, text ? text : L"");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(const wchar_t* text) const noexcept
{
    int r = _wcsicmp(m_pszData, text ? text : L"");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

// --- appending -------------------------------------------------------------------

void CString::Append(const wchar_t* text, int length)
{
    if (!text || length <= 0)
        return;
    int old = GetLength();
    const wchar_t* begin = m_pszData;
    if (text >= begin && text < begin + old) {
        std::wstring copy(text, static_cast<size_t>(length));
        Append(copy.data(), length);
        return;
    }
    reserve(old + length, true);
    std::wmemcpy(m_pszData + old, text, static_cast<size_t>(length));
    setLength(old + length);
}

void CString::Append(const wchar_t* text)
{
    Append(text, textLength(text));
}
void CString::Append(const CString& text)
{
    Append(text.m_pszData, text.GetLength());
}
void CString::AppendChar(wchar_t ch)
{
    Append(&ch, 1);
}

CString& CString::operator+=(const CString& text)
{
    Append(text);
    return *this;
}
CString& CString::operator+=(const wchar_t* text)
{
    Append(text);
    return *this;
}
CString& CString::operator+=(const char* text)
{
    Append(CString(text));
    return *this;
}
CString& CString::operator+=(wchar_t ch)
{
    AppendChar(ch);
    return *this;
}
CString& CString::operator+=(char ch)
{
    AppendChar(static_cast<wchar_t>(static_cast<unsigned char>(ch)));
    return *this;
}

// --- formatting -----------------------------------------------------------------

void CString::FormatV(const wchar_t* format, va_list args)
{
    std::wstring text = standin::vformat(format, args);
    assign(text.data(), static_cast<int>(text.size()));
}

void CString::Format(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormatV(const wchar_t* format, va_list args)
{
    std::wstring text = standin::vformat(format, args);
    Append(text.data(), static_cast<int>(text.size()));
}

void CString::AppendFormat(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
}

CString CString::Tokenize(const wchar_t* tokens, int& start) const
{
    int length = GetLength();
    if (start < 0 || start >= length) {  // also past the end: no token left
        start = -1;
        return CString();
    }
    if (!tokens || !*tokens) {
        CString rest = Mid(start);
        start = length;
        return rest;
    }
    int i = start;
    while (i < length && inSet(m_pszData[i], tokens))
        ++i;
    if (i >= length) {
        start = -1;
        return CString();
    }
    int j = i;
    while (j < length && !inSet(m_pszData[j], tokens))
        ++j;
    start = j + 1;
    return CString(m_pszData + i, j - i);
}

BOOL CString::LoadStringW(UINT id)
{
    HINSTANCE instance = AfxFindResourceHandle(MAKEINTRESOURCEW((id >> 4) + 1), RT_STRING);
    return LoadStringW(instance, id);
}

BOOL CString::LoadStringW(HINSTANCE instance, UINT id)
{
    const wchar_t* text = nullptr;
    int length = ::LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text) {
        Empty();
        return FALSE;
    }
    assign(text, length);
    return TRUE;
}

// --- operators -------------------------------------------------------------------

namespace {
// a, then b appended, whatever kinds of text or character the two are.
template <class A, class B>
CString concatenated(const A& a, const B& b)
{
    CString r(a);
    r += b;
    return r;
}
}  // namespace

CString operator+(const CString& a, const CString& b)
{
    return concatenated(a, b);
}
CString operator+(const CString& a, const wchar_t* b)
{
    return concatenated(a, b);
}
CString operator+(const wchar_t* a, const CString& b)
{
    return concatenated(a, b);
}
CString operator+(const CString& a, wchar_t b)
{
    return concatenated(a, b);
}
CString operator+(wchar_t a, const CString& b)
{
    return concatenated(a, b);
}
CString operator+(const CString& a, const char* b)
{
    return concatenated(a, b);
}
CString operator+(const char* a, const CString& b)
{
    return concatenated(a, b);
}

namespace {
int cmp(const wchar_t* a, const wchar_t* b)
{
    return std::wcscmp(a ? a : L"", b ? b : L"");
}
}  // namespace

bool operator==(const CString& a, const CString& b) noexcept
{
    return a.GetLength() == b.GetLength() &&
        std::wmemcmp(a.GetString(), b.GetString(), static_cast<size_t>(a.GetLength())) == 0;
}
bool operator==(const CString& a, const wchar_t* b) noexcept
{
    return cmp(a, b) == 0;
}
bool operator==(const wchar_t* a, const CString& b) noexcept
{
    return cmp(a, b) == 0;
}
bool operator!=(const CString& a, const CString& b) noexcept
{
    return !(a == b);
}
bool operator!=(const CString& a, const wchar_t* b) noexcept
{
    return cmp(a, b) != 0;
}
bool operator!=(const wchar_t* a, const CString& b) noexcept
{
    return cmp(a, b) != 0;
}
bool operator<(const CString& a, const CString& b) noexcept
{
    return cmp(a, b) < 0;
}
bool operator<(const CString& a, const wchar_t* b) noexcept
{
    return cmp(a, b) < 0;
}
bool operator<(const wchar_t* a, const CString& b) noexcept
{
    return cmp(a, b) < 0;
}
bool operator>(const CString& a, const CString& b) noexcept
{
    return cmp(a, b) > 0;
}
bool operator>(const CString& a, const wchar_t* b) noexcept
{
    return cmp(a, b) > 0;
}
bool operator>(const wchar_t* a, const CString& b) noexcept
{
    return cmp(a, b) > 0;
}
bool operator<=(const CString& a, const CString& b) noexcept
{
    return cmp(a, b) <= 0;
}
bool operator<=(const CString& a, const wchar_t* b) noexcept
{
    return cmp(a, b) <= 0;
}
bool operator<=(const wchar_t* a, const CString& b) noexcept
{
    return cmp(a, b) <= 0;
}
bool operator>=(const CString& a, const CString& b) noexcept
{
    return cmp(a, b) >= 0;
}
bool operator>=(const CString& a, const wchar_t* b) noexcept
{
    return cmp(a, b) >= 0;
}
bool operator>=(const wchar_t* a, const CString& b) noexcept
{
    return cmp(a, b) >= 0;
}
