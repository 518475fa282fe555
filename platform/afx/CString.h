// CString: the class library's string, holding UTF-8 bytes.
//
// Every length and index is in BYTES, not characters: GetLength() of "反力" is 6. Searches for
// ASCII characters are exact, since UTF-8 never uses ASCII bytes inside a multi-byte character.
// Operations that cut a string (Left, Right, Mid, GetBufferSetLength, ReleaseBuffer shortening
// the text, a "%.Ns" precision) never split a multi-byte character: a cut that falls inside one
// moves to the character's start, so the piece is shorter than asked. Character sets given to
// Trim, FindOneOf and SpanIncluding/SpanExcluding are sets of whole characters; MakeUpper and
// MakeLower change ASCII letters only; MakeReverse reverses characters, not bytes.
//
// Format follows glibc printf except that exponents have at least three digits, as the original
// runtime printed them ("%.2e" of 1234.5 is "1.23e+003"), because label widths depend on it.
// "%ld" takes a 32-bit value, as long was on the original platform; "%lld" and "%I64d" take 64
// bits. CString arguments may be passed to Format directly for "%s".
//
// LoadString(id) asks the loader registered with SetStringLoader (the host installs one) and
// returns FALSE when none is registered or the id is unknown.
//
// CStringArray, the array of strings, is declared at the end.
#pragma once

#include "platform/afx/CArray.h"
#include "platform/afx/afxtypes.h"

#include <cstdarg>
#include <string>
#include <type_traits>

class CString;

// Resolves a string-table id into rString; returns FALSE when the id is unknown.
typedef BOOL (*AFX_STRING_LOADER)(UINT nID, CString& rString);

class CString {
public:
    CString() = default;
    CString(const CString& src) = default;
    CString(CString&& src) noexcept = default;
    // A null pointer gives an empty string; a value below 0x10000 is a string-table id, loaded
    // through LoadString as the class library did.
    CString(LPCTSTR psz);
    CString(LPCTSTR pch, int nLength);
    explicit CString(char ch, int nRepeat = 1);
    ~CString() = default;

    CString& operator=(const CString& src) = default;
    CString& operator=(CString&& src) noexcept = default;
    CString& operator=(LPCTSTR psz);
    CString& operator=(char ch);

    CString& operator+=(const CString& s) { m_str.append(s.m_str); return *this; }
    CString& operator+=(LPCTSTR psz) { if (psz) m_str.append(psz); return *this; }
    CString& operator+=(char ch) { m_str.push_back(ch); return *this; }
    void Append(const CString& s) { m_str.append(s.m_str); }
    void Append(LPCTSTR psz) { if (psz) m_str.append(psz); }
    void Append(LPCTSTR pch, int nLength);
    void AppendChar(char ch) { m_str.push_back(ch); }

    operator LPCTSTR() const { return m_str.c_str(); }
    LPCTSTR GetString() const { return m_str.c_str(); }

    // Length in bytes.
    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }

    // Byte access; an index outside the string reads 0 and writes nothing.
    char GetAt(int nIndex) const;
    void SetAt(int nIndex, char ch);
    template <class I>
        requires std::is_integral_v<I>
    char operator[](I nIndex) const { return GetAt(static_cast<int>(nIndex)); }

    // Pieces; counts and positions are clamped to the string and to character boundaries.
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString SpanIncluding(LPCTSTR pszCharSet) const;
    CString SpanExcluding(LPCTSTR pszCharSet) const;
    // Next token after iStart separated by any of pszTokens; iStart becomes -1 after the last.
    CString Tokenize(LPCTSTR pszTokens, int& iStart) const;

    // Searches return a byte index or -1.
    int Find(char ch, int nStart = 0) const;
    int Find(LPCTSTR pszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCTSTR pszCharSet) const;

    // Edits return the number of replacements/removals or the new length.
    int Replace(char chOld, char chNew);
    int Replace(LPCTSTR pszOld, LPCTSTR pszNew);
    int Remove(char ch);
    int Insert(int nIndex, char ch);
    int Insert(int nIndex, LPCTSTR psz);
    int Delete(int nIndex, int nCount = 1);

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    // Without arguments these trim white space (space, tab, CR, LF, VT, FF).
    CString& Trim();
    CString& Trim(char chTarget);
    CString& Trim(LPCTSTR pszTargets);
    CString& TrimLeft();
    CString& TrimLeft(char chTarget);
    CString& TrimLeft(LPCTSTR pszTargets);
    CString& TrimRight();
    CString& TrimRight(char chTarget);
    CString& TrimRight(LPCTSTR pszTargets);

    // <0, 0, >0 like strcmp; CompareNoCase folds ASCII letters only.
    int Compare(LPCTSTR psz) const;
    int CompareNoCase(LPCTSTR psz) const;

    // printf-style formatting (see the header note on exponents and "%ld").
    template <class... Args>
    void Format(LPCTSTR pszFormat, const Args&... args) {
        FormatArgs(FALSE, pszFormat, FormatArg(args)...);
    }
    template <class... Args>
    void AppendFormat(LPCTSTR pszFormat, const Args&... args) {
        FormatArgs(TRUE, pszFormat, FormatArg(args)...);
    }
    void FormatV(LPCTSTR pszFormat, va_list args);
    void AppendFormatV(LPCTSTR pszFormat, va_list args);

    // Direct buffer access: write at most nMinBufLength bytes plus a NUL, then ReleaseBuffer.
    LPTSTR GetBuffer(int nMinBufLength);
    LPTSTR GetBuffer() { return GetBuffer(0); }
    // Sets the length to nNewLength bytes (shrinking stops at a character boundary).
    LPTSTR GetBufferSetLength(int nNewLength);
    // Ends direct access: -1 measures up to the first NUL, otherwise nNewLength bytes are kept.
    void ReleaseBuffer(int nNewLength = -1);
    void FreeExtra() { m_str.shrink_to_fit(); }

    // Loads a string-table entry through the registered loader; FALSE leaves the string as it is.
    BOOL LoadString(UINT nID);
    // Installs the process-wide loader (nullptr removes it); returns the previous one.
    static AFX_STRING_LOADER SetStringLoader(AFX_STRING_LOADER pfnLoader);

    // Byte index where a cut at nPos would fall without splitting a UTF-8 character in psz.
    static int CharBoundary(LPCTSTR psz, int nLength, int nPos);

    // Formatting engine shared with FormatV; appends to rOut.
    static void FormatTo(std::string& rOut, LPCTSTR pszFormat, va_list args);

private:
    void FormatArgs(BOOL bAppend, LPCTSTR pszFormat, ...);

    template <class T>
    static auto FormatArg(const T& v) {
        if constexpr (std::is_same_v<T, CString>) {
            return v.GetString();
        } else if constexpr (std::is_array_v<T>) {
            return static_cast<const std::remove_extent_t<T>*>(v);
        } else {
            static_assert(std::is_scalar_v<T>, "Format takes numbers, characters, pointers and CString arguments only");
            return v;
        }
    }

    std::string m_str;  // UTF-8 bytes
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCTSTR b);
CString operator+(LPCTSTR a, const CString& b);
CString operator+(const CString& a, char b);
CString operator+(char a, const CString& b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCTSTR b);
bool operator==(LPCTSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCTSTR b);
bool operator!=(LPCTSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, LPCTSTR b);
bool operator<(LPCTSTR a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator>(const CString& a, LPCTSTR b);
bool operator>(LPCTSTR a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator<=(const CString& a, LPCTSTR b);
bool operator<=(LPCTSTR a, const CString& b);
bool operator>=(const CString& a, const CString& b);
bool operator>=(const CString& a, LPCTSTR b);
bool operator>=(LPCTSTR a, const CString& b);

// The class library's string hash for map keys: h = h * 33 + c over the (signed) bytes.
UINT HashKey(LPCTSTR key);
inline UINT HashKey(const CString& key) { return HashKey(key.GetString()); }

// Array of strings (tooltip lines, split figure texts).
class CStringArray : public CArray<CString, const CString&> {
public:
    INT_PTR Add(const CString& s) { return CArray<CString, const CString&>::Add(s); }
    INT_PTR Add(LPCTSTR psz) { return CArray<CString, const CString&>::Add(CString(psz)); }
};
