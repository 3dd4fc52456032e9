// The texts the model reader reports, and how a file's name and a detail are
// put into them. Internal to the reader library.
#pragma once

#include <string>

namespace vrn_detail {

// Replaces the first %s of format with file, every later one with detail.
inline std::wstring say(const wchar_t* format, const std::wstring& file, const std::wstring& detail = {})
{
    std::wstring out;
    bool first = true;
    for (const wchar_t* p = format; *p; ++p) {
        if (p[0] == L'%' && p[1] == L's') {
            out += first ? file : detail;
            first = false;
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

inline constexpr wchar_t kDamaged[] = L"The file \"%s\" cannot be read; it is damaged or incomplete (%s).";
inline constexpr wchar_t kTooLarge[] = L"The file \"%s\" is too large to read with the memory available.";

}  // namespace vrn_detail
