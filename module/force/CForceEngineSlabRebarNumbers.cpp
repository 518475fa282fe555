// CForceEngine: the reinforcement numbers of display mode 17 per slab member. Under the design
// envelope every design combination's design of the member is asked of the host's slab design
// object; the value of largest magnitude of each place is written: the bottom reinforcement of
// each outline edge across the edge and at the centre along the two rebar directions, the top
// reinforcement of each edge across it. The legend's maxima are taken over the same numbers.
#include <cmath>

#include "host/base/GeomTypes.h"
#include "host/db/CDBDoc.h"
#include "host/db/CSlabDetailDgn.h"
#include "host/db/DBTables.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceMemberWalk.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/I_PVXModel.h"

namespace {

// The design results of one member: its first combination's, widened by every later one.
struct SlabRebarEnvelope {
    bool bHave = false;
    double dA = 0.0, dB = 0.0;
    CArray<double, double> arrA, arrB;

    // Each place keeps the value of strictly larger magnitude (ties keep the earlier). Lists of
    // another length than the earlier ones are merged over the places both have; places only the
    // new list has are taken from it.
    static void Merge(CArray<double, double>& env, const CArray<double, double>& next) {
        for (INT_PTR i = 0; i < next.GetSize(); ++i) {
            if (i >= env.GetSize())
                env.Add(next[i]);
            else if (std::fabs(next[i]) > std::fabs(env[i]))
                env[i] = next[i];
        }
    }
    void Add(double a, double b, const CArray<double, double>& resA, const CArray<double, double>& resB) {
        if (!bHave) {
            bHave = true;
            dA = a;
            dB = b;
            arrA.Copy(resA);
            arrB.Copy(resB);
            return;
        }
        if (std::fabs(a) > std::fabs(dA)) dA = a;
        if (std::fabs(b) > std::fabs(dB)) dB = b;
        Merge(arrA, resA);
        Merge(arrB, resB);
    }
};

}  // namespace

int CForceEngine::GetSRbarMembEnvelope(UINT nMembKey, double& dResultA, double& dResultB,
                                       CArray<double, double>& arrA, CArray<double, double>& arrB) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !m_pSlabDetailDgn || pModel->m_nLoadType != 12) return 0;
    SlabRebarEnvelope env;
    CArray<double, double> forceA, forceB, resA, resB;
    for (int k = 1; k <= m_nSRbarType10Count; ++k) {
        double fA = 0.0, fB = 0.0, rA = 0.0, rB = 0.0, third = 0.0;
        if (!m_pSlabDetailDgn->Get_MembDgnForce(nMembKey, k, fA, fB, forceA, forceB, IsLoadCombination())) continue;
        if (!m_pSlabDetailDgn->Set_MembDgnForce(fA, fB, forceA, forceB, 0.0)) continue;
        if (!m_pSlabDetailDgn->Get_MembDgnResult(nMembKey, k, rA, rB, resA, resB, third)) continue;
        env.Add(rA, rB, resA, resB);
    }
    if (!env.bHave) return 0;
    dResultA = env.dA;
    dResultB = env.dB;
    arrA.Copy(env.arrA);
    arrB.Copy(env.arrB);
    return 1;
}

void CForceEngine::FinishMakeSRbarMembData() {
    // The legend's top and bottom maxima are those of the numbers the drawer writes for the faces
    // shown: the bottom edges and the two centre values, the top edges, as many edge values as
    // the outline has edges. The model's minimum key names the member of the top maximum, its
    // maximum key that of the bottom one (the first in list order on a tie); 0 and no member
    // where nothing is written.
    I_PVXModel* pModel = GetModel();
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    CClassPSlab slabs;
    slabs.ConnectToDB(pDoc ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr);
    double dTop = 0.0, dBot = 0.0;
    UINT nTopKey = 0, nBotKey = 0;
    auto take = [](double v, UINT key, double& dMax, UINT& nKey) {
        if (nKey == 0 || v > dMax) dMax = v, nKey = key;
    };
    CArray<double, double> arrA, arrB;
    CArray<T_POINT3D, T_POINT3D> outline;
    for (INT_PTR i = 0; i < m_arrElemKey.GetSize(); ++i) {
        const UINT key = m_arrElemKey[i];
        double dA = 0.0, dB = 0.0;
        T_PSLAB_D slab;
        if (!GetSRbarMembEnvelope(key, dA, dB, arrA, arrB) || !slabs.Get(key, slab) ||
            !GetPolyLinePoint(slab.aNode, outline) || outline.GetSize() < 2)
            continue;
        const INT_PTR n = outline.GetSize();
        if (m_bSRbarBottom) {
            for (INT_PTR e = 0; e < n && e < arrB.GetSize(); ++e) take(arrB[e], key, dBot, nBotKey);
            take(dA, key, dBot, nBotKey);
            take(dB, key, dBot, nBotKey);
        }
        if (m_bSRbarTop)
            for (INT_PTR e = 0; e < n && e < arrA.GetSize(); ++e) take(arrA[e], key, dTop, nTopKey);
    }
    m_dSlabRbarMaxTop = dTop;
    m_dSlabRbarMaxBot = dBot;
    if (pModel) {
        pModel->m_nMinKey = nTopKey;
        pModel->m_nMaxKey = nBotKey;
    }
}

void CForceEngine::OutputSRbarNumbersMemb(CDC*) {
    I_PVXModel* pModel = GetModel();
    if (m_nSRbarUnit != 0 || !m_bSRbarData || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pAttrCtrl) return;
    CDBDoc* pDoc = pModel->GetDBDoc();
    CClassPSlab slabs;
    slabs.ConnectToDB(pDoc ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr);

    CArray<double, double> arrA, arrB;
    CArray<T_POINT3D, T_POINT3D> outline;
    auto numbers = [&](UINT nKey, T_PMEMB_D& memb) {
        if (!CPVXAttrCtrl::IsSlabMembType(memb.type)) return;

        double dA = 0.0, dB = 0.0;
        if (!GetSRbarMembEnvelope(nKey, dA, dB, arrA, arrB)) return;
        T_PSLAB_D slab;
        if (!slabs.Get(nKey, slab) || !GetPolyLinePoint(slab.aNode, outline)) return;
        const INT_PTR n = outline.GetSize();
        if (n < 2) return;

        // Edge i runs from outline point i - 1 to point i mod n; its value sits at index i - 1.
        auto writeEdges = [&](const CArray<double, double>& values, int nKind) {
            for (INT_PTR e = 1; e <= n && e - 1 < values.GetSize(); ++e) {
                const C3DPoint p = outline[e - 1], q = outline[e % n];
                const C3DPoint mid((p.x + q.x) / 2.0, (p.y + q.y) / 2.0, (p.z + q.z) / 2.0);
                C3DPoint from = mid, to = mid;
                CPoint fromWin, toWin;
                GetDetailSlabMembSideNodes(p, q, from, to, fromWin, toWin);
                OutputDetailSlabMembSide(mid, from, to, values[e - 1], nKind);
            }
        };
        if (m_bSRbarBottom) {
            writeEdges(arrB, 6);
            // The centre: the area centroid of the outline, at its mean height.
            T_POLYGON2D poly;
            double z = 0.0;
            for (INT_PTR k = 0; k < n; ++k) {
                poly.Add(T_POINT2D(outline[k].x, outline[k].y));
                z += outline[k].z;
            }
            const T_POINT2D c = poly.Center();
            double dirX[2], dirY[2];
            GetRebarDirVector(nKey, dirX, dirY);
            OutputDetailSlabMembCenter(C3DPoint(c.x, c.y, z / static_cast<double>(n)), dA, dB, dirX, dirY);
        }
        if (m_bSRbarTop) writeEdges(arrA, 7);
    };
    forcewalk::ForEachShownMember(*pModel, pModel->m_nObjectIDFirst, forcewalk::Escape::kIgnore, numbers);
}
