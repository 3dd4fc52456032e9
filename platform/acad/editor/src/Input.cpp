// Command-line input: the answers that acedCommand passes to the prompts of
// its commands, acedInitGet's input control and keyword prompts.
#include <cwctype>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "standin/User.h"

#include "acedads.h"
#include "adscodes.h"

#include "EditorInternal.h"

namespace {

// Input-control flags.
constexpr int kNoNull = 1;
constexpr int kOther = 128;  // arbitrary input is accepted

std::vector<std::deque<std::wstring>>& answerFrames()
{
    static auto* frames = new std::vector<std::deque<std::wstring>>();
    return *frames;
}

kv_editor::InputControl& pendingControl()
{
    static auto* control = new kv_editor::InputControl();
    return *control;
}

std::wstring& lastKeyword()
{
    static auto* keyword = new std::wstring();
    return *keyword;
}

// The keyword result buffer holds 131 characters and the terminator.
constexpr size_t kKeywordBuffer = 132;

void copyResult(const std::wstring& text, ACHAR* result)
{
    if (result == nullptr)
        return;
    const size_t n = text.size() < kKeywordBuffer - 1 ? text.size() : kKeywordBuffer - 1;
    text.copy(result, n);
    result[n] = 0;
}

}  // namespace

namespace kv_editor {

void pushAnswers(std::vector<std::wstring> answers)
{
    answerFrames().emplace_back(answers.begin(), answers.end());
}

void popAnswers()
{
    if (!answerFrames().empty())
        answerFrames().pop_back();
}

std::optional<std::wstring> takeAnswer()
{
    auto& frames = answerFrames();
    if (frames.empty() || frames.back().empty())
        return std::nullopt;
    std::wstring answer = frames.back().front();
    frames.back().pop_front();
    return answer;
}

size_t answersLeft()
{
    auto& frames = answerFrames();
    return frames.empty() ? 0 : frames.back().size();
}

std::optional<std::wstring> ask(const std::wstring& prompt)
{
    if (auto answer = takeAnswer())
        return answer;
    return standin::currentUser().commandLine(prompt);
}

InputControl takeInputControl()
{
    InputControl control = pendingControl();
    pendingControl() = InputControl();
    return control;
}

void setLastKeyword(const std::wstring& keyword)
{
    lastKeyword() = keyword;
}

void resetInput()
{
    answerFrames().clear();
    pendingControl() = InputControl();
    lastKeyword().clear();
}

// ---- Keywords ---------------------------------------------------------------------

KeywordList::KeywordList(const std::wstring& list)
{
    bool global = false;
    size_t i = 0;
    while (i < list.size()) {
        while (i < list.size() && std::iswspace(list[i]))
            ++i;
        size_t j = i;
        while (j < list.size() && !std::iswspace(list[j]))
            ++j;
        if (j > i) {
            const std::wstring token = list.substr(i, j - i);
            if (token == L"_") {
                if (global)
                    valid_ = false;
                global = true;
            } else {
                const size_t comma = token.find(L',');
                if (comma != std::wstring::npos) {
                    const std::wstring word = upper(token.substr(0, comma));
                    const std::wstring abbreviation = upper(token.substr(comma + 1));
                    if (word.empty() || abbreviation.empty() || word.compare(0, abbreviation.size(), abbreviation) != 0)
                        valid_ = false;
                }
                (global ? global_ : local_).push_back(parse(token));
            }
        }
        i = j;
    }
    if (global && global_.size() != local_.size())
        valid_ = false;
}

KeywordList::Keyword KeywordList::parse(const std::wstring& token)
{
    Keyword keyword;
    const size_t comma = token.find(L',');
    if (comma != std::wstring::npos) {
        keyword.word = token.substr(0, comma);
        keyword.abbreviation = upper(token.substr(comma + 1));
    } else {
        keyword.word = token;
        for (wchar_t c : token) {
            if (!std::iswlower(c))
                keyword.abbreviation += c;
        }
        // A keyword without capitals is typed in full.
        if (keyword.abbreviation.empty())
            keyword.abbreviation = upper(token);
    }
    if (keyword.abbreviation.empty())
        keyword.abbreviation = upper(keyword.word);
    return keyword;
}

bool KeywordList::matches(const Keyword& keyword, const std::wstring& answer)
{
    const std::wstring word = upper(keyword.word);
    if (answer == word || answer == keyword.abbreviation)
        return true;
    // Any longer beginning of the word also names it, when the
    // abbreviation is the word's own beginning ("LT", "LTY", "LTYP").
    return word.compare(0, keyword.abbreviation.size(), keyword.abbreviation) == 0 &&
        answer.size() >= keyword.abbreviation.size() && answer.size() <= word.size() &&
        word.compare(0, answer.size(), answer) == 0;
}

std::optional<std::wstring> KeywordList::match(const std::wstring& rawAnswer) const
{
    std::wstring answer = upper(trim(rawAnswer));
    if (answer.empty())
        return std::nullopt;
    // "_Word": the global keyword (the local list stands for it when there
    // is no global list).
    if (answer[0] == L'_' && answer.size() > 1) {
        answer.erase(0, 1);
        const auto& list = global_.empty() ? local_ : global_;
        for (const Keyword& k : list) {
            if (matches(k, answer))
                return k.word;
        }
        return std::nullopt;
    }
    for (size_t i = 0; i < local_.size(); ++i) {
        if (matches(local_[i], answer))
            return i < global_.size() ? global_[i].word : local_[i].word;
    }
    return std::nullopt;
}

// ---- Text helpers ----------------------------------------------------------------

std::wstring upper(const std::wstring& text)
{
    std::wstring result(text);
    for (wchar_t& c : result)
        c = static_cast<wchar_t>(std::towupper(c));
    return result;
}

bool equalNoCase(const std::wstring& a, const std::wstring& b)
{
    return a.size() == b.size() && upper(a) == upper(b);
}

std::wstring trim(const std::wstring& text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::iswspace(text[begin]))
        ++begin;
    while (end > begin && std::iswspace(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

bool parsePoint(const std::wstring& text, ads_point point, bool* hasZ)
{
    std::vector<double> values;
    size_t i = 0;
    const std::wstring t = trim(text);
    if (t.empty())
        return false;
    while (i <= t.size()) {
        const size_t comma = t.find(L',', i);
        const std::wstring part = trim(t.substr(i, comma == std::wstring::npos ? std::wstring::npos : comma - i));
        if (part.empty())
            return false;
        size_t used = 0;
        double value = 0;
        try {
            value = std::stod(part, &used);
        } catch (...) {
            return false;
        }
        if (used != part.size())
            return false;
        values.push_back(value);
        if (comma == std::wstring::npos)
            break;
        i = comma + 1;
    }
    if (values.size() != 2 && values.size() != 3)
        return false;
    point[0] = values[0];
    point[1] = values[1];
    point[2] = values.size() == 3 ? values[2] : 0.0;
    if (hasZ != nullptr)
        *hasZ = values.size() == 3;
    return true;
}

namespace {

bool wildMatchOne(const wchar_t* p, const wchar_t* t)
{
    // Iterative * matching with backtracking to the last star.
    const wchar_t* star = nullptr;
    const wchar_t* resume = nullptr;
    while (*t) {
        if (*p == L'?' || (*p && *p != L'*' && std::towupper(*p) == std::towupper(*t))) {
            ++p;
            ++t;
        } else if (*p == L'*') {
            star = p++;
            resume = t;
        } else if (star) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (*p == L'*')
        ++p;
    return *p == 0;
}

}  // namespace

bool wildMatch(const std::wstring& pattern, const std::wstring& text)
{
    size_t i = 0;
    while (true) {
        const size_t comma = pattern.find(L',', i);
        const std::wstring alternative =
            pattern.substr(i, comma == std::wstring::npos ? std::wstring::npos : comma - i);
        if (wildMatchOne(alternative.c_str(), text.c_str()))
            return true;
        if (comma == std::wstring::npos)
            return false;
        i = comma + 1;
    }
}

}  // namespace kv_editor

int acedInitGet(int val, const ACHAR* kwl)
{
    kv_editor::InputControl& control = pendingControl();
    const std::wstring keywords = kwl != nullptr ? kwl : L"";
    if (!kv_editor::KeywordList(keywords).valid()) {
        control = kv_editor::InputControl();
        return RTERROR;
    }
    control.flags = val;
    control.keywords = keywords;
    return RTNORM;
}

int acedGetKword(const ACHAR* prompt, ACHAR* result)
{
    const kv_editor::InputControl control = kv_editor::takeInputControl();
    const kv_editor::KeywordList keywords(control.keywords);
    if (keywords.empty())
        return RTERROR;
    const std::wstring promptText = prompt != nullptr ? prompt : L"";
    while (true) {
        const std::optional<std::wstring> answer = kv_editor::ask(promptText);
        if (!answer)
            return RTCAN;
        const std::wstring text = kv_editor::trim(*answer);
        if (text.empty()) {
            if (control.flags & kNoNull)
                continue;
            copyResult(L"", result);
            return RTNONE;
        }
        if (auto keyword = keywords.match(text)) {
            copyResult(*keyword, result);
            kv_editor::setLastKeyword(*keyword);
            return RTNORM;
        }
        if (control.flags & kOther) {
            // Arbitrary input is handed back as typed.
            copyResult(text, result);
            kv_editor::setLastKeyword(text);
            return RTNORM;
        }
        kv_editor::print(L"Invalid option keyword.\n");
    }
}

int acedGetInput(ACHAR* str)
{
    if (str == nullptr)
        return RTERROR;
    copyResult(lastKeyword(), str);
    return RTNORM;
}
