// Inside the meshes: what the DXF writer reads of them.
#pragma once

#include <vector>

#include "DbInternal.h"
#include "dbents.h"

class AcDbMeshAccess {
public:
    static AcGePoint3d& position(AcDbPolyFaceMeshVertex* v) { return v->mPosition; }
    static AcGePoint3d& position(AcDbPolygonMeshVertex* v) { return v->mPosition; }

    // The live subentities of an owner that are of class T, in order.
    template <class T> static std::vector<const T*> live(const standin::SubentityOwner* owner)
    {
        std::vector<const T*> out;
        for (const AcDbObject* o : owner->subentities())
            if (!o->isErased() && o->isKindOf(T::desc()))
                out.push_back(static_cast<const T*>(o));
        return out;
    }
};
