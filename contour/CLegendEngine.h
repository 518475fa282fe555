// CLegendEngine: the legend panel of a result drawing, one per result model.
//
// Every I_PVXModel embeds one legend engine and gives it the model as back-pointer when the
// model is initialised. The model asks it to choose the colour scale of the current display
// (ResetContourEngine) and to draw the panel (DrawContourLegend) after the memory image reached
// the window; the model also reads the panel's side and width unit to reserve a client margin
// for it (I_PVXModel::ResetLegendRect), and the view reads the editable-scale rectangle to open
// the popup legend window on a click.
//
// The nine colours come from the display options of the model (InitColor). Fonts, texts and
// the scales themselves are filled in by the legend drawing code.
#pragma once

#include "contour/ContourTypes.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"
#include "platform/gdi/afxgdi.h"

class I_PVXModel;
class CContourEngine;
class CPVXLegendWnd;
class CDC;

class CLegendEngine {
public:
    CLegendEngine();
    virtual ~CLegendEngine();
    CLegendEngine(const CLegendEngine&) = delete;
    CLegendEngine& operator=(const CLegendEngine&) = delete;

    // Copies the nine legend colours from the owning model's display options; nothing without
    // a model or display options.
    void InitColor();
    // Builds the title and value fonts for screen output (the model passes 18 and 12).
    void InitFont(int nTitleHeight, int nValueHeight);
    // Builds both fonts from the panel width, for printing and image export.
    void InitVirtualFont();
    // Chooses the colour scale of the result engine that serves the current display mode.
    void ResetContourEngine();
    // Draws the whole panel. The five value pointers are unused; callers pass null.
    void DrawContourLegend(CDC* pDC, int bUseRect, CRect* pRect, double* p1, double* p2, double* p3, double* p4,
                           double* p5);
    // Whether the user may type the scale levels of this display mode.
    static int IsPossibleUserDefGlobalRange(I_PVXModel* pModel, int nDisplayMode);

    int m_bOpenGLReady;                  // the view-direction triad's GL context is ready
    I_PVXModel* m_pModel;                // owning model, not owned
    CContourEngine* m_pContourEngine;    // colour scale of the current display, not owned; may be null
    int m_nTitleCharWidth;               // width unit of the panel: 1.5 x the title font's average width
    int m_nTitleLineHeight;              // character height of the title font
    int m_nValueCharWidth;               // average character width of the value font
    int m_nValueLineHeight;              // character height of the value font
    LOGFONT m_lfTitle;
    LOGFONT m_lfValue;
    CFont m_fontTitle;
    CFont m_fontValue;
    COLORREF m_crBackTop;                // top of the panel gradient and the panel outline
    COLORREF m_crLine;                   // separator lines and scale ticks
    COLORREF m_crText;                   // ordinary legend text
    COLORREF m_crBackBottom;             // bottom of the panel gradient
    COLORREF m_crSaveBackTop;            // gray-print saves of the first three colours
    COLORREF m_crSaveLine;
    COLORREF m_crSaveText;
    COLORREF m_crReserved;               // not fed from the display options
    COLORREF m_crPercent;                // percentage column of the contour scale
    COLORREF m_crWindow;                 // background of the popup legend window
    COLORREF m_crInstruction;            // result-kind and load lines of the header
    COLORREF m_crMax;                    // maximum line of the footer
    COLORREF m_crMin;                    // minimum line of the footer
    int m_nPanelPlacement;               // side of the panel: 0 left margin, 1 right margin
    int m_bExponent;                     // scale values in exponent notation
    int m_bAutoDigits;                   // fixed-point digits chosen automatically
    int m_nDecimals;                     // decimals of fixed-point values
    int m_bCompact;                      // short number style
    CArray<CLgndValRect, CLgndValRect&> m_arrValRect;  // top and bottom value labels
    int m_bLegendRect;                   // m_rcLegend holds an editable scale drawn by the last panel
    CRect m_rcLegend;                    // where that scale was drawn, client coordinates
    CPVXLegendWnd* m_pLegendWnd;         // open popup legend window, set and cleared by the view
};
