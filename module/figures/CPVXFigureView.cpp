#include "module/figures/CPVXFigureView.h"

#include "host/base/CMsgDll.h"
#include "host/base/I_MainFrameBase.h"
#include "host/db/CDBDoc.h"
#include "module/figures/CPVXFigure.h"
#include "module/figures/FigureTextMove.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/CFileDialog.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/afxmsg.h"
#include "platform/ui/uiapi.h"

namespace {

constexpr long kHintLoadCases = 114;

// The context menu, registered once.
void RegisterFigureViewMenu() {
    static bool done = false;
    if (done) return;
    UiMenuTemplateItem popup;
    popup.text = "Figure View";
    auto item = [](const char* text, UINT id) {
        UiMenuTemplateItem it;
        it.text = text;
        it.nID = id;
        return it;
    };
    UiMenuTemplateItem sep;
    sep.nFlags = MF_SEPARATOR;
    popup.popup = {item("全部缩放", ID_FIGURE_ZOOM_ALL), item("窗口放大", ID_FIGURE_ZOOM_WINDOW), sep,
                   item("输出", ID_FIGURE_PRINT), item("生成DWG文件", ID_FIGURE_EXPORT)};
    done = RegisterMenuTemplate(IDR_FIGURE_VIEW_MENU, {popup});
}

}  // namespace

IMPLEMENT_DYNCREATE(CPVXFigureView, CVdView)

BEGIN_MESSAGE_MAP(CPVXFigureView, CVdView)
    ON_WM_CONTEXTMENU()
    ON_COMMAND(ID_FIGURE_ZOOM_ALL, OnContextZoomAll)
    ON_COMMAND(ID_FIGURE_ZOOM_WINDOW, OnContextZoomWindow)
    ON_COMMAND(ID_FIGURE_PRINT, OnContextPrint)
    ON_COMMAND(ID_FIGURE_EXPORT, OnContextExport)
END_MESSAGE_MAP()

CPVXFigureView::CPVXFigureView() { RegisterFigureViewMenu(); }

CPVXFigureView::~CPVXFigureView() {
    StopListening();
    I_MainFrameBase::CloseFigureDlg();
}

void CPVXFigureView::OnInitialUpdate() {
    CVdView::OnInitialUpdate();
    m_VdrawUtil.SetLineWeightDisplay(1);
    if (!m_pHintDoc && CDBDoc::m_pDBDoc) {
        m_pHintDoc = CDBDoc::m_pDBDoc;
        m_pHintDoc->AddHintListener(this, &CPVXFigureView::OnDocumentHint);
    }
}

void CPVXFigureView::OnDocumentHint(void* owner, LPARAM lHint) {
    static_cast<CPVXFigureView*>(owner)->OnUpdate(nullptr, lHint, nullptr);
}

void CPVXFigureView::StopListening() {
    // Only while that document is still the process's (a document gone forgets its listeners).
    if (m_pHintDoc && m_pHintDoc == CDBDoc::m_pDBDoc) m_pHintDoc->RemoveHintListener(this);
    m_pHintDoc = nullptr;
}

void CPVXFigureView::OnUpdate(CView*, LPARAM lHint, CObject*) {
    if (!m_hWnd) return;
    if (lHint == kHintLoadCases)
        RefreshLoadCaseList();
    else if (lHint == FVD_HINT_VIEW_SELECT)
        ReFreshCurSel();
}

BOOL CPVXFigureView::PreTranslateMessage(MSG* pMsg) { return CFormView::PreTranslateMessage(pMsg); }

void CPVXFigureView::PostNcDestroy() {
    StopListening();
    CPVXFigure* ctrl = CPVXFigure::m_pMyself;
    if (ctrl) ctrl->OnFigureViewDestroyed(this);
    CVdView::PostNcDestroy();
}

void CPVXFigureView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    if (bActivate == 1 && pActivateView && pDeactiveView) {
        if (CWnd* main = AfxGetMainWnd()) main->SendMessage(WM_COMMAND, kFigureViewActivated, 1);
    }
    CFormView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

int CPVXFigureView::RefreshLoadCaseList() {
    int result = CVdView::RefreshLoadCaseList();
    CPVXFigure* ctrl = CPVXFigure::m_pMyself;
    const std::map<UINT, CString>* cases = ctrl ? ctrl->GetLoadCase() : nullptr;
    if (cases && m_ListLoadCase.m_hWnd) {
        m_bHasLoadCase = !cases->empty();
        result = static_cast<int>(cases->size());
        m_ListLoadCase.ResetContent();
        const UINT cur = ctrl->GetCurLoadCase();
        for (const auto& c : *cases) {
            const int row = m_ListLoadCase.AddString(c.second);
            m_ListLoadCase.SetItemData(row, c.first);
            if (c.first == cur) m_ListLoadCase.SetCurSel(row);
        }
    }
    if (m_hWnd) {
        CRect rc;
        GetClientRect(&rc);
        CVdView::OnSize(0, rc.Width(), rc.Height());
    }
    return result;
}

int CPVXFigureView::ReFreshCurSel() {
    const int result = CVdView::ReFreshCurSel();
    CPVXFigure* ctrl = CPVXFigure::m_pMyself;
    const std::map<UINT, CString>* cases = ctrl ? ctrl->GetLoadCase() : nullptr;
    if (!cases || !m_ListLoadCase.m_hWnd) return result;
    const UINT key = ctrl->GetCurLoadGroupKey();
    if (key == 0 || cases->find(key) == cases->end()) return result;
    for (int i = 0; i < m_ListLoadCase.GetCount(); ++i) {
        if (m_ListLoadCase.GetItemData(i) == key) {
            m_ListLoadCase.SetCurSel(i);
            break;
        }
    }
    return result;
}

int CPVXFigureView::DblclkListLoadcase(UINT key) {
    const int result = CVdView::DblclkListLoadcase(key);
    CPVXFigure* ctrl = CPVXFigure::m_pMyself;
    if (!ctrl) return result;
    ctrl->ResetLoadCase(key, 1);
    ctrl->UpdateAllViews(FVD_HINT_PANEL_SELECT);
    return 1;
}

void CPVXFigureView::AfterTextMove(CvdFigure* text, double dx, double dy) {
    RecordTextMove(&m_VdrawUtil, text, dx, dy);
}

void CPVXFigureView::AfterFormatTextstyle() {
    if (CDBDoc* doc = CDBDoc::m_pDBDoc) doc->UpdateAllViews(nullptr, FVD_HINT_TEXTSTYLE, nullptr);
}

void CPVXFigureView::_OnContourSet() {
    if (CPVXFigure* ctrl = CPVXFigure::m_pMyself) ctrl->ContourDlgSet();
}

int CPVXFigureView::_CanFigureContour() {
    CPVXFigure* ctrl = CPVXFigure::m_pMyself;
    return ctrl ? ctrl->CanFigureContour() : 0;
}

// ---- export ------------------------------------------------------------------------------------

CString CPVXFigureView::MakeExportTitle(const CString& path) {
    const std::string p = path.GetString();
    const size_t slash = p.find_last_of("/\\");
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    size_t i = nameStart;
    while (i < p.size() && p[i] == '.') ++i;  // a file name's leading dots are part of it
    const size_t dot = p.find('.', i);
    return CString(dot == std::string::npos ? p.c_str() : p.substr(0, dot).c_str());
}

CString CPVXFigureView::MakeExportFileName(const CString& title, const CString& caption) {
    std::string name = std::string(title.GetString()) + "_" + caption.GetString();
    for (char& c : name) {
        if (c == ':') c = '-';
    }
    for (char& c : name) {
        switch (c) {
        case ' ': case '\\': case '/': case '*': case '?': case '"': case '<': case '>':
            c = '_';
            break;
        default:
            break;
        }
    }
    return CString(name.c_str());
}

CDBDoc* CPVXFigureView::ExportDocument() {
    if (CPVXView* view = CPVXView::m_pMyself)
        if (I_PVXModel* model = view->GetPVXModel())
            if (CDBDoc* doc = model->GetDBDoc()) return doc;
    return CDBDoc::m_pDBDoc;
}

void CPVXFigureView::GetTitle(CString& title) {
    CDBDoc* doc = ExportDocument();
    title = doc ? MakeExportTitle(doc->GetPathName()) : CString();
}

void CPVXFigureView::GetFileName(CString& name) {
    CString title;
    GetTitle(title);
    name = MakeExportFileName(title, m_strCaption[0]);
}

void CPVXFigureView::Export() {
    CString name;
    GetFileName(name);
    CFileDialog dlg(FALSE, "dwg", name, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    "AutoCAD Drawing (*.dwg)|*.dwg|AutoCAD DXF (*.dxf)|*.dxf||", this);
    dlg.m_ofn.lpstrTitle = "Export to DWG";
    if (dlg.DoModal() == IDOK) Export2DWG(dlg.GetPathName());
}

int CPVXFigureView::Export2DWG(const CString& path) {
    const int ok = m_VdrawUtil.ExportToDwg(100, path);
    if (!ok) AfxMessageBox(CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Error_Failed_to_Export", 0), MB_OK, 0);
    return ok;
}

// ---- context menu ------------------------------------------------------------------------------

void CPVXFigureView::OnContextMenu(CWnd*, CPoint point) {
    if (!m_DrawCtrl.m_hWnd) return;
    CRect rc;
    m_DrawCtrl.GetWindowRect(&rc);
    if (!rc.PtInRect(point)) return;  // the load-case list has no menu
    CMenu menu;
    if (!menu.LoadMenu(IDR_FIGURE_VIEW_MENU)) return;
    if (CMenu* popup = menu.GetSubMenu(0)) popup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
    menu.DestroyMenu();
}

void CPVXFigureView::OnContextZoomAll() { ZoomAll(); }

void CPVXFigureView::OnContextZoomWindow() { m_VdrawUtil.ZoomWindow(); }

void CPVXFigureView::OnContextPrint() { m_VdrawUtil.PrintPreview(); }

void CPVXFigureView::OnContextExport() { Export(); }
