// The host's ACIS reader and writer: solids, bodies and regions written to a
// file and read back exactly, and files that are not such files refused
// whole.
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>

#include "DbTest.h"
#include "dbbody.h"
#include "dbregion.h"
#include "dbsol3d.h"
#include "standin/WideFormat.h"

namespace {

using standin::ModelEdge;
using standin::ModelFace;
using standin::ModelLoop;
using standin::ShapeModel;

bool same(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}
bool same(const AcGePoint3d& a, const AcGePoint3d& b)
{
    return same(a.x, b.x) && same(a.y, b.y) && same(a.z, b.z);
}
bool same(const AcGeVector3d& a, const AcGeVector3d& b)
{
    return same(a.x, b.x) && same(a.y, b.y) && same(a.z, b.z);
}

// Every field of both models, bit for bit.
void expectSameModel(const ShapeModel& a, const ShapeModel& b)
{
    ASSERT_EQ(a.faces.size(), b.faces.size());
    for (size_t f = 0; f < a.faces.size(); ++f) {
        const ModelFace& fa = a.faces[f];
        const ModelFace& fb = b.faces[f];
        EXPECT_EQ(fa.planar, fb.planar);
        EXPECT_TRUE(same(fa.normal, fb.normal)) << "face " << f;
        ASSERT_EQ(fa.loops.size(), fb.loops.size());
        for (size_t l = 0; l < fa.loops.size(); ++l) {
            ASSERT_EQ(fa.loops[l].edges.size(), fb.loops[l].edges.size());
            for (size_t e = 0; e < fa.loops[l].edges.size(); ++e) {
                const ModelEdge& ea = fa.loops[l].edges[e];
                const ModelEdge& eb = fb.loops[l].edges[e];
                SCOPED_TRACE(testing::Message() << "face " << f << " loop " << l << " edge " << e);
                EXPECT_EQ(ea.kind, eb.kind);
                if (ea.kind == ModelEdge::kLine) {
                    EXPECT_TRUE(same(ea.start, eb.start));
                    EXPECT_TRUE(same(ea.end, eb.end));
                } else {
                    EXPECT_TRUE(same(ea.center, eb.center));
                    EXPECT_TRUE(same(ea.normal, eb.normal));
                    EXPECT_TRUE(same(ea.radius, eb.radius));
                    EXPECT_TRUE(same(ea.startAngle, eb.startAngle));
                    EXPECT_TRUE(same(ea.endAngle, eb.endAngle));
                }
            }
        }
    }
}

const ShapeModel& modelOf(const AcDbEntity* e)
{
    if (const AcDb3dSolid* s = AcDb3dSolid::cast(e))
        return s->standinModel();
    if (const AcDbBody* b = AcDbBody::cast(e))
        return b->standinModel();
    return AcDbRegion::cast(e)->standinModel();
}

// A region with a hole, awkward numbers in it (thirds, a denormal, huge and
// tiny values, a negative zero) and an arc edge.
ShapeModel awkwardRegion()
{
    ShapeModel m = standin::polygonRegionModel({AcGePoint3d(0, 0, -0.0), AcGePoint3d(1.0 / 3, 0, 0),
                                                AcGePoint3d(1.0 / 3, 1e150, 0), AcGePoint3d(4.9e-324, 1e-300, 0)});
    ModelLoop hole;
    hole.edges.push_back(ModelEdge::arc(AcGePoint3d(0.1, 0.2, 0.0), AcGeVector3d(0, 0, -1), 0.01 / 7, 0.1, 6.2));
    m.faces.front().loops.push_back(hole);
    return m;
}

class AcisFileTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        char pattern[] = "/tmp/kv-acis-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override
    {
        DbTest::TearDown();
        const std::string command = "chmod -R u+rwx '" + folder_ + "'; rm -rf '" + folder_ + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
    std::string path(const std::string& name) const { return folder_ + "/" + name; }
    std::wstring wide(const std::string& name) const { return standin::widen(path(name)); }
    void write(const std::string& name, const std::string& content) const
    {
        std::ofstream(path(name), std::ios::binary) << content;
    }
    std::string read(const std::string& name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void deleteAll(AcDbVoidPtrArray& entities)
    {
        for (int i = 0; i < entities.length(); ++i)
            delete static_cast<AcDbEntity*>(entities[i]);
        entities.setLogicalLength(0);
    }
    // The three shapes of the files: a box solid, a cylinder body and the
    // awkward region.
    static void makeShapes(AcDb3dSolid& solid, AcDbBody& body, AcDbRegion& region)
    {
        ASSERT_EQ(solid.createBox(1, 2, 3), Acad::eOk);
        ASSERT_EQ(body.setStandinModel(standin::cylinderModel(AcGePoint3d(1, 2, 3), 0.5, 2)), Acad::eOk);
        ASSERT_EQ(region.setStandinModel(awkwardRegion()), Acad::eOk);
    }
    // A file of a box solid, a cylinder body and a region, as acisOut writes it.
    std::string goodFile()
    {
        AcDb3dSolid solid;
        AcDbBody body;
        AcDbRegion region;
        makeShapes(solid, body, region);
        AcDbVoidPtrArray list;
        list.append(&solid);
        list.append(&body);
        list.append(&region);
        EXPECT_EQ(AcDbBody::acisOut(wide("good.sat").c_str(), list), Acad::eOk);
        return read("good.sat");
    }

    std::string folder_;
};

TEST_F(AcisFileTest, BodiesReadBackExactlyAndInOrder)
{
    AcDb3dSolid solid;
    AcDbBody body;
    AcDbRegion region;
    ASSERT_NO_FATAL_FAILURE(makeShapes(solid, body, region));
    AcDbBody empty;
    AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 1));
    AcDbVoidPtrArray out;
    for (AcDbEntity* e : std::initializer_list<AcDbEntity*>{&region, &line, &solid, &empty, &body})
        out.append(e);
    ASSERT_EQ(AcDbBody::acisOut(wide("shapes.sat").c_str(), out), Acad::eOk);

    AcDbVoidPtrArray in;
    ASSERT_EQ(AcDbBody::acisIn(wide("shapes.sat").c_str(), in), Acad::eOk);
    ASSERT_EQ(in.length(), 4) << "the line holds no shape and is passed over";
    const AcDbEntity* expected[] = {&region, &solid, &empty, &body};
    for (int i = 0; i < in.length(); ++i) {
        SCOPED_TRACE(i);
        auto* got = static_cast<AcDbEntity*>(in[i]);
        EXPECT_STREQ(got->isA()->name(), expected[i]->isA()->name());
        EXPECT_TRUE(got->objectId().isNull()) << "read entities belong to no database";
        expectSameModel(modelOf(got), modelOf(expected[i]));
    }
    EXPECT_TRUE(AcDbBody::cast(static_cast<AcDbEntity*>(in[2]))->isNull());

    // Written again, the file is the same to the byte.
    ASSERT_EQ(AcDbBody::acisOut(wide("again.sat").c_str(), in), Acad::eOk);
    EXPECT_EQ(read("again.sat"), read("shapes.sat"));
    deleteAll(in);
}

TEST_F(AcisFileTest, DamagedFilesGiveNoEntity)
{
    const std::string good = goodFile();
    ASSERT_NE(good.find("REGION"), std::string::npos);
    const std::string head = "kolvane-acis 1\nbodies 1\n";
    const std::string square = "face planar 0 0 1 1\nloop 1\nline 0 0 0 1 0 0\n";
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"another format", "ACIS 700 0 1 0\n"},
        {"binary garbage",
         std::string("\x7f"
                     "ELF\0\x01\xff\xfe",
                     8)},
        {"NUL in a line", head + "BODY 1\nface planar 0 0 1 1\nloop 1\nline 0 0 0\0 1 0 0\nend\n"},
        {"absurd body count", "kolvane-acis 1\nbodies 99999999999999999999999\nend\n"},
        {"body count beyond the lines", "kolvane-acis 1\nbodies 1000000\nBODY 0\nend\n"},
        {"negative count", "kolvane-acis 1\nbodies -1\nend\n"},
        {"edge count beyond the lines", head + "BODY 1\nface planar 0 0 1 1\nloop 4000000000\nline 0 0 0 1 0 0\nend\n"},
        {"NaN", head + "BODY 1\nface planar 0 0 1 1\nloop 1\nline 0 nan 0 1 0 0\nend\n"},
        {"infinity", head + "BODY 1\nface planar 0 0 inf 1\nloop 1\nline 0 0 0 1 0 0\nend\n"},
        {"number out of range", head + "BODY 1\nface planar 0 0 1 1\nloop 1\nline 0 1e999 0 1 0 0\nend\n"},
        {"not a number", head + "BODY 1\nface planar 0 0 1 1\nloop 1\nline 0 0x10 0 1 0 0\nend\n"},
        {"too few numbers", head + "BODY 1\nface planar 0 0 1 1\nloop 1\nline 0 0 0 1 0\nend\n"},
        {"unknown class", head + "LINE 0\nend\n"},
        {"unknown edge", head + "BODY 1\nface planar 0 0 1 1\nloop 1\nspline 0 0 0 1 0 0\nend\n"},
        {"arc of radius 0", head + "BODY 1\nface planar 0 0 1 1\nloop 1\narc 0 0 0 0 0 1 0 0 1\nend\n"},
        {"planar face without normal", head + "BODY 1\nface planar 0 0 0 1\nloop 1\nline 0 0 0 1 0 0\nend\n"},
        {"region of two faces", head + "REGION 2\n" + square + square + "end\n"},
        {"region of a curved face", head + "REGION 1\nface curved 0 0 0 1\nloop 1\nline 0 0 0 1 0 0\nend\n"},
        {"missing end", head + "BODY 0\n"},
        {"data after the end", good + "BODY 0\n"},
        {"fewer bodies than counted", "kolvane-acis 1\nbodies 2\nBODY 0\nend\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write("bad.sat", c.text);
        AcDbVoidPtrArray in;
        EXPECT_EQ(AcDbBody::acisIn(wide("bad.sat").c_str(), in), Acad::eCannotRestoreFromAcisFile);
        EXPECT_EQ(in.length(), 0);
        deleteAll(in);
    }
    // A file too large is refused before it is read.
    write("huge.sat", good);
    ASSERT_EQ(truncate(path("huge.sat").c_str(), off_t(17) << 20), 0);
    AcDbVoidPtrArray none;
    EXPECT_EQ(AcDbBody::acisIn(wide("huge.sat").c_str(), none), Acad::eCannotRestoreFromAcisFile);
    EXPECT_EQ(none.length(), 0);
    // A line of very many words.
    std::string words = head + "BODY 1\nface planar 0 0 1 1\nloop 1\nline";
    for (int i = 0; i < 100000; ++i)
        words += " 0";
    write("words.sat", words + "\nend\n");
    EXPECT_EQ(AcDbBody::acisIn(wide("words.sat").c_str(), none), Acad::eCannotRestoreFromAcisFile);
    EXPECT_EQ(none.length(), 0);

    // Cut anywhere before its end, the good file is refused too.
    for (size_t cut = 0; cut + 1 < good.size(); ++cut) {
        write("cut.sat", good.substr(0, cut));
        AcDbVoidPtrArray in;
        ASSERT_EQ(AcDbBody::acisIn(wide("cut.sat").c_str(), in), Acad::eCannotRestoreFromAcisFile) << cut;
        ASSERT_EQ(in.length(), 0);
    }
    // Windows line ends and blank lines are read.
    std::string crlf;
    for (char ch : good)
        crlf += ch == '\n' ? std::string("\r\n\r\n") : std::string(1, ch);
    write("crlf.sat", crlf);
    AcDbVoidPtrArray in;
    EXPECT_EQ(AcDbBody::acisIn(wide("crlf.sat").c_str(), in), Acad::eOk);
    EXPECT_EQ(in.length(), 3);
    deleteAll(in);
}

TEST_F(AcisFileTest, FilesThatCannotBeReadKeepTheCallersArray)
{
    write("locked.sat", goodFile());
    ASSERT_EQ(chmod(path("locked.sat").c_str(), 0), 0);
    ASSERT_EQ(mkdir(path("folder.sat").c_str(), 0700), 0);
    struct Case {
        std::wstring name;
        Acad::ErrorStatus status;
    };
    std::vector<Case> cases = {
        {wide("missing.sat"), Acad::eFileNotFound},
        {wide("missing-folder/a.sat"), Acad::eFileNotFound},
        {wide("folder.sat"), Acad::eFileAccessErr},
        {L"", Acad::eInvalidInput},
    };
    if (geteuid() != 0)  // the superuser reads any file
        cases.push_back({wide("locked.sat"), Acad::eFileAccessErr});
    AcDbLine keep;
    for (const Case& c : cases) {
        SCOPED_TRACE(standin::narrow(c.name));
        AcDbVoidPtrArray in;
        in.append(&keep);
        EXPECT_EQ(AcDbBody::acisIn(c.name.c_str(), in), c.status);
        ASSERT_EQ(in.length(), 1);
        EXPECT_EQ(in[0], &keep);
    }
    AcDbVoidPtrArray in;
    EXPECT_EQ(AcDbBody::acisIn(nullptr, in), Acad::eInvalidInput);
}

TEST_F(AcisFileTest, WritesThatCannotBeDoneLeaveNoFile)
{
    AcDb3dSolid solid;
    ASSERT_EQ(solid.createBox(1, 1, 1), Acad::eOk);
    AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    AcDbVoidPtrArray one, none, lines, withNull;
    one.append(&solid);
    lines.append(&line);
    withNull.append(&solid);
    withNull.append(nullptr);
    ASSERT_EQ(mkdir(path("folder.sat").c_str(), 0700), 0);
    write("kept.sat", "older data");

    EXPECT_EQ(AcDbBody::acisOut(wide("missing-folder/a.sat").c_str(), one), Acad::eFileAccessErr);
    EXPECT_EQ(AcDbBody::acisOut(wide("folder.sat").c_str(), one), Acad::eFileAccessErr);
    EXPECT_EQ(AcDbBody::acisOut(wide("kept.sat").c_str(), none), Acad::eInvalidInput);
    EXPECT_EQ(AcDbBody::acisOut(wide("kept.sat").c_str(), lines), Acad::eInvalidInput);
    EXPECT_EQ(AcDbBody::acisOut(wide("kept.sat").c_str(), withNull), Acad::eNullEntityPointer);
    EXPECT_EQ(AcDbBody::acisOut(L"", one), Acad::eInvalidInput);
    EXPECT_EQ(AcDbBody::acisOut(nullptr, one), Acad::eInvalidInput);
    EXPECT_EQ(read("kept.sat"), "older data");

    // A replaced file keeps its permissions; a link is written where it leads.
    write("shared.sat", "older data");
    ASSERT_EQ(chmod(path("shared.sat").c_str(), 0640), 0);
    ASSERT_EQ(symlink("shared.sat", path("link.sat").c_str()), 0);
    EXPECT_EQ(AcDbBody::acisOut(wide("link.sat").c_str(), one), Acad::eOk);
    struct stat st;
    ASSERT_EQ(lstat(path("link.sat").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(stat(path("shared.sat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(read("shared.sat").rfind("kolvane-acis 1\n", 0), 0u);
    unlink(path("shared.sat").c_str());
    unlink(path("link.sat").c_str());

    // A resident entity must be open.
    auto* resident = new AcDb3dSolid();
    ASSERT_EQ(resident->createBox(1, 1, 1), Acad::eOk);
    const AcDbObjectId id = append(resident);
    AcDbVoidPtrArray closed;
    closed.append(resident);
    EXPECT_EQ(AcDbBody::acisOut(wide("kept.sat").c_str(), closed), Acad::eNotOpenForRead);
    EXPECT_EQ(read("kept.sat"), "older data");

    // Only the folder, the one file kept and no temporary file are left.
    const std::string command = "test $(ls -A '" + folder_ + "' | wc -l) -eq 2";
    EXPECT_EQ(std::system(command.c_str()), 0);
    (void)id;
}

}  // namespace
