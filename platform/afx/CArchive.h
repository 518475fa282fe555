// CArchive: binary serialisation of values, strings and objects through a CFile.
//
// The byte layout is the original class library's: little-endian, BYTE 1, WORD and short 2,
// int, UINT, LONG, DWORD, long and float 4 bytes (long is stored in 32 bits, as on the
// original platform; a value beyond 32 bits fails the store), LONGLONG and double 8, bool 1. A CString is its length prefix (one byte
// below 255; else 0xFF and a WORD below 0xFFFE; else 0xFF, 0xFFFF and a DWORD) and then its
// UTF-8 bytes. Objects are written with WriteObject as class tags and names followed by the
// object's Serialize output; an object stored twice is written once and read back as one.
//
//   CFile f; f.Open(path, CFile::modeRead);
//   CArchive ar(&f, CArchive::load);
//   ar >> nStep >> strTitle;
//   if (ar.IsFailed()) Report(ar.GetErrorMessage());
//
// Errors never throw and never crash: a read past the end, a corrupt length, an unknown or
// unserialisable class, or objects nested beyond kMaxObjectDepth set a sticky failure
// (IsFailed, GetErrorMessage); from then on reads yield zeros, empty strings and null objects
// and writes are dropped. String lengths are only trusted as far as the data actually present,
// so a bogus length cannot cause a huge allocation.
#pragma once

#include "platform/afx/CFile.h"
#include "platform/afx/CObject.h"
#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"

#include <type_traits>
#include <unordered_map>
#include <vector>

class CArchive {
public:
    // Objects read inside objects (each level one nested Serialize): deeper nesting is taken
    // for a corrupt archive.
    static constexpr int kMaxObjectDepth = 1000;

    enum Mode : UINT { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    // nMode is store or load, optionally with bNoFlushOnDelete. The archive buffers nBufSize
    // bytes (lpBuf is accepted and not used: the archive keeps its own buffer).
    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    // Flushes a storing archive unless bNoFlushOnDelete was given; the file stays open.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    // True when a loading archive has no more bytes buffered or in the file.
    BOOL IsBufferEmpty() const;
    CFile* GetFile() const { return m_pFile; }

    // Sticky failure state and its message (empty while nothing has failed).
    BOOL IsFailed() const { return m_bFailed; }
    const CString& GetErrorMessage() const { return m_strError; }

    // Raw bytes; Read returns how many were read (fewer at the end, which sets the failure).
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    // Writes buffered bytes to the file (storing); a loading archive drops its read-ahead.
    void Flush();
    // Flushes and detaches from the file (the file itself stays open).
    void Close();
    // Detaches without flushing.
    void Abort();

    // Objects: null pointers, repeated objects and classes are tagged as the original did.
    void WriteObject(const CObject* pOb);
    // Reads an object; with pClassRefRequested the object must be of that class or derived.
    // Returns nullptr with the failure set for an unknown class, a wrong class or corrupt tags.
    CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
    void WriteClass(const CRuntimeClass* pClassRef);
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
                             DWORD* pObTag = nullptr);
    // Schema of the object being loaded, for its Serialize (valid once per object).
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

    CArchive& operator<<(BYTE by);
    CArchive& operator<<(char ch);
    CArchive& operator<<(signed char ch);
    CArchive& operator<<(bool b);
    CArchive& operator<<(WORD w);
    CArchive& operator<<(short n);
    CArchive& operator<<(int n);
    CArchive& operator<<(UINT u);
    CArchive& operator<<(long l);
    CArchive& operator<<(unsigned long ul);
    CArchive& operator<<(long long ll);
    CArchive& operator<<(unsigned long long ull);
    CArchive& operator<<(float f);
    CArchive& operator<<(double d);
    CArchive& operator<<(const CString& s) { PutString(s); return *this; }
    CArchive& operator<<(LPCTSTR psz) { PutString(CString(psz)); return *this; }
    CArchive& operator<<(const CObject* pOb) { WriteObject(pOb); return *this; }
    // Pointers to other types would silently become bool; only CObject pointers are archived.
    template <class T>
    CArchive& operator<<(const T* pOb) {
        static_assert(std::is_base_of_v<CObject, T>, "only CObject-derived objects can be archived by pointer");
        WriteObject(pOb);
        return *this;
    }

    CArchive& operator>>(BYTE& by);
    CArchive& operator>>(char& ch);
    CArchive& operator>>(signed char& ch);
    CArchive& operator>>(bool& b);
    CArchive& operator>>(WORD& w);
    CArchive& operator>>(short& n);
    CArchive& operator>>(int& n);
    CArchive& operator>>(UINT& u);
    CArchive& operator>>(long& l);
    CArchive& operator>>(unsigned long& ul);
    CArchive& operator>>(long long& ll);
    CArchive& operator>>(unsigned long long& ull);
    CArchive& operator>>(float& f);
    CArchive& operator>>(double& d);
    CArchive& operator>>(CString& s) { GetString(s); return *this; }
    CArchive& operator>>(CObject*& pOb) { pOb = ReadObject(nullptr); return *this; }

private:
    // Strings: the length prefix and UTF-8 bytes (see the header note).
    void PutString(const CString& s);
    BOOL GetString(CString& s);
    // Reads a string length prefix; nCharSize is 2 after the UTF-16 marker of wide archives.
    BOOL ReadStringLength(ULONGLONG& nLength, UINT& nCharSize);
    // Sets the sticky failure (the first message is kept).
    void Fail(const CString& strMessage);
    BOOL CanLoad();
    BOOL CanStore();
    void FlushStoreBuffer();
    void WriteLE(ULONGLONG v, UINT nBytes);
    ULONGLONG ReadLE(UINT nBytes);
    // Bytes remaining in the buffer and the file, or (ULONGLONG)-1 when unknown.
    ULONGLONG BytesAvailable() const;
    CString FileLabel() const;

    CFile* m_pFile;
    UINT m_nMode;
    BOOL m_bFailed = FALSE;
    CString m_strError;
    size_t m_nBufSize;            // bytes buffered before a write to / read from the file
    std::vector<BYTE> m_buffer;   // write-behind (store) or read-ahead (load)
    size_t m_nBufPos = 0;         // load: next unread byte in m_buffer
    UINT m_nObjectSchema = 0xFFFFFFFF;
    int m_nLoadDepth = 0;         // objects being read (ReadObject inside Serialize)

    // Object and class references: index 0 is the null object; classes and objects share the
    // numbering in the order they first appear.
    DWORD m_nMapCount = 1;        // store: next index to hand out
    std::unordered_map<const void*, DWORD> m_storeMap;
    struct LoadEntry {
        void* p;
        BOOL bClass;
        UINT nSchema;             // classes: schema read from the archive
    };
    std::vector<LoadEntry> m_loadArray;
};
