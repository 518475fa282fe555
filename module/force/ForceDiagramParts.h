// Pieces of the force diagrams shared by the diagram builders of the force engine (beams,
// columns, trusses): the polygon lists as a sink, how one diagram is drawn (direction, scale,
// piece length, edges across the strip) and the cutting of one straight part with linear values
// into polygons of a sixth of an inch on screen, split where the value passes through zero.
// Internal to the force folder.
#pragma once

#include <cmath>

#include "module/engines/OptionScope.h"
#include "module/force/CForceEngine.h"
#include "module/model/CUtilFuncs.h"
#include "module/model/I_PVXModel.h"

namespace forcediagram {

// Appends one vertex to the polygon lists.
struct PolygonSink {
    CForceEngine::DiagramPointList& pts;
    CForceEngine::DiagramValueList& vals;
    CForceEngine::DiagramFlagList& edges;
    CForceEngine::DiagramFlagList& quads;

    void Vertex(const C3DPoint& p, double v, bool bEdge) {
        C3DPoint q = p;
        pts.Add(q);
        vals.Add(v);
        edges.Add(bEdge ? 1 : 0);
    }
    void Polygon(int nVertices) { quads.Add(nVertices == 4 ? 1 : 0); }
};

// How one diagram is drawn: its offset direction (with the component's sign) and scale, the
// piece length and whether every piece closes with an edge across the strip.
struct DiagramStyle {
    double dir[3];
    double scale;
    double step;
    bool bClosing;

    C3DPoint Offset(const C3DPoint& axis, double v) const {
        C3DPoint out;
        CUtilFuncs::GetVectorDirectionPoint(dir, v, scale, axis, out);
        return out;
    }
};

// One straight part of a diagram with linear values from its start to its end.
struct DiagramPart {
    C3DPoint a0, a1;    // axis points
    double vS, vE;      // values at its ends, as drawn
    double prev, next;  // values beyond its ends (sign changes across a station)
    bool bFirst;        // the part starts the member
    bool bLast;         // the part ends the member
    bool bStationEdges; // an edge along a station where the value changes sign across it
};

// Cuts a part into pieces and appends their polygons. A piece whose values have opposite signs
// is split at the interpolated zero on the axis; one whose ends are both zero adds nothing.
inline void AddDiagramPart(const DiagramPart& part, const DiagramStyle& style, PolygonSink& out) {
    const double L = part.a0.Distance(part.a1);
    const int nPieces = CForceEngine::GetSfdBmdPieceCount(L, style.step);
    if (nPieces <= 0) return;
    const double inc = (part.vE - part.vS) / nPieces;
    C3DPoint A0 = part.a0;
    double a = part.vS;
    for (int k = 0; k < nPieces; ++k) {
        const bool bLastPiece = k == nPieces - 1;
        const double b = bLastPiece ? part.vE : part.vS + (k + 1) * inc;
        C3DPoint A1 = part.a1;
        if (!bLastPiece) {
            const double d = (k + 1) * L / nPieces;
            CUtilFuncs::GetInnerLinePoint(d, L - d, part.a0, part.a1, A1);
        }
        const C3DPoint T0 = style.Offset(A0, a), T1 = style.Offset(A1, b);
        const bool bStart = style.bClosing || (part.bFirst && k == 0);
        const bool bEnd = style.bClosing || (part.bLast && bLastPiece);
        const bool bSignBefore = part.bStationEdges && k == 0 && a * part.prev < 0.0;
        const bool bSignAfter = part.bStationEdges && bLastPiece && b * part.next < 0.0;
        if (a == 0.0 && b == 0.0) {
            // Nothing between the axis and the diagram.
        } else if (a == 0.0) {
            out.Vertex(A0, a, true);
            out.Vertex(T1, b, bEnd);
            out.Vertex(A1, b, false);
            out.Polygon(3);
        } else if (b == 0.0) {
            out.Vertex(A0, a, bStart);
            out.Vertex(T0, a, true);
            out.Vertex(A1, b, false);
            out.Polygon(3);
        } else if (a * b < 0.0) {
            C3DPoint Z;
            CUtilFuncs::GetInnerLinePoint(std::fabs(a), std::fabs(b), A0, A1, Z);
            out.Vertex(A0, a, bStart);
            out.Vertex(T0, a, true);
            out.Vertex(Z, 0.0, false);
            out.Polygon(3);
            out.Vertex(Z, 0.0, true);
            out.Vertex(T1, b, bEnd);
            out.Vertex(A1, b, false);
            out.Polygon(3);
        } else {
            out.Vertex(A0, a, bStart || bSignBefore);
            out.Vertex(T0, a, true);
            out.Vertex(T1, b, bEnd || bSignAfter);
            out.Vertex(A1, b, false);
            out.Polygon(4);
        }
        A0 = A1;
        a = b;
    }
}

// Whether every piece closes with an edge across the strip: the diagram fill option, except that
// filled graded diagrams need none.
inline bool ClosingEdges(const CForceEngine& e, const I_PVXModel* pModel) {
    int closing = e.m_bBSfdBmdFill;
    if (closing == 1 && !e.m_bBSfdBmdLine && pModel && pModel->m_bGradient) closing = 0;
    return closing != 0;
}

// The factor drawn values take while an animation plays.
inline double DrawFactor(const I_PVXModel* pModel) {
    if (!pModel || !pModel->m_AnimationEngine.m_bAnimationMode) return 1.0;
    return std::fabs(pModel->m_AnimationEngine.GetAnimationFactor(1));
}

// The undeformed shape as a wire frame under the diagrams on the deformed shape, when asked for:
// outlined diagrams are drawn over it (called with bAfter false, before them), filled ones under
// it (bAfter true, after them).
inline void DrawUndeformedWire(const CForceEngine& e, I_PVXModel& model, CDC* pDC, bool bAfter) {
    T_PVX_DOPT_D& opt = *model.m_pDispOpt;
    if (!e.m_bDeformed || !opt.m_bUndeformedWireFrame || (e.m_bBSfdBmdLine != 0) == bAfter) return;
    OptionScope style(opt.m_nRenderMode, 2);
    model.PVXDrawOriginal(pDC, 1);
}

// Start of a diagram pass (the wait cursor already up): the numbers of the last pass dropped, the
// load applied again when numbers are shown, and the diagram offset from the axis taken from the
// view (a fifth of an inch).
void StartDiagramPass(CForceEngine& e, I_PVXModel& model);

}  // namespace forcediagram
