// Dialog data exchange and validation.
#include "platform/ui/DataExchange.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/ui/UiWindow.h"
#include "platform/ui/uiapi.h"

namespace {

void Refuse(CDataExchange* pDX, LPCTSTR text) {
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}

BOOL Skip(CDataExchange* pDX) { return !pDX || pDX->m_bFailed; }

CString Text(HWND h) {
    CWnd* p = CWnd::FromHandle(h);
    CString s;
    if (p) p->GetWindowText(s);
    return s;
}

void SetText(HWND h, LPCTSTR s) { ui::Send(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s)); }

// Whole text as a signed integer (surrounding blanks allowed).
BOOL ParseLong(const CString& s, long long& out) {
    const char* p = s;
    while (*p == ' ' || *p == '\t') ++p;
    if (!*p) return FALSE;
    errno = 0;
    char* end = nullptr;
    out = strtoll(p, &end, 10);
    if (end == p || errno == ERANGE) return FALSE;
    while (*end == ' ' || *end == '\t') ++end;
    return *end == '\0';
}

BOOL ParseDouble(const CString& s, double& out) {
    const char* p = s;
    while (*p == ' ' || *p == '\t') ++p;
    if (!*p) return FALSE;
    errno = 0;
    char* end = nullptr;
    out = strtod(p, &end);
    if (end == p || errno == ERANGE) return FALSE;
    while (*end == ' ' || *end == '\t') ++end;
    return *end == '\0';
}

template <class T>
void ExchangeInt(CDataExchange* pDX, int nIDC, T& value, long long lo, long long hi, LPCTSTR fmt, BOOL bUnsigned) {
    if (Skip(pDX)) return;
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (!h) return;
    if (pDX->m_bSaveAndValidate) {
        long long v = 0;
        if (!ParseLong(Text(h), v) || v < lo || v > hi) {
            Refuse(pDX, bUnsigned ? "Please enter a positive integer." : "Please enter an integer.");
            return;
        }
        value = static_cast<T>(v);
    } else {
        CString s;
        s.Format(fmt, static_cast<long long>(value));
        SetText(h, s);
    }
}

template <class T>
void ExchangeReal(CDataExchange* pDX, int nIDC, T& value, int digits) {
    if (Skip(pDX)) return;
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (!h) return;
    if (pDX->m_bSaveAndValidate) {
        double v = 0;
        if (!ParseDouble(Text(h), v)) {
            Refuse(pDX, "Please enter a number.");
            return;
        }
        value = static_cast<T>(v);
    } else {
        CString s;
        s.Format("%.*g", digits, static_cast<double>(value));
        SetText(h, s);
    }
}

}  // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_bFailed(FALSE), m_hWndLastControl(nullptr),
      m_bEditLastControl(FALSE) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND h = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    if (!h) {
        ui::Error("Data exchange: the dialog has no control with id %d.", nIDC);
        m_bFailed = TRUE;
        return nullptr;
    }
    m_hWndLastControl = h;
    m_bEditLastControl = FALSE;
    return h;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND h = PrepareCtrl(nIDC);
    if (h) m_bEditLastControl = TRUE;
    return h;
}

void CDataExchange::Fail() {
    m_bFailed = TRUE;
    if (!m_bSaveAndValidate || !m_hWndLastControl || !::IsWindow(m_hWndLastControl)) return;
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl) ui::Send(m_hWndLastControl, EM_SETSEL, 0, -1);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    if (!m_hWnd) return FALSE;
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value) { ExchangeInt(pDX, nIDC, value, 0, 255, "%lld", TRUE); }
void DDX_Text(CDataExchange* pDX, int nIDC, short& value) { ExchangeInt(pDX, nIDC, value, SHRT_MIN, SHRT_MAX, "%lld", FALSE); }
void DDX_Text(CDataExchange* pDX, int nIDC, int& value) { ExchangeInt(pDX, nIDC, value, INT_MIN, INT_MAX, "%lld", FALSE); }
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) { ExchangeInt(pDX, nIDC, value, 0, UINT_MAX, "%lld", TRUE); }
void DDX_Text(CDataExchange* pDX, int nIDC, long& value) { ExchangeInt(pDX, nIDC, value, LONG_MIN, LONG_MAX, "%lld", FALSE); }
void DDX_Text(CDataExchange* pDX, int nIDC, float& value) { ExchangeReal(pDX, nIDC, value, FLT_DIG); }
void DDX_Text(CDataExchange* pDX, int nIDC, double& value) { ExchangeReal(pDX, nIDC, value, DBL_DIG); }

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    if (Skip(pDX)) return;
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (!h) return;
    if (pDX->m_bSaveAndValidate)
        value = Text(h);
    else
        SetText(h, value);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    if (Skip(pDX)) return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h) return;
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(ui::Send(h, BM_GETCHECK, 0, 0));
    } else {
        int v = (value < 0 || value > 2) ? 0 : value;
        ui::Send(h, BM_SETCHECK, static_cast<WPARAM>(v), 0);
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    if (Skip(pDX)) return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h) return;
    UiWindow* first = ui::Find(h);
    UiWindow* parent = first ? ui::Find(first->hParent) : nullptr;
    if (!parent) return;
    if (pDX->m_bSaveAndValidate) value = -1;
    const auto& kids = parent->children;
    auto it = std::find(kids.begin(), kids.end(), h);
    int index = 0;
    for (; it != kids.end(); ++it) {
        UiWindow* c = ui::Find(*it);
        if (!c) continue;
        if (it != std::find(kids.begin(), kids.end(), h) && (c->style & WS_GROUP)) break;
        if (!(ui::Send(*it, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)) continue;
        if (pDX->m_bSaveAndValidate) {
            if (ui::Send(*it, BM_GETCHECK, 0, 0) == BST_CHECKED && value < 0) value = index;
        } else {
            ui::Send(*it, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    if (Skip(pDX)) return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h) return;
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(ui::Send(h, CB_GETCURSEL, 0, 0));
    else
        ui::Send(h, CB_SETCURSEL, static_cast<WPARAM>(static_cast<intptr_t>(index)), 0);
}

static void ExchangeCBString(CDataExchange* pDX, int nIDC, CString& value, BOOL bExact) {
    if (Skip(pDX)) return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h) return;
    UiWindow* w = ui::Find(h);
    BOOL dropList = w && (w->style & 3) == CBS_DROPDOWNLIST;
    if (pDX->m_bSaveAndValidate) {
        if (dropList) {
            int i = static_cast<int>(ui::Send(h, CB_GETCURSEL, 0, 0));
            value = (i >= 0 && w && i < static_cast<int>(w->items.size())) ? w->items[static_cast<size_t>(i)].text.c_str() : "";
        } else {
            value = Text(h);
        }
        return;
    }
    LRESULT i = ui::Send(h, bExact ? CB_FINDSTRINGEXACT : CB_FINDSTRING, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value)));
    if (i >= 0) {
        ui::Send(h, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        if (!dropList && !bExact) SetText(h, value);
    } else if (!dropList) {
        SetText(h, value);
    } else {
        ui::Send(h, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) { ExchangeCBString(pDX, nIDC, value, FALSE); }
void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value) { ExchangeCBString(pDX, nIDC, value, TRUE); }

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
    if (Skip(pDX)) return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h) return;
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(ui::Send(h, LB_GETCURSEL, 0, 0));
    else
        ui::Send(h, LB_SETCURSEL, static_cast<WPARAM>(static_cast<intptr_t>(index)), 0);
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value) {
    if (Skip(pDX)) return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h) return;
    UiWindow* w = ui::Find(h);
    if (pDX->m_bSaveAndValidate) {
        int i = static_cast<int>(ui::Send(h, LB_GETCURSEL, 0, 0));
        value = (w && i >= 0 && i < static_cast<int>(w->items.size())) ? w->items[static_cast<size_t>(i)].text.c_str() : "";
    } else {
        LRESULT i = ui::Send(h, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value)));
        ui::Send(h, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
    }
}

void DDX_Slider(CDataExchange* pDX, int nIDC, int& value) {
    if (Skip(pDX)) return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h) return;
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(ui::Send(h, TBM_GETPOS, 0, 0));
    else
        ui::Send(h, TBM_SETPOS, TRUE, value);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (Skip(pDX) || rControl.m_hWnd) return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h) return;
    if (!rControl.SubclassWindow(h)) pDX->m_bFailed = TRUE;
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
    if (Skip(pDX)) return;
    if (pDX->m_bSaveAndValidate) {
        if (value.GetLength() > nChars) {
            CString s;
            s.Format("Enter no more than %d characters.", nChars);
            Refuse(pDX, s);
        }
    } else if (pDX->m_hWndLastControl && pDX->m_bEditLastControl) {
        ui::Send(pDX->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
    }
}

static void RangeInt(CDataExchange* pDX, long long v, long long lo, long long hi) {
    if (Skip(pDX) || !pDX->m_bSaveAndValidate) return;
    if (v < lo || v > hi) {
        CString s;
        s.Format("Please enter an integer between %lld and %lld.", lo, hi);
        Refuse(pDX, s);
    }
}

static void RangeReal(CDataExchange* pDX, double v, double lo, double hi, int digits) {
    if (Skip(pDX) || !pDX->m_bSaveAndValidate) return;
    if (v < lo || v > hi) {
        CString a, b, s;
        a.Format("%.*g", digits, lo);
        b.Format("%.*g", digits, hi);
        s.Format("Please enter a number between %s and %s.", static_cast<LPCTSTR>(a), static_cast<LPCTSTR>(b));
        Refuse(pDX, s);
    }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) { RangeInt(pDX, value, minVal, maxVal); }
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) { RangeInt(pDX, value, minVal, maxVal); }
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal) { RangeInt(pDX, value, minVal, maxVal); }
void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal) { RangeInt(pDX, value, minVal, maxVal); }
void DDV_MinMaxFloat(CDataExchange* pDX, float const& value, float minVal, float maxVal) {
    RangeReal(pDX, value, minVal, maxVal, FLT_DIG);
}
void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal) {
    RangeReal(pDX, value, minVal, maxVal, DBL_DIG);
}
