#include <cstdio>

#include "host/db/DBTables.h"

int CClassPageSet::GetArchive(UINT nResultId, std::vector<BYTE>& bytes) const {
    bytes.clear();
    T_PAGESET_D rec;
    rec.Initialize();
    if (!m_pDB || !Get(nResultId, rec)) return 0;
    // The table's rows are checked as the file is read: whole bytes of hexadecimal digits.
    const char* s = rec.archive.GetString();
    for (; s[0] && s[1]; s += 2) {
        unsigned v = 0;
        if (std::sscanf(s, "%2x", &v) != 1) break;
        bytes.push_back(static_cast<BYTE>(v));
    }
    return 1;
}

int CClassPageSet::SetArchive(UINT nResultId, LPCTSTR pszTitle, const std::vector<BYTE>& bytes) {
    if (!m_pDB) return 0;
    T_PAGESET_D rec;
    rec.title = pszTitle ? pszTitle : "";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (BYTE b : bytes) {
        char two[3];
        std::snprintf(two, sizeof two, "%02X", b);
        hex += two;
    }
    rec.archive = hex.c_str();
    m_pDB->Table<DBT_PAGESET>().Set(nResultId, rec);
    return 1;
}
