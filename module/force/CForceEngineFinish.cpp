// CForceEngine: design forces of the host's member design turned into the result records the
// frame force displays read, one design combination at a time.
//
// A beam's design forces are given at its nine stations k/8 of the span: station k becomes the
// start of segment k and the end of segment k - 1 of a T_STRG_D. A column's are given at its two
// end nodes; its inner blocks (the member's extra points) are interpolated between them by the
// point's position. A truss keeps its two end axial forces.
#include <cmath>

#include "module/force/CForceEngine.h"
#include "module/force/ForceShared.h"
#include "module/model/CPVXMembCtrl.h"

namespace {

using forceshared::kSegments;
using forceshared::LargerOf;

// The entry of a combination, or null when the record does not hold it.
template <class Temp>
auto EntryOf(const Temp& temp, int nComb) -> decltype(temp.pEntry) {
    if (!temp.pEntry || nComb < 0 || nComb >= temp.nComb) return nullptr;
    return temp.pEntry + nComb;
}

// Blocks 0 and 1 from the end values, blocks 2 and 3 interpolated at the member's extra points.
// The first extra point is placed by its distances in space; the second by its distances in
// plan, or in space when it has none (a vertical member, whose points all share one plan point).
void ColumnRecordBlocks(T_PMEMB_D& memb, const T_FCOL_ENTRY& entry, T_MBCL_D& out) {
    for (int c = 0; c < 6; ++c) {
        out.d[0][c] = entry.dFirst[c];
        out.d[1][c] = entry.dLast[c];
    }
    CPVXMembCtrl mc;
    C3DPoint p1, p2, x1, x2;
    mc.GetMembEndPoints(memb, p1, p2, x1, x2);
    auto blend = [&](int block, double r) {
        for (int c = 0; c < 6; ++c) out.d[block][c] = (1.0 - r) * out.d[0][c] + r * out.d[1][c];
    };
    auto ratio = [](double d1, double d2) { return d1 + d2 > 0.0 ? d1 / (d1 + d2) : 1.0; };
    if (memb.node3) blend(2, ratio(x1.Distance(p1), x1.Distance(p2)));
    if (memb.node4) {
        const double d1 = std::hypot(x2.x - p1.x, x2.y - p1.y), d2 = std::hypot(x2.x - p2.x, x2.y - p2.y);
        blend(3, d1 + d2 > 0.0 ? ratio(d1, d2) : ratio(x2.Distance(p1), x2.Distance(p2)));
    }
}

}  // namespace

int CForceEngine::ConvertOutDgnBeam(UINT, T_FBEM_TEMP_D& temp, int nComb, T_STRG_D& out) {
    out.Initialize();
    const T_FBEM_ENTRY* pEntry = EntryOf(temp, nComb);
    if (!pEntry) return 0;
    for (int k = 0; k <= kSegments; ++k) {
        const T_FBEM_BASE st = pEntry->st[k];
        const double v[6] = {st.dAxial, 0.0, st.dShear, st.dTorsion, LargerOf(st.dMoment1, st.dMoment2), 0.0};
        for (int c = 0; c < 6; ++c) {
            if (k < kSegments) SetBForcValue(v[c], out, c, k, 0);
            if (k > 0) SetBForcValue(v[c], out, c, k - 1, 1);
        }
    }
    return 1;
}

int CForceEngine::ConvertOutDgnColm(UINT, T_PMEMB_D& memb, T_FCOL_TEMP_D& temp, int nComb, T_MBCL_D& out) {
    out.Initialize();
    const T_FCOL_ENTRY* pEntry = EntryOf(temp, nComb);
    if (!pEntry) return 0;
    ColumnRecordBlocks(memb, *pEntry, out);
    return 1;
}

int CForceEngine::ConvertOutDgnWColm(UINT, T_PMEMB_D& memb, T_FWAL_TEMP_D& temp, int nComb, T_MBCL_D& out) {
    out.Initialize();
    const T_FCOL_ENTRY* pEntry = EntryOf(temp, nComb);
    if (!pEntry) return 0;
    ColumnRecordBlocks(memb, *pEntry, out);
    return 1;
}

int CForceEngine::ConvertOutDgnTrus(UINT, T_FCOL_TEMP_D& temp, int nComb, T_MBBR_D& out) {
    out.Initialize();
    const T_FCOL_ENTRY* pEntry = EntryOf(temp, nComb);
    if (!pEntry) return 0;
    out.d[0][0] = pEntry->dFirst[0];
    out.d[1][0] = pEntry->dLast[0];
    return 1;
}
