#include "host/check/RaftCheckTables.h"

#include <cstdlib>
#include <string>

namespace CheckRows {

BOOL Decode(const T_PCDMTSB_ROW& row, T_PCDMTSB_D& rec, const char** pszColumn) {
    rec.fa = row.fa;
    rec.m_mapBad.clear();
    const auto badLine = [pszColumn] {
        if (pszColumn) *pszColumn = "bad";
        return FALSE;
    };
    const std::string bad = row.bad.substr(0, row.bad.find('\0'));
    size_t at = 0;
    while (at < bad.size()) {
        size_t end = bad.find('\n', at);
        if (end == std::string::npos) end = bad.size();
        const std::string line = bad.substr(at, end - at);
        const size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0) return badLine();
        char* stop = nullptr;
        const unsigned long key = std::strtoul(line.c_str(), &stop, 10);
        if (stop != line.c_str() + tab) return badLine();
        rec.m_mapBad[static_cast<UINT>(key)] = CString(line.substr(tab + 1).c_str());
        at = end + 1;
    }
    return CheckBlob::Maps()("czl", row.czl, rec.m_mapCZL)("slide", row.slide, rec.m_mapSlide)("turn", row.turn, rec.m_mapTurn)(
               "lc", row.lc, rec.m_mapLC)("kf", row.kf, rec.m_mapKF)("cq", row.cq, rec.m_mapCQ)("jq", row.jq, rec.m_mapJQ)
        .Ok(pszColumn);
}

T_PCDMTSB_ROW Encode(const T_PCDMTSB_D& rec) {
    T_PCDMTSB_ROW row;
    row.fa = rec.fa;
    row.czl = CheckBlob::Write(rec.m_mapCZL);
    row.slide = CheckBlob::Write(rec.m_mapSlide);
    row.turn = CheckBlob::Write(rec.m_mapTurn);
    row.lc = CheckBlob::Write(rec.m_mapLC);
    row.kf = CheckBlob::Write(rec.m_mapKF);
    for (const auto& [key, text] : rec.m_mapBad)
        row.bad += std::to_string(key) + "\t" + std::string(text.GetString()) + "\n";
    // The stored field holds whole 4-byte words: pad with NULs (dropped on reading).
    while (row.bad.size() % 4 != 0) row.bad.push_back('\0');
    row.cq = CheckBlob::Write(rec.m_mapCQ);
    row.jq = CheckBlob::Write(rec.m_mapJQ);
    return row;
}

}  // namespace CheckRows

int CClassPCDMtsb::Get(UINT key, T_PCDMTSB_D& rec) const {
    T_PCDMTSB_ROW row;
    if (!DB_CTable<DBT_PCDMTSB>::Get(key, row)) return 0;
    T_PCDMTSB_D out;
    if (!CheckRows::Decode(row, out)) return 0;
    rec = out;
    return 1;
}
