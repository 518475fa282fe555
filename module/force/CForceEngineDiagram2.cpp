// CForceEngine: the beam diagram of the frame force diagram built along the member's plan line.
//
// A beam's forces are known at nine stations, k/8 of its length. A member curved in plan (its
// nodes on an arc) is drawn with its stations on that arc: the plan line-or-arc object of the
// host places station k at fraction k/8 of the curve's length, and the height runs linearly from
// end I to end J, so a sloped member keeps its slope. Polygons, edges, label points and extremes
// follow the rules of the straight builder (CForceEngineDiagram.cpp), which both share.
#include <cmath>

#include "host/base/CZELF_DBLineObjData.h"
#include "host/base/GeomTypes.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceShared.h"

namespace {

using forceshared::kSegments;

}  // namespace

void CForceEngine::BSfdBmdMakePolygon_New(T_STRG_D& forc, int nComp, double axes[3][3], C3DPoint& ptI, C3DPoint& ptJ,
                                          DiagramPointList& points, DiagramValueList& values, DiagramFlagList& edges,
                                          DiagramFlagList& quads, C3DPoint* pLabels, double* pExtremes, int,
                                          DiagramPointList* pOutline, double dArcChord) {
    if (pExtremes) pExtremes[0] = pExtremes[1] = 0.0;
    CZELF_DBLineObjData line;
    // Ends that coincide in plan (a vertical member) give no plan line: the stations then run
    // straight from I to J.
    const bool bPlan = line.SetData(CZELF_Point2D(ptI.x, ptI.y), CZELF_Point2D(ptJ.x, ptJ.y), dArcChord, 0.0, 0.0) != 0;
    if (bPlan && line.IsReverse()) line.ReVerSeData();
    C3DPoint stations[kSegments + 1];
    for (int k = 0; k <= kSegments; ++k) {
        const double t = k / static_cast<double>(kSegments);
        if (bPlan) {
            const CZELF_Point2D p = line.GetPointByDist(t, 0.0);
            stations[k] = C3DPoint(p.x, p.y, ptI.z + t * (ptJ.z - ptI.z));
        } else {
            stations[k] = ptI + (ptJ - ptI) * t;
        }
    }
    // The ends are the caller's points exactly.
    stations[0] = ptI;
    stations[kSegments] = ptJ;
    SfdBmdBeamPolygons(forc, nComp, axes, stations, points, values, edges, quads, pLabels, pExtremes, pOutline);
}

double CForceEngine::MembArcHeight(const CArray<double, double>& poses) {
    const INT_PTR n = poses.GetSize() / 3;
    if (n < 3) return 0.0;
    const INT_PTR m = n / 2;
    CZELF_Arc2D arc;
    if (!arc.SetData(T_POINT2D(poses[0], poses[1]), T_POINT2D(poses[3 * m], poses[3 * m + 1]),
                     T_POINT2D(poses[3 * (n - 1)], poses[3 * (n - 1) + 1])))
        return 0.0;
    const double h = arc.Chord();
    return std::isfinite(h) ? h : 0.0;
}
