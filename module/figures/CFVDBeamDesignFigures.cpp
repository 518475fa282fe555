#include "module/figures/CFVDBeamDesignFigures.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "host/base/CMathFunc.h"
#include "host/base/CMsgDll.h"
#include "host/base/CZELF_DBLineObjData.h"
#include "host/db/DBTables.h"
#include "host/db/FoundationTables.h"
#include "module/figures/CFVDBeamForceFigures.h"
#include "module/figures/CFVDRatioStrMaker.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/FigureCheckText.h"
#include "module/figures/FigureText.h"

IMPLEMENT_DYNCREATE(CFVDBeamDesign_As, CFVDBase)
IMPLEMENT_DYNCREATE(CFVDBeamDesign_As_Link, CFVDBeamDesign_As)
IMPLEMENT_DYNCREATE(CFVDRibBeamDesign_As, CFVDBeamDesign_As)
IMPLEMENT_DYNCREATE(CFVDBeamDesign_Crack, CFVDBeamDesign_As)
IMPLEMENT_DYNCREATE(CFVDBeamDesign_Crack_Link, CFVDBeamDesign_Crack)
IMPLEMENT_DYNCREATE(CFVDBeamDesign_Crack_Rib, CFVDBeamDesign_Crack)

namespace {

constexpr int kAnchorAbove = 8;  // the block ends on the point
constexpr int kAnchorBelow = 0;  // the block hangs below the point
constexpr double kOverLimitValue = 100000.0;
// Text heights the steel blocks keep off the beam's line: across a turned beam the two lines
// next to it then stand as far apart as the lines of each block.
constexpr double kBeamStandOff = 0.45;
// Text heights between a span's end and the crack value written there.
constexpr double kEndTextClearance = 1.5;

CFVDRatioStrMaker Part(double value, const char* prefix) {
    return CFVDRatioStrMaker(value, CString(prefix), CString(), 0, 0);
}

// The member's line and text angle (degrees, 359 and above taken back by 360); FALSE when the
// member has no line.
BOOL MemberLine(UINT key, CDataBase* db, CDataBase* model, CZELF_DBLineObjData& line, double& angle) {
    if (!line.SetData(key, db, model, 0)) return FALSE;
    const CZELF_Point2D a = line.GetPtStart(), b = line.GetPtEnd();
    angle = CMathFunc::GetAngle(a.x, a.y, b.x, b.y, 1);
    if (angle > 359.0) angle -= 360.0;
    return TRUE;
}

void DrawBlock(CVdrawUtil* drawing, const CString& text, const CArray<COLORREF>& colours, const T_POINT2D& at,
               double angle, int anchor) {
    CFVDTextBlock block;
    block.m_strText = text;
    block.m_Colors.Copy(colours);
    block.m_dAngle = angle;
    block.m_nVerJust = anchor;
    block.m_bSpreadTurned = TRUE;
    block.m_dStandOff = kBeamStandOff;
    block.Draw(drawing, at);
}

}  // namespace

// ---- reinforcement ----------------------------------------------------------------------------

int CFVDBeamDesign_As::LargestSection(double start, double middle, double end) {
    const int outer = start > end ? 0 : 2;
    const double v = outer == 0 ? start : end;
    return middle > v ? 1 : outer;
}

CString CFVDBeamDesign_As::ReplaceOverLimit(const CString& text) {
    const std::string s = text.GetString();
    std::string out;
    size_t i = 0;
    while (i < s.size()) {
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) {
            out += s[i++];
            continue;
        }
        // One number: its digits and one fraction part.
        size_t j = i;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
        const size_t whole = j;
        if (j < s.size() && s[j] == '.') {
            ++j;
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
        }
        const std::string number = s.substr(i, j - i);
        bool overLimit = s.compare(i, whole - i, "100000") == 0;
        for (size_t k = whole + 1; overLimit && k < j; ++k) overLimit = s[k] == '0';
        out += overLimit ? std::string("***") : number;
        i = j;
    }
    return CString(out.c_str());
}

void CFVDBeamDesign_As::MakeAsTexts(const S_BEAMREBARAS s[3], BOOL hasExtra, double extra, BOOL over,
                                    CString& block1, CArray<COLORREF>& colours1, CString& block2,
                                    CArray<COLORREF>& colours2) {
    auto largest = [&](int i) { return s[LargestSection(s[0].d[i], s[1].d[i], s[2].d[i])].d[i]; };
    CArray<CFVDRatioStrMaker> one, two;
    one.Add(Part(largest(3), "G"));
    one.Add(Part(s[0].d[0], "\n"));
    one.Add(Part(s[1].d[0], "-"));
    one.Add(Part(s[2].d[0], "-"));
    two.Add(Part(s[0].d[1], ""));
    two.Add(Part(s[1].d[1], "-"));
    two.Add(Part(s[2].d[1], "-"));
    two.Add(Part(largest(2), "\nVT"));
    two.Add(Part(largest(4), "-"));
    if (hasExtra) two.Add(Part(extra, "\nY"));
    CFVDRatioStrMaker::s_MakeStrNoColor(one, block1, CString());
    CFVDRatioStrMaker::s_MakeStrNoColor(two, block2, CString());
    colours1.RemoveAll();
    colours2.RemoveAll();
    if (!over) return;
    for (int i = 0; i < 2; ++i) colours1.Add(kFigureFailColour);
    for (int i = 0; i < 3; ++i) colours2.Add(kFigureFailColour);
    block1 = ReplaceOverLimit(block1);
    block2 = ReplaceOverLimit(block2);
}

void CFVDBeamDesign_As::DrawFigure() {
    ApplyScale();
    CDataBase* db = GetPostDataBase();
    if (!m_pDrawing || !db) return;
    CClassPMemb membs;
    membs.ConnectToDB(db);
    CArray<UINT, UINT> keys;
    membs.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) DrawMemberTexts(keys[i], db);
    DrawFigureNotes();
}

void CFVDBeamDesign_As::SetDefaultOptions() {
    if (sFVDDisplaySettings* s = GetDisplaySettings()) s->m_dPrecision = 0.0;
}

BOOL CFVDBeamDesign_As::GetDescription(CArray<COLORREF>& /*colours*/, CString& text) {
    text += CMsgDll::pfuncLoadStr("IDS_DESCREPT_ALLAS_ALLAS", 0);
    return 1;
}

void CFVDBeamDesign_As::CollectLoadCases(std::map<UINT, CString>& out) {
    CollectDesignLoadCombinations(out, m_eType, GetModelDataBase());
}

BOOL CFVDBeamDesign_As::IsMemberShown(const T_PMEMB_D& m) {
    return CFVDForceDrawCommon::GetBeamMemberKind(m, GetModelDataBase()) == ShownKind();
}

BOOL CFVDRibBeamDesign_As::IsMemberShown(const T_PMEMB_D& m) {
    return (m.type == 201 && m.subKind == 2) || m.type == 213;
}

void CFVDBeamDesign_As::DrawMemberTexts(UINT key, CDataBase* db) { DrawBeamAsTexts(key, db); }

void CFVDBeamDesign_As::DrawBeamAsTexts(UINT key, CDataBase* db) {
    CClassPMemb membs;
    membs.ConnectToDB(db);
    T_PMEMB_D m;
    if (!membs.Get(key, m) || !IsMemberTypeDrawn(m.type) || !IsMemberShown(m)) return;
    CZELF_DBLineObjData line;
    double angle = 0.0;
    if (!MemberLine(key, db, GetModelDataBase(), line, angle)) return;
    CClassPDDBeam design;
    design.ConnectToDB(db);
    T_PDDBEAM_D rec;
    if (!design.Get(key, rec)) return;
    S_BEAMREBARAS s[3];
    for (int i = 0; i < 3; ++i) T_PDDBEAM_D::FindData(m_nCurLoadCase, rec.m_mapAs[i], s[i]);
    double extra = 0.0;
    UINT extraKey = 0;
    const BOOL hasExtra = rec.m_mapExtra.GetCount() > 0 &&
                          DATA_P::GetDoubleArrData(m_nCurLoadCase, extra, extraKey, rec.m_mapExtra);
    CString block1, block2;
    CArray<COLORREF> colours1, colours2;
    MakeAsTexts(s, hasExtra, extra, rec.m_nOver != 0, block1, colours1, block2, colours2);
    const CZELF_Point2D mid = line.GetPointByDist(0.5, 0.0);
    DrawBlock(m_pDrawing, block1, colours1, mid, angle, kAnchorAbove);
    DrawBlock(m_pDrawing, block2, colours2, mid, angle, kAnchorBelow);
}

// ---- cracks -----------------------------------------------------------------------------------

void CFVDBeamDesign_Crack::SetDefaultOptions() {
    if (sFVDDisplaySettings* s = GetDisplaySettings()) s->m_dPrecision = 2.0;
}

BOOL CFVDBeamDesign_Crack::GetDescription(CArray<COLORREF>& /*colours*/, CString& text) {
    text += CMsgDll::pfuncLoadStr("IDS_DESCREPT_LENGTHUNIT_MM", 0);
    return 1;
}

void CFVDBeamDesign_Crack::CollectLoadCases(std::map<UINT, CString>& out) {
    out.clear();
    if (m_eType <= 90) return;
    CDataBase* model = GetModelDataBase();
    if (!model) return;
    CClassGbpa params;
    params.ConnectToDB(model);
    T_GBPA_D g;
    if (!params.Get(GBPA_KEY, g)) return;
    // Crack widths belong to the quasi-permanent groups under a code that asks for them, else
    // to the standard combinations.
    CollectCheckLoadCases(out, g.designCode.GetGbCode() != 0 ? LDGP_KIND_QUASI : LDGP_KIND_STANDARD, TRUE, nullptr);
}

BOOL CFVDBeamDesign_Crack::GetCrackWidth(const DoubleMap& map, UINT key, double& w) {
    UINT used = 0;
    return DATA_P::GetDoubleArrData(key, w, used, map);
}

CString CFVDBeamDesign_Crack::CrackText(double w, int p) {
    CString text;
    CFVDRatioStrMaker(std::fabs(w * 1000.0), CString(), CString(), 0).MakeStrNoColor(text);
    if (p == 0) return " " + text;
    if (p == 2) return text + " ";
    return text;
}

void CFVDBeamDesign_Crack::EndTextPlace(double length, double textHeight, double& u, int& horJust) {
    horJust = VdTextHorCenter;
    if (!(length > 0.0) || (u > 0.0 && u < 1.0)) return;
    // An end value runs into its own span from a point some text heights off the end: the
    // values of two spans meeting at a support, and of a beam crossing there, stand apart.
    const double in = std::min(kEndTextClearance * textHeight / length, 0.25);
    if (u <= 0.0) {
        u = in;
        horJust = VdTextHorLeft;
    } else {
        u = 1.0 - in;
        horJust = VdTextHorRight;
    }
}

int CFVDBeamDesign_Crack::CrackAnchor(double w) { return w * 1000.0 < -1e-12 ? kAnchorAbove : kAnchorBelow; }

void CFVDBeamDesign_Crack::DrawMemberTexts(UINT key, CDataBase* db) {
    CZELF_DBLineObjData line;
    double angle = 0.0;
    if (!MemberLine(key, db, GetModelDataBase(), line, angle)) return;
    CClassPMemb membs;
    membs.ConnectToDB(db);
    T_PMEMB_D m;
    if (!membs.Get(key, m) || !IsMemberShown(m)) return;
    CClassPDDBeam design;
    design.ConnectToDB(db);
    T_PDDBEAM_D rec;
    if (!design.Get(key, rec)) return;
    const double scale = m_pDrawing ? m_pDrawing->GetDrawScale() : 0.0;
    const double height = scale > 0.0 ? m_pDrawing->GetStyleTextHeight() / scale : 0.0;
    for (int p = 0; p < 3; ++p) {
        // Each section's own look-up: a section without an entry is left blank.
        double w = 0.0;
        if (!GetCrackWidth(rec.m_mapCrack[p], m_nCurLoadCase, w)) continue;
        // The line reads left to right: a member drawn from its j-end has its start there.
        const double t = 0.5 * p;
        double u = line.IsReverse() ? 1.0 - t : t;
        CFVDTextBlock block;
        EndTextPlace(line.GetLength(), height, u, block.m_nHorJust);
        const CZELF_Point2D at = line.GetPointByDist(u, 0.0);
        block.m_strText = CrackText(w, p);
        block.m_nVerJust = CrackAnchor(w);
        block.m_dAngle = angle;
        block.Draw(m_pDrawing, at);
    }
}
