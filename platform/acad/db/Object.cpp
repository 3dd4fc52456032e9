// AcDbObject: residency, the open protocol and erasing; the open functions.
#include <cstdio>

#include "DbInternal.h"

using namespace acdbimpl;

namespace {
constexpr Adesk::UInt16 kMaxReaders = 256;
}

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbObject, AcRxObject)

AcDbObject::AcDbObject() : mFlags(kOpenWrite | kNewObject) {}

AcDbObject::~AcDbObject()
{
    if (mpStub == nullptr)
        return;
    AcDbDatabase::Impl* d = mpStub->mpDb->impl();
    if (d->destroying)
        return;
    // The database owns this object; deleting it breaks the database. The slot
    // is emptied so that the id no longer leads to freed memory.
    // (The class is no longer known here: the derived parts are gone.)
    char handle[32];
    std::snprintf(handle, sizeof handle, "%llX", static_cast<unsigned long long>(mpStub->mHandle));
    violation(std::string("delete of the object with handle ") + handle + ", which belongs to a database");
    mpStub->mpObject = nullptr;
    d->highlighted.erase(mpStub);
}

AcDbObjectId AcDbObject::objectId() const
{
    return mpStub;
}
AcDbObjectId AcDbObject::ownerId() const
{
    return mpOwner;
}

Acad::ErrorStatus AcDbObject::setOwnerId(AcDbObjectId ownerId)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    AcDbStub* s = checkedStub(ownerId);
    if (!ownerId.isNull() && s == nullptr)
        return Acad::eInvalidInput;
    mpOwner = s;
    return Acad::eOk;
}

AcDbDatabase* AcDbObject::database() const
{
    return mpStub != nullptr ? mpStub->mpDb : nullptr;
}

void AcDbObject::getAcDbHandle(AcDbHandle& handle) const
{
    handle = mpStub != nullptr ? AcDbHandle(mpStub->mHandle) : AcDbHandle();
}

bool AcDbObject::isErased() const
{
    return (mFlags & kErased) != 0;
}
bool AcDbObject::isReadEnabled() const
{
    return mReaders > 0 || (mFlags & (kOpenWrite | kOpenNotify)) != 0;
}
bool AcDbObject::isWriteEnabled() const
{
    return (mFlags & kOpenWrite) != 0;
}
bool AcDbObject::isNotifyEnabled() const
{
    return (mFlags & kOpenNotify) != 0;
}
bool AcDbObject::isNewObject() const
{
    return (mFlags & kNewObject) != 0;
}
bool AcDbObject::isModified() const
{
    return (mFlags & kModified) != 0;
}

Acad::ErrorStatus AcDbObject::checkWritable() const
{
    return isWriteEnabled() ? Acad::eOk : Acad::eNotOpenForWrite;
}

void AcDbObject::assertReadEnabled() const
{
    if (!isReadEnabled())
        violation("read of " + describe(this) + ", which is not open");
}

void AcDbObject::assertWriteEnabled(Adesk::Boolean, Adesk::Boolean recordModified)
{
    if (!isWriteEnabled())
        violation("change of " + describe(this) + ", which is not open for write");
    else if (recordModified)
        mFlags |= kModified;
}

void AcDbObject::assertNotifyEnabled() const
{
    if (!isNotifyEnabled())
        violation("notification of " + describe(this) + ", which is not open for notify");
}

Acad::ErrorStatus AcDbObject::close()
{
    if (mpStub == nullptr && (mFlags & kSubentity) != 0) {
        // A vertex of a polyline that is in no database yet: the polyline
        // keeps it, closed.
        mFlags &= static_cast<Adesk::UInt8>(~(kOpenWrite | kOpenNotify | kNewObject));
        mReaders = 0;
        return Acad::eOk;
    }
    if (mpStub == nullptr) {
        // A new object that was never added: its creator deletes it instead.
        violation("close() of " + describe(this) + "; delete it instead");
        return Acad::eNotInDatabase;
    }
    if (mFlags & kOpenNotify) {
        mFlags &= static_cast<Adesk::UInt8>(~kOpenNotify);
        return Acad::eOk;
    }
    if (mFlags & kOpenWrite) {
        mFlags &= static_cast<Adesk::UInt8>(~(kOpenWrite | kNewObject));
        return Acad::eOk;
    }
    if (mReaders > 0) {
        --mReaders;
        return Acad::eOk;
    }
    violation("close() of " + describe(this) + ", which is not open");
    return Acad::eInvalidOpenState;
}

Acad::ErrorStatus AcDbObject::upgradeOpen()
{
    if (mFlags & kOpenWrite)
        return Acad::eWasOpenForWrite;
    if (mFlags & kOpenNotify)
        return Acad::eWasNotifying;
    if (mReaders == 0)
        return Acad::eNotOpenForRead;
    if (mReaders > 1)
        return Acad::eHadMultipleReaders;
    mReaders = 0;
    mFlags |= kOpenWrite;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeOpen()
{
    if (!(mFlags & kOpenWrite))
        return Acad::eWasNotOpenForWrite;
    if (mpStub == nullptr)
        return Acad::eNotInDatabase;
    mFlags &= static_cast<Adesk::UInt8>(~(kOpenWrite | kNewObject));
    mReaders = 1;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::erase(Adesk::Boolean erasing)
{
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (mpStub == nullptr)
        return Acad::eNotInDatabase;
    AcDbDatabase::Impl* d = mpStub->mpDb->impl();
    if (erasing) {
        if (isErased())
            return Acad::eWasErased;
        if (d->isFixed(mpStub) || d->clayer == mpStub || d->celtype == mpStub)
            return Acad::eCannotBeErasedByCaller;
        mFlags |= kErased | kModified;
        d->highlighted.erase(mpStub);
    } else if (isErased()) {
        // A table never holds two records of one name that are not erased.
        if (isKindOf(AcDbSymbolTableRecord::desc()) &&
            nameHeldByAnother(static_cast<const AcDbSymbolTableRecord*>(this)))
            return Acad::eDuplicateRecordName;
        mFlags &= static_cast<Adesk::UInt8>(~kErased);
        mFlags |= kModified;
    }
    return Acad::eOk;
}

Acad::ErrorStatus acdbimpl::openExisting(AcDbObject* obj, AcDb::OpenMode mode, bool openErased)
{
    Adesk::UInt8& flags = AcDbDatabase::Impl::flagsOf(obj);
    Adesk::UInt16& readers = AcDbDatabase::Impl::readersOf(obj);
    if ((flags & kErased) && !openErased)
        return Acad::eWasErased;
    switch (mode) {
    case AcDb::kForRead:
        if (flags & kOpenWrite)
            return Acad::eWasOpenForWrite;
        if (flags & kOpenNotify)
            return Acad::eWasNotifying;
        if (readers >= kMaxReaders)
            return Acad::eAtMaxReaders;
        ++readers;
        return Acad::eOk;
    case AcDb::kForWrite:
        if (flags & kOpenWrite)
            return Acad::eWasOpenForWrite;
        if (flags & kOpenNotify)
            return Acad::eWasNotifying;
        if (readers > 0)
            return Acad::eWasOpenForRead;
        flags |= kOpenWrite;
        return Acad::eOk;
    case AcDb::kForNotify:
        if (flags & kOpenNotify)
            return Acad::eWasOpenForNotify;
        flags |= kOpenNotify;
        return Acad::eOk;
    }
    return Acad::eInvalidInput;
}

static Acad::ErrorStatus openById(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, const AcRxClass* cls,
                                  bool openErased)
{
    obj = nullptr;
    if (id.isNull())
        return Acad::eNullObjectId;
    AcDbStub* s = checkedStub(id);
    if (s == nullptr)
        return Acad::eInvalidInput;
    if (s->mpObject == nullptr)
        return Acad::ePermanentlyErased;
    if (cls != nullptr && !s->mpObject->isKindOf(cls))
        return Acad::eNotThatKindOfClass;
    Acad::ErrorStatus es = openExisting(s->mpObject, mode, openErased);
    if (es == Acad::eOk)
        obj = s->mpObject;
    return es;
}

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased)
{
    return openById(obj, id, mode, nullptr, openErased);
}

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, const AcRxClass* pClass,
                                     bool openErased)
{
    return openById(obj, id, mode, pClass, openErased);
}

Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& entity, AcDbObjectId id, AcDb::OpenMode mode, bool openErasedEntity)
{
    entity = nullptr;
    AcDbStub* s = checkedStub(id);
    if (s != nullptr && s->mpObject != nullptr && !s->mpObject->isKindOf(AcDbEntity::desc()))
        return Acad::eNotAnEntity;
    AcDbObject* obj = nullptr;
    Acad::ErrorStatus es = openById(obj, id, mode, nullptr, openErasedEntity);
    if (es == Acad::eOk)
        entity = static_cast<AcDbEntity*>(obj);
    return es;
}
