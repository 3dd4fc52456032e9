// DXFIN's group reader: the text of a DXF file as its group pairs, each code
// one that DXF defines and each value of the kind its code says.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace standin::dxfin {

// A file that is not read: why, in a few words, with its line where there is one.
struct Failure {
    std::wstring reason;
};

[[noreturn]] void fail(const std::wstring& reason);
[[noreturn]] void failAt(size_t line, const std::wstring& reason);

// dxflib reads lines of up to 1024 characters; longer lines would be split.
constexpr size_t kMaxLine = 1000;

// One group of the file. A file has millions of them, so a group is kept in
// 16 bytes: its value stays in the file's text, and no line is longer than
// kMaxLine nor any code greater than 1071.
struct Pair {
    const char* text = nullptr;  // the value, without surrounding blanks, in the file's text
    std::uint32_t line = 0;      // of the group code
    std::uint16_t size = 0;      // of the value
    std::int16_t code = 0;
    std::string_view value() const { return std::string_view(text, size); }
};
static_assert(kMaxLine <= UINT16_MAX, "a value's size fits a group");

enum class Kind { Text, Real, Int, Bool, Invalid };

// The kind of value that a group code takes; Invalid for codes DXF does not
// define. wide: an integer of 64 bits rather than 32.
Kind kindOf(int code, bool* wide = nullptr);

// Every group of the text up to the EOF group, checked: codes that DXF
// defines, values of the kind their code says, lines that dxflib reads whole.
// Throws a Failure naming the line of the first fault.
std::vector<Pair> readPairs(const std::string& data);

// The value of a group that readPairs checked as a number.
double realOf(const Pair& p);
long long intOf(const Pair& p);

}  // namespace standin::dxfin
