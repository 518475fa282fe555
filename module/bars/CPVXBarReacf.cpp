#include "module/bars/CPVXBarReacf.h"

#include "module/model/PVXModes.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNCREATE(CPVXBarReacf, CPVXBarReacPage)

const CPVXBarReacPage::IdSet CPVXBarReacf::kIds = {IDC_LOAD,        IDC_CONTOUR,     IDC_LEGEND,      IDC_VALUES,
                                                   IDC_CONTOUR_MORE, IDC_LEGEND_MORE, IDC_VALUES_MORE, IDC_SCALE};

BEGIN_MESSAGE_MAP(CPVXBarReacf, CPVXBarReacPage)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_APPLY, OnApply)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_CLOSE, OnBarClose)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_ICON, OnIconButton)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_LOAD_DIALOG, OnLoadCaseDialog)
    ON_CBN_SELCHANGE(CPVXBarReacf::IDC_LOAD, OnLoadChange)
    ON_MESSAGE(CMouseEdit::WM_LBUTTONDOWN_FROM_MVIEW, OnNodePicked)
    ON_BN_CLICKED(CPVXBarReacPage::IDC_REAC_FX, OnComponent)
    ON_BN_CLICKED(CPVXBarReacf::IDC_CONTOUR_MORE, OnKrigContourDetails)
    ON_BN_CLICKED(CPVXBarReacf::IDC_LEGEND_MORE, OnLegendDetails)
    ON_BN_CLICKED(CPVXBarReacf::IDC_VALUES_MORE, OnNumberMore)
END_MESSAGE_MAP()

CPVXBarReacf::CPVXBarReacf() : CPVXBarReacPage(IDD, kIds, PVXMode::kReaction) {}
