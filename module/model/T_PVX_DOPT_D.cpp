#include "module/model/T_PVX_DOPT_D.h"

#include "host/db/CDispOptMgr.h"
#include "host/grx/I_PVXCtrl.h"

namespace {

// Host option names by position, as the manager's name objects list them.
enum {
    kColorBackground = 0,
    kColorUndeformed = 129,
    kColorInactive = 130,
    kColorContourLine = 210,
    kDrawColorMode = 0,
    kDrawRender = 1,
    kDrawUndeformed = 2,
    kDrawPrint = 4,
    kDrawPartial = 5,
};

// Triples read from the host: position in m_aTypeColor (negative: m_aTypeColorEx[-pos - 1]),
// then the names of the line (also the edge) colour and of the face colour.
struct TripleSource {
    int pos;
    int line;
    int face;
};
const TripleSource kTriples[] = {
    {0, 108, 109}, {3, 18, 19},   {1, 21, 20},  {2, 25, 24},   {4, 31, 30},   {5, 27, 26},
    {14, 38, 37},  {10, 23, 22},  {26, 29, 28}, {22, 44, 43},  {-1, 94, 95},  {-2, 103, 104},
    {-3, 97, 98},  {6, 35, 34},   {18, 46, 45}, {30, 42, 41},
};
// Position 0 reads its edge colour from a name of its own.
const int kTriple0Edge = 110;

// m_crLegend in order: background bottom, background top, line, text, percent, window,
// instruction, maximum, minimum.
const int kLegendNames[9] = {141, 140, 142, 143, 145, 144, 146, 147, 148};
const int kAxisNames[3] = {182, 183, 184};

// Screen and print font names: number, node number, pick, annotation, axis label.
const int kScreenFonts[5] = {34, 35, 25, 36, 37};
const int kPrintFonts[5] = {56, 57, 47, 58, 59};

// The triples that gray printing substitutes and saves: 0, 1 and the groups 7-10, 11-14, 23-26.
bool IsGrayTriple(int pos) { return pos == 0 || pos == 1 || (pos >= 7 && pos <= 14) || (pos >= 23 && pos <= 26); }

class OptionReader {
public:
    OptionReader(CDispOptMgr* pMgr, int bPrint) : m_pMgr(pMgr), m_bPrint(bPrint) {}

    // Screen (or, with bPrintable in a print set, print) colour k into cr; 0 when missing.
    int Color(int k, COLORREF& cr, bool bPrintable = true) {
        CDispOptColorObj* p = (m_bPrint && bPrintable) ? m_pMgr->GetPrtColor(m_color[k]) : m_pMgr->GetColor(m_color[k]);
        if (!p) return 0;
        cr = p->m_Value;
        return 1;
    }
    CDispOptFontObj* Font(int k) { return m_pMgr->GetFont(m_font[k]); }
    CDispOptDrawObj* Draw(int k) { return m_pMgr->GetDraw(m_draw[k]); }
    int DrawValue(int k, int j, int& value) {
        CDispOptDrawObj* p = Draw(k);
        if (!p || j < 0 || j >= CDispOptDrawObj::COUNT) return 0;
        value = p->m_Value[j];
        return 1;
    }

private:
    CDispOptMgr* m_pMgr;
    int m_bPrint;
    COptColorObjNames m_color;
    COptFontObjNames m_font;
    COptDrawObjNames m_draw;
};

// The host font as a point font in tenths of a point, width chosen by the font engine.
void ReadLogFont(CDispOptFontObj* p, LOGFONT& lf) {
    CDispOptFontObj::GetLogFont(p->m_Value, lf);
    lf.lfHeight *= 10;
    lf.lfWidth = 0;
}

int Opaque(const SDispOptFontVal& v) { return v.m_bTransparent == 0 ? 1 : 0; }

void ReadColors(T_PVX_DOPT_D& d, OptionReader& r) {
    T_PVX_DOPT_COLOR_D& c = d.m_Color;
    r.Color(kColorBackground, c.m_crBackground);
    r.Color(kColorInactive, c.m_crInactive);
    r.Color(kColorUndeformed, c.m_crUndeformed);
    for (const TripleSource& t : kTriples) {
        T_PVX_COLOR3_D& tri = t.pos >= 0 ? c.m_aTypeColor[t.pos] : c.m_aTypeColorEx[-t.pos - 1];
        COLORREF cr;
        // Object colours have no print variant of their own.
        if (r.Color(t.line, cr, false)) tri.crLine = tri.crEdge = cr;
        if (r.Color(t.face, cr, false)) tri.crFace = cr;
        if (t.pos == 0 && r.Color(kTriple0Edge, cr, false)) tri.crEdge = cr;
    }
    for (int i = 0; i < 9; ++i) r.Color(kLegendNames[i], d.m_Legend.m_crLegend[i]);
    for (int i = 0; i < 3; ++i) r.Color(kAxisNames[i], c.m_crAxis[i]);
}

void ReadFonts(T_PVX_DOPT_D& d, OptionReader& r, const int names[5]) {
    T_PVX_DOPT_NUMBER_D& n = d.m_Number;
    T_PVX_DOPT_LEGEND_D& l = d.m_Legend;
    // A font record gives the font, the opaque switch and the background; the text colour is
    // left to the caller (the record when there is one, else null and nothing changes).
    auto readFont = [&r](int name, LOGFONT& lf, int& bOpaque, COLORREF& crBack) -> CDispOptFontObj* {
        CDispOptFontObj* p = r.Font(name);
        if (!p) return nullptr;
        ReadLogFont(p, lf);
        bOpaque = Opaque(p->m_Value);
        crBack = p->m_Value.m_crBack;
        return p;
    };
    if (CDispOptFontObj* p = readFont(names[0], n.m_lfNumber, n.m_bNumberOpaque, n.m_crNumberBack))
        n.m_crNumber[0] = n.m_crNumber[1] = n.m_crNumber[2] = p->m_Value.m_crText;
    if (CDispOptFontObj* p = readFont(names[1], n.m_lfNodeNumber, n.m_bNodeNumberOpaque, n.m_crNodeNumberBack))
        n.m_crNodeNumber = p->m_Value.m_crText;
    if (CDispOptFontObj* p = readFont(names[2], n.m_lfPick, n.m_bPickOpaque, n.m_crPickBack))
        n.m_crPick = p->m_Value.m_crText;
    if (CDispOptFontObj* p = readFont(names[3], l.m_lfAnnot, l.m_bAnnotOpaque, l.m_crAnnotBack))
        l.m_crAnnotText = p->m_Value.m_crText;
    readFont(names[4], n.m_lfAxis, n.m_bAxisOpaque, n.m_crAxisBack);
}

}  // namespace

void T_PVX_DOPT_D::UpdateFromHost(CDispOptMgr* pMgr, I_PVXCtrl* pCtrl) {
    int nUndeformedWire = 0;
    int bHaveViewState = 0;
    if (pCtrl) {
        int nHidden = 0, nCulling = 0;
        pCtrl->GetREViewState(m_bWireFrame, nUndeformedWire, nHidden, m_bShrink, m_dShrinkFactor, nCulling);
        bHaveViewState = 1;
    }
    if (!pMgr) {
        if (bHaveViewState) m_bUndeformedWireFrame = nUndeformedWire == 1 ? 1 : 0;
        return;
    }

    OptionReader r(pMgr, 0);
    ReadFonts(*this, r, kScreenFonts);
    r.DrawValue(kDrawColorMode, 5, m_nColorMode);
    ReadColors(*this, r);

    r.DrawValue(kDrawRender, 4, m_nRenderMode);
    r.DrawValue(kDrawRender, 5, m_bLineCulling);
    r.DrawValue(kDrawRender, 6, m_bPlaneCulling);
    r.DrawValue(kDrawPartial, 2, m_nPartialDisplay1);
    r.DrawValue(kDrawPartial, 3, m_nPartialDisplay2);
    r.DrawValue(kDrawPrint, 0, m_nPrintColorMode);

    int nStyle = 0;
    if (r.DrawValue(kDrawUndeformed, 4, nStyle))
        m_bUndeformedWireFrame = nStyle == 1 ? 1 : 0;
    else if (bHaveViewState)
        m_bUndeformedWireFrame = nUndeformedWire == 1 ? 1 : 0;
    r.DrawValue(kDrawUndeformed, 5, m_bUndeformedLineCulling);
    r.DrawValue(kDrawUndeformed, 6, m_bUndeformedPlaneCulling);

    r.Color(kColorContourLine, m_Color.m_crContourLine);
}

int T_PVX_DOPT_D::LoadColorSet(CDispOptMgr* pMgr, int bPrint) {
    if (!pMgr) return 0;
    {
        OptionReader modes(pMgr, 0);
        modes.DrawValue(kDrawPrint, 0, m_nPrintColorMode);
    }
    const int bPrintSet = (bPrint && m_nPrintColorMode == 2) ? 1 : 0;
    OptionReader r(pMgr, bPrintSet);
    ReadColors(*this, r);
    ReadFonts(*this, r, bPrintSet ? kPrintFonts : kScreenFonts);
    r.Color(kColorContourLine, m_Color.m_crContourLine);
    return bPrintSet;
}

void T_PVX_DOPT_D::SubstituteGrayPrinting() {
    const COLORREF white = RGB(255, 255, 255);

    T_PVX_DOPT_NUMBER_D& n = m_Number;
    if (!n.m_bGraySaved) {
        for (int i = 0; i < 3; ++i) n.m_crNumberSave[i] = n.m_crNumber[i];
        n.m_crNodeNumberSave = n.m_crNodeNumber;
        n.m_crNumberBackSave = n.m_crNumberBack;
        n.m_crNodeNumberBackSave = n.m_crNodeNumberBack;
        n.m_crPickSave = n.m_crPick;
        n.m_crPickBackSave = n.m_crPickBack;
        n.m_crAxisBackSave = n.m_crAxisBack;
        n.m_bGraySaved = 1;
    }
    n.m_crNumber[0] = n.m_crNumber[1] = n.m_crNumber[2] = 0;
    n.m_crNodeNumber = 0;
    n.m_crNumberBack = n.m_crNodeNumberBack = white;
    n.m_crAxisBack = white;

    T_PVX_DOPT_LEGEND_D& l = m_Legend;
    if (!l.m_bGraySaved) {
        l.m_crAnnotTextSave = l.m_crAnnotText;
        l.m_crAnnotBackSave = l.m_crAnnotBack;
        l.m_bGraySaved = 1;
    }
    l.m_crAnnotText = l.m_crAnnotBack = RGB(25, 25, 25);

    T_PVX_DOPT_COLOR_D& c = m_Color;
    if (!c.m_bGraySaved) {
        c.m_crBackgroundSave = c.m_crBackground;
        c.m_crInactiveSave = c.m_crInactive;
        c.m_crUndeformedSave = c.m_crUndeformed;
        for (int i = 0; i < 31; ++i)
            if (IsGrayTriple(i)) c.m_aTypeColorSave[i] = c.m_aTypeColor[i];
        for (int i = 0; i < 3; ++i) {
            c.m_crAxisSave[i] = c.m_crAxis[i];
            c.m_aTypeColorExSave[i] = c.m_aTypeColorEx[i];
        }
        c.m_crContourLineSave = c.m_crContourLine;
        c.m_bGraySaved = 1;
    }
    c.m_crBackground = white;
    c.m_crInactive = c.m_crUndeformed = RGB(140, 140, 140);
    c.m_crAxis[0] = c.m_crAxis[1] = c.m_crAxis[2] = 0;
    for (int i = 0; i < 31; ++i)
        if (IsGrayTriple(i)) c.m_aTypeColor[i] = T_PVX_COLOR3_D{0, white, 0};
    c.m_crContourLine = 0;
}

void T_PVX_DOPT_D::RestoreGrayPrinting() {
    T_PVX_DOPT_COLOR_D& c = m_Color;
    const int bColorSaved = c.m_bGraySaved;
    if (bColorSaved) {
        c.m_crBackground = c.m_crBackgroundSave;
        c.m_crInactive = c.m_crInactiveSave;
        c.m_crUndeformed = c.m_crUndeformedSave;
        for (int i = 0; i < 31; ++i)
            if (IsGrayTriple(i)) c.m_aTypeColor[i] = c.m_aTypeColorSave[i];
        for (int i = 0; i < 3; ++i) {
            c.m_crAxis[i] = c.m_crAxisSave[i];
            c.m_aTypeColorEx[i] = c.m_aTypeColorExSave[i];
        }
        c.m_bGraySaved = 0;
    }

    T_PVX_DOPT_NUMBER_D& n = m_Number;
    if (n.m_bGraySaved) {
        for (int i = 0; i < 3; ++i) n.m_crNumber[i] = n.m_crNumberSave[i];
        n.m_crNodeNumber = n.m_crNodeNumberSave;
        n.m_crNumberBack = n.m_crNumberBackSave;
        n.m_crNodeNumberBack = n.m_crNodeNumberBackSave;
        n.m_crPick = n.m_crPickSave;
        n.m_crPickBack = n.m_crPickBackSave;
        n.m_crAxisBack = n.m_crAxisBackSave;
        n.m_bGraySaved = 0;
    }

    T_PVX_DOPT_LEGEND_D& l = m_Legend;
    if (l.m_bGraySaved) {
        l.m_crAnnotText = l.m_crAnnotTextSave;
        l.m_crAnnotBack = l.m_crAnnotBackSave;
        l.m_bGraySaved = 0;
    }

    // The contour line colour goes back last, after the other parts.
    if (bColorSaved) c.m_crContourLine = c.m_crContourLineSave;
}

int T_PVX_DOPT_D::TypeColorIndex(int nMembType) {
    switch (nMembType) {
    case 201: return 1;
    case 205: return 2;
    case 101: return 3;
    case 204: return 4;
    case 206: return 5;
    case 200: case 403: return 6;  // pile elements are drawn as the line members they were
    case 202: case 208: case 209: case 210: case 211: case 212: return 10;
    case 301: return 14;
    case 300: return 18;
    case 304: return 22;
    case 203: return 26;
    case 302: return 30;
    case 400: return -2;
    case 401: return -3;
    default: return 0;
    }
}

void T_PVX_DOPT_D::GetMembColor(int nMembType, int bExternalDevice, COLORREF* pColor) const {
    if (!pColor) return;
    const bool bGrayDevice = m_nPrintColorMode == 0 && bExternalDevice;
    const int pos = m_nColorMode == 2 ? TypeColorIndex(nMembType) : 0;
    const T_PVX_COLOR3_D& t = pos >= 0 ? m_Color.m_aTypeColor[pos] : m_Color.m_aTypeColorEx[-pos - 1];
    if (m_bWireFrame) {
        // Edges only: gray printing draws them in the line colour, the screen in the face
        // colour (slabs of type 301 keep their line colour).
        const COLORREF cr = (bGrayDevice || nMembType == 301) ? t.crLine : t.crFace;
        pColor[0] = pColor[1] = cr;
        return;
    }
    switch (m_nRenderMode) {
    case 1: pColor[0] = pColor[1] = t.crFace; break;
    case 2: pColor[0] = pColor[1] = t.crLine; break;
    case 3:
        pColor[0] = t.crEdge;
        pColor[1] = t.crFace;
        break;
    default: break;
    }
}
