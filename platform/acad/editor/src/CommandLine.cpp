// The command line: what acutPrintf and the host print, kept for inspection
// and shown to the User.
#include <cstdarg>
#include <string>

#include "standin/AcEdStandin.h"
#include "standin/User.h"
#include "standin/WideFormat.h"

#include "acedads.h"
#include "acutads.h"

#include "EditorInternal.h"

namespace {

std::wstring& commandLine()
{
    static std::wstring* text = new std::wstring();
    return *text;
}

// The command line keeps the last kKeptCharacters characters printed, as the
// host's text window keeps a bounded history: a long session or one huge
// line costs no more than that.
constexpr size_t kKeptCharacters = size_t(1) << 20;

void keep(const std::wstring& text)
{
    std::wstring& kept = commandLine();
    if (text.size() >= kKeptCharacters) {
        kept.assign(text, text.size() - kKeptCharacters, kKeptCharacters);
        return;
    }
    kept += text;
    // Cut only once twice the limit is reached, so that cutting stays rare.
    if (kept.size() >= 2 * kKeptCharacters)
        kept.erase(0, kept.size() - kKeptCharacters);
}

}  // namespace

namespace kv_editor {

void print(const std::wstring& text)
{
    if (text.empty())
        return;
    keep(text);
    standin::currentUser().show(text);
}

void printf(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::wstring text = standin::vformat(format, args);
    va_end(args);
    print(text);
}

}  // namespace kv_editor

int acutPrintf(const ACHAR* format, ...)
{
    if (format == nullptr)
        return -1;
    va_list args;
    va_start(args, format);
    const std::wstring text = standin::vformat(format, args);
    va_end(args);
    kv_editor::print(text);
    return static_cast<int>(text.size());
}

int acedPrompt(const ACHAR* str)
{
    if (str == nullptr)
        return RTERROR;
    kv_editor::print(str);
    return RTNORM;
}

void acedPostCommandPrompt() {}

namespace standin {
namespace editor {

std::wstring commandLineText()
{
    return commandLine();
}

void clearCommandLine()
{
    commandLine().clear();
}

}  // namespace editor
}  // namespace standin
