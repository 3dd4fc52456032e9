// AcDbDatabase::dxfOut: the drawing as a DXF file.
#include "DbInternal.h"

Acad::ErrorStatus AcDbDatabase::dxfOut(const ACHAR* fileName, int, AcDb::AcDbDwgVersion, bool)
{
    if (fileName == nullptr)
        return Acad::eNullObjectPointer;
    return Acad::eNotImplementedYet;
}
