// AcRxDictionary: a dictionary of named run-time objects. The host's system
// registry is one; its entries are the host's services (the dynamic linker,
// the command stack) and the class dictionary.
#pragma once

#include "AdAChar.h"
#include "adesk.h"
#include "rxdefs.h"
#include "rxobject.h"

class AcRxDictionaryIterator;

class AcRxDictionary : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcRxDictionary);

    // The object stored under key (names are compared without regard to
    // letter case), or nullptr.
    virtual AcRxObject* at(const ACHAR* key) const = 0;
    // Stores newValue under key and returns the object it replaces (the
    // caller's again), or nullptr.
    virtual AcRxObject* atPut(const ACHAR* key, AcRxObject* newValue) = 0;
    // Takes the entry out and returns its object (the caller's again).
    virtual AcRxObject* remove(const ACHAR* key) = 0;
    virtual bool has(const ACHAR* entryName) const = 0;
    virtual Adesk::UInt32 numEntries() const = 0;
    // A new iterator over the entries; the caller deletes it.
    virtual AcRxDictionaryIterator* newIterator() const = 0;
};

class AcRxDictionaryIterator {
public:
    virtual ~AcRxDictionaryIterator() = default;
    virtual bool done() const = 0;
    virtual bool next() = 0;
    virtual AcRxObject* object() const = 0;
    virtual const ACHAR* key() const = 0;
};
