// What the result-view tests include: the view, its model and neighbours, the database and the
// host's frame, bar and request journal.
#pragma once

#include "module/animation/CAniCtrlBar.h"
#include "module/animation/CAnimationEngine.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/contour/CContourEngine.h"
#include "module/contour/CLegendEngine.h"
#include "module/contour/CPVXLegendWnd.h"
#include "module/figures/CPVXFigure.h"
#include "host/base/CDockDlgBarBase.h"
#include "host/base/CHostRequestLog.h"
#include "host/base/I_MainFrameBase.h"
#include "host/db/PostDBBuilder.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/afxwin.h"
#include "platform/video/MCIWnd.h"
