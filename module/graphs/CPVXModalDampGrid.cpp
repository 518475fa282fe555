#include "module/graphs/CPVXModalDampGrid.h"

#include "host/base/CMsgDll.h"
#include "module/graphs/CPVXModalDampData.h"
#include "platform/ui/CWaitCursor.h"
#include "platform/ui/afxmsg.h"

namespace {

struct Column {
    const char* pszKey;
    int nWidth;  // pixels
};

const Column kHeader[CPVXModalDampGrid::kColumns] = {
    {"IDS_TBX_PVX_MODE_NO", 40},  {"IDS_TBX_PVX_FREQUENCY_HZ", 70}, {"IDS_TBX_PVX_PERIOD_SEC", 60},
    {"IDS_TBX_PVX_MPM_X", 55},    {"IDS_TBX_PVX_MPM_Y", 55},        {"IDS_TBX_PVX_MPM_Z", 55},
    {"IDS_TBX_PVX_MODAL_DAMPING_RATIO", 135},
};

constexpr int kFontSize = 10;
constexpr int kFontWeight = 400;

CString Value(double v) {
    CString s;
    s.Format("%.15g", v);
    return s;
}

}  // namespace

IMPLEMENT_DYNAMIC(CPVXModalDampGrid, CTBBrowserWnd)

BEGIN_MESSAGE_MAP(CPVXModalDampGrid, CTBBrowserWnd)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CPVXModalDampGrid::CPVXModalDampGrid(const CPVXModalDampData* pData) : m_pData(pData) {}

CPVXModalDampGrid::~CPVXModalDampGrid() = default;

void CPVXModalDampGrid::Initialize() {
    CTBBrowserWnd::Initialize();
    std::vector<CString> texts;
    std::vector<int> widths;
    for (const Column& c : kHeader) {
        texts.push_back(CMsgDll::pfuncLoadStr(c.pszKey, 0));
        widths.push_back(c.nWidth);
    }
    SetHeader(texts, widths);
    SetCellFont(kFontSize, kFontWeight);
    FillRows();
}

void CPVXModalDampGrid::FillRows() {
    CWaitCursor wait;
    SetModeDisplayOnly(0);
    if (m_pData) {
        for (int m : m_pData->GetModeNumbers()) {
            T_PVX_MDDP_D r{};
            if (!m_pData->GetMode(m, r)) continue;
            CString no;
            no.Format("%d", m);
            AppendRow({no, Value(r.dFreq), Value(r.dPeriod), Value(r.dMpmX), Value(r.dMpmY), Value(r.dMpmZ),
                       Value(r.dDampRatio)});
        }
    }
    SetRightValidCell(1, 1);
    SetModeDisplayOnly(1);
}

void CPVXModalDampGrid::OnLButtonDown(UINT nFlags, CPoint point) {
    int row = 0, col = 0;
    if (HitTest(point, row, col) == HIT_BORDER && AcceptsColumn(col)) point.x = GetColRect(col).CenterPoint().x;
    CTBBrowserWnd::OnLButtonDown(nFlags, point);
}
