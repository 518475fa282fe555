// CViewCtrl: the members selected in the host's model views.
//
// The host keeps one selection of post-processing members for all its views. A command selects
// members by key (SelectPMemb, as the slab wall page does from a typed list); a person picks
// them in a view (SelectPMembInView). Either way every listener of the database's update notices
// is told (CDBUpdateConnector::BroadcastUpdate) with the post database as sender and the hint
// HINT_MEMB_SELECTED (5) for a command's selection or HINT_MEMB_PICKED (6) for a pick.
//
//     CArray<UINT, UINT> keys;  keys.Add(4);
//     CViewCtrl::SelectPMemb(keys, 0, 1, 1, 1, 1, 1, 1);   // listeners hear hint 5
//     CViewCtrl::GetAllSelectedPMemb(keys);                  // 4
#pragma once

#include "platform/afx/CArray.h"

class CViewCtrl {
public:
    enum { HINT_MEMB_SELECTED = 5, HINT_MEMB_PICKED = 6 };

    // Selects the members of the keys: bAdd 0 replaces the selection, non-zero adds to it. The
    // six flags (which views redraw, whether the tree follows ...) have no effect here. Keys the
    // post database has no member of are left out. Tells the listeners (hint 5); returns the
    // number of members selected now.
    static int SelectPMemb(const CArray<UINT, UINT>& keys, int bAdd, int, int, int, int, int, int);
    // A person picks members in a view: they replace the selection, the listeners hear hint 6.
    static int SelectPMembInView(const CArray<UINT, UINT>& keys);
    // The members of the last selection step; its count.
    static int GetCurrentPMemb(CArray<UINT, UINT>& keys);
    // Every selected member, in the order selected; its count.
    static int GetAllSelectedPMemb(CArray<UINT, UINT>& keys);
    // Nothing selected; nobody is told.
    static void ClearSelection();

private:
    static int Select(const CArray<UINT, UINT>& keys, int bAdd, int nHint);
};
