#include "host/check/CheckTables.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace CheckRows {

BOOL Decode(const T_PCDCOLF_ROW& row, T_PCDCOLF_D& rec) {
    rec.depth = row.depth;
    rec.fa = row.fa;
    rec.faz = row.faz;
    rec.ft = row.ft;
    return CheckBlob::Read(row.czl, rec.m_mapCZL) && CheckBlob::Read(row.weak, rec.m_mapWeak) &&
           CheckBlob::Read(row.cq, rec.m_mapCQ) && CheckBlob::Read(row.jq, rec.m_mapJQ) &&
           CheckBlob::Read(row.pnet, rec.m_mapDouble);
}

BOOL Decode(const T_PCDCJY_ROW& row, T_PCDCJY_D& rec) {
    rec.fc = row.fc;
    return CheckBlob::Read(row.checks, rec.m_mapCheck);
}

BOOL Decode(const T_PCDBEAM_ROW& row, T_PCDBEAM_D& rec) {
    rec.width = row.width;
    rec.depth = row.depth;
    rec.fa = row.fa;
    return CheckBlob::Read(row.czl, rec.m_mapCZL);
}

BOOL Decode(const T_PCDPILE_ROW& row, T_PCDPILE_D& rec) {
    rec.ra = row.ra;
    rec.tu = row.tu;
    return CheckBlob::Read(row.czl, rec.m_mapCZL) && CheckBlob::Read(row.cq, rec.m_mapCQ) &&
           CheckBlob::Read(row.jy, rec.m_mapJY);
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

UINT T_PCDPILE_D::GetCZLMinRatioLdgpKey(int index, int) const {
    UINT best = 0;
    double bestRatio = 0.0;
    POSITION pos = m_mapCZL.GetStartPosition();
    while (pos) {
        UINT key;
        PileCZLCheckData_P entry;
        m_mapCZL.GetNextAssoc(pos, key, entry);
        const CheckData_P c = entry.GetValue(index);
        if (std::fabs(c.get_BaseR()) < 1e-10) continue;
        const double r = c.GetRatio(CheckData_P::SIGN_ABS);
        if (best == 0 || r < bestRatio || (r == bestRatio && key < best)) {
            best = key;
            bestRatio = r;
        }
    }
    return best;
}
