// T_PVX_SBEM_D: the shape record of one plate sub-element, kept by value in the engine base's
// sub-element map (CEngineBase::m_mapSbem): the sub-element's key (the element key itself for an
// ordinary element), its node keys in drawing order and the host node records of those nodes.
// Copies are deep: each record owns its two arrays.
#pragma once

#include "host/db/DBRecords.h"
#include "platform/afx/CArray.h"
#include "platform/afx/afxtypes.h"

struct T_PVX_SBEM_D {
    UINT m_nKey = 0;
    CArray<UINT, UINT> m_arrNodeKey;
    CArray<T_PNODE_D, const T_PNODE_D&> m_arrNode;

    T_PVX_SBEM_D() = default;
    T_PVX_SBEM_D(const T_PVX_SBEM_D& src) { *this = src; }
    T_PVX_SBEM_D& operator=(const T_PVX_SBEM_D& src) {
        if (this == &src) return *this;
        m_nKey = src.m_nKey;
        m_arrNodeKey.SetSize(src.m_arrNodeKey.GetSize());
        for (INT_PTR i = 0; i < src.m_arrNodeKey.GetSize(); ++i) m_arrNodeKey[i] = src.m_arrNodeKey[i];
        m_arrNode.SetSize(src.m_arrNode.GetSize());
        for (INT_PTR i = 0; i < src.m_arrNode.GetSize(); ++i) m_arrNode[i] = src.m_arrNode[i];
        return *this;
    }
};
