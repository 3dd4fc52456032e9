// The run-time classes and the geometry library's globals.
#include <cmath>
#include <cstring>
#include <cwchar>

#include "acutmem.h"
#include "gegbl.h"
#include "gemat3d.h"
#include "gepnt3d.h"
#include "gevec3d.h"
#include "rxobject.h"

// ---- AcRxObject / AcRxClass

AcRxObject::AcRxObject() = default;
AcRxObject::~AcRxObject() = default;

AcRxClass* AcRxObject::desc()
{
    static AcRxClass s_class(L"AcRxObject", nullptr);
    return &s_class;
}

AcRxClass* AcRxObject::isA() const
{
    return AcRxObject::desc();
}

bool AcRxObject::isKindOf(const AcRxClass* aClass) const
{
    const AcRxClass* mine = isA();
    return mine != nullptr && mine->isDerivedFrom(aClass);
}

AcRxObject* AcRxObject::clone() const
{
    return nullptr;
}

Acad::ErrorStatus AcRxObject::copyFrom(const AcRxObject*)
{
    return Acad::eNotApplicable;
}

Adesk::Boolean AcRxObject::isEqualTo(const AcRxObject* other) const
{
    return other == this;
}

ACRX_NO_CONS_DEFINE_MEMBERS(AcRxClass, AcRxObject)

AcRxClass::AcRxClass(const ACHAR* name, AcRxClass* parent, AcRxPseudoConstructor maker, const ACHAR* dxfName,
                     const ACHAR* appName)
    : mName(name), mParent(parent), mMaker(maker), mDxfName(dxfName), mAppName(appName)
{}

AcRxClass::~AcRxClass() = default;

bool AcRxClass::isDerivedFrom(const AcRxClass* other) const
{
    if (other == nullptr)
        return false;
    for (const AcRxClass* c = this; c != nullptr; c = c->mParent)
        if (c == other)
            return true;
    return false;
}

// ---- AcGe

AcGeTol AcGeContext::gTol;

static void orthoVector(const AcGeVector3d& v, AcGeVector3d& ortho)
{
    // The arbitrary-axis rule.
    const double limit = 1.0 / 64.0;
    if (std::fabs(v.x) < limit && std::fabs(v.y) < limit)
        ortho.set(v.z, 0.0, -v.x);
    else
        ortho.set(-v.y, v.x, 0.0);
}

void (*AcGeContext::gOrthoVector)(const AcGeVector3d&, AcGeVector3d&) = &orthoVector;

const AcGeVector3d AcGeVector3d::kIdentity(0.0, 0.0, 0.0);
const AcGeVector3d AcGeVector3d::kXAxis(1.0, 0.0, 0.0);
const AcGeVector3d AcGeVector3d::kYAxis(0.0, 1.0, 0.0);
const AcGeVector3d AcGeVector3d::kZAxis(0.0, 0.0, 1.0);
const AcGePoint3d AcGePoint3d::kOrigin(0.0, 0.0, 0.0);
const AcGeMatrix3d AcGeMatrix3d::kIdentity;

static double det3(const double m[4][4], int r0, int r1, int r2, int c0, int c1, int c2)
{
    return m[r0][c0] * (m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1]) -
        m[r0][c1] * (m[r1][c0] * m[r2][c2] - m[r1][c2] * m[r2][c0]) +
        m[r0][c2] * (m[r1][c0] * m[r2][c1] - m[r1][c1] * m[r2][c0]);
}

static double cofactor(const double m[4][4], int r, int c)
{
    int rows[3], cols[3];
    for (int i = 0, k = 0; i < 4; ++i)
        if (i != r)
            rows[k++] = i;
    for (int i = 0, k = 0; i < 4; ++i)
        if (i != c)
            cols[k++] = i;
    double d = det3(m, rows[0], rows[1], rows[2], cols[0], cols[1], cols[2]);
    return ((r + c) % 2 == 0) ? d : -d;
}

double AcGeMatrix3d::det() const
{
    double d = 0.0;
    for (int c = 0; c < 4; ++c)
        d += entry[0][c] * cofactor(entry, 0, c);
    return d;
}

AcGeMatrix3d AcGeMatrix3d::inverse() const
{
    double d = det();
    AcGeMatrix3d out;
    if (std::fabs(d) < 1e-300)
        return out;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            out.entry[c][r] = cofactor(entry, r, c) / d;
    return out;
}

// ---- strings handed out by the database

void acutDelString(ACHAR*& string)
{
    delete[] string;
    string = nullptr;
}

ACHAR* acutNewString(const ACHAR* source)
{
    if (source == nullptr)
        return nullptr;
    size_t n = std::wcslen(source);
    ACHAR* copy = new ACHAR[n + 1];
    std::wmemcpy(copy, source, n + 1);
    return copy;
}

Acad::ErrorStatus acutNewString(const ACHAR* source, ACHAR*& dest)
{
    dest = acutNewString(source);
    return source == nullptr ? Acad::eNullObjectPointer : Acad::eOk;
}
