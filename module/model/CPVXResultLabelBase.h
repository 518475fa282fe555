// CPVXResultLabelBase: writes the story shear-force ratio numbers on a device context.
//
// The force engine fills the fields (device context, number font, digits, exponent and opaque
// switches, colours), calls BeginDraw once, then DrawText per number. Numbers carry a blank on
// each side (" %.<digits>f "). The font angle goes through the model's number-font orientation,
// so the fixed number angle of the display options wins when it is set. The model is reached
// through the owning view, or is given directly when the label has no view.
//
//     CPVXResultLabelBase label(pDC, pModel);
//     label.m_pLogFont = &pModel->m_pDispOpt->m_Number.m_lfNumber;
//     label.BeginDraw();
//     label.DrawText(&pt, ratio, &angle, nullptr);
#pragma once

#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"
#include "platform/gdi/afxgdi.h"

class C3DPoint;
class CPVXView;
class I_PVXModel;

class CPVXResultLabelBase {
public:
    explicit CPVXResultLabelBase(CDC* pDC = nullptr, I_PVXModel* pModel = nullptr);
    virtual ~CPVXResultLabelBase();
    CPVXResultLabelBase(const CPVXResultLabelBase&) = delete;
    CPVXResultLabelBase& operator=(const CPVXResultLabelBase&) = delete;

    // Background mode, colours and alignment on the device context, the number format, and the
    // model's number-font orientation set to m_nOrientation. Nothing without a device context.
    virtual void BeginDraw();
    virtual void Reset() {}
    // Writes a value at a window point in a point font made from m_pLogFont; an orientation
    // (tenths of a degree) goes to the model's number font first; a colour replaces the label's
    // for this number.
    virtual void DrawText(CPoint* pPoint, double dValue, int* pOrientation = nullptr, COLORREF* pColor = nullptr);
    virtual void EndDraw(CPoint* pPoint, double dValue, int* pOrientation = nullptr, COLORREF* pColor = nullptr) {}
    // Extreme value: "Max:" (kind 0), "Min:" (1) or "MAX:" (2) followed by the value at the
    // window point of a world point, and a cross of 8 pixels there; nothing off-screen.
    virtual void OutputMaxMin(C3DPoint* pPoint, double dValue, int nKind, int* pOrientation = nullptr, int nOpt = 0);

    // The model the label writes for: the view's, else the one given.
    I_PVXModel* GetModel() const;
    // The value in the current format (set by BeginDraw).
    CString FormatNumber(double dValue) const;

    CDC* m_pDC;                 // borrowed
    LOGFONT* m_pLogFont;        // number font description, borrowed; null: the DC's font is used
    CPVXView* m_pView;          // owning view, borrowed; may be null
    I_PVXModel* m_pModel;       // used when there is no view
    CString m_strFormat;        // " %.6f " after BeginDraw
    int m_bExponent;            // non-zero: exponent notation
    int m_bOpaque;              // non-zero: opaque text background
    COLORREF m_crText;
    COLORREF m_crBack;
    int m_nDigits;              // digits after the decimal point
    int m_nOrientation;         // number font angle, tenths of a degree
    int m_nTextAlign;           // TA_ flags, 14 = bottom centre

private:
    // Writes a text at a window point with the number font turned as the model's number font.
    void WriteText(int x, int y, const CString& strText, COLORREF* pColor);
};
