// Set-up shared by the model test programs: a model linked to a view's graphics control the way
// the view's creation leaves it, shown at a size and a standard view, drawn plain, with a load
// selected, and the bars' static state put back between tests.
#pragma once

#include "module/bars/CPVXBarContainerBase.h"
#include "host/grx/GViewCamera.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXDataCtrls.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/ui/CView.h"

// Connects the model to the post database and the control, takes the control's id ranges and
// makes every member and node active and flagged, then builds the undeformed geometry.
inline void LinkModelToCtrl(I_PVXModel& m, I_PVXCtrl* pCtrl, CView* pView) {
    m.GetAttrCtrl()->ConnectToPostDB();
    m.GetGeomCtrl()->ConnectToPostDB();
    m.Link_I_RDXModel(pCtrl);
    m.SetView(pView);
    pCtrl->GetObjectIDRange(m.m_nObjectIDFirst, m.m_nObjectIDLast);
    pCtrl->GetNodeIDRange(m.m_nNodeIDFirst, m.m_nNodeIDLast);
    m.GetAttrCtrl()->GetMembKeyList(m.m_arrAllMembKey);
    m.GetAttrCtrl()->GetNodeKeyList(m.m_arrAllNodeKey);
    m.m_arrActiveMembKey.Copy(m.m_arrAllMembKey);
    m.m_arrFlagMembKey.Copy(m.m_arrAllMembKey);
    m.m_arrActiveNodeKey.Copy(m.m_arrAllNodeKey);
    m.m_arrFlagNodeKey.Copy(m.m_arrAllNodeKey);
    m.InitOriginal();
}

// LinkModelToCtrl, then the control sized to cx x cy pixels and turned to a standard view
// (GViewCamera::VIEW_TOP ...).
inline void LinkModelInView(I_PVXModel& m, I_PVXCtrl* pCtrl, CView* pView, int cx, int cy, int nView) {
    LinkModelToCtrl(m, pCtrl, pView);
    pCtrl->SetClientSize(cx, cy);
    pCtrl->SetStandardView(nView);
}

// Plain drawing: flat faces (render mode 1), no shading, no wire frame, no culling.
inline void SetPlainDrawing(T_PVX_DOPT_D& o) {
    o.m_bShading = 0;
    o.m_bWireFrame = 0;
    o.m_nRenderMode = 1;
    o.m_bLineCulling = o.m_bPlaneCulling = 0;
}

// Chooses a load (type 1 static case, 12 envelope), its key and load-result step, and selects it
// as the bars do.
inline void SelectModelLoad(I_PVXModel& m, UINT type, UINT key, int step) {
    m.m_nLoadType = type;
    m.m_nLoadKey = key;
    m.m_nLoadStep = step;
    m.m_bLoadSelected = 1;
    m.SelectLoad();
}

// The bars' engines destroyed and their static state as at start-up.
inline void ResetBarState() {
    CPVXBarContainerBase::DestroyCurrentEngine();
    CPVXBarContainerBase::DestroyDeformEngine();
    CPVXBarContainerBase::m_nCurrentMode = -1;
    CPVXBarContainerBase::m_nCurrentTMMode = -1;
    CPVXBarContainerBase::m_pMyself = nullptr;
    CPVXBarContainerBase::m_bRemove = 0;
    CPVXBarContainerBase::m_bIsPVXBarAlive = 0;
}
