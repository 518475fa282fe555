// CFile: an unbuffered binary file, the class library's file object over a POSIX descriptor.
//
// Open returns FALSE and keeps a message naming the file and the system's reason (strerror) for
// GetErrorMessage; Read returns the bytes actually read (0 at end of file); Write returns FALSE
// when not everything could be written. Nothing throws. A CFile closes its file when destroyed.
//
//   CFile f;
//   if (!f.Open(path, CFile::modeCreate | CFile::modeWrite)) Report(f.GetErrorMessage());
//   CArchive ar(&f, CArchive::store);
//
// CMemFile (CMemFile.h) is the same interface over a memory block.
#pragma once

#include "platform/afx/CObject.h"
#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"

class CFile : public CObject {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };
    static const int hFileNull = -1;

    CFile() = default;
    // Opens at once; check m_hFile != hFileNull or GetErrorMessage for failure.
    CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens lpszFileName with modeRead/modeWrite/modeReadWrite, modeCreate (truncates unless
    // modeNoTruncate). Share and type flags are accepted and have no effect here.
    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags);
    virtual void Close();
    // Closes without reporting errors.
    virtual void Abort();
    virtual BOOL IsOpen() const { return m_hFile != hFileNull; }

    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual BOOL Write(const void* lpBuf, UINT nCount);
    virtual void Flush();

    // New position from the start, or (ULONGLONG)-1 on failure.
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual BOOL SetLength(ULONGLONG dwNewLen);

    CString GetFilePath() const { return m_strFileName; }
    // The last path component of the file path.
    CString GetFileName() const;
    // What went wrong in the last failed operation (empty when nothing failed).
    const CString& GetErrorMessage() const { return m_strError; }

    int m_hFile = hFileNull;  // POSIX descriptor

protected:
    void SetError(LPCTSTR pszWhat, int nErrno);
    void SetErrorText(const CString& strMessage) { m_strError = strMessage; }

    CString m_strFileName;
    CString m_strError;
};
