// What the parts of the editor stand-in share among themselves.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "acadstrc.h"
#include "adsdef.h"
#include "dbid.h"

class AcDbDatabase;

namespace kv_editor {

// ---- Command line ----------------------------------------------------------

// Puts text on the command line: kept for inspection and shown to the User.
void print(const std::wstring& text);
// The same with the platform's wide printf rules.
void printf(const wchar_t* format, ...);

// ---- Input -----------------------------------------------------------------

// The answers that acedCommand's arguments give to the prompts of the
// commands it runs, innermost call last.
void pushAnswers(std::vector<std::wstring> answers);
void popAnswers();
// The next answer of the innermost acedCommand, if it has one left.
std::optional<std::wstring> takeAnswer();
// Answers left unused by the innermost acedCommand.
size_t answersLeft();

// Asks one line: the next acedCommand answer, or else the User at the
// command line. nullopt: cancelled.
std::optional<std::wstring> ask(const std::wstring& prompt);

// The input control of acedInitGet; taken (and cleared) by the next input call.
struct InputControl {
    int flags = 0;
    std::wstring keywords;
};
InputControl takeInputControl();
void setLastKeyword(const std::wstring& keyword);

// A keyword list as acedInitGet takes it.
class KeywordList {
public:
    explicit KeywordList(const std::wstring& list);
    bool empty() const { return local_.empty(); }
    // False for a list the host refuses: a keyword or abbreviation left
    // empty around its comma, an abbreviation that does not begin its word,
    // a second "_", or a global list not as long as the local one.
    bool valid() const { return valid_; }
    // The keyword that answer names, as spelled in the list (the global one
    // when there is a global list); nullopt when it names none.
    std::optional<std::wstring> match(const std::wstring& answer) const;

private:
    struct Keyword {
        std::wstring word;          // as spelled
        std::wstring abbreviation;  // upper case
    };
    static Keyword parse(const std::wstring& token);
    static bool matches(const Keyword& keyword, const std::wstring& upperAnswer);
    std::vector<Keyword> local_;
    std::vector<Keyword> global_;
    bool valid_ = true;
};

// ---- Text helpers ------------------------------------------------------------

std::wstring upper(const std::wstring& text);
bool equalNoCase(const std::wstring& a, const std::wstring& b);
std::wstring trim(const std::wstring& text);
// Parses "x,y" or "x,y,z"; false when the text is not a point.
bool parsePoint(const std::wstring& text, ads_point point, bool* hasZ = nullptr);
// wcmatch-style pattern: comma-separated alternatives, * and ?, no case.
bool wildMatch(const std::wstring& pattern, const std::wstring& text);

// ---- Entities -----------------------------------------------------------------

// The DXF type name of an entity's class ("LINE", "3DFACE"...); "" when none.
std::wstring dxfTypeName(const ACHAR* className);
// The entity of the working database's model or paper space with this hex
// handle text; null when none (or erased).
AcDbObjectId entityByHandleText(const std::wstring& text);
// The hex handle text of an entity.
std::wstring handleText(AcDbObjectId id);

// ---- System variables ---------------------------------------------------------

std::wstring stringVariable(const std::wstring& name);
int shortVariable(const std::wstring& name);
// ERRNO, as the editor's calls set it when they fail.
void setErrno(int code);

// ---- Menus ------------------------------------------------------------------------

// The host commands behind "_menuload" and "_menuunload".
int menuLoadCommand();
int menuUnloadCommand();

// ---- Selection sets ---------------------------------------------------------------

void resetSelection();
void resetMenuState();
void resetVariables();
void resetInput();

}  // namespace kv_editor
