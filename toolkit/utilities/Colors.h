// Colours and entity properties: colour-index and RGB conversion, layer and
// entity colours, and the properties of an entity given by its id.
//
// An rgbColor packs red in bits 0-7, green in bits 8-15 and blue in bits
// 16-23; bits 24-31 are clear. White is 0xFFFFFF.
#pragma once

#include <afxwin.h>
#include <dbmain.h>
#include <dbcolor.h>

// The RGB value of a colour index. Indices outside 1 to 258 have no palette
// entry and give white.
int AciToRgb(int colorIndex);

// A true colour with the red, green and blue of `rgbColor`.
AcCmColor RgbToColor(int rgbColor);

// The colour index of a layer of the working database. The status of the
// lookup; colorIndex is written only when the layer was found.
Acad::ErrorStatus GetLayerColorIndex(const CString& layerName, int& colorIndex);
// The colour index of a layer; 7 (white) when the layer cannot be read.
int GetLayerColorIndex(const CString& layerName);

// The RGB value of a layer's colour index; rgbColor is written only when the
// layer was found.
Acad::ErrorStatus GetLayerColorRgb(const CString& layerName, int& rgbColor);
// The RGB value of a layer's colour; white when the layer cannot be read.
int GetLayerColorRgb(const CString& layerName);

// The colour an entity shows, as an RGB value: ByLayer resolves through the
// layer of that name in the working database, a true colour and a colour
// index give their RGB, everything else (ByBlock included) gives white.
// The status of opening and closing the entity.
Acad::ErrorStatus GetEntityColorRgb(const AcDbObjectId& id, int& rgbColor);
// The same, white when the entity cannot be read.
int GetEntityColorRgb(const AcDbObjectId& id);

// Entity properties. The out-parameter forms leave their argument untouched
// and the value forms return an empty value when the entity cannot be opened.
void GetEntityLayer(const AcDbObjectId& id, CString& layer);
CString GetEntityLayer(const AcDbObjectId& id);

void GetEntityLinetype(const AcDbObjectId& id, CString& linetype);
CString GetEntityLinetype(const AcDbObjectId& id);

void GetEntityColor(const AcDbObjectId& id, AcCmColor& color);
AcCmColor GetEntityColor(const AcDbObjectId& id);

void GetEntityLayerAndColor(const AcDbObjectId& id, CString& layer, AcCmColor& color);

void GetEntityLayerId(const AcDbObjectId& id, AcDbObjectId& layerId);
AcDbObjectId GetEntityLayerId(const AcDbObjectId& id);

void GetEntityLinetypeId(const AcDbObjectId& id, AcDbObjectId& linetypeId);
AcDbObjectId GetEntityLinetypeId(const AcDbObjectId& id);

// The block table record that owns the entity.
void GetEntityBlockId(const AcDbObjectId& id, AcDbObjectId& blockId);
AcDbObjectId GetEntityBlockId(const AcDbObjectId& id);

// The name of the entity's run-time class, such as "AcDbPoint".
CString GetEntityClassName(const AcDbObjectId& id);

// The name of the block that owns the entity ("*Model_Space" for an entity
// of model space); name is written only on success.
Acad::ErrorStatus GetOwnerBlockName(const AcDbObjectId& id, CString& name);
CString GetOwnerBlockName(const AcDbObjectId& id);
