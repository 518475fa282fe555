// The result view together with the model and the database in one test file. The database's
// settings header and the render view header both define a light record named T_LIGHT_D; the
// database's is renamed here so that both can be included.
#pragma once

#define T_LIGHT_D T_LIGHT_D_DBSettings
#include "host/db/DBSettingsRecords.h"
#undef T_LIGHT_D

#include "animation/CAniCtrlBar.h"
#include "animation/CAnimationEngine.h"
#include "bars/CPVXBarContainerBase.h"
#include "contour/CLegendEngine.h"
#include "figures/CPVXFigure.h"
#include "host/base/CDockDlgBarBase.h"
#include "host/base/CHostRequestLog.h"
#include "host/base/I_MainFrameBase.h"
#include "host/db/PostDBBuilder.h"
#include "model/CPVXView.h"
#include "model/I_PVXModel.h"
#include "platform/ui/afxwin.h"
#include "platform/video/MCIWnd.h"
