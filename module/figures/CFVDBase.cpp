#include "module/figures/CFVDBase.h"

#include <cmath>

#include "host/base/CMsgDll.h"
#include "host/base/CurrentUnitCtrl.h"
#include "host/check/ICheckToolUtil.h"
#include "host/db/CDBDoc.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/CPVXFigure.h"
#include "module/figures/FigureCheckText.h"
#include "module/figures/FigureText.h"
#include "module/figures/FigureTextMove.h"

IMPLEMENT_DYNAMIC(CFVDBase, CObject)

// ---- Band colours ----

const COLORREF T_ContourDataBase::kSchemes[4][7] = {
    {0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF, 0xAA00AA},
    {0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFAA, 0x00FFFF, 0x007FFF, 0x0000FF},
    {0x00FF00, 0xAAFF00, 0xFFAA00, 0xFF0000, 0xFF00AA, 0xAA00FF, 0x0000FF},
    {0xFFFFFF, 0xD4D4D4, 0xAAAAAA, 0x7F7F7F, 0x555555, 0x2A2A2A, 0x000000},
};

T_ContourDataBase::T_ContourDataBase() {
    for (int s = 0; s < 4; ++s)
        for (int i = 0; i < 7; ++i) m_ColorTable[s][i] = kSchemes[s][i];
    for (double& level : m_dLevel) level = 0.0;
}

void T_ContourDataBase::SetData(const CArray<double>& values, const CArray<COLORREF>* colours, int scheme,
                                int reversed) {
    m_nScheme = scheme;
    m_nReversed = reversed;
    const INT_PTR n = values.GetSize();
    if (n < 2) return;
    m_Values.Copy(values);
    if (colours) {
        m_Colors.Copy(*colours);
        return;
    }
    m_Colors.RemoveAll();
    const double first = values[0];
    const double last = values[n - 1];
    for (int k = 0; k < 7; ++k) m_dLevel[k] = first + k * (last - first) / 6.0;
    if (n == 7) {
        const int s = scheme >= 0 && scheme < 4 ? scheme : 0;
        for (int k = 0; k < 7; ++k) m_Colors.Add(m_ColorTable[s][k]);
        return;
    }
    for (INT_PTR i = 0; i < n; ++i) {
        COLORREF c = 0;
        GetValueColor(values[i], c, FALSE);
        m_Colors.Add(c);
    }
}

// Below the lowest level colour 0, above the highest colour 6, on a level (within 1e-8) its
// colour; between levels i and i + 1 each byte is c[i+1] - trunc((c[i+1] - c[i]) * t) with
// t = (level[i+1] - v) / (level[i+1] - level[i]).
int T_ContourDataBase::GetValueColor(double v, COLORREF& out, BOOL reversed) const {
    const COLORREF* c = m_ColorTable[m_nScheme >= 0 && m_nScheme < 4 ? m_nScheme : 0];
    if (reversed) v = m_dLevel[6] - v + m_dLevel[0];
    if (v < m_dLevel[0]) {
        out = c[0];
        return 1;
    }
    if (v > m_dLevel[6]) {
        out = c[6];
        return 1;
    }
    for (int i = 0; i < 7; ++i) {
        if (std::fabs(m_dLevel[i] - v) < 1e-8) {
            out = c[i];
            return 1;
        }
    }
    for (int i = 0; i < 6; ++i) {
        if (m_dLevel[i] < v && v < m_dLevel[i + 1]) {
            const double t = (m_dLevel[i + 1] - v) / (m_dLevel[i + 1] - m_dLevel[i]);
            COLORREF result = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                const int lo = static_cast<int>((c[i] >> shift) & 0xFF);
                const int hi = static_cast<int>((c[i + 1] >> shift) & 0xFF);
                int byte = hi - static_cast<int>(std::trunc((hi - lo) * t));
                byte = byte < 0 ? 0 : (byte > 255 ? 255 : byte);
                result |= static_cast<COLORREF>(byte) << shift;
            }
            out = result;
            return 1;
        }
    }
    out = c[6];  // levels not ascending: nothing brackets v
    return 1;
}

// ---- CFVDBase ----

CFVDBase::CFVDBase() { SetModify(1); }

CFVDBase::~CFVDBase() = default;

void CFVDBase::DrawFigure() {}

void CFVDBase::SetDefaultOptions() {}

// After a unit change the recorded styles' heights are multiplied by the length factor from the
// previous unit to the current one. 1: done (or nothing to do); 0: no document, no drawing or
// no style recorded.
BOOL CFVDBase::InitUnits() {
    CDBDoc* doc = CDBDoc::m_pDBDoc;
    CUnitCtrl* unit = doc ? doc->GetUnitCtrl() : nullptr;
    if (!unit) return 0;
    const double f = unit->ConvertUnitDataPrevious(1, 1.0);
    if (std::fabs(f - 1.0) < 1e-6 || std::fabs(f) < 1e-6) return 1;
    if (!m_pDrawing) return 0;
    for (const auto& [id, name] : m_TextStyles) {
        sEVETextStyle style;
        if (!m_pDrawing->GetTextStyle(name, style)) continue;
        style.dHeight *= f;
        m_pDrawing->AddTextStyle(name, style, 1);
    }
    return m_TextStyles.empty() ? 0 : 1;
}

void CFVDBase::ClearBaseMapList(std::list<EFigureType>& out) { out.clear(); }

void CFVDBase::InitBaseMapList() {
    m_BaseMapList.clear();
    if (m_eType >= 91)
        m_BaseMapList = {EFVDT_BaseMap_Top_Column, EFVDT_BaseMap_QSN_COLF, EFVDT_BaseMap_QSN_BEAM,
                         EFVDT_BaseMap_QSN_MTSB, EFVDT_BaseMap_QSN_PILE};
}

void CFVDBase::CreateLayers() {
    if (!m_pDrawing) return;
    struct LayerRow {
        int id;
        const char* key;
        COLORREF colour;
        int pen;
    };
    static const LayerRow kLayers[] = {
        {FVD_LAYER_COLF, "IDS_TBX_PVX_QSN_Figure_Layer_Colf", 0xFFFF00, VdPenSolid},
        {FVD_LAYER_BEAM, "IDS_TBX_PVX_QSN_Figure_Layer_Beam", 0x0080FF, VdPenSolid},
        {FVD_LAYER_WALL, "IDS_TBX_PVX_QSN_Figure_Layer_Wall", 0xFF0000, VdPenSolid},
        {FVD_LAYER_COLUMN, "IDS_TBX_PVX_QSN_Figure_Layer_Column", 0x00FFFF, VdPenSolid},
        {FVD_LAYER_MTSB, "IDS_TBX_PVX_QSN_Figure_Layer_Mtsb", 0xFF8080, VdPenSolid},
        {FVD_LAYER_PILE, "IDS_TBX_PVX_QSN_Figure_Layer_Pile", 0xFF8080, VdPenSolid},
        {FVD_LAYER_PILE_INFO, "IDS_TBX_PVX_QSN_Figure_Layer_Pile_Info", 0xFFFF80, VdPenSolid},
        {FVD_LAYER_TEXT, "IDS_TBX_PVX_QSN_Figure_Layer_Text", 0x00FF00, VdPenSolid},
        {FVD_LAYER_FORCE, "IDS_TBX_PVX_QSN_Figure_Layer_Force", 0xFFFFFF, VdPenSolid},
        {FVD_LAYER_AXIS, "IDS_TBX_PVX_QSN_Figure_Layer_Axis", 0x808080, VdPenDashDot},
        {FVD_LAYER_SINKMESH, "IDS_TBX_PVX_QSN_Figure_Layer_SinkMesh", 0x00FF00, VdPenSolid},
    };
    m_Layers.clear();
    for (const LayerRow& row : kLayers)
        AddLayer(row.id, CMsgDll::pfuncLoadStr(row.key, 0), row.colour, 0.0, row.pen);
    // The raft sub-element layer has a literal caption.
    AddLayer(FVD_LAYER_SUBELEM, "筏板子单元", 0xFF8080, 0.0, VdPenSolid);
}

void CFVDBase::CreateTextStyles() {
    if (!m_pDrawing) return;
    sEVETextStyle style;
    style.strFaceName = "宋体";
    const double toUnit = 1.0 / CurrentUnitCtrl::Cur2M();  // metres -> current length unit
    m_TextStyles.clear();
    style.dHeight = 0.25 * toUnit;
    AddTextStyle(FVD_STYLE_CONTENTS, CMsgDll::pfuncLoadStr("IDS_MAIN_FIGURE_Text_Contents", 0), style);
    style.dHeight = 0.1 * toUnit;
    AddTextStyle(FVD_STYLE_DETAIL, CMsgDll::pfuncLoadStr("IDS_MAIN_FIGURE_Text_Detaile", 0), style);
    style.dHeight = 0.5 * toUnit;
    style.nBold = 1;
    style.nUnderline = 1;
    AddTextStyle(FVD_STYLE_TITLE, CMsgDll::pfuncLoadStr("IDS_MAIN_FIGURE_Text_Titla", 0), style);
    style.dHeight = 0.4 * toUnit;
    style.nBold = 0;
    style.nUnderline = 0;
    AddTextStyle(FVD_STYLE_LOADCASE, CMsgDll::pfuncLoadStr("IDS_MAIN_FIGURE_Text_LoadCase", 0), style);
    AddTextStyle(FVD_STYLE_SCALE, CMsgDll::pfuncLoadStr("IDS_MAIN_FIGURE_Text_Scale", 0), style);
}

void CFVDBase::CollectLoadCases(std::map<UINT, CString>& out) {
    if (m_eType > 90) CollectCheckLoadCases(out, 1, TRUE, nullptr);
}

void CFVDBase::ApplyScale() {
    sFVDDisplaySettings* s = GetDisplaySettings();
    SetFigurePrecision(static_cast<int>(s->m_dPrecision));
    if (m_pDrawing) m_pDrawing->SetDrawScale(s->m_dDrawScale);
    SelectLayer();
    SetCurrentTextStyle(FVD_STYLE_CONTENTS);
}

BOOL CFVDBase::SelectLayer() { return SetCurrentLayer(FVD_LAYER_TEXT); }

CString CFVDBase::GetLoadCombText(UINT key) { return ICheckToolUtil::s_GetCombText(key); }

CArray<long> CFVDBase::DrawLoadCaseBlock(const T_POINT2D& at) {
    CArray<long> ids;
    if (!m_pDrawing || m_nCurLoadCase == 0) return ids;
    SetCurrentTextStyle(FVD_STYLE_SCALE);
    CFVDTextBlock block;
    block.m_nVerJust = VdTextVerTop;
    block.m_strText = GetLoadCombText(m_nCurLoadCase);
    // Moved per figure type: a move on one sheet leaves the others' notes where they are.
    block.SetMoveInfo(static_cast<int>(m_eType), FVD_TEXT_KIND_NOTES, 1, -1);
    return block.Draw(m_pDrawing, at);
}

CArray<long> CFVDBase::DrawTitleBlock(const T_POINT2D& at) {
    CArray<long> ids;
    if (!m_pDrawing) return ids;
    SetCurrentTextStyle(FVD_STYLE_TITLE);
    CFVDTextBlock block;
    block.m_nVerJust = VdTextVerTop;
    block.m_strText = MakeTitleText(GetFigureCaption());
    block.SetMoveInfo(static_cast<int>(m_eType), FVD_TEXT_KIND_NOTES, 0, -1);
    return block.Draw(m_pDrawing, at);
}

BOOL CFVDBase::GetDescription(CArray<COLORREF>& /*colours*/, CString& /*text*/) { return 0; }

BOOL CFVDBase::UsesContour() { return 0; }

void CFVDBase::Prepare(BOOL forDisplay) {
    if (forDisplay) {
        CreateLayers();
        CreateTextStyles();
    } else {
        InitBaseMapList();
    }
    SetDefaultOptions();
}

void CFVDBase::Display(CVdrawUtil* drawing) {
    m_pDrawing = drawing;
    Prepare(TRUE);
}

sFVDDisplaySettings* CFVDBase::GetDisplaySettings() { return m_pSettings ? m_pSettings : &m_DefaultSettings; }

int CFVDBase::SetSettings(sFVDDisplaySettings* s) {
    const BOOL hadNone = m_pSettings == nullptr;
    m_pSettings = s;
    // A record borrowed from another figure keeps its values: defaults go into our own only.
    if (hadNone && (s == nullptr || s == &m_DefaultSettings)) SetDefaultOptions();
    return 1;
}

BOOL CFVDBase::IsRatioMode() { return GetDisplaySettings()->m_nRatio != 0; }

void CFVDBase::SetModify(BOOL modified) {
    m_bModified = modified;
    if (!m_bFirstModify && modified) m_bFirstModify = modified;
}

BOOL CFVDBase::GetBaseMapList(std::list<EFigureType>& out) const {
    out.assign(m_BaseMapList.begin(), m_BaseMapList.end());
    return !m_BaseMapList.empty();
}

std::map<UINT, CString>* CFVDBase::GetLoadCaseMap() {
    m_LoadCases.clear();
    CollectLoadCases(m_LoadCases);
    if (m_LoadCases.empty())
        m_nCurLoadCase = 0;
    else if (!m_LoadCases.count(m_nCurLoadCase))
        m_nCurLoadCase = m_LoadCases.begin()->first;
    return &m_LoadCases;
}

BOOL CFVDBase::SetLoadCase(UINT key) {
    if (m_eType > 90 && m_LoadCases.empty()) GetLoadCaseMap();
    if (key == m_nCurLoadCase) return 0;
    if (m_LoadCases.count(key)) {
        m_nCurLoadCase = key;
        return 1;
    }
    if (m_LoadCases.empty()) return 0;
    m_nCurLoadCase = m_LoadCases.begin()->first;
    return 1;
}

BOOL CFVDBase::GetNotesFlag() const { return m_eType <= 90 ? 0 : m_bNotes; }

BOOL CFVDBase::SetNotesFlag(BOOL on) {
    m_bNotes = m_eType > 90 ? on : 0;
    return m_bNotes;
}

BOOL CFVDBase::SetCurrentLayer(int id) { return m_pDrawing ? m_pDrawing->SetCurrentLayer(id) : FALSE; }

BOOL CFVDBase::SetCurrentTextStyle(int id) { return m_pDrawing ? m_pDrawing->SetCurrentTextStyle(id) : FALSE; }

void CFVDBase::AddLayer(int id, const CString& caption, COLORREF colour, double width, int pen) {
    if (!m_pDrawing) return;
    m_pDrawing->AddLayer(id, caption, colour, static_cast<long>(width), pen);
    m_Layers[id] = caption;
}

void CFVDBase::AddTextStyle(int id, const CString& name, const sEVETextStyle& style) {
    if (!m_pDrawing) return;
    m_pDrawing->AddTextStyle(name, style, 0);
    m_pDrawing->AddTextStyle(id, name);  // so SetCurrentTextStyle(id) finds it
    m_TextStyles[id] = name;
}

void CFVDBase::RecreateLayers() {
    if (!m_pDrawing) return;
    for (const auto& [id, caption] : m_Layers) m_pDrawing->AddLayer(id, caption, 0xFFFFFF, 0, VdPenSolid);
}

void CFVDBase::RecreateTextStyles() {
    if (!m_pDrawing) return;
    for (const auto& [id, name] : m_TextStyles) m_pDrawing->AddTextStyle(id, name);
}

// The bottom centre of the drawing, a twentieth of its height lower, in model units.
BOOL CFVDBase::GetNotesAnchor(T_POINT2D& at) const {
    double box[4];
    if (!m_pDrawing || !m_pDrawing->GetDrawingBoundary(box)) return FALSE;
    const double s = m_pDrawing->GetDrawScale();
    if (s < 1e-6) return FALSE;
    at.x = (box[0] + box[2]) / 2.0 / s;
    at.y = box[1] / s - 0.05 * std::fabs(box[3] - box[1]) / s;
    return TRUE;
}

void CFVDBase::DrawFigureNotes() {
    m_nNotesDrawn = 0;
    if (!GetNotesFlag() || !m_pDrawing) return;
    SetCurrentLayer(FVD_LAYER_TEXT);
    T_POINT2D at;
    if (!GetNotesAnchor(at)) return;
    const int before = m_pDrawing->GetFigureCount();
    const double s = m_pDrawing->GetDrawScale();
    CArray<long> ids = DrawTitleBlock(at);
    at.y -= 1.5 * m_pDrawing->GetTextHeight(ids) / s;
    ids = DrawLoadCaseBlock(at);
    at.y -= 1.5 * m_pDrawing->GetTextHeight(ids) / s;
    ids = DrawDescriptionBlock(at);
    at.y -= 1.5 * m_pDrawing->GetTextHeight(ids) / s;
    DrawScaleBlock(at);
    m_nNotesDrawn = m_pDrawing->GetFigureCount() - before;
}

CArray<long> CFVDBase::DrawScaleBlock(const T_POINT2D& at) {
    CArray<long> ids;
    if (!m_pDrawing) return ids;
    CFVDTextBlock block;
    block.m_nVerJust = VdTextVerTop;
    block.m_strText.Format("%s %g:1", CMsgDll::pfuncLoadStr("IDS_MAIN_FIGURE_Text_Scale", 0).GetString(),
                           m_pDrawing->GetDrawScale());
    SetCurrentTextStyle(FVD_STYLE_SCALE);
    return block.Draw(m_pDrawing, at);
}

CArray<long> CFVDBase::DrawDescriptionBlock(const T_POINT2D& at) {
    CArray<long> ids;
    CFVDTextBlock block;
    if (!m_pDrawing || !GetDescription(block.m_Colors, block.m_strText)) return ids;
    block.m_nVerJust = VdTextVerTop;
    SetCurrentTextStyle(FVD_STYLE_SCALE);
    return block.Draw(m_pDrawing, at);
}

CString CFVDBase::GetFigureCaption() const {
    CPVXFigure* cat = CPVXFigure::m_pMyself;
    return cat ? cat->GetItemDescription(m_eType, ": ") : CString();
}

// "A: B: C" keeps "A: C": the part before the first colon and the part from the last one.
CString CFVDBase::MakeTitleText(const CString& caption) {
    const int first = caption.Find(':');
    const int last = caption.ReverseFind(':');
    if (first < 1 || last < 1) return caption;
    return caption.Left(first) + caption.Mid(last);
}

CDataBase* CFVDBase::GetPostDataBase() {
    CDBDoc* doc = CDBDoc::m_pDBDoc;
    return doc ? doc->GetMDBCtrl()->GetDBPost() : nullptr;
}

CDataBase* CFVDBase::GetModelDataBase() {
    CDBDoc* doc = CDBDoc::m_pDBDoc;
    return doc ? doc->GetMDBCtrl()->GetTempMainDB() : nullptr;
}
