// Entity placement: the road of a newly constructed entity into the drawing.
//
// AddEntity puts an entity on a layer, gives it a colour and appends it to
// the model space of the working database (or to a block table record the
// caller has open for write). The placement forms stop at the first step that
// does not succeed and return its status; the entity then belongs to no
// database and stays the caller's to delete. An appended entity stays open
// for write until the caller closes it.
//
// layerName "" leaves the entity's layer unchanged and opens no table; any
// other name is used when the layer exists and created when it is missing.
// rgbColor packs red in bits 0-7, green in bits 8-15 and blue in bits 16-23.
#pragma once

#include <afxwin.h>

#include "dbcolor.h"
#include "dbmain.h"
#include "dbsymtb.h"

Acad::ErrorStatus AddEntity(AcDbEntity* entity, const CString& layerName, const AcCmColor& entityColor,
                            AcDbBlockTableRecord* block = NULL);
Acad::ErrorStatus AddEntity(AcDbEntity* entity, const CString& layerName, const AcCmColor& entityColor,
                            AcDbObjectId& id, AcDbBlockTableRecord* block = NULL);
Acad::ErrorStatus AddEntity(AcDbEntity* entity, const CString& layerName, const int& rgbColor,
                            AcDbBlockTableRecord* block = NULL);
Acad::ErrorStatus AddEntity(AcDbEntity* entity, const CString& layerName, const int& rgbColor, AcDbObjectId& id,
                            AcDbBlockTableRecord* block = NULL);

// Layer and colour only; nothing is appended.
Acad::ErrorStatus SetEntityLayerAndColor(AcDbEntity* entity, const CString& layerName, const AcCmColor& entityColor);
Acad::ErrorStatus SetEntityLayerAndColor(AcDbEntity* entity, const CString& layerName, const int& rgbColor);

// The value 0 gives colour index 7; any other value the true colour of its
// three low bytes. The entity is open for write or not yet in a database.
Acad::ErrorStatus SetEntityColorRgb(AcDbEntity* entity, const int& rgbColor);

// Puts the entity on the named layer, creating the layer when it is missing.
Acad::ErrorStatus SetEntityLayer(AcDbEntity* entity, const CString& layerName);

// Appends to block, or to "*Model_Space" of the working database when block
// is NULL. block stays open.
Acad::ErrorStatus AppendToModelSpace(AcDbEntity* entity, AcDbBlockTableRecord* block = NULL);
Acad::ErrorStatus AppendToModelSpace(AcDbEntity* entity, AcDbObjectId& id, AcDbBlockTableRecord* block = NULL);

// Finds the layer by name; creates it (name only) when missing and create is
// non-zero. A missing layer that is not to be created gives eNullObjectId.
Acad::ErrorStatus GetLayerId(const CString& name, BOOL create, AcDbObjectId& id);
// The same with the status dropped: the null id when no layer was found or made.
AcDbObjectId GetLayerId(const CString& name, BOOL create);

// Finds the layer by name, or creates it with the RGB colour of the three low
// bytes of rgbColor (0 is black) and the given states. An existing layer is
// left exactly as it is.
Acad::ErrorStatus AddLayer(const CString& name, AcDbObjectId& id, int rgbColor, BOOL frozen, BOOL locked, BOOL off);
Acad::ErrorStatus AddLayer(const CString& name, int rgbColor, BOOL frozen, BOOL locked, BOOL off);

// The name of the block table record with that id; name is left unchanged
// on failure.
Acad::ErrorStatus GetBlockName(const AcDbObjectId& id, CString& name);
// The same with the status dropped: "" on failure.
CString GetBlockName(const AcDbObjectId& id);
