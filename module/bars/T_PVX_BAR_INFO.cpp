#include "module/bars/T_PVX_BAR_INFO.h"

#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"

namespace {

// The one list of block fields and their counterparts: visit(blockField, modelField) for each
// pair, the model's fields first, then the display options' (when the model has them). Block is
// const when the block is written to the model, so one list serves both directions.
template <class Block, class Visit>
void ForEachCounterpart(Block& b, I_PVXModel& mm, Visit visit) {
    CAnimationEngine& a = mm.m_AnimationEngine;
    CLegendEngine& l = mm.m_LegendEngine;
    visit(b.nRepeatMode, a.m_bFullCycle);
    visit(b.nBitsPerPixel, a.m_nBitsPerPixel);
    visit(b.nFramesPerHalfCycle, a.m_nFramesPerHalfCycle);
    visit(b.nFramesPerSecond, a.m_nFramesPerSecond);
    visit(b.bAnimation, mm.m_bAnimation);
    visit(b.bAnimateContour, a.m_bAnimateContour);
    visit(b.bCompress, a.m_bCompress);
    for (int i = 0; i < T_PVX_BAR_INFO::kCompressWords; ++i) visit(b.adwCompressOptions[i], a.CompressWord(i));
    visit(b.bContour, mm.m_bContour);
    visit(b.nCarried21, mm.m_bModeShape);
    visit(b.m_Legend.nPosition, l.m_nPanelPlacement);
    visit(b.m_Legend.nPassThrough, l.m_bExponent);
    visit(b.m_Legend.nNumberFormat, l.m_bAutoDigits);
    visit(b.m_Legend.nPercentDecimals, l.m_bCompact);
    visit(b.bDeformed, mm.m_bDeformedShape);
    visit(b.bExponent, mm.m_bExponent);
    visit(b.nCarried40, mm.m_bRebuildMBR);
    visit(b.nCarried41, mm.m_bModeShapeContour);
    if (T_PVX_DOPT_D* o = mm.m_pDispOpt) {
        visit(b.bLegend, o->m_Legend.m_bShowLegend);
        visit(b.bUndeformed, o->m_bUndeformedWireFrame);
        visit(b.nMinMaxMode, o->m_Number.m_nNumberOpt1);
        visit(b.nDecimals, o->m_Number.m_nDecimals);
        visit(b.nTextAngle, o->m_Number.m_nNumberAngle);
        visit(b.bValues, o->m_Number.m_bShowNumbers);
        visit(b.bOutputDirection, o->m_Number.m_bFixedNumberAngle);
        visit(b.bOnlyMinMax, o->m_Number.m_nNumberOpt2);
        visit(b.dMaxRatio, o->m_Number.m_dNumberFactor);
    }
}

}  // namespace

void T_PVX_BAR_INFO::ReadFromModel(I_PVXModel& model) {
    ForEachCounterpart(*this, model, [](auto& field, const auto& counterpart) { field = counterpart; });
}

void T_PVX_BAR_INFO::WriteToModel(I_PVXModel& model) const {
    ForEachCounterpart(*this, model, [](const auto& field, auto& counterpart) { counterpart = field; });
    // The exponent switch goes to the number options as well as to the model's copy.
    if (model.m_pDispOpt) model.m_pDispOpt->m_Number.m_bExponent = bExponent;
}
