#include "module/figures/FigureText.h"

#include <cmath>

#include "host/base/CMathFunc.h"
#include "host/base/CMsgDll.h"
#include "host/base/CurrentUnitCtrl.h"

namespace {
int g_nFigurePrecision = 2;
}

CString FormatFigureFixed(double v, int decimals) {
    CString s;
    s.Format("%.*f", decimals, v);
    // A value that rounds to zero is written without a sign: "-0.0000" reads as a value.
    if (s.GetLength() > 0 && s[0] == '-' && s.SpanIncluding("-0.") == s) s = s.Mid(1);
    return s;
}

CString FormatFigureNumber(double v) { return FormatFigureFixed(v, g_nFigurePrecision); }

void SetFigurePrecision(int precision) { g_nFigurePrecision = precision; }

int GetFigurePrecision() { return g_nFigurePrecision; }

CString MakeMomentAsLabel(BOOL steel, BOOL zDirection) {
    if (steel) return CMsgDll::pfuncLoadStr(zDirection ? "IDS_RESULT_TEXT_Asz" : "IDS_RESULT_TEXT_Asy", 0);
    return CMsgDll::pfuncLoadStr(zDirection ? "IDS_TBX_PVX_Mz" : "IDS_TBX_PVX_My", 0);
}

int SplitFigureLines(const CString& text, CStringArray& lines) {
    return CMathFunc::SplitCStringByChar(text, lines, "\n");
}

double FoldTextAngle(double a) {
    if (!std::isfinite(a)) return 0.0;
    if (std::fabs(a) > 359.999) {
        // Whole turns off the magnitude, the sign kept; fmod instead of a loop of subtractions so
        // that a huge angle does not spin.
        double m = std::fmod(std::fabs(a), 360.0);
        if (m > 359.999) m -= 360.0;
        a = a < 0.0 ? -m : m;
    }
    if (a < -0.001) a += 360.0;
    return a;
}

double GetUprightTextAngle(double deg) {
    const double r = FoldTextAngle(deg);
    return r <= 179.0 ? r : r - 180.0;
}

double GetReadableTextAngle(double deg) {
    const double r = FoldTextAngle(deg);
    return (r >= 181.0 || r <= 89.0) ? r : r - 180.0;
}

double GetUprightTextAngleEx(double deg) { return GetUprightTextAngle(deg + 90.0) - 90.0; }

double GetQuarterTextAngle(double deg) {
    const double r = FoldTextAngle(deg);
    if (r > 89.0 && r < 180.0) return r - 90.0;
    if (r > 179.0 && r < 270.0) return r - 180.0;
    if (r > 269.0) return r - 270.0;
    return r;
}

COLORREF LineColourOf(const CArray<COLORREF>& colours) {
    for (INT_PTR i = 0; i < colours.GetSize(); ++i)
        if (colours[i] == kFigureFailColour) return kFigureFailColour;
    return kFigurePassColour;
}

CFVDUnitScale::CFVDUnitScale(double v)
    : m_dScale((std::fabs(v) < 1e-6 ? 1.0 : std::fabs(v)) / CurrentUnitCtrl::Cur2MM()) {}
