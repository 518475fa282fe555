// CArchive: buffered little-endian serialisation with a sticky failure state.
#include "platform/afx/CArchive.h"
#include "platform/afx/Utf8.h"

#include <bit>
#include <cstring>
#include <string>

static_assert(std::endian::native == std::endian::little, "archive values are copied as little-endian bytes");

namespace {

const WORD wNullTag = 0;
const WORD wNewClassTag = 0xFFFF;
const WORD wClassTag = 0x8000;
const WORD wBigObjectTag = 0x7FFF;
const DWORD dwBigClassTag = 0x80000000;
const DWORD nMaxMapCount = 0x3FFFFFFE;
const size_t kStringChunk = 64 * 1024;  // string bytes read at a time

// UTF-16LE text of wide archives to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(const std::string& bytes) {
    std::string out;
    size_t n = bytes.size() / 2;
    auto unit = [&](size_t i) {
        return static_cast<DWORD>(static_cast<BYTE>(bytes[2 * i])) | (static_cast<DWORD>(static_cast<BYTE>(bytes[2 * i + 1])) << 8);
    };
    for (size_t i = 0; i < n; i++) {
        DWORD u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < n && unit(i + 1) >= 0xDC00 && unit(i + 1) < 0xE000) {
            afxutf8::Append(out, 0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
            i++;
        } else if (u >= 0xD800 && u < 0xE000) {
            afxutf8::Append(out, 0xFFFD);
        } else {
            afxutf8::Append(out, u);
        }
    }
    return out;
}

}  // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_pFile(pFile), m_nMode(nMode), m_nBufSize(nBufSize < 128 ? 128 : static_cast<size_t>(nBufSize)) {
    m_loadArray.push_back({nullptr, FALSE, 0});
    if (m_pFile == nullptr) Fail("The archive has no file.");
}

CArchive::~CArchive() {
    if (m_pFile && !(m_nMode & bNoFlushOnDelete)) Close();
}

CString CArchive::FileLabel() const {
    if (m_pFile == nullptr) return "the archive";
    CString s;
    s.Format("\"%s\"", m_pFile->GetFilePath());
    return s;
}

void CArchive::Fail(const CString& strMessage) {
    if (m_bFailed) return;
    m_bFailed = TRUE;
    m_strError = strMessage;
}

BOOL CArchive::CanLoad() {
    if (m_bFailed) return FALSE;
    if (m_pFile == nullptr) { Fail("The archive is closed."); return FALSE; }
    if (!IsLoading()) { Fail("Reading from an archive opened for storing."); return FALSE; }
    return TRUE;
}

BOOL CArchive::CanStore() {
    if (m_bFailed) return FALSE;
    if (m_pFile == nullptr) { Fail("The archive is closed."); return FALSE; }
    if (!IsStoring()) { Fail("Writing to an archive opened for loading."); return FALSE; }
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Raw bytes

ULONGLONG CArchive::BytesAvailable() const {
    size_t nBuffered = m_buffer.size() - m_nBufPos;
    if (m_pFile == nullptr) return nBuffered;
    ULONGLONG nLen = m_pFile->GetLength(), nPos = m_pFile->GetPosition();
    return nBuffered + (nLen > nPos ? nLen - nPos : 0);
}

BOOL CArchive::IsBufferEmpty() const {
    if (!IsLoading()) return TRUE;
    return BytesAvailable() == 0;
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
    BYTE* pOut = static_cast<BYTE*>(lpBuf);
    if (nMax == 0) return 0;
    if (!CanLoad()) {
        std::memset(pOut, 0, nMax);
        return 0;
    }
    UINT nDone = 0;
    while (nDone < nMax) {
        size_t nBuffered = m_buffer.size() - m_nBufPos;
        if (nBuffered == 0) {
            m_buffer.resize(m_nBufSize);
            m_nBufPos = 0;
            UINT nGot = m_pFile->Read(m_buffer.data(), static_cast<UINT>(m_nBufSize));
            m_buffer.resize(nGot);
            if (nGot == 0) break;
            nBuffered = nGot;
        }
        size_t n = std::min<size_t>(nBuffered, nMax - nDone);
        std::memcpy(pOut + nDone, m_buffer.data() + m_nBufPos, n);
        m_nBufPos += n;
        nDone += static_cast<UINT>(n);
    }
    if (nDone < nMax) {
        std::memset(pOut + nDone, 0, nMax - nDone);
        CString strReason = m_pFile->GetErrorMessage();
        CString strMessage;
        if (strReason.IsEmpty())
            strMessage.Format("Unexpected end of %s: %u more bytes were expected; the file is truncated or corrupt.",
                              FileLabel(), nMax - nDone);
        else
            strMessage.Format("Reading %s failed: %s", FileLabel(), strReason);
        Fail(strMessage);
    }
    return nDone;
}

void CArchive::Write(const void* lpBuf, UINT nMax) {
    if (nMax == 0 || !CanStore()) return;
    const BYTE* p = static_cast<const BYTE*>(lpBuf);
    m_buffer.insert(m_buffer.end(), p, p + nMax);
    if (m_buffer.size() >= m_nBufSize) FlushStoreBuffer();
}

void CArchive::FlushStoreBuffer() {
    if (m_buffer.empty() || m_pFile == nullptr) return;
    // What was stored before a failure still goes out; nothing is appended after one.
    if (!m_pFile->Write(m_buffer.data(), static_cast<UINT>(m_buffer.size()))) {
        CString strMessage;
        strMessage.Format("Writing %s failed: %s", FileLabel(), m_pFile->GetErrorMessage());
        Fail(strMessage);
    }
    m_buffer.clear();
}

void CArchive::Flush() {
    if (m_pFile == nullptr) return;
    if (IsStoring()) {
        FlushStoreBuffer();
        m_pFile->Flush();
    } else {
        // Give back the read-ahead so the file position matches what was consumed.
        size_t nUnread = m_buffer.size() - m_nBufPos;
        if (nUnread) m_pFile->Seek(-static_cast<LONGLONG>(nUnread), CFile::current);
        m_buffer.clear();
        m_nBufPos = 0;
    }
}

void CArchive::Close() {
    Flush();
    m_pFile = nullptr;
}

void CArchive::Abort() {
    m_buffer.clear();
    m_nBufPos = 0;
    m_pFile = nullptr;
}

void CArchive::WriteLE(ULONGLONG v, UINT nBytes) {
    BYTE b[8];
    for (UINT i = 0; i < nBytes; i++) b[i] = static_cast<BYTE>(v >> (8 * i));
    Write(b, nBytes);
}

ULONGLONG CArchive::ReadLE(UINT nBytes) {
    BYTE b[8] = {};
    Read(b, nBytes);
    ULONGLONG v = 0;
    for (UINT i = 0; i < nBytes; i++) v |= static_cast<ULONGLONG>(b[i]) << (8 * i);
    return v;
}

// ---------------------------------------------------------------------------------------------
// Values

CArchive& CArchive::operator<<(BYTE by) { WriteLE(by, 1); return *this; }
CArchive& CArchive::operator<<(char ch) { WriteLE(static_cast<BYTE>(ch), 1); return *this; }
CArchive& CArchive::operator<<(signed char ch) { WriteLE(static_cast<BYTE>(ch), 1); return *this; }
CArchive& CArchive::operator<<(bool b) { WriteLE(b ? 1 : 0, 1); return *this; }
CArchive& CArchive::operator<<(WORD w) { WriteLE(w, 2); return *this; }
CArchive& CArchive::operator<<(short n) { WriteLE(static_cast<WORD>(n), 2); return *this; }
CArchive& CArchive::operator<<(int n) { WriteLE(static_cast<DWORD>(n), 4); return *this; }
CArchive& CArchive::operator<<(UINT u) { WriteLE(u, 4); return *this; }
CArchive& CArchive::operator<<(long l) {
    if (l < INT32_MIN || l > INT32_MAX) {
        CString s;
        s.Format("Storing %lld in %s failed: archived longs hold 32 bits.", static_cast<long long>(l), FileLabel());
        Fail(s);
        return *this;
    }
    WriteLE(static_cast<DWORD>(static_cast<int32_t>(l)), 4);
    return *this;
}
CArchive& CArchive::operator<<(unsigned long ul) {
    if (ul > UINT32_MAX) {
        CString s;
        s.Format("Storing %llu in %s failed: archived longs hold 32 bits.", static_cast<unsigned long long>(ul), FileLabel());
        Fail(s);
        return *this;
    }
    WriteLE(ul, 4);
    return *this;
}
CArchive& CArchive::operator<<(long long ll) { WriteLE(static_cast<ULONGLONG>(ll), 8); return *this; }
CArchive& CArchive::operator<<(unsigned long long ull) { WriteLE(ull, 8); return *this; }
CArchive& CArchive::operator<<(float f) {
    DWORD u;
    std::memcpy(&u, &f, 4);
    WriteLE(u, 4);
    return *this;
}
CArchive& CArchive::operator<<(double d) {
    ULONGLONG u;
    std::memcpy(&u, &d, 8);
    WriteLE(u, 8);
    return *this;
}

CArchive& CArchive::operator>>(BYTE& by) { by = static_cast<BYTE>(ReadLE(1)); return *this; }
CArchive& CArchive::operator>>(char& ch) { ch = static_cast<char>(ReadLE(1)); return *this; }
CArchive& CArchive::operator>>(signed char& ch) { ch = static_cast<signed char>(ReadLE(1)); return *this; }
CArchive& CArchive::operator>>(bool& b) { b = ReadLE(1) != 0; return *this; }
CArchive& CArchive::operator>>(WORD& w) { w = static_cast<WORD>(ReadLE(2)); return *this; }
CArchive& CArchive::operator>>(short& n) { n = static_cast<short>(static_cast<WORD>(ReadLE(2))); return *this; }
CArchive& CArchive::operator>>(int& n) { n = static_cast<int>(static_cast<DWORD>(ReadLE(4))); return *this; }
CArchive& CArchive::operator>>(UINT& u) { u = static_cast<UINT>(ReadLE(4)); return *this; }
CArchive& CArchive::operator>>(long& l) { l = static_cast<int32_t>(static_cast<DWORD>(ReadLE(4))); return *this; }
CArchive& CArchive::operator>>(unsigned long& ul) { ul = static_cast<DWORD>(ReadLE(4)); return *this; }
CArchive& CArchive::operator>>(long long& ll) { ll = static_cast<long long>(ReadLE(8)); return *this; }
CArchive& CArchive::operator>>(unsigned long long& ull) { ull = ReadLE(8); return *this; }
CArchive& CArchive::operator>>(float& f) {
    DWORD u = static_cast<DWORD>(ReadLE(4));
    std::memcpy(&f, &u, 4);
    return *this;
}
CArchive& CArchive::operator>>(double& d) {
    ULONGLONG u = ReadLE(8);
    std::memcpy(&d, &u, 8);
    return *this;
}

// ---------------------------------------------------------------------------------------------
// Strings

void CArchive::PutString(const CString& s) {
    DWORD nLen = static_cast<DWORD>(s.GetLength());
    if (nLen < 0xFF) {
        *this << static_cast<BYTE>(nLen);
    } else if (nLen < 0xFFFE) {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(nLen);
    } else {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << nLen;
    }
    Write(s.GetString(), nLen);
}

BOOL CArchive::ReadStringLength(ULONGLONG& nLength, UINT& nCharSize) {
    nCharSize = 1;
    for (int nMarkers = 0;; nMarkers++) {
        BYTE b = 0;
        *this >> b;
        if (m_bFailed) return FALSE;
        if (b < 0xFF) { nLength = b; return TRUE; }
        WORD w = 0;
        *this >> w;
        if (m_bFailed) return FALSE;
        if (w == 0xFFFE) {
            // Wide-character marker of archives written by a UTF-16 build; the length follows.
            if (nMarkers > 0) break;
            nCharSize = 2;
            continue;
        }
        if (w < 0xFFFF) { nLength = w; return TRUE; }
        DWORD d = 0;
        *this >> d;
        if (m_bFailed) return FALSE;
        if (d < 0xFFFFFFFF) { nLength = d; return TRUE; }
        ULONGLONG q = 0;
        *this >> q;
        nLength = q;
        return !m_bFailed;
    }
    CString s;
    s.Format("A string length in %s is corrupt (repeated wide-character marker).", FileLabel());
    Fail(s);
    return FALSE;
}

BOOL CArchive::GetString(CString& s) {
    s.Empty();
    if (!CanLoad()) return FALSE;
    ULONGLONG nLength = 0;
    UINT nCharSize = 1;
    if (!ReadStringLength(nLength, nCharSize)) return FALSE;
    ULONGLONG nAvail = BytesAvailable();
    // Lengths are trusted only as far as the bytes present: a corrupt prefix must not allocate.
    if (nLength > nAvail / nCharSize || nLength * nCharSize > 0x7FFFFFFF) {
        CString strMessage;
        strMessage.Format("A string in %s claims %llu characters but only %llu bytes remain; the file is truncated or corrupt.",
                          FileLabel(), nLength, nAvail);
        Fail(strMessage);
        return FALSE;
    }
    size_t nBytes = static_cast<size_t>(nLength * nCharSize);
    std::string bytes;
    while (bytes.size() < nBytes && !m_bFailed) {
        size_t nChunk = std::min(kStringChunk, nBytes - bytes.size());
        size_t nOld = bytes.size();
        bytes.resize(nOld + nChunk);
        Read(bytes.data() + nOld, static_cast<UINT>(nChunk));
    }
    if (m_bFailed) return FALSE;
    if (nCharSize == 2) bytes = Utf16ToUtf8(bytes);
    s = CString(bytes.data(), static_cast<int>(bytes.size()));
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Objects

void CArchive::WriteClass(const CRuntimeClass* pClassRef) {
    if (!CanStore() || pClassRef == nullptr) return;
    auto it = m_storeMap.find(pClassRef);
    if (it != m_storeMap.end()) {
        DWORD n = it->second;
        if (n < wBigObjectTag) *this << static_cast<WORD>(wClassTag | n);
        else *this << wBigObjectTag << (dwBigClassTag | n);
        return;
    }
    if (m_nMapCount >= nMaxMapCount) {
        Fail("Too many objects in one archive.");
        return;
    }
    m_storeMap[pClassRef] = m_nMapCount++;
    *this << wNewClassTag;
    pClassRef->Store(*this);
}

void CArchive::WriteObject(const CObject* pOb) {
    if (!CanStore()) return;
    if (pOb == nullptr) {
        *this << wNullTag;
        return;
    }
    auto it = m_storeMap.find(pOb);
    if (it != m_storeMap.end()) {
        DWORD n = it->second;
        if (n < wBigObjectTag) *this << static_cast<WORD>(n);
        else *this << wBigObjectTag << n;
        return;
    }
    const CRuntimeClass* pClass = pOb->GetRuntimeClass();
    if (pClass->m_wSchema == 0xFFFF) {
        CString s;
        s.Format("Objects of class %s cannot be archived: the class is not serialisable.", pClass->m_lpszClassName);
        Fail(s);
        return;
    }
    WriteClass(pClass);
    if (m_bFailed) return;
    if (m_nMapCount >= nMaxMapCount) {
        Fail("Too many objects in one archive.");
        return;
    }
    m_storeMap[pOb] = m_nMapCount++;
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag) {
    if (pObTag) *pObTag = 0;
    if (!CanLoad()) return nullptr;
    WORD wTag = 0;
    *this >> wTag;
    if (m_bFailed) return nullptr;
    DWORD obTag;
    if (wTag == wBigObjectTag) {
        *this >> obTag;
        if (m_bFailed) return nullptr;
    } else {
        obTag = (static_cast<DWORD>(wTag & wClassTag) << 16) | (wTag & ~wClassTag & 0xFFFF);
    }

    CRuntimeClass* pClass = nullptr;
    UINT nSchema = 0;
    CString strMessage;
    if (wTag == wNewClassTag) {
        WORD wSchema = 0, nLen = 0;
        *this >> wSchema >> nLen;
        char szName[64];
        if (m_bFailed) return nullptr;
        if (nLen >= sizeof szName) {
            strMessage.Format("A class name in %s is %u bytes long; the archive is corrupt.", FileLabel(), nLen);
            Fail(strMessage);
            return nullptr;
        }
        if (Read(szName, nLen) != nLen) return nullptr;
        szName[nLen] = '\0';
        pClass = CRuntimeClass::FromName(szName);
        if (pClass == nullptr) {
            strMessage.Format("%s holds an object of class \"%s\", which is not known to this program.", FileLabel(), szName);
            Fail(strMessage);
            return nullptr;
        }
        // A class without a schema (windows, frames, documents ...) is never written: an archive
        // naming one is not ours, whatever schema it claims.
        if (pClass->m_wSchema == 0xFFFF) {
            strMessage.Format("%s holds an object of class %s, which cannot be read from an archive (the class is not "
                              "serialisable); the archive is corrupt.", FileLabel(), szName);
            Fail(strMessage);
            return nullptr;
        }
        if (!(pClass->m_wSchema & VERSIONABLE_SCHEMA) && wSchema != pClass->m_wSchema) {
            strMessage.Format("%s holds version %u of class %s; this program reads version %u only.", FileLabel(), wSchema,
                              szName, pClass->m_wSchema);
            Fail(strMessage);
            return nullptr;
        }
        nSchema = wSchema;
        m_loadArray.push_back({pClass, TRUE, nSchema});
    } else if (obTag & dwBigClassTag) {
        DWORD n = obTag & ~dwBigClassTag;
        if (n == 0 || n >= m_loadArray.size() || !m_loadArray[n].bClass) {
            strMessage.Format("%s refers to class number %u, which it has not defined; the archive is corrupt.", FileLabel(), n);
            Fail(strMessage);
            return nullptr;
        }
        pClass = static_cast<CRuntimeClass*>(m_loadArray[n].p);
        nSchema = m_loadArray[n].nSchema;
    } else {
        // A null object or a reference to an object read before: no class follows.
        if (pObTag) *pObTag = obTag;
        return nullptr;
    }

    if (pClassRefRequested && !pClass->IsDerivedFrom(pClassRefRequested)) {
        strMessage.Format("%s holds a %s where a %s was expected.", FileLabel(), pClass->m_lpszClassName,
                          pClassRefRequested->m_lpszClassName);
        Fail(strMessage);
        return nullptr;
    }
    if (pSchema) *pSchema = nSchema;
    if (pObTag) *pObTag = obTag;
    return pClass;
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested) {
    UINT nSchema = 0;
    DWORD obTag = 0;
    CRuntimeClass* pClass = ReadClass(pClassRefRequested, &nSchema, &obTag);
    if (m_bFailed) return nullptr;
    CString strMessage;
    if (pClass == nullptr) {
        if (obTag == 0) return nullptr;
        if (obTag >= m_loadArray.size() || m_loadArray[obTag].bClass) {
            strMessage.Format("%s refers to object number %u, which it has not defined; the archive is corrupt.", FileLabel(), obTag);
            Fail(strMessage);
            return nullptr;
        }
        CObject* pOb = static_cast<CObject*>(m_loadArray[obTag].p);
        if (pClassRefRequested && !pOb->IsKindOf(pClassRefRequested)) {
            strMessage.Format("%s holds a %s where a %s was expected.", FileLabel(), pOb->GetRuntimeClass()->m_lpszClassName,
                              pClassRefRequested->m_lpszClassName);
            Fail(strMessage);
            return nullptr;
        }
        return pOb;
    }
    // Each nested object is read by a nested call: a corrupt or hostile archive must not
    // exhaust the stack.
    if (m_nLoadDepth >= kMaxObjectDepth) {
        strMessage.Format("%s nests objects more than %d deep; the archive is corrupt.", FileLabel(), kMaxObjectDepth);
        Fail(strMessage);
        return nullptr;
    }
    CObject* pOb = pClass->CreateObject();
    if (pOb == nullptr) {
        strMessage.Format("Objects of class %s cannot be created by this program.", pClass->m_lpszClassName);
        Fail(strMessage);
        return nullptr;
    }
    m_loadArray.push_back({pOb, FALSE, 0});
    UINT nSavedSchema = m_nObjectSchema;
    m_nObjectSchema = nSchema;
    ++m_nLoadDepth;
    pOb->Serialize(*this);
    --m_nLoadDepth;
    m_nObjectSchema = nSavedSchema;
    // On a failure inside Serialize the partly read object is still handed over: the caller owns it.
    return pOb;
}

UINT CArchive::GetObjectSchema() {
    UINT n = m_nObjectSchema;
    m_nObjectSchema = 0xFFFFFFFF;
    return n;
}
