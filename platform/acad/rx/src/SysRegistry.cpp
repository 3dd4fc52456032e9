// The host's system registry and the run-time classes of the runtime.
#include <cwctype>
#include <string>
#include <utility>
#include <vector>

#include "accmd.h"
#include "aced.h"
#include "rxdict.h"
#include "rxdlinkr.h"
#include "rxregsvc.h"

ACRX_NO_CONS_DEFINE_MEMBERS(AcRxDictionary, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcRxDynamicLinker, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcEdCommand, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcEdCommandIterator, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcEdCommandStack, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcEdUIContext, AcRxObject)

AcRxDynamicLinker* kvNewDynamicLinker();
AcEdCommandStack* kvNewCommandStack();

namespace {

std::wstring upper(const ACHAR* text)
{
    std::wstring result = text != nullptr ? text : L"";
    for (wchar_t& c : result)
        c = static_cast<wchar_t>(std::towupper(c));
    return result;
}

class Dictionary : public AcRxDictionary {
public:
    AcRxObject* at(const ACHAR* key) const override
    {
        const std::wstring k = upper(key);
        for (const auto& entry : entries_) {
            if (upper(entry.first.c_str()) == k)
                return entry.second;
        }
        return nullptr;
    }
    AcRxObject* atPut(const ACHAR* key, AcRxObject* value) override
    {
        if (key == nullptr)
            return nullptr;
        const std::wstring k = upper(key);
        for (auto& entry : entries_) {
            if (upper(entry.first.c_str()) == k)
                return std::exchange(entry.second, value);
        }
        entries_.emplace_back(key, value);
        return nullptr;
    }
    AcRxObject* remove(const ACHAR* key) override
    {
        const std::wstring k = upper(key);
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (upper(it->first.c_str()) == k) {
                AcRxObject* value = it->second;
                entries_.erase(it);
                return value;
            }
        }
        return nullptr;
    }
    bool has(const ACHAR* key) const override { return at(key) != nullptr; }
    Adesk::UInt32 numEntries() const override { return static_cast<Adesk::UInt32>(entries_.size()); }
    AcRxDictionaryIterator* newIterator() const override { return new Iterator(entries_); }

private:
    typedef std::vector<std::pair<std::wstring, AcRxObject*>> Entries;

    class Iterator : public AcRxDictionaryIterator {
    public:
        explicit Iterator(Entries entries) : entries_(std::move(entries)) {}
        bool done() const override { return index_ >= entries_.size(); }
        bool next() override
        {
            if (index_ < entries_.size())
                ++index_;
            return !done();
        }
        AcRxObject* object() const override { return done() ? nullptr : entries_[index_].second; }
        const ACHAR* key() const override { return done() ? nullptr : entries_[index_].first.c_str(); }

    private:
        Entries entries_;
        size_t index_ = 0;
    };

    Entries entries_;
};

}  // namespace

AcRxDictionary* acrxSysRegistry()
{
    static Dictionary* registry = [] {
        auto* created = new Dictionary();
        created->atPut(ACRX_DYNAMIC_LINKER, kvNewDynamicLinker());
        created->atPut(ACRX_COMMAND_DOCK, kvNewCommandStack());
        return created;
    }();
    return registry;
}

void acrxBuildClassHierarchy() {}
