// T_PVX_DOPT_D: the display options of one result model.
//
// Each I_PVXModel owns one record (I_PVXModel::m_pDispOpt). It caches the colours, fonts and
// drawing switches that the host keeps in its display-option manager, a few view-state values
// of the graphics control, and the module's own number-output and legend settings. All drawing
// code reads colours and fonts from here, never from the host. The constructor sets the record
// defaults; I_PVXModel::InitPVXModel then sets the per-view initial values and refreshes the
// rest from the host.
#pragma once

#include <cstring>

#include "platform/afx/afxtypes.h"

class CDispOptMgr;
class I_PVXCtrl;
struct T_PMEMB_D;

// A colour triple: line colour, face colour, edge colour (outline of a filled face).
struct T_PVX_COLOR3_D {
    COLORREF crLine;
    COLORREF crFace;
    COLORREF crEdge;
};

// Object colours. The save fields hold the screen colours while gray printing.
struct T_PVX_DOPT_COLOR_D {
    COLORREF m_crContourLine, m_crContourLineSave;  // outline of contour bands (contour switch off)
    COLORREF m_crBackground, m_crBackgroundSave;
    COLORREF m_crInactive, m_crInactiveSave;
    COLORREF m_crUndeformed, m_crUndeformedSave;
    T_PVX_COLOR3_D m_aTypeColor[31];                 // triples by member type
    T_PVX_COLOR3_D m_aTypeColorSave[31];
    COLORREF m_crAxis[3];                            // x, y, z plate local axes
    COLORREF m_crAxisSave[3];
    T_PVX_COLOR3_D m_aTypeColorEx[3];                // member types 403, 400, 401
    T_PVX_COLOR3_D m_aTypeColorExSave[3];
    int m_bGraySaved;                                // the colours above hold gray-print colours
};

// Legend and contour annotation.
struct T_PVX_DOPT_LEGEND_D {
    int m_nLegendWidth;            // panel width in characters
    int m_bShowLegend;             // legend panel drawn
    int m_bAnnotOpaque;            // annotation text on an opaque background
    COLORREF m_crLegend[9];        // background bottom, background top, line, text, percent,
                                   // window, instruction, maximum, minimum
    COLORREF m_crAnnotText, m_crAnnotBack;
    COLORREF m_crAnnotTextSave, m_crAnnotBackSave;
    LOGFONT m_lfAnnot;
    int m_bGraySaved;
};

// Number output and label fonts.
struct T_PVX_DOPT_NUMBER_D {
    double m_dNumberFactor;
    int m_nNumberAngle;            // fixed angle of the number fonts, tenths of a degree
    int m_nDecimals;               // digit count of the number format
    int m_nNumberOpt1;
    int m_bFixedNumberAngle;       // number fonts take m_nNumberAngle instead of the caller's angle
    int m_bExponent;               // 1 exponent notation, 0 fixed
    int m_nNumberOpt2;
    int m_bShowNumbers;            // numbers of the current result drawn after it
    int m_nReactionNumberOpt;
    int m_bNumberOpaque;
    int m_bNodeNumberOpaque;
    int m_bPickOpaque;
    COLORREF m_crNumber[3];        // text colours of the three number label variants
    COLORREF m_crNodeNumber;
    COLORREF m_crNumberBack, m_crNodeNumberBack;
    COLORREF m_crNumberSave[3], m_crNodeNumberSave, m_crNumberBackSave, m_crNodeNumberBackSave;
    COLORREF m_crPick, m_crPickSave;
    COLORREF m_crPickBack, m_crPickBackSave;
    LOGFONT m_lfNumber;            // escapement and orientation set by SetNumberFontOrientation
    LOGFONT m_lfNodeNumber;        // escapement and orientation set by SetNumberFontNodeOrientation
    int m_bAxisOpaque;
    COLORREF m_crAxisBack, m_crAxisBackSave;
    LOGFONT m_lfAxis;
    LOGFONT m_lfPick;
    int m_bGraySaved;
};

struct T_PVX_DOPT_D {
    T_PVX_DOPT_COLOR_D m_Color;
    int m_nColorMode;              // 2: objects coloured by member type
    int m_nRenderMode;             // 1 faces, 2 hidden-line, 3 faces with edges
    int m_bWireFrame;              // faces drawn as edges only
    int m_bLineCulling;
    int m_bPlaneCulling;
    int m_nBarResultOpt;           // copied from the result bars
    int m_bUndeformedWireFrame;
    int m_bUndeformedLineCulling;
    int m_bUndeformedPlaneCulling;
    int m_nPartialDisplay1;
    int m_nPartialDisplay2;
    int m_nRenderStyle;            // rendering-style value compared with the host's
    int m_nRenderScale[2];         // scaled by the virtual width/height ratio for one draw
    int m_nRenderScaleSave[2];
    int m_bShrink;                 // elements drawn shrunk toward their centre
    double m_dShrinkFactor;
    int m_bShading;                // flat shading of faces
    int m_bSpecular;               // specular highlight of shaded faces
    T_PVX_DOPT_LEGEND_D m_Legend;
    T_PVX_DOPT_NUMBER_D m_Number;
    int m_nPrintColorMode;         // 0 gray printing, 2 print colours

    T_PVX_DOPT_D() {
        std::memset(static_cast<void*>(this), 0, sizeof(*this));
        m_Color.m_crAxis[0] = RGB(255, 0, 0);
        m_Color.m_crAxis[1] = RGB(0, 255, 0);
        m_Color.m_crAxis[2] = RGB(0, 0, 255);
        SetDefaultFont(m_Number.m_lfNumber);
        SetDefaultFont(m_Number.m_lfAxis);
        m_Number.m_bAxisOpaque = 0;
        m_Number.m_bShowNumbers = 1;
        m_nPrintColorMode = 1;
    }

    // Refreshes the record from the host: the view state of the graphics control (when given),
    // then every font, text style, colour and draw value from the option manager (when given).
    // An option the host does not have leaves the fields it feeds unchanged.
    void UpdateFromHost(CDispOptMgr* pMgr, I_PVXCtrl* pCtrl);
    // Reads the print colour mode, then loads the print colours and print fonts when bPrint is
    // set and the mode is 2, else the screen ones. Returns 1 when the print set was loaded.
    // View state, draw values and the undeformed style are left alone.
    int LoadColorSet(CDispOptMgr* pMgr, int bPrint);
    // Gray printing of the record's own colours: black text on white, gray inactive and
    // undeformed objects, black outlines. Each part (colours, legend, numbers) keeps the screen
    // colours once: a second BeforeGrayPrinting keeps the first saves; RestoreGrayPrinting
    // puts back what was saved and does nothing for a part that was not saved.
    void SubstituteGrayPrinting();
    void RestoreGrayPrinting();
    // Outline (pColor[0]) and fill (pColor[1]) colour of a member of the given type code, by the
    // colour mode, wire-frame switch and render mode; bExternalDevice: the drawing goes to a
    // device (with print colour mode 0 that is gray printing). A render mode other than 1, 2
    // and 3 (outside wire frame) leaves pColor unchanged.
    void GetMembColor(int nMembType, int bExternalDevice, COLORREF* pColor) const;
    // Position in m_aTypeColor of a member type code (0 for the types without their own
    // triple); -1, -2, -3 name m_aTypeColorEx[0], [1], [2].
    static int TypeColorIndex(int nMembType);

    // The label font used until the host's fonts are read.
    static void SetDefaultFont(LOGFONT& lf) {
        std::memset(&lf, 0, sizeof(lf));
        lf.lfHeight = 80;
        lf.lfWeight = 400;
        lf.lfCharSet = 1;
        lf.lfOutPrecision = 2;
        lf.lfClipPrecision = 1;
        std::strncpy(lf.lfFaceName, "Arail", sizeof(lf.lfFaceName) - 1);
    }
};
