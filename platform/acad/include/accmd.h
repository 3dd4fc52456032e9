// The host's command stack: commands of applications, kept in groups.
#pragma once

#include <windows.h>

#include "AdAChar.h"
#include "acadstrc.h"
#include "adesk.h"
#include "rxdefs.h"
#include "rxobject.h"
#include "rxregsvc.h"

// Command flags.
#define ACRX_CMD_MODAL 0x00000000
#define ACRX_CMD_TRANSPARENT 0x00000001
#define ACRX_CMD_USEPICKSET 0x00000002
#define ACRX_CMD_REDRAW 0x00000004
#define ACRX_CMD_NOPERSPECTIVE 0x00000008
#define ACRX_CMD_NOMULTIPLE 0x00000010
#define ACRX_CMD_NOTILEMODE 0x00000020
#define ACRX_CMD_NOPAPERSPACE 0x00000040
#define ACRX_CMD_PLOTONLY 0x00000080
#define ACRX_CMD_NOOEM 0x00000100
#define ACRX_CMD_UNDEFINED 0x00000200
#define ACRX_CMD_INPROGRESS 0x00000400
#define ACRX_CMD_DEFUN 0x00000800
#define ACRX_CMD_NONEWSTACK 0x00010000
#define ACRX_CMD_NOINTERNALLOCK 0x00020000
#define ACRX_CMD_DOCREADLOCK 0x00080000
#define ACRX_CMD_DOCEXCLUSIVELOCK 0x00100000
#define ACRX_CMD_SESSION 0x00200000
#define ACRX_CMD_INTERRUPTIBLE 0x00400000
#define ACRX_CMD_NOHISTORY 0x00800000

// Longest command or group name, in characters.
#define ACRX_MAX_CMDNAME_LEN 64

class AcEdUIContext;

// A registered command. Made by AcEdCommandStack::addCommand, owned by the
// command stack.
class AcEdCommand : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcEdCommand);

    virtual void commandUndef(bool undefIt) = 0;
    virtual Adesk::Int32 commandFlags() const = 0;
    virtual AcRxFunctionPtr functionAddr() const = 0;
    virtual void functionAddr(AcRxFunctionPtr fhdl) = 0;
    virtual void* commandApp() const = 0;
    virtual AcEdUIContext* UIContext() const = 0;
    virtual int functionCode() const = 0;
    virtual void functionCode(int fcode) = 0;
    virtual const ACHAR* globalName() const = 0;
    virtual const ACHAR* localName() const = 0;
    virtual HINSTANCE resourceHandle() const = 0;
};

// Walks the registered commands: group by group (the group added last comes
// first), and within a group in the order the commands were added.
class AcEdCommandIterator : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcEdCommandIterator);

    virtual bool done() const = 0;
    virtual bool next() = 0;
    virtual const AcEdCommand* command() const = 0;
    virtual const ACHAR* commandGroup() const = 0;
};

class AcEdCommandStack : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcEdCommandStack);

    // Adds a command to cmdGroupName, creating the group when it is missing.
    // eOk; eDuplicateKey when the group already holds a command with that
    // global or local name; eInvalidInput for a missing or over-long name or
    // a null function.
    virtual Acad::ErrorStatus addCommand(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName,
                                         const ACHAR* cmdLocalName, Adesk::Int32 commandFlags,
                                         AcRxFunctionPtr functionAddr, AcEdUIContext* UIContext = NULL, int fcode = -1,
                                         HINSTANCE hResourceHandle = NULL, AcEdCommand** cmdPtrRet = NULL) = 0;

    // A new iterator over every command; the caller deletes it.
    virtual AcEdCommandIterator* iterator() = 0;

    virtual AcEdCommand* lookupGlobalCmd(const ACHAR* cmdName) = 0;
    virtual AcEdCommand* lookupLocalCmd(const ACHAR* cmdName) = 0;
    // globalFlag: cmdStr is a global name (else a local one).
    virtual AcEdCommand* lookupCmd(const ACHAR* cmdStr, bool globalFlag) = 0;
    virtual AcEdCommand* lookupCmd(const ACHAR* cmdStr, bool globalFlag, bool allGroups) = 0;
    virtual AcEdCommand* lookupCmd(const ACHAR* cmdStr, bool globalFlag, bool allGroups, bool skipUndefed) = 0;

    virtual Acad::ErrorStatus popGroupToTop(const ACHAR* cmdGroupName) = 0;

    // eOk; eKeyNotFound when the group or the command does not exist.
    virtual Acad::ErrorStatus removeCmd(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName) = 0;
    virtual Acad::ErrorStatus removeGroup(const ACHAR* groupName) = 0;
};

#define acedRegCmds AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK))
