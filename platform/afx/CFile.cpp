// CFile over POSIX descriptors.
#include "platform/afx/CFile.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags) {
    Open(lpszFileName, nOpenFlags);
}

CFile::~CFile() {
    if (m_hFile != hFileNull) ::close(m_hFile);
}

void CFile::SetError(LPCTSTR pszWhat, int nErrno) {
    m_strError.Format("%s \"%s\" failed: %s", pszWhat, m_strFileName, std::strerror(nErrno));
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags) {
    if (m_hFile != hFileNull) Close();
    m_strError.Empty();
    m_strFileName = lpszFileName ? lpszFileName : "";
    if (m_strFileName.IsEmpty()) {
        m_strError = "Cannot open a file without a name.";
        return FALSE;
    }
    int flags = O_CLOEXEC;
    switch (nOpenFlags & 3) {
    case modeWrite: flags |= O_WRONLY; break;
    case modeReadWrite: flags |= O_RDWR; break;
    default: flags |= O_RDONLY; break;
    }
    if (nOpenFlags & modeCreate) {
        flags |= O_CREAT;
        if (!(nOpenFlags & modeNoTruncate)) flags |= O_TRUNC;
        // Creating implies writing; a read-only create would truncate a file it cannot fill.
        if ((nOpenFlags & 3) == modeRead) flags = (flags & ~O_RDONLY) | O_RDWR;
    }
    int fd = ::open(m_strFileName, flags, 0666);
    if (fd < 0) {
        SetError("Opening", errno);
        return FALSE;
    }
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        m_strError.Format("Opening \"%s\" failed: it is a directory.", m_strFileName);
        return FALSE;
    }
    m_hFile = fd;
    return TRUE;
}

void CFile::Close() {
    if (m_hFile == hFileNull) return;
    if (::close(m_hFile) != 0) SetError("Closing", errno);
    m_hFile = hFileNull;
}

void CFile::Abort() {
    if (m_hFile != hFileNull) ::close(m_hFile);
    m_hFile = hFileNull;
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
    if (m_hFile == hFileNull) {
        m_strError = "Reading failed: the file is not open.";
        return 0;
    }
    UINT nDone = 0;
    BYTE* p = static_cast<BYTE*>(lpBuf);
    while (nDone < nCount) {
        ssize_t n = ::read(m_hFile, p + nDone, nCount - nDone);
        if (n < 0) {
            if (errno == EINTR) continue;
            SetError("Reading", errno);
            break;
        }
        if (n == 0) break;
        nDone += static_cast<UINT>(n);
    }
    return nDone;
}

BOOL CFile::Write(const void* lpBuf, UINT nCount) {
    if (m_hFile == hFileNull) {
        m_strError = "Writing failed: the file is not open.";
        return FALSE;
    }
    UINT nDone = 0;
    const BYTE* p = static_cast<const BYTE*>(lpBuf);
    while (nDone < nCount) {
        ssize_t n = ::write(m_hFile, p + nDone, nCount - nDone);
        if (n < 0) {
            if (errno == EINTR) continue;
            SetError("Writing", errno);
            return FALSE;
        }
        nDone += static_cast<UINT>(n);
    }
    return TRUE;
}

void CFile::Flush() {
    // Writes go straight to the descriptor; nothing is held back here.
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
    int whence = nFrom == current ? SEEK_CUR : (nFrom == end ? SEEK_END : SEEK_SET);
    off_t r = m_hFile == hFileNull ? -1 : ::lseek(m_hFile, static_cast<off_t>(lOff), whence);
    if (r < 0) {
        if (m_hFile == hFileNull) m_strError = "Seeking failed: the file is not open.";
        else SetError("Seeking in", errno);
        return static_cast<ULONGLONG>(-1);
    }
    return static_cast<ULONGLONG>(r);
}

ULONGLONG CFile::GetPosition() const {
    if (m_hFile == hFileNull) return 0;
    off_t r = ::lseek(m_hFile, 0, SEEK_CUR);
    return r < 0 ? 0 : static_cast<ULONGLONG>(r);
}

ULONGLONG CFile::GetLength() const {
    struct stat st;
    if (m_hFile == hFileNull || ::fstat(m_hFile, &st) != 0) return 0;
    return static_cast<ULONGLONG>(st.st_size);
}

BOOL CFile::SetLength(ULONGLONG dwNewLen) {
    if (m_hFile == hFileNull || ::ftruncate(m_hFile, static_cast<off_t>(dwNewLen)) != 0) {
        if (m_hFile == hFileNull) m_strError = "Setting the length failed: the file is not open.";
        else SetError("Setting the length of", errno);
        return FALSE;
    }
    return TRUE;
}

CString CFile::GetFileName() const {
    int n = m_strFileName.ReverseFind('/');
    return n < 0 ? m_strFileName : m_strFileName.Mid(n + 1);
}
