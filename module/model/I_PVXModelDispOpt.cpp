// Display-option members of I_PVXModel: the default label colours, the refresh from the host,
// the print and screen colour sets, gray printing and the member colour rule. The record itself
// (T_PVX_DOPT_D) reads the host's options; these members add the legend engine, the engines'
// colour scales and the cutting-line diagram colour, which live outside the record.
#include "module/model/I_PVXModel.h"

#include "module/contour/CContourEngine.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CPVXCutLineDetDlg.h"
#include "module/engines/CReactionEngine.h"
#include "module/engines/CStressEngine.h"
#include "module/force/CForceEngine.h"
#include "host/db/CDBDoc.h"

namespace {

// Screen colour of the cutting-line diagrams while gray printing imposes black.
COLORREF s_crSaveCutLineDiagram = RGB(255, 0, 0);

// The colour scales of the model's result engines that exist.
int CollectContourEngines(I_PVXModel& m, CContourEngine* out[4]) {
    CEngineBase* engines[4] = {m.m_pDeformEngine, m.m_pForceEngine, m.m_pReactionEngine, m.m_pStressEngine};
    int n = 0;
    for (CEngineBase* e : engines)
        if (e && e->m_pContourEngine) out[n++] = e->m_pContourEngine;
    return n;
}

}  // namespace

void I_PVXModel::InitColor() {
    if (!m_pDispOpt) return;
    m_pDispOpt->m_Number.m_crNumber[0] = RGB(255, 0, 0);
    m_pDispOpt->m_Number.m_crNumber[1] = RGB(0, 255, 0);
    m_pDispOpt->m_Number.m_crNumber[2] = RGB(0, 0, 255);
}

void I_PVXModel::UpdateDisplayOptions() {
    if (!m_pDispOpt) return;
    CDBDoc* pDoc = GetDBDoc();
    m_pDispOpt->UpdateFromHost(pDoc ? pDoc->GetDispOpt() : nullptr, m_pPVXCtrl);
    m_LegendEngine.InitColor();
}

void I_PVXModel::PrepareColorSet(int bPrint) {
    if (!m_pDispOpt) return;
    CDBDoc* pDoc = GetDBDoc();
    m_pDispOpt->LoadColorSet(pDoc ? pDoc->GetDispOpt() : nullptr, bPrint);
    m_LegendEngine.InitColor();
}

void I_PVXModel::BeforeGrayPrinting() {
    if (!m_pDispOpt) return;
    // Screen colours held outside the record are saved once, together with the record's colour
    // part: an unpaired second call must not save gray over them.
    const int bFirst = !m_pDispOpt->m_Color.m_bGraySaved;

    CContourEngine* scales[4];
    const int nScales = CollectContourEngines(*this, scales);
    for (int i = 0; i < nScales; ++i) {
        CContourEngine* c = scales[i];
        if (bFirst) {
            c->m_nSaveColorTableKind = c->m_nColorTableKind;
            c->m_crSaveContourLine = c->m_crContourLine;
            c->m_crSaveElemEdge = c->m_crElemEdge;
        }
        c->m_nColorTableKind = 3;  // "Gray Scaled"
        c->m_crContourLine = 0;
        c->m_crElemEdge = 0;
    }

    CLegendEngine& l = m_LegendEngine;
    if (bFirst) {
        l.m_crSaveBackTop = l.m_crBackTop;
        l.m_crSaveLine = l.m_crLine;
        l.m_crSaveText = l.m_crText;
    }
    l.m_crBackTop = RGB(255, 255, 255);
    l.m_crLine = 0;
    l.m_crText = 0;

    m_pDispOpt->SubstituteGrayPrinting();

    if (bFirst) s_crSaveCutLineDiagram = CPVXCutLineDetDlg::m_crDiagram;
    CPVXCutLineDetDlg::m_crDiagram = 0;
}

void I_PVXModel::AfterGrayPrinting() {
    if (!m_pDispOpt) return;
    // Nothing was saved when gray printing did not start: restoring would bring back stale saves.
    if (!m_pDispOpt->m_Color.m_bGraySaved) {
        m_pDispOpt->RestoreGrayPrinting();
        return;
    }
    CContourEngine* scales[4];
    const int nScales = CollectContourEngines(*this, scales);
    for (int i = 0; i < nScales; ++i) {
        CContourEngine* c = scales[i];
        c->m_nColorTableKind = c->m_nSaveColorTableKind;
        c->m_crContourLine = c->m_crSaveContourLine;
        c->m_crElemEdge = c->m_crSaveElemEdge;
    }

    CLegendEngine& l = m_LegendEngine;
    l.m_crBackTop = l.m_crSaveBackTop;
    l.m_crLine = l.m_crSaveLine;
    l.m_crText = l.m_crSaveText;

    CPVXCutLineDetDlg::m_crDiagram = s_crSaveCutLineDiagram;

    m_pDispOpt->RestoreGrayPrinting();
}

void I_PVXModel::GetMembColor(T_PMEMB_D& memb, COLORREF* pColor) {
    if (!m_pDispOpt) return;
    m_pDispOpt->GetMembColor(memb.type, m_bExternalDevice, pColor);
}
