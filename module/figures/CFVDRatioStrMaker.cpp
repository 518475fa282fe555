#include "module/figures/CFVDRatioStrMaker.h"

#include "module/figures/FigureText.h"

namespace {
constexpr double kPassRatio = 0.999999;  // a ratio above this passes
constexpr double kRangeTol = 1e-6;       // the range form's margin inside each bound
}  // namespace

CFVDRatioStrMaker::CFVDRatioStrMaker(double ratio, const CString& prefix, const CString& suffix, int unitCode,
                                     const BYTE& bracketed) {
    Init(ratio, prefix, suffix, unitCode, bracketed);
}

void CFVDRatioStrMaker::Init(double ratio, const CString& prefix, const CString& suffix, int unitCode,
                             const BYTE& bracketed) {
    m_dRatio = ratio;
    m_strPrefix = prefix;
    m_strSuffix = suffix;
    m_nUnit = unitCode;
    m_bBracketed = bracketed;
}

void CFVDRatioStrMaker::SetValues(double denominator, double numerator, BOOL ratioMode) {
    m_dDenominator = denominator;
    m_dNumerator = numerator;
    m_bRatioMode = ratioMode;
}

const char* CFVDRatioStrMaker::UnitLabel(int unitCode) {
    switch (unitCode) {
        case 1: return "M";
        case 2: return "mm";
        case 50: return "KN";
        case 60: return "KN*M";
        case 70: return "KN/M";
        default: return "";
    }
}

CString CFVDRatioStrMaker::ValueText() const {
    if (m_bRatioMode) return FormatFigureNumber(m_dRatio);
    return FormatFigureNumber(m_dNumerator) + "/" + FormatFigureNumber(m_dDenominator);
}

CString CFVDRatioStrMaker::Decorate(const CString& value) const {
    CString text = value + UnitLabel(m_nUnit);
    if (!m_strPrefix.IsEmpty()) {
        if (m_bBracketed && m_strPrefix.CompareNoCase("/") != 0)
            text = m_strPrefix + ":" + text;
        else
            text = m_strPrefix + text;
    }
    if (!m_strSuffix.IsEmpty()) text = m_bBracketed ? text + "(" + m_strSuffix + ")" : text + m_strSuffix;
    return text;
}

void CFVDRatioStrMaker::MakeStr(CString& out, CArray<COLORREF>& colours) const {
    out = Decorate(ValueText());
    colours.Add(m_dRatio > kPassRatio ? kFigurePassColour : kFigureFailColour);
}

void CFVDRatioStrMaker::MakeStrNoColor(CString& out) const {
    CArray<COLORREF> scratch;
    MakeStr(out, scratch);
}

void CFVDRatioStrMaker::MakeStrEx(CString& out, CArray<COLORREF>& colours, double lo, double hi,
                                  const char* alt) const {
    if (lo + kRangeTol <= m_dRatio && m_dRatio <= hi - kRangeTol) {
        colours.Add(kFigurePassColour);
        MakeStrNoColor(out);
        return;
    }
    out = Decorate((alt && *alt) ? CString(alt) : ValueText());
    colours.Add(kFigureFailColour);
}

void CFVDRatioStrMaker::MakeStrEx(CString& out, CArray<COLORREF>& colours, double limit, const char* alt) const {
    MakeStrEx(out, colours, -limit, limit, alt);
}

void CFVDRatioStrMaker::s_MakeStr(const CArray<CFVDRatioStrMaker>& makers, CString& out, CArray<COLORREF>& colours,
                                  const CString& sep) {
    out.Empty();
    colours.RemoveAll();
    for (INT_PTR i = 0; i < makers.GetSize(); ++i) {
        CString text;
        makers[i].MakeStr(text, colours);
        if (i > 0) out += sep;
        out += text;
    }
}

void CFVDRatioStrMaker::s_MakeStrNoColor(const CArray<CFVDRatioStrMaker>& makers, CString& out, const CString& sep) {
    CArray<COLORREF> scratch;
    s_MakeStr(makers, out, scratch, sep);
}

void CFVDRatioStrMaker::s_MakeStrEx(const CArray<CFVDRatioStrMaker>& makers, CString& out,
                                    CArray<COLORREF>& lineColours, const CString& sep, double lo, double hi,
                                    const char* alt) {
    out.Empty();
    CArray<COLORREF> line;  // colours of the makers on the current line
    const INT_PTR n = makers.GetSize();
    for (INT_PTR i = 0; i < n; ++i) {
        CString text;
        CArray<COLORREF> own;
        makers[i].MakeStrEx(text, own, lo, hi, alt);
        if (i + 1 < n) text += sep;
        out += text;
        const bool last = i + 1 == n;
        if (text.Find('\n') < 0 && !last) {
            line.Append(own);
            continue;
        }
        if (text.Find('\n') == 0) {
            // The text opens a new line: the line before ends without it.
            lineColours.Add(LineColourOf(line));
            line.RemoveAll();
            line.Append(own);
            continue;
        }
        line.Append(own);
        lineColours.Add(LineColourOf(line));
        line.RemoveAll();
    }
    if (line.GetSize() > 0) lineColours.Add(LineColourOf(line));
}

void CFVDRatioStrMaker::s_MakeStrEx(const CArray<CFVDRatioStrMaker>& makers, CString& out,
                                    CArray<COLORREF>& lineColours, const CString& sep, double limit, const char* alt) {
    s_MakeStrEx(makers, out, lineColours, sep, -limit, limit, alt);
}
