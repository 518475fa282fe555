// What the result view paints while it shows a design figure: the model, the figure's member
// walk, its numbers. The legend follows in the view's own legend step.
//
//     if (!PaintDesignFigure(model, pDC)) ...the display mode's own drawing...
#pragma once

#include <cstddef>
#include <functional>

#include "host/base/PVXHostResult.h"

class CDC;
class I_PVXModel;

// 1 for the figure modes the host may show: 21, 23, 28, 35, 36, 40 and 42 to 56.
int IsDesignFigureMode(int nMode);

// With a design result data engine in the model and a design figure mode in its figure
// controller: draws the model, the walk of the mode (beam steel for 23, the envelopes for 35 and
// 36) and the engine's numbers, and returns 1. Otherwise draws nothing and returns 0.
int PaintDesignFigure(I_PVXModel& model, CDC* pDC);

// Leaves room in the fitted view for the texts paint writes (non-zero when it painted): paints
// into a recording device context and zooms the view out about its centre until every text's
// box (measured in its font, placed by its alignment, turned by its escapement) lies inside the
// drawing area, in a few passes at most and never below half the scale. Returns the factor the
// scale was multiplied by (1 when every text fits or nothing is shown); pTexts, when given,
// receives the number of texts the last paint wrote.
double FitViewTexts(I_PVXModel& model, const std::function<int(CDC*)>& paint, size_t* pTexts = nullptr);

// How crowded the texts paint writes stand at the view's scale: pairs over each other or run
// together on one line, those no picture up to 16 times larger sets apart (texts that move
// together as the scale grows), and the factor of the drawing area's sides at which all the
// others but one pair per 50 texts stand apart (1 when they do already).
struct ViewTextCrowding {
    int nTexts = 0;
    int nCrowded = 0;
    int nNever = 0;
    int nOnSymbols = 0;  // of the pairs, numbers on a symbol drawn at a node (never set apart)
    double dScale = 1.0;
};
ViewTextCrowding MeasureViewTextCrowding(I_PVXModel& model, const std::function<int(CDC*)>& paint);

// FitViewTexts, then MeasureViewTextCrowding, with the picture size at which crowded texts
// stand apart (the legend's margin kept).
void FitAndMeasureViewTexts(I_PVXModel& model, const std::function<int(CDC*)>& paint, PVXHostTextFit& fit);
// The same for the design figure the model shows, painted by render.
void FitDesignFigureTexts(I_PVXModel& model, PVXHostTextFit& fit, const std::function<void(CDC*)>& render);
