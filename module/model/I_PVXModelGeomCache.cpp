// Registration of the undeformed and deformed geometry with the graphics control, and the
// picking quad-tree built from it.
//
// Members are registered under the control's first object id and nodes under its first node id
// for the undeformed geometry, each id + 1 for the deformed geometry; flag 1 marks the shown
// (flag-1 or active) objects. Each registration is either absent or registered: Init acts only
// from absent, Reset only from registered, so repeated calls are harmless.
#include "host/grx/GRE_Atom.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/I_PVXModel.h"

namespace {

void AddAll(I_PVXCtrl* pCtrl, int type, const CArray<UINT, UINT>& keys, int flag) {
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) pCtrl->AddObject(type, keys[i], flag);
}

void DelAll(I_PVXCtrl* pCtrl, int type, const CArray<UINT, UINT>& keys) {
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) pCtrl->DelObject(type, keys[i]);
}

void AddAtoms(I_PVXCtrl* pCtrl, int type, const CArray<UINT, UINT>& keys) {
    pCtrl->QTreeReserve(static_cast<int>(keys.GetSize()));
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        GRE_Atom atom(type, keys[i]);
        pCtrl->QTreeAdd(atom);
    }
}

// The registration steps shared by both geometries: hidden members and nodes first, then the
// shown ones.
void Register(I_PVXModel& m, int shift) {
    I_PVXCtrl* pCtrl = m.m_pPVXCtrl;
    const int objType = m.m_nObjectIDFirst + shift;
    const int nodeType = m.m_nNodeIDFirst + shift;
    pCtrl->ReserveObjects(static_cast<int>(m.m_arrNoFlagMembKey.GetSize() + m.m_arrInactiveNodeKey.GetSize() +
                                           m.m_arrFlagMembKey.GetSize() + m.m_arrActiveNodeKey.GetSize()));
    AddAll(pCtrl, objType, m.m_arrNoFlagMembKey, 0);
    AddAll(pCtrl, nodeType, m.m_arrInactiveNodeKey, 0);
    AddAll(pCtrl, objType, m.m_arrFlagMembKey, 1);
    AddAll(pCtrl, nodeType, m.m_arrActiveNodeKey, 1);
}

}  // namespace

void I_PVXModel::InitOriginal() {
    if (m_bOriginalRegistered || !m_pPVXCtrl) return;
    InvalidateRangeModel();
    Register(*this, 0);
    m_bOriginalRegistered = 1;
    m_pPVXCtrl->UpdateAllWcsVcsMBR();
    m_pPVXCtrl->QTreeClearAll();
    InitOriginalQTree(1);
}

void I_PVXModel::InitOriginalNoInitQTree(int bUpdate) {
    // Registering again over a registration would only repeat the host calls.
    if (m_bOriginalRegistered || !m_pPVXCtrl) return;
    InvalidateRangeModel();
    Register(*this, 0);
    m_bOriginalRegistered = 1;
    if (bUpdate) m_pPVXCtrl->UpdateAllWcsVcsMBR();
}

void I_PVXModel::InitOriginalQTree(int bCheckType) {
    if (!m_pPVXCtrl) return;
    int nodeType = m_nNodeIDFirst, objType = m_nObjectIDFirst;
    RE_GetNode_ElemTypeByCDBDocSelection(nodeType, objType);
    if (bCheckType && objType != m_nObjectIDFirst) return;
    AddAtoms(m_pPVXCtrl, m_nObjectIDFirst, m_arrActiveMembKey);
    AddAtoms(m_pPVXCtrl, m_nNodeIDFirst, m_arrFlagNodeKey);
}

void I_PVXModel::ResetOriginal() {
    if (!m_bOriginalRegistered) return;
    InvalidateRangeModel();
    if (m_pPVXCtrl) {
        DelAll(m_pPVXCtrl, m_nNodeIDFirst, m_arrAllNodeKey);
        DelAll(m_pPVXCtrl, m_nObjectIDFirst, m_arrAllMembKey);
    }
    m_bOriginalRegistered = 0;
}

void I_PVXModel::InitDeformed(int bUpdate) {
    if (m_bDeformedRegistered || !m_pPVXCtrl) return;
    Register(*this, 1);
    m_bDeformedRegistered = 1;
    if (bUpdate) m_pPVXCtrl->UpdateAllWcsVcsMBR();
}

void I_PVXModel::InitDeformedQTree() {
    if (!m_pPVXCtrl) return;
    int nodeType = m_nNodeIDFirst, objType = m_nObjectIDFirst;
    RE_GetNode_ElemTypeByCDBDocSelection(nodeType, objType);
    if (objType != m_nObjectIDFirst + 1) return;
    AddAtoms(m_pPVXCtrl, m_nObjectIDFirst + 1, m_arrActiveMembKey);
    AddAtoms(m_pPVXCtrl, m_nNodeIDFirst + 1, m_arrFlagNodeKey);
}

void I_PVXModel::ResetDeformed(int bUpdate) {
    if (!m_bDeformedRegistered) return;
    if (m_pPVXCtrl) {
        DelAll(m_pPVXCtrl, m_nObjectIDFirst + 1, m_arrAllMembKey);
        DelAll(m_pPVXCtrl, m_nNodeIDFirst + 1, m_arrAllNodeKey);
        if (bUpdate) m_pPVXCtrl->UpdateAllWcsVcsMBR();
    }
    m_bDeformedRegistered = 0;
}
