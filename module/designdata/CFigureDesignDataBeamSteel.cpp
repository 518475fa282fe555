// Beam steel at nine stations per beam, and the beam-deformation diagrams.
#include "module/designdata/CFigureDesignData.h"

#include <cfloat>
#include <cmath>

#include "host/db/CDBDoc.h"
#include "host/db/CDataBase.h"
#include "host/db/CPostCtrl4Dgn.h"
#include "host/db/DBTables.h"
#include "module/model/CUtilFuncs.h"
#include "module/model/I_PVXModel.h"

void CFigureDesignData::SetContourRange(double dMin, double dMax) {
    if (!m_pContourEngine)
        m_pContourEngine = new CContourEngine(dMin, dMax);
    else
        m_pContourEngine->MakeRankMap(dMin, dMax);
}

int CFigureDesignData::MakeBeamSteelDataList() {
    CDataBase* pDB = GetPostDB();
    if (!pDB) return 0;
    CClassPMemb membs;
    membs.ConnectToDB(pDB);

    CArray<UINT, UINT> beams;
    for (INT_PTR i = 0; i < m_arrMembKey.GetSize(); ++i) {
        T_PMEMB_D memb;
        if (!membs.Get(m_arrMembKey[i], memb)) return 0;
        if (IsBeamMemberType(memb.type)) beams.Add(m_arrMembKey[i]);
    }
    m_arrBeamSD.RemoveAll();
    double hi[3] = {-DBL_MAX, -DBL_MAX, -DBL_MAX}, lo[3] = {DBL_MAX, DBL_MAX, DBL_MAX};

    CPostCtrl4Dgn* dgn = CPostCtrl4Dgn::GetPostCtrl4DgnPtr_ST();
    if (!dgn) return 0;
    m_mapBeamSteel.RemoveAll();
    for (INT_PTR b = 0; b < beams.GetSize(); ++b) {
        const UINT key = beams[b];
        T_BEAM_SD rec;
        T_RBEM_D res;
        if (!dgn->ReadConcreteDesignResultBeam(key, res, 0) || res.nKey == 0) continue;
        CopyStations(res, rec, hi, lo, 2);
        T_PMEMB_D memb;
        if (!membs.Get(key, memb) || memb.aNode.GetSize() == 0) return 0;
        C3DPoint first, last;
        if (!ReadNode(memb.aNode[0], first) || !ReadNode(memb.aNode[memb.aNode.GetSize() - 1], last)) return 0;
        for (int i = 0; i < T_RBEM_D::kStations; ++i) CUtilFuncs::GetInnerLinePoint(i, 8 - i, first, last, rec.pt[i]);
        m_mapBeamSteel.SetAt(key, rec);
    }
    // Without a beam result there is no range: the extremes still stand at their starting values,
    // and the scale and colour range of the last build are kept.
    if (m_mapBeamSteel.IsEmpty()) return 1;
    const double dMin = lo[0] < lo[1] ? lo[0] : lo[1];
    const double dMax = hi[0] > hi[1] ? hi[0] : hi[1];
    InitBeamDiagramAdjustFactor(std::fabs(dMax) >= std::fabs(dMin) ? dMax : dMin);
    SetContourRange(dMin, dMax);
    // The legend's share of each band: of the beams' stations, top and bottom steel each.
    if (m_pContourEngine) {
        m_pContourEngine->ClearPecentRankMap();
        POSITION pos = m_mapBeamSteel.GetStartPosition();
        while (pos) {
            UINT key = 0;
            T_BEAM_SD rec;
            m_mapBeamSteel.GetNextAssoc(pos, key, rec);
            for (int r = 0; r < 2; ++r)
                for (int k = 0; k < T_RBEM_D::kStations; ++k) m_pContourEngine->AddPecentRankMapData(rec.dVal[r][k], 1.0);
        }
        m_pContourEngine->FinishPecentRankMapData();
    }
    return 1;
}

void CFigureDesignData::DrawBeamDeformDiagram() {
    GetNamedPlaneData();
    m_arrDiagram.RemoveAll();
    for (INT_PTR i = 0; i < m_arrMembKey.GetSize(); ++i) {
        T_DIAGRAM_D diagram;
        T_PMEMB_D memb;
        if (!ReadMember(m_arrMembKey[i], memb)) break;
        if (IsBeamMemberType(memb.type) && MakeBeamDeformDiagram(m_arrMembKey[i], diagram)) m_arrDiagram.Add(diagram);
    }
}

int CFigureDesignData::MakeBeamDeformDiagram(UINT key, T_DIAGRAM_D& diagram) {
    I_PVXModel* m = Model();
    T_PMEMB_D memb;
    if (!m || !m_pContourEngine || !ReadMember(key, memb)) return 0;
    C3DPoint first, last;
    if (!GetMemberEnds(key, first, last)) return 0;
    double axes[3][3];
    if (!GetDiagramAxes(key, first, last, axes)) return 0;
    T_BEAM_DISP disp;
    if (!GetBeamDisp(key, disp) || !m_bShowDiagram) return 0;
    const bool bRefs = m->m_pDispOpt && m->m_pDispOpt->m_Number.m_bShowNumbers;
    C3DPoint refs[4];
    CArray<C3DPoint, C3DPoint&> points;
    CArray<double, double> values;
    BeamDeformMakePolyLine(disp, axes, first, last, bRefs ? refs : nullptr, points, values, key);
    if (points.GetSize() != 10) return 0;
    for (int k = 0; k < 10; ++k) diagram.pt[k] = points[k];
    diagram.dVal[0] = values[0];
    diagram.dVal[1] = disp.dMid;
    diagram.dVal[2] = values[8];
    for (int k = 0; k < 3; ++k) diagram.ref[k] = bRefs ? refs[k] : C3DPoint();
    diagram.nKey = key;
    return 1;
}
