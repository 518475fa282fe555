// CPlotDeformEng: the plot engine of the deformation engine for one draw.
//
// CDeformEngine::BeginPlotEng makes one for the device context of the paint; the model's render
// switch asks the engine to draw (Draw with the model's display mode) and to write its numbers,
// and EndPlotEng deletes it. It draws the deformed shape over or under the undeformed outline
// (mode 1, and 4 without the mode-shape contour switch), the displacement contour on the deformed
// or undeformed members (2, 19, 63, and 4 with the switch), the settlement contour through the
// graphics control's Kriging display (69), and the node, slab-deflection and settlement numbers
// with their minimum/maximum labels. Beams take their exact curve when the engine's exact-beam
// switch is on and a curve can be built. Draw returns 1 drawn, 0 nothing to draw, -1 Escape or a
// mode not served; drawing loops poll Escape once per member and polygon.
#pragma once

#include <memory>

#include "module/engines/CDeformEngine.h"
#include "module/engines/CPlotEngBase.h"

class WorkCrew;

class CPlotDeformEng : public CPlotEngBase {
public:
    // Binds the draw to the engine and DC; with either null the plot engine stays empty and must
    // not draw.
    CPlotDeformEng(CDeformEngine* pEngine, CDC* pDC);
    ~CPlotDeformEng() override;

    int Draw(int nMode) override;
    int OutputNumbers(int nMode) override;
    int OutputSlabDeflectionNumbers(int nMode) override;
    // Slab deflection numbers per member: none are drawn; 0.
    int OutputSlabDeflectionNumbersMemb(int nMode) override;
    int OutputSettlementNumbers(int nMode) override;
    void Reset() override;

    // The faces of a member as drawn: the exact beam curve (its vertex values computed from the
    // curve) or the ordinary deformed member shape (node key per vertex).
    struct MemberPolygons {
        PVXPolyListArray faces;
        PVXKeyArrayList nodeKeys;     // per face; null for a face of an exact beam curve
        PVXValueArrayList values;     // per face; the vertex values of an exact beam face, else null
        int nElemType = 0;            // element type of the member's first element
        MemberPolygons() = default;
        MemberPolygons(const MemberPolygons&) = delete;
        MemberPolygons& operator=(const MemberPolygons&) = delete;
        ~MemberPolygons();
    };
    // 1 built (possibly no face), 0 for a member that cannot be read.
    int GetMemberPolygons(UINT nMemb, MemberPolygons& out, int bDeformed);
    // Whether a face is drawn under the hidden-face switches.
    int IsFaceToDraw(int nPolygons, int nElemType, int nVertices, CList<C3DPoint>* pPoints);

    CDeformEngine* m_pEngine;       // owning engine, not owned

private:
    int DrawDeformedShape();
    int DrawDeformedElements();
    int DrawActiveElement(CDC* pDC, UINT nMemb);
    int DrawInactiveElement(CDC* pDC, UINT nMemb);
    int DrawDisplacementContour();
    int DrawContourElement(CDC* pDC, UINT nMemb);
    // DrawContourElement from the member's kept flat faces; kNotKept when they do not serve it.
    static constexpr int kNotKept = -2;
    int DrawContourFaces(CDC* pDC, UINT nMemb, T_PMEMB_D& memb, int bDeformed);
    // What the contour of a face reads of the model and options: slab deflections, the animation
    // frame, edges drawn (hidden style or faces with edges), faces filled before their bands.
    struct ContourStyle {
        bool bSlab = false, bAnimate = false, bEdgeStyle = false, bPreFill = false;
        double frame = 1.0;
    };
    ContourStyle GetContourStyle() const;
    // A face of two points (a member line) with its end values, in bands.
    void DrawContourLineFace(CDC* pDC, C3DPoint a, C3DPoint b, double va, double vb);
    bool NeedsVisibleTest(int nPolygons, int nElemType, int nVertices) const;
    int DrawSettlementContour();
    // The undeformed model in the undeformed-outline style (draw style 2 meanwhile).
    int DrawUndeformedOutline();
    // The members to draw, back to front, on the deformed (bDeformed) or undeformed shape.
    void SortedMembers(CArray<GRE_Atom, GRE_Atom&>& atoms, int bDeformed);
    // Number output shared by the three kinds: 0 nodes, 1 slab deflection, 2 settlement.
    int WriteNumbers(int nKind);

    // Helper threads that cut the bands of large members' faces, kept for the whole draw.
    std::unique_ptr<WorkCrew> m_pCrew;
};
