#include <cstdio>

#include "host/db/DBTables.h"

namespace {

// The value of a hexadecimal digit; the table's rows are checked as the file is read.
unsigned HexDigit(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
    return static_cast<unsigned>(c - 'A' + 10);
}

}  // namespace

int CClassPageSet::GetArchive(UINT nResultId, std::vector<BYTE>& bytes) const {
    bytes.clear();
    T_PAGESET_D rec;
    rec.Initialize();
    if (!m_pDB || !Get(nResultId, rec)) return 0;
    // Whole bytes of hexadecimal digits (checked as the file is read), two digits a byte.
    const char* s = rec.archive.GetString();
    const size_t n = static_cast<size_t>(rec.archive.GetLength());
    bytes.reserve(n / 2);
    for (size_t i = 0; i + 1 < n; i += 2) bytes.push_back(static_cast<BYTE>(HexDigit(s[i]) << 4 | HexDigit(s[i + 1])));
    return 1;
}

int CClassPageSet::SetArchive(UINT nResultId, LPCTSTR pszTitle, const std::vector<BYTE>& bytes) {
    // Never a row the next opening would refuse: the row kept stays.
    if (!m_pDB || bytes.size() > T_PAGESET_D::kMaxArchiveBytes) return 0;
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
