// What the tests of DXF output and DXF input share: arrays filled from a
// list, colours and layers, and the small drawings both write and read.
#pragma once

#include <gtest/gtest.h>

#include "TestArrays.h"
#include "dbcolor.h"
#include "dbents.h"
#include "dbspline.h"
#include "dbmain.h"
#include "dbsymtb.h"
#include "gepnt3d.h"

// The colour of the index.
inline AcCmColor aci(int index)
{
    AcCmColor color;
    color.setColorIndex(static_cast<Adesk::UInt16>(index));
    return color;
}

// Adds a layer of the name and colour to the database's layer table.
inline AcDbObjectId addLayer(AcDbDatabase* db, const ACHAR* name, const AcCmColor& color, bool frozen = false,
                             bool locked = false, bool off = false)
{
    AcDbLayerTable* table = nullptr;
    EXPECT_EQ(db->getLayerTable(table, AcDb::kForWrite), Acad::eOk);
    auto* layer = new AcDbLayerTableRecord();
    layer->setName(name);
    layer->setColor(color);
    layer->setIsFrozen(frozen);
    layer->setIsLocked(locked);
    layer->setIsOff(off);
    AcDbObjectId id;
    EXPECT_EQ(table->add(id, layer), Acad::eOk);
    layer->close();
    table->close();
    return id;
}

// What a spline gives as its NURBS data.
struct NurbsData {
    int degree = 0;
    Adesk::Boolean rational = false, closed = false, periodic = false;
    AcGePoint3dArray controls;
    AcGeDoubleArray knots, weights;
    double controlTol = 0, knotTol = 0;
};

inline NurbsData nurbsDataOf(const AcDbSpline& spline)
{
    NurbsData d;
    spline.getNurbsData(d.degree, d.rational, d.closed, d.periodic, d.controls, d.knots, d.weights, d.controlTol,
                        d.knotTol);
    return d;
}

// Gives the polyface mesh, which must lie in a database and be open for
// write, five vertices and two faces: the quad 1 2 3 4 and the triangle
// 2 -5 3 whose edge from vertex 5 is invisible.
inline void fillSamplePolyFace(AcDbPolyFaceMesh* pface)
{
    for (const AcGePoint3d& p : {AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(0, 1, 0),
                                 AcGePoint3d(2, 0, 1)}) {
        auto* v = new AcDbPolyFaceMeshVertex(p);
        ASSERT_EQ(pface->appendVertex(v), Acad::eOk);
        v->close();
    }
    for (auto* f : {new AcDbFaceRecord(1, 2, 3, 4), new AcDbFaceRecord(2, -5, 3, 0)}) {
        ASSERT_EQ(pface->appendFaceRecord(f), Acad::eOk);
        f->close();
    }
}
