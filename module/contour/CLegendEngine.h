// CLegendEngine: the legend panel of a result drawing, one per result model.
//
// Every I_PVXModel embeds one legend engine and gives it the model as back-pointer when the
// model is initialised. The model asks it to choose the colour scale of the current display
// (ResetContourEngine) and to draw the panel (DrawContourLegend) after the memory image reached
// the window; the model also reads the panel's side and width unit to reserve a client margin
// for it (I_PVXModel::ResetLegendRect), and the view reads the editable-scale rectangle to open
// the popup legend window on a click.
//
//     model.m_LegendEngine.ResetContourEngine();
//     model.m_LegendEngine.DrawContourLegend(pDC, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
//
// The panel is a gradient background with a header (title, result kind, load, component and
// unit), a scale chosen by the display mode (colour bands with level values and percentages,
// a discrete scale, or a block of extreme values) and a footer (maximum and minimum keys, file
// and date). The nine colours come from the display options of the model (InitColor); fonts
// are built for the screen (InitFont) or from the panel width for printing (InitVirtualFont).
// Texts are string keys resolved by the host's string loader. UI thread only.
#pragma once

#include <initializer_list>

#include "module/contour/ContourTypes.h"
#include "host/grx/C3DPoint.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/afxgdi.h"

struct tm;

class I_PVXModel;
class CContourEngine;
class CPVXLegendWnd;

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
    // The panel's picture, kept by DrawKeptLegend from one call to the next.
    struct KeptPanel {
        CBitmap bitmap;
        CDC dc;       // holds bitmap, the panel's pixels
        CRect rect;   // where the panel was drawn
        bool bKept = false;
    };
    // ResetContourEngine and DrawContourLegend the first time, then the panel's picture copied
    // back: for a film, whose legend is the same in every frame (the levels are the engine's; a
    // frame only scales the values it colours).
    void DrawKeptLegend(CDC* pDC, KeptPanel& kept);
    // Whether the user may type the scale levels of this display mode.
    static int IsPossibleUserDefGlobalRange(I_PVXModel* pModel, int nDisplayMode);
    // Whether the slab force on beams (mode 22) is coloured: the rib diagrams as a contour. Per
    // slab member it writes numbers only, and its legend is the moments' extremes block.
    static int IsSlabBeamContour(const I_PVXModel* pModel);

    // ---- panel parts --------------------------------------------------------------------------
    // Header into r; r.bottom moves down past what was drawn.
    void DrawPreRainbow(CDC* pDC, CRect* pRect);
    // Scale of the current display mode into the scale area.
    void DrawRainbow(CDC* pDC, CRect* pRect);
    // Footer into the footer area.
    void DrawPostRainbow(CDC* pDC, CRect* pRect);

    // ---- scales -------------------------------------------------------------------------------
    // Colour bands with level values and percentages. bDeformed keeps 7/2 lines free below the
    // bands; bEditable marks the scale as one the user may edit; bInPopup draws for the popup
    // legend window (end values in red, the window's own, possibly edited, levels; the scale
    // rectangle left alone).
    void DrawContourRainbow(CDC* pDC, CRect* pRect, int bDeformed, int bEditable, int bInPopup);
    // Discrete bands with state names ("NULL" for a rank without a name) and percentages.
    void DrawPOHingeContourRainbow(CDC* pDC, CRect* pRect);
    // Mode-shape bands, then the period (or the critical load factor) unless bNoPeriod.
    void DrawMSContourRainbow(CDC* pDC, CRect* pRect, int bBuckling, int bNoPeriod);
    void DrawReacfRainbow(CDC* pDC, CRect* pRect);
    void DrawReacfRainbowComb(CDC* pDC, CRect* pRect, int nOpt);
    // Value line of a reaction extreme: component label and value.
    void GetReacMinMaxString(CString& str, int bMinimum, int nQuantity);
    void DrawSettlementRainbow(CDC* pDC, CRect* pRect);
    void DrawDeformRainbow(CDC* pDC, CRect* pRect);
    void DrawEgmdshpRainbow(CDC* pDC, CRect* pRect);
    void DrawBkmdshpRainbow(CDC* pDC, CRect* pRect);
    void DrawSForcRainbow(CDC* pDC, CRect* pRect);
    void DrawSRbarRainbow(CDC* pDC, CRect* pRect);
    void DrawSCracRainbow(CDC* pDC, CRect* pRect);
    void DrawSDflcRainbow(CDC* pDC, CRect* pRect);
    // Exported and empty.
    void DrawSfdbmdRainbow(CDC* pDC, CRect* pRect) {}
    void DrawSrhrcfRainbow(CDC* pDC, CRect* pRect) {}
    void GetPvxInstruction4Figure(CString& str) {}

    // ---- maxima listings: extreme values with their member or node instead of a colour scale ---
    // Each selects the value font and the text colour, leaves its last text alignment in place and
    // leaves pRect->bottom on the baseline of its last line.
    // Column-force maxima FY, FZ, N, MY, MZ of the force engine, each with its member.
    void DrawCForcRainbow(CDC* pDC, CRect* pRect);
    // ACR maximum and minimum of the design-data engine with their members; nothing while either
    // member key is 0.
    void DrawACRRainbow(CDC* pDC, CRect* pRect);
    // Caption of the base-force figures' labels: the five lines of each column's label, top to
    // bottom (FY, FZ, N, MY, MZ), each with its unit.
    void DrawBaseForceCaption(CDC* pDC, CRect* pRect);
    // Minimum and maximum reaction with node and load case, for figures.
    void DrawReacfRainbow4Figure(CDC* pDC, CRect* pRect);

    // ---- header and footer texts (a string is left unchanged when a mode has no text) ---------
    void GetPvxInstruction(CString& str);
    // 0 for modes without a component, else 1.
    int GetDisplayComponent(CString& str);
    void GetUnitString(CString& str);
    void GetLoadString(CString& str);
    void GetMnMxValKeyString(CString& strMax, CString& strMin);
    // What the model's extreme keys number for the display drawn: nodes, members or elements.
    enum { kNodeKeys, kMemberKeys, kElementKeys };
    int ExtremeKeyKind() const;
    // Upper-cased title of a file name, cut at its first "." or at the panel width less 9.
    void MakeTitleName(CString& str);
    // Today as MM/DD/YYYY.
    void GetDateString(CString& str);
    static void FormatDateString(const struct tm& t, CString& str);
    // Texts under 18 bytes unchanged, else the first 16 bytes (whole characters) and "~".
    void GetWidthFittingStr(CString strIn, CString& strOut);

    // ---- unit texts ---------------------------------------------------------------------------
    void GetDispUnitStr(CString& str);
    void GetReacUnitStr(CString& str);
    void GetBeamUnitStr(CString& str);
    void GetWallUnitStr(CString& str);
    void GetPlateUnitStr(CString& str);
    void GetSlabUnitStr(CString& str);
    void GetEgMdShpUnitStr(CString& str);
    void GetDutlFactUnitStr(CString& str);
    void GetDsgnSteelUnitStr(CString& str);
    void GetDsgnForceUnitStr(CString& str);
    void GetDsgnMomentUnitStr(CString& str);

    // ---- value formatting ---------------------------------------------------------------------
    // Chooses exponent notation and the number of decimals for a scale from a to b.
    void SetTextOutputSize(double dFirst, double dLast);
    // Number texts of the text-block scales: "%.3E" (deformation) or "%.4E" (reaction), or fixed
    // with m_nDecimals when m_bAutoDigits is set and the fixed text fits 11 characters. Write at
    // most nSize bytes, always terminated; the text never needs more than kTextScaleSize.
    static constexpr size_t kTextScaleSize = 16;
    void GetTextDeformedShape(double dValue, char* pszOut, size_t nSize = kTextScaleSize);
    void GetTextReaction(double dValue, char* pszOut, size_t nSize = kTextScaleSize);
    // Number text of the maxima listings ("%.3E", or fixed as above). Writes at most nSize bytes,
    // always terminated; the text never needs more than kTextCForcSize.
    static constexpr size_t kTextCForcSize = 16;
    void GetTextCForc(double dValue, char* pszOut, size_t nSize = kTextCForcSize);
    // A level value right-aligned in its field at the right of r, centred on r.top (or r.bottom).
    void TextOutContValue(CDC* pDC, CRect& r, int nCharWidth, int nLineHeight, double dValue, int bAtBottom);
    // The text of a contour scale value as TextOutContValue writes it.
    CString GetContValueText(double dValue) const;
    // A band percentage in the percent colour, centred vertically in r.
    void TextOutSubContValue(CDC* pDC, CRect& r, int nCharWidth, int nLineHeight, double dPercent);

    // ---- view-direction triad (exported; the host calls it with a rectangle of the panel) -----
    // Title, the lit axis triad in the right half of r (black left transparent) and the eye
    // point's three components beside it. The GL context is current only inside the call.
    void DrawViewDirection(CDC* pDC, CRect& r);
    // Builds the memory DC, the 24-bit DIB of the triad rectangle, the pixel format, the GL
    // context, the font lists and display list 1; m_bOpenGLReady is 1 on success.
    void InitOpenGl();
    // Releases everything InitOpenGl built except the font lists (they go with the context).
    void ClearOpenGl();
    void GlSetupRC();
    void GlResize();
    void GlRender(CDC* pDC);
    // Copies the DIB to (x, y) on pDC, leaving out pixels of colour crTransparent.
    void DrawDirectionTrans(CDC* pDC, int x, int y, COLORREF crTransparent);
    // Bitmap-font display lists of the value font; the three arguments are not used.
    void mglPrepareCharset2D(int n1, int n2, int n3);
    // Draws s at the current raster position through the font lists.
    void mglText2D(CString s);

    // Display mode the legend draws: a design legend's figure mode (GetDesignLegendMode), else
    // the model's display mode, or the bars' when the model has none.
    int GetLegendDisplayMode() const;
    // The figure mode of the model's figure controller when it has a design legend (23 beam
    // steel, 28 axial-compression ratio, 35 and 36 moment and shear envelopes) and the model
    // holds a design result data engine; -1 otherwise.
    int GetDesignLegendMode() const;
    // Length of "%g" of the integer part of v; 2 for a negative value whose integer part is 0.
    static int GetIntegerPartLength(double dValue);

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
    bool m_bPopupScale = false;          // a scale is being drawn into the popup window
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
    CRect m_rcPanel;                     // rectangle of the last panel this engine laid out
    // View-direction triad: GL state, rebuilt by every DrawViewDirection.
    HDC m_hGLMemDC = nullptr;            // memory DC holding the triad DIB
    HGLRC m_hGLRC = nullptr;             // GL context on m_hGLMemDC
    HBITMAP m_hGLDIB = nullptr;          // 24-bit DIB section the triad is rendered into
    HBITMAP m_hGLOldBitmap = nullptr;    // bitmap of m_hGLMemDC before the DIB was selected
    BITMAPINFO* m_pGLBmpInfo = nullptr;  // 1064-byte block: header and 256 palette entries, owned
    void* m_pGLDIBBits = nullptr;        // pixels of m_hGLDIB (rows bottom-up, B G R)
    int m_nTriadLeft = 0;                // triad image on the output device, logical units
    int m_nTriadTop = 0;
    int m_nTriadRight = 0;
    int m_nTriadBottom = 0;
    C3DPoint m_ptViewFirst;              // not read
    C3DPoint m_ptViewUp;                 // up vector of the triad camera
    C3DPoint m_ptViewEye;                // eye point: the view direction shown
    int m_nViewMatrixMode = 0;           // 0 camera from eye and up; else m_dViewTransform
    double m_dViewTranslation[3] = {};   // subtracted before m_dViewTransform
    double m_dViewTransform[16] = {};    // column-major 4x4 matrix
    int m_bPixelFormatSet = 0;           // SetPixelFormat succeeded on m_hGLMemDC
    int m_nFontListBase = 0;             // first display list of the bitmap font, 0 when none
    int m_nFontListCount = 128;          // number of font display lists

private:
    // Bands of a colour scale: nKind 0 contour values, 1 discrete names. bReserve keeps 7/2
    // lines free below the bands; bInPopup prints the end values in red; bWindowLevels takes the
    // level values from the open popup legend window (its edited copy) when it has one per
    // level. Returns the y of the scale's bottom edge.
    int DrawScaleBands(CDC* pDC, CRect* pRect, int nKind, int bReserve, int bRecordRect, int bInPopup,
                       int bWindowLevels);
    // Fills r as the panel background: plain bottom colour (profile switch), plain top colour
    // (printing and export) or the vertical gradient from crTop to the bottom colour.
    void FillPanelBackground(CDC* pDC, const CRect& r, COLORREF crTop);
    // The background FillPanelBackground gives the panel at device row y (the popup window's
    // colour while a popup scale is drawn).
    COLORREF PanelColorAt(int y) const;
    // cr made legible (LegibleTextColor) on the panel's rows y0 to y1.
    COLORREF Legible(COLORREF cr, int y0, int y1) const;
    // Unit text of a unit code through the host's unit table.
    void LoadUnit(int nCode, CString& str);
    void CreateLegendFont(CFont& font, const LOGFONT& lf);
    void MeasureFonts();
};

// Texts of string keys that serve as printf formats. The format must hold exactly one
// conversion of the argument's kind (d or i for an int; e, E, f, g or G for a double) and no
// other; a text that does not is shown with the number appended instead of being used as a
// format, so a bad string table can never read arguments that were not passed.
CString LegendFormatKeyInt(LPCTSTR pszKey, int nValue);
CString LegendFormatKeyDouble(LPCTSTR pszKey, double dValue);

// A legend number: fixed-point with nDecimals decimals (none when negative) when bAuto is set,
// nDecimals + 1 + the "%g" length of the integer part stays below 12 and the fixed text itself
// fits 11 characters; otherwise v in pszExp (an exponent format). Values from 1e6 on print their
// integer part in exponent form under "%g", so the second test is what keeps 1e70 in its field.
CString LegendNumberText(int bAuto, int nDecimals, double dValue, LPCTSTR pszExp);

// Where the widest of the labels written from x in the DC's font ends, never left of nMinEnd:
// the values of a listing start a character beyond it, so none reads as one word with its label.
int LegendLabelsEnd(CDC* pDC, int x, int nMinEnd, std::initializer_list<LPCTSTR> labels);

// The colour nearest to cr that reads at a contrast of at least 4.5 (the ratio of relative
// luminances plus 0.05) on both backgrounds: cr itself when it does, else cr moved towards white
// or black, whichever needs the smaller step; black or white when neither step reaches 4.5.
COLORREF LegibleTextColor(COLORREF cr, COLORREF back1, COLORREF back2);

// Fills lf with the fields every legend font shares (normal weight, charset 1, default quality)
// and the given cell height, width and face; the face is cut to fit lfFaceName.
void FillLegendLogFont(LOGFONT& lf, int nHeight, int nWidth, LPCTSTR pszFace);
