#include "module/figures/CPVXFigure.h"

#include <algorithm>
#include <new>
#include <set>

#include "host/base/CMsgDll.h"
#include "host/base/I_MainFrameBase.h"
#include "host/db/CDBDoc.h"
#include "host/vdraw/CVdView.h"
#include "host/vdraw/VdGeometry.h"
#include "module/figures/CFVDCatalogue.h"
#include "module/model/CPVXView.h"

CPVXFigure* CPVXFigure::m_pMyself = nullptr;
int CPVXFigure::nSelectMode = 0;
namespace {
// The contour tool's own settings dialog on the figure.
int FigureContourDialog(CFVDBase* figure) { return figure ? figure->ContourDlgSet() : 0; }
}  // namespace

CPVXFigure::PFN_CONTOUR_DLG CPVXFigure::s_pfnContourDlg = FigureContourDialog;

namespace {

const char kFigureViewTitleKey[] = "IDS_TBX_PVX_2D_Figure_View";

// The figure object of a catalogue class, made by its run-time class name; null when the module
// has no such class (the leaf then stays without object) or it is not a figure.
CFVDBase* MakeFigureObject(const char* className) {
    CRuntimeClass* cls = className ? CRuntimeClass::FromName(className) : nullptr;
    if (!cls || !cls->IsDerivedFrom(RUNTIME_CLASS(CFVDBase))) return nullptr;
    CObject* obj = cls->CreateObject();
    auto* fvd = dynamic_cast<CFVDBase*>(obj);
    if (!fvd) delete obj;
    return fvd;
}

}  // namespace

CPVXFigure::CPVXFigure() : m_pView(CPVXView::m_pMyself) {
    m_Stack.push_back(TVI_ROOT);
    m_pMyself = this;
}

CPVXFigure::~CPVXFigure() {
    nSelectMode = 0;
    if (m_pMyself == this) m_pMyself = nullptr;
    for (auto& [type, fvd] : m_Figures) delete fvd;
}

CPVXView* CPVXFigure::GetCurView() { return CPVXView::m_pMyself; }

// ---- Catalogue ----

BOOL CPVXFigure::Get_PreMode() const { return CDBDoc::m_pDBDoc ? CDBDoc::m_pDBDoc->IsPreMode() : 0; }

BOOL CPVXFigure::Get_PostMode() const { return CDBDoc::m_pDBDoc ? CDBDoc::m_pDBDoc->IsPostMode() : 0; }

void CPVXFigure::InitFVDBase(CFVDBase* fvd, int& enabled, EFigureType t, UINT modeFlags, UINT ownerMask) {
    if (fvd) {
        fvd->SetType(t);
        fvd->Prepare(FALSE);
    }
    if (modeFlags) {
        if (fvd) fvd->SetModeFlags(modeFlags);
        if (Get_PreMode())
            enabled = enabled && (modeFlags & 1);
        else if (Get_PostMode())
            enabled = enabled && (modeFlags & 2);
    }
    if (enabled) enabled = (ownerMask & m_nOwnerMask) != 0;
}

void CPVXFigure::push() {
    if (m_hLastItem) m_Stack.push_back(m_hLastItem);
}

void CPVXFigure::pop() {
    if (m_Stack.empty()) return;
    m_hLastItem = m_Stack.back();
    m_Stack.pop_back();
}

HTREEITEM CPVXFigure::GetTop() const { return m_Stack.empty() ? nullptr : m_Stack.back(); }

// Each row's parent is the item of the group its row names (the latest record of that group,
// so the leaves after the second MTSB_CHECK_PLAT go under the raft-design one); root rows go
// under root. Without a root no hint is sent and items and parents stay null.
void CPVXFigure::InitFigureMap(HTREEITEM root) {
    m_hLastItem = root;
    m_Stack.push_back(root);
    push();
    std::map<EFigureType, HTREEITEM> groupItems;
    const sFVDCatalogueRow* rows = GetFVDCatalogue();
    for (int i = 0; i < kFVDCatalogueRows; ++i) {
        const sFVDCatalogueRow& row = rows[i];
        int enabled = 1;
        if (row.pszClass) {
            CFVDBase* fvd = GetFVDBase(row.eType);
            if (!fvd) {
                try {
                    fvd = MakeFigureObject(row.pszClass);
                } catch (const std::bad_alloc&) {
                    return;  // the rows built so far stay usable
                }
                if (fvd) m_Figures[row.eType] = fvd;
            }
            InitFVDBase(fvd, enabled, row.eType, row.bPostOnly ? 2u : 0u, row.nOwnerMask);
        }
        if (row.eType == EFVDT_BaseMap_Top_Column || row.eType == EFVDT_BaseMap_Top_Wall ||
            row.eType == EFVDT_BaseMap_QSN_COLF || row.eType == EFVDT_BaseMap_QSN_BEAM)
            m_BaseMapSources[row.eType] = row.eType;

        m_Scratch = sFVDBaseInformation();
        m_Scratch.eType = row.eType;
        m_Scratch.hParent = row.eParent == EFVDT_NONE ? root : groupItems[row.eParent];
        m_Scratch.strCaption = CMsgDll::pfuncLoadStr(GetFVDCaptionKey(row), 0);
        m_Scratch.nNumber = row.nNumber;
        m_Scratch.bEnabled = IsFVDBaseMapRow(row) ? 0 : enabled;
        if (root) UpdateAllViews(FVD_HINT_RECORD);
        m_hLastItem = m_Scratch.hItem;
        m_Records[row.eType] = m_Scratch;
        if (!row.pszClass) groupItems[row.eType] = m_hLastItem;
    }
}

sFVDBaseInformation* CPVXFigure::GetFigureData(EFigureType t) {
    auto it = m_Records.find(t);
    return it == m_Records.end() ? nullptr : &it->second;
}

CFVDBase* CPVXFigure::GetFVDBase(EFigureType t) const {
    auto it = m_Figures.find(t);
    return it == m_Figures.end() ? nullptr : it->second;
}

int CPVXFigure::isBaseMap(EFigureType t) {
    if (t < 21) return 2;
    if (t < 91) return 1;
    if (t < 99) return -1;
    return 0;
}

CString CPVXFigure::GetItemDescription(EFigureType t, const CString& sep) {
    sFVDBaseInformation* rec = GetFigureData(t);
    if (!rec) return CString();
    CString text = rec->strCaption;
    std::set<const sFVDBaseInformation*> seen{rec};
    for (const sFVDBaseInformation* p = rec->pLink; p && seen.insert(p).second; p = p->pLink)
        text = p->strCaption + sep + text;
    return text;
}

// ---- Selection ----

void CPVXFigure::SetCurentSelItem(EFigureType t, int mode) {
    if (t == m_eCurType) return;
    m_eCurType = t;
    if (mode == 1) return;
    m_pCurFigure = GetFVDBase(t);
    m_pLoadCases = nullptr;
    if (!m_pCurFigure) return;
    m_pCurFigure->SetModify(1);
    m_pLoadCases = m_pCurFigure->GetLoadCaseMap();
}

EFigureType CPVXFigure::GetCurentSelItem(NMFVD* out) {
    if (out) {
        if (m_eCurType != EFVDT_NONE && m_pCurFigure) {
            out->pBaseMapList = &m_pCurFigure->GetBaseMapListRef();
            out->pSettings = m_pCurFigure->GetDisplaySettings();
        }
        out->pDrawn = &m_Drawn;
    }
    return m_eCurType;
}

UINT CPVXFigure::GetCurLoadCase() const { return m_pCurFigure ? m_pCurFigure->GetCurLoadCase() : static_cast<UINT>(-1); }

UINT CPVXFigure::GetCurLoadGroupKey() const { return m_pCurFigure ? m_pCurFigure->GetCurLoadCase() : 0; }

void CPVXFigure::SetModify(BOOL modified) {
    if (m_pCurFigure) m_pCurFigure->SetModify(modified);
}

// ---- Host ----

void CPVXFigure::UpdateAllViews(long hint) {
    if (CDBDoc::m_pDBDoc) CDBDoc::m_pDBDoc->UpdateAllViews(nullptr, hint, nullptr);
}

void CPVXFigure::OnUpdataUnit() {
    if (!m_pFigureView || !m_pFigureView->GetSafeHwnd()) return;
    for (auto& [type, fvd] : m_Figures)
        if (fvd->InitUnits()) break;
}

// ---- Figure view ----

void CPVXFigure::CreateFigureView() {
    CDBDoc* doc = CDBDoc::m_pDBDoc;
    if (!doc) return;
    CView* view = doc->OpenFigureView(CMsgDll::pfuncLoadStr(kFigureViewTitleKey, 0));
    m_pFigureView = dynamic_cast<CVdView*>(view);
}

void CPVXFigure::CloseFigureView() {
    CDBDoc* doc = CDBDoc::m_pDBDoc;
    if (!doc) return;
    doc->CloseFigureView(CMsgDll::pfuncLoadStr(kFigureViewTitleKey, 0));
    m_pFigureView = nullptr;
}

void CPVXFigure::OnFigureViewDestroyed(CVdView* view) {
    if (view && view == m_pFigureView) m_pFigureView = nullptr;
}

CVdrawUtil* CPVXFigure::GetViewDrawing() const { return m_pFigureView ? m_pFigureView->GetDrawing() : nullptr; }

// ---- Drawing road ----

void CPVXFigure::BeforFigureDraw(BOOL add) {
    CreateFigureView();
    if (add) {
        if (m_pFigureView) I_MainFrameBase::CreateFigureDlg();
        return;
    }
    ForgetDrawn();
    m_AsBaseMap.clear();
    if (CVdrawUtil* drawing = GetViewDrawing()) drawing->RemoveAllData();
    I_MainFrameBase::CreateFigureDlg();
}

void CPVXFigure::ForgetDrawn() {
    m_Drawn.clear();
    m_OwnDrawn.clear();
    m_SheetIds.clear();
    m_SheetMoved.clear();
}

int CPVXFigure::GetOwnDrawnCount(EFigureType t) const {
    auto it = m_OwnDrawn.find(t);
    return it == m_OwnDrawn.end() ? -1 : it->second;
}

void CPVXFigure::DrawCounted(CFVDBase* f, CVdrawUtil& drawing) {
    const long firstId = drawing.GetNextId();
    const int before = drawing.GetFigureCount();
    // A result sheet drawn as another's base map (601 and 602 under 600) labels other points.
    const bool sheet = f->GetType() > 99 && !m_AsBaseMap.count(f->GetType());
    const bool later = sheet && !m_SheetIds.empty();
    f->m_nNotesDrawn = 0;
    f->DrawFigure();
    m_OwnDrawn[f->GetType()] = f->ShowedNoValue() ? 0 : drawing.GetFigureCount() - before - f->m_nNotesDrawn;
    if (sheet) KeepTextsClear(drawing, firstId, later);
}

// Two result sheets drawn together label the same objects at the same points: each text of the
// later sheet is moved down, below the text it lies on (a tenth of its height apart, as the
// lines of a text block), until it lies on no text of an earlier sheet nor one it was moved to.
void CPVXFigure::KeepTextsClear(CVdrawUtil& drawing, long firstId, bool later) {
    constexpr int kMaxMoves = 64;      // a text is moved past at most this many others
    constexpr double kTouch = 1e-9;    // boxes that only touch do not overlap
    auto overlap = [](const std::array<double, 4>& a, const std::array<double, 4>& b) {
        return a[0] < b[2] - kTouch && b[0] < a[2] - kTouch && a[1] < b[3] - kTouch && b[1] < a[3] - kTouch;
    };
    std::vector<std::array<double, 4>> earlier;
    if (later) earlier = SheetTextBoxes(drawing);
    std::vector<std::array<double, 4>> moved;
    bool any = false;
    for (const CvdFigure& text : drawing.Figures()) {
        if (text.GetId() < firstId || !text.IsText() || text.m_points.empty()) continue;
        any = true;
        if (!later) continue;
        vd::Box b;
        vd::AddFigureBox(text, b);
        std::array<double, 4> box = {b.xmin, b.ymin, b.xmax, b.ymax};
        bool wasMoved = false;
        for (int n = 0; n < kMaxMoves; ++n) {
            const std::array<double, 4>* hit = nullptr;
            for (size_t i = 0; i < earlier.size() && !hit; ++i)
                if (overlap(box, earlier[i])) hit = &earlier[i];
            for (size_t i = 0; i < moved.size() && !hit; ++i)
                if (overlap(box, moved[i])) hit = &moved[i];
            if (!hit) break;
            const double dy = box[3] - (*hit)[1] + 0.1 * text.m_height;
            drawing.MoveFigure(text.GetId(), 0.0, -dy);
            box[1] -= dy;
            box[3] -= dy;
            wasMoved = true;
        }
        if (wasMoved) {
            moved.push_back(box);
            m_SheetMoved[text.GetId()] = box;
        }
    }
    if (any) m_SheetIds.emplace_back(firstId, drawing.GetNextId());
}

std::vector<std::array<double, 4>> CPVXFigure::SheetTextBoxes(const CVdrawUtil& drawing) const {
    std::vector<std::array<double, 4>> boxes;
    for (const auto& [first, end] : m_SheetIds) {
        for (const CvdFigure& text : drawing.Figures()) {
            const long id = text.GetId();
            if (id < first || id >= end || !text.IsText() || text.m_points.empty()) continue;
            if (auto it = m_SheetMoved.find(id); it != m_SheetMoved.end()) {
                boxes.push_back(it->second);
                continue;
            }
            vd::Box b;
            vd::AddFigureBox(text, b);
            boxes.push_back({b.xmin, b.ymin, b.xmax, b.ymax});
        }
    }
    return boxes;
}

void CPVXFigure::DisplayFigureDlgData(const CArray<UINT>& types, BOOL add) {
    BeforFigureDraw(add);
    DisplayFigureDlgData_DFLT(types);
    if (!add) {
        DisplayBaseMapEx(types);
        AfterFigureDraw();
    } else {
        const INT_PTR n = types.GetSize();
        for (INT_PTR i = 0; i < n; ++i) ResetBaseMapEnable(static_cast<EFigureType>(types[i]), 1, i == n - 1);
    }
    if (m_pFigureView) m_pFigureView->ZoomAll();
}

// Each figure of types (base maps before the current figure) is drawn once per pass. A figure
// other than the current one draws with the current figure's settings borrowed for the draw.
void CPVXFigure::DisplayFigureDlgData_DFLT(const CArray<UINT>& types) {
    CVdrawUtil* drawing = GetViewDrawing();
    if (!drawing || !m_pCurFigure) return;
    for (INT_PTR i = 0; i < types.GetSize(); ++i) {
        const EFigureType t = static_cast<EFigureType>(types[i]);
        CFVDBase* f = GetFVDBase(t);
        if (!f) continue;
        f->Display(drawing);
        f->RecreateLayers();
        f->RecreateTextStyles();
        if (t > 99 && f == m_pCurFigure) {
            std::list<EFigureType> baseMaps;
            if (m_pCurFigure->GetBaseMapList(baseMaps)) DisplayFigureDlgData_BaseMap(baseMaps, 0);
        }
        if (m_Drawn.count(t)) continue;
        m_Drawn[t] = t;
        const BOOL borrow = t != m_eCurType && f != m_pCurFigure;
        sFVDDisplaySettings* own = f->GetAttachedSettings();
        if (borrow) f->SetSettings(m_pCurFigure->GetDisplaySettings());
        f->SetNotesFlag(f == m_pCurFigure);
        DrawCounted(f, *drawing);
        if (borrow) f->SetSettings(own);
    }
}

void CPVXFigure::DisplayFigureDlgData_BaseMap(const std::list<EFigureType>& types, BOOL withSlabBands) {
    CArray<UINT> draw;
    for (EFigureType t : types) {
        if (!m_Drawn.count(t)) draw.Add(static_cast<UINT>(t));
        m_AsBaseMap.insert(t);
        if (withSlabBands && m_pCurFigure && t >= 91 && t < 99) {
            if (CFVDBase* band = GetFVDBase(t)) {
                band->SetModify(1);
                band->SetLoadCase(m_pCurFigure->GetCurLoadCase());
            }
            draw.Add(static_cast<UINT>(t));
        }
    }
    if (draw.GetSize() > 0) DisplayFigureDlgData_DFLT(draw);
}

void CPVXFigure::DisplayBaseMapEx(const CArray<UINT>& types) {
    std::list<EFigureType> baseMaps;
    if (GetBaseMapListEx(types, baseMaps)) DisplayFigureDlgData_BaseMap(baseMaps, 1);
}

int CPVXFigure::GetBaseMapListEx(const CArray<UINT>& types, std::list<EFigureType>& out) {
    out.clear();
    for (INT_PTR i = 0; i < types.GetSize(); ++i) {
        const EFigureType t = static_cast<EFigureType>(types[i]);
        CFVDBase* f = t > 99 ? GetFVDBase(t) : nullptr;
        if (!f) continue;
        std::list<EFigureType> extra;
        f->ClearBaseMapList(extra);
        extra.sort();
        out.merge(extra);
    }
    return static_cast<int>(out.size());
}

void CPVXFigure::AfterFigureDraw() {
    m_strFigureTitle = GetItemDescription(m_eCurType, "\\");
    if (m_pFigureView && m_pFigureView->GetSafeHwnd()) m_pFigureView->SetWindowText(m_strFigureTitle);
    UpdateAllViews(FVD_HINT_DRAWN);
    UpdateAllViews(FVD_HINT_LOADCASES);
}

void CPVXFigure::ResetBaseMapEnable(EFigureType t, BOOL on, BOOL notify) {
    if (!m_pCurFigure) return;
    std::list<EFigureType>& list = m_pCurFigure->GetBaseMapListRef();
    list.remove(t);
    if (on && m_BaseMapSources.count(t)) {
        list.push_back(t);
        if (notify) UpdateAllViews(FVD_HINT_DRAWN);
    }
}

void CPVXFigure::Redraw(BOOL notify, BOOL zoom, BOOL keepBaseMaps) {
    if (notify) UpdateAllViews(FVD_HINT_REDRAW);
    if (keepBaseMaps && m_pCurFigure) {
        for (const auto& [src, same] : m_BaseMapSources) m_Drawn.erase(src);
        for (EFigureType t : m_pCurFigure->GetBaseMapListRef()) m_Drawn[t] = t;
    }
    if (m_pCurFigure) ResetLoadCase(m_pCurFigure->GetCurLoadCase(), zoom);
}

// Redraws what was drawn with the current figure on the load case. Without an open figure view
// the figure only takes the load case (the panel may still be open after the view closed).
void CPVXFigure::ResetLoadCase(UINT loadCase, BOOL zoom) {
    CVdrawUtil* drawing = GetViewDrawing();
    if (!drawing) {
        if (m_pCurFigure) m_pCurFigure->SetLoadCase(loadCase);
        return;
    }
    drawing->RemoveAllData();
    CArray<UINT> again;
    for (const auto& [t, same] : m_Drawn) {
        CFVDBase* f = GetFVDBase(t);
        if (!f || f->GetType() == m_eCurType || (f->GetType() >= 90 && f->GetType() <= 99)) continue;
        again.Add(static_cast<UINT>(t));
    }
    ForgetDrawn();
    DisplayFigureDlgData_DFLT(again);
    if (m_pCurFigure) {
        m_pCurFigure->SetLoadCase(loadCase);
        DrawCounted(m_pCurFigure, *drawing);
        CArray<UINT> cur;
        cur.Add(static_cast<UINT>(m_eCurType));
        DisplayBaseMapEx(cur);
    }
    if (zoom) drawing->ZoomAll();
}

void CPVXFigure::ContourDlgSet() {
    if (!m_pCurFigure || !CanFigureContour() || !s_pfnContourDlg) return;
    const int result = s_pfnContourDlg(m_pCurFigure);
    m_pCurFigure->SetModify(result);
    if (result < 2) Redraw(1, 0, 0);
}

BOOL CPVXFigure::CanFigureContour() const { return m_pCurFigure ? m_pCurFigure->UsesContour() : 0; }
