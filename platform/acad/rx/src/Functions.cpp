// Functions of the host's scripting language defined by applications.
#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

#include "standin/AcEdStandin.h"

#include "acedads.h"
#include "adscodes.h"

#include "RxInternal.h"

namespace {

struct Function {
    std::wstring name;
    int code = 0;
    int app = 0;
    int (*direct)() = nullptr;  // acedRegFunc
};

struct FunctionState {
    std::vector<Function> functions;
    int invoking = RTERROR;  // the code being invoked
};

FunctionState& state()
{
    static auto* s = new FunctionState();
    return *s;
}

std::wstring upper(const ACHAR* text)
{
    std::wstring result = text != nullptr ? text : L"";
    for (wchar_t& c : result)
        c = static_cast<wchar_t>(std::towupper(c));
    return result;
}

}  // namespace

namespace kv_rx {

void forgetFunctionsOf(int serial)
{
    auto& f = state().functions;
    f.erase(std::remove_if(f.begin(), f.end(), [&](const Function& x) { return x.app == serial; }), f.end());
}

}  // namespace kv_rx

int acedDefun(const ACHAR* sname, int funcno)
{
    if (sname == nullptr || sname[0] == 0 || funcno < 0)
        return RTERROR;
    const std::wstring name = upper(sname);
    auto& f = state().functions;
    f.erase(std::remove_if(f.begin(), f.end(), [&](const Function& x) { return upper(x.name.c_str()) == name; }),
            f.end());
    f.push_back(Function{sname, funcno, kv_rx::currentAppSerial(), nullptr});
    return RTNORM;
}

int acedUndef(const ACHAR* sname, int funcno)
{
    const std::wstring name = upper(sname);
    const int app = kv_rx::currentAppSerial();
    auto& f = state().functions;
    auto it = std::find_if(f.begin(), f.end(), [&](const Function& x) {
        return upper(x.name.c_str()) == name && x.code == funcno && x.app == app;
    });
    if (it == f.end())
        return RTERROR;
    f.erase(it);
    return RTNORM;
}

int acedGetFunCode()
{
    return state().invoking;
}

int acedRegFunc(int (*fhdl)(), int fcode)
{
    const int app = kv_rx::currentAppSerial();
    for (Function& x : state().functions) {
        if (x.app == app && x.code == fcode) {
            x.direct = fhdl;
            return RTNORM;
        }
    }
    return RTERROR;
}

struct resbuf* acedGetArgs()
{
    return nullptr;
}

int acedRetVoid()
{
    return RTNORM;
}

namespace standin {
namespace rx {

std::vector<DefinedFunction> definedFunctions()
{
    std::vector<DefinedFunction> result;
    for (const Function& f : state().functions)
        result.push_back(DefinedFunction{f.name, f.code, kv_rx::appBySerial(f.app)});
    return result;
}

int invokeFunction(const std::wstring& name)
{
    const std::wstring wanted = upper(name.c_str());
    for (const Function& f : state().functions) {
        if (upper(f.name.c_str()) != wanted)
            continue;
        kv_rx::App* app = kv_rx::appBySerial(f.app);
        const int previous = state().invoking;
        state().invoking = f.code;
        if (f.direct != nullptr)
            f.direct();
        else if (app != nullptr)
            kv_rx::send(app, AcRx::kInvkSubrMsg);
        state().invoking = previous;
        return RTNORM;
    }
    return RTERROR;
}

}  // namespace rx
}  // namespace standin
