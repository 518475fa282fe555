#include "module/bars/CPVXBarSBForc.h"

#include <cmath>
#include <cstdlib>

#include "host/base/CMsgDll.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "module/force/CForceEngine.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNCREATE(CPVXBarSBForc, CPVXBarSlabPage)

BEGIN_MESSAGE_MAP(CPVXBarSBForc, CPVXBarSlabPage)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_APPLY, OnApply)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_CLOSE, OnCloseBar)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_ICON, OnIconButton)
    ON_CBN_SELCHANGE(CPVXBarSBForc::IDC_LOAD, OnLoadChange)
    ON_CONTROL_RANGE(BN_CLICKED, CPVXBarSBForc::IDC_KIND_SLAB, CPVXBarSBForc::IDC_KIND_BEAM, OnKindButton)
    ON_CONTROL_RANGE(BN_CLICKED, CPVXBarSBForc::IDC_COMP_MOMENT, CPVXBarSBForc::IDC_COMP_SHEAR, OnComponentButton)
    ON_BN_CLICKED(CPVXBarSBForc::IDC_POSITIVE, OnPositive)
    ON_BN_CLICKED(CPVXBarSBForc::IDC_NEGATIVE, OnNegative)
    ON_BN_CLICKED(CPVXBarSBForc::IDC_CONTOUR, OnContourCheck)
    ON_BN_CLICKED(CPVXBarSBForc::IDC_CONTOUR_MORE, OnContourDetails)
    ON_BN_CLICKED(CPVXBarSBForc::IDC_VALUES, OnValuesCheck)
    ON_BN_CLICKED(CPVXBarSBForc::IDC_VALUES_MORE, OnValuesMoreButton)
    ON_BN_CLICKED(CPVXBarSBForc::IDC_LEGEND, OnReadControls)
    ON_BN_CLICKED(CPVXBarSBForc::IDC_LEGEND_MORE, OnLegendDetails)
    ON_BN_CLICKED(CPVXBarSBForc::IDC_ANIMATION_MORE, OnAnimationMore)
    ON_BN_CLICKED(CPVXBarSBForc::IDC_OUT_ALL, OnAllRule)
    ON_BN_CLICKED(CPVXBarSBForc::IDC_OUT_MAX, OnMaxRule)
END_MESSAGE_MAP()

namespace {
using SBForc = CPVXBarSBForc;
constexpr UINT kBeamComponentBlock[] = {SBForc::IDC_COMP_GROUP, SBForc::IDC_COMP_MOMENT,
                                        SBForc::IDC_COMP_SHEAR};
constexpr UINT kSignBlock[] = {SBForc::IDC_SIGN_GROUP, SBForc::IDC_POSITIVE, SBForc::IDC_NEGATIVE};
constexpr UINT kDisplayBlock[] = {SBForc::IDC_DISPLAY_GROUP, SBForc::IDC_CONTOUR, SBForc::IDC_CONTOUR_MORE,
                                  SBForc::IDC_VALUES, SBForc::IDC_VALUES_MORE, SBForc::IDC_LEGEND,
                                  SBForc::IDC_LEGEND_MORE, SBForc::IDC_ANIMATION, SBForc::IDC_ANIMATION_MORE,
                                  SBForc::IDC_FLANGE};
constexpr UINT kFillBlock[] = {SBForc::IDC_FILL_FRAME, SBForc::IDC_FILL_GROUP, SBForc::IDC_FILL_NONE,
                               SBForc::IDC_FILL_LINE, SBForc::IDC_FILL_FULL, SBForc::IDC_SCALE_LABEL,
                               SBForc::IDC_SCALE};
constexpr UINT kOutputBlock[] = {SBForc::IDC_OUTPUT_GROUP, SBForc::IDC_OUT_I, SBForc::IDC_OUT_CENTRE,
                                 SBForc::IDC_OUT_J, SBForc::IDC_OUT_MAX, SBForc::IDC_OUT_ALL};
constexpr UINT kButtons[] = {CPVXBarDlgBase::IDC_PAGE_ICON, CPVXBarDlgBase::IDC_PAGE_APPLY,
                             CPVXBarDlgBase::IDC_PAGE_CLOSE};
}  // namespace

CPVXBarSBForc::CPVXBarSBForc()
    : CPVXBarSlabPage(IDD, IDC_LOAD, PVXMode::kSlabForceBeam, CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Slab_Force", 0)),
      m_nKind(KIND_BEAM),
      m_nComponent(0),
      m_bPositive(1),
      m_bNegative(1),
      m_nFill(FILL_LINE),
      m_bAll(0),
      m_bCentre(0),
      m_bIEnd(0),
      m_bJEnd(0),
      m_bMax(0),
      m_bFlange(1) {}

int CPVXBarSBForc::FillOfEngine(int bLine, int bFill) {
    if (!bLine) return FILL_FULL;
    return bFill ? FILL_LINE : FILL_NONE;
}

void CPVXBarSBForc::EngineOfFill(int nFill, int& bLine, int& bFill) {
    switch (nFill) {
    case FILL_NONE: bLine = 1, bFill = 0; break;
    case FILL_LINE: bLine = 1, bFill = 1; break;
    case FILL_FULL: bLine = 0, bFill = 1; break;
    default: break;  // no radio chosen: left as they are
    }
}

BOOL CPVXBarSBForc::ParseScale(const CString& text, double& dScale) {
    const char* s = text.GetString();
    while (*s == ' ' || *s == '\t') ++s;
    char* end = nullptr;
    const double v = std::strtod(s, &end);
    if (end == s) return FALSE;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end || !std::isfinite(v) || v <= 0.0) return FALSE;
    dScale = v;
    return TRUE;
}

void CPVXBarSBForc::DoDataExchange(CDataExchange* pDX) {
    CPVXBarSlabPage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_KIND_SLAB, m_nKind);
    DDX_Radio(pDX, IDC_COMP_MOMENT, m_nComponent);
    DDX_Check(pDX, IDC_POSITIVE, m_bPositive);
    DDX_Check(pDX, IDC_NEGATIVE, m_bNegative);
    DDX_Check(pDX, IDC_CONTOUR, m_bContour);
    DDX_Check(pDX, IDC_VALUES, m_bValues);
    DDX_Check(pDX, IDC_LEGEND, m_bLegend);
    DDX_Check(pDX, IDC_ANIMATION, m_bAnimation);
    DDX_Check(pDX, IDC_FLANGE, m_bFlange);
    DDX_Radio(pDX, IDC_FILL_NONE, m_nFill);
    DDX_Text(pDX, IDC_SCALE, m_strScale);
    DDX_Check(pDX, IDC_OUT_ALL, m_bAll);
    DDX_Check(pDX, IDC_OUT_CENTRE, m_bCentre);
    DDX_Check(pDX, IDC_OUT_I, m_bIEnd);
    DDX_Check(pDX, IDC_OUT_J, m_bJEnd);
    DDX_Check(pDX, IDC_OUT_MAX, m_bMax);
}

std::vector<CBarControlName> CPVXBarSBForc::GetControlNames() const {
    return {{IDC_LOAD, "load"},         {IDC_KIND_SLAB, "kind"},        {IDC_COMP_MOMENT, "component"},
            {IDC_POSITIVE, "positive"}, {IDC_NEGATIVE, "negative"},     {IDC_CONTOUR, "contour"},
            {IDC_VALUES, "values"},     {IDC_LEGEND, "legend"},         {IDC_ANIMATION, "animation"},
            {IDC_FLANGE, "flange"},     {IDC_FILL_NONE, "fill"},        {IDC_SCALE, "scale"},
            {IDC_OUT_ALL, "all"},       {IDC_OUT_CENTRE, "centre"},     {IDC_OUT_I, "i-end"},
            {IDC_OUT_J, "j-end"},       {IDC_OUT_MAX, "max"},           {IDC_CONTOUR_MORE, "contour-more"},
            {IDC_VALUES_MORE, "values-more"}, {IDC_LEGEND_MORE, "legend-more"}, {IDC_ANIMATION_MORE, "animation-more"}};
}

BOOL CPVXBarSBForc::OnInitDialog() {
    InitSlabPage(kSlabLoadMask);
    if (CForceEngine* e = Engine()) {
        m_nKind = e->m_nSForcUnit == KIND_SLAB ? KIND_SLAB : KIND_BEAM;
        m_bPositive = e->m_bSForcPos;
        m_bNegative = e->m_bSForcNeg;
        m_nFill = FillOfEngine(e->m_bBSfdBmdLine, e->m_bBSfdBmdFill);
        m_strScale.Format("%g", e->m_dBSfdBmdScale);
        m_bMax = e->m_bNumAtMax;
        m_bAll = e->m_bNumAtAll;
        if (m_bMax) {
            m_bIEnd = m_bCentre = m_bJEnd = 0;
        } else if (m_bAll) {
            m_bIEnd = m_bCentre = m_bJEnd = 1;
        } else {
            m_bIEnd = e->m_bNumIEnd;
            m_bCentre = e->m_bNumMiddle;
            m_bJEnd = e->m_bNumJEnd;
        }
        m_bFlange = e->m_bCLShowWidth;
    }
    if (!m_bPositive && !m_bNegative) m_bPositive = 1;
    if (m_pBarInfo) {
        m_bContour = m_pBarInfo->bContour;
        m_bValues = m_pBarInfo->bValues;
        m_bLegend = m_pBarInfo->bLegend;
        m_bAnimation = m_pBarInfo->bAnimation;
    }
    TakeModelDecimals(&I_PVXModel::m_nForceDecimals);
    Exchange(FALSE);
    UpdateOutputEnabling();
    OnKindChange();
    // The page's component goes into the engine; a different one is built again.
    TakeChoice(&CForceEngine::m_nCLForcComp, m_nComponent);
    return TRUE;
}

void CPVXBarSBForc::LayoutKind() {
    const int gap = DialogUnitsY(kBlockGap);
    const int below11534 = ControlRect(IDC_KIND_GROUP).bottom + gap;
    if (m_nKind == KIND_SLAB) {
        ShowControls(kBeamComponentBlock, FALSE);
        ShowControls(kFillBlock, FALSE);
        ShowControls(kOutputBlock, FALSE);
        ShowControls(kSignBlock, TRUE);
        MoveBlockTo(kSignBlock, below11534);
        MoveBlockTo(kDisplayBlock, ControlRect(IDC_SIGN_GROUP).bottom + gap);
        MoveBlockTo(kButtons, ControlRect(IDC_DISPLAY_GROUP).bottom + gap);
    } else {
        ShowControls(kSignBlock, FALSE);
        ShowControls(kBeamComponentBlock, TRUE);
        ShowControls(kFillBlock, TRUE);
        ShowControls(kOutputBlock, TRUE);
        MoveControls(kBeamComponentBlock, ControlRect(IDC_KIND_GROUP).left - ControlRect(IDC_COMP_GROUP).left,
                     below11534 - BlockTop(kBeamComponentBlock));
        MoveBlockTo(kFillBlock, ControlRect(IDC_COMP_GROUP).bottom + gap);
        MoveBlockTo(kDisplayBlock, ControlRect(IDC_FILL_FRAME).bottom + gap);
        MoveBlockTo(kOutputBlock, ControlRect(IDC_DISPLAY_GROUP).bottom + gap);
        MoveBlockTo(kButtons, ControlRect(IDC_OUTPUT_GROUP).bottom + gap);
    }
    ShowControl(IDC_PAGE_ICON, FALSE);
    Invalidate(TRUE);
}

void CPVXBarSBForc::UpdateContourButtons() {
    const BOOL bBeam = m_nKind == KIND_BEAM;
    EnableControl(IDC_CONTOUR, bBeam);
    EnableControl(IDC_CONTOUR_MORE, bBeam && m_bContour);
    ShowControl(IDC_FLANGE, bBeam);
}

void CPVXBarSBForc::UpdateOutputEnabling() {
    const BOOL bEnds = m_bValues && !m_bMax && !m_bAll;
    for (UINT id : {IDC_OUT_I, IDC_OUT_CENTRE, IDC_OUT_J}) EnableControl(id, bEnds);
    EnableControl(IDC_OUT_MAX, m_bValues);
    EnableControl(IDC_OUT_ALL, m_bValues);
}

void CPVXBarSBForc::SignRule() {
    Exchange(TRUE);
    if (!ContourAllowed(m_nKind == KIND_BEAM, m_nLoadType, m_bPositive, m_bNegative)) {
        m_bContour = 0;
        m_bValues = 1;
    }
    if (CForceEngine* e = Engine())
        if (m_bPositive != e->m_bSForcPos || m_bNegative != e->m_bSForcNeg) m_bForceRebuild = 1;
    Exchange(FALSE);
    UpdateContourButtons();
    UpdateOutputEnabling();
}

void CPVXBarSBForc::OnKindChange() {
    Exchange(TRUE);
    if (CForceEngine* e = Engine())
        if (m_nKind >= 0 && e->m_nSForcUnit != m_nKind) {
            e->m_nSForcUnit = m_nKind;
            m_bForceRebuild = 1;
        }
    LayoutKind();
    if (m_nKind == KIND_BEAM) {
        m_bContour = 1;
    } else {
        m_bContour = 0;
        m_bValues = 1;
    }
    Exchange(FALSE);
    SignRule();
}

void CPVXBarSBForc::OnKindButton(UINT) { OnKindChange(); }

void CPVXBarSBForc::OnComponentButton(UINT) {
    Exchange(TRUE);
    TakeChoice(&CForceEngine::m_nCLForcComp, m_nComponent);
}

void CPVXBarSBForc::OnPositive() {
    KeepOneOfPair(m_bPositive, m_bNegative);
    SignRule();
}

void CPVXBarSBForc::OnNegative() {
    KeepOneOfPair(m_bNegative, m_bPositive);
    SignRule();
}

void CPVXBarSBForc::OnContourCheck() {
    Exchange(TRUE);
    UpdateContourButtons();
}

void CPVXBarSBForc::OnValuesCheck() {
    Exchange(TRUE);
    UpdateOutputEnabling();
}

void CPVXBarSBForc::OnValuesMoreButton() {
    OnValuesMore();
    UpdateOutputEnabling();
}

void CPVXBarSBForc::OnAllRule() {
    Exchange(TRUE);
    if (m_bAll) {
        m_bMax = 0;
        m_bIEnd = m_bCentre = m_bJEnd = 1;
        Exchange(FALSE);
    }
    UpdateOutputEnabling();
}

void CPVXBarSBForc::OnMaxRule() {
    Exchange(TRUE);
    if (m_bMax) {
        m_bAll = 0;
        m_bIEnd = m_bCentre = m_bJEnd = 0;
        Exchange(FALSE);
    }
    UpdateOutputEnabling();
}

void CPVXBarSBForc::OnAnimationMore() { OnAnimationDetails(); }

void CPVXBarSBForc::OnReadControls() { Exchange(TRUE); }

BOOL CPVXBarSBForc::Validate() {
    double d = 0.0;
    // The scale is shown, and taken, for rib beams only.
    if (m_nKind == KIND_BEAM && !ParseScale(m_strScale, d)) {
        Refuse("IDS_TBX_PVX_Scale_Factor_Invalid_Positive");
        return FALSE;
    }
    return TRUE;
}

void CPVXBarSBForc::ApplyOptions() {
    Exchange(TRUE);
    TakeLoadOnApply();
    SignRule();
    CForceEngine* e = Engine();
    if (!e) return;
    if (m_nComponent >= 0 && m_nComponent != e->m_nCLForcComp) m_bForceRebuild = 1;
    if (m_bPositive != e->m_bSForcPos || m_bNegative != e->m_bSForcNeg || m_nKind != e->m_nSForcUnit ||
        m_nType10Count != e->m_nSForcLcomCount)
        m_bForceRebuild = 1;
    if (m_nComponent >= 0) e->m_nCLForcComp = m_nComponent;
    e->m_bSForcPos = m_bPositive;
    e->m_bSForcNeg = m_bNegative;
    if (m_nKind >= 0) e->m_nSForcUnit = m_nKind;
    e->m_nSForcLcomCount = m_nType10Count;
    if (m_pBarInfo) {
        m_pBarInfo->bContour = m_bContour;
        m_pBarInfo->bValues = m_bValues;
        m_pBarInfo->bLegend = m_bLegend;
        m_pBarInfo->bAnimation = m_bAnimation;
    }
    StoreModelDecimals(&I_PVXModel::m_nForceDecimals);
    EngineOfFill(m_nFill, e->m_bBSfdBmdLine, e->m_bBSfdBmdFill);
    double d = 0.0;
    if (m_nKind == KIND_BEAM && ParseScale(m_strScale, d)) e->m_dBSfdBmdScale = d;
    e->m_bNumAtAll = m_bAll;
    e->m_bNumMiddle = m_bCentre;
    e->m_bNumIEnd = m_bIEnd;
    e->m_bNumJEnd = m_bJEnd;
    e->m_bNumAtMax = m_bMax;
    e->m_bCLShowWidth = m_bFlange;
    RebuildForce(m_nKind == KIND_BEAM ? &CForceEngine::m_bCLForcData : &CForceEngine::m_bSForcData);
}
