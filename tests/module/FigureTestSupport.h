// Helpers of the figure sheet tests: drawing one sheet into a fresh drawing and picking its
// figures by layer and kind.
#pragma once

#include <memory>
#include <vector>

#include "host/vdraw/CVdrawUtil.h"
#include "module/figures/CFVDBase.h"

namespace moduletest {

// Draws fig as sheet type (no notes) for the load key with the diagram value scale into a new
// drawing.
inline std::unique_ptr<CVdrawUtil> DrawSheet(CFVDBase& fig, int type, UINT load, double valueScale) {
    auto d = std::make_unique<CVdrawUtil>();
    fig.SetType(static_cast<EFigureType>(type));
    fig.Display(d.get());
    fig.SetNotesFlag(FALSE);
    fig.GetDisplaySettings()->m_dScale2 = valueScale;
    fig.GetDisplaySettings()->m_bScale2Auto = FALSE;
    fig.SetLoadCase(load);
    fig.DrawFigure();
    return d;
}

// The figures of a kind on a layer, in drawing order.
inline std::vector<const CvdFigure*> FiguresOn(const CVdrawUtil& d, int layer, VdFigureKind kind) {
    std::vector<const CvdFigure*> out;
    for (long id : d.GetFigureIds())
        if (d.GetFigure(id)->GetLayer() == layer && d.GetFigure(id)->GetKind() == kind) out.push_back(d.GetFigure(id));
    return out;
}

}  // namespace moduletest
