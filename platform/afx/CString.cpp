// CString: UTF-8 string operations and the printf engine with three-digit exponents.
#include "platform/afx/CString.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <sys/types.h>
#include <vector>

#include "platform/afx/AfxDiagnostic.h"

namespace {

std::atomic<AFX_STRING_LOADER> g_pfnStringLoader{nullptr};

// Bytes in the UTF-8 sequence introduced by lead (1 for ASCII, continuation or invalid bytes).
int SequenceLength(unsigned char lead) {
    if (lead < 0xC0) return 1;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    if (lead < 0xF8) return 4;
    return 1;
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the character starting at s[i]: a whole well-formed sequence, else one byte.
size_t CharLength(std::string_view s, size_t i) {
    int n = SequenceLength(static_cast<unsigned char>(s[i]));
    if (n == 1 || i + n > s.size()) return 1;
    for (int k = 1; k < n; k++)
        if (!IsContinuation(static_cast<unsigned char>(s[i + k]))) return 1;
    return static_cast<size_t>(n);
}

// Splits a character set into its characters.
std::vector<std::string_view> SplitChars(LPCTSTR pszSet) {
    std::vector<std::string_view> chars;
    if (!pszSet) return chars;
    std::string_view set(pszSet);
    for (size_t i = 0; i < set.size();) {
        size_t n = CharLength(set, i);
        chars.push_back(set.substr(i, n));
        i += n;
    }
    return chars;
}

bool InSet(const std::vector<std::string_view>& set, std::string_view ch) {
    return std::find(set.begin(), set.end(), ch) != set.end();
}

bool IsTrimSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// First byte index at or after nPos that starts a character.
int ForwardBoundary(const std::string& s, int nPos) {
    int nLen = static_cast<int>(s.size());
    int k = CString::CharBoundary(s.c_str(), nLen, nPos);
    if (k == nPos) return nPos;
    return k + static_cast<int>(CharLength(s, static_cast<size_t>(k)));
}

// Leading run of characters that are (bInSet) or are not (!bInSet) in the set; returns bytes.
size_t SpanChars(std::string_view s, LPCTSTR pszSet, bool bInSet) {
    std::vector<std::string_view> set = SplitChars(pszSet);
    size_t i = 0;
    while (i < s.size()) {
        size_t n = CharLength(s, i);
        if (InSet(set, s.substr(i, n)) != bInSet) break;
        i += n;
    }
    return i;
}

template <class T>
void AppendPrintf(std::string& out, const std::string& fmt, T value) {
    char local[128];
    int n = std::snprintf(local, sizeof local, fmt.c_str(), value);
    if (n < 0) return;
    if (static_cast<size_t>(n) < sizeof local) {
        out.append(local, static_cast<size_t>(n));
        return;
    }
    std::string big(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), fmt.c_str(), value);
    out.append(big.data(), static_cast<size_t>(n));
}

// Widens a printed exponent to at least three digits ("e+03" -> "e+003").
void WidenExponent(std::string& s) {
    for (size_t i = 0; i + 1 < s.size(); i++) {
        if ((s[i] == 'e' || s[i] == 'E') && (s[i + 1] == '+' || s[i + 1] == '-')) {
            size_t d = i + 2, e = d;
            while (e < s.size() && s[e] >= '0' && s[e] <= '9') e++;
            if (e - d < 3 && e > d) s.insert(d, 3 - (e - d), '0');
            return;
        }
    }
}

// Pads a converted number to nWidth as printf would with the given flags.
void PadNumber(std::string& s, int nWidth, bool bLeft, bool bZero) {
    if (nWidth < 0 || static_cast<size_t>(nWidth) <= s.size()) return;
    size_t nPad = static_cast<size_t>(nWidth) - s.size();
    if (bLeft) {
        s.append(nPad, ' ');
    } else if (bZero) {
        size_t at = (!s.empty() && (s[0] == '+' || s[0] == '-' || s[0] == ' ')) ? 1 : 0;
        s.insert(at, nPad, '0');
    } else {
        s.insert(0, nPad, ' ');
    }
}

enum class LengthMod { none, hh, h, l, ll, L, j, z, t, ptr };

const int kMaxFieldWidth = 1 << 20;  // widths and precisions beyond this are clamped

int ParseNumber(const char*& p) {
    long long v = 0;
    while (*p >= '0' && *p <= '9') {
        if (v < kMaxFieldWidth) v = v * 10 + (*p - '0');
        p++;
    }
    return static_cast<int>(std::min<long long>(v, kMaxFieldWidth));
}

}  // namespace

void AfxContainerMisuse(const char* pszContainer, const char* pszWhat) {
    AfxDiagnostic(pszContainer, "%s", pszWhat);
}

// ---------------------------------------------------------------------------------------------
// Construction and assignment

CString::CString(LPCTSTR psz) {
    if (psz == nullptr) return;
    if ((reinterpret_cast<uintptr_t>(psz) >> 16) == 0) {
        LoadString(static_cast<UINT>(reinterpret_cast<uintptr_t>(psz)));
        return;
    }
    m_str = psz;
}

CString::CString(LPCTSTR pch, int nLength) {
    if (pch && nLength > 0) m_str.assign(pch, static_cast<size_t>(nLength));
}

CString::CString(char ch, int nRepeat) {
    if (nRepeat > 0) m_str.assign(static_cast<size_t>(nRepeat), ch);
}

CString& CString::operator=(LPCTSTR psz) {
    if (psz == nullptr) m_str.clear();
    else m_str = std::string(psz);  // psz may point into m_str
    return *this;
}

CString& CString::operator=(char ch) {
    m_str.assign(1, ch);
    return *this;
}

void CString::Append(LPCTSTR pch, int nLength) {
    if (pch && nLength > 0) m_str.append(pch, static_cast<size_t>(nLength));
}

// ---------------------------------------------------------------------------------------------
// Access

char CString::GetAt(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetLength()) {
        AfxContainerMisuse("CString", "index out of range");
        return 0;
    }
    return m_str[static_cast<size_t>(nIndex)];
}

void CString::SetAt(int nIndex, char ch) {
    if (nIndex < 0 || nIndex >= GetLength()) {
        AfxContainerMisuse("CString", "index out of range");
        return;
    }
    m_str[static_cast<size_t>(nIndex)] = ch;
}

int CString::CharBoundary(LPCTSTR psz, int nLength, int nPos) {
    if (nPos <= 0) return 0;
    if (nPos >= nLength) return nLength;
    auto at = [psz](int i) { return static_cast<unsigned char>(psz[i]); };
    if (!IsContinuation(at(nPos))) return nPos;
    int k = nPos;
    while (k > 0 && nPos - k < 3 && IsContinuation(at(k))) k--;
    // Only a real lead byte whose sequence covers nPos moves the cut; other bytes are not UTF-8.
    if (at(k) >= 0xC0 && k + SequenceLength(at(k)) > nPos) return k;
    return nPos;
}

// ---------------------------------------------------------------------------------------------
// Pieces

CString CString::Left(int nCount) const {
    int nLen = GetLength();
    if (nCount <= 0) return CString();
    if (nCount >= nLen) return *this;
    return CString(m_str.c_str(), CharBoundary(m_str.c_str(), nLen, nCount));
}

CString CString::Right(int nCount) const {
    int nLen = GetLength();
    if (nCount <= 0) return CString();
    if (nCount >= nLen) return *this;
    int nStart = ForwardBoundary(m_str, nLen - nCount);
    return CString(m_str.c_str() + nStart, nLen - nStart);
}

CString CString::Mid(int nFirst) const {
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const {
    int nLen = GetLength();
    if (nFirst < 0) nFirst = 0;
    if (nCount < 0) nCount = 0;
    if (nFirst >= nLen) return CString();
    if (nCount > nLen - nFirst) nCount = nLen - nFirst;
    int nEnd = CharBoundary(m_str.c_str(), nLen, nFirst + nCount);
    nFirst = ForwardBoundary(m_str, nFirst);
    if (nEnd <= nFirst) return CString();
    return CString(m_str.c_str() + nFirst, nEnd - nFirst);
}

CString CString::SpanIncluding(LPCTSTR pszCharSet) const {
    return CString(m_str.c_str(), static_cast<int>(SpanChars(m_str, pszCharSet, true)));
}

CString CString::SpanExcluding(LPCTSTR pszCharSet) const {
    return CString(m_str.c_str(), static_cast<int>(SpanChars(m_str, pszCharSet, false)));
}

CString CString::Tokenize(LPCTSTR pszTokens, int& iStart) const {
    int nLen = GetLength();
    if (iStart < 0 || iStart >= nLen) {
        iStart = -1;
        return CString();
    }
    if (pszTokens == nullptr || *pszTokens == '\0') {
        CString rest(m_str.c_str() + iStart, nLen - iStart);
        iStart = nLen;
        return rest;
    }
    std::string_view tail(m_str.c_str() + iStart, static_cast<size_t>(nLen - iStart));
    size_t nSkip = SpanChars(tail, pszTokens, true);
    if (nSkip >= tail.size()) {
        iStart = -1;
        return CString();
    }
    std::string_view token = tail.substr(nSkip);
    size_t nToken = SpanChars(token, pszTokens, false);
    int iFrom = iStart + static_cast<int>(nSkip);
    // Step over the whole delimiter character that ended the token.
    size_t nDelim = nToken < token.size() ? CharLength(token, nToken) : 0;
    iStart = iFrom + static_cast<int>(nToken + nDelim);
    return CString(m_str.c_str() + iFrom, static_cast<int>(nToken));
}

// ---------------------------------------------------------------------------------------------
// Searches

int CString::Find(char ch, int nStart) const {
    if (nStart < 0) nStart = 0;
    if (nStart >= GetLength()) return -1;
    size_t i = m_str.find(ch, static_cast<size_t>(nStart));
    return i == std::string::npos ? -1 : static_cast<int>(i);
}

int CString::Find(LPCTSTR pszSub, int nStart) const {
    if (pszSub == nullptr) return -1;
    if (nStart < 0) nStart = 0;
    if (nStart > GetLength()) return -1;
    size_t i = m_str.find(pszSub, static_cast<size_t>(nStart));
    return i == std::string::npos ? -1 : static_cast<int>(i);
}

int CString::ReverseFind(char ch) const {
    size_t i = m_str.rfind(ch);
    return i == std::string::npos ? -1 : static_cast<int>(i);
}

int CString::FindOneOf(LPCTSTR pszCharSet) const {
    size_t n = SpanChars(m_str, pszCharSet, false);
    return n >= m_str.size() ? -1 : static_cast<int>(n);
}

// ---------------------------------------------------------------------------------------------
// Edits

int CString::Replace(char chOld, char chNew) {
    int nCount = 0;
    if (chOld == chNew) return static_cast<int>(std::count(m_str.begin(), m_str.end(), chOld));
    for (char& c : m_str)
        if (c == chOld) { c = chNew; nCount++; }
    return nCount;
}

int CString::Replace(LPCTSTR pszOld, LPCTSTR pszNew) {
    if (pszOld == nullptr || *pszOld == '\0') return 0;
    std::string strOld(pszOld), strNew(pszNew ? pszNew : "");
    std::string out;
    int nCount = 0;
    size_t pos = 0;
    for (;;) {
        size_t hit = m_str.find(strOld, pos);
        if (hit == std::string::npos) break;
        out.append(m_str, pos, hit - pos);
        out.append(strNew);
        pos = hit + strOld.size();
        nCount++;
    }
    if (nCount == 0) return 0;
    out.append(m_str, pos, std::string::npos);
    m_str.swap(out);
    return nCount;
}

int CString::Remove(char ch) {
    size_t nOld = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
    return static_cast<int>(nOld - m_str.size());
}

int CString::Insert(int nIndex, char ch) {
    nIndex = std::clamp(nIndex, 0, GetLength());
    m_str.insert(static_cast<size_t>(nIndex), 1, ch);
    return GetLength();
}

int CString::Insert(int nIndex, LPCTSTR psz) {
    if (psz == nullptr) return GetLength();
    nIndex = std::clamp(nIndex, 0, GetLength());
    m_str.insert(static_cast<size_t>(nIndex), std::string(psz));
    return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
    if (nIndex < 0) nIndex = 0;
    if (nCount > 0 && nIndex < GetLength()) {
        nCount = std::min(nCount, GetLength() - nIndex);
        m_str.erase(static_cast<size_t>(nIndex), static_cast<size_t>(nCount));
    }
    return GetLength();
}

CString& CString::MakeUpper() {
    for (char& c : m_str)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return *this;
}

CString& CString::MakeLower() {
    for (char& c : m_str)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return *this;
}

CString& CString::MakeReverse() {
    // Collect the characters, then copy them whole in reverse order.
    std::string out;
    out.reserve(m_str.size());
    std::vector<std::pair<size_t, size_t>> chars;
    for (size_t k = 0; k < m_str.size();) {
        size_t n = CharLength(m_str, k);
        chars.emplace_back(k, n);
        k += n;
    }
    for (auto it = chars.rbegin(); it != chars.rend(); ++it) out.append(m_str, it->first, it->second);
    m_str.swap(out);
    return *this;
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(char chTarget) { return TrimRight(chTarget).TrimLeft(chTarget); }
CString& CString::Trim(LPCTSTR pszTargets) { return TrimRight(pszTargets).TrimLeft(pszTargets); }

CString& CString::TrimLeft() {
    size_t i = 0;
    while (i < m_str.size() && IsTrimSpace(m_str[i])) i++;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(char chTarget) {
    size_t i = 0;
    while (i < m_str.size() && m_str[i] == chTarget) i++;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(LPCTSTR pszTargets) {
    if (pszTargets == nullptr || *pszTargets == '\0') return *this;
    m_str.erase(0, SpanChars(m_str, pszTargets, true));
    return *this;
}

CString& CString::TrimRight() {
    size_t n = m_str.size();
    while (n > 0 && IsTrimSpace(m_str[n - 1])) n--;
    m_str.resize(n);
    return *this;
}

CString& CString::TrimRight(char chTarget) {
    size_t n = m_str.size();
    while (n > 0 && m_str[n - 1] == chTarget) n--;
    m_str.resize(n);
    return *this;
}

CString& CString::TrimRight(LPCTSTR pszTargets) {
    if (pszTargets == nullptr || *pszTargets == '\0') return *this;
    std::vector<std::string_view> set = SplitChars(pszTargets);
    // Find where the trailing run of set characters begins, scanning characters forwards.
    size_t nKeep = 0;
    for (size_t i = 0; i < m_str.size();) {
        size_t n = CharLength(m_str, i);
        if (!InSet(set, std::string_view(m_str).substr(i, n))) nKeep = i + n;
        i += n;
    }
    m_str.resize(nKeep);
    return *this;
}

// ---------------------------------------------------------------------------------------------
// Comparison

int CString::Compare(LPCTSTR psz) const {
    int r = m_str.compare(psz ? psz : "");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(LPCTSTR psz) const {
    const unsigned char* a = reinterpret_cast<const unsigned char*>(m_str.c_str());
    const unsigned char* b = reinterpret_cast<const unsigned char*>(psz ? psz : "");
    for (;; a++, b++) {
        unsigned char ca = (*a >= 'A' && *a <= 'Z') ? static_cast<unsigned char>(*a - 'A' + 'a') : *a;
        unsigned char cb = (*b >= 'A' && *b <= 'Z') ? static_cast<unsigned char>(*b - 'A' + 'a') : *b;
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, LPCTSTR b) { CString r(a); r += b; return r; }
CString operator+(LPCTSTR a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, char b) { CString r(a); r += b; return r; }
CString operator+(char a, const CString& b) { CString r(a); r += b; return r; }

bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
bool operator==(const CString& a, LPCTSTR b) { return a.Compare(b) == 0; }
bool operator==(LPCTSTR a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
bool operator!=(const CString& a, LPCTSTR b) { return a.Compare(b) != 0; }
bool operator!=(LPCTSTR a, const CString& b) { return b.Compare(a) != 0; }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator<(const CString& a, LPCTSTR b) { return a.Compare(b) < 0; }
bool operator<(LPCTSTR a, const CString& b) { return b.Compare(a) > 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator>(const CString& a, LPCTSTR b) { return a.Compare(b) > 0; }
bool operator>(LPCTSTR a, const CString& b) { return b.Compare(a) < 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator<=(const CString& a, LPCTSTR b) { return a.Compare(b) <= 0; }
bool operator<=(LPCTSTR a, const CString& b) { return b.Compare(a) >= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
bool operator>=(const CString& a, LPCTSTR b) { return a.Compare(b) >= 0; }
bool operator>=(LPCTSTR a, const CString& b) { return b.Compare(a) <= 0; }

UINT HashKey(LPCTSTR key) {
    UINT nHash = 0;
    if (key == nullptr) return 0;
    // Bytes are signed, as char was on the original compiler.
    while (*key) nHash = (nHash << 5) + nHash + static_cast<UINT>(static_cast<int>(static_cast<signed char>(*key++)));
    return nHash;
}

// ---------------------------------------------------------------------------------------------
// Buffer access

LPTSTR CString::GetBuffer(int nMinBufLength) {
    if (nMinBufLength > GetLength()) m_str.resize(static_cast<size_t>(nMinBufLength), '\0');
    return m_str.data();
}

LPTSTR CString::GetBufferSetLength(int nNewLength) {
    if (nNewLength < 0) nNewLength = 0;
    if (nNewLength < GetLength())
        nNewLength = CharBoundary(m_str.c_str(), GetLength(), nNewLength);
    m_str.resize(static_cast<size_t>(nNewLength), '\0');
    return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength) {
    int nText = static_cast<int>(strnlen(m_str.c_str(), m_str.size()));
    if (nNewLength < 0) {
        nNewLength = nText;
    } else {
        if (nNewLength > GetLength()) nNewLength = GetLength();
        // Shortening written text must not leave half a character behind.
        if (nNewLength < nText) nNewLength = CharBoundary(m_str.c_str(), GetLength(), nNewLength);
    }
    m_str.resize(static_cast<size_t>(nNewLength));
}

// ---------------------------------------------------------------------------------------------
// String table

BOOL CString::LoadString(UINT nID) {
    AFX_STRING_LOADER pfn = g_pfnStringLoader.load();
    if (pfn == nullptr) return FALSE;
    CString strText;
    if (!pfn(nID, strText)) return FALSE;
    *this = std::move(strText);
    return TRUE;
}

AFX_STRING_LOADER CString::SetStringLoader(AFX_STRING_LOADER pfnLoader) {
    return g_pfnStringLoader.exchange(pfnLoader);
}

// ---------------------------------------------------------------------------------------------
// Formatting

void CString::FormatArgs(BOOL bAppend, LPCTSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    std::string out;
    FormatTo(out, pszFormat, args);
    va_end(args);
    if (bAppend) m_str.append(out);
    else m_str.swap(out);
}

void CString::FormatV(LPCTSTR pszFormat, va_list args) {
    std::string out;
    FormatTo(out, pszFormat, args);
    m_str.swap(out);
}

void CString::AppendFormatV(LPCTSTR pszFormat, va_list args) {
    std::string out;
    FormatTo(out, pszFormat, args);
    m_str.append(out);
}

void CString::FormatTo(std::string& rOut, LPCTSTR pszFormat, va_list args) {
    if (pszFormat == nullptr) return;
    va_list ap;
    va_copy(ap, args);
    const char* p = pszFormat;
    while (*p) {
        if (*p != '%') {
            const char* q = std::strchr(p, '%');
            if (!q) { rOut.append(p); break; }
            rOut.append(p, static_cast<size_t>(q - p));
            p = q;
            continue;
        }
        const char* pSpec = p++;
        if (*p == '%') { rOut.push_back('%'); p++; continue; }

        std::string flags;
        bool bLeft = false, bZero = false;
        while (*p && std::strchr("-+ #0", *p)) {
            if (*p == '-') bLeft = true;
            else if (*p == '0') bZero = true;
            else flags.push_back(*p);
            p++;
        }
        int nWidth = -1;
        if (*p == '*') {
            nWidth = va_arg(ap, int);
            p++;
            if (nWidth < 0) { bLeft = true; nWidth = nWidth == INT32_MIN ? kMaxFieldWidth : -nWidth; }
            nWidth = std::min(nWidth, kMaxFieldWidth);
        } else if (*p >= '0' && *p <= '9') {
            nWidth = ParseNumber(p);
        }
        int nPrec = -1;
        if (*p == '.') {
            p++;
            if (*p == '*') {
                nPrec = va_arg(ap, int);
                p++;
                if (nPrec < 0) nPrec = -1;
                nPrec = std::min(nPrec, kMaxFieldWidth);
            } else {
                nPrec = ParseNumber(p);
            }
        }
        LengthMod len = LengthMod::none;
        switch (*p) {
        case 'h':
            p++;
            if (*p == 'h') { p++; len = LengthMod::hh; } else len = LengthMod::h;
            break;
        case 'l':
            p++;
            if (*p == 'l') { p++; len = LengthMod::ll; } else len = LengthMod::l;
            break;
        case 'q': p++; len = LengthMod::ll; break;
        case 'L': p++; len = LengthMod::L; break;
        case 'j': p++; len = LengthMod::j; break;
        case 'z': p++; len = LengthMod::z; break;
        case 't': p++; len = LengthMod::t; break;
        case 'w': p++; break;  // the original's wide marker; strings here are narrow
        case 'I':
            if (p[1] == '6' && p[2] == '4') { p += 3; len = LengthMod::ll; }
            else if (p[1] == '3' && p[2] == '2') { p += 3; len = LengthMod::none; }
            else { p++; len = LengthMod::ptr; }
            break;
        default: break;
        }
        char conv = *p;
        if (conv == '\0') { rOut.append(pSpec); break; }
        p++;

        // The conversion rebuilt for snprintf, without the length modifier (added per type).
        auto convSpec = [&](bool bWithWidth, const char* pszLength, char c) {
            std::string f = "%";
            if (bWithWidth && bLeft) f.push_back('-');
            if (bWithWidth && bZero) f.push_back('0');
            f += flags;
            if (bWithWidth && nWidth >= 0) f += std::to_string(nWidth);
            if (nPrec >= 0) {  // appended apart: "." + string trips GCC 12's false -Wrestrict
                f.push_back('.');
                f += std::to_string(nPrec);
            }
            f += pszLength;
            f.push_back(c);
            return f;
        };

        switch (conv) {
        case 'd':
        case 'i':
            switch (len) {
            case LengthMod::hh: AppendPrintf(rOut, convSpec(true, "hh", 'd'), va_arg(ap, int)); break;
            case LengthMod::h: AppendPrintf(rOut, convSpec(true, "h", 'd'), va_arg(ap, int)); break;
            case LengthMod::ll:
            case LengthMod::L: AppendPrintf(rOut, convSpec(true, "ll", 'd'), va_arg(ap, long long)); break;
            case LengthMod::j: AppendPrintf(rOut, convSpec(true, "j", 'd'), va_arg(ap, intmax_t)); break;
            case LengthMod::z: AppendPrintf(rOut, convSpec(true, "z", 'd'), va_arg(ap, ssize_t)); break;
            case LengthMod::t: AppendPrintf(rOut, convSpec(true, "t", 'd'), va_arg(ap, ptrdiff_t)); break;
            case LengthMod::ptr: AppendPrintf(rOut, convSpec(true, "ll", 'd'), static_cast<long long>(va_arg(ap, intptr_t))); break;
            // "%ld" is a 32-bit long, as on the original platform.
            case LengthMod::l:
            case LengthMod::none: AppendPrintf(rOut, convSpec(true, "", 'd'), va_arg(ap, int)); break;
            }
            break;
        case 'u':
        case 'o':
        case 'x':
        case 'X':
            switch (len) {
            case LengthMod::hh: AppendPrintf(rOut, convSpec(true, "hh", conv), va_arg(ap, unsigned)); break;
            case LengthMod::h: AppendPrintf(rOut, convSpec(true, "h", conv), va_arg(ap, unsigned)); break;
            case LengthMod::ll:
            case LengthMod::L: AppendPrintf(rOut, convSpec(true, "ll", conv), va_arg(ap, unsigned long long)); break;
            case LengthMod::j: AppendPrintf(rOut, convSpec(true, "j", conv), va_arg(ap, uintmax_t)); break;
            case LengthMod::z: AppendPrintf(rOut, convSpec(true, "z", conv), va_arg(ap, size_t)); break;
            case LengthMod::t: AppendPrintf(rOut, convSpec(true, "t", conv), va_arg(ap, ptrdiff_t)); break;
            case LengthMod::ptr: AppendPrintf(rOut, convSpec(true, "ll", conv), static_cast<unsigned long long>(va_arg(ap, uintptr_t))); break;
            case LengthMod::l:
            case LengthMod::none: AppendPrintf(rOut, convSpec(true, "", conv), va_arg(ap, unsigned)); break;
            }
            break;
        case 'c':
            AppendPrintf(rOut, convSpec(true, "", 'c'), va_arg(ap, int));
            break;
        case 's': {
            const char* psz = va_arg(ap, const char*);
            int nSavedPrec = nPrec;
            if (psz != nullptr && nPrec >= 0) {
                // A precision cap never splits a multi-byte character.
                int n = static_cast<int>(strnlen(psz, static_cast<size_t>(nPrec)));
                if (n == nPrec) nPrec = CharBoundary(psz, n + 1, n);
            }
            AppendPrintf(rOut, convSpec(true, "", 's'), psz);
            nPrec = nSavedPrec;
            break;
        }
        case 'e':
        case 'E':
        case 'g':
        case 'G': {
            std::string num;
            bool bFinite;
            if (len == LengthMod::L) {
                long double v = va_arg(ap, long double);
                bFinite = std::isfinite(v);
                AppendPrintf(num, convSpec(false, "L", conv), v);
            } else {
                double v = va_arg(ap, double);
                bFinite = std::isfinite(v);
                AppendPrintf(num, convSpec(false, "", conv), v);
            }
            if (bFinite) WidenExponent(num);
            PadNumber(num, nWidth, bLeft, bZero && bFinite);
            rOut += num;
            break;
        }
        case 'f':
        case 'F':
        case 'a':
        case 'A':
            if (len == LengthMod::L) AppendPrintf(rOut, convSpec(true, "L", conv), va_arg(ap, long double));
            else AppendPrintf(rOut, convSpec(true, "", conv), va_arg(ap, double));
            break;
        case 'p':
            AppendPrintf(rOut, convSpec(true, "", 'p'), va_arg(ap, void*));
            break;
        case 'n':
            // Writing through a pointer from a format string is refused, as the original did.
            (void)va_arg(ap, void*);
            break;
        default:
            // Unknown conversion: keep its text.
            rOut.append(pSpec, static_cast<size_t>(p - pSpec));
            break;
        }
    }
    va_end(ap);
}
