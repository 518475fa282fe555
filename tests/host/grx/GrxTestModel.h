// A small model for the graphics-control tests: nodes at given points and members between two
// nodes, answering the geometry queries the control makes. The deformed geometry (type id
// first + 1) is the undeformed one lifted by `m_dLift` in z.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "host/base/I_PVXModelBase.h"
#include "host/grx/C3DPoint.h"
#include "host/grx/I_PVXCtrl.h"

class GrxTestModel : public I_PVXModelBase {
public:
    std::map<UINT, C3DPoint> m_nodes;
    std::map<UINT, std::pair<UINT, UINT>> m_members;
    double m_dLift = 0.0;
    int m_nDrawCalls = 0;
    int m_nActiveCalls = 0;
    CArray<UINT, UINT> m_lastActiveNodes, m_lastActiveMembers;

    C3DPoint NodePos(int nodeType, UINT key) const {
        C3DPoint p = m_nodes.at(key);
        if (nodeType == I_PVXCtrl::kNodeIDFirst + 1) p.z += m_dLift;
        return p;
    }
    int ToNodeType(int objType) const { return objType - I_PVXCtrl::kObjectIDFirst + I_PVXCtrl::kNodeIDFirst; }

    int RE_GetPVXNodePos(int nNodeType, UINT nKey, void* pPoint) override {
        if (!m_nodes.count(nKey)) return 0;
        *static_cast<C3DPoint*>(pPoint) = NodePos(nNodeType, nKey);
        return 1;
    }
    int RE_GetRangeElement(int nType, UINT nKey, void* pMin, void* pMax) override {
        auto it = m_members.find(nKey);
        if (it == m_members.end()) return 0;
        C3DPoint a = NodePos(ToNodeType(nType), it->second.first), b = NodePos(ToNodeType(nType), it->second.second);
        C3DPoint& lo = *static_cast<C3DPoint*>(pMin);
        C3DPoint& hi = *static_cast<C3DPoint*>(pMax);
        for (int i = 0; i < 3; ++i) {
            lo[i] = std::min(a[i], b[i]);
            hi[i] = std::max(a[i], b[i]);
        }
        return 1;
    }
    int RE_GetPVXShapeFrameElement(int nType, UINT nKey, void* pPoints) override {
        auto it = m_members.find(nKey);
        if (it == m_members.end()) return 0;
        auto* pts = static_cast<CArray<C3DPoint>*>(pPoints);
        pts->Add(NodePos(ToNodeType(nType), it->second.first));
        pts->Add(NodePos(ToNodeType(nType), it->second.second));
        return 1;
    }
    int RE_GetRangeModel(void* pMin, void* pMax) override {
        if (m_nodes.empty()) return 0;
        C3DPoint& lo = *static_cast<C3DPoint*>(pMin);
        C3DPoint& hi = *static_cast<C3DPoint*>(pMax);
        lo = hi = m_nodes.begin()->second;
        for (auto& kv : m_nodes)
            for (int i = 0; i < 3; ++i) {
                lo[i] = std::min(lo[i], kv.second[i]);
                hi[i] = std::max(hi[i], kv.second[i]);
            }
        return 1;
    }
    void PV_OnDraw(CDC*) override { ++m_nDrawCalls; }
    void PV_OnActiveDeActiveChangeByFlag(CArray<UINT, UINT>& nodes, CArray<UINT, UINT>& members,
                                         CArray<UINT, UINT>&, CArray<UINT, UINT>&) override {
        ++m_nActiveCalls;
        m_lastActiveNodes.Copy(nodes);
        m_lastActiveMembers.Copy(members);
    }

    // Registers every node and member under the undeformed ids (shown flag as given).
    void RegisterAll(I_PVXCtrl& ctrl, int flag = 1) {
        for (auto& kv : m_nodes) ctrl.AddObject(I_PVXCtrl::kNodeIDFirst, kv.first, flag);
        for (auto& kv : m_members) ctrl.AddObject(I_PVXCtrl::kObjectIDFirst, kv.first, flag);
    }
};
