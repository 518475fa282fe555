// What the result-view tests include: the view, its model and neighbours, the database and the
// host's frame, bar and request journal.
#pragma once

#include "animation/CAniCtrlBar.h"
#include "animation/CAnimationEngine.h"
#include "bars/CPVXBarContainerBase.h"
#include "contour/CContourEngine.h"
#include "contour/CLegendEngine.h"
#include "contour/CPVXLegendWnd.h"
#include "figures/CPVXFigure.h"
#include "host/base/CDockDlgBarBase.h"
#include "host/base/CHostRequestLog.h"
#include "host/base/I_MainFrameBase.h"
#include "host/db/PostDBBuilder.h"
#include "model/CPVXView.h"
#include "model/I_PVXModel.h"
#include "platform/ui/afxwin.h"
#include "platform/video/MCIWnd.h"
