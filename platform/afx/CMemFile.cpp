// CMemFile: CFile operations over an owned byte vector.
#include "platform/afx/CMemFile.h"

#include <cstdlib>
#include <cstring>
#include <new>

CMemFile::CMemFile(UINT nGrowBytes) : m_nGrowBytes(nGrowBytes) {
    m_strFileName = "(memory)";
}

CMemFile::CMemFile(const BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) : m_nGrowBytes(nGrowBytes) {
    m_strFileName = "(memory)";
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

void CMemFile::Attach(const BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) {
    m_nGrowBytes = nGrowBytes;
    if (lpBuffer && nBufferSize) m_data.assign(lpBuffer, lpBuffer + nBufferSize);
    else m_data.clear();
    m_nPosition = 0;
}

BYTE* CMemFile::Detach() {
    BYTE* p = nullptr;
    if (!m_data.empty()) {
        p = static_cast<BYTE*>(std::malloc(m_data.size()));
        if (p) std::memcpy(p, m_data.data(), m_data.size());
    }
    m_data.clear();
    m_nPosition = 0;
    return p;
}

BOOL CMemFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags) {
    m_strError = "A memory file has no name to open.";
    return FALSE;
}

void CMemFile::Close() {
    m_data.clear();
    m_data.shrink_to_fit();
    m_nPosition = 0;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
    if (m_nPosition >= m_data.size()) return 0;
    size_t n = std::min<size_t>(nCount, m_data.size() - m_nPosition);
    std::memcpy(lpBuf, m_data.data() + m_nPosition, n);
    m_nPosition += n;
    return static_cast<UINT>(n);
}

BOOL CMemFile::Write(const void* lpBuf, UINT nCount) {
    if (nCount == 0) return TRUE;
    // The position may lie far past the end after a seek: the block would have to grow to it.
    if (m_nPosition > kMaxLength || nCount > kMaxLength - m_nPosition) {
        CString s;
        s.Format("Writing %u bytes at offset %llu of a memory file failed: a memory file holds at most %llu bytes.",
                 nCount, static_cast<unsigned long long>(m_nPosition), static_cast<unsigned long long>(kMaxLength));
        m_strError = s;
        return FALSE;
    }
    if (!Grow(m_nPosition + nCount)) return FALSE;
    std::memcpy(m_data.data() + m_nPosition, lpBuf, nCount);
    m_nPosition += nCount;
    return TRUE;
}

BOOL CMemFile::Grow(ULONGLONG nLength) {
    if (nLength <= m_data.size()) return TRUE;
    try {
        m_data.resize(static_cast<size_t>(nLength));
    } catch (const std::bad_alloc&) {
        CString s;
        s.Format("A memory file of %llu bytes could not be allocated.", static_cast<unsigned long long>(nLength));
        m_strError = s;
        return FALSE;
    }
    return TRUE;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom) {
    LONGLONG base = nFrom == current ? static_cast<LONGLONG>(m_nPosition)
                  : (nFrom == end ? static_cast<LONGLONG>(m_data.size()) : 0);
    LONGLONG pos = 0;
    if (__builtin_add_overflow(base, lOff, &pos)) {
        m_strError = "Seeking failed: the position would be beyond the largest file offset.";
        return static_cast<ULONGLONG>(-1);
    }
    if (pos < 0) {
        m_strError = "Seeking failed: the position would be before the start of the memory file.";
        return static_cast<ULONGLONG>(-1);
    }
    // Seeking past the end is allowed; a later write fills the gap with zeros.
    m_nPosition = static_cast<size_t>(pos);
    return static_cast<ULONGLONG>(pos);
}

BOOL CMemFile::SetLength(ULONGLONG dwNewLen) {
    if (dwNewLen > kMaxLength) {
        CString s;
        s.Format("A memory file cannot be made %llu bytes long: it holds at most %llu bytes.",
                 static_cast<unsigned long long>(dwNewLen), static_cast<unsigned long long>(kMaxLength));
        m_strError = s;
        return FALSE;
    }
    if (dwNewLen > m_data.size() && !Grow(dwNewLen)) return FALSE;
    m_data.resize(static_cast<size_t>(dwNewLen));
    if (m_nPosition > m_data.size()) m_nPosition = m_data.size();
    return TRUE;
}
