// Host release, system variables and message boxes (utilities group).
#include "HostRelease.h"

#include <cstdarg>
#include <cstdlib>

#include "aced.h"
#include "adslib.h"
#include "rxmfcapi.h"

CString HostReleaseNames[kHostReleaseCount] = {
    kHostReleaseNameTexts[0], kHostReleaseNameTexts[1], kHostReleaseNameTexts[2],  kHostReleaseNameTexts[3],
    kHostReleaseNameTexts[4], kHostReleaseNameTexts[5], kHostReleaseNameTexts[6],  kHostReleaseNameTexts[7],
    kHostReleaseNameTexts[8], kHostReleaseNameTexts[9], kHostReleaseNameTexts[10], kHostReleaseNameTexts[11],
};

namespace {

// First letters of "_VERNUM" for the release indexes 1 to 11.
constexpr char kReleaseLetters[kHostReleaseCount - 1] = {'T', 'U', 'K', 'V', 'N', 'Z', 'A', 'B', 'C', 'D', 'E'};

// A result buffer of one type, released on every path.
class ResultBuffer {
public:
    explicit ResultBuffer(int type) : rb_(acutNewRb(type)) {}
    ~ResultBuffer()
    {
        if (rb_)
            acutRelRb(rb_);
    }
    ResultBuffer(const ResultBuffer&) = delete;
    ResultBuffer& operator=(const ResultBuffer&) = delete;

    resbuf* get() const { return rb_; }

private:
    resbuf* rb_;
};

// Reads a variable into a buffer of the given type; true when the host
// answered normally and the variable has that type.
bool ReadVar(const CString& name, const ResultBuffer& buffer, int type)
{
    if (!buffer.get())
        return false;
    if (acedGetVar(name.GetString(), buffer.get()) != RTNORM)
        return false;
    return buffer.get()->restype == type;
}

// A copy of text allocated the way result buffers hold their strings (on
// the C heap), so that releasing the buffer frees it. Null when out of memory.
ACHAR* NewBufferString(const CString& text)
{
    const int length = text.GetLength();
    ACHAR* copy = static_cast<ACHAR*>(std::malloc((static_cast<size_t>(length) + 1) * sizeof(ACHAR)));
    if (!copy)
        return NULL;
    const wchar_t* source = text.GetString();
    for (int i = 0; i < length; ++i)
        copy[i] = source[i];
    copy[length] = 0;
    return copy;
}

}  // namespace

int GetHostRelease()
{
    CString text;
    {
        ResultBuffer buffer(RTSTR);
        if (ReadVar(L"_VERNUM", buffer, RTSTR) && buffer.get()->resval.rstring)
            text = buffer.get()->resval.rstring;
    }
    const wchar_t first = text.IsEmpty() ? L'\0' : text.GetString()[0];
    const char letter = static_cast<char>(static_cast<unsigned>(first) & 0xFFu);
    for (int i = 0; i < kHostReleaseCount - 1; ++i) {
        if (letter == kReleaseLetters[i])
            return i + 1;
    }
    return 0;
}

int CheckHostRelease(int expectedRelease)
{
    if (expectedRelease == GetHostRelease())
        return 1;
    // An index outside the table names no release: the warning then names
    // the unknown one rather than reading past the table.
    const bool known = expectedRelease >= 0 && expectedRelease < kHostReleaseCount;
    CString text;
    text.Format(L"This plug-in is designed to work with %s based products only",
                HostReleaseNames[known ? expectedRelease : 0].GetString());
    MessageBoxW(adsw_acadMainWnd(), text.GetString(), L"Incompatible AutoCAD Version", MB_ICONWARNING);
    return 0;
}

int GetSysVar(const CString& name, double& value)
{
    ResultBuffer buffer(RTREAL);
    if (!ReadVar(name, buffer, RTREAL))
        return 0;
    value = buffer.get()->resval.rreal;
    return 1;
}

int GetSysVar(const CString& name, int& value)
{
    ResultBuffer buffer(RTSHORT);
    if (!ReadVar(name, buffer, RTSHORT))
        return 0;
    value = static_cast<short>(buffer.get()->resval.rint);
    return 1;
}

int GetSysVar(const CString& name, CString& value)
{
    ResultBuffer buffer(RTSTR);
    if (!ReadVar(name, buffer, RTSTR) || !buffer.get()->resval.rstring)
        return 0;
    value = buffer.get()->resval.rstring;
    return 1;
}

int SetSysVar(const CString& name, double value)
{
    ResultBuffer buffer(RTREAL);
    if (!buffer.get())
        return 0;
    buffer.get()->resval.rreal = value;
    return acedSetVar(name.GetString(), buffer.get()) == RTNORM ? 1 : 0;
}

int SetSysVar(const CString& name, int value)
{
    ResultBuffer buffer(RTSHORT);
    if (!buffer.get())
        return 0;
    buffer.get()->resval.rint = static_cast<short>(static_cast<unsigned short>(value & 0xFFFF));
    return acedSetVar(name.GetString(), buffer.get()) == RTNORM ? 1 : 0;
}

int SetSysVar(const CString& name, const CString& value)
{
    ResultBuffer buffer(RTSTR);
    if (!buffer.get())
        return 0;
    buffer.get()->resval.rstring = NewBufferString(value);
    if (!buffer.get()->resval.rstring)
        return 0;
    return acedSetVar(name.GetString(), buffer.get()) == RTNORM ? 1 : 0;
}

void ShowMessageBox(CString caption, UINT type, const wchar_t* format, ...)
{
    CString text;
    va_list args;
    va_start(args, format);
    text.FormatV(format, args);
    va_end(args);
    MessageBoxW(adsw_acadMainWnd(), text.GetString(), caption.GetString(), type);
}
