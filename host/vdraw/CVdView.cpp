#include "host/vdraw/CVdView.h"

#include <algorithm>
#include <vector>

#include "host/base/CMsgDll.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CColorWell.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/afxmsg.h"
#include "platform/ui/uiapi.h"

namespace {

const CMsgDll::StringEntry kVdTexts[] = {
    {"IDS_VDRAW_No_Contour", "当前图形没有等值线参数。"},
};

UiDlgTemplate Dialog(UINT id, CSize size, const char* caption, std::vector<UiDlgItem> items) {
    UiDlgTemplate t;
    t.nID = id;
    t.size = size;
    t.caption = caption;
    t.items = std::move(items);
    return t;
}

// The view's and the dialogs' templates and texts, registered once.
void RegisterVdResources() {
    static bool done = false;
    if (done) return;
    done = true;
    CMsgDll::RegisterStringTable(kVdTexts, static_cast<int>(sizeof kVdTexts / sizeof kVdTexts[0]));
    // The view's children are made and laid out by the view itself, not by its template.
    UiDlgTemplate view = Dialog(IDD_VDVIEW, CSize(10, 10), "", {});
    view.style = WS_CHILD;
    RegisterDialogTemplate(view);

    RegisterDialogTemplate(Dialog(IDD_VD_LAYERS, CSize(200, 150), "图层",
                                  {MakeDlgItem(IDC_VD_LAYER_LIST, UiCtl::ListBox, "", CRect(7, 7, 130, 140),
                                        WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY),
                                   MakeDlgItem(IDC_VD_LAYER_COLOUR, UiCtl::Static, "", CRect(140, 7, 193, 27)),
                                   MakeDlgItem(IDOK, UiCtl::DefButton, "确定", CRect(140, 105, 193, 119)),
                                   MakeDlgItem(IDCANCEL, UiCtl::Button, "取消", CRect(140, 125, 193, 139))}));
    RegisterDialogTemplate(Dialog(IDD_VD_TEXTSTYLE, CSize(200, 80), "文字样式",
                                  {MakeDlgItem(IDC_VD_STYLE_LIST, UiCtl::Combo, "", CRect(7, 7, 130, 80)),
                                   MakeDlgItem(IDC_VD_STYLE_HEIGHT, UiCtl::Edit, "", CRect(7, 27, 130, 40)),
                                   MakeDlgItem(IDOK, UiCtl::DefButton, "确定", CRect(140, 7, 193, 21)),
                                   MakeDlgItem(IDCANCEL, UiCtl::Button, "取消", CRect(140, 27, 193, 41))}));
}

// Layer colours: pick a layer in the list, then its colour in the well. The colours picked are
// kept per layer until OK.
class CVdLayerDlg : public CDialog {
public:
    CVdLayerDlg(const CVdrawUtil& drawing, CWnd* pParent) : CDialog(IDD_VD_LAYERS, pParent), m_drawing(drawing) {}

    std::vector<std::pair<int, COLORREF>> m_changes;  // layer id, new colour, in pick order

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_well.Attach(IDC_VD_LAYER_COLOUR, this, 0);
        CListBox* list = List();
        for (const VdLayer* layer : m_drawing.GetLayers()) {
            CString row;
            row.Format("%d %s", layer->id, static_cast<LPCTSTR>(layer->caption));
            const int i = list->AddString(row);
            list->SetItemData(i, static_cast<DWORD_PTR>(layer->id));
        }
        list->SetCurSel(0);
        OnSelChange();
        return TRUE;
    }
    void OnSelChange() {
        const int sel = List()->GetCurSel();
        if (sel < 0) return;
        const int id = static_cast<int>(List()->GetItemData(sel));
        COLORREF colour = m_drawing.GetLayer(id) ? m_drawing.GetLayer(id)->colour : 0;
        for (const auto& c : m_changes)
            if (c.first == id) colour = c.second;
        m_well.SetColor(colour);
    }
    LRESULT OnWellChanged(WPARAM, LPARAM lParam) {
        const int sel = List()->GetCurSel();
        if (sel >= 0) m_changes.emplace_back(static_cast<int>(List()->GetItemData(sel)), static_cast<COLORREF>(lParam));
        return 0;
    }
    CListBox* List() { return static_cast<CListBox*>(GetDlgItem(IDC_VD_LAYER_LIST)); }
    DECLARE_MESSAGE_MAP()

private:
    const CVdrawUtil& m_drawing;
    CColorWell m_well;
};

BEGIN_MESSAGE_MAP(CVdLayerDlg, CDialog)
    ON_LBN_SELCHANGE(IDC_VD_LAYER_LIST, OnSelChange)
    ON_MESSAGE(WM_COLORWELL_CHANGED, OnWellChanged)
END_MESSAGE_MAP()

// Text-style height: pick a style, type its height (drawing units, above 0).
class CVdTextStyleDlg : public CDialog {
public:
    CVdTextStyleDlg(const CVdrawUtil& drawing, CWnd* pParent)
        : CDialog(IDD_VD_TEXTSTYLE, pParent), m_names(drawing.GetTextStyleNames()), m_drawing(drawing) {}

    int m_nStyle = 0;        // index into m_names
    double m_dHeight = 1.0;  // its new height
    std::vector<CString> m_names;

protected:
    BOOL OnInitDialog() override {
        CComboBox* combo = static_cast<CComboBox*>(GetDlgItem(IDC_VD_STYLE_LIST));
        for (const CString& name : m_names) combo->AddString(name);
        m_nStyle = m_names.empty() ? -1 : 0;
        m_dHeight = StyleHeight(m_nStyle);
        return CDialog::OnInitDialog();  // fills the controls
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_CBIndex(pDX, IDC_VD_STYLE_LIST, m_nStyle);
        DDX_Text(pDX, IDC_VD_STYLE_HEIGHT, m_dHeight);
        DDV_MinMaxDouble(pDX, m_dHeight, 1e-6, 1e6);
    }
    void OnSelChange() {
        m_nStyle = static_cast<CComboBox*>(GetDlgItem(IDC_VD_STYLE_LIST))->GetCurSel();
        m_dHeight = StyleHeight(m_nStyle);
        CString text;
        text.Format("%g", m_dHeight);
        SetDlgItemText(IDC_VD_STYLE_HEIGHT, text);
    }
    double StyleHeight(int index) const {
        sEVETextStyle style;
        if (index >= 0 && index < static_cast<int>(m_names.size()) && m_drawing.GetTextStyle(m_names[index], style))
            return style.dHeight;
        return 1.0;
    }
    DECLARE_MESSAGE_MAP()

private:
    const CVdrawUtil& m_drawing;
};

BEGIN_MESSAGE_MAP(CVdTextStyleDlg, CDialog)
    ON_CBN_SELCHANGE(IDC_VD_STYLE_LIST, OnSelChange)
END_MESSAGE_MAP()

}  // namespace

BEGIN_MESSAGE_MAP(CVdDrawCtrl, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CVdDrawCtrl::OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    if (m_pDrawing) m_pDrawing->Render(&dc, rc);
}

IMPLEMENT_DYNCREATE(CVdView, CFormView)

BEGIN_MESSAGE_MAP(CVdView, CFormView)
    ON_WM_SIZE()
    ON_COMMAND(ID_VD_LAYER_SET, OnLayerSet)
    ON_COMMAND(ID_VD_TEXTSTYLE_SET, OnTextStyleSet)
    ON_COMMAND(ID_VD_CONTOUR_SET, OnContourSet)
    ON_LBN_DBLCLK(IDC_VDVIEW_LOADCASE, OnDblclkLoadCase)
END_MESSAGE_MAP()

CVdView::CVdView() : CFormView(IDD_VDVIEW) {
    RegisterVdResources();
    m_DrawCtrl.m_pDrawing = &m_VdrawUtil;
}

CVdView::~CVdView() = default;

BOOL CVdView::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                     CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
    if (!CFormView::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext)) return FALSE;
    const CRect none(0, 0, 0, 0);
    if (!m_ListLoadCase.Create(WS_CHILD | WS_VSCROLL | WS_BORDER | LBS_NOTIFY, none, this, IDC_VDVIEW_LOADCASE) ||
        !m_DrawCtrl.Create(nullptr, "", WS_CHILD | WS_VISIBLE, none, this, IDC_VDVIEW_DRAWCTRL))
        return FALSE;
    CRect rc;
    GetClientRect(&rc);
    OnSize(0, rc.Width(), rc.Height());
    return TRUE;
}

void CVdView::OnInitialUpdate() {
    CFormView::OnInitialUpdate();
    CRect rc;
    GetClientRect(&rc);
    OnSize(0, rc.Width(), rc.Height());
}

BOOL CVdView::PreTranslateMessage(MSG* pMsg) { return CFormView::PreTranslateMessage(pMsg); }

void CVdView::PostNcDestroy() { CFormView::PostNcDestroy(); }

void CVdView::ZoomAll() {
    m_VdrawUtil.ZoomAll();
    RepaintDrawing();
}

void CVdView::OnSize(UINT nType, int cx, int cy) {
    CFormView::OnSize(nType, cx, cy);
    cx = std::max(cx, 0);
    cy = std::max(cy, 0);
    // The list takes at most half the width, so a narrow view still shows the drawing.
    const int listWidth = m_bHasLoadCase ? std::min(kListWidth, cx / 2) : 0;
    if (m_ListLoadCase.m_hWnd) {
        m_ListLoadCase.MoveWindow(0, 0, listWidth, cy);
        m_ListLoadCase.ShowWindow(m_bHasLoadCase ? SW_SHOW : SW_HIDE);
    }
    if (m_DrawCtrl.m_hWnd) m_DrawCtrl.MoveWindow(listWidth, 0, cx - listWidth, cy);
}

CRect CVdView::GetDrawCtrlRect() const {
    CRect rc(0, 0, 0, 0);
    if (!m_DrawCtrl.m_hWnd) return rc;
    m_DrawCtrl.GetWindowRect(&rc);
    ScreenToClient(&rc);
    return rc;
}

CString CVdView::GetWindowTitleName() { return GetDocument() ? GetDocument()->GetTitle() : CString(); }

int CVdView::RefreshLoadCaseList() { return 0; }

int CVdView::DblclkListLoadcase(UINT) { return 0; }

int CVdView::ReFreshCurSel() { return 0; }

void CVdView::AfterTextMove(CvdFigure*, double, double) {}

BOOL CVdView::_MoveTextWithCtrl(long id, double dx, double dy) {
    CvdFigure* text = m_VdrawUtil.GetFigure(id);
    // Only texts the figure marked movable follow the mouse.
    if (!text || !text->IsText() || !text->m_movable) return FALSE;
    m_VdrawUtil.MoveFigure(id, dx, dy);
    RepaintDrawing();
    AfterTextMove(text, dx, dy);
    return TRUE;
}

void CVdView::AfterFormatTextstyle() {}

void CVdView::_OnContourSet() {}

int CVdView::_CanFigureContour() { return 0; }

void CVdView::OnLayerSet() {
    CVdLayerDlg dlg(m_VdrawUtil, this);
    if (dlg.DoModal() != IDOK || dlg.m_changes.empty()) return;
    for (const auto& c : dlg.m_changes) m_VdrawUtil.SetLayerColor(c.first, c.second);
    RepaintDrawing();
}

void CVdView::OnTextStyleSet() {
    CVdTextStyleDlg dlg(m_VdrawUtil, this);
    if (dlg.DoModal() != IDOK || dlg.m_nStyle < 0 || dlg.m_nStyle >= static_cast<int>(dlg.m_names.size())) return;
    const CString& name = dlg.m_names[dlg.m_nStyle];
    sEVETextStyle style;
    if (!m_VdrawUtil.GetTextStyle(name, style)) return;
    style.dHeight = dlg.m_dHeight;
    m_VdrawUtil.AddTextStyle(name, style, 1);
    AfterFormatTextstyle();
    RepaintDrawing();
}

void CVdView::OnContourSet() {
    if (_CanFigureContour())
        _OnContourSet();
    else
        AfxMessageBox(CMsgDll::pfuncLoadStr("IDS_VDRAW_No_Contour", 0), MB_OK | MB_ICONINFORMATION);
}

void CVdView::OnDblclkLoadCase() {
    const int sel = m_ListLoadCase.GetCurSel();
    if (sel >= 0) DblclkListLoadcase(static_cast<UINT>(m_ListLoadCase.GetItemData(sel)));
}

void CVdView::RepaintDrawing() {
    if (m_DrawCtrl.m_hWnd) m_DrawCtrl.Invalidate(FALSE);
}
