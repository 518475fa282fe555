#include "module/bars/CPVXBarRContr.h"

#include "module/model/PVXModes.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNCREATE(CPVXBarRContr, CPVXBarReacPage)

const CPVXBarReacPage::IdSet CPVXBarRContr::kIds = {IDC_LOAD,        IDC_CONTOUR,     IDC_LEGEND,      IDC_VALUES,
                                                    IDC_CONTOUR_MORE, IDC_LEGEND_MORE, IDC_VALUES_MORE, IDC_SCALE};

BEGIN_MESSAGE_MAP(CPVXBarRContr, CPVXBarReacPage)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_APPLY, OnApply)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_CLOSE, OnBarClose)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_ICON, OnIconButton)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_LOAD_DIALOG, OnLoadCaseDialog)
    ON_CBN_SELCHANGE(CPVXBarRContr::IDC_LOAD, OnLoadChange)
    ON_BN_CLICKED(CPVXBarReacPage::IDC_REAC_FX, OnComponent)
    ON_BN_CLICKED(CPVXBarRContr::IDC_CONTOUR, OnContourBox)
    ON_BN_CLICKED(CPVXBarRContr::IDC_CONTOUR_MORE, OnContourDetails)
    ON_BN_CLICKED(CPVXBarRContr::IDC_LEGEND_MORE, OnLegendDetails)
    ON_BN_CLICKED(CPVXBarRContr::IDC_VALUES_MORE, OnNumberMore)
END_MESSAGE_MAP()

CPVXBarRContr::CPVXBarRContr() : CPVXBarReacPage(IDD, kIds, PVXMode::kReactionContour) { m_bHasMembKind = TRUE; }
