// CArray: a growable array of elements, with the class library's storage rules.
//
// Elements live in one contiguous block (GetData) and are constructed and destroyed as the size
// changes, so non-trivial types such as CString are safe. Growth follows the original rule
// for small arrays: the first allocation holds max(size, grow-by) elements; later, when the size
// passes the capacity, grow-by (when unset) is max(4, size / 8) up to 8,192 elements and half the
// size beyond (the library capped it at 1,024, so filling a large array copied it over and over),
// and the new capacity is max(new size, capacity + grow-by). SetSize within the capacity keeps the block; SetSize(0),
// RemoveAll and FreeExtra on an empty array free it. New elements start zero-filled and then
// default-constructed, as the original did.
//
// Indexes are INT_PTR. An index out of range is a caller bug: it is reported on stderr and the
// accessor hands back a scratch element instead of touching memory outside the block.
//
//   CArray<double, double> values;
//   values.Add(1.5);
//   for (INT_PTR i = 0; i < values.GetSize(); i++) total += values[i];
//
// The named arrays at the end (CUIntArray, CDWordArray, CPtrArray, ...) are the library's
// non-template array classes.
#pragma once

#include "platform/afx/afxtypes.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

class CObject;

// Reports misuse of a container (bad index, bad position) on stderr; never stops the process.
void AfxContainerMisuse(const char* pszContainer, const char* pszWhat);

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray {
public:
    CArray() = default;
    CArray(const CArray& src) { Copy(src); }
    CArray(CArray&& src) noexcept { Swap(src); }
    CArray& operator=(const CArray& src) { Copy(src); return *this; }
    CArray& operator=(CArray&& src) noexcept {
        if (this != &src) { RemoveAll(); Swap(src); }
        return *this;
    }
    ~CArray() { RemoveAll(); }

    INT_PTR GetSize() const { return m_nSize; }
    INT_PTR GetCount() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    INT_PTR GetUpperBound() const { return m_nSize - 1; }
    // Capacity of the current block in elements (0 when no block is allocated).
    INT_PTR GetAllocSize() const { return m_nMaxSize; }

    // Resizes to nNewSize; nGrowBy >= 0 also sets the grow-by step (0 = automatic).
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1);
    // Shrinks the block to the size; an empty array frees its block.
    void FreeExtra();
    void RemoveAll() { SetSize(0, -1); }
    // Empties the array but keeps its block, for a list refilled many times in a row.
    void RemoveAllKeepBlock() {
        DestroyElements(m_pData, m_nSize);
        m_nSize = 0;
    }

    const TYPE& GetAt(INT_PTR nIndex) const { return InRange(nIndex) ? m_pData[nIndex] : Scratch(); }
    TYPE& GetAt(INT_PTR nIndex) { return InRange(nIndex) ? m_pData[nIndex] : Scratch(); }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) {
        if (InRange(nIndex)) m_pData[nIndex] = newElement;
    }
    const TYPE& ElementAt(INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& ElementAt(INT_PTR nIndex) { return GetAt(nIndex); }
    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return GetAt(nIndex); }

    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }

    // Sets an element, growing the array when nIndex is past the end.
    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement);
    // Appends one element; returns its index.
    INT_PTR Add(ARG_TYPE newElement) {
        INT_PTR nIndex = m_nSize;
        SetAtGrow(nIndex, newElement);
        return nIndex;
    }
    // Appends every element of src; returns the index of the first appended element.
    INT_PTR Append(const CArray& src);
    // Makes this array an element-wise copy of src.
    void Copy(const CArray& src);

    // Inserts nCount copies of newElement at nIndex (past the end grows the array).
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1);
    // Inserts every element of pNewArray at nStartIndex.
    void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray);
    // Removes nCount elements from nIndex; a range outside the array removes nothing.
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);

private:
    BOOL InRange(INT_PTR nIndex) const {
        if (nIndex >= 0 && nIndex < m_nSize) return TRUE;
        AfxContainerMisuse("CArray", "index out of range");
        return FALSE;
    }
    static TYPE& Scratch() {
        static TYPE s_scratch{};
        s_scratch = TYPE{};
        return s_scratch;
    }
    static void ConstructElements(TYPE* p, INT_PTR n) {
        std::memset(static_cast<void*>(p), 0, static_cast<size_t>(n) * sizeof(TYPE));
        for (INT_PTR i = 0; i < n; i++) ::new (static_cast<void*>(p + i)) TYPE;
    }
    static void DestroyElements(TYPE* p, INT_PTR n) {
        if constexpr (!std::is_trivially_destructible_v<TYPE>)
            for (INT_PTR i = 0; i < n; i++) p[i].~TYPE();
    }
    // Moves n constructed elements from src to uninitialised dst (src left destroyed).
    static void RelocateElements(TYPE* dst, TYPE* src, INT_PTR n) {
        if constexpr (std::is_trivially_copyable_v<TYPE>) {
            if (n > 0) std::memmove(static_cast<void*>(dst), static_cast<const void*>(src), static_cast<size_t>(n) * sizeof(TYPE));
        } else {
            if (dst < src) {
                for (INT_PTR i = 0; i < n; i++) { ::new (static_cast<void*>(dst + i)) TYPE(std::move(src[i])); src[i].~TYPE(); }
            } else {
                for (INT_PTR i = n - 1; i >= 0; i--) { ::new (static_cast<void*>(dst + i)) TYPE(std::move(src[i])); src[i].~TYPE(); }
            }
        }
    }
    // Null (reported) when the block cannot be had: a bad size must not throw out of the caller.
    static TYPE* Allocate(INT_PTR n) {
        void* p = nullptr;
        if (static_cast<size_t>(n) <= static_cast<size_t>(PTRDIFF_MAX) / sizeof(TYPE))
            p = kOverAligned ? ::operator new(static_cast<size_t>(n) * sizeof(TYPE), std::align_val_t(alignof(TYPE)),
                                              std::nothrow)
                             : ::operator new(static_cast<size_t>(n) * sizeof(TYPE), std::nothrow);
        if (p == nullptr) AfxContainerMisuse("CArray", "not enough memory for the requested size (array unchanged)");
        return static_cast<TYPE*>(p);
    }
    static void Deallocate(TYPE* p) {
        if (!p) return;
        if constexpr (kOverAligned)
            ::operator delete(static_cast<void*>(p), std::align_val_t(alignof(TYPE)));
        else
            ::operator delete(static_cast<void*>(p));
    }
    // Only over-aligned element types need the aligned allocation, which costs more per block.
    static constexpr bool kOverAligned = alignof(TYPE) > __STDCPP_DEFAULT_NEW_ALIGNMENT__;
    // True when r refers to an element of this array (a reference that a reallocation would break).
    BOOL Aliases(const TYPE& r) const { return m_pData && &r >= m_pData && &r < m_pData + m_nSize; }
    void Swap(CArray& o) noexcept {
        std::swap(m_pData, o.m_pData); std::swap(m_nSize, o.m_nSize);
        std::swap(m_nMaxSize, o.m_nMaxSize); std::swap(m_nGrowBy, o.m_nGrowBy);
    }

    TYPE* m_pData = nullptr;
    INT_PTR m_nSize = 0;     // elements in use
    INT_PTR m_nMaxSize = 0;  // elements allocated
    INT_PTR m_nGrowBy = 0;   // 0 = automatic step
};

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(INT_PTR nNewSize, INT_PTR nGrowBy) {
    if (nNewSize < 0) {
        AfxContainerMisuse("CArray", "negative size");
        return;
    }
    if (nGrowBy >= 0) m_nGrowBy = nGrowBy;
    if (nNewSize == 0) {
        DestroyElements(m_pData, m_nSize);
        Deallocate(m_pData);
        m_pData = nullptr;
        m_nSize = m_nMaxSize = 0;
    } else if (m_pData == nullptr) {
        INT_PTR nAlloc = nNewSize > m_nGrowBy ? nNewSize : m_nGrowBy;
        m_pData = Allocate(nAlloc);
        if (m_pData == nullptr) return;
        ConstructElements(m_pData, nNewSize);
        m_nSize = nNewSize;
        m_nMaxSize = nAlloc;
    } else if (nNewSize <= m_nMaxSize) {
        if (nNewSize > m_nSize)
            ConstructElements(m_pData + m_nSize, nNewSize - m_nSize);
        else
            DestroyElements(m_pData + nNewSize, m_nSize - nNewSize);
        m_nSize = nNewSize;
    } else {
        INT_PTR nStep = m_nGrowBy;
        if (nStep == 0) {
            nStep = m_nSize > 8192 ? m_nSize / 2 : m_nSize / 8;
            if (nStep < 4) nStep = 4;
        }
        INT_PTR nNewMax = nNewSize < m_nMaxSize + nStep ? m_nMaxSize + nStep : nNewSize;
        TYPE* pNew = Allocate(nNewMax);
        if (pNew == nullptr) return;
        RelocateElements(pNew, m_pData, m_nSize);
        ConstructElements(pNew + m_nSize, nNewSize - m_nSize);
        Deallocate(m_pData);
        m_pData = pNew;
        m_nSize = nNewSize;
        m_nMaxSize = nNewMax;
    }
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::FreeExtra() {
    if (m_nSize == m_nMaxSize) return;
    TYPE* pNew = nullptr;
    if (m_nSize != 0) {
        pNew = Allocate(m_nSize);
        if (pNew == nullptr) return;
        RelocateElements(pNew, m_pData, m_nSize);
    }
    Deallocate(m_pData);
    m_pData = pNew;
    m_nMaxSize = m_nSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
    if (nIndex < 0) {
        AfxContainerMisuse("CArray", "negative index");
        return;
    }
    if (nIndex >= m_nSize) {
        if constexpr (std::is_reference_v<ARG_TYPE>) {
            // The element may live in this array; growing would move it before it is copied.
            if (Aliases(newElement)) {
                TYPE copy(newElement);
                SetSize(nIndex + 1, -1);
                if (nIndex < m_nSize) m_pData[nIndex] = std::move(copy);
                return;
            }
        }
        SetSize(nIndex + 1, -1);
        if (nIndex >= m_nSize) return;  // out of memory, already reported
    }
    m_pData[nIndex] = newElement;
}

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::Append(const CArray& src) {
    INT_PTR nOldSize = m_nSize;
    INT_PTR nCount = src.m_nSize;
    SetSize(m_nSize + nCount, -1);
    if (m_nSize != nOldSize + nCount) return nOldSize;
    // Index through src.m_pData after the resize so that appending an array to itself works.
    for (INT_PTR i = 0; i < nCount; i++) m_pData[nOldSize + i] = src.m_pData[i];
    return nOldSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src) {
    if (this == &src) return;
    SetSize(src.m_nSize, -1);
    if (m_nSize != src.m_nSize) return;
    for (INT_PTR i = 0; i < m_nSize; i++) m_pData[i] = src.m_pData[i];
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount) {
    if (nIndex < 0 || nCount <= 0) {
        if (nIndex < 0 || nCount < 0) AfxContainerMisuse("CArray", "bad insert position or count");
        return;
    }
    // Copy first: the element may live in this array and move while the array grows.
    TYPE value(newElement);
    if (nIndex >= m_nSize) {
        SetSize(nIndex + nCount, -1);
        if (m_nSize != nIndex + nCount) return;
    } else {
        INT_PTR nOldSize = m_nSize;
        SetSize(m_nSize + nCount, -1);
        if (m_nSize != nOldSize + nCount) return;
        // Shift the tail up by nCount; the gap then holds elements to overwrite.
        for (INT_PTR i = nOldSize - 1; i >= nIndex; i--) m_pData[i + nCount] = std::move(m_pData[i]);
    }
    for (INT_PTR i = 0; i < nCount; i++) m_pData[nIndex + i] = value;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nStartIndex, const CArray* pNewArray) {
    if (pNewArray == nullptr || nStartIndex < 0) {
        AfxContainerMisuse("CArray", "bad array insertion");
        return;
    }
    INT_PTR nCount = pNewArray->GetSize();
    if (nCount == 0) return;
    if (pNewArray == this) {
        CArray copy(*this);
        InsertAt(nStartIndex, &copy);
        return;
    }
    INT_PTR nBefore = m_nSize;
    InsertAt(nStartIndex, pNewArray->GetAt(0), nCount);
    if (m_nSize == nBefore) return;  // out of memory, already reported
    for (INT_PTR i = 1; i < nCount; i++) m_pData[nStartIndex + i] = pNewArray->m_pData[i];
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(INT_PTR nIndex, INT_PTR nCount) {
    if (nIndex < 0 || nCount < 0 || nIndex + nCount > m_nSize) {
        AfxContainerMisuse("CArray", "removal range outside the array");
        return;
    }
    INT_PTR nMove = m_nSize - (nIndex + nCount);
    for (INT_PTR i = 0; i < nMove; i++) m_pData[nIndex + i] = std::move(m_pData[nIndex + nCount + i]);
    DestroyElements(m_pData + m_nSize - nCount, nCount);
    m_nSize -= nCount;
}

// Keeps appending to a list that grows with the model amortised linear, also where a grow-by
// was set. Called before nMore elements are appended, this sets the grow-by, when the
// block has no room for them, to the larger of the current size and nMore (at least 1,024), so
// the next reallocation holds them all and at least doubles the block. Nothing happens while
// there is room; the automatic rule itself is unchanged.
template <class TYPE, class ARG_TYPE>
void GrowInProportion(CArray<TYPE, ARG_TYPE>& a, INT_PTR nMore = 1) {
    const INT_PTR n = a.GetSize();
    if (nMore < 0 || n + nMore <= a.GetAllocSize()) return;
    INT_PTR step = n > nMore ? n : nMore;
    if (step < 1024) step = 1024;
    a.SetSize(n, step);
}

// The class library's named arrays.
class CUIntArray : public CArray<UINT, UINT> {};
class CDWordArray : public CArray<DWORD, DWORD> {};
class CWordArray : public CArray<WORD, WORD> {};
class CByteArray : public CArray<BYTE, BYTE> {};
class CPtrArray : public CArray<void*, void*> {};
class CObArray : public CArray<CObject*, CObject*> {};
