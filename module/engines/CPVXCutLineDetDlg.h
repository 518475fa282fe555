// CPVXCutLineDetDlg: the modeless cutting-line dialog, and the module's cutting-line settings.
//
// One dialog object serves every result view (I_PVXModel::m_pCutLineDetDlg); the model makes the
// object when the result view mode is entered and the last model deletes it. The settings the
// dialog edits are module statics: the numbers of the cutting lines selected for display, the
// graph settings and the diagram colour. I_PVXModel::ResetCutLineDlg puts them back to their
// defaults.
#pragma once

#include "platform/afx/CArray.h"
#include "platform/ui/CDialog.h"

class CPVXCutLineDetDlg : public CDialog {
public:
    // pSelected: the selected cutting-line numbers the dialog starts from (checked).
    explicit CPVXCutLineDetDlg(CArray<int, int>* pSelected = nullptr, CWnd* pParent = nullptr);
    ~CPVXCutLineDetDlg() override;

    CArray<int, int>* m_pSelected;  // selected cutting-line numbers, not owned

    // Module-wide settings.
    static CArray<int, int> m_arrSelCutLine;   // numbers of the cutting lines selected for display
    static int m_nSetting[5];                  // graph switch and the four graph choices; 0 by default
    static double m_dScaleFactor;              // diagram scale factor; 1.0 by default
    static int m_bOutputValues;                // diagram values written; 1 by default
    static int m_bOnlyMinMax;                  // only the extremes written; 1 by default
    static COLORREF m_crDiagram;               // diagram colour
    static int m_nDirection;                   // diagram offset: 0 along the element normal, 1 in plane across the line
};
