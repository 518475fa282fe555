// CList: the class library's doubly linked list; POSITION is an opaque pointer to a node.
//
// Iterate with GetHeadPosition/GetNext (or GetTailPosition/GetPrev); a null POSITION ends the
// walk. Positions stay valid until their own node is removed. Nodes are allocated in blocks
// (the first of up to four nodes, then nBlockSize at a time): a removed node's room is reused by
// the next one added, and the blocks are freed by the destructor and by RemoveAll, which keeps a
// lone first block. A face list of a few points thus costs one allocation instead of one per
// point, and none when it is emptied and refilled.
//
// Misuse (a null position, GetHead of an empty list) is reported on stderr: reads hand back a
// scratch element, removals of nothing return a default element, writes do nothing.
//
//   CList<C3DPoint, C3DPoint&> outline(10);
//   outline.AddTail(p);
//   for (POSITION pos = outline.GetHeadPosition(); pos; ) Use(outline.GetNext(pos));
//
// CPtrList and CStringList are the library's non-template lists.
#pragma once

#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <utility>

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList {
public:
    explicit CList(INT_PTR nBlockSize = 10) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 1) {}
    CList(const CList& src) : m_nBlockSize(src.m_nBlockSize) { AddTailCopies(src); }
    CList& operator=(const CList& src) {
        if (this != &src) { RemoveAll(); AddTailCopies(src); }
        return *this;
    }
    ~CList() {
        RemoveAll();
        FreeBlocks();
    }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return m_pNodeHead ? m_pNodeHead->data : Scratch("GetHead of an empty list"); }
    const TYPE& GetHead() const { return m_pNodeHead ? m_pNodeHead->data : Scratch("GetHead of an empty list"); }
    TYPE& GetTail() { return m_pNodeTail ? m_pNodeTail->data : Scratch("GetTail of an empty list"); }
    const TYPE& GetTail() const { return m_pNodeTail ? m_pNodeTail->data : Scratch("GetTail of an empty list"); }

    // Removes and returns the first/last element (a default element when the list is empty).
    TYPE RemoveHead();
    TYPE RemoveTail();

    POSITION AddHead(ARG_TYPE newElement);
    POSITION AddTail(ARG_TYPE newElement);
    // Adds copies of every element of pNewList (in its order) before the head / after the tail.
    void AddHead(const CList* pNewList);
    void AddTail(const CList* pNewList);
    void RemoveAll();

    POSITION GetHeadPosition() const { return ToPos(m_pNodeHead); }
    POSITION GetTailPosition() const { return ToPos(m_pNodeTail); }
    // Returns the element at rPosition and moves rPosition to the next/previous node.
    TYPE& GetNext(POSITION& rPosition);
    const TYPE& GetNext(POSITION& rPosition) const;
    TYPE& GetPrev(POSITION& rPosition);
    const TYPE& GetPrev(POSITION& rPosition) const;

    TYPE& GetAt(POSITION position);
    const TYPE& GetAt(POSITION position) const;
    void SetAt(POSITION pos, ARG_TYPE newElement);
    void RemoveAt(POSITION position);

    // A null position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement);
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement);

    // Position of the first element equal to searchValue after startAfter (null = from the head).
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const;
    // Position of the zero-based nIndex-th element, null when out of range.
    POSITION FindIndex(INT_PTR nIndex) const;

private:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

    static POSITION ToPos(CNode* p) { return reinterpret_cast<POSITION>(p); }
    static CNode* ToNode(POSITION p) { return reinterpret_cast<CNode*>(p); }
    static TYPE& Scratch(const char* pszWhat) {
        AfxContainerMisuse("CList", pszWhat);
        static TYPE s_scratch{};
        s_scratch = TYPE{};
        return s_scratch;
    }
    // Room for one node: a node in use, or a link of the free list.
    union Slot {
        Slot* pNextFree;
        alignas(CNode) unsigned char raw[sizeof(CNode)];
    };
    // A block's first slot links the blocks; the others hold nodes.
    static constexpr INT_PTR kFirstBlock = 4;

    CNode* NewNode(CNode* pPrev, CNode* pNext, ARG_TYPE value) {
        if (!m_pFree) Grow();
        Slot* s = m_pFree;
        m_pFree = s->pNextFree;
        CNode* p = nullptr;
        try {
            p = ::new (static_cast<void*>(s->raw)) CNode{pNext, pPrev, TYPE(value)};
        } catch (...) {
            // A copy that throws leaves the slot free again.
            s->pNextFree = m_pFree;
            m_pFree = s;
            throw;
        }
        m_nCount++;
        return p;
    }
    void FreeNode(CNode* p) {
        p->~CNode();
        Slot* s = reinterpret_cast<Slot*>(p);
        s->pNextFree = m_pFree;
        m_pFree = s;
        m_nCount--;
    }
    void Grow() {
        const INT_PTR n = m_pBlocks ? m_nBlockSize : std::min(m_nBlockSize, kFirstBlock);
        Slot* block = new Slot[static_cast<size_t>(n) + 1];
        block[0].pNextFree = m_pBlocks;
        m_pBlocks = block;
        for (INT_PTR i = n; i >= 1; --i) {
            block[i].pNextFree = m_pFree;
            m_pFree = &block[i];
        }
    }
    void FreeBlocks() {
        while (m_pBlocks) {
            Slot* next = m_pBlocks[0].pNextFree;
            delete[] m_pBlocks;
            m_pBlocks = next;
        }
        m_pFree = nullptr;
    }
    void AddTailCopies(const CList& src) {
        for (CNode* p = src.m_pNodeHead; p; p = p->pNext) AddTail(p->data);
    }

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    INT_PTR m_nCount = 0;
    INT_PTR m_nBlockSize;  // nodes per allocation block after the first
    Slot* m_pBlocks = nullptr;  // the blocks, linked through their first slot
    Slot* m_pFree = nullptr;    // slots of removed nodes and of blocks not yet used
};

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveHead() {
    if (!m_pNodeHead) {
        AfxContainerMisuse("CList", "RemoveHead of an empty list");
        return TYPE{};
    }
    CNode* p = m_pNodeHead;
    TYPE ret(std::move(p->data));
    m_pNodeHead = p->pNext;
    if (m_pNodeHead) m_pNodeHead->pPrev = nullptr; else m_pNodeTail = nullptr;
    FreeNode(p);
    return ret;
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveTail() {
    if (!m_pNodeTail) {
        AfxContainerMisuse("CList", "RemoveTail of an empty list");
        return TYPE{};
    }
    CNode* p = m_pNodeTail;
    TYPE ret(std::move(p->data));
    m_pNodeTail = p->pPrev;
    if (m_pNodeTail) m_pNodeTail->pNext = nullptr; else m_pNodeHead = nullptr;
    FreeNode(p);
    return ret;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::AddHead(ARG_TYPE newElement) {
    CNode* p = NewNode(nullptr, m_pNodeHead, newElement);
    if (m_pNodeHead) m_pNodeHead->pPrev = p; else m_pNodeTail = p;
    m_pNodeHead = p;
    return ToPos(p);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::AddTail(ARG_TYPE newElement) {
    CNode* p = NewNode(m_pNodeTail, nullptr, newElement);
    if (m_pNodeTail) m_pNodeTail->pNext = p; else m_pNodeHead = p;
    m_pNodeTail = p;
    return ToPos(p);
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddHead(const CList* pNewList) {
    if (!pNewList) { AfxContainerMisuse("CList", "AddHead of a null list"); return; }
    if (pNewList == this) { CList copy(*this); AddHead(&copy); return; }
    for (CNode* p = pNewList->m_pNodeTail; p; p = p->pPrev) AddHead(p->data);
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddTail(const CList* pNewList) {
    if (!pNewList) { AfxContainerMisuse("CList", "AddTail of a null list"); return; }
    if (pNewList == this) { CList copy(*this); AddTail(&copy); return; }
    for (CNode* p = pNewList->m_pNodeHead; p; p = p->pNext) AddTail(p->data);
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAll() {
    CNode* p = m_pNodeHead;
    while (p) {
        CNode* pNext = p->pNext;
        p->~CNode();
        p = pNext;
    }
    m_pNodeHead = m_pNodeTail = nullptr;
    m_nCount = 0;
    // A list of one block (a face of a few points) keeps it for the points added next: a list
    // emptied and refilled face after face allocates nothing.
    if (m_pBlocks && !m_pBlocks[0].pNextFree) {
        m_pFree = nullptr;
        for (INT_PTR i = std::min(m_nBlockSize, kFirstBlock); i >= 1; --i) {
            m_pBlocks[i].pNextFree = m_pFree;
            m_pFree = &m_pBlocks[i];
        }
        return;
    }
    FreeBlocks();
}

template <class TYPE, class ARG_TYPE>
TYPE& CList<TYPE, ARG_TYPE>::GetNext(POSITION& rPosition) {
    CNode* p = ToNode(rPosition);
    if (!p) return Scratch("GetNext at a null position");
    rPosition = ToPos(p->pNext);
    return p->data;
}

template <class TYPE, class ARG_TYPE>
const TYPE& CList<TYPE, ARG_TYPE>::GetNext(POSITION& rPosition) const {
    CNode* p = ToNode(rPosition);
    if (!p) return Scratch("GetNext at a null position");
    rPosition = ToPos(p->pNext);
    return p->data;
}

template <class TYPE, class ARG_TYPE>
TYPE& CList<TYPE, ARG_TYPE>::GetPrev(POSITION& rPosition) {
    CNode* p = ToNode(rPosition);
    if (!p) return Scratch("GetPrev at a null position");
    rPosition = ToPos(p->pPrev);
    return p->data;
}

template <class TYPE, class ARG_TYPE>
const TYPE& CList<TYPE, ARG_TYPE>::GetPrev(POSITION& rPosition) const {
    CNode* p = ToNode(rPosition);
    if (!p) return Scratch("GetPrev at a null position");
    rPosition = ToPos(p->pPrev);
    return p->data;
}

template <class TYPE, class ARG_TYPE>
TYPE& CList<TYPE, ARG_TYPE>::GetAt(POSITION position) {
    CNode* p = ToNode(position);
    return p ? p->data : Scratch("GetAt a null position");
}

template <class TYPE, class ARG_TYPE>
const TYPE& CList<TYPE, ARG_TYPE>::GetAt(POSITION position) const {
    CNode* p = ToNode(position);
    return p ? p->data : Scratch("GetAt a null position");
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::SetAt(POSITION pos, ARG_TYPE newElement) {
    CNode* p = ToNode(pos);
    if (!p) { AfxContainerMisuse("CList", "SetAt a null position"); return; }
    p->data = newElement;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION position) {
    CNode* p = ToNode(position);
    if (!p) { AfxContainerMisuse("CList", "RemoveAt a null position"); return; }
    if (p->pPrev) p->pPrev->pNext = p->pNext; else m_pNodeHead = p->pNext;
    if (p->pNext) p->pNext->pPrev = p->pPrev; else m_pNodeTail = p->pPrev;
    FreeNode(p);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement) {
    CNode* pOld = ToNode(position);
    if (!pOld) return AddHead(newElement);
    CNode* p = NewNode(pOld->pPrev, pOld, newElement);
    if (pOld->pPrev) pOld->pPrev->pNext = p; else m_pNodeHead = p;
    pOld->pPrev = p;
    return ToPos(p);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement) {
    CNode* pOld = ToNode(position);
    if (!pOld) return AddTail(newElement);
    CNode* p = NewNode(pOld, pOld->pNext, newElement);
    if (pOld->pNext) pOld->pNext->pPrev = p; else m_pNodeTail = p;
    pOld->pNext = p;
    return ToPos(p);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE searchValue, POSITION startAfter) const {
    CNode* p = startAfter ? ToNode(startAfter)->pNext : m_pNodeHead;
    for (; p; p = p->pNext)
        if (p->data == searchValue) return ToPos(p);
    return nullptr;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::FindIndex(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
    CNode* p = m_pNodeHead;
    while (nIndex-- > 0) p = p->pNext;
    return ToPos(p);
}

// The class library's named lists.
class CPtrList : public CList<void*, void*> {
public:
    explicit CPtrList(INT_PTR nBlockSize = 10) : CList<void*, void*>(nBlockSize) {}
};
class CObList : public CList<CObject*, CObject*> {
public:
    explicit CObList(INT_PTR nBlockSize = 10) : CList<CObject*, CObject*>(nBlockSize) {}
};
class CStringList : public CList<CString, const CString&> {
public:
    explicit CStringList(INT_PTR nBlockSize = 10) : CList<CString, const CString&>(nBlockSize) {}
};
