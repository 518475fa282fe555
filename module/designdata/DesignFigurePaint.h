// What the result view paints while it shows a design figure: the model, the figure's member
// walk, its numbers. The legend follows in the view's own legend step.
//
//     if (!PaintDesignFigure(model, pDC)) ...the display mode's own drawing...
#pragma once

#include <functional>

class CDC;
class I_PVXModel;

// 1 for the figure modes the host may show: 21, 23, 28, 35, 36, 40 and 42 to 56.
int IsDesignFigureMode(int nMode);

// With a design result data engine in the model and a design figure mode in its figure
// controller: draws the model, the walk of the mode (beam steel for 23, the envelopes for 35 and
// 36) and the engine's numbers, and returns 1. Otherwise draws nothing and returns 0.
int PaintDesignFigure(I_PVXModel& model, CDC* pDC);

// Leaves room in the fitted view for the texts the figure writes: paints the figure once into a
// recording device context and zooms the view out about its centre until every text's box
// (measured in its font, placed by its alignment, turned by its escapement) lies inside the
// drawing area, in a few passes at most and never below half the scale. Returns the factor the
// scale was multiplied by (1 when every text fits or nothing is shown).
double FitDesignFigureTexts(I_PVXModel& model);
// The same for the texts paint writes into a device context (non-zero when it painted).
double FitViewTexts(I_PVXModel& model, const std::function<int(CDC*)>& paint);

// How crowded the texts paint writes stand at the view's scale: pairs over each other or run
// together on one line, and the factor of the drawing area's sides at which all but one pair
// per 50 texts would stand apart (1 when they do already, 0 when no picture up to 16 times
// larger sets them apart: texts anchored at one point).
struct ViewTextCrowding {
    int nTexts = 0;
    int nCrowded = 0;
    double dScale = 1.0;
};
ViewTextCrowding MeasureViewTextCrowding(I_PVXModel& model, const std::function<int(CDC*)>& paint);
