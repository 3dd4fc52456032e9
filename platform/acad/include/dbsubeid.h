// AcDbSubentId and AcDbFullSubentPath: names of parts of entities.
#pragma once

#include "acdb.h"
#include "adesk.h"
#include "dbid.h"
#include "dbidar.h"

class AcDbSubentId {
public:
    AcDbSubentId() : mType(AcDb::kNullSubentType), mIndex(0) {}
    AcDbSubentId(AcDb::SubentType type, Adesk::GsMarker index) : mType(type), mIndex(index) {}

    bool operator==(const AcDbSubentId& id) const { return mType == id.mType && mIndex == id.mIndex; }
    bool operator!=(const AcDbSubentId& id) const { return !(*this == id); }

    AcDb::SubentType type() const { return mType; }
    void setType(AcDb::SubentType type) { mType = type; }
    Adesk::GsMarker index() const { return mIndex; }
    void setIndex(Adesk::GsMarker index) { mIndex = index; }

private:
    AcDb::SubentType mType;
    Adesk::GsMarker mIndex;
};

extern const AcDbSubentId kNullSubentId;

class AcDbFullSubentPath {
public:
    AcDbFullSubentPath() = default;
    AcDbFullSubentPath(AcDb::SubentType type, Adesk::GsMarker index) : mSubentId(type, index) {}
    AcDbFullSubentPath(AcDbObjectId entity, AcDb::SubentType type, Adesk::GsMarker index) : mSubentId(type, index)
    {
        mIds.append(entity);
    }
    AcDbFullSubentPath(AcDbObjectId entity, AcDbSubentId subId) : mSubentId(subId) { mIds.append(entity); }
    AcDbFullSubentPath(const AcDbObjectIdArray& ids, AcDbSubentId subId) : mIds(ids), mSubentId(subId) {}

    bool operator==(const AcDbFullSubentPath& p) const { return mIds == p.mIds && mSubentId == p.mSubentId; }
    bool operator!=(const AcDbFullSubentPath& p) const { return !(*this == p); }

    void objectIds(AcDbObjectIdArray& ids) const { ids = mIds; }
    AcDbObjectIdArray& objectIds() { return mIds; }
    const AcDbObjectIdArray& objectIds() const { return mIds; }
    AcDbSubentId subentId() const { return mSubentId; }
    AcDbSubentId& subentId() { return mSubentId; }

private:
    AcDbObjectIdArray mIds;
    AcDbSubentId mSubentId;
};

// The path that stands for a whole entity.
extern const AcDbFullSubentPath kNullSubent;
