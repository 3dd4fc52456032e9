// The model reader on the shared sample models and on files it must refuse.

#include "VrnRavlib.h"

#include "MeshChecks.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <utility>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>

using namespace vrntest;

namespace {

struct MeshCounts {
    int vertices, faces, quads;
};

struct Sample {
    const char* file;
    std::vector<MeshCounts> meshes;  // one per placement, in the file's order
};

// Counts after joining equal positions. Faces whose corners fall together
// (the STL's and the teapot's zero-size triangles) are no faces; polygons of
// more than four corners arrive as triangles.
const Sample kSamples[] = {
    {"testmixed.obj", {{8, 6, 6}}},  // its points and lines are no faces
    {"concave_polygon.obj", {{64, 64, 0}}},
    {"cube_binary.ply", {{8, 12, 0}}},
    {"Spider_binary.stl", {{722, 1312, 0}}},
    {"Cube.off", {{8, 6, 6}}},
    {"test1.3ds",
     {{8, 12, 0}, {8, 12, 0}, {8, 12, 0}, {8, 12, 0}, {8, 12, 0}, {8, 12, 0}, {8, 12, 0}, {8, 12, 0}, {8, 12, 0}}},
    {"teapot_instancenodes.DAE", {{529, 992, 0}, {529, 992, 0}}},
    {"BoxTextured.glb", {{8, 12, 0}}},
    {"box.fbx", {{8, 12, 0}}},
    {"ComputerKeyboard.x3d", {{22, 29, 11}, {12, 10, 10}, {12, 10, 10}, {12, 10, 10}}},
};

TEST(ReaderSamples, MeshesPerPlacementWithJoinedCorners)
{
    for (const Sample& sample : kSamples) {
        SCOPED_TRACE(sample.file);
        ON_ClassArray<ON_Mesh> meshes;
        ASSERT_NE(read(modelsFolder() + "/" + sample.file, meshes), 0) << errorText();
        EXPECT_EQ(errorText(), "");
        ASSERT_EQ(meshes.Count(), static_cast<int>(sample.meshes.size()));
        for (int i = 0; i < meshes.Count(); ++i) {
            SCOPED_TRACE("mesh " + std::to_string(i));
            const MeshCounts& want = sample.meshes[static_cast<size_t>(i)];
            EXPECT_EQ(meshes[i].m_V.Count(), want.vertices);
            EXPECT_EQ(meshes[i].m_F.Count(), want.faces);
            EXPECT_EQ(quadCount(meshes[i]), want.quads);
            expectWellFormed(meshes[i]);
        }
    }
}

// The file's own positions arrive unchanged when the placement is the identity.
TEST(ReaderSamples, PositionsAndFacesAsInTheFile)
{
    ON_ClassArray<ON_Mesh> meshes;
    ASSERT_NE(read(modelsFolder() + "/Cube.off", meshes), 0) << errorText();
    ASSERT_EQ(meshes.Count(), 1);
    const ON_Mesh& m = meshes[0];
    const float corners[8][3] = {{-0.5f, -0.5f, 0.5f},  {0.5f, -0.5f, 0.5f},  {-0.5f, 0.5f, 0.5f},
                                 {0.5f, 0.5f, 0.5f},    {-0.5f, 0.5f, -0.5f}, {0.5f, 0.5f, -0.5f},
                                 {-0.5f, -0.5f, -0.5f}, {0.5f, -0.5f, -0.5f}};
    const int quads[6][4] = {{0, 1, 3, 2}, {2, 3, 5, 4}, {4, 5, 7, 6}, {6, 7, 1, 0}, {1, 7, 5, 3}, {6, 0, 2, 4}};
    ASSERT_EQ(m.m_F.Count(), 6);
    for (int f = 0; f < 6; ++f)
        for (int k = 0; k < 4; ++k) {
            const ON_3fPoint& p = m.m_V[m.m_F[f].vi[k]];
            const float* want = corners[quads[f][k]];
            EXPECT_TRUE(p.x == want[0] && p.y == want[1] && p.z == want[2]) << "face " << f << " corner " << k;
        }
}

// The teapot is placed twice: the second placement is the first moved by the
// outer node's offset of (-120.80132, 2.58064, 0) inches, in metres and with
// the file's Z axis turned up into Assimp's Y-up frame.
TEST(ReaderSamples, TeapotPlacementsCarryTheirTransforms)
{
    ON_ClassArray<ON_Mesh> meshes;
    ASSERT_NE(read(modelsFolder() + "/teapot_instancenodes.DAE", meshes), 0) << errorText();
    ASSERT_EQ(meshes.Count(), 2);
    const ON_Mesh& a = meshes[0];
    const ON_Mesh& b = meshes[1];
    ASSERT_EQ(a.m_V.Count(), b.m_V.Count());
    const double dx = -120.80132 * 0.0254, dz = -2.58064 * 0.0254;
    for (int i = 0; i < a.m_V.Count(); ++i) {
        EXPECT_NEAR(b.m_V[i].x - a.m_V[i].x, dx, 1e-5) << i;
        EXPECT_NEAR(b.m_V[i].y - a.m_V[i].y, 0.0, 1e-5) << i;
        EXPECT_NEAR(b.m_V[i].z - a.m_V[i].z, dz, 1e-5) << i;
    }
    for (int f = 0; f < a.m_F.Count(); ++f)
        for (int k = 0; k < 4; ++k)
            ASSERT_EQ(a.m_F[f].vi[k], b.m_F[f].vi[k]);
}

// The concave polygon is a ring whose outline runs out along a bridge edge
// and back (66 corners, 64 positions). Its triangles must cover exactly the
// ring: each lies inside it, turns the polygon's way, and their areas add up
// to the polygon's area.
TEST(ReaderSamples, ConcavePolygonSplitsIntoTrianglesInsideIt)
{
    // The polygon as the file gives it, in its plane x = -1.146 (y, z).
    std::ifstream in(modelsFolder() + "/concave_polygon.obj");
    std::vector<std::pair<double, double>> v;
    std::vector<int> outline;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream ls(line);
        std::string tag;
        ls >> tag;
        if (tag == "v") {
            double x, y, z;
            ls >> x >> y >> z;
            v.push_back({y, z});
        } else if (tag == "f") {
            std::string corner;
            while (ls >> corner)
                outline.push_back(std::stoi(corner) - 1);
        }
    }
    ASSERT_EQ(outline.size(), 66u);
    auto cross = [](std::pair<double, double> a, std::pair<double, double> b, std::pair<double, double> c) {
        return (b.first - a.first) * (c.second - a.second) - (b.second - a.second) * (c.first - a.first);
    };
    double polygonArea = 0;
    for (size_t i = 0; i < outline.size(); ++i) {
        auto p = v[static_cast<size_t>(outline[i])];
        auto q = v[static_cast<size_t>(outline[(i + 1) % outline.size()])];
        polygonArea += (p.first * q.second - q.first * p.second) / 2;
    }
    auto inside = [&](double y, double z) {  // even-odd: the bridge's two edges cancel
        bool in = false;
        for (size_t i = 0; i < outline.size(); ++i) {
            auto p = v[static_cast<size_t>(outline[i])];
            auto q = v[static_cast<size_t>(outline[(i + 1) % outline.size()])];
            if ((p.second > z) != (q.second > z) &&
                y < p.first + (z - p.second) * (q.first - p.first) / (q.second - p.second))
                in = !in;
        }
        return in;
    };

    ON_ClassArray<ON_Mesh> meshes;
    ASSERT_NE(read(modelsFolder() + "/concave_polygon.obj", meshes), 0) << errorText();
    ASSERT_EQ(meshes.Count(), 1);
    const ON_Mesh& m = meshes[0];
    ASSERT_EQ(m.m_F.Count(), 64) << "a polygon of 66 corners gives 64 triangles";
    double total = 0;
    for (int f = 0; f < m.m_F.Count(); ++f) {
        const int* vi = m.m_F[f].vi;
        ASSERT_EQ(vi[2], vi[3]) << "face " << f << " is a triangle";
        std::pair<double, double> c[3];
        for (int k = 0; k < 3; ++k) {
            EXPECT_FLOAT_EQ(m.m_V[vi[k]].x, -1.146f);
            c[k] = {m.m_V[vi[k]].y, m.m_V[vi[k]].z};
        }
        double a = cross(c[0], c[1], c[2]) / 2;
        EXPECT_GT(a * polygonArea, 0) << "face " << f << " turns the polygon's way";
        total += a;
        EXPECT_TRUE(inside((c[0].first + c[1].first + c[2].first) / 3, (c[0].second + c[1].second + c[2].second) / 3))
            << "face " << f;
    }
    EXPECT_NEAR(total, polygonArea, 1e-5 * std::fabs(polygonArea));
}

// ---- files that cannot be read -------------------------------------------

struct Refusal {
    const char* name;
    const char* phrase;  // what the text says
};

class ReaderRefusals : public ::testing::Test {
protected:
    // Reads path into a list that already holds one mesh: the list must stay
    // as it was, and the text must name the file and say phrase.
    void expectRefused(const std::string& path, const std::string& phrase, bool namesFile = true)
    {
        SCOPED_TRACE(path);
        ON_ClassArray<ON_Mesh> meshes;
        ON_Mesh& kept = meshes.AppendNew();
        kept.m_V.Append(ON_3fPoint(1, 2, 3));
        EXPECT_EQ(read(path, meshes), 0);
        ASSERT_EQ(meshes.Count(), 1);
        EXPECT_EQ(meshes[0].m_V.Count(), 1);
        std::string text = errorText();
        EXPECT_NE(text.find(phrase), std::string::npos) << text;
        if (namesFile) {
            EXPECT_NE(text.find("\"" + path + "\""), std::string::npos) << text;
        }
    }
    TempFolder folder;
};

TEST_F(ReaderRefusals, EachProblemHasItsOwnText)
{
    writeFile(folder.file("empty.obj"), "");
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919 + 13) % 251);
    writeFile(folder.file("garbage.xyz"), garbage);
    writeFile(folder.file("garbage.skp"), garbage);  // named .skp, but no SketchUp signature
    writeFile(folder.file("garbage.ply"), garbage);
    writeFile(folder.file("garbage.3ds"), garbage);
    std::string ply = readFile(modelsFolder() + "/cube_binary.ply");
    writeFile(folder.file("cut.ply"), ply.substr(0, 300));
    std::string fbx = readFile(modelsFolder() + "/box.fbx");
    writeFile(folder.file("cut.fbx"), fbx.substr(0, fbx.size() / 2));
    writeFile(folder.file("index.obj"), "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 99\n");
    std::string skp("\xFF\xFE\xFF\x0E", 4);
    for (char c : std::string("SketchUp Model"))
        skp += std::string{c, '\0'};
    skp += std::string(200, '\x01');
    writeFile(folder.file("model.skp"), skp);
    writeFile(folder.file("MODEL.SKP"), skp);

    const Refusal cases[] = {
        {"missing.obj", "does not exist"},
        {"no/such/folder/model.obj", "does not exist"},
        {"empty.obj/inside.obj", "does not exist"},
        {"empty.obj", "is empty"},
        {"garbage.xyz", "is not in a model format that can be read"},
        {"garbage.skp", "is not in a model format that can be read"},
        {"garbage.ply", "damaged or incomplete"},
        {"garbage.3ds", "damaged or incomplete"},
        {"cut.ply", "damaged or incomplete"},
        {"cut.fbx", "damaged or incomplete"},
        {"index.obj", "damaged or incomplete"},
        {"model.skp", "SketchUp files need Varnett's SketchUp reader, which this build does not include"},
        {"MODEL.SKP", "is a SketchUp model"},
    };
    for (const Refusal& c : cases)
        expectRefused(folder.file(c.name), c.phrase);
}

TEST_F(ReaderRefusals, FoldersAndOtherNonFiles)
{
    expectRefused(folder.path().string(), "is a folder, not a model file");
    std::string fifo = folder.file("pipe.obj");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    expectRefused(fifo, "is not an ordinary file");  // and does not wait for a writer
    expectRefused("/dev/null", "is not an ordinary file");
}

// Damaged files on which Assimp's PLY importer crashes or never ends: the
// host goes on, and the user learns what happened.
TEST_F(ReaderRefusals, FilesThatBreakTheImporter)
{
    const std::string ply = readFile(modelsFolder() + "/cube_binary.ply");
    ASSERT_EQ(ply.size(), 447u);
    std::string crash = ply;
    for (auto [at, byte] : {std::pair{170, 0xAC}, {188, 0x11}, {298, 0x25}, {326, 0xBD}})
        crash[static_cast<size_t>(at)] = static_cast<char>(byte);
    writeFile(folder.file("crash.ply"), crash);
    std::string endless = ply.substr(0, 152);
    endless[114] = '\x0F';
    writeFile(folder.file("endless.ply"), endless);

    expectRefused(folder.file("crash.ply"), "damaged or incomplete (reading it made the reader fail)");
    const char* old = std::getenv("VRN_READER_TIMEOUT");
    std::string saved = old ? old : "";
    ::setenv("VRN_READER_TIMEOUT", "1.5", 1);
    expectRefused(folder.file("endless.ply"), "took longer than 1.5 seconds and was stopped");
    if (old)
        ::setenv("VRN_READER_TIMEOUT", saved.c_str(), 1);
    else
        ::unsetenv("VRN_READER_TIMEOUT");

    ON_ClassArray<ON_Mesh> meshes;  // and the reader still works
    ASSERT_NE(read(modelsFolder() + "/cube_binary.ply", meshes), 0) << errorText();
    EXPECT_EQ(meshes.Count(), 1);
}

TEST_F(ReaderRefusals, NoPathGiven)
{
    expectRefused("", "No model file was given.", false);
}

TEST_F(ReaderRefusals, UnreadableFile)
{
    if (runningAsRoot())
        GTEST_SKIP() << "root reads every file";
    std::string path = folder.file("locked.obj");
    writeFile(path, "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    ::chmod(path.c_str(), 0);
    expectRefused(path, "you do not have permission to read it");
}

TEST_F(ReaderRefusals, SuccessClearsTheLastError)
{
    expectRefused(folder.file("missing.obj"), "does not exist");
    ON_ClassArray<ON_Mesh> meshes;
    ASSERT_NE(read(modelsFolder() + "/Cube.off", meshes), 0);
    EXPECT_EQ(errorText(), "");
}

}  // namespace
