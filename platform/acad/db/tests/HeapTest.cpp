// Objects on the database's heap: many objects of different sizes made and
// deleted in mixed order keep their own contents, rooms are reused without
// overlap, and the heap's account of what it has handed out balances.
#include "DbTest.h"

#include <cstring>
#include <memory>
#include <new>
#include <random>
#include <vector>

namespace {

// Entities larger than the heap's small rooms: one of a few pages, and one
// beyond what the heap keeps in its blocks.
template <size_t N> class PaddedPoint : public AcDbPoint {
public:
    explicit PaddedPoint(const AcGePoint3d& p, unsigned char fill) : AcDbPoint(p), mFill(fill)
    {
        std::memset(mPayload, fill, sizeof mPayload);
    }
    bool intact() const
    {
        for (unsigned char c : mPayload)
            if (c != mFill)
                return false;
        return true;
    }

private:
    unsigned char mFill;
    unsigned char mPayload[N];
};
using BigPoint = PaddedPoint<5000>;
using HugePoint = PaddedPoint<300000>;

// One object made by the test, with what it must still hold.
struct Made {
    AcDbEntity* entity = nullptr;
    int kind = 0;
    double key = 0;
};

AcDbEntity* make(int kind, double key)
{
    const AcGePoint3d p(key, -key, 2 * key);
    switch (kind) {
    case 0: return new AcDbLine(p, AcGePoint3d(key + 1, key + 2, key + 3));
    case 1: return new AcDbPoint(p);
    case 2: return new AcDbFace(p, AcGePoint3d(key, 1, 0), AcGePoint3d(key, 2, 0), AcGePoint3d(key, 3, 0));
    case 3: return new BigPoint(p, static_cast<unsigned char>(static_cast<int>(key) & 0xFF));
    default: return new HugePoint(p, static_cast<unsigned char>(static_cast<int>(key) & 0xFF));
    }
}

// Checks that the object still holds what make() put into it.
::testing::AssertionResult holds(const Made& m)
{
    const double k = m.key;
    switch (m.kind) {
    case 0: {
        auto* line = static_cast<AcDbLine*>(m.entity);
        if (line->startPoint() == AcGePoint3d(k, -k, 2 * k) && line->endPoint() == AcGePoint3d(k + 1, k + 2, k + 3))
            return ::testing::AssertionSuccess();
        break;
    }
    case 1:
        if (static_cast<AcDbPoint*>(m.entity)->position() == AcGePoint3d(k, -k, 2 * k))
            return ::testing::AssertionSuccess();
        break;
    case 2: {
        AcGePoint3d first, last;
        auto* face = static_cast<AcDbFace*>(m.entity);
        if (face->getVertexAt(0, first) == Acad::eOk && face->getVertexAt(3, last) == Acad::eOk &&
            first == AcGePoint3d(k, -k, 2 * k) && last == AcGePoint3d(k, 3, 0))
            return ::testing::AssertionSuccess();
        break;
    }
    case 3: {
        auto* big = static_cast<BigPoint*>(m.entity);
        if (big->position() == AcGePoint3d(k, -k, 2 * k) && big->intact())
            return ::testing::AssertionSuccess();
        break;
    }
    default: {
        auto* huge = static_cast<HugePoint*>(m.entity);
        if (huge->position() == AcGePoint3d(k, -k, 2 * k) && huge->intact())
            return ::testing::AssertionSuccess();
        break;
    }
    }
    return ::testing::AssertionFailure() << "object " << k << " of kind " << m.kind << " was overwritten";
}

}  // namespace

TEST_F(DbTest, ObjectsOfMixedSizesKeepTheirContentsThroughReuse)
{
    std::mt19937 random(7);
    std::vector<Made> live;
    double key = 1;
    for (int round = 0; round < 4; ++round) {
        for (int i = 0; i < 3000; ++i) {
            Made m;
            // Now and then one beyond the heap's blocks.
            m.kind = i % 250 == 0 ? 4 : static_cast<int>(random() % 4);
            m.key = key++;
            m.entity = make(m.kind, m.key);
            live.push_back(m);
        }
        // Delete about half, in random order, so that the next round's
        // objects take rooms of every size.
        std::shuffle(live.begin(), live.end(), random);
        const size_t keep = live.size() / 2;
        for (size_t i = keep; i < live.size(); ++i)
            delete live[i].entity;
        live.resize(keep);
        for (const Made& m : live)
            ASSERT_TRUE(holds(m));
    }
    // No two live objects share memory.
    std::vector<std::pair<const char*, const char*>> spans;
    for (const Made& m : live) {
        const size_t size = m.kind == 0 ? sizeof(AcDbLine)
            : m.kind == 1               ? sizeof(AcDbPoint)
            : m.kind == 2               ? sizeof(AcDbFace)
            : m.kind == 3               ? sizeof(BigPoint)
                                        : sizeof(HugePoint);
        const char* start = reinterpret_cast<const char*>(m.entity);
        spans.emplace_back(start, start + size);
    }
    std::sort(spans.begin(), spans.end());
    for (size_t i = 1; i < spans.size(); ++i)
        ASSERT_LE(spans[i - 1].second, spans[i].first);
    for (const Made& m : live)
        delete m.entity;
}

TEST_F(DbTest, EntitiesOfADestroyedDatabaseMakeRoomForTheNext)
{
    for (int pass = 0; pass < 3; ++pass) {
        AcDbDatabase* database = standin::newWorkingDatabase();
        std::vector<AcDbObjectId> ids;
        for (int i = 0; i < 20000; ++i)
            ids.push_back(appendTo(database, new AcDbLine(AcGePoint3d(i, pass, 0), AcGePoint3d(i, pass, 1))));
        EXPECT_EQ(standin::modelSpaceEntityCount(database), 20000);
        for (int i = 0; i < 20000; i += 997) {
            AcDbLine* line = nullptr;
            ASSERT_EQ(acdbOpenObject(line, ids[static_cast<size_t>(i)], AcDb::kForRead), Acad::eOk);
            EXPECT_EQ(line->startPoint(), AcGePoint3d(i, pass, 0));
            EXPECT_EQ(line->endPoint(), AcGePoint3d(i, pass, 1));
            line->close();
        }
    }
}

TEST_F(DbTest, NothrowAndPlacementFormsOfNew)
{
    AcDbPoint* point = new (std::nothrow) AcDbPoint(AcGePoint3d(1, 2, 3));
    ASSERT_NE(point, nullptr);
    EXPECT_EQ(point->position(), AcGePoint3d(1, 2, 3));
    delete point;

    alignas(AcDbLine) unsigned char room[sizeof(AcDbLine)];
    AcDbLine* line = new (room) AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(4, 5, 6));
    EXPECT_EQ(line->endPoint(), AcGePoint3d(4, 5, 6));
    line->~AcDbLine();
}

TEST(StandinHeap, AccountBalances)
{
    const size_t before = standin::objectHeapBytes();
    std::vector<AcDbEntity*> made;
    for (int i = 0; i < 1000; ++i)
        made.push_back(i % 2 ? static_cast<AcDbEntity*>(new AcDbLine()) : new BigPoint(AcGePoint3d(), 1));
    const size_t during = standin::objectHeapBytes();
    EXPECT_GE(during - before, 500 * (sizeof(AcDbLine) + sizeof(BigPoint)));
    for (AcDbEntity* e : made)
        delete e;
    EXPECT_EQ(standin::objectHeapBytes(), before);
}
