// The walk over the model's members that the drawing passes of the force engine share: the
// graphics control's depth-sorted list of one object type (the undeformed shape, or the
// deformed one), farthest first, keeping each member that shows in the client window (every one
// while the view shows the whole model) and has a member record. Internal to the force folder.
#pragma once

#include <type_traits>

#include "host/grx/GRE_Atom.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/I_PVXModel.h"

namespace forcewalk {

enum class Escape {
    kIgnore,  // the visits poll Escape themselves, or the pass is short
    kWatch,   // Escape, polled before each member, ends the walk
};

// visit(nKey, memb) for each member the walk keeps; a visit that returns false ends the walk (a
// visit may return nothing). false when the walk was ended early. The model must have its
// graphics control and attribute control.
template <class Visit>
bool ForEachShownMember(I_PVXModel& model, int nType, Escape esc, Visit&& visit) {
    I_PVXCtrl& ctrl = *model.m_pPVXCtrl;
    CArray<GRE_Atom, GRE_Atom&> atoms;
    ctrl.GetZSortedList(model.m_arrAllMembKey, nType, atoms);
    const int bZoomAll = ctrl.IsZoomAllState();
    for (INT_PTR i = 0; i < atoms.GetSize(); ++i) {
        if (esc == Escape::kWatch && model.WatchEscKeyPress()) return false;
        const GRE_Atom a = atoms[i];
        if (!bZoomAll && !ctrl.IsObjectInClientWindow(a.m_nType, a.m_nKey)) continue;
        T_PMEMB_D memb;
        if (!model.m_pAttrCtrl->GetMemb(a.m_nKey, memb)) continue;
        if constexpr (std::is_void_v<decltype(visit(a.m_nKey, memb))>) {
            visit(a.m_nKey, memb);
        } else {
            if (!visit(a.m_nKey, memb)) return false;
        }
    }
    return true;
}

}  // namespace forcewalk
