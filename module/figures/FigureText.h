// Shared helpers of the figure texts: number formatting at the figures' precision, labels,
// line splitting, text-angle folding, the pass/fail colour of a text line and the unit scale.
//
// Every figure number is written "%.*f" at one module-wide precision (2 until a figure's
// display settings set another). Colours are COLORREF: a check passes in green 0x00FF00 and
// fails in red 0x0000FF.
#pragma once

#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"

class CStringArray;

constexpr COLORREF kFigurePassColour = 0x00FF00;  // green
constexpr COLORREF kFigureFailColour = 0x0000FF;  // red

// v as "%.*f" at the module-wide precision, or at decimals; a value that rounds to zero
// without its sign ("0.0000", never "-0.0000").
CString FormatFigureNumber(double v);
CString FormatFigureFixed(double v, int decimals);
void SetFigurePrecision(int precision);
int GetFigurePrecision();

// The label of a moment ("Mz", "My") or of a steel area ("Asz", "Asy") about z or y.
CString MakeMomentAsLabel(BOOL steel, BOOL zDirection);

// Splits text at its line feeds into lines (emptied first); returns the line count (0 for an
// empty text).
int SplitFigureLines(const CString& text, CStringArray& lines);

// Text-direction folding, degrees. The angle is first reduced into (-0.001, 359.999] keeping
// its sign (-400 folds like -40, to 320); an angle that is not finite folds to 0. Then:
//   GetUprightTextAngle:  up to 179 unchanged, else minus 180 (never upside down);
//   GetReadableTextAngle: up to 89 or from 181 unchanged, else minus 180;
//   GetQuarterTextAngle:  the remainder within its quarter turn (135 -> 45, 200 -> 20).
double FoldTextAngle(double deg);
double GetUprightTextAngle(double deg);
double GetReadableTextAngle(double deg);
double GetQuarterTextAngle(double deg);
// The upright angle of a text standing across a member of angle deg (a text turned a further
// 90 degrees by its anchor): GetUprightTextAngle(deg + 90) - 90.
double GetUprightTextAngleEx(double deg);

// The colour of a text line made of several checks: red when any is red, else green (also for
// none).
COLORREF LineColourOf(const CArray<COLORREF>& colours);

// A length scale from a settings value: |v| (1.0 when |v| < 1e-6) per millimetre of the current
// length unit.
class CFVDUnitScale {
public:
    explicit CFVDUnitScale(double v);
    double Get() const { return m_dScale; }

private:
    double m_dScale;
};
