// The extents of model space, for the host's ZOOM Extents.
#include <algorithm>

#include "DbInternal.h"
#include "standin/AcDbStandin.h"
#include "dbextents.h"
#include "dbmain.h"

using Impl = AcDbDatabase::Impl;

namespace {

struct Box {
    double min[3] = {0, 0, 0};
    double max[3] = {0, 0, 0};
    bool empty = true;

    void add(const AcGePoint3d& p)
    {
        const double c[3] = {p.x, p.y, p.z};
        for (int k = 0; k < 3; ++k) {
            min[k] = empty ? c[k] : std::min(min[k], c[k]);
            max[k] = empty ? c[k] : std::max(max[k], c[k]);
        }
        empty = false;
    }
};

// Every entity class gives its own extents; one that has none (a ray, an
// empty entity) adds nothing.
void addEntity(const AcDbEntity* e, Box& box)
{
    AcDbExtents extents;
    if (e->getGeomExtents(extents) != Acad::eOk)
        return;
    box.add(extents.minPoint());
    box.add(extents.maxPoint());
}

}  // namespace

namespace standin {

bool modelSpaceExtents(const AcDbDatabase* db, double min[3], double max[3])
{
    if (db == nullptr)
        return false;
    const Impl& d = *db->impl();
    if (d.modelSpace == nullptr || d.modelSpace->mpObject == nullptr)
        return false;
    Box box;
    for (const AcDbStub* s : Impl::entitiesOf(static_cast<const AcDbBlockTableRecord*>(d.modelSpace->mpObject)))
        if (s->mpObject != nullptr && !s->mpObject->isErased())
            addEntity(static_cast<const AcDbEntity*>(s->mpObject), box);
    if (box.empty)
        return false;
    for (int k = 0; k < 3; ++k) {
        min[k] = box.min[k];
        max[k] = box.max[k];
    }
    return true;
}

}  // namespace standin
