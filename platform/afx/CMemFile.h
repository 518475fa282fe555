// CMemFile: a CFile over a growable memory block, for archives kept in memory.
//
// Writing past the end grows the block; reading stops at its end. The block is owned by the
// CMemFile; a block given to the constructor or Attach is copied. Detach hands the contents to
// the caller (release with free()) and leaves the file empty.
#pragma once

#include "platform/afx/CFile.h"

#include <vector>

class CMemFile : public CFile {
public:
    static constexpr ULONGLONG kMaxLength = 0xFFFFFFFFULL;  // bytes, as the UINT block sizes allow

    explicit CMemFile(UINT nGrowBytes = 1024);
    CMemFile(const BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override = default;

    void Attach(const BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // The contents as a malloc'd block of GetLength() bytes (nullptr when empty).
    BYTE* Detach();

    BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags) override;
    void Close() override;
    void Abort() override { Close(); }
    BOOL IsOpen() const override { return TRUE; }
    UINT Read(void* lpBuf, UINT nCount) override;
    BOOL Write(const void* lpBuf, UINT nCount) override;
    void Flush() override {}
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override { return m_nPosition; }
    ULONGLONG GetLength() const override { return m_data.size(); }
    BOOL SetLength(ULONGLONG dwNewLen) override;

private:
    // Makes the block at least nLength bytes (zeros added); FALSE with a message when the
    // memory cannot be had.
    BOOL Grow(ULONGLONG nLength);

    std::vector<BYTE> m_data;
    size_t m_nPosition = 0;  // byte offset of the next read or write
    UINT m_nGrowBytes;       // kept for callers; the vector chooses its own growth
};
