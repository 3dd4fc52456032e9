// System variables: a table of the host's variables with their types,
// ranges and read-only flags.
#include <cstdlib>
#include <cwchar>
#include <map>
#include <string>

#include "standin/AcEdStandin.h"

#include "acedads.h"
#include "adscodes.h"
#include "dbapserv.h"
#include "dbmain.h"
#include "dbsymtb.h"

#include "EditorInternal.h"

namespace {

enum class Kind { String, Short, Real };

struct Variable {
    Kind kind = Kind::Short;
    bool readOnly = false;
    std::wstring text;
    int shortValue = 0;
    double realValue = 0.0;
    int minimum = -32768;
    int maximum = 32767;
    bool (*validShort)(int) = nullptr;
    bool (*validReal)(double) = nullptr;
};

bool validPdmode(int v)
{
    const int base = v & ~0x60;
    return v >= 0 && v <= 100 && base >= 0 && base <= 4;
}

bool positive(double v)
{
    return v > 0.0;
}

// ACADVER of each release letter.
const wchar_t* acadVersion(wchar_t letter)
{
    switch (letter) {
    case L'T': return L"15.0";
    case L'U': return L"15.05";
    case L'K': return L"15.06";
    case L'V': return L"16.0";
    case L'N': return L"16.1";
    case L'Z': return L"16.2";
    case L'A': return L"17.0";
    case L'B': return L"17.1";
    case L'C': return L"17.2";
    case L'D': return L"18.0";
    case L'E': return L"18.1";
    case L'F': return L"18.2";
    default: return nullptr;
    }
}

struct Table {
    std::map<std::wstring, Variable> variables;  // by upper-case name ("_VERNUM" keeps its "_")
    wchar_t release = L'E';
};

Variable stringVar(const wchar_t* value, bool readOnly)
{
    Variable v;
    v.kind = Kind::String;
    v.text = value;
    v.readOnly = readOnly;
    return v;
}

Variable shortVar(int value, int minimum, int maximum)
{
    Variable v;
    v.kind = Kind::Short;
    v.shortValue = value;
    v.minimum = minimum;
    v.maximum = maximum;
    return v;
}

Variable realVar(double value, bool (*valid)(double))
{
    Variable v;
    v.kind = Kind::Real;
    v.realValue = value;
    v.validReal = valid;
    return v;
}

void applyRelease(Table& table, wchar_t letter)
{
    table.release = letter;
    table.variables[L"_VERNUM"].text = std::wstring(1, letter) + L".206.0.0 (UNICODE)";
    if (const wchar_t* version = acadVersion(letter))
        table.variables[L"ACADVER"].text = std::wstring(version) + L"s (LMS Tech)";
}

void fill(Table& table)
{
    auto& v = table.variables;
    v.clear();
    v[L"_VERNUM"] = stringVar(L"", true);
    v[L"ACADVER"] = stringVar(L"", true);
    v[L"DWGNAME"] = stringVar(L"Drawing1.dwg", true);
    v[L"DWGPREFIX"] = stringVar(L"", true);
    v[L"CMDECHO"] = shortVar(1, 0, 1);
    v[L"FILEDIA"] = shortVar(1, 0, 1);
    v[L"CMDDIA"] = shortVar(1, 0, 1);
    v[L"OSMODE"] = shortVar(4133, 0, 32767);
    Variable pdmode = shortVar(0, 0, 100);
    pdmode.validShort = &validPdmode;
    v[L"PDMODE"] = pdmode;
    v[L"PDSIZE"] = realVar(0.0, nullptr);
    v[L"LTSCALE"] = realVar(1.0, &positive);
    v[L"PICKBOX"] = shortVar(3, 0, 50);
    v[L"USERI1"] = shortVar(0, -32768, 32767);
    v[L"USERR1"] = realVar(0.0, nullptr);
    v[L"USERS1"] = stringVar(L"", false);
    // Set by the editor's calls when they fail; read-only for applications.
    Variable errNo = shortVar(0, 0, 32767);
    errNo.readOnly = true;
    v[L"ERRNO"] = errNo;
    // CLAYER lives in the working database.
    v[L"CLAYER"] = stringVar(L"0", false);
    applyRelease(table, L'E');
}

Table& table()
{
    static Table* t = [] {
        auto* created = new Table();
        fill(*created);
        return created;
    }();
    return *t;
}

std::wstring key(const ACHAR* name)
{
    // Only the letter case is ignored: the underscore of "_VERNUM" is part
    // of its name, and no other name takes one.
    return kv_editor::upper(name != nullptr ? name : L"");
}

AcDbDatabase* workingDb()
{
    return acdbHostApplicationServices() != nullptr ? acdbHostApplicationServices()->workingDatabase() : nullptr;
}

bool currentLayerName(std::wstring& name)
{
    AcDbDatabase* db = workingDb();
    if (db == nullptr)
        return false;
    AcDbSymbolTableRecord* record = nullptr;
    AcDbObject* object = nullptr;
    if (acdbOpenAcDbObject(object, db->clayer(), AcDb::kForRead) != Acad::eOk)
        return false;
    record = AcDbSymbolTableRecord::cast(object);
    bool ok = false;
    const ACHAR* text = nullptr;
    if (record != nullptr && record->getName(text) == Acad::eOk && text != nullptr) {
        name = text;
        ok = true;
    }
    object->close();
    return ok;
}

bool setCurrentLayer(const std::wstring& name)
{
    AcDbDatabase* db = workingDb();
    if (db == nullptr || name.empty())
        return false;
    AcDbLayerTable* layers = nullptr;
    if (db->getLayerTable(layers, AcDb::kForRead) != Acad::eOk)
        return false;
    AcDbObjectId id;
    const Acad::ErrorStatus found = layers->getAt(name.c_str(), id);
    layers->close();
    return found == Acad::eOk && db->setClayer(id) == Acad::eOk;
}

}  // namespace

namespace kv_editor {

std::wstring stringVariable(const std::wstring& name)
{
    auto it = table().variables.find(key(name.c_str()));
    return it != table().variables.end() ? it->second.text : std::wstring();
}

int shortVariable(const std::wstring& name)
{
    auto it = table().variables.find(key(name.c_str()));
    return it != table().variables.end() ? it->second.shortValue : 0;
}

void setErrno(int code)
{
    table().variables[L"ERRNO"].shortValue = code;
}

void resetVariables()
{
    fill(table());
}

}  // namespace kv_editor

int acedGetVar(const ACHAR* sym, struct resbuf* result)
{
    if (sym == nullptr || result == nullptr)
        return RTERROR;
    auto it = table().variables.find(key(sym));
    if (it == table().variables.end())
        return RTERROR;
    const Variable& v = it->second;
    switch (v.kind) {
    case Kind::String: {
        std::wstring text = v.text;
        if (it->first == L"CLAYER" && !currentLayerName(text))
            return RTERROR;
        ACHAR* copy = static_cast<ACHAR*>(std::malloc((text.size() + 1) * sizeof(ACHAR)));
        if (copy == nullptr)
            return RTERROR;
        std::wmemcpy(copy, text.c_str(), text.size() + 1);
        result->restype = RTSTR;
        result->resval.rstring = copy;
        return RTNORM;
    }
    case Kind::Short:
        result->restype = RTSHORT;
        result->resval.rint = static_cast<short>(v.shortValue);
        return RTNORM;
    case Kind::Real:
        result->restype = RTREAL;
        result->resval.rreal = v.realValue;
        return RTNORM;
    }
    return RTERROR;
}

namespace {

constexpr int kReadOnly = 20;    // ERRNO: the variable is read-only
constexpr int kOutOfRange = 22;  // ERRNO: the value is refused

int setVariable(const ACHAR* sym, const struct resbuf* val);

}  // namespace

int acedSetVar(const ACHAR* sym, const struct resbuf* val)
{
    const int status = setVariable(sym, val);
    if (status != RTNORM) {
        auto it = table().variables.find(key(sym));
        kv_editor::setErrno(it != table().variables.end() && it->second.readOnly ? kReadOnly : kOutOfRange);
    }
    return status;
}

namespace {

int setVariable(const ACHAR* sym, const struct resbuf* val)
{
    if (sym == nullptr || val == nullptr)
        return RTERROR;
    auto it = table().variables.find(key(sym));
    if (it == table().variables.end() || it->second.readOnly)
        return RTERROR;
    Variable& v = it->second;
    switch (v.kind) {
    case Kind::String: {
        if (val->restype != RTSTR || val->resval.rstring == nullptr)
            return RTERROR;
        const std::wstring text = val->resval.rstring;
        if (it->first == L"CLAYER") {
            if (!setCurrentLayer(text))
                return RTERROR;
            return RTNORM;
        }
        v.text = text;
        return RTNORM;
    }
    case Kind::Short: {
        long value = 0;
        if (val->restype == RTSHORT)
            value = val->resval.rint;
        else if (val->restype == RTLONG)
            value = val->resval.rlong;
        else
            return RTERROR;
        if (value < v.minimum || value > v.maximum)
            return RTERROR;
        if (v.validShort != nullptr && !v.validShort(static_cast<int>(value)))
            return RTERROR;
        v.shortValue = static_cast<int>(value);
        return RTNORM;
    }
    case Kind::Real: {
        double value = 0.0;
        if (val->restype == RTREAL)
            value = val->resval.rreal;
        else if (val->restype == RTSHORT)
            value = val->resval.rint;
        else if (val->restype == RTLONG)
            value = val->resval.rlong;
        else
            return RTERROR;
        if (v.validReal != nullptr && !v.validReal(value))
            return RTERROR;
        v.realValue = value;
        return RTNORM;
    }
    }
    return RTERROR;
}

}  // namespace

namespace standin {
namespace editor {

void setHostRelease(wchar_t letter)
{
    applyRelease(table(), letter);
}

wchar_t hostRelease()
{
    return table().release;
}

void setVernum(const std::wstring& vernum)
{
    table().variables[L"_VERNUM"].text = vernum;
    table().release = vernum.empty() ? 0 : vernum[0];
}

void resetSystemVariables()
{
    fill(table());
}

}  // namespace editor
}  // namespace standin
