#include "Prompts.h"

#include <aced.h>
#include <adscodes.h>
#include <adsdb.h>
#include <adslib.h>

const AcDbFullSubentPath NullSubentPath{AcDbObjectId(), AcDbSubentId()};

namespace {

// The host writes the keyword read into this buffer; it holds the longest
// keyword the host takes and its terminator.
const int kKeywordBufferSize = 132;

// True when every keyword of the blank-separated list fits the buffer that
// receives the keyword read, with its terminator.
bool KeywordsFitBuffer(const CString& keywords)
{
    const LPCTSTR text = keywords;
    int length = 0;
    for (int i = 0; text[i] != L'\0'; ++i) {
        if (text[i] == L' ') {
            length = 0;
        } else if (++length > kKeywordBufferSize - 1) {
            return false;
        }
    }
    return true;
}

}  // namespace

int GetYesNo(const CString& prompt, BOOL& answer)
{
    if (acedInitGet(0, L"Yes No") != RTNORM)
        return 0;

    CString line;
    line.Format(L"%s [Yes/No] <%s>: ", (LPCTSTR)prompt, answer ? L"Yes" : L"No");

    ACHAR keyword[kKeywordBufferSize] = {};
    const int result = acedGetKword(line, keyword);
    if (result == RTNONE)
        return 1;
    if (result != RTNORM)
        return 0;

    const CString word(keyword);
    if (word == L"Yes" || word == L"YES" || word == L"Y") {
        answer = 1;
        return 1;
    }
    if (word == L"No" || word == L"NO" || word == L"N") {
        answer = 0;
        return 1;
    }
    return 0;
}

int GetKeyword(const CString& prompt, const CString& keywords, CString& answer, const CString& defaultKeyword)
{
    // The host would write a longer keyword past the end of the buffer.
    if (!KeywordsFitBuffer(keywords))
        return 0;
    if (acedInitGet(0, keywords) != RTNORM)
        return 0;

    CString choices(keywords);
    choices.Replace(L" ", L"/");

    CString line;
    line.Format(L"%s [%s] ", (LPCTSTR)prompt, (LPCTSTR)choices);
    if (!defaultKeyword.IsEmpty()) {
        CString withDefault;
        withDefault.Format(L"%s<%s>", (LPCTSTR)line, (LPCTSTR)defaultKeyword);
        line = withDefault;
    }
    line += L": ";

    ACHAR keyword[kKeywordBufferSize] = {};
    const int result = acedGetKword(line, keyword);
    if (result == RTNONE) {
        if (defaultKeyword.IsEmpty())
            return 0;
        answer = defaultKeyword;
        return 1;
    }
    if (result != RTNORM)
        return 0;

    answer = keyword;
    return 1;
}

int FindInStringArray(const CStringArray& array, CString text)
{
    const INT_PTR count = array.GetSize();
    for (INT_PTR i = 0; i < count; ++i) {
        if (array.GetAt(i) == text)
            return static_cast<int>(i);
    }
    return -1;
}

int EraseEntity(const AcDbObjectId& id)
{
    // The host's deletion toggles: on an erased entity it would bring it back.
    if (!id.isNull() && id.isErased())
        return 1;
    ads_name name = {0, 0};
    acdbGetAdsName(name, id);
    return acdbEntDel(name) == RTNORM ? 1 : 0;
}

int EraseEntities(const AcArray<AcDbObjectId>& ids)
{
    for (int i = 0; i < ids.length(); ++i)
        EraseEntity(ids[i]);
    return 1;
}

void HighlightEntity(const AcDbObjectId& id)
{
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead, false) != Acad::eOk)
        return;
    entity->highlight(NullSubentPath, false);
    entity->close();
}
