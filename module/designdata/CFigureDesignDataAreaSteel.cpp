// CFigureDesignData: label data of the area-steel figure (figure mode 21).
//
// One record per column, beam, wall beam and wall of the member-key list with the design values
// the figure prints and where it prints them; per slab one record per outline edge and one at
// the slab's centroid. Values come from the design-result controller (CPostCtrl4Dgn); a member
// whose result, record or nodes cannot be read is passed over.
#include <initializer_list>
#include <utility>

#include "host/db/CDBDoc.h"
#include "host/db/CPostCtrl4Dgn.h"
#include "host/db/DBTables.h"
#include "module/designdata/CFigureDesignData.h"
#include "module/designdata/DesignMemberTypes.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/I_PVXModel.h"

namespace {

enum Kind { kColumn, kBeam, kWallBeam, kWall, kSlab, kKinds };

constexpr int kWallBeamType = 210;
constexpr int kWallBeamElemType = 211;
constexpr int kWallType = 209;
constexpr int kSlabType = 301;

// a replaced by b when b is at least as large: the later value wins a tie.
double LaterMax(double a, double b) { return b >= a ? b : a; }

// Raises each running maximum to its value when that is strictly larger.
void Raise(std::initializer_list<std::pair<double*, double>> values) {
    for (const auto& [pMax, v] : values)
        if (v > *pMax) *pMax = v;
}

}  // namespace

int CFigureDesignData::MakeAreaSteelDrawingDataList() {
    I_PVXModel* pModel = Model();
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    CDataBase* pPost = pDoc ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr;
    if (!pPost || !pModel->m_pAttrCtrl) return 0;

    // The members by kind, each in walk order.
    CArray<UINT, UINT> keys[kKinds];
    for (INT_PTR i = 0; i < m_arrMembKey.GetSize(); ++i) {
        const UINT key = m_arrMembKey[i];
        T_PMEMB_D memb;
        if (!ReadMember(key, memb)) continue;
        if (memb.type == designmember::kColumnType) {
            keys[kColumn].Add(key);
        } else if (IsBeamMemberType(memb.type)) {
            keys[kBeam].Add(key);
        } else if (memb.type == kWallBeamType) {
            T_PELEM_D elem;
            if (memb.aElem.GetSize() > 0 && pModel->m_pAttrCtrl->GetElem(memb.aElem[0], elem) &&
                elem.type == kWallBeamElemType)
                keys[kWallBeam].Add(key);
        } else if (memb.type == kWallType) {
            keys[kWall].Add(key);
        } else if (memb.type == kSlabType) {
            keys[kSlab].Add(key);
        }
    }

    m_arrColmAs.RemoveAll();
    CPostCtrl4Dgn* pDgn = CPostCtrl4Dgn::GetPostCtrl4DgnPtr_ST();
    if (!pDgn) return 0;

    // Columns: the three side and corner steels, the two axial-compression ratios, the stirrups
    // of the end stations and of the middle zone, at the column's top node.
    for (INT_PTR i = 0; i < keys[kColumn].GetSize(); ++i) {
        const UINT key = keys[kColumn][i];
        T_RCOL_D r;
        if (!pDgn->GetColmMaxResult(key, 0, r) || !r.nKey) continue;
        T_COLM_AS a;
        a.d[0] = r.base[0].dAsx;
        a.d[1] = r.base[0].dAsy;
        a.d[2] = r.base[0].dAsc;
        for (int b = 1; b < T_RCOL_D::kBlocks; ++b)
            Raise({{&a.d[0], r.base[b].dAsx}, {&a.d[1], r.base[b].dAsy}, {&a.d[2], r.base[b].dAsc}});
        a.d[3] = 0.0;
        const T_RCOL_BASE& bot = r.base[0];
        const T_RCOL_BASE& top = r.base[T_RCOL_D::kBlocks - 1];
        a.d[6] = LaterMax(LaterMax(LaterMax(bot.dAsvx, bot.dAsvy), top.dAsvx), top.dAsvy);
        a.d[7] = LaterMax(r.shear[0].dAsvx, r.shear[0].dAsvy);
        UINT nLoad = 0, nBlock = 0, nKind = 0;
        T_RCOL_ELSE e1, e2;
        if (!pDgn->GetMaxColmElseFactors(key, nLoad, nBlock, nKind, e1, 1) ||
            !pDgn->GetMaxColmElseFactors(key, nLoad, nBlock, nKind, e2, 2))
            continue;
        a.d[4] = e1.dFactor;
        a.d[5] = e2.dFactor;
        T_PMEMB_D memb;
        if (!ReadMember(key, memb) || memb.aNode.GetSize() < 1) continue;
        if (!ReadNode(memb.aNode[memb.aNode.GetSize() - 1], a.pt)) continue;
        a.nKey = key;
        m_arrColmAs.Add(a);
    }
    m_arrColmAs.FreeExtra();

    // Beams and wall beams: top and bottom steel of the three zones, stirrups and torsion steel,
    // labelled at the member centre. The wall beams take the stirrups of their end zones.
    auto beams = [&]<class R>(const CArray<UINT, UINT>& list, bool bWallBeam, CArray<R, R&>& out) {
        out.RemoveAll();
        for (INT_PTR i = 0; i < list.GetSize(); ++i) {
            const UINT key = list[i];
            T_RBEM_D r;
            const int bRead = bWallBeam ? pDgn->GetWBeamMaxResult(key, r, 0) : pDgn->GetBeamMaxResult(key, r, 0);
            if (!bRead || !r.nKey) continue;
            R a;
            for (int z = 0; z < 3; ++z) {
                a.d[z] = r.base[z].dAsTop;
                a.d[3 + z] = r.base[z].dAsBot;
            }
            a.d[6] = LaterMax(r.base[0].dAsv, r.base[2].dAsv);
            a.d[7] = r.shear[bWallBeam ? 1 : 0].dAsv;
            a.d[8] = LaterMax(r.base[0].dAst, r.base[2].dAst);
            a.d[9] = r.base[1].dAst;
            T_PMEMB_D memb;
            if (!ReadMember(key, memb) || memb.aNode.GetSize() < 2) continue;
            CArray<C3DPoint, C3DPoint&> ends;
            C3DPoint p;
            if (!ReadNode(memb.aNode[0], p)) continue;
            ends.Add(p);
            if (!ReadNode(memb.aNode[memb.aNode.GetSize() - 1], p)) continue;
            ends.Add(p);
            C3DPoint centre;
            if (!GetMemberCentPt(ends, centre)) continue;
            a.ptLabel[0] = a.ptLabel[1] = centre;
            a.ptEnd[0] = ends[0];
            a.ptEnd[1] = ends[1];
            a.nKey = key;
            out.Add(a);
        }
        out.FreeExtra();
    };
    beams(keys[kBeam], false, m_arrBeamAs);
    beams(keys[kWallBeam], true, m_arrWBeamAs);

    // Walls: the largest end-zone and horizontal steel over the four stations, at the centre of
    // the wall's plan line (its first two outline nodes, at the foot).
    m_arrWallAs.RemoveAll();
    for (INT_PTR i = 0; i < keys[kWall].GetSize(); ++i) {
        const UINT key = keys[kWall][i];
        T_RWAL_D r;
        if (!pDgn->GetWallMaxResult(key, 0, r) || !r.nKey) continue;
        T_WALL_AS a;
        a.d[0] = r.base[0].dAs;
        a.d[1] = r.base[0].dAsh;
        for (int b = 1; b < T_RWAL_D::kBlocks; ++b) Raise({{&a.d[0], r.base[b].dAs}, {&a.d[1], r.base[b].dAsh}});
        T_PMEMB_D memb;
        if (!ReadMember(key, memb) || memb.aNode.GetSize() < 2) continue;
        CArray<C3DPoint, C3DPoint&> ends;
        C3DPoint p;
        if (!ReadNode(memb.aNode[0], p)) continue;
        ends.Add(p);
        if (!ReadNode(memb.aNode[1], p)) continue;
        ends.Add(p);
        if (!GetMemberCentPt(ends, a.pt)) continue;
        a.ptEnd[0] = ends[0];
        a.ptEnd[1] = ends[1];
        a.nKey = key;
        m_arrWallAs.Add(a);
    }

    m_arrBrtrAs.RemoveAll();
    m_arrBrtrAs.FreeExtra();

    // Slabs: the top steel of each outline edge from node i to node i + 1 (the last back to the
    // first), and the two bottom steels at the centroid.
    m_arrSlabAs.RemoveAll();
    m_mapSlabAsMoment.RemoveAll();
    CClassPSlab slabs;
    slabs.ConnectToDB(pPost);
    for (INT_PTR i = 0; i < keys[kSlab].GetSize(); ++i) {
        const UINT key = keys[kSlab][i];
        T_PSLAB_D slab;
        if (!slabs.Get(key, slab)) continue;
        T_RSLB_D r;
        if (!pDgn->GetSlabMaxResult(key, r, 0) || !r.nKey) continue;
        const INT_PTR n = slab.aNode.GetSize();
        if (r.aEdge.GetSize() != n) continue;
        double cx = 0.0, cy = 0.0;
        if (!GetPolyCentroid(slab.aNode, cx, cy)) continue;
        double z = 0.0;
        for (INT_PTR k = 0; k < n; ++k) {
            C3DPoint a, b;
            if (!ReadNode(slab.aNode[k], a) || !ReadNode(slab.aNode[(k + 1) % n], b)) continue;
            T_SFORCE_D edge;
            edge.dValue = r.aEdge[k];
            edge.ptA = a;
            edge.ptB = b;
            edge.nKey = key;
            m_arrSlabAs.Add(edge);
            z = a.z;
        }
        T_SMOMENT_D m;
        m.d[0] = r.dAsX;
        m.d[1] = r.dAsY;
        m.nKey = key;
        m.pt = C3DPoint(cx, cy, z);
        m_mapSlabAsMoment.SetAt(key, m);
    }
    m_arrSlabAs.FreeExtra();
    return 1;
}
