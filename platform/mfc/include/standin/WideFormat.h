// printf-style formatting with the Windows wide rules.
//
// In a wide format string %s and %ls take a wide string and %S and %hs a
// narrow (UTF-8) char*; %c takes a wchar_t and %C and %hc a char; %ld reads a
// 32-bit long as on Windows, %I64d and %lld a 64-bit integer; %e and %g show
// at least three exponent digits as the Microsoft run-time of this platform
// does; a NULL string shows "(null)". A CString handed straight to %s works,
// as it does with MFC. %n is refused and writes nothing.
#pragma once

#include <cstdarg>
#include <string>

namespace standin {

std::wstring vformat(const wchar_t* format, va_list args);
std::wstring format(const wchar_t* format, ...);

// UTF-8 <-> wide conversions used across the stand-in. A byte that is not
// part of valid UTF-8 (a file name from an older Linux file system, say
// "caf\xe9.obj") becomes the lone surrogate U+DC00 + byte, and narrow turns
// such a surrogate back into its byte, so that names reach the file system
// as the bytes they were. Other surrogates and values above U+10FFFF narrow
// to U+FFFD.
std::wstring widen(const std::string& text);
std::wstring widen(const char* text);
std::string narrow(const std::wstring& text);
std::string narrow(const wchar_t* text);

}  // namespace standin
