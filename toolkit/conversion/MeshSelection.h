// Selecting mesh-like entities (3D faces, polyface meshes, polygon meshes) on
// the command line and reading each into an openNURBS mesh.
#pragma once

#include <afxwin.h>

#include <acarray.h>
#include <dbid.h>

#include "opennurbs.h"

// Lets the user select entities (prompt and highlight as SelectEntities takes
// them) and, after a successful selection, replaces meshes with one mesh per
// id of ids that reads, in order; ids receives the selection after what it
// held. 1 when at least one mesh was read. 0 when the selection failed
// (meshes unchanged, the selection's text copied into the conversion group's)
// or no entity read ("Meshes not selected").
int SelectEntityMeshes(const CString& prompt, int highlight, ON_ClassArray<ON_Mesh>& meshes,
                       AcArray<AcDbObjectId>& ids);
// The same; the ids are not handed out.
int SelectEntityMeshes(const CString& prompt, int highlight, ON_ClassArray<ON_Mesh>& meshes);
