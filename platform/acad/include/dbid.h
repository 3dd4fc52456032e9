// AcDbObjectId and AcDbHandle: how database objects are named.
#pragma once

#include "AdAChar.h"
#include "adesk.h"

class AcDbDatabase;
class AcDbStub;

// A handle: the object's 64-bit name, unique and stable within its database.
class AcDbHandle {
public:
    AcDbHandle() : mValue(0) {}
    AcDbHandle(int lo, int hi)
        : mValue((static_cast<Adesk::UInt64>(static_cast<Adesk::UInt32>(hi)) << 32) | static_cast<Adesk::UInt32>(lo))
    {}
    AcDbHandle(const Adesk::UInt64& value) : mValue(value) {}
    // From hexadecimal digits, as the host shows handles; anything else gives the null handle.
    explicit AcDbHandle(const ACHAR* hexDigits);

    AcDbHandle& operator=(const Adesk::UInt64& value)
    {
        mValue = value;
        return *this;
    }
    operator Adesk::UInt64() const { return mValue; }

    bool isNull() const { return mValue == 0; }
    void setNull() { mValue = 0; }
    Adesk::UInt32 low() const { return static_cast<Adesk::UInt32>(mValue); }
    Adesk::UInt32 high() const { return static_cast<Adesk::UInt32>(mValue >> 32); }
    void setValue(Adesk::UInt32 lo, Adesk::UInt32 hi) { mValue = (static_cast<Adesk::UInt64>(hi) << 32) | lo; }

    bool operator==(const AcDbHandle& h) const { return mValue == h.mValue; }
    bool operator!=(const AcDbHandle& h) const { return mValue != h.mValue; }
    bool operator<(const AcDbHandle& h) const { return mValue < h.mValue; }
    AcDbHandle& operator++()
    {
        ++mValue;
        return *this;
    }
    AcDbHandle operator++(int)
    {
        AcDbHandle old(*this);
        ++mValue;
        return old;
    }
    void increment() { ++mValue; }

    // Upper-case hexadecimal without leading zeros ("0" for the null handle).
    // The buffer takes at least 17 characters.
    void getIntoAsciiBuffer(ACHAR* buffer) const;
    bool getIntoAsciiBuffer(ACHAR* buffer, size_t bufferLength) const;

private:
    Adesk::UInt64 mValue;
};

// An object id: a pointer-sized name of one object of one open database.
class AcDbObjectId {
public:
    AcDbObjectId() : mpStub(nullptr) {}
    AcDbObjectId(const AcDbStub* stub) : mpStub(const_cast<AcDbStub*>(stub)) {}

    static const AcDbObjectId kNull;

    bool isNull() const { return mpStub == nullptr; }
    void setNull() { mpStub = nullptr; }
    // Not null, naming an object of a database that still exists.
    bool isValid() const;
    // The object was erased (false for an id that names nothing).
    bool isErased() const;
    // The object's class (nullptr for an id that names nothing).
    class AcRxClass* objectClass() const;

    AcDbDatabase* database() const;
    AcDbDatabase* originalDatabase() const { return database(); }
    AcDbHandle handle() const;

    Adesk::IntDbId asOldId() const { return reinterpret_cast<Adesk::IntDbId>(mpStub); }
    AcDbObjectId& setFromOldId(Adesk::IntDbId oldId)
    {
        mpStub = reinterpret_cast<AcDbStub*>(oldId);
        return *this;
    }

    bool operator==(const AcDbObjectId& id) const { return mpStub == id.mpStub; }
    bool operator!=(const AcDbObjectId& id) const { return mpStub != id.mpStub; }
    bool operator<(const AcDbObjectId& id) const { return mpStub < id.mpStub; }
    bool operator>(const AcDbObjectId& id) const { return mpStub > id.mpStub; }
    bool operator<=(const AcDbObjectId& id) const { return mpStub <= id.mpStub; }
    bool operator>=(const AcDbObjectId& id) const { return mpStub >= id.mpStub; }
    AcDbObjectId& operator=(const AcDbStub* stub)
    {
        mpStub = const_cast<AcDbStub*>(stub);
        return *this;
    }
    operator AcDbStub*() const { return mpStub; }

private:
    AcDbStub* mpStub;
};

typedef AcDbObjectId AcDbHardOwnershipId;
typedef AcDbObjectId AcDbSoftOwnershipId;
typedef AcDbObjectId AcDbHardPointerId;
typedef AcDbObjectId AcDbSoftPointerId;
