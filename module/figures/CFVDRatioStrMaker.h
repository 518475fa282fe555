// CFVDRatioStrMaker: the text and pass/fail colour of one check value.
//
// A maker holds a ratio (or a value and its limit), a prefix, a suffix and a unit, and writes
// them as one decorated text:
//   bracketed       prefix ":" value unit "(" suffix ")"     R:1.50KN(12)
//   not bracketed   prefix value unit suffix                 R1.50x
// A prefix "/" is joined without the colon ("/1.50"). In ratio mode the value is the ratio;
// otherwise numerator "/" denominator (250.00/200.00mm). The colour is green (0x00FF00) when the
// ratio is above 0.999999, else red (0x0000FF). The range form (MakeStrEx) instead colours by
// whether the ratio lies inside (lo, hi) and writes an overflow text such as "***" for a value
// outside. Numbers are written at the figures' precision (FormatFigureNumber).
//
//     CFVDRatioStrMaker maker(1.5, "R", "12", 50, 1);
//     CString text; CArray<COLORREF> colours;
//     maker.MakeStr(text, colours);      // "R:1.50KN(12)", green
#pragma once

#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"

class CFVDRatioStrMaker {
public:
    CFVDRatioStrMaker() = default;
    // bracketed left out: 1, the member default.
    CFVDRatioStrMaker(double ratio, const CString& prefix, const CString& suffix, int unitCode,
                      const BYTE& bracketed = 1);

    void Reset() { *this = CFVDRatioStrMaker(); }
    void Init(double ratio, const CString& prefix, const CString& suffix, int unitCode, const BYTE& bracketed = 1);
    // The value/limit pair and whether the text shows the ratio (1) or numerator/denominator (0).
    void SetValues(double denominator, double numerator, BOOL ratioMode);

    // out = the text; appends the colour to colours.
    void MakeStr(CString& out, CArray<COLORREF>& colours) const;
    void MakeStrNoColor(CString& out) const;
    // Range form: inside lo + 1e-6 .. hi - 1e-6 the text of MakeStr and green; outside, the text
    // with alt (when not empty) in place of the value, and red.
    void MakeStrEx(CString& out, CArray<COLORREF>& colours, double lo, double hi, const char* alt) const;
    // One limit L means the range (-L, L).
    void MakeStrEx(CString& out, CArray<COLORREF>& colours, double limit, const char* alt) const;

    // out = the makers' texts joined by sep; colours = one per maker.
    static void s_MakeStr(const CArray<CFVDRatioStrMaker>& makers, CString& out, CArray<COLORREF>& colours,
                          const CString& sep);
    static void s_MakeStrNoColor(const CArray<CFVDRatioStrMaker>& makers, CString& out, const CString& sep);
    // Range form of several makers: out = their texts joined by sep; appends one colour per text
    // line to lineColours, red when any maker on the line is out of range.
    static void s_MakeStrEx(const CArray<CFVDRatioStrMaker>& makers, CString& out, CArray<COLORREF>& lineColours,
                            const CString& sep, double lo, double hi, const char* alt);
    static void s_MakeStrEx(const CArray<CFVDRatioStrMaker>& makers, CString& out, CArray<COLORREF>& lineColours,
                            const CString& sep, double limit, const char* alt);

    // The unit label of a unit code: 1 "M", 2 "mm", 50 "KN", 60 "KN*M", 70 "KN/M", else "".
    static const char* UnitLabel(int unitCode);

    CString m_strPrefix;
    CString m_strSuffix;
    int m_nUnit = 0;              // unit code, see UnitLabel
    double m_dRatio = 0.0;        // above 0.999999 the check passes
    BOOL m_bBracketed = 1;        // decoration style
    double m_dDenominator = 0.0;  // second number of a value/limit text
    double m_dNumerator = 0.0;    // first number of a value/limit text
    BOOL m_bRatioMode = 1;        // 1: the ratio; 0: numerator "/" denominator

private:
    CString ValueText() const;
    // Unit label and prefix/suffix decoration around a value text.
    CString Decorate(const CString& value) const;
};
