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

struct Pair {
    std::string_view value;  // without surrounding blanks, in the file's text
    std::uint32_t line = 0;  // of the group code
    int code = 0;
};

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
