// CMap: the class library's hash map, reproducing its iteration order.
//
// Output order in several figures and texts depends on the order GetNextAssoc walks a map, so
// the layout is the original one: a key hashes to HashKey(key) (integers and pointers: the
// 32-bit value shifted right by 4; strings: h = h * 33 + byte), the bucket is hash % table size,
// and a new association goes to the HEAD of its bucket's chain. Iteration walks buckets 0..n-1
// and each chain from its head, so within a bucket the newest key comes first; removing a key
// keeps the order of the others. The table (17 buckets unless InitHashTable says otherwise) is
// allocated at the first insertion; InitHashTable only takes effect while the map is empty.
//
//   CMap<UINT, UINT, double, double> values;
//   values.InitHashTable(10007);
//   values[key] = 1.0;
//   for (POSITION pos = values.GetStartPosition(); pos; ) values.GetNextAssoc(pos, key, v);
//
// A key's type needs operator== with ARG_KEY and a HashKey overload; those for integers,
// enumerations, pointers, C strings and CString are provided.
#pragma once

#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"

#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

// Integer and enumeration keys: the value truncated to 32 bits, shifted right by 4.
template <class T>
    requires(std::is_integral_v<T> || std::is_enum_v<T>)
inline UINT HashKey(T key) {
    return static_cast<UINT>(static_cast<UINT>(static_cast<ULONGLONG>(key)) >> 4);
}
// Pointer keys: the address shifted right by 4, truncated to 32 bits.
template <class T>
inline UINT HashKey(T* key) {
    return static_cast<UINT>(reinterpret_cast<uintptr_t>(key) >> 4);
}
// C strings hash as strings, not addresses (the string overloads are in CString.h).
inline UINT HashKey(char* key) { return HashKey(static_cast<LPCTSTR>(key)); }

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap {
public:
    // One association; PLookup hands these out.
    struct CPair {
        const KEY key;
        VALUE value;
    };

    // The default one is not explicit: a record holding a map can be value-initialised (T rec{}).
    CMap() : CMap(10) {}
    explicit CMap(INT_PTR nBlockSize) : m_nBlockSize(nBlockSize) {}
    // Copies keep the table size and the exact iteration order of the source.
    CMap(const CMap& src) : m_nBlockSize(src.m_nBlockSize), m_nVersion(src.m_nVersion) { CopyFrom(src); }
    CMap& operator=(const CMap& src) {
        if (this != &src) { RemoveAll(); CopyFrom(src); }
        ++m_nVersion;
        return *this;
    }
    ~CMap() { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const;
    const CPair* PLookup(ARG_KEY key) const;
    CPair* PLookup(ARG_KEY key);
    // The value for key, inserting a default (zero-filled) value when the key is absent.
    VALUE& operator[](ARG_KEY key);
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key);
    // Removes every association and frees the table (its size is kept).
    void RemoveAll();

    // Null when the map is empty.
    POSITION GetStartPosition() const { return reinterpret_cast<POSITION>(FirstAssoc()); }
    // Returns the association at rNextPosition and advances it (null after the last).
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const;
    // The associations in the same order, in place (no value copied): the first, null when the
    // map is empty; the one after pAssoc, null after the last.
    const CPair* PGetFirstAssoc() const { return FirstAssoc(); }
    const CPair* PGetNextAssoc(const CPair* pAssoc) const;

    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // Grows whenever an association is added or removed (or the map is replaced): a pointer that
    // PLookup gave stays valid while this number is unchanged. Values set in place leave it.
    ULONGLONG GetLayoutVersion() const { return m_nLayoutVersion; }
    // Counts the calls that may have changed the map (every non-const one, the non-const PLookup
    // included, as its caller may write through it); a copy starts at its source's count. What
    // is derived from a map and kept compares this to know it is stale.
    ULONGLONG GetVersion() const { return m_nVersion; }
    // Sets the number of buckets; ignored (with a diagnostic) unless the map is empty.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

private:
    struct CAssoc : CPair {
        CAssoc* pNext;
        UINT nHashValue;  // HashKey(key), kept so iteration can find the next bucket
    };

    CAssoc* GetAssocAt(ARG_KEY key, UINT& nBucket, UINT& nHash) const;
    template <class K>
    CAssoc* NewAssoc(const K& key, UINT nHash);
    CAssoc* FirstAssoc() const {
        if (!m_pHashTable) return nullptr;
        for (UINT b = 0; b < m_nHashTableSize; b++)
            if (m_pHashTable[b]) return m_pHashTable[b];
        return nullptr;
    }
    void AllocTable() {
        m_pHashTable = new CAssoc*[m_nHashTableSize];
        std::memset(static_cast<void*>(m_pHashTable), 0, sizeof(CAssoc*) * m_nHashTableSize);
    }
    void CopyFrom(const CMap& src);

    CAssoc** m_pHashTable = nullptr;
    UINT m_nHashTableSize = 17;  // buckets
    INT_PTR m_nCount = 0;
    INT_PTR m_nBlockSize;        // associations per allocation block in the original; kept for callers
    ULONGLONG m_nLayoutVersion = 0;
    ULONGLONG m_nVersion = 0;
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc*
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetAssocAt(ARG_KEY key, UINT& nBucket, UINT& nHash) const {
    nHash = HashKey(key);
    nBucket = nHash % m_nHashTableSize;
    if (!m_pHashTable) return nullptr;
    for (CAssoc* p = m_pHashTable[nBucket]; p; p = p->pNext)
        if (p->nHashValue == nHash && p->key == key) return p;
    return nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
template <class K>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc*
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::NewAssoc(const K& key, UINT nHash) {
    // Zero-fill before construction so plain records start cleared, as the original did.
    void* pMem = ::operator new(sizeof(CAssoc), std::align_val_t(alignof(CAssoc)));
    std::memset(pMem, 0, sizeof(CAssoc));
    CAssoc* p = ::new (pMem) CAssoc{{KEY(key), VALUE()}, nullptr, nHash};
    m_nCount++;
    m_nLayoutVersion++;
    return p;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Lookup(ARG_KEY key, VALUE& rValue) const {
    UINT nBucket, nHash;
    CAssoc* p = GetAssocAt(key, nBucket, nHash);
    if (!p) return FALSE;
    rValue = p->value;
    return TRUE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
const typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CPair*
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::PLookup(ARG_KEY key) const {
    UINT nBucket, nHash;
    return GetAssocAt(key, nBucket, nHash);
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CPair*
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::PLookup(ARG_KEY key) {
    ++m_nVersion;
    UINT nBucket, nHash;
    return GetAssocAt(key, nBucket, nHash);
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key) {
    ++m_nVersion;
    UINT nBucket, nHash;
    CAssoc* p = GetAssocAt(key, nBucket, nHash);
    if (p) return p->value;
    if (!m_pHashTable) AllocTable();
    p = NewAssoc(key, nHash);
    p->pNext = m_pHashTable[nBucket];
    m_pHashTable[nBucket] = p;
    return p->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key) {
    ++m_nVersion;
    if (!m_pHashTable) return FALSE;
    UINT nHash = HashKey(key);
    CAssoc** ppPrev = &m_pHashTable[nHash % m_nHashTableSize];
    for (CAssoc* p = *ppPrev; p; p = p->pNext) {
        if (p->nHashValue == nHash && p->key == key) {
            *ppPrev = p->pNext;
            p->~CAssoc();
            ::operator delete(static_cast<void*>(p), std::align_val_t(alignof(CAssoc)));
            m_nCount--;
            m_nLayoutVersion++;
            return TRUE;
        }
        ppPrev = &p->pNext;
    }
    return FALSE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll() {
    ++m_nVersion;
    if (m_pHashTable) {
        for (UINT b = 0; b < m_nHashTableSize; b++) {
            CAssoc* p = m_pHashTable[b];
            while (p) {
                CAssoc* pNext = p->pNext;
                p->~CAssoc();
                ::operator delete(static_cast<void*>(p), std::align_val_t(alignof(CAssoc)));
                p = pNext;
            }
        }
        delete[] m_pHashTable;
        m_pHashTable = nullptr;
    }
    m_nCount = 0;
    m_nLayoutVersion++;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
    CAssoc* p = reinterpret_cast<CAssoc*>(rNextPosition);
    if (!p) {
        AfxContainerMisuse("CMap", "GetNextAssoc at a null position");
        return;
    }
    rKey = p->key;
    rValue = p->value;
    rNextPosition = reinterpret_cast<POSITION>(const_cast<CPair*>(PGetNextAssoc(p)));
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
const typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CPair*
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::PGetNextAssoc(const CPair* pAssoc) const {
    if (!pAssoc) {
        AfxContainerMisuse("CMap", "PGetNextAssoc after a null association");
        return nullptr;
    }
    const CAssoc* p = static_cast<const CAssoc*>(pAssoc);
    if (p->pNext) return p->pNext;
    for (UINT b = p->nHashValue % m_nHashTableSize + 1; b < m_nHashTableSize; b++)
        if (m_pHashTable[b]) return m_pHashTable[b];
    return nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT hashSize, BOOL bAllocNow) {
    ++m_nVersion;
    if (m_nCount != 0) {
        AfxContainerMisuse("CMap", "InitHashTable on a map that holds associations (ignored)");
        return;
    }
    if (hashSize == 0) {
        AfxContainerMisuse("CMap", "InitHashTable with zero buckets (ignored)");
        return;
    }
    delete[] m_pHashTable;
    m_pHashTable = nullptr;
    m_nHashTableSize = hashSize;
    if (bAllocNow) AllocTable();
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CopyFrom(const CMap& src) {
    m_nHashTableSize = src.m_nHashTableSize;
    if (!src.m_pHashTable) return;
    AllocTable();
    for (UINT b = 0; b < m_nHashTableSize; b++) {
        CAssoc** ppTail = &m_pHashTable[b];
        for (CAssoc* s = src.m_pHashTable[b]; s; s = s->pNext) {
            CAssoc* p = NewAssoc(s->key, s->nHashValue);
            p->value = s->value;
            *ppTail = p;
            ppTail = &p->pNext;
        }
    }
}
