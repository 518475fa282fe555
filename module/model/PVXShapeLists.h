// The face lists that the model's shape builders hand out, and the guard that frees them.
//
// A shape builder returns one polygon per face (a list of world points), and beside it per-face
// index arrays (edge flags or vertex counts) and key arrays (node keys, face keys). Every list
// and array is created with new and owned by whoever asked for the shape, who frees them all with
// I_PVXModel::FreeMemoryPolyList (or CEngineBase::FreeMemoryPolyList), or holds the polygon array
// in a CPolyListHolder so that it is freed on every way out of a drawing routine.
#pragma once

#include <vector>

#include "host/grx/C3DPoint.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CList.h"

typedef CList<C3DPoint> PVXPolyList;
typedef CArray<PVXPolyList*> PVXPolyListArray;      // owned polygons
typedef CArray<CArray<int>*> PVXIndexArrayList;     // owned per-face index arrays
typedef CArray<CArray<UINT>*> PVXKeyArrayList;      // owned per-face key arrays

// Scope guard over a borrowed array of owned polygons: Free (or the destructor) deletes every
// polygon from the last to the first and leaves the array empty with no storage.
class CPolyListHolder {
public:
    explicit CPolyListHolder(PVXPolyListArray* pList = nullptr) : m_pList(pList) {}
    ~CPolyListHolder() { Free(); }
    CPolyListHolder(const CPolyListHolder&) = delete;
    CPolyListHolder& operator=(const CPolyListHolder&) = delete;

    void Attach(PVXPolyListArray* pList) {
        Free();
        m_pList = pList;
    }
    PVXPolyListArray* GetList() const { return m_pList; }

    // Deletes the polygons, frees the array storage and drops the pointer; nothing when none.
    void Free() {
        if (!m_pList) return;
        for (INT_PTR i = m_pList->GetSize() - 1; i >= 0; --i) {
            delete m_pList->GetAt(i);
            m_pList->SetAt(i, nullptr);
        }
        m_pList->RemoveAll();
        m_pList->FreeExtra();
        m_pList = nullptr;
    }

private:
    PVXPolyListArray* m_pList;  // borrowed array of owned polygons; null when released
};
