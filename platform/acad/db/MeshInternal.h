// Inside the meshes: the subentity lists and the helpers that the writers share.
#pragma once

#include <vector>

#include "DbInternal.h"
#include "dbents.h"

struct AcDbObjectIterator::Items {
    std::vector<AcDbStub*> stubs;        // resident subentities
    std::vector<AcDbEntity*> pending;    // or those of an entity not yet resident
    size_t size() const { return stubs.empty() ? pending.size() : stubs.size(); }
    AcDbEntity* at(size_t i) const
    {
        if (!stubs.empty())
            return static_cast<AcDbEntity*>(stubs[i]->mpObject);
        return pending[i];
    }
};

class AcDbMeshAccess {
public:
    static const std::vector<AcDbStub*>& vertices(const AcDbPolyFaceMesh* m) { return m->mVertices; }
    static const std::vector<AcDbStub*>& faces(const AcDbPolyFaceMesh* m) { return m->mFaces; }
    static const std::vector<AcDbStub*>& vertices(const AcDbPolygonMesh* m) { return m->mVertices; }
    static std::vector<AcDbPolygonMeshVertex*>& pending(AcDbPolygonMesh* m) { return m->mPending; }
    static AcGePoint3d& position(AcDbPolyFaceMeshVertex* v) { return v->mPosition; }
    static AcGePoint3d& position(AcDbPolygonMeshVertex* v) { return v->mPosition; }
    static std::vector<AcDbStub*>& residentVertices(AcDbPolygonMesh* m) { return m->mVertices; }
};

namespace acdbimpl {
// The live (not erased, not deleted) objects of a list of slots, in order.
template <class T>
std::vector<const T*> liveObjects(const std::vector<AcDbStub*>& list)
{
    std::vector<const T*> out;
    for (AcDbStub* s : list)
        if (s->mpObject != nullptr && !s->mpObject->isErased())
            out.push_back(static_cast<const T*>(s->mpObject));
    return out;
}
}  // namespace acdbimpl
