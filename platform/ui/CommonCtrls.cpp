// Sliders, spin buttons, tabs and progress bars.
#include "platform/ui/CommonCtrls.h"

#include <algorithm>
#include <cstdio>

#include "platform/ui/UiWindow.h"

IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)

namespace {
int Clamp(const UiWindow& w, int v) { return std::clamp(v, std::min(w.nMin, w.nMax), std::max(w.nMin, w.nMax)); }

void UpdateBuddy(UiWindow& w) {
    if (!(w.style & UDS_SETBUDDYINT) || !ui::Find(w.hBuddy)) return;
    char buf[32];
    snprintf(buf, sizeof buf, "%d", w.nPos);
    ui::Send(w.hBuddy, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(buf));
}
}  // namespace

namespace ui {

// Sliders start with the range 0..100, as the control does.
BOOL TrackBarProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& r) {
    switch (message) {
    case WM_CREATE:
        w.nMin = 0;
        w.nMax = 100;
        w.nPos = 0;
        w.nPage = 20;
        w.nLine = 1;
        r = 0;
        return TRUE;
    case WM_GETDLGCODE:
        r = DLGC_WANTARROWS;
        return TRUE;
    case TBM_GETPOS: r = w.nPos; return TRUE;
    case TBM_GETRANGEMIN: r = w.nMin; return TRUE;
    case TBM_GETRANGEMAX: r = w.nMax; return TRUE;
    case TBM_SETPOS:
        w.nPos = Clamp(w, static_cast<int>(lParam));
        if (wParam) AddUpdate(w, nullptr, TRUE);
        r = 0;
        return TRUE;
    case TBM_SETRANGE:
        w.nMin = static_cast<short>(LOWORD(lParam));
        w.nMax = static_cast<short>(HIWORD(lParam));
        w.nPos = Clamp(w, w.nPos);
        r = 0;
        return TRUE;
    case TBM_SETRANGEMIN:
        w.nMin = static_cast<int>(lParam);
        w.nPos = Clamp(w, w.nPos);
        r = 0;
        return TRUE;
    case TBM_SETRANGEMAX:
        w.nMax = static_cast<int>(lParam);
        w.nPos = Clamp(w, w.nPos);
        r = 0;
        return TRUE;
    case TBM_SETTICFREQ: w.nTicFreq = static_cast<int>(wParam); r = 0; return TRUE;
    case TBM_SETPAGESIZE: r = w.nPage; w.nPage = static_cast<int>(lParam); return TRUE;
    case TBM_GETPAGESIZE: r = w.nPage; return TRUE;
    case TBM_SETLINESIZE: r = w.nLine; w.nLine = static_cast<int>(lParam); return TRUE;
    case TBM_GETLINESIZE: r = w.nLine; return TRUE;
    default: return FALSE;
    }
}

// Up-down controls start with the range 100..0 (up decreases), as the control does.
BOOL UpDownProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& r) {
    switch (message) {
    case WM_CREATE:
        w.nMin = 100;
        w.nMax = 0;
        w.nPos = 0;
        r = 0;
        return TRUE;
    case UDM_SETRANGE:
        w.nMax = static_cast<short>(LOWORD(lParam));
        w.nMin = static_cast<short>(HIWORD(lParam));
        w.nPos = Clamp(w, w.nPos);
        r = 0;
        return TRUE;
    case UDM_SETRANGE32:
        w.nMin = static_cast<int>(static_cast<intptr_t>(wParam));
        w.nMax = static_cast<int>(lParam);
        w.nPos = Clamp(w, w.nPos);
        r = 0;
        return TRUE;
    case UDM_GETRANGE:
        r = MAKELONG(static_cast<short>(w.nMax), static_cast<short>(w.nMin));
        return TRUE;
    case UDM_GETRANGE32:
        if (wParam) *reinterpret_cast<int*>(wParam) = w.nMin;
        if (lParam) *reinterpret_cast<int*>(lParam) = w.nMax;
        r = 0;
        return TRUE;
    case UDM_SETPOS:
    case UDM_SETPOS32:
        r = w.nPos;
        w.nPos = Clamp(w, message == UDM_SETPOS ? static_cast<short>(LOWORD(lParam)) : static_cast<int>(lParam));
        UpdateBuddy(w);
        return TRUE;
    case UDM_GETPOS:
        r = MAKELONG(static_cast<short>(w.nPos), 0);
        return TRUE;
    case UDM_GETPOS32:
        if (lParam) *reinterpret_cast<BOOL*>(lParam) = FALSE;
        r = w.nPos;
        return TRUE;
    case UDM_SETBUDDY:
        r = reinterpret_cast<LRESULT>(w.hBuddy);
        w.hBuddy = reinterpret_cast<HWND>(wParam);
        UpdateBuddy(w);
        return TRUE;
    case UDM_GETBUDDY:
        r = reinterpret_cast<LRESULT>(Find(w.hBuddy) ? w.hBuddy : nullptr);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL TabProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& r) {
    switch (message) {
    case TCM_GETITEMCOUNT:
        r = static_cast<LRESULT>(w.items.size());
        return TRUE;
    case TCM_INSERTITEM: {
        const TCITEM* it = reinterpret_cast<const TCITEM*>(lParam);
        int i = static_cast<int>(static_cast<intptr_t>(wParam));
        if (!it || i < 0) {
            r = -1;
            return TRUE;
        }
        size_t at = std::min(static_cast<size_t>(i), w.items.size());
        UiListItem item;
        if ((it->mask & TCIF_TEXT) && it->pszText) item.text = it->pszText;
        if (it->mask & TCIF_PARAM) item.data = static_cast<DWORD_PTR>(it->lParam);
        w.items.insert(w.items.begin() + static_cast<long>(at), item);
        if (w.nCurSel < 0) w.nCurSel = 0;
        else if (w.nCurSel >= static_cast<int>(at) && w.items.size() > 1) ++w.nCurSel;
        r = static_cast<LRESULT>(at);
        return TRUE;
    }
    case TCM_DELETEITEM:
        r = ListErase(w, wParam);
        return TRUE;
    case TCM_DELETEALLITEMS:
        w.items.clear();
        w.nCurSel = -1;
        r = TRUE;
        return TRUE;
    case TCM_GETCURSEL:
        r = w.nCurSel;
        return TRUE;
    case TCM_SETCURSEL: {
        int i = static_cast<int>(static_cast<intptr_t>(wParam));
        if (i < 0 || i >= static_cast<int>(w.items.size())) {
            r = -1;
            return TRUE;
        }
        r = w.nCurSel;
        w.nCurSel = i;
        AddUpdate(w, nullptr, TRUE);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL ProgressProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& r) {
    switch (message) {
    case WM_CREATE:
        w.nMin = 0;
        w.nMax = 100;
        w.nPos = 0;
        w.nStep = 10;
        r = 0;
        return TRUE;
    case PBM_SETRANGE:
        r = MAKELONG(static_cast<short>(w.nMin), static_cast<short>(w.nMax));
        w.nMin = static_cast<short>(LOWORD(lParam));
        w.nMax = static_cast<short>(HIWORD(lParam));
        w.nPos = Clamp(w, w.nPos);
        return TRUE;
    case PBM_SETRANGE32:
        r = MAKELONG(static_cast<short>(w.nMin), static_cast<short>(w.nMax));
        w.nMin = static_cast<int>(static_cast<intptr_t>(wParam));
        w.nMax = static_cast<int>(lParam);
        w.nPos = Clamp(w, w.nPos);
        return TRUE;
    case PBM_GETRANGE:
        r = wParam ? w.nMin : w.nMax;
        return TRUE;
    case PBM_SETPOS:
        r = w.nPos;
        w.nPos = Clamp(w, static_cast<int>(static_cast<intptr_t>(wParam)));
        return TRUE;
    case PBM_GETPOS:
        r = w.nPos;
        return TRUE;
    case PBM_DELTAPOS:
        r = w.nPos;
        w.nPos = Clamp(w, w.nPos + static_cast<int>(static_cast<intptr_t>(wParam)));
        return TRUE;
    case PBM_SETSTEP:
        r = w.nStep;
        w.nStep = static_cast<int>(static_cast<intptr_t>(wParam));
        return TRUE;
    case PBM_STEPIT:
        r = w.nPos;
        w.nPos += w.nStep;
        if (w.nPos > w.nMax) w.nPos = w.nMin + (w.nPos - w.nMax);
        w.nPos = Clamp(w, w.nPos);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL SliderUserMove(HWND hSlider, int nPos) {
    UiWindow* w = Find(hSlider);
    if (!w || (w->style & WS_DISABLED)) return FALSE;
    w->nPos = Clamp(*w, nPos);
    int pos = w->nPos;
    HWND parent = w->hParent;
    UINT msg = (w->style & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
    AddUpdate(*w, nullptr, TRUE);
    Send(parent, msg, MAKEWPARAM(TB_THUMBPOSITION, pos), reinterpret_cast<LPARAM>(hSlider));
    if (Find(hSlider)) Send(parent, msg, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(hSlider));
    return TRUE;
}

BOOL SpinUserStep(HWND hSpin, int nDelta) {
    UiWindow* w = Find(hSpin);
    if (!w || (w->style & WS_DISABLED)) return FALSE;
    NMUPDOWN nm{};
    nm.iPos = w->nPos;
    nm.iDelta = w->nMin > w->nMax ? -nDelta : nDelta;
    if (NotifyParent(*w, &nm.hdr, UDN_DELTAPOS)) return FALSE;
    w = Find(hSpin);
    if (!w) return FALSE;
    int lo = std::min(w->nMin, w->nMax), hi = std::max(w->nMin, w->nMax);
    int next = w->nPos + nm.iDelta;
    if (w->style & UDS_WRAP) {
        if (next > hi) next = lo;
        if (next < lo) next = hi;
    }
    w->nPos = std::clamp(next, lo, hi);
    UpdateBuddy(*w);
    w = Find(hSpin);
    if (!w) return FALSE;
    Send(w->hParent, (w->style & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, w->nPos),
         reinterpret_cast<LPARAM>(hSpin));
    return TRUE;
}

BOOL TabUserSelect(HWND hTab, int nItem) {
    UiWindow* w = Find(hTab);
    if (!w || (w->style & WS_DISABLED) || nItem < 0 || nItem >= static_cast<int>(w->items.size())) return FALSE;
    NMHDR hdr{};
    if (NotifyParent(*w, &hdr, TCN_SELCHANGING)) return FALSE;
    w = Find(hTab);
    if (!w) return FALSE;
    w->nCurSel = nItem;
    NMHDR hdr2{};
    NotifyParent(*w, &hdr2, TCN_SELCHANGE);
    return TRUE;
}

}  // namespace ui

// ---- Wrappers ----

#define IW(i) static_cast<WPARAM>(static_cast<intptr_t>(i))

BOOL CSliderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("msctls_trackbar32", nullptr, dwStyle, rect, pParentWnd, nID);
}
void CSliderCtrl::SetRange(int nMin, int nMax, BOOL bRedraw) {
    SendMessage(TBM_SETRANGEMIN, FALSE, nMin);
    SendMessage(TBM_SETRANGEMAX, bRedraw, nMax);
}
void CSliderCtrl::GetRange(int& nMin, int& nMax) const {
    nMin = GetRangeMin();
    nMax = GetRangeMax();
}
void CSliderCtrl::SetRangeMin(int nMin, BOOL bRedraw) { SendMessage(TBM_SETRANGEMIN, bRedraw, nMin); }
void CSliderCtrl::SetRangeMax(int nMax, BOOL bRedraw) { SendMessage(TBM_SETRANGEMAX, bRedraw, nMax); }
int CSliderCtrl::GetRangeMin() const { return static_cast<int>(SendMessage(TBM_GETRANGEMIN)); }
int CSliderCtrl::GetRangeMax() const { return static_cast<int>(SendMessage(TBM_GETRANGEMAX)); }
void CSliderCtrl::SetPos(int nPos) { SendMessage(TBM_SETPOS, TRUE, nPos); }
int CSliderCtrl::GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
void CSliderCtrl::SetTicFreq(int nFreq) { SendMessage(TBM_SETTICFREQ, IW(nFreq)); }
int CSliderCtrl::SetPageSize(int nSize) { return static_cast<int>(SendMessage(TBM_SETPAGESIZE, 0, nSize)); }
int CSliderCtrl::GetPageSize() const { return static_cast<int>(SendMessage(TBM_GETPAGESIZE)); }
int CSliderCtrl::SetLineSize(int nSize) { return static_cast<int>(SendMessage(TBM_SETLINESIZE, 0, nSize)); }
int CSliderCtrl::GetLineSize() const { return static_cast<int>(SendMessage(TBM_GETLINESIZE)); }

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("msctls_updown32", nullptr, dwStyle, rect, pParentWnd, nID);
}
void CSpinButtonCtrl::SetRange(short nLower, short nUpper) { SendMessage(UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower)); }
void CSpinButtonCtrl::SetRange32(int nLower, int nUpper) { SendMessage(UDM_SETRANGE32, IW(nLower), nUpper); }
void CSpinButtonCtrl::GetRange(int& nLower, int& nUpper) const {
    SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&nLower), reinterpret_cast<LPARAM>(&nUpper));
}
int CSpinButtonCtrl::SetPos(int nPos) { return static_cast<int>(SendMessage(UDM_SETPOS32, 0, nPos)); }
int CSpinButtonCtrl::GetPos() const { return static_cast<int>(SendMessage(UDM_GETPOS)); }
int CSpinButtonCtrl::GetPos32(BOOL* lpbError) const { return static_cast<int>(SendMessage(UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(lpbError))); }
CWnd* CSpinButtonCtrl::SetBuddy(CWnd* pWndBuddy) {
    return CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(pWndBuddy ? pWndBuddy->m_hWnd : nullptr))));
}
CWnd* CSpinButtonCtrl::GetBuddy() const { return CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY))); }

BOOL CTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("SysTabControl32", nullptr, dwStyle, rect, pParentWnd, nID);
}
LONG CTabCtrl::InsertItem(int nItem, LPCTSTR lpszItem) {
    TCITEM it{};
    it.mask = TCIF_TEXT;
    it.pszText = const_cast<LPTSTR>(lpszItem ? lpszItem : "");
    return InsertItem(nItem, &it);
}
LONG CTabCtrl::InsertItem(int nItem, TCITEM* p) { return static_cast<LONG>(SendMessage(TCM_INSERTITEM, IW(nItem), reinterpret_cast<LPARAM>(p))); }
BOOL CTabCtrl::DeleteItem(int nItem) { return static_cast<BOOL>(SendMessage(TCM_DELETEITEM, IW(nItem))); }
BOOL CTabCtrl::DeleteAllItems() { return static_cast<BOOL>(SendMessage(TCM_DELETEALLITEMS)); }
int CTabCtrl::GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
int CTabCtrl::GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
int CTabCtrl::SetCurSel(int nItem) { return static_cast<int>(SendMessage(TCM_SETCURSEL, IW(nItem))); }
BOOL CTabCtrl::GetItem(int nItem, TCITEM* p) const {
    UiWindow* w = ui::Find(m_hWnd);
    if (!w || !p || nItem < 0 || nItem >= static_cast<int>(w->items.size())) return FALSE;
    const UiListItem& it = w->items[static_cast<size_t>(nItem)];
    if ((p->mask & TCIF_TEXT) && p->pszText && p->cchTextMax > 0)
        ui::CopyText(it.text, static_cast<WPARAM>(p->cchTextMax), reinterpret_cast<LPARAM>(p->pszText));
    if (p->mask & TCIF_PARAM) p->lParam = static_cast<LPARAM>(it.data);
    return TRUE;
}
BOOL CTabCtrl::SetItem(int nItem, TCITEM* p) {
    UiWindow* w = ui::Find(m_hWnd);
    if (!w || !p || nItem < 0 || nItem >= static_cast<int>(w->items.size())) return FALSE;
    UiListItem& it = w->items[static_cast<size_t>(nItem)];
    if ((p->mask & TCIF_TEXT) && p->pszText) it.text = p->pszText;
    if (p->mask & TCIF_PARAM) it.data = static_cast<DWORD_PTR>(p->lParam);
    return TRUE;
}

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("msctls_progress32", nullptr, dwStyle, rect, pParentWnd, nID);
}
void CProgressCtrl::SetRange(short nLower, short nUpper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
void CProgressCtrl::SetRange32(int nLower, int nUpper) { SendMessage(PBM_SETRANGE32, IW(nLower), nUpper); }
void CProgressCtrl::GetRange(int& nLower, int& nUpper) const {
    nLower = static_cast<int>(SendMessage(PBM_GETRANGE, TRUE));
    nUpper = static_cast<int>(SendMessage(PBM_GETRANGE, FALSE));
}
int CProgressCtrl::SetPos(int nPos) { return static_cast<int>(SendMessage(PBM_SETPOS, IW(nPos))); }
int CProgressCtrl::GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
int CProgressCtrl::OffsetPos(int nPos) { return static_cast<int>(SendMessage(PBM_DELTAPOS, IW(nPos))); }
int CProgressCtrl::SetStep(int nStep) { return static_cast<int>(SendMessage(PBM_SETSTEP, IW(nStep))); }
int CProgressCtrl::StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }

#undef IW
