// The subentity machinery of the polylines (and meshes): AcDbVertex, the base
// of every vertex class, AcDbSequenceEnd, and AcDbObjectIterator, with which
// a polyline's vertices are walked.
//
// Vertices are database objects of their own. An owner keeps them in order;
// a vertex appended to an owner in no database waits there (it may be closed
// at once, as in the host) and becomes resident, with its own id, when the
// owner is appended to a database. An owner that is deleted before it is
// added deletes its vertices; a resident owner's vertices belong to the
// database.
#pragma once

#include <vector>

#include "dbmain.h"

class AcDbVertex : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbVertex);
    ~AcDbVertex() override;

protected:
    AcDbVertex();
};

class AcDbSequenceEnd : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbSequenceEnd);
    AcDbSequenceEnd();
    ~AcDbSequenceEnd() override;
};

namespace standin {

// The ordered subentities an entity owns (vertices, face records). No
// counterpart in the host.
class SubentityOwner {
public:
    virtual ~SubentityOwner();
    const std::vector<AcDbObject*>& subentities() const { return mSubentities; }

protected:
    SubentityOwner() = default;
    SubentityOwner(const SubentityOwner&) = delete;
    SubentityOwner& operator=(const SubentityOwner&) = delete;

    // Takes the new object into the list: resident at once (owned by self,
    // left open for write for the caller to close) when self is resident,
    // otherwise kept until self is appended. Statuses: eNullEntityPointer,
    // eNotOpenForWrite (self not open for write), eAlreadyInDb (the object is
    // resident or owned already).
    Acad::ErrorStatus adopt(AcDbEntity* self, AcDbObjectId& id, AcDbEntity* sub);
    // Deletes the subentities that are in no database (owner's destructor).
    void releaseSubentities(AcDbEntity* self);

private:
    std::vector<AcDbObject*> mSubentities;
};

}  // namespace standin

class AcDbObjectIterator : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbObjectIterator);

    // Stand-in: an iterator over the owner's subentities, placed on the first
    // one that is not erased. The owner made it; the caller deletes it.
    explicit AcDbObjectIterator(const standin::SubentityOwner* owner);
    ~AcDbObjectIterator() override;

    Adesk::Boolean done() const;
    // To the next (or previous) subentity, passing over erased ones unless
    // skipErasedObjects is false.
    void step(Adesk::Boolean backwards = false, Adesk::Boolean skipErasedObjects = true);
    // To the first (or the last) subentity that is not erased.
    void start(Adesk::Boolean atEnd = false);
    void setPosition(AcDbEntity* pEnt);
    void setPosition(AcDbObjectId pObj);
    // The subentity here: its pointer (not opened) and its id (null while the
    // owner is in no database).
    AcDbEntity* entity();
    AcDbObjectId objectId();

private:
    const standin::SubentityOwner* mpOwner;
    long long mIndex = 0;
};
