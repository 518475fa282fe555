#include "host/check/CheckTables.h"

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
