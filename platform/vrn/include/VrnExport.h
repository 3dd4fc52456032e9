// Export markers of the maker's libraries (VrnGUI and Ravlib).
//
// The libraries are shared objects; modules that use them may be compiled
// with hidden visibility, so every public class and function of the libraries
// carries default visibility explicitly.
#pragma once

#if defined(_WIN32)
#if defined(VRNGUI_BUILD)
#define VRNGUI_API __declspec(dllexport)
#else
#define VRNGUI_API __declspec(dllimport)
#endif
#if defined(VRNRAVLIB_BUILD)
#define VRNRAVLIB_API __declspec(dllexport)
#else
#define VRNRAVLIB_API __declspec(dllimport)
#endif
#else
#define VRNGUI_API __attribute__((visibility("default")))
#define VRNRAVLIB_API __attribute__((visibility("default")))
#endif
