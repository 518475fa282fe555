// The host's point-picking edit: an edit box that takes nodes, elements or points picked in the
// model view.
//
// A page puts the edit into picking (SetPickMode, 96 for points), names the windows that hear
// about clicks, cursor moves and Escape (SetNotifyWnd), and handles the registered messages
// WM_LBUTTONDOWN_FROM_MVIEW, WM_MOUSEMOVE_FROM_MVIEW and WM_MOUSEEDITESCAPE (wParam: the edit's
// control id; lParam: the notifying edit, a CMouseEdit*). The edit picking last is the current
// one. On a pick it keeps the picked object (GetCurPickedPVXObjectDataST) and shows it as text:
// a node or element key, or the point as "x, y" (plane-only picking) or "x, y, z"; GetPosition
// reads such a text back. The model view side (the host's view, or a test standing in for a
// user) calls PickInModelView, MoveInModelView and EscapeInModelView. Coordinates are world
// coordinates (the user coordinate system is the world one here).
#pragma once

#include "host/grx/C3DPoint.h"
#include "platform/ui/CEdit.h"

// What a pick in the model view hit.
enum {
    PICKED_NONE = 0,
    PICKED_NODE = 1,
    PICKED_ELEM = 2,
    PICKED_POINT = 3  // a free point
};

struct T_PICKED_OBJECT {
    int nType = PICKED_NONE;  // PICKED_*
    UINT nKey = 0;            // node or element key; 0 for a point
    C3DPoint pos;             // world position of the pick
};

class CMouseEdit : public CEdit {
    DECLARE_DYNAMIC(CMouseEdit)
public:
    static constexpr UINT WM_LBUTTONDOWN_FROM_MVIEW = 0xC301;
    static constexpr UINT WM_MOUSEMOVE_FROM_MVIEW = 0xC302;
    static constexpr UINT WM_MOUSEEDITESCAPE = 0xC303;
    static constexpr int PICK_MODE_POINT = 96;

    CMouseEdit();
    ~CMouseEdit() override;

    void SetAttUcsPos(BOOL bAttach = TRUE) { m_bAttUcs = bAttach; }
    // Plane-only picking: picked points get z = 0 and show as "x, y".
    void SetXYOnlyMode(int bXYOnly) { m_bXYOnly = bXYOnly; }
    // Windows told of clicks, cursor moves and Escape; null: the edit's parent.
    void SetNotifyWnd(CWnd* pButtonDown, CWnd* pMouseMove = nullptr, CWnd* pEscape = nullptr);
    // 0 stops picking; any other mode starts it (PICK_MODE_POINT for points) and makes this
    // edit the current one.
    void SetPickMode(int nMode);
    int GetPickMode() const { return m_nPickMode; }
    // TRUE when Shift or Ctrl was held at the last pick or move.
    BOOL IsKeyPressed() const { return m_bKeyPressed; }
    // Reads "x, y" or "x, y, z" from the text (z = 0 when absent); FALSE, with the outputs
    // unchanged, when the text holds anything else.
    BOOL GetPosition(double& x, double& y, double& z) const;

    static CMouseEdit* GetCurPickingEditST();
    // The last pick made in the model view; FALSE when nothing was picked since the last Escape.
    static BOOL GetCurPickedPVXObjectDataST(T_PICKED_OBJECT& obj);
    // The world position of the cursor in the model view at the last pick or move.
    static BOOL GetCurCursorPosST(C3DPoint& pos);

    // Model view side: a click, a cursor move, the Escape key. Each goes to the current picking
    // edit; FALSE when no edit is picking (nothing happens then).
    static BOOL PickInModelView(const T_PICKED_OBJECT& obj, BOOL bKeyPressed = FALSE);
    static BOOL MoveInModelView(const C3DPoint& pos, BOOL bKeyPressed = FALSE);
    static BOOL EscapeInModelView();

private:
    void Notify(UINT message, CWnd* pTarget);

    BOOL m_bAttUcs = FALSE;
    int m_bXYOnly = 0;
    int m_nPickMode = 0;
    BOOL m_bKeyPressed = FALSE;
    CWnd* m_pNotifyDown = nullptr;
    CWnd* m_pNotifyMove = nullptr;
    CWnd* m_pNotifyEscape = nullptr;
};
