// Editor functions of the host's ADS interface: host commands, system
// variables, prompts, picking and selection sets.
//
// Every prompt is put to the current User (standin/User.h), unless the
// answers were given in advance: acedCommand's arguments answer the prompts
// of the commands it runs, in order, before the User is asked.
#pragma once

#include "AdAChar.h"
#include "adscodes.h"
#include "adsdef.h"

// Input-control flags of acedInitGet.
#ifndef RSG_NONULL
#define RSG_NONULL 0x0001
#define RSG_NOZERO 0x0002
#define RSG_NONEG 0x0004
#define RSG_NOLIM 0x0008
#define RSG_GETZ 0x0010
#define RSG_DASH 0x0020
#define RSG_2D 0x0040
#define RSG_OTHER 0x0080
#define RSG_DDISTFIRST 0x0100
#define RSG_TRACKUCS 0x0200
#define RSG_NOORTHOZ 0x0400
#define RSG_NOOSNAP 0x0800
#define RSG_NODDIST 0x1000
#endif

// Runs host commands. The arguments come as pairs of a type code and a
// value: RTSTR (const ACHAR*), RTSHORT (int), RTLONG (int), RTREAL (double),
// RTPOINT / RT3DPOINT (const double*, 2 or 3 values), RTENAME (ads_name);
// the list ends with 0 or RTNONE. The first argument names a command and
// the following ones answer its prompts; an argument left when a command
// has ended starts the next command. RTNORM when every command ran to its
// end, RTCAN when one was cancelled, RTERROR when a command failed or is
// unknown.
int acedCommand(int rtype, ...);
// The same with a result-buffer chain.
int acedCmd(const struct resbuf* rbp);

// "area=action": "Pn=+group.menu" inserts a loaded menu group's pop-up menu
// into the menu bar in front of slot n (1 to 16; at the end when the bar is
// shorter), "Pn=group.menu" puts it in place of the menu at slot n, "Pn=-"
// takes the menu at slot n out. RTNORM or RTERROR.
int acedMenuCmd(const ACHAR* str);

// System variables. Names are case-insensitive; a leading underscore names
// the same variable. acedGetVar writes restype (the variable's own type) and
// the value; a string value is allocated for the caller (acutRelRb frees
// it). RTNORM; RTERROR for an unknown variable, and from acedSetVar for a
// read-only variable, a value of the wrong type or out of range.
int acedGetVar(const ACHAR* sym, struct resbuf* result);
int acedSetVar(const ACHAR* sym, const struct resbuf* val);

// Input control for the next input call only: RSG_* flags and a keyword
// list. RTNORM; RTERROR for a keyword list the host refuses (and no input
// control is set).
int acedInitGet(int val, const ACHAR* kwl);
// Reads a keyword of the list set by acedInitGet. result receives the
// keyword as spelled in the list (the global keyword when the list has
// one); it must hold 132 characters. RTNORM; RTNONE on an empty answer
// (unless RSG_NONULL); RTCAN when cancelled; RTERROR without a keyword list.
// With RSG_OTHER an answer that is no keyword is returned as typed (RTNORM).
int acedGetKword(const ACHAR* prompt, ACHAR* result);
// The keyword of the last input call that returned RTKWORD.
int acedGetInput(ACHAR* str);
// Shows a text on the command line. RTNORM.
int acedPrompt(const ACHAR* str);

// Asks for one object: by its handle (hex) or by a point "x,y" or "x,y,z",
// which takes the nearest object within the pick aperture. RTNORM with the
// object's name and the pick point; RTERROR when nothing is there or the
// answer is empty; RTCAN when cancelled; RTKWORD for a keyword set up with
// acedInitGet. A null prompt shows "Select object: ".
int acedEntSel(const ACHAR* str, ads_name entres, ads_point ptres);

// Makes a selection set. Modes: NULL (the user selects at "Select objects: "),
// ":$" (pt1 points to two prompts, for adding and for removing), "A" (every
// object of model and paper space that is not erased and not on a frozen
// layer), "X" (every object of model and paper space). filter: a chain of
// group codes (0 entity type such as "LINE", 8 layer name; wild cards and
// comma lists as in wcmatch). The user answers with handles separated by
// blanks or commas, "All", "Remove" / "Add"; an empty answer ends the
// selection. RTNORM; RTERROR for an empty selection, a mode that is not
// served or a full table (128 sets); RTCAN when cancelled.
int acedSSGet(const ACHAR* str, const void* pt1, const void* pt2, const struct resbuf* filter, ads_name ss);
int acedSSFree(const ads_name sname);
int acedSSLength(const ads_name sname, long* len);
// RTERROR for an index outside the set.
int acedSSName(const ads_name ss, long i, ads_name entres);
// RTNORM when the entity is in the set.
int acedSSMemb(const ads_name ename, const ads_name ss);

// Functions for the host's scripting language, defined by the application
// that the host is currently talking to.
int acedDefun(const ACHAR* sname, int funcno);
int acedUndef(const ACHAR* sname, int funcno);
// The code of the function being invoked (during the invoke-function
// message); RTERROR otherwise.
int acedGetFunCode();
int acedRegFunc(int (*fhdl)(), int fcode);
struct resbuf* acedGetArgs();
int acedRetVoid();
