// The application framework of ObjectARX modules.
//
// A module derives its application object from AcRxArxApp (or AcRxDbxApp
// for a module without commands), declares its commands with the command
// entry macros below and ends one source file with
// IMPLEMENT_ARX_ENTRYPOINT(ClassName), which defines the application object
// and the exported acrxEntryPoint.
//
// acrxEntryPoint hands every application message to the object: the codes 1
// to 15 go to On_kInitAppMsg ... On_kEndDialogMsg, 0 to On_kNullMsg; any
// other code (above 15, or negative) returns kRetOK and reaches no handler.
//
// The tables of commands, scripting-language functions and object classes
// are kept per module by the static library rxapi, in declaration order.
#pragma once

#include <windows.h>

#include "AdAChar.h"
#include "accmd.h"
#include "acedads.h"
#include "adesk.h"
#include "rxdefs.h"
#include "rxdlinkr.h"
#include "rxregsvc.h"

class AcEdUIContext;

// One record of a module's command table.
struct _ACED_ARXCOMMAND_ENTRY {
    const ACHAR* pszCmdGroupName;
    const ACHAR* pszCmdGlobalName;
    const ACHAR* pszCmdLocalName;  // "" or null: loaded from the string table by localNameID
    Adesk::Int32 commandFlags;
    AcRxFunctionPtr pCommandFunction;
    AcEdUIContext* pUIContext;
    UINT localNameID;
};

// One record of a module's table of scripting-language functions.
struct _ADSSYMBOL_ENTRY {
    const ACHAR* pszName;
    int (*fptr)();
    bool bRegFunc;
    UINT nameID;
};

// One record of a module's table of object classes.
struct _ACDB_OBJECT_ENTRY {
    void (*pfnInit)();
    void (*pfnUninit)();
};

// The module's own tables (rxapi; each module has its own copy).
namespace AcRxModuleTables {

struct CommandLink {
    CommandLink(_ACED_ARXCOMMAND_ENTRY* entry);
    _ACED_ARXCOMMAND_ENTRY* entry;
    CommandLink* next;
};
struct SymbolLink {
    SymbolLink(_ADSSYMBOL_ENTRY* entry);
    _ADSSYMBOL_ENTRY* entry;
    SymbolLink* next;
};
struct ObjectLink {
    ObjectLink(_ACDB_OBJECT_ENTRY* entry);
    _ACDB_OBJECT_ENTRY* entry;
    ObjectLink* next;
};

// The first record of each table, in declaration order; null when empty.
CommandLink* commands();
SymbolLink* symbols();
ObjectLink* objects();

// The instance handle of the module that holds these tables, as the host
// loaded it; null when the host did not load it.
HINSTANCE moduleInstance();

}  // namespace AcRxModuleTables

class AcRxDbxApp {
public:
    AcRxDbxApp() : m_hdllInstance(NULL), m_bUnlocked(true), m_bMDIAware(true) {}

    // The handlers, in the order of the application messages.
    virtual AcRx::AppRetCode On_kInitAppMsg(void* pkt)
    {
        m_hdllInstance = AcRxModuleTables::moduleInstance();
        if (m_bUnlocked)
            acrxDynamicLinker->unlockApplication(pkt);
        if (m_bMDIAware)
            acrxDynamicLinker->registerAppMDIAware(pkt);
        RegisterServerComponents();
        int classes = 0;
        for (AcRxModuleTables::ObjectLink* link = AcRxModuleTables::objects(); link != NULL; link = link->next) {
            if (link->entry != NULL && link->entry->pfnInit != NULL) {
                link->entry->pfnInit();
                ++classes;
            }
        }
        if (classes > 0)
            acrxBuildClassHierarchy();
        return AcRx::kRetOK;
    }
    virtual AcRx::AppRetCode On_kUnloadAppMsg(void* /*pkt*/)
    {
        for (AcRxModuleTables::ObjectLink* link = AcRxModuleTables::objects(); link != NULL; link = link->next) {
            if (link->entry != NULL && link->entry->pfnUninit != NULL)
                link->entry->pfnUninit();
        }
        return AcRx::kRetOK;
    }
    virtual AcRx::AppRetCode On_kLoadDwgMsg(void* /*pkt*/) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kUnloadDwgMsg(void* /*pkt*/) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kInvkSubrMsg(void* /*pkt*/) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kCfgMsg(void* /*pkt*/) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kEndMsg(void* /*pkt*/) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kQuitMsg(void* /*pkt*/) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kSaveMsg(void* /*pkt*/) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kDependencyMsg(void* /*pkt*/) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kNoDependencyMsg(void* /*pkt*/) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kOleUnloadAppMsg(void* /*pkt*/) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kPreQuitMsg(void* /*pkt*/) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kInitDialogMsg(void* /*pkt*/) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kEndDialogMsg(void* /*pkt*/) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kNullMsg(void* /*pkt*/) { return AcRx::kRetOK; }

    // Registers the module's server components; every application supplies it.
    virtual void RegisterServerComponents() = 0;

    AcRx::AppRetCode EntryPoint(AcRx::AppMsgCode msg, void* pkt)
    {
        if (static_cast<unsigned int>(msg) > 15u)
            return AcRx::kRetOK;
        switch (static_cast<int>(msg)) {
        case AcRx::kInitAppMsg: return On_kInitAppMsg(pkt);
        case AcRx::kUnloadAppMsg: return On_kUnloadAppMsg(pkt);
        case AcRx::kLoadDwgMsg: return On_kLoadDwgMsg(pkt);
        case AcRx::kUnloadDwgMsg: return On_kUnloadDwgMsg(pkt);
        case AcRx::kInvkSubrMsg: return On_kInvkSubrMsg(pkt);
        case AcRx::kCfgMsg: return On_kCfgMsg(pkt);
        case AcRx::kEndMsg: return On_kEndMsg(pkt);
        case AcRx::kQuitMsg: return On_kQuitMsg(pkt);
        case AcRx::kSaveMsg: return On_kSaveMsg(pkt);
        case AcRx::kDependencyMsg: return On_kDependencyMsg(pkt);
        case AcRx::kNoDependencyMsg: return On_kNoDependencyMsg(pkt);
        case AcRx::kOleUnloadAppMsg: return On_kOleUnloadAppMsg(pkt);
        case AcRx::kPreQuitMsg: return On_kPreQuitMsg(pkt);
        case AcRx::kInitDialogMsg: return On_kInitDialogMsg(pkt);
        case AcRx::kEndDialogMsg: return On_kEndDialogMsg(pkt);
        default: return On_kNullMsg(pkt);
        }
    }

public:
    HINSTANCE m_hdllInstance;
    bool m_bUnlocked;
    bool m_bMDIAware;
};

class AcRxArxApp : public AcRxDbxApp {
public:
    AcRxArxApp() : AcRxDbxApp() {}

    // The framework's initialisation, then every command of the table, in
    // table order. The results of the additions are not examined.
    AcRx::AppRetCode On_kInitAppMsg(void* pkt) override
    {
        AcRxDbxApp::On_kInitAppMsg(pkt);
        forEachNamedCommand([this](_ACED_ARXCOMMAND_ENTRY* entry) {
            const ACHAR* localName = entry->pszCmdLocalName;
            ACHAR buffer[132] = {};
            if (localName == NULL || localName[0] == 0) {
                ::LoadStringW(m_hdllInstance, entry->localNameID, buffer, 132);
                localName = buffer;
            }
            HINSTANCE resources = (entry->commandFlags & ACRX_CMD_SESSION) ? NULL : m_hdllInstance;
            acedRegCmds->addCommand(entry->pszCmdGroupName, entry->pszCmdGlobalName, localName, entry->commandFlags,
                                    entry->pCommandFunction, entry->pUIContext, -1, resources, NULL);
        });
        return AcRx::kRetOK;
    }

    // Every command of the table taken off the command stack by group and
    // global name; then the framework's own clean-up.
    AcRx::AppRetCode On_kUnloadAppMsg(void* pkt) override
    {
        AcRxDbxApp::On_kUnloadAppMsg(pkt);
        forEachNamedCommand([](_ACED_ARXCOMMAND_ENTRY* entry) {
            acedRegCmds->removeCmd(entry->pszCmdGroupName, entry->pszCmdGlobalName);
        });
        return AcRx::kRetOK;
    }

    // Defines the module's scripting-language functions for the drawing.
    AcRx::AppRetCode On_kLoadDwgMsg(void* /*pkt*/) override
    {
        forEachNamedSymbol([](_ADSSYMBOL_ENTRY* entry, int index) {
            acedDefun(entry->pszName, index);
            if (entry->bRegFunc)
                acedRegFunc(entry->fptr, index);
        });
        return AcRx::kRetOK;
    }

    AcRx::AppRetCode On_kUnloadDwgMsg(void* /*pkt*/) override
    {
        forEachNamedSymbol([](_ADSSYMBOL_ENTRY* entry, int index) { acedUndef(entry->pszName, index); });
        return AcRx::kRetOK;
    }

    // Runs the function whose position in the table is the code being invoked.
    AcRx::AppRetCode On_kInvkSubrMsg(void* /*pkt*/) override
    {
        const int code = acedGetFunCode();
        int index = 0;
        for (AcRxModuleTables::SymbolLink* link = AcRxModuleTables::symbols(); link != NULL;
             link = link->next, ++index) {
            if (index == code && link->entry != NULL && link->entry->fptr != NULL) {
                link->entry->fptr();
                break;
            }
        }
        return AcRx::kRetOK;
    }

private:
    // f(entry) for every record of the command table that has a global name.
    template <class F>
    static void forEachNamedCommand(F f)
    {
        for (AcRxModuleTables::CommandLink* link = AcRxModuleTables::commands(); link != NULL; link = link->next) {
            if (link->entry != NULL && link->entry->pszCmdGlobalName != NULL)
                f(link->entry);
        }
    }

    // f(entry, index) for every record of the function table that has a
    // name; the index counts every record, as the function code does.
    template <class F>
    static void forEachNamedSymbol(F f)
    {
        int index = 0;
        for (AcRxModuleTables::SymbolLink* link = AcRxModuleTables::symbols(); link != NULL;
             link = link->next, ++index) {
            if (link->entry != NULL && link->entry->pszName != NULL)
                f(link->entry, index);
        }
    }
};

// A command record: group, global and local names are written as words
// (Vrn_Kolvane, _Kolvane, Kolvane); the entry function is named. An empty
// local name takes the local name from the module's string table (localId).
#define ACED_ARXCOMMAND_ENTRY(classname, group, globCmd, locCmd, cmdFlags, function, UIContext, localId)               \
    static _ACED_ARXCOMMAND_ENTRY _kvCmd_##classname##_##group##_##globCmd = {                                         \
        L"" #group, L"" #globCmd, L"" #locCmd, (cmdFlags), &function, (UIContext), static_cast<UINT>(localId)};        \
    static AcRxModuleTables::CommandLink _kvCmdLink_##classname##_##group##_##globCmd(                                 \
        &_kvCmd_##classname##_##group##_##globCmd);

// The same with the entry function classname::group##globCmd.
#define ACED_ARXCOMMAND_ENTRY_AUTO(classname, group, globCmd, locCmd, cmdFlags, UIContext)                             \
    ACED_ARXCOMMAND_ENTRY(classname, group, globCmd, locCmd, cmdFlags, classname::group##globCmd, UIContext, -1)

// A command whose local name is the string localId of the module's string table.
#define ACED_ARXCOMMAND_ENTRYBYID_AUTO(classname, group, globCmd, localId, cmdFlags, UIContext)                        \
    ACED_ARXCOMMAND_ENTRY(classname, group, globCmd, , cmdFlags, classname::group##globCmd, UIContext, localId)

// A function of the host's scripting language: classname::ads_##name.
#define ACED_ADSFUNCTION_ENTRY_AUTO(classname, name, regFunc)                                                          \
    static _ADSSYMBOL_ENTRY _kvAds_##classname##_##name = {L"" #name, &classname::ads_##name, (regFunc),               \
                                                           static_cast<UINT>(-1)};                                     \
    static AcRxModuleTables::SymbolLink _kvAdsLink_##classname##_##name(&_kvAds_##classname##_##name);

// An object class of the module, initialised at the initialise-application
// message.
#define ACDB_REGISTER_OBJECT_ENTRY_AUTO(classname)                                                                     \
    static _ACDB_OBJECT_ENTRY _kvObj_##classname = {&classname::rxInit, NULL};                                         \
    static AcRxModuleTables::ObjectLink _kvObjLink_##classname(&_kvObj_##classname);

#define ACRX_EXPORTED_ENTRY extern "C" __attribute__((visibility("default")))

// Defines the application object theArxApplication and the module's
// exported entry point.
#define IMPLEMENT_ARX_ENTRYPOINT(classname)                                                                            \
    classname theArxApplication;                                                                                       \
    ACRX_EXPORTED_ENTRY AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt)                               \
    {                                                                                                                  \
        return theArxApplication.EntryPoint(msg, pkt);                                                                 \
    }

#define IMPLEMENT_ARX_ENTRYPOINT_STD(classname) IMPLEMENT_ARX_ENTRYPOINT(classname)
