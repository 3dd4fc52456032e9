// Fixture for the tests of the polyface building, the mesh readers, mesh
// selection and the entity dispatch: the editor fixture with an empty
// conversion failure text, and helpers that build polyface and polygon
// meshes in model space and read them back subentity by subentity.
#pragma once

#include <array>
#include <vector>

#include "EditorTest.h"
#include "ToolkitConversion.h"
#include "dbents.h"
#include "opennurbs.h"

typedef std::array<int, 4> Record;

class MeshTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        CToolkitConversion::SetLastErrorText(CString());
    }

    static std::wstring conversionText() { return std::wstring((LPCTSTR)CToolkitConversion::GetLastErrorText()); }

    // The objects' handles, separated by blanks, as the user types them.
    static std::wstring handles(std::initializer_list<AcDbObjectId> ids)
    {
        std::wstring text;
        for (const AcDbObjectId& id : ids)
            text += (text.empty() ? L"" : L" ") + handleOf(id);
        return text;
    }

    // Opens an entity of model space for write; the test closes it.
    template <class T> static T* openForWrite(const AcDbObjectId& id)
    {
        T* object = nullptr;
        EXPECT_EQ(acdbOpenObject(object, id, AcDb::kForWrite), Acad::eOk);
        return object;
    }
    template <class T> static T* openForRead(const AcDbObjectId& id)
    {
        T* object = nullptr;
        EXPECT_EQ(acdbOpenObject(object, id, AcDb::kForRead), Acad::eOk);
        return object;
    }

    // An empty polyface mesh in model space.
    static AcDbObjectId addPolyFace() { return add(new AcDbPolyFaceMesh()); }

    // A polyface mesh with the vertices and then the records.
    static AcDbObjectId addPolyFace(const std::vector<AcGePoint3d>& vertices, const std::vector<Record>& records)
    {
        const AcDbObjectId id = addPolyFace();
        AcDbPolyFaceMesh* mesh = openForWrite<AcDbPolyFaceMesh>(id);
        for (const AcGePoint3d& p : vertices) {
            AcDbPolyFaceMeshVertex* v = new AcDbPolyFaceMeshVertex(p);
            EXPECT_EQ(mesh->appendVertex(v), Acad::eOk);
            v->close();
        }
        for (const Record& r : records) {
            AcDbFaceRecord* f = new AcDbFaceRecord(static_cast<Adesk::Int16>(r[0]), static_cast<Adesk::Int16>(r[1]),
                                                   static_cast<Adesk::Int16>(r[2]), static_cast<Adesk::Int16>(r[3]));
            EXPECT_EQ(mesh->appendFaceRecord(f), Acad::eOk);
            f->close();
        }
        mesh->close();
        return id;
    }

    // A polygon mesh of m rows of n vertices at (column, row, 0).
    static AcDbObjectId addPolygonMesh(int m, int n, bool closedM, bool closedN)
    {
        AcGePoint3dArray points;
        for (int r = 0; r < m; ++r)
            for (int c = 0; c < n; ++c)
                points.append(AcGePoint3d(c, r, 0));
        return add(new AcDbPolygonMesh(AcDb::kSimpleMesh, static_cast<Adesk::Int16>(m), static_cast<Adesk::Int16>(n),
                                       points, closedM, closedN));
    }

    struct PolyFace {
        std::vector<AcGePoint3d> vertices;
        std::vector<Record> records;
    };

    // The vertices and records of a polyface mesh, in the iterator's order.
    static PolyFace readPolyFace(const AcDbObjectId& id)
    {
        PolyFace out;
        AcDbPolyFaceMesh* mesh = openForRead<AcDbPolyFaceMesh>(id);
        if (!mesh)
            return out;
        AcDbObjectIterator* it = mesh->vertexIterator();
        for (it->start(); !it->done(); it->step()) {
            AcDbObject* sub = nullptr;
            if (acdbOpenAcDbObject(sub, it->objectId(), AcDb::kForRead) != Acad::eOk)
                continue;
            if (AcDbPolyFaceMeshVertex* v = AcDbPolyFaceMeshVertex::cast(sub)) {
                out.vertices.push_back(v->position());
            } else if (AcDbFaceRecord* f = AcDbFaceRecord::cast(sub)) {
                Record r{};
                for (Adesk::UInt16 k = 0; k < 4; ++k) {
                    Adesk::Int16 index = 0;
                    f->getVertexAt(k, index);
                    r[k] = index;
                }
                out.records.push_back(r);
            }
            sub->close();
        }
        delete it;
        mesh->close();
        return out;
    }

    // The faces of a mesh as corner positions, so that the tests do not
    // depend on how the geometry library numbers vertices.
    static std::vector<std::vector<ON_3dPoint>> facePoints(const ON_Mesh& mesh)
    {
        std::vector<std::vector<ON_3dPoint>> faces;
        for (int f = 0; f < mesh.FaceCount(); ++f) {
            const ON_MeshFace& face = mesh.m_F[f];
            std::vector<ON_3dPoint> corners;
            for (int k = 0; k < (face.IsTriangle() ? 3 : 4); ++k) {
                const ON_3fPoint& v = mesh.m_V[face.vi[k]];
                corners.push_back(ON_3dPoint(v.x, v.y, v.z));
            }
            faces.push_back(corners);
        }
        return faces;
    }

    static std::vector<ON_3dPoint> pts(std::initializer_list<std::array<double, 3>> list)
    {
        std::vector<ON_3dPoint> out;
        for (const auto& p : list)
            out.push_back(ON_3dPoint(p[0], p[1], p[2]));
        return out;
    }
};
