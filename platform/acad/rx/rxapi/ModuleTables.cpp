// The part of the SDK that is linked into every module: the interface
// version handshake and the module's own tables of commands, scripting
// functions and object classes. Built with hidden visibility, so that each
// module has its own tables.
#include "acrxEntryPoint.h"
#include "standin/AcEdStandin.h"

namespace {

template <class Link> struct Chain {
    Link* head;
    Link* tail;
};

// Constant-initialised: the tables are ready before any static initialiser
// of the module adds to them.
Chain<AcRxModuleTables::CommandLink> commandChain = {nullptr, nullptr};
Chain<AcRxModuleTables::SymbolLink> symbolChain = {nullptr, nullptr};
Chain<AcRxModuleTables::ObjectLink> objectChain = {nullptr, nullptr};

template <class Link> void append(Chain<Link>& chain, Link* link)
{
    link->next = nullptr;
    if (chain.tail == nullptr)
        chain.head = link;
    else
        chain.tail->next = link;
    chain.tail = link;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion()
{
    return 18;
}

namespace AcRxModuleTables {

CommandLink::CommandLink(_ACED_ARXCOMMAND_ENTRY* e) : entry(e), next(nullptr)
{
    append(commandChain, this);
}

SymbolLink::SymbolLink(_ADSSYMBOL_ENTRY* e) : entry(e), next(nullptr)
{
    append(symbolChain, this);
}

ObjectLink::ObjectLink(_ACDB_OBJECT_ENTRY* e) : entry(e), next(nullptr)
{
    append(objectChain, this);
}

CommandLink* commands()
{
    return commandChain.head;
}

SymbolLink* symbols()
{
    return symbolChain.head;
}

ObjectLink* objects()
{
    return objectChain.head;
}

HINSTANCE moduleInstance()
{
    return standin::rx::moduleInstanceAt(reinterpret_cast<const void*>(&commandChain));
}

}  // namespace AcRxModuleTables
