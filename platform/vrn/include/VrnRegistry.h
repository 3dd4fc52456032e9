// VrnRegistry: the settings store of the maker's GUI library.
//
// Settings are values under a key path ("Software\Varnett\Kolvane for
// AutoCAD"), each with a name and a type (integer, boolean or text). A
// VrnRegistry object selects one key with SetKey and then reads and writes
// values under it. Every call returns an int: non-zero for success, 0 for
// failure (reads return the value, or the default when the value is missing,
// has another type or cannot be read). Nothing throws.
//
// Key paths and value names compare without regard to letter case, as in the
// Windows registry; the spelling of the first write is kept.
//
// On this platform the store is a UTF-8 text file (see standin/VrnStandin.h
// for where it lies and how its format reads). Every read looks at the file
// as it is now, and every write replaces the file atomically, so values
// written through one object are seen by every other object and process.
// An object that writes holds the store's lock between processes from its
// first write until it is destroyed or selects another key, so that the
// values it writes in a row are not mixed with another process's writes.
#pragma once

#include "VrnExport.h"

#include <afx.h>

#include <memory>

class VRNGUI_API VrnRegistry {
public:
    VrnRegistry();
    ~VrnRegistry();
    VrnRegistry(const VrnRegistry&) = default;
    VrnRegistry& operator=(const VrnRegistry&) = default;

    // Selects the key for the calls that follow. With create non-zero the key
    // is made when it does not exist yet (it is stored with the first value
    // written under it); with create 0 the key must already hold values.
    // Returns 0 for an empty key path, or when create is 0 and the key does
    // not exist; then no key is selected.
    int SetKey(CString key, int create);

    // Stored integer, or def when there is none, it is of another type, or no
    // key is selected.
    int ReadInt(CString name, int def);
    // Stored boolean (0 or 1), or def as given under the same conditions.
    int ReadBool(CString name, int def);
    // Stored text, or def under the same conditions.
    CString ReadString(CString name, CString def);

    // Store a value (replacing one of any type under that name). Non-zero
    // when the store was written; 0 when no key is selected, the name is
    // empty, or the store file cannot be read or written.
    int WriteInt(CString name, int value);
    int WriteBool(CString name, int value);  // any non-zero value stores 1
    int WriteString(CString name, CString value);

    struct WriteLock;

private:
    int writeValue(const CString& name, const void* value);

    CString m_key;                      // selected key path, normalised; empty: none
    std::shared_ptr<WriteLock> m_lock;  // held from the first write on
};
