#include "host/base/CArrayUtil.h"

#include <algorithm>
#include <vector>

namespace {
std::vector<UINT> SortedUnique(const CArray<UINT, UINT>& a) {
    std::vector<UINT> v(a.GetData(), a.GetData() + a.GetSize());
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    return v;
}
void CopyToArray(const std::vector<UINT>& v, CArray<UINT, UINT>& out) {
    out.SetSize(static_cast<INT_PTR>(v.size()));
    for (size_t i = 0; i < v.size(); ++i) out[static_cast<INT_PTR>(i)] = v[i];
}
}  // namespace

void CArrayUtil::UnionUINT(const CArray<UINT, UINT>& a, const CArray<UINT, UINT>& b, CArray<UINT, UINT>& out) {
    const std::vector<UINT> va = SortedUnique(a), vb = SortedUnique(b);
    std::vector<UINT> u;
    u.reserve(va.size() + vb.size());
    std::set_union(va.begin(), va.end(), vb.begin(), vb.end(), std::back_inserter(u));
    CopyToArray(u, out);
}

void CArrayUtil::IntersectUINT(const CArray<UINT, UINT>& a, const CArray<UINT, UINT>& b, CArray<UINT, UINT>& out) {
    const std::vector<UINT> va = SortedUnique(a), vb = SortedUnique(b);
    std::vector<UINT> u;
    std::set_intersection(va.begin(), va.end(), vb.begin(), vb.end(), std::back_inserter(u));
    CopyToArray(u, out);
}

void CArrayUtil::SortUniqueUINT(CArray<UINT, UINT>& keys) { CopyToArray(SortedUnique(keys), keys); }
