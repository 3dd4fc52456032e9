// Keyword prompts on the command line, a search in a list of texts, erasing
// and highlighting entities.
#pragma once

#include <afxwin.h>
#include <dbmain.h>
#include <dbsubeid.h>

// The path of a whole entity (null object id, null subentity id), with which
// the toolkit highlights entities.
extern const AcDbFullSubentPath NullSubentPath;

// Asks a yes/no question. `answer` gives the default shown (non-zero: Yes)
// and receives the answer. 1 when an answer or the empty answer was taken,
// 0 on failure (answer unchanged).
int GetYesNo(const CString& prompt, BOOL& answer);

// Asks for one of `keywords` (separated by blanks). An empty answer takes
// `defaultKeyword` unless that is empty. 1 when a keyword or the default was
// taken, 0 on failure (answer unchanged).
int GetKeyword(const CString& prompt, const CString& keywords, CString& answer, const CString& defaultKeyword);

// Index of the first element equal to `text` (case-sensitive), -1 for none.
int FindInStringArray(const CStringArray& array, CString text);

// Erases one entity: 1 when the host erased it or it was erased already
// (it stays erased), else 0.
int EraseEntity(const AcDbObjectId& id);

// Erases every entity of `ids`, in order; one named twice stays erased; always 1.
int EraseEntities(const AcArray<AcDbObjectId>& ids);

// Highlights the whole entity; nothing happens when it cannot be opened.
void HighlightEntity(const AcDbObjectId& id);
