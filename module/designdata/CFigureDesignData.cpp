#include "module/designdata/CFigureDesignData.h"

#include <cfloat>
#include <cmath>

#include "host/db/CDBDoc.h"
#include "host/db/CDataBase.h"
#include "host/db/CPostCtrl4Dgn.h"
#include "module/figures/CPVXFigure.h"
#include "module/force/CForceEngine.h"
#include "module/model/I_PVXModel.h"
#include "module/model/CPVXAttrCtrl.h"
#include "platform/afx/CObject.h"

namespace {

// Empties out; 0 when src is empty, else copies every record in order and 1.
template <class T> int CopyList(const CArray<T, T&>& src, CArray<T, T&>& out) {
    out.RemoveAll();
    const INT_PTR n = src.GetSize();
    if (n <= 0) return 0;
    out.SetSize(n);
    for (INT_PTR i = 0; i < n; ++i) out[i] = src[i];
    return 1;
}

// Empties out; 0 when src is empty, else copies every key and record and 1.
template <class K, class AK, class V, class AV> int CopyMap(const CMap<K, AK, V, AV>& src, CMap<K, AK, V, AV>& out) {
    out.RemoveAll();
    if (src.IsEmpty()) return 0;
    POSITION pos = src.GetStartPosition();
    while (pos) {
        K key{};
        V value{};
        src.GetNextAssoc(pos, key, value);
        out.SetAt(key, value);
    }
    return 1;
}

template <class T> void AssignList(const CArray<T, T&>& src, CArray<T, T&>& dst) { CopyList(src, dst); }

template <class K, class AK, class V, class AV> void AssignMap(const CMap<K, AK, V, AV>& src, CMap<K, AK, V, AV>& dst) {
    CopyMap(src, dst);
}

template <class M, class T> int LookupMap(const M& map, UINT key, T& out) {
    if (map.IsEmpty()) return 0;
    T value{};
    if (!map.Lookup(key, value)) return 0;
    out = value;
    return 1;
}

void FreeModeGraphs(CFigureDesignData::ModeGraphMap& map) {
    POSITION pos = map.GetStartPosition();
    while (pos) {
        UINT key = 0;
        CArray<T_POINT2D, T_POINT2D>* p = nullptr;
        map.GetNextAssoc(pos, key, p);
        delete p;
    }
    map.RemoveAll();
}

}  // namespace

CFigureDesignData::CFigureDesignData(I_PVXModelBase* pModel)
    : m_mapModeGraph1(10), m_mapModeGraph2(10), m_mapSMoment(10), m_mapSCrackMoment(10), m_mapSlabAsMoment(10),
      m_mapSNode(10), m_mapBaseShear(17, 10), m_mapColmForce(10), m_mapBeamForce(10), m_mapBeamSteel(10),
      m_mapBeamDisp(10) {
    m_pModel = pModel;
    m_mapModeGraph1.InitHashTable(17, FALSE);
    m_mapModeGraph2.InitHashTable(17, FALSE);
    m_mapSMoment.InitHashTable(kBigMapHash, TRUE);
    m_mapSCrackMoment.InitHashTable(kBigMapHash, TRUE);
    m_mapSlabAsMoment.InitHashTable(kBigMapHash, TRUE);
    m_mapSNode.InitHashTable(kBigMapHash, TRUE);
    m_mapColmForce.InitHashTable(kBigMapHash, TRUE);
    m_mapBeamForce.InitHashTable(kBigMapHash, TRUE);
    m_mapBeamSteel.InitHashTable(kBigMapHash, TRUE);
    m_mapBeamDisp.InitHashTable(kBigMapHash, TRUE);
}

CFigureDesignData::~CFigureDesignData() {
    m_pModel = nullptr;
    m_bShowNumber = 0;
    m_bShowDiagram = 0;
    delete m_pOwnedObject;
    m_pOwnedObject = nullptr;
    FreeModeGraphs(m_mapModeGraph1);
    FreeModeGraphs(m_mapModeGraph2);
}

I_PVXModel* CFigureDesignData::Model() const { return GetModel(); }

int CFigureDesignData::GetFigureMode() const {
    const I_PVXModel* m = Model();
    return m && m->m_pFigure ? m->m_pFigure->m_nFigureMode : 0;
}

void CFigureDesignData::InitFigureDesignData() {
    if (I_PVXModel* m = Model()) m_pDBDoc = m->GetDBDoc();
}

int CFigureDesignData::BuildForFigureMode(int nMode) {
    switch (nMode) {
    case 21: return MakeAreaSteelDrawingDataList();
    case 23:
        // The steel diagrams of the beams, as --list hands them out, once their records are built.
        if (!MakeBeamSteelDataList()) return 0;
        DrawBeamDgnSteelDiagram();
        return 1;
    case 28: return MakeAxialCompRatioDataList();
    case 35: case 36: return MakeBeamBM_SFDataList_Envelope();
    default:
        if (nMode == 40 || (nMode >= 42 && nMode <= 56)) return MakeColumnForceDataList();
        return 0;
    }
}

// ---- operations that do nothing ----------------------------------------------------------------

int CFigureDesignData::MakeBaseColumnForceData(BaseShearMap&) { return 0; }
int CFigureDesignData::MakeSlabForceDataList() { return 0; }
int CFigureDesignData::MakeSlabDeformDataList() { return 0; }
int CFigureDesignData::MakeBeamDeformDataList() { return 0; }
int CFigureDesignData::MakeSideWallSteelDataList() { return 0; }
int CFigureDesignData::MakeBaseCForcNumbers4Figure() { return 0; }
int CFigureDesignData::GetNamedPlaneData() { return 0; }
int CFigureDesignData::MakeBeamBM_SFDataList() { return 0; }
int CFigureDesignData::MakeModeGraphData(ModeGraphMap&, int) { return 0; }
int CFigureDesignData::MakeBeamCrackDataList() { return 0; }
int CFigureDesignData::MakeColumnDgnForceDataList() { return 0; }
int CFigureDesignData::MakeSlabCrackDataList() { return 0; }
int CFigureDesignData::MakeWallForceDataList() { return 0; }
void CFigureDesignData::OutputBSDNumbers(CDC*) {}
void CFigureDesignData::OutputSRebarNumbers(CDC*) {}
void CFigureDesignData::OutputWallForceNumbers(CDC*) {}
void CFigureDesignData::OutputColumnForceNumbers(CDC*) {
    if (I_PVXModel* m = Model()) m_pDBDoc = m->GetDBDoc();
}

// ---- getters -------------------------------------------------------------------------------------

int CFigureDesignData::GetAxialCompR(CArray<T_AXIAL_COMP_R, T_AXIAL_COMP_R&>& out) const {
    return CopyList(m_arrAxialCompR, out);
}
int CFigureDesignData::GetColmAs(CArray<T_COLM_AS, T_COLM_AS&>& out) const { return CopyList(m_arrColmAs, out); }
int CFigureDesignData::GetBeamAs(CArray<T_BEAM_AS, T_BEAM_AS&>& out) const { return CopyList(m_arrBeamAs, out); }
int CFigureDesignData::GetWallBAs(CArray<T_WBEM_AS, T_WBEM_AS&>& out) const { return CopyList(m_arrWBeamAs, out); }
int CFigureDesignData::GetWallCAs(CArray<T_WALL_AS, T_WALL_AS&>& out) const { return CopyList(m_arrWallAs, out); }
int CFigureDesignData::GetSlabAs(CArray<T_SFORCE_D, T_SFORCE_D&>& out) const { return CopyList(m_arrSlabAs, out); }
int CFigureDesignData::GetSforce(CArray<T_SFORCE_D, T_SFORCE_D&>& out) const { return CopyList(m_arrSForce, out); }
int CFigureDesignData::GetSCrack(CArray<T_SFORCE_D, T_SFORCE_D&>& out) const { return CopyList(m_arrSCrack, out); }
int CFigureDesignData::GetBCrack(CArray<T_BCRACK_D, T_BCRACK_D&>& out) const { return CopyList(m_arrBCrack, out); }
int CFigureDesignData::GetSDeform(CArray<T_DEFORM_D, T_DEFORM_D&>& out) const { return CopyList(m_arrSDeform, out); }
int CFigureDesignData::GetWallCForcD(CArray<T_WCOLM_FORC, T_WCOLM_FORC&>& out) const {
    return CopyList(m_arrWallCForc, out);
}
int CFigureDesignData::GetSWallSteelNodeD(CArray<T_SWALL_D, T_SWALL_D&>& out) const {
    return CopyList(m_arrSWall, out);
}
int CFigureDesignData::GetDiagramData(CArray<T_DIAGRAM_D, T_DIAGRAM_D&>& out) const {
    return CopyList(m_arrDiagram, out);
}
int CFigureDesignData::GetBForcD(CArray<T_PVX_BFORC_D, T_PVX_BFORC_D&>& out) const { return CopyList(m_arrCForc, out); }
int CFigureDesignData::GetCForcData(CArray<T_PVX_BFORC_D, T_PVX_BFORC_D&>& out) const { return GetBForcD(out); }
int CFigureDesignData::GetSnodeD(CMap<UINT, UINT, T_SNODE_D, T_SNODE_D&>& out) const { return CopyMap(m_mapSNode, out); }
int CFigureDesignData::GetmBaseShear(BaseShearMap& out) const { return CopyMap(m_mapBaseShear, out); }

int CFigureDesignData::GetModeGraphData(ModeGraphMap& out1, ModeGraphMap& out2) const {
    out1.RemoveAll();
    out2.RemoveAll();
    if (m_mapModeGraph1.IsEmpty() || m_mapModeGraph2.IsEmpty()) return 0;
    // Both filled (nothing here fills them): hand over copies the caller owns.
    auto copy = [](const ModeGraphMap& src, ModeGraphMap& dst) {
        POSITION pos = src.GetStartPosition();
        while (pos) {
            UINT key = 0;
            CArray<T_POINT2D, T_POINT2D>* p = nullptr;
            src.GetNextAssoc(pos, key, p);
            auto* c = new CArray<T_POINT2D, T_POINT2D>;
            if (p) c->Copy(*p);
            dst.SetAt(key, c);
        }
    };
    copy(m_mapModeGraph1, out1);
    copy(m_mapModeGraph2, out2);
    return 1;
}

// ---- key lookups ---------------------------------------------------------------------------------

int CFigureDesignData::GetSMomentD(UINT key, T_SMOMENT_D& out) const { return LookupMap(m_mapSMoment, key, out); }
int CFigureDesignData::GetCrackSMomentD(UINT key, T_SMOMENT_D& out) const {
    return LookupMap(m_mapSCrackMoment, key, out);
}
int CFigureDesignData::GetSlabAsSMomentD(UINT key, T_SMOMENT_D& out) const {
    return LookupMap(m_mapSlabAsMoment, key, out);
}
int CFigureDesignData::GetColmForce(UINT key, T_MBCL_D& out) const { return LookupMap(m_mapColmForce, key, out); }
int CFigureDesignData::GetBeamForce(UINT key, T_STRG_D& out) const { return LookupMap(m_mapBeamForce, key, out); }
int CFigureDesignData::GetBeamSteel(UINT key, T_BEAM_SD& out) const { return LookupMap(m_mapBeamSteel, key, out); }
int CFigureDesignData::GetBeamDisp(UINT key, T_BEAM_DISP& out) const { return LookupMap(m_mapBeamDisp, key, out); }

int CFigureDesignData::IsInverse(const C3DPoint& p1, const C3DPoint& p2) {
    if (std::fabs(p1.x - p2.x) > 1e-10) return p1.x - p2.x > 1e-10 ? 1 : 0;
    return p1.y - p2.y > 1e-10 ? 1 : 0;
}

int CFigureDesignData::IsXYPlaneVector(const double m[3][3]) { return CForceEngine::IsXYPlaneVector(m); }

// ---- setters -------------------------------------------------------------------------------------

void CFigureDesignData::SetMemberKeys(const CArray<UINT, UINT>& keys) { m_arrMembKey.Copy(keys); }
void CFigureDesignData::SetEnvelopeList(const CArray<T_BEAM_BM, T_BEAM_BM&>& list) { AssignList(list, m_arrBeamBM); }
void CFigureDesignData::SetSecondEnvelopeList(const CArray<T_BEAM_BM, T_BEAM_BM&>& list) {
    AssignList(list, m_arrBeamBM2);
}
void CFigureDesignData::SetTextLabelList(int n, const CArray<T_TEXT_VALUE, T_TEXT_VALUE&>& list) {
    if (n >= 0 && n < kTextLists) AssignList(list, m_arrTextValue[n]);
}
void CFigureDesignData::SetBeamForce(UINT key, const T_STRG_D& forc) {
    T_STRG_D f = forc;
    m_mapBeamForce.SetAt(key, f);
}
void CFigureDesignData::SetBeamDisp(UINT key, const T_BEAM_DISP& disp) {
    T_BEAM_DISP d = disp;
    m_mapBeamDisp.SetAt(key, d);
}
void CFigureDesignData::SetSlabForce(const CArray<T_SFORCE_D, T_SFORCE_D&>& list,
                                     const CMap<UINT, UINT, T_SMOMENT_D, T_SMOMENT_D&>& map) {
    AssignList(list, m_arrSForce);
    AssignMap(map, m_mapSMoment);
}
void CFigureDesignData::SetSlabCrack(const CArray<T_SFORCE_D, T_SFORCE_D&>& list,
                                     const CMap<UINT, UINT, T_SMOMENT_D, T_SMOMENT_D&>& map) {
    AssignList(list, m_arrSCrack);
    AssignMap(map, m_mapSCrackMoment);
}
void CFigureDesignData::SetBeamCrack(const CArray<T_BCRACK_D, T_BCRACK_D&>& list) { AssignList(list, m_arrBCrack); }
void CFigureDesignData::SetBeamDeform(const CArray<T_DEFORM_D, T_DEFORM_D&>& list) { AssignList(list, m_arrBDeform); }
void CFigureDesignData::SetSlabDeform(const CArray<T_DEFORM_D, T_DEFORM_D&>& list) { AssignList(list, m_arrSDeform); }
void CFigureDesignData::SetWallCForc(const CArray<T_WCOLM_FORC, T_WCOLM_FORC&>& list) {
    AssignList(list, m_arrWallCForc);
}
void CFigureDesignData::SetSideWallSteel(const CArray<T_SWALL_D, T_SWALL_D&>& list,
                                         const CMap<UINT, UINT, T_SNODE_D, T_SNODE_D&>& nodes) {
    AssignList(list, m_arrSWall);
    AssignMap(nodes, m_mapSNode);
}
void CFigureDesignData::SetBaseShear(const BaseShearMap& map) { AssignMap(map, m_mapBaseShear); }
void CFigureDesignData::SetViewMatrix(const double m[3][3]) {
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) m_dLclVec2D[r][c] = m[r][c];
}

// ---- shared reads --------------------------------------------------------------------------------

int CFigureDesignData::ReadMember(UINT key, T_PMEMB_D& memb) const {
    const I_PVXModel* m = Model();
    return m && m->GetAttrCtrl() && m->GetAttrCtrl()->GetMemb(key, memb) ? 1 : 0;
}

int CFigureDesignData::ReadNode(UINT key, C3DPoint& pt) const {
    const I_PVXModel* m = Model();
    T_PNODE_D n;
    n.Initialize();
    if (!m || !m->GetAttrCtrl() || !m->GetAttrCtrl()->GetNode(key, n)) return 0;
    pt = C3DPoint(n.x, n.y, n.z);
    return 1;
}

int CFigureDesignData::IsBeamMemberType(int type) {
    return CPVXAttrCtrl::IsBeamElemType(type) || CPVXAttrCtrl::IsElemType204(type) ? 1 : 0;
}

CDataBase* CFigureDesignData::GetPostDB() const {
    const I_PVXModel* m = Model();
    CDBDoc* doc = m ? m->GetDBDoc() : nullptr;
    return doc && doc->GetMDBCtrl() ? doc->GetMDBCtrl()->GetDBPost() : nullptr;
}

void CFigureDesignData::CopyStations(const T_RBEM_D& res, T_BEAM_SD& rec, double hi[3], double lo[3], int nRangeRows) {
    double best[3] = {-DBL_MAX, -DBL_MAX, -DBL_MAX};
    for (int k = 0; k < T_RBEM_D::kStations; ++k) {
        const double v[3] = {res.base[k].dAsTop, res.base[k].dAsBot, res.base[k].dAsv};
        for (int r = 0; r < 3; ++r) {
            rec.dVal[r][k] = v[r];
            if (k >= 1 && k <= 7 && v[r] > best[r]) {
                best[r] = v[r];
                rec.nMaxIdx[r] = k;
            }
            if (r >= nRangeRows) continue;
            if (v[r] > hi[r]) hi[r] = v[r];
            if (v[r] < lo[r]) lo[r] = v[r];
        }
    }
}
