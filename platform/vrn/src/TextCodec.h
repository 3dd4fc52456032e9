// UTF-8 <-> wide text, shared by the maker's libraries. wchar_t holds one
// code point (32 bits on this platform). Encoding is the platform's own;
// decoding here is strict, so that a damaged store file is recognised.
#pragma once

#include <string>

#include "standin/WideFormat.h"

namespace vrn_detail {

// The platform's encoding: bytes kept from undecodable input (U+DC80 to
// U+DCFF) go back out as those bytes, so that file names stay as they were;
// other code points that cannot be encoded become U+FFFD.
inline std::string toUtf8(const wchar_t* text, size_t length)
{
    return standin::narrow(std::wstring(text, length));
}

// Always valid UTF-8 (for the store file): every surrogate becomes U+FFFD.
inline std::string toUtf8Text(const std::wstring& text)
{
    std::wstring clean(text);
    for (wchar_t& c : clean)
        if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
    return standin::narrow(clean);
}

inline std::string toUtf8(const std::wstring& text)
{
    return toUtf8(text.data(), text.size());
}

// Strict decoding: false for malformed UTF-8 (overlong forms, surrogates,
// values above U+10FFFF, cut sequences); out then holds what came before.
inline bool fromUtf8(const char* text, size_t length, std::wstring& out)
{
    out.clear();
    out.reserve(length);
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (i < length) {
        unsigned char b = s[i];
        unsigned long c;
        size_t extra;
        if (b < 0x80) {
            c = b;
            extra = 0;
        } else if (b >= 0xC2 && b <= 0xDF) {
            c = b & 0x1F;
            extra = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            c = b & 0x0F;
            extra = 2;
        } else if (b >= 0xF0 && b <= 0xF4) {
            c = b & 0x07;
            extra = 3;
        } else
            return false;
        if (extra > 0 && i + extra >= length)
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            unsigned char t = s[i + k];
            if ((t & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (t & 0x3F);
        }
        if ((extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF)) || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        out += static_cast<wchar_t>(c);
        i += extra + 1;
    }
    return true;
}

inline std::wstring fromUtf8Lossy(const std::string& text)
{
    std::wstring out;
    if (fromUtf8(text.data(), text.size(), out))
        return out;
    // Keep what decodes, one byte at a time for the rest.
    out.clear();
    for (unsigned char b : text)
        out += static_cast<wchar_t>(b < 0x80 ? b : 0xFFFD);
    return out;
}

}  // namespace vrn_detail
