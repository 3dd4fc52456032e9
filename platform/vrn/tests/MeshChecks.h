// Checks on the meshes the reader gives, shared by the reader tests.
#pragma once

#include "VrnRavlib.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <tuple>

namespace vrntest {

inline std::string errorText()
{
    CString e = VrnRavlib::GetError();
    std::string out;
    for (int i = 0; i < e.GetLength(); ++i) {
        wchar_t c = e.GetString()[i];
        out += c < 128 ? static_cast<char>(c) : '?';
    }
    return out;
}

inline int read(const std::string& path, ON_ClassArray<ON_Mesh>& meshes)
{
    return VrnRavlib::SKPToMesh(CString(widen(path).c_str()), meshes);
}

inline int quadCount(const ON_Mesh& m)
{
    int quads = 0;
    for (int f = 0; f < m.m_F.Count(); ++f)
        if (m.m_F[f].vi[2] != m.m_F[f].vi[3])
            ++quads;
    return quads;
}

// What every mesh of the reader must be: faces with indices in range and
// distinct corners, vertices at distinct positions, every vertex used.
inline void expectWellFormed(const ON_Mesh& m)
{
    const int nv = m.m_V.Count();
    std::set<std::tuple<float, float, float>> positions;
    for (int i = 0; i < nv; ++i)
        positions.insert({m.m_V[i].x + 0.0f, m.m_V[i].y + 0.0f, m.m_V[i].z + 0.0f});
    EXPECT_EQ(static_cast<int>(positions.size()), nv) << "equal positions are one vertex";
    std::vector<bool> used(static_cast<size_t>(nv), false);
    for (int f = 0; f < m.m_F.Count(); ++f) {
        const int* vi = m.m_F[f].vi;
        for (int k = 0; k < 4; ++k) {
            ASSERT_GE(vi[k], 0) << "face " << f;
            ASSERT_LT(vi[k], nv) << "face " << f;
            used[static_cast<size_t>(vi[k])] = true;
        }
        EXPECT_TRUE(vi[0] != vi[1] && vi[1] != vi[2] && vi[0] != vi[2]) << "face " << f;
        if (vi[2] != vi[3]) {
            EXPECT_TRUE(vi[3] != vi[0] && vi[3] != vi[1]) << "face " << f;
        }
    }
    for (int i = 0; i < nv; ++i)
        EXPECT_TRUE(used[static_cast<size_t>(i)]) << "vertex " << i << " unused";
}

}  // namespace vrntest
