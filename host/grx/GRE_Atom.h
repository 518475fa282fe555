// One entry of the graphics control's object lists: an object key and its object type.
//
// The depth-sorted lists (`I_PVXCtrl::GetZSortedList`) hand these out in drawing order, and the
// model feeds them to the picking quadtree (`I_PVXCtrl::QTreeAdd`). The type is one of the ids
// of `I_PVXCtrl::GetObjectIDRange` (members and elements) or `GetNodeIDRange` (nodes): the first
// id of a range names the undeformed model, the first id + 1 the deformed one.
#pragma once

#include "platform/afx/afxtypes.h"

class GRE_Atom {
public:
    UINT m_nKey;   // host key of the object (member or node key)
    int m_nType;   // object type id

    GRE_Atom() : m_nKey(0), m_nType(0) {}
    GRE_Atom(int type, UINT key) : m_nKey(key), m_nType(type) {}

    bool operator==(const GRE_Atom& a) const { return m_nKey == a.m_nKey && m_nType == a.m_nType; }
    bool operator!=(const GRE_Atom& a) const { return !(*this == a); }
};
