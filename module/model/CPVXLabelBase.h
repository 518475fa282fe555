// CPVXLabelBase: writes result numbers, short texts and extreme markers on a device context.
//
// A label lives on the stack of one drawing operation. It takes its number format, colours,
// background mode and font from the number options of the display options (SetLabelOption),
// is prepared on a device context (BeginDraw: DC state and a label font turned by an angle),
// writes any number of values or texts at window points, and is finished (EndDraw: the previous
// font is selected again and the label font deleted).
//
//     CPVXBeamLabel label(pDC);
//     label.SetLabelOption(&pModel->m_pDispOpt->m_Number);
//     int angle = 300;                       // tenths of a degree
//     label.BeginDraw(&angle);
//     label.OutputNumber(pt.x, pt.y, value);
//     label.OutputMaxMin(pModel, &worldPt, 0, vmax);   // "Max:" + value and a cross
//     label.EndDraw();
//
// The subclasses are the member (CPVXBeamLabel), plate (CPVXPlatLabel) and wall (CPVXWallLabel)
// labels; only the member label knows its end alignments (GetTextAlign). Numbers are formatted
// into strings of any length, so neither a large magnitude nor a large digit count can overrun a
// buffer. Without a device context nothing is drawn.
#pragma once

#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"
#include "platform/gdi/afxgdi.h"

class C3DPoint;
class I_PVXModel;
struct T_PVX_DOPT_NUMBER_D;

class CPVXLabelBase {
public:
    // Largest digit count a number format takes; larger counts are cut to it, negative ones to 0.
    static constexpr int kMaxDigits = 20;

    explicit CPVXLabelBase(CDC* pDC = nullptr);
    virtual ~CPVXLabelBase();
    CPVXLabelBase(const CPVXLabelBase&) = delete;
    CPVXLabelBase& operator=(const CPVXLabelBase&) = delete;

    // Text alignment (TA_ flags) of the number at a position of a member (0 middle, 1 and 2 the
    // ends) for a slope flag; 0 here: only member labels place their ends.
    virtual int GetTextAlign(int nPos, int bFlag);

    void SetDC(CDC* pDC) { m_pDC = pDC; }
    CDC* GetDC() const { return m_pDC; }

    // Takes the exponent flag and digit count, the middle number colour, the background colour,
    // the opaque switch and (borrowed) the number font of the options. Null changes nothing.
    void SetLabelOption(T_PVX_DOPT_NUMBER_D* pOpt);
    // Number format "%.<digits>e" (exponent) or "%.<digits>f".
    void SetNumberFormat(int bExponent, int nDigits);
    // The value printed with the number format.
    CString FormatNumber(double dValue) const;

    // Prepares the device context (background mode, text and background colour, alignment 14)
    // and selects the label font turned by *pAngle (tenths of a degree; 0 when null), its height
    // taken for the current view. A label already begun is ended first.
    void BeginDraw(int* pAngle = nullptr);
    // Selects the previous font again and deletes the label font.
    void EndDraw();

    // Writes a value (or a ready text) at window point (x, y). Optional: the alignment for this
    // and later outputs, the text colour (else the label's), the background colour, and an angle
    // for which a font is made for this one output.
    void OutputNumber(int x, int y, double dValue, int* pAlign = nullptr, COLORREF* pTextColor = nullptr,
                      COLORREF* pBackColor = nullptr, int* pAngle = nullptr);
    void OutputString(int x, int y, const CString& strText, int* pAlign = nullptr, COLORREF* pTextColor = nullptr,
                      COLORREF* pBackColor = nullptr, int* pAngle = nullptr);
    // Writes "Max:" (kind 0), "Min:" (1), "MAX:" (2) or nothing (other kinds) followed by the
    // value at the window point of a world point, then a cross of 8 pixels in the label's text
    // colour there. Nothing at all when the point lies off-screen (a negative coordinate).
    void OutputMaxMin(I_PVXModel* pModel, C3DPoint* pPoint, int nKind, double dValue, int* pAlign = nullptr,
                      COLORREF* pTextColor = nullptr, COLORREF* pBackColor = nullptr, int* pAngle = nullptr);

    // Position of a text of the given angle (tenths of a degree) beside an anchor: ten
    // scale-tenths away, perpendicular to the text line (angle 0 and scale 10: 10 pixels up).
    static POINT CalcRotatedTextPos(POINT ptAnchor, int nAngle, int nScale);
    // The anchor moved by nDistance pixels across a text line of the given escapement (tenths of
    // a degree), toward the text's top: escapement 0 gives (x, y - nDistance), 900 gives
    // (x - nDistance, y); a negative distance moves toward the text's foot. Every escapement is
    // taken, with the same rotation as the form above. A null anchor gives (0, 0).
    static CPoint CalcRotatedTextPos(const CPoint* pAnchor, int nEscapement, int nDistance);

    // The text of an extreme value: "Max:" (kind 0), "Min:" (1), "MAX:" (2) or no prefix (other
    // kinds) before the number already formatted.
    static CString MaxMinText(int nKind, const CString& strNumber);
    // The 8-pixel cross of an extreme value at a world point, in a 2-pixel pen of the colour;
    // drawn into the client window when the model draws to an external device.
    static void DrawMaxMinCross(CDC* pDC, I_PVXModel* pModel, const C3DPoint& point, COLORREF crPen);

    CDC* m_pDC;                  // borrowed
    int m_bExponent;             // non-zero: exponent notation
    int m_bOpaque;               // non-zero: opaque text background
    int m_nDigits;               // digits after the decimal point
    COLORREF m_crText;
    COLORREF m_crBack;
    int m_nTextAlign;            // TA_ flags, 14 = bottom centre
    CString m_strFormat;         // printf format of a value, "%g" until SetNumberFormat
    LOGFONT* m_pLogFont;         // label font description, borrowed from the options; may be null
    CFont m_font;                // label font while drawing
    CFont* m_pOldFont;           // font selected before the label font

private:
    // Writes text at (x, y) with the optional settings of OutputNumber.
    void WriteText(int x, int y, const CString& strText, int* pAlign, COLORREF* pTextColor, COLORREF* pBackColor,
                   int* pAngle);
    // Makes a point font from the label's font description turned by nAngle, its height for the
    // current view. FALSE when there is no description or the font cannot be made.
    BOOL CreateLabelFont(CFont& font, int nAngle) const;
};

// Member label: numbers at the ends of a member are aligned away from the member.
class CPVXBeamLabel : public CPVXLabelBase {
public:
    explicit CPVXBeamLabel(CDC* pDC = nullptr) : CPVXLabelBase(pDC) {}
    // Position 1: bottom-right (10) with the flag, else bottom-left (8); position 2 the reverse;
    // any other position bottom-centre (14).
    int GetTextAlign(int nPos, int bFlag) override;
};

// Plate label.
class CPVXPlatLabel : public CPVXLabelBase {
public:
    explicit CPVXPlatLabel(CDC* pDC = nullptr) : CPVXLabelBase(pDC) {}
};

// Wall label.
class CPVXWallLabel : public CPVXLabelBase {
public:
    explicit CPVXWallLabel(CDC* pDC = nullptr) : CPVXLabelBase(pDC) {}
};
