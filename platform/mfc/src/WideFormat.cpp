#include "standin/WideFormat.h"
#include "StringBuffers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace standin {

// --- UTF-8 ---------------------------------------------------------------------

std::wstring widen(const char* text)
{
    return text ? widen(std::string(text)) : std::wstring();
}

std::wstring widen(const std::string& text)
{
    std::wstring out;
    out.reserve(text.size());
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text.data());
    size_t n = text.size();
    size_t i = 0;
    static const unsigned minimum[4] = {0, 0x80, 0x800, 0x10000};
    while (i < n) {
        unsigned c = s[i];
        if (c < 0x80) {
            out += static_cast<wchar_t>(c);
            ++i;
            continue;
        }
        int extra = (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 0;
        bool ok = extra > 0 && i + static_cast<size_t>(extra) < n;
        unsigned cp = c & (0x3Fu >> extra);
        for (int k = 1; ok && k <= extra; ++k) {
            if ((s[i + static_cast<size_t>(k)] & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (s[i + static_cast<size_t>(k)] & 0x3F);
        }
        if (ok && (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            ok = false;
        if (ok) {
            out += static_cast<wchar_t>(cp);
            i += static_cast<size_t>(extra) + 1;
        } else {
            out += static_cast<wchar_t>(0xDC00 | c);  // kept as its byte
            ++i;
        }
    }
    return out;
}

std::string narrow(const wchar_t* text)
{
    return text ? narrow(std::wstring(text)) : std::string();
}

std::string narrow(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        uint32_t c = static_cast<uint32_t>(wc);
        if (c >= 0xDC80 && c <= 0xDCFF) {  // a byte that was not UTF-8
            out += static_cast<char>(c & 0xFF);
            continue;
        }
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// --- formatting --------------------------------------------------------------------

namespace {

struct Spec {
    bool left = false, plus = false, space = false, alt = false, zero = false;
    int width = -1;
    int precision = -1;
    enum Size { None, Char, Short, Long32, Long64, Ptr, LongDouble, Wide, Narrow } size = None;
};

void pad(std::wstring& out, const std::wstring& body, const Spec& spec, bool zeroAllowed)
{
    int width = spec.width;
    int len = static_cast<int>(body.size());
    if (width <= len) {
        out += body;
        return;
    }
    size_t fill = static_cast<size_t>(width - len);
    if (spec.left) {
        out += body;
        out.append(fill, L' ');
    } else if (spec.zero && zeroAllowed) {
        // Zeros go after the sign and a 0x prefix.
        size_t at = 0;
        if (!body.empty() && (body[0] == L'-' || body[0] == L'+' || body[0] == L' '))
            at = 1;
        if (body.size() >= at + 2 && body[at] == L'0' && (body[at + 1] == L'x' || body[at + 1] == L'X'))
            at += 2;
        out.append(body, 0, at);
        out.append(fill, L'0');
        out.append(body, at, std::wstring::npos);
    } else {
        out.append(fill, L' ');
        out += body;
    }
}

std::wstring asciiWiden(const char* s)
{
    std::wstring w;
    for (; *s; ++s)
        w += static_cast<wchar_t>(static_cast<unsigned char>(*s));
    return w;
}

std::string flagsText(const Spec& spec, bool withZero)
{
    std::string f = "%";
    if (spec.left)
        f += '-';
    if (spec.plus)
        f += '+';
    if (spec.space)
        f += ' ';
    if (spec.alt)
        f += '#';
    if (spec.zero && withZero)
        f += '0';
    return f;
}

// The Microsoft run-time of this platform writes at least three exponent
// digits ("1.000000e+003").
std::string widenExponent(std::string text)
{
    size_t e = text.find_first_of("eE");
    if (e == std::string::npos || e + 1 >= text.size())
        return text;
    size_t sign = e + 1;
    if (text[sign] != '+' && text[sign] != '-')
        return text;
    size_t digits = text.size() - (sign + 1);
    if (digits < 3)
        text.insert(sign + 1, 3 - digits, '0');
    return text;
}

// The wide string behind a "%s" argument: the string itself, or the buffer
// of a CString object passed by value through "...". Whatever the precision,
// a CString prints its text: a string of one or more characters has its
// first character and at least a terminator, so 8 bytes are readable.
const wchar_t* wideArgument(const void* p)
{
    if (!p)
        return nullptr;
    uint32_t first;
    std::memcpy(&first, p, sizeof first);
    if (first == 0)
        return static_cast<const wchar_t*>(p);
    const void* inner;
    std::memcpy(&inner, p, sizeof inner);
    if (detail::isStringBuffer(inner))
        return static_cast<const wchar_t*>(inner);
    return static_cast<const wchar_t*>(p);
}

template <typename T> std::string printed(const std::string& f, T value)
{
    char small[128];
    int n = std::snprintf(small, sizeof small, f.c_str(), value);
    if (n < 0)
        return std::string();
    if (static_cast<size_t>(n) < sizeof small)
        return std::string(small, static_cast<size_t>(n));
    std::string big(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(&big[0], big.size(), f.c_str(), value);
    big.resize(static_cast<size_t>(n));
    return big;
}

}  // namespace

std::wstring vformat(const wchar_t* fmt, va_list args)
{
    std::wstring out;
    if (!fmt)
        return out;
    va_list ap;
    va_copy(ap, args);
    const wchar_t* p = fmt;
    while (*p) {
        if (*p != L'%') {
            out += *p++;
            continue;
        }
        const wchar_t* start = p++;
        if (*p == L'%') {
            out += L'%';
            ++p;
            continue;
        }
        Spec spec;
        for (;; ++p) {
            if (*p == L'-')
                spec.left = true;
            else if (*p == L'+')
                spec.plus = true;
            else if (*p == L' ')
                spec.space = true;
            else if (*p == L'#')
                spec.alt = true;
            else if (*p == L'0')
                spec.zero = true;
            else
                break;
        }
        if (*p == L'*') {
            int w = va_arg(ap, int);
            if (w < 0) {
                spec.left = true;
                w = w == INT32_MIN ? INT32_MAX : -w;
            }
            spec.width = w;
            ++p;
        } else if (*p >= L'0' && *p <= L'9') {
            spec.width = 0;
            while (*p >= L'0' && *p <= L'9') {
                if (spec.width < 100000)
                    spec.width = spec.width * 10 + (*p - L'0');
                ++p;
            }
        }
        if (*p == L'.') {
            ++p;
            spec.precision = 0;
            if (*p == L'*') {
                int pr = va_arg(ap, int);
                spec.precision = pr < 0 ? -1 : pr;
                ++p;
            } else {
                while (*p >= L'0' && *p <= L'9') {
                    if (spec.precision < 100000)
                        spec.precision = spec.precision * 10 + (*p - L'0');
                    ++p;
                }
            }
        }
        // Size prefixes.
        if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
            spec.size = Spec::Long64;
            p += 3;
        } else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') {
            spec.size = Spec::Long32;
            p += 3;
        } else if (p[0] == L'I') {
            spec.size = Spec::Ptr;
            p += 1;
        } else if (p[0] == L'l' && p[1] == L'l') {
            spec.size = Spec::Long64;
            p += 2;
        } else if (p[0] == L'h' && p[1] == L'h') {
            spec.size = Spec::Char;
            p += 2;
        } else if (p[0] == L'h') {
            spec.size = Spec::Short;
            p += 1;
        } else if (p[0] == L'l') {
            spec.size = Spec::Long32;
            p += 1;
        } else if (p[0] == L'w') {
            spec.size = Spec::Wide;
            p += 1;
        } else if (p[0] == L'L') {
            spec.size = Spec::LongDouble;
            p += 1;
        } else if (p[0] == L'z' || p[0] == L't' || p[0] == L'j') {
            spec.size = Spec::Ptr;
            p += 1;
        }

        wchar_t conv = *p;
        if (conv == 0)
            break;  // an unfinished conversion at the end is dropped
        ++p;
        switch (conv) {
        case L'd':
        case L'i': {
            long long v;
            switch (spec.size) {
            case Spec::Long64:
            case Spec::Ptr: v = va_arg(ap, long long); break;
            case Spec::Long32: v = static_cast<int32_t>(va_arg(ap, long)); break;
            case Spec::Short: v = static_cast<short>(va_arg(ap, int)); break;
            case Spec::Char: v = static_cast<signed char>(va_arg(ap, int)); break;
            default: v = va_arg(ap, int); break;
            }
            std::string f = flagsText(spec, false);
            if (spec.precision >= 0)
                f += "." + std::to_string(std::min(spec.precision, 4000));
            f += "lld";
            pad(out, asciiWiden(printed(f, v).c_str()), spec, spec.precision < 0);
            break;
        }
        case L'u':
        case L'x':
        case L'X':
        case L'o': {
            unsigned long long v;
            switch (spec.size) {
            case Spec::Long64:
            case Spec::Ptr: v = va_arg(ap, unsigned long long); break;
            case Spec::Long32: v = static_cast<uint32_t>(va_arg(ap, unsigned long)); break;
            case Spec::Short: v = static_cast<unsigned short>(va_arg(ap, unsigned)); break;
            case Spec::Char: v = static_cast<unsigned char>(va_arg(ap, unsigned)); break;
            default: v = va_arg(ap, unsigned); break;
            }
            char c = static_cast<char>(conv);
            std::string f = flagsText(spec, false);
            if (spec.precision >= 0)
                f += "." + std::to_string(std::min(spec.precision, 4000));
            f += "ll";
            f += c;
            pad(out, asciiWiden(printed(f, v).c_str()), spec, spec.precision < 0);
            break;
        }
        case L'e':
        case L'E':
        case L'f':
        case L'F':
        case L'g':
        case L'G':
        case L'a':
        case L'A': {
            std::string f = flagsText(spec, false);
            if (spec.precision >= 0)
                f += "." + std::to_string(std::min(spec.precision, 4000));
            std::string text;
            if (spec.size == Spec::LongDouble) {
                long double v = va_arg(ap, long double);
                f += "L";
                f += static_cast<char>(conv);
                text = printed(f, v);
                if (!std::isfinite(v))
                    spec.zero = false;
            } else {
                double v = va_arg(ap, double);
                f += static_cast<char>(conv);
                text = printed(f, v);
                if (!std::isfinite(v))
                    spec.zero = false;
            }
            if (conv != L'a' && conv != L'A' && conv != L'f' && conv != L'F')
                text = widenExponent(text);
            pad(out, asciiWiden(text.c_str()), spec, true);
            break;
        }
        case L'p': {
            const void* v = va_arg(ap, const void*);
            pad(out,
                asciiWiden(printed("%016llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(v))).c_str()),
                spec, false);
            break;
        }
        case L'c':
        case L'C': {
            int v = va_arg(ap, int);
            bool narrowChar = (conv == L'C' && spec.size != Spec::Long32 && spec.size != Spec::Wide) ||
                (conv == L'c' && spec.size == Spec::Short);
            wchar_t ch = narrowChar ? static_cast<wchar_t>(static_cast<unsigned char>(v)) : static_cast<wchar_t>(v);
            pad(out, std::wstring(1, ch), spec, false);
            break;
        }
        case L's':
        case L'S':
        case L'Z': {
            bool narrowText = (conv == L'S' && spec.size != Spec::Long32 && spec.size != Spec::Wide) ||
                (conv == L's' && spec.size == Spec::Short);
            const void* v = va_arg(ap, const void*);
            std::wstring text;
            if (!v) {
                text = L"(null)";
                if (spec.precision >= 0 && spec.precision < 6)
                    text.resize(static_cast<size_t>(spec.precision));
            } else if (narrowText) {
                const char* s = static_cast<const char*>(v);
                size_t n = 0;
                while ((spec.precision < 0 || n < static_cast<size_t>(spec.precision)) && s[n])
                    ++n;
                text = widen(std::string(s, n));
                if (spec.precision >= 0 && text.size() > static_cast<size_t>(spec.precision))
                    text.resize(static_cast<size_t>(spec.precision));
            } else {
                const wchar_t* s = wideArgument(v);
                size_t n = 0;
                while ((spec.precision < 0 || n < static_cast<size_t>(spec.precision)) && s[n])
                    ++n;
                text.assign(s, n);
            }
            pad(out, text, spec, false);
            break;
        }
        case L'n':
            // Refused, as the Microsoft run-time does by default: nothing is written.
            (void)va_arg(ap, void*);
            break;
        default:
            // Not a conversion: shown as written.
            out.append(start, p);
            break;
        }
    }
    va_end(ap);
    return out;
}

std::wstring format(const wchar_t* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    std::wstring text = vformat(fmt, args);
    va_end(args);
    return text;
}

}  // namespace standin
