// Helpers shared by the plate and wall passes of CForceEngine (CForceEnginePlate*.cpp,
// CForceEngineWall*.cpp): the wait cursor for one scope, an int option set for one scope, the
// shape lists of one element or member freed on every way out, and the deformed shapes and
// plain drawings that the deformation engine offers (a deformation engine without such a member
// gives none, and the callers fall back to the undeformed shape or draw nothing).
#pragma once

#include "module/model/I_PVXModel.h"
#include "module/model/PVXShapeLists.h"
#include "module/model/ShapeTypes.h"
#include "platform/afx/CArray.h"
#include "platform/ui/CWinApp.h"

class CDC;

namespace forcepw {

// Begin-wait and end-wait on the application object.
class WaitCursorScope {
public:
    WaitCursorScope() : m_pApp(AfxGetApp()) {
        if (m_pApp) m_pApp->BeginWaitCursor();
    }
    ~WaitCursorScope() {
        if (m_pApp) m_pApp->EndWaitCursor();
    }
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;

private:
    CWinApp* m_pApp;
};

// An int field set for one scope and put back after.
class IntScope {
public:
    IntScope(int& field, int value) : m_field(field), m_saved(field) { field = value; }
    ~IntScope() { m_field = m_saved; }
    IntScope(const IntScope&) = delete;
    IntScope& operator=(const IntScope&) = delete;

private:
    int& m_field;
    int m_saved;
};

// The lists one shape request hands out: faces, per-face edge flags, per-face vertex node keys
// and one key per face.
struct ShapeLists {
    PVXPolyListArray faces;
    PVXIndexArrayList flags;
    PVXKeyArrayList nodeKeys;
    CArray<UINT, UINT> faceKeys;

    ShapeLists() = default;
    ShapeLists(const ShapeLists&) = delete;
    ShapeLists& operator=(const ShapeLists&) = delete;
    ~ShapeLists() { I_PVXModel::FreeMemoryPolyList(&faces, &flags, &nodeKeys, nullptr); }
    // A request record asking for the node keys and face keys.
    T_SHAPE_ARGUMENT Argument(int bDeformed) {
        T_SHAPE_ARGUMENT arg;
        arg.bDeformed = bDeformed;
        arg.pFaceNodeKeys = &nodeKeys;
        arg.pFaceKeys = &faceKeys;
        return arg;
    }
};

// The deformation engine's faces of a member or an element; false without the engine. (These
// call the engine directly: a change of its signatures is a build error, not a silent fall-back
// to the undeformed shape.)
template <class E>
bool DeformedMemberShape(E* pEngine, UINT key, PVXPolyListArray& faces, PVXIndexArrayList* pFlags,
                         T_SHAPE_ARGUMENT& arg) {
    if (!pEngine) return false;
    pEngine->GetDeformedShapeMember(key, faces, pFlags, arg, 0, 0);
    return true;
}

template <class E>
bool DeformedElementShape(E* pEngine, UINT key, PVXPolyListArray& faces, PVXIndexArrayList* pFlags,
                          T_SHAPE_ARGUMENT& arg) {
    if (!pEngine) return false;
    pEngine->GetDeformedShapePElement(key, faces, pFlags, arg, 0, 0);
    return true;
}

// A member in the inactive style on the deformed shape; 0 without the engine.
template <class E>
int DrawInactiveDeformed(E* pEngine, CDC* pDC, UINT key) {
    return pEngine ? pEngine->DrawInactiveDeformedMember(pDC, key) : 0;
}

// An element drawn plainly on the deformed shape; 0 without the engine.
template <class E>
int DrawDeformedElement(E* pEngine, CDC* pDC, UINT key) {
    return pEngine ? pEngine->DrawDeformedElement(pDC, key) : 0;
}

// The animation frame factor of the model's animation engine, asked with argument 1 as the
// contour and diagram builders do.
template <class A>
double FrameFactor(A& anim) {
    return anim.GetAnimationFactor(1);
}

}  // namespace forcepw
