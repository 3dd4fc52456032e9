// DXFIN's group reader.
#include "dxfin/Groups.h"

#include <algorithm>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace standin::dxfin {

void fail(const std::wstring& reason)
{
    throw Failure{reason};
}

void failAt(size_t line, const std::wstring& reason)
{
    throw Failure{L"line " + std::to_wstring(line) + L": " + reason};
}

namespace {

// The group codes of DXF by range: each range runs from the end of the one
// before it to its last code.
struct CodeRange {
    int last;
    Kind kind;
    bool wide;  // integers of 64 bits
};

constexpr CodeRange kCodeRanges[] = {
    {9, Kind::Text, false},                                 // texts, names
    {59, Kind::Real, false},                                // points, distances, angles
    {79, Kind::Int, false},                                 // 16-bit integers
    {89, Kind::Invalid, false},  {99, Kind::Int, false},    // 32-bit integers
    {100, Kind::Text, false},                               // subclass marker
    {101, Kind::Text, false},                               // embedded object marker
    {102, Kind::Text, false},                               // application groups
    {104, Kind::Invalid, false}, {105, Kind::Text, false},  // handle of a DIMVAR record
    {109, Kind::Invalid, false}, {149, Kind::Real, false}, {159, Kind::Invalid, false},
    {169, Kind::Int, true},      {179, Kind::Int, false},  {209, Kind::Invalid, false},
    {239, Kind::Real, false},  // extrusion direction and others
    {269, Kind::Invalid, false}, {289, Kind::Int, false},  {299, Kind::Bool, false},
    {369, Kind::Text, false},  // texts, binary chunks, handles
    {389, Kind::Int, false},     {399, Kind::Text, false}, {409, Kind::Int, false},
    {419, Kind::Text, false},    {429, Kind::Int, false},  // true colours among them
    {439, Kind::Text, false},    {449, Kind::Int, false},  {459, Kind::Int, true},
    {469, Kind::Real, false},    {481, Kind::Text, false}, {998, Kind::Invalid, false},
    {1009, Kind::Text, false},  // comments and extended data texts
    {1059, Kind::Real, false},   {1071, Kind::Int, false},
};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A decimal integer: an optional sign and digits.
bool parseInteger(std::string_view text, long long& value)
{
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    if (i == text.size() || text.size() - i > 18)
        return false;
    for (size_t k = i; k < text.size(); ++k)
        if (!isDigit(text[k]))
            return false;
    value = std::strtoll(std::string(text).c_str(), nullptr, 10);
    return true;
}

// A decimal number: sign, digits with an optional point, an optional
// exponent; finite once read.
bool parseReal(std::string_view text, double& value)
{
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            ++i;
        size_t exponent = 0;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++exponent;
        }
        if (exponent == 0)
            return false;
    }
    if (i != text.size())
        return false;
    value = std::strtod(std::string(text).c_str(), nullptr);
    return std::isfinite(value);
}

std::string_view stripped(const char* begin, const char* end)
{
    while (begin < end && (*begin == ' ' || *begin == '\t'))
        ++begin;
    while (end > begin && (end[-1] == ' ' || end[-1] == '\t' || end[-1] == '\r'))
        --end;
    return std::string_view(begin, static_cast<size_t>(end - begin));
}

// The lines of the text, one at a time, with their numbers.
class Lines {
public:
    explicit Lines(const std::string& data) : p_(data.data()), end_(data.data() + data.size()) {}

    // The next line without its blanks; false at the end of the text.
    bool next(std::string_view& out)
    {
        if (p_ >= end_)
            return false;
        const char* eol = static_cast<const char*>(std::memchr(p_, '\n', static_cast<size_t>(end_ - p_)));
        const char* stop = eol != nullptr ? eol : end_;
        ++line_;
        if (static_cast<size_t>(stop - p_) > kMaxLine)
            failAt(line_, L"the line is longer than " + std::to_wstring(kMaxLine) + L" characters");
        out = stripped(p_, stop);
        raw_ = std::string_view(p_, static_cast<size_t>(stop - p_));
        if (!raw_.empty() && raw_.back() == '\r')
            raw_.remove_suffix(1);
        p_ = eol != nullptr ? eol + 1 : end_;
        return true;
    }
    bool atEnd() const { return p_ >= end_; }
    size_t line() const { return line_; }
    // The last line with its blanks.
    std::string_view raw() const { return raw_; }

private:
    const char* p_;
    const char* end_;
    size_t line_ = 0;
    std::string_view raw_;
};

}  // namespace

Kind kindOf(int code, bool* wide)
{
    if (wide != nullptr)
        *wide = false;
    if (code < 0)
        return Kind::Invalid;
    for (const CodeRange& range : kCodeRanges) {
        if (code <= range.last) {
            if (wide != nullptr)
                *wide = range.wide;
            return range.kind;
        }
    }
    return Kind::Invalid;
}

std::vector<Pair> readPairs(const std::string& data)
{
    static const char kBinarySentinel[] = "AutoCAD Binary DXF";
    if (data.compare(0, sizeof kBinarySentinel - 1, kBinarySentinel) == 0)
        fail(L"binary DXF files are not read");
    if (data.find('\0') != std::string::npos)
        fail(L"it is not a DXF text file (it holds NUL bytes)");
    std::vector<Pair> pairs;
    // Two lines a group: room for them all at once, so that the list does
    // not stand twice in memory as it grows.
    pairs.reserve(static_cast<size_t>(std::count(data.begin(), data.end(), '\n')) / 2 + 1);
    Lines lines(data);
    std::string_view codeText, value;
    while (lines.next(codeText)) {
        const size_t codeLine = lines.line();
        if (codeText.empty() && lines.atEnd())
            break;  // a last empty line
        long long code = 0;
        if (!parseInteger(codeText, code) || code < 0 || code > 1071 || kindOf(static_cast<int>(code)) == Kind::Invalid)
            failAt(codeLine, L"not a DXF group code");
        if (!lines.next(value))
            failAt(codeLine, L"the file ends inside a group");
        Pair pair;
        pair.code = static_cast<std::int16_t>(code);
        pair.line = static_cast<std::uint32_t>(codeLine);
        bool wide = false;
        switch (kindOf(pair.code, &wide)) {
        case Kind::Real: {
            double v = 0.0;
            if (!parseReal(value, v))
                failAt(lines.line(), L"not a finite number");
            break;
        }
        case Kind::Int:
        case Kind::Bool: {
            long long v = 0;
            if (!parseInteger(value, v) || (!wide && (v < INT32_MIN || v > INT32_MAX)))
                failAt(lines.line(), L"not an integer in range");
            break;
        }
        default: break;
        }
        // A text keeps its blanks.
        const std::string_view kept = pair.code == 1 ? lines.raw() : value;
        pair.text = kept.data();
        pair.size = static_cast<std::uint16_t>(kept.size());
        pairs.push_back(pair);
        if (pair.code == 0 && pair.value() == "EOF")
            break;
    }
    return pairs;
}

double realOf(const Pair& p)
{
    return std::strtod(std::string(p.value()).c_str(), nullptr);
}

long long intOf(const Pair& p)
{
    return std::strtoll(std::string(p.value()).c_str(), nullptr, 10);
}

}  // namespace standin::dxfin
