// The entity classes the mesh readers take, as picking and selection name
// them.
#pragma once

#include <afxwin.h>

// Adds the names of the face and mesh classes to the list.
inline void AddMeshClassNames(CStringArray& classNames)
{
    classNames.Add(L"AcDbFace");
    classNames.Add(L"AcDbPolyFaceMesh");
    classNames.Add(L"AcDbPolygonMesh");
}
