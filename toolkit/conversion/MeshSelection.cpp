// Mesh selection (conversion group).
#include "MeshSelection.h"

#include <dbmain.h>

#include "FaceReaders.h"
#include "MeshClasses.h"
#include "Selection.h"
#include "ToolkitConversion.h"

int SelectEntityMeshes(const CString& prompt, int highlight, ON_ClassArray<ON_Mesh>& meshes, AcArray<AcDbObjectId>& ids)
{
    CStringArray classNames;
    AddMeshClassNames(classNames);
    if (!SelectEntities(prompt, highlight, classNames, ids)) {
        CToolkitConversion::SetLastErrorText(CToolkitUtilities::GetLastErrorText());
        return 0;
    }

    meshes.Empty();
    meshes.Reserve(static_cast<size_t>(ids.length()));
    ON_Mesh working;
    for (int i = 0; i < ids.length(); ++i) {
        AcDbEntity* entity = NULL;
        if (acdbOpenAcDbEntity(entity, ids[i], AcDb::kForRead) != Acad::eOk || !entity)
            continue;
        if (ReadEntityMesh(entity, working) == 1)
            meshes.Append(working);
        entity->close();
    }
    if (meshes.Count() > 0)
        return 1;
    CToolkitConversion::SetLastErrorText(L"Meshes not selected");
    return 0;
}

int SelectEntityMeshes(const CString& prompt, int highlight, ON_ClassArray<ON_Mesh>& meshes)
{
    AcArray<AcDbObjectId> ids;
    const int result = SelectEntityMeshes(prompt, highlight, meshes, ids);
    ids.setPhysicalLength(0);
    return result;
}
