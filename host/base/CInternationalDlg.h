// CInternationalDlg and CDlgMove: the host's dialog bases that module dialogs derive from.
//
// The host's dialogs come in its product language; its texts are already in the templates, so
// here both bases behave as CDialog: made from a template id, run modally with DoModal or made
// modeless with Create. CDlgMove is the base of the host's movable dialogs (the user drags them
// by their body); headless there is nothing to drag, so it adds nothing to CInternationalDlg.
//
//     class CPVX2DGraphDlg : public CInternationalDlg {
//         CPVX2DGraphDlg() : CInternationalDlg(10626) {}
//     };
#pragma once

#include "platform/ui/CDialog.h"

class CInternationalDlg : public CDialog {
    DECLARE_DYNAMIC(CInternationalDlg)
public:
    explicit CInternationalDlg(UINT nIDTemplate, CWnd* pParent = nullptr);
    ~CInternationalDlg() override;
};

class CDlgMove : public CInternationalDlg {
    DECLARE_DYNAMIC(CDlgMove)
public:
    explicit CDlgMove(UINT nIDTemplate, CWnd* pParent = nullptr);
    ~CDlgMove() override;
};
