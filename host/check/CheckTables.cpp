#include "host/check/CheckTables.h"

#include <type_traits>

#include "host/check/RaftCheckTables.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace CheckRows {

BOOL Decode(const T_PCDCOLF_ROW& row, T_PCDCOLF_D& rec, const char** pszColumn) {
    rec.depth = row.depth;
    rec.fa = row.fa;
    rec.faz = row.faz;
    rec.ft = row.ft;
    return CheckBlob::Maps()("czl", row.czl, rec.m_mapCZL)("weak", row.weak, rec.m_mapWeak)("cq", row.cq, rec.m_mapCQ)(
               "jq", row.jq, rec.m_mapJQ)("pnet", row.pnet, rec.m_mapDouble)
        .Ok(pszColumn);
}

BOOL Decode(const T_PCDCJY_ROW& row, T_PCDCJY_D& rec, const char** pszColumn) {
    rec.fc = row.fc;
    return CheckBlob::Maps()("checks", row.checks, rec.m_mapCheck).Ok(pszColumn);
}

BOOL Decode(const T_PCDBEAM_ROW& row, T_PCDBEAM_D& rec, const char** pszColumn) {
    rec.width = row.width;
    rec.depth = row.depth;
    rec.fa = row.fa;
    return CheckBlob::Maps()("czl", row.czl, rec.m_mapCZL).Ok(pszColumn);
}

BOOL Decode(const T_PCDPILE_ROW& row, T_PCDPILE_D& rec, const char** pszColumn) {
    rec.ra = row.ra;
    rec.tu = row.tu;
    return CheckBlob::Maps()("czl", row.czl, rec.m_mapCZL)("cq", row.cq, rec.m_mapCQ)("jy", row.jy, rec.m_mapJY)
        .Ok(pszColumn);
}

T_PCDPILE_ROW Encode(const T_PCDPILE_D& rec) {
    T_PCDPILE_ROW row;
    row.ra = rec.ra;
    row.tu = rec.tu;
    row.czl = CheckBlob::Write(rec.m_mapCZL);
    row.cq = CheckBlob::Write(rec.m_mapCQ);
    row.jy = CheckBlob::Write(rec.m_mapJY);
    return row;
}

T_PCDCOLF_ROW Encode(const T_PCDCOLF_D& rec) {
    T_PCDCOLF_ROW row;
    row.depth = rec.depth;
    row.fa = rec.fa;
    row.faz = rec.faz;
    row.ft = rec.ft;
    row.czl = CheckBlob::Write(rec.m_mapCZL);
    row.weak = CheckBlob::Write(rec.m_mapWeak);
    row.cq = CheckBlob::Write(rec.m_mapCQ);
    row.jq = CheckBlob::Write(rec.m_mapJQ);
    row.pnet = CheckBlob::Write(rec.m_mapDouble);
    return row;
}

T_PCDCJY_ROW Encode(const T_PCDCJY_D& rec) {
    T_PCDCJY_ROW row;
    row.fc = rec.fc;
    row.checks = CheckBlob::Write(rec.m_mapCheck);
    return row;
}

T_PCDBEAM_ROW Encode(const T_PCDBEAM_D& rec) {
    T_PCDBEAM_ROW row;
    row.width = rec.width;
    row.depth = rec.depth;
    row.fa = rec.fa;
    row.czl = CheckBlob::Write(rec.m_mapCZL);
    return row;
}

namespace {

// Finds, in the maps of a decoded record, the smallest key that is no check load group.
struct StrangeFinder {
    KnownGroup known;
    const void* context;
    const char* column = nullptr;
    UINT key = 0;

    template <class M> StrangeFinder& operator()(const char* name, const M& m) {
        POSITION pos = m.GetStartPosition();
        while (pos) {
            UINT k;
            std::remove_cvref_t<decltype(m.PLookup(0)->value)> v{};
            m.GetNextAssoc(pos, k, v);
            if (!column && !known(context, k) ) {
                column = name;
                key = k;
            } else if (column == name && !known(context, k) && k < key) {
                key = k;
            }
        }
        return *this;
    }
    // Maps keyed by the object checked (a column, a wall group on a raft): the checks inside
    // each are keyed by load group.
    StrangeFinder& Inner(const char* name, const SlabCJCheckMap& m) {
        POSITION pos = m.GetStartPosition();
        while (pos) {
            UINT k;
            SlabCJCheckData_P v;
            m.GetNextAssoc(pos, k, v);
            (*this)(name, v.m_mapCheck);
        }
        return *this;
    }
    const char* Result(UINT* pKey) const {
        if (column) *pKey = key;
        return column;
    }
};

}  // namespace

const char* StrangeGroup(const T_PCDCOLF_ROW& row, KnownGroup known, const void* context, UINT* pKey) {
    T_PCDCOLF_D r;
    if (!Decode(row, r)) return nullptr;
    return StrangeFinder{known, context}("czl", r.m_mapCZL)("weak", r.m_mapWeak)("cq", r.m_mapCQ)("jq", r.m_mapJQ)(
        "pnet", r.m_mapDouble).Result(pKey);
}

const char* StrangeGroup(const T_PCDCJY_ROW& row, KnownGroup known, const void* context, UINT* pKey) {
    T_PCDCJY_D r;
    if (!Decode(row, r)) return nullptr;
    return StrangeFinder{known, context}("checks", r.m_mapCheck).Result(pKey);
}

const char* StrangeGroup(const T_PCDBEAM_ROW& row, KnownGroup known, const void* context, UINT* pKey) {
    T_PCDBEAM_D r;
    if (!Decode(row, r)) return nullptr;
    return StrangeFinder{known, context}("czl", r.m_mapCZL).Result(pKey);
}

const char* StrangeGroup(const T_PCDPILE_ROW& row, KnownGroup known, const void* context, UINT* pKey) {
    T_PCDPILE_D r;
    if (!Decode(row, r)) return nullptr;
    return StrangeFinder{known, context}("czl", r.m_mapCZL)("cq", r.m_mapCQ)("jy", r.m_mapJY).Result(pKey);
}

const char* StrangeGroup(const T_PCDMTSB_ROW& row, KnownGroup known, const void* context, UINT* pKey) {
    T_PCDMTSB_D r;
    if (!Decode(row, r)) return nullptr;
    // The texts of unfavourable combinations (bad) are keyed by combination, not by check group.
    return StrangeFinder{known, context}("czl", r.m_mapCZL)("slide", r.m_mapSlide)("turn", r.m_mapTurn)("lc", r.m_mapLC)(
               "kf", r.m_mapKF)
        .Inner("cq", r.m_mapCQ)
        .Inner("jq", r.m_mapJQ)
        .Result(pKey);
}

}  // namespace CheckRows

namespace {
template <class Table, class Rec> int GetDecoded(const Table& t, UINT key, Rec& rec) {
    typename Table::Record row;
    if (!t.Get(key, row)) return 0;
    Rec out;
    if (!CheckRows::Decode(row, out)) return 0;
    rec = out;
    return 1;
}
}  // namespace

int CClassPCDColf::Get(UINT key, T_PCDCOLF_D& rec) const { return GetDecoded(*this, key, rec); }
int CClassPCDCJY::Get(UINT key, T_PCDCJY_D& rec) const { return GetDecoded(*this, key, rec); }
int CClassPCDBeam::Get(UINT key, T_PCDBEAM_D& rec) const { return GetDecoded(*this, key, rec); }
int CClassPCDPile::Get(UINT key, T_PCDPILE_D& rec) const { return GetDecoded(*this, key, rec); }

int CClassPCDPile::GetBearing(UINT key, T_PCDPILE_D& rec) const {
    T_PCDPILE_ROW row;
    if (!Get(key, row)) return 0;
    T_PCDPILE_D out;
    out.ra = row.ra;
    out.tu = row.tu;
    if (!CheckBlob::Read(row.czl, out.m_mapCZL)) return 0;
    rec = out;
    return 1;
}

UINT T_PCDPILE_D::GetCZLMinRatioLdgpKey(int index, int, const std::set<UINT>* among) const {
    UINT best = 0;
    double bestRatio = 0.0;
    POSITION pos = m_mapCZL.GetStartPosition();
    while (pos) {
        UINT key;
        PileCZLCheckData_P entry;
        m_mapCZL.GetNextAssoc(pos, key, entry);
        const CheckData_P c = entry.GetValue(index);
        if (std::fabs(c.get_BaseR()) < 1e-10 || (among && !among->count(key))) continue;
        const double r = c.GetRatio(CheckData_P::SIGN_ABS);
        if (best == 0 || r < bestRatio || (r == bestRatio && key < best)) {
            best = key;
            bestRatio = r;
        }
    }
    return best;
}
