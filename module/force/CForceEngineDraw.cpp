// CForceEngine: the frame force contour pass (display mode 6) and the drawing passes of the other
// families that the model's render switch calls.
//
// The pass walks the members in the depth order of the graphics control, draws each active beam
// and T-girder as colour bands along its eight segments, and each active column with forces
// along its four stations, on the undeformed or the deformed shape, and every other member plain. Escape ends the pass at once, leaving what was drawn.
#include "host/grx/I_PVXCtrl.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/OptionScope.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceMemberWalk.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/I_PVXModel.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/CSelectScope.h"
#include "platform/ui/CWaitCursor.h"

namespace {

constexpr double kLinePenScale = 1.7;  // pen width of members drawn as lines, times the pen unit

void ToIntArray(const CArray<int>* pFrom, CArray<int, int>& to) {
    to.RemoveAll();
    if (!pFrom) return;
    to.SetSize(pFrom->GetSize());
    for (INT_PTR i = 0; i < pFrom->GetSize(); ++i) to[i] = (*pFrom)[i];
}

C3DPoint PoseAt(const CArray<double, double>& poses, INT_PTR i) {
    return C3DPoint(poses[3 * i], poses[3 * i + 1], poses[3 * i + 2]);
}

}  // namespace

void CForceEngine::DrawMemberContourPass(CDC* pDC, MemberContourFn pMember) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pPVXCtrl || !pModel->m_pAttrCtrl || !pDC) return;
    CWaitCursor wait;
    T_PVX_DOPT_D none;
    T_PVX_DOPT_D& opt = pModel->m_pDispOpt ? *pModel->m_pDispOpt : none;
    // The bars' result option asks for the load to be applied again before the pass.
    if (opt.m_nBarResultOpt) pModel->SelectLoad();
    if (!pModel->m_bContour) {
        pModel->PVXDrawOriginal(pDC, 0);
        return;
    }
    int nType = pModel->m_nObjectIDFirst;
    if (m_bDeformed) {
        if (!pModel->m_pDeformEngine) return;
        ++nType;
    }

    const int width = opt.m_bWireFrame ? static_cast<int>(pModel->m_nPenFactor * kLinePenScale) : pModel->m_nPenFactor;
    CPen pen(PS_SOLID, width, m_pContourEngine ? m_pContourEngine->m_crElemEdge : RGB(0, 0, 0));
    CSelectScope<CPen> selectPen(pDC, &pen);

    const bool bWalked =
        forcewalk::ForEachShownMember(*pModel, nType, forcewalk::Escape::kIgnore, [&](UINT nKey, T_PMEMB_D& memb) {
            return (this->*pMember)(pDC, nKey, memb) != -1;
        });
    if (!bWalked) return;
    if (m_bDeformed && opt.m_bUndeformedWireFrame) {
        OptionScope edges(opt.m_nRenderMode, 2);
        pModel->PVXDrawOriginal(pDC, 1);
    }
}

void CForceEngine::DrawBForcContour(CDC* pDC) {
    if (m_bBForcData) DrawMemberContourPass(pDC, &CForceEngine::DrawBForcPassMember);
}

int CForceEngine::DrawBForcPassMember(CDC* pDC, UINT nMembKey, const T_PMEMB_D& memb) {
    I_PVXCtrl& ctrl = *GetModel()->m_pPVXCtrl;
    return IsFrameForceMember(nMembKey, memb) && ctrl.IsActiveElem(nMembKey) ? DoBForcMemberContour(pDC, nMembKey)
                                                                : DrawInactiveMember(pDC, nMembKey);
}

int CForceEngine::DoBForcMemberContour(CDC* pDC, UINT nMembKey) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pAttrCtrl) return 0;
    T_PMEMB_D memb;
    if (!pModel->m_pAttrCtrl->GetMemb(nMembKey, memb)) return 0;
    // The deformation engine is needed only to draw on the deformed shape.
    if ((m_bDeformed && !pModel->m_pDeformEngine) || !m_pContourEngine) return 0;

    const bool bColumn = memb.type == 101;
    T_STRG_D forc;
    T_MBCL_D colm;
    const int bFound = bColumn ? m_mapCForc.Lookup(nMembKey, colm) : m_mapBForc.Lookup(nMembKey, forc);
    if (!bFound) {
        DrawInactiveMember(pDC, nMembKey);
        return 0;
    }

    ShapeLists shape;
    T_SHAPE_ARGUMENT arg;
    arg.bDeformed = m_bDeformed;
    arg.pFaceNodeKeys = &shape.nodeKeys;
    GetMemberShape(nMembKey, memb, shape.faces, &shape.flags, arg);
    const INT_PTR nFaces = shape.faces.GetSize();
    if (shape.flags.GetSize() != nFaces || shape.nodeKeys.GetSize() != nFaces) return 0;

    pModel->PVX_XGL_Begin_Memb(nMembKey, memb);
    CArray<double, double> poses;
    pModel->RE_GetMembNodePosesFrame(pModel->m_nObjectIDFirst + (m_bDeformed ? 1 : 0), nMembKey, poses);
    const INT_PTR nPoses = poses.GetSize() / 3;
    C3DPoint A, B, innerI, innerJ;
    if (nPoses > 0) {
        A = PoseAt(poses, 0);
        B = PoseAt(poses, nPoses - 1);
    }
    // The inner stations of a column: with four positions both, with three the one the member
    // names (the i-side one first).
    if (nPoses == 4) {
        innerI = PoseAt(poses, 1);
        innerJ = PoseAt(poses, 2);
    } else if (nPoses == 3) {
        (memb.node3 ? innerI : innerJ) = PoseAt(poses, 1);
    }

    T_PVX_DOPT_D none;
    const T_PVX_DOPT_D& opt = pModel->m_pDispOpt ? *pModel->m_pDispOpt : none;
    const bool bEdges = opt.m_nRenderMode == 2 || opt.m_nRenderMode == 3;
    const bool bLinesOnly = m_pContourEngine->m_nFillStyle == 1;
    int result = 1;
    CArray<int, int> flags;
    for (INT_PTR f = 0; f < nFaces; ++f) {
        PVXPolyList* face = shape.faces[f];
        if (!face || face->GetCount() == 0) continue;
        if (pModel->WatchEscKeyPress()) {
            result = -1;
            break;
        }
        const int n = static_cast<int>(face->GetCount());
        CArray<int>* pFlags = shape.flags[f];
        CArray<UINT>* pKeys = shape.nodeKeys[f];
        ToIntArray(pFlags, flags);
        if (CPVXAttrCtrl::IsBeamElemType(memb.type)) {
            if (n == 2 || opt.m_bWireFrame) {
                DoBForcLineContour(pDC, face, memb, forc, A, B);
                continue;
            }
            if (nFaces > 1 && opt.m_bLineCulling && !pModel->IsVisibleFace(face, n)) continue;
            DoBForcPolyContour(pDC, face, pFlags, pKeys, memb, forc, A, B, nullptr, nullptr, nullptr);
            if (bEdges) pModel->DrawPolygonEdge(pDC, face, &flags, 0);
        } else if (CPVXAttrCtrl::IsElemType204(memb.type)) {
            if (n == 2) {
                DoBForcLineContour(pDC, face, memb, forc, A, B);
                continue;
            }
            if (nFaces > 1 && !opt.m_bWireFrame && opt.m_bPlaneCulling && !pModel->IsVisibleFace(face, n)) continue;
            if (bEdges && bLinesOnly) {
                pModel->DrawPolygon3DFill(pDC, *face, flags, opt.m_Color.m_crBackground, nullptr, 0);
                pModel->DrawPolygonEdge(pDC, face, &flags, 0);
            }
            DoTGForcPolyContour(pDC, face, pFlags, pKeys, memb, forc, A, B);
            if (bEdges && !bLinesOnly) pModel->DrawPolygonEdge(pDC, face, &flags, 0);
        } else if (bColumn) {
            if (n == 2 || opt.m_bWireFrame) {
                CList<C3DPoint> line;
                line.AddTail(face->GetHead());
                line.AddTail(face->GetTail());
                CArray<UINT> lineKeys;
                if (pKeys && pKeys->GetSize() > 0) {
                    lineKeys.Add((*pKeys)[0]);
                    lineKeys.Add((*pKeys)[pKeys->GetSize() - 1]);
                }
                DoCForcLineContour(pDC, &line, &lineKeys, memb, colm, A, B, innerI, innerJ);
                continue;
            }
            if (nFaces > 1 && opt.m_bLineCulling && !pModel->IsVisibleFace(face, n)) continue;
            DoCForcPolyContour(pDC, face, pFlags, pKeys, memb, colm);
            if (bEdges) pModel->DrawPolygonEdge(pDC, face, &flags, 0);
        }
    }
    pModel->PVX_XGL_End_Elem(0);
    return result;
}

// ---- passes of the other families --------------------------------------------------------------

