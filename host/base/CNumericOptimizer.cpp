#include "host/base/CNumericOptimizer.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// A whole positive number at p (digits only); advances p. FALSE when none, zero or beyond 32 bits.
bool ReadKeyNumber(const char*& p, UINT& v) {
    if (*p < '0' || *p > '9') return false;
    unsigned long long n = 0;
    while (*p >= '0' && *p <= '9') {
        n = n * 10 + static_cast<unsigned>(*p - '0');
        if (n > 0xFFFFFFFFull) return false;
        ++p;
    }
    if (n == 0) return false;
    v = static_cast<UINT>(n);
    return true;
}

bool IsSeparator(char c) { return c == ',' || c == ' ' || c == '\t'; }

// The ranges of a list text (single numbers as a range of one); false when it is not a list.
// Ranges are kept, not expanded, so "1-4000000000" costs nothing.
bool ParseRanges(const char* p, std::vector<std::pair<UINT, UINT>>& ranges) {
    while (p && *p) {
        if (IsSeparator(*p)) {
            ++p;
            continue;
        }
        UINT a = 0, b = 0;
        if (!ReadKeyNumber(p, a)) return false;
        b = a;
        const char* afterNumber = p;
        while (*p == ' ') ++p;
        if (*p == '-') {
            ++p;
            while (*p == ' ') ++p;
            if (!ReadKeyNumber(p, b) || b < a) return false;
            afterNumber = p;
        } else {
            p = afterNumber;  // the spaces separate this number from the next
        }
        if (*p && !IsSeparator(*p)) return false;
        ranges.emplace_back(a, b);
    }
    return true;
}

}  // namespace

BOOL CNumericOptimizer::SelectNumByStr(LPCTSTR lpszText, const CArray<UINT, UINT>& from, CArray<UINT, UINT>& out) {
    out.RemoveAll();
    std::vector<std::pair<UINT, UINT>> ranges;
    if (!ParseRanges(lpszText, ranges)) return FALSE;
    for (INT_PTR i = 0; i < from.GetSize(); ++i) {
        const UINT k = from[i];
        for (const auto& r : ranges)
            if (k >= r.first && k <= r.second) {
                out.Add(k);
                break;
            }
    }
    return TRUE;
}

CString CNumericOptimizer::Optimize(const CArray<UINT, UINT>& keys) {
    std::vector<UINT> v(keys.GetData(), keys.GetData() + keys.GetSize());
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    CString out;
    for (size_t i = 0; i < v.size();) {
        size_t j = i;
        while (j + 1 < v.size() && v[j + 1] == v[j] + 1) ++j;
        CString part;
        if (j > i)
            part.Format("%u-%u", v[i], v[j]);
        else
            part.Format("%u", v[i]);
        if (!out.IsEmpty()) out += ",";
        out += part;
        i = j + 1;
    }
    return out;
}
