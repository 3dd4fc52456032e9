// The command stack: groups of registered commands, the group added last on top.
#include <algorithm>
#include <cwctype>
#include <memory>
#include <string>
#include <vector>

#include "standin/AcEdStandin.h"

#include "accmd.h"

#include "RxInternal.h"

namespace {

std::wstring upper(const std::wstring& text)
{
    std::wstring result(text);
    for (wchar_t& c : result)
        c = static_cast<wchar_t>(std::towupper(c));
    return result;
}

bool validName(const ACHAR* name)
{
    if (name == nullptr || name[0] == 0)
        return false;
    const std::wstring text(name);
    if (text.size() > ACRX_MAX_CMDNAME_LEN)
        return false;
    return std::none_of(text.begin(), text.end(), [](wchar_t c) { return std::iswspace(c) != 0; });
}

class Command : public AcEdCommand {
public:
    void commandUndef(bool undefIt) override { undefined_ = undefIt; }
    Adesk::Int32 commandFlags() const override { return flags_; }
    AcRxFunctionPtr functionAddr() const override
    {
        // A command whose application was unloaded has nothing to run.
        return app_ != 0 && !kv_rx::appLoaded(app_) ? nullptr : function_;
    }
    void functionAddr(AcRxFunctionPtr fhdl) override { function_ = fhdl; }
    void* commandApp() const override { return kv_rx::appBySerial(app_); }
    AcEdUIContext* UIContext() const override { return ui_; }
    int functionCode() const override { return fcode_; }
    void functionCode(int fcode) override { fcode_ = fcode; }
    const ACHAR* globalName() const override { return global_.c_str(); }
    const ACHAR* localName() const override { return local_.c_str(); }
    HINSTANCE resourceHandle() const override { return resources_; }

    bool undefined() const { return undefined_; }

    std::wstring global_;
    std::wstring local_;
    Adesk::Int32 flags_ = 0;
    AcRxFunctionPtr function_ = nullptr;
    AcEdUIContext* ui_ = nullptr;
    int fcode_ = -1;
    HINSTANCE resources_ = nullptr;
    int app_ = 0;
    bool undefined_ = false;
};

struct Group {
    std::wstring name;
    std::vector<std::unique_ptr<Command>> commands;
};

class Iterator : public AcEdCommandIterator {
public:
    struct Item {
        const AcEdCommand* command;
        std::wstring group;
    };
    explicit Iterator(std::vector<Item> items) : items_(std::move(items)) {}
    bool done() const override { return index_ >= items_.size(); }
    bool next() override
    {
        if (index_ < items_.size())
            ++index_;
        return !done();
    }
    const AcEdCommand* command() const override { return done() ? nullptr : items_[index_].command; }
    const ACHAR* commandGroup() const override { return done() ? nullptr : items_[index_].group.c_str(); }

private:
    std::vector<Item> items_;
    size_t index_ = 0;
};

class CommandStack : public AcEdCommandStack {
public:
    Acad::ErrorStatus addCommand(const ACHAR* group, const ACHAR* globalName, const ACHAR* localName,
                                 Adesk::Int32 flags, AcRxFunctionPtr function, AcEdUIContext* ui, int fcode,
                                 HINSTANCE resources, AcEdCommand** ret) override
    {
        if (ret != nullptr)
            *ret = nullptr;
        if (localName == nullptr || localName[0] == 0)
            localName = globalName;
        if (!validName(group) || !validName(globalName) || !validName(localName) || function == nullptr)
            return Acad::eInvalidInput;
        Group* g = findGroup(group);
        if (g != nullptr) {
            const std::wstring global = upper(globalName);
            const std::wstring local = upper(localName);
            for (const auto& c : g->commands) {
                if (upper(c->global_) == global || upper(c->local_) == local)
                    return Acad::eDuplicateKey;
            }
        } else {
            groups_.insert(groups_.begin(), Group{group, {}});
            g = &groups_.front();
        }
        auto command = std::make_unique<Command>();
        command->global_ = globalName;
        command->local_ = localName;
        command->flags_ = flags;
        command->function_ = function;
        command->ui_ = ui;
        command->fcode_ = fcode;
        command->resources_ = resources;
        command->app_ = kv_rx::currentAppSerial();
        if (ret != nullptr)
            *ret = command.get();
        g->commands.push_back(std::move(command));
        return Acad::eOk;
    }

    AcEdCommandIterator* iterator() override
    {
        std::vector<Iterator::Item> items;
        for (const Group& g : groups_) {
            for (const auto& c : g.commands)
                items.push_back(Iterator::Item{c.get(), g.name});
        }
        return new Iterator(std::move(items));
    }

    AcEdCommand* lookupGlobalCmd(const ACHAR* name) override { return lookup(name, true, false); }
    AcEdCommand* lookupLocalCmd(const ACHAR* name) override { return lookup(name, false, false); }
    AcEdCommand* lookupCmd(const ACHAR* name, bool globalFlag) override { return lookup(name, globalFlag, false); }
    AcEdCommand* lookupCmd(const ACHAR* name, bool globalFlag, bool /*allGroups*/) override
    {
        return lookup(name, globalFlag, false);
    }
    AcEdCommand* lookupCmd(const ACHAR* name, bool globalFlag, bool /*allGroups*/, bool skipUndefed) override
    {
        return lookup(name, globalFlag, skipUndefed);
    }

    Acad::ErrorStatus popGroupToTop(const ACHAR* group) override
    {
        for (auto it = groups_.begin(); it != groups_.end(); ++it) {
            if (sameName(it->name, group)) {
                Group moved = std::move(*it);
                groups_.erase(it);
                groups_.insert(groups_.begin(), std::move(moved));
                return Acad::eOk;
            }
        }
        return Acad::eKeyNotFound;
    }

    Acad::ErrorStatus removeCmd(const ACHAR* group, const ACHAR* globalName) override
    {
        if (group == nullptr || globalName == nullptr)
            return Acad::eKeyNotFound;
        for (auto g = groups_.begin(); g != groups_.end(); ++g) {
            if (!sameName(g->name, group))
                continue;
            for (auto c = g->commands.begin(); c != g->commands.end(); ++c) {
                if (sameName((*c)->global_, globalName)) {
                    g->commands.erase(c);
                    if (g->commands.empty())
                        groups_.erase(g);
                    return Acad::eOk;
                }
            }
            return Acad::eKeyNotFound;
        }
        return Acad::eKeyNotFound;
    }

    Acad::ErrorStatus removeGroup(const ACHAR* group) override
    {
        for (auto g = groups_.begin(); g != groups_.end(); ++g) {
            if (sameName(g->name, group)) {
                groups_.erase(g);
                return Acad::eOk;
            }
        }
        return Acad::eKeyNotFound;
    }

    std::vector<standin::rx::RegisteredCommand> list() const
    {
        std::vector<standin::rx::RegisteredCommand> result;
        for (const Group& g : groups_) {
            for (const auto& c : g.commands) {
                standin::rx::RegisteredCommand r;
                r.group = g.name;
                r.globalName = c->global_;
                r.localName = c->local_;
                r.flags = c->flags_;
                r.function = c->function_;
                r.uiContext = c->ui_;
                r.functionCode = c->fcode_;
                r.resourceHandle = c->resources_;
                result.push_back(r);
            }
        }
        return result;
    }

private:
    static bool sameName(const std::wstring& a, const ACHAR* b) { return b != nullptr && upper(a) == upper(b); }

    Group* findGroup(const ACHAR* name)
    {
        for (Group& g : groups_) {
            if (sameName(g.name, name))
                return &g;
        }
        return nullptr;
    }

    AcEdCommand* lookup(const ACHAR* name, bool global, bool skipUndefined)
    {
        if (name == nullptr)
            return nullptr;
        const std::wstring wanted = upper(name);
        for (Group& g : groups_) {
            for (const auto& c : g.commands) {
                if (skipUndefined && c->undefined())
                    continue;
                if (upper(global ? c->global_ : c->local_) == wanted)
                    return c.get();
            }
        }
        return nullptr;
    }

    std::vector<Group> groups_;
};

CommandStack* theStack = nullptr;

}  // namespace

AcEdCommandStack* kvNewCommandStack()
{
    theStack = new CommandStack();
    return theStack;
}

namespace standin {
namespace rx {

std::vector<RegisteredCommand> registeredCommands()
{
    acrxSysRegistry();
    return theStack != nullptr ? theStack->list() : std::vector<RegisteredCommand>();
}

}  // namespace rx
}  // namespace standin
