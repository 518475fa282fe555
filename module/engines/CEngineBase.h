// CEngineBase: the base of every result engine (deformation, reaction, stress, force, design
// data).
//
// An engine is created by the result bars, filled by its subclass for the current display mode
// (InitEngine), copied between the bars' editing engines and the model's engines (ImportEngine),
// drawn by the model's render switch and deleted by its owner. The base holds what all engines
// share: the database document, the engine's own colour scale, the result flags, the plate
// sub-element records, the legend extremes, the display range of the colour scale, the model it
// draws into, the cutting lines with their diagrams and, during one draw, the plot engine. Its
// virtual operations, in this order, are the drawing contract the subclasses override:
//
//     engine.BeginPlotEng(pDC);      // deformation and reaction engines make their plot engine
//     engine.DoSubPolyContour(...);  // band polygons of one face, flat or graded
//     engine.EndPlotEng();
//
// Drawing goes to the graphics control's memory image, or straight to the window while the
// model's direct-to-window flag (I_PVXModel::m_bExternalDevice) is set. Builders return 1 when
// built and 0 when there is nothing to build; drawers 1 drawn, 0 no data, -1 Escape.
#pragma once

#include <vector>

#include "module/contour/CContourEngine.h"
#include "module/engines/CutLineRecords.h"
#include "module/engines/T_PVX_SBEM_D.h"
#include "host/db/DBRecords.h"
#include "host/grx/C3DPoint.h"
#include "module/model/PVXFlatFaces.h"
#include "module/model/PVXShapeLists.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CList.h"
#include "platform/afx/CMap.h"
#include "platform/afx/afxtypes.h"
#include "platform/gdi/CGdiObject.h"

class CDBDoc;
class CDC;
class CPlotEngBase;
class I_PVXModelBase;
class I_PVXModel;
struct T_SHAPE_ARGUMENT;

class CEngineBase {
public:
    static constexpr UINT kMapBuckets = 10007;  // buckets of the sub-element and node-order maps

    CEngineBase();
    virtual ~CEngineBase();
    CEngineBase(const CEngineBase&) = delete;
    CEngineBase& operator=(const CEngineBase&) = delete;

    // ---- virtual operations, in slot order --------------------------------------------------
    // Copies the global/local and deformed-contour flags, the plate key list, the sub-element
    // records (deep) and the node-order map. The colour scale, legend extremes and cutting-line
    // switch are the subclass import's (ImportResultScale); the rest is not copied.
    virtual void ImportEngine(CEngineBase* pSrc);
    // Nodal values of element nKey at its corners nOpt and nOpt2 for the cutting lines; the base
    // leaves the outputs as they are.
    virtual void GetNodalValueforCutting(UINT nKey, double& dValue, int nOpt, double& dValue2, int nOpt2);
    // A line A-B with values at A, the midpoint and B, each half coloured by band.
    virtual void DoLineContour(CDC* pDC, CList<C3DPoint, C3DPoint>* pPoints, double* pValues);
    // One triangle, quadrilateral or (bFrame) frame polygon of up to four points cut into band
    // polygons and drawn graded (the model's gradient switch) or flat.
    virtual void DoSubPolyContour(CDC* pDC, double* pValues, CList<C3DPoint, C3DPoint>* pPoints, int* pFlags,
                                  int bFrame);
    // The base DoSubPolyContour of the count points pts (the first four taken), for callers
    // that hold the corners in an array.
    void DoSubPolyContourOf(CDC* pDC, const double* pValues, const C3DPoint* pts, int count, const int* pFlags,
                            int bFrame);
    // Its cut alone: the face's band polygons into FaceSizes and FaceVertices (emptied first);
    // whether there are any.
    bool CutFaceBands(const double* pValues, const C3DPoint* pts, int count, const int* pFlags, int bFrame);
    const CArray<int, int>& FaceSizes() const { return m_faceSizes; }
    const CArray<VtxInfo_tag, VtxInfo_tag>& FaceVertices() const { return m_faceVertices; }
    // Whether DrawContourList draws a list on pDC as fills alone straight into the memory
    // image's pixels (AppendBandPixels then the fills): flat, filled, without band lines.
    bool ListsGoToPixels(CDC* pDC);
    // Band polygons, one flat colour each (or level lines only in the scale's line mode).
    virtual void DrawContourList(CDC* pDC, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices);
    // Band polygons with colours blended between their vertices.
    virtual void DrawContourListGrad(CDC* pDC, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices);
    // A polyline whose segments take the band colour of their first point's value.
    virtual void DrawContourLine(CDC* pDC, CArray<C3DPoint, C3DPoint>& points, CArray<double, double>& values);
    // Double-headed arrow centred on base: shaft base-tip, head lines tip-barbA and tip-barbB,
    // and the same mirrored through base, with the pen the caller selected into the DCs.
    virtual void DrawVectorArrow(CDC* pDC, CDC* pClientDC, C3DPoint a, C3DPoint b, C3DPoint c, C3DPoint d);
    // Local x, y, z axes (rows of unit vectors) of one plate element from its centre, 0.15 of its
    // node box diagonal long, labelled "x", "y", "z"; nOpt non-zero: at the displaced position.
    virtual void DrawPlateResultLclAxis(CDC* pDC, UINT nKey, double axes[][3], int nOpt);
    // Creates the plot engine of one draw; the base has none and returns 0.
    virtual int BeginPlotEng(CDC* pDC);
    // Deletes the plot engine made by BeginPlotEng; the base returns 0.
    virtual int EndPlotEng();

    // ---- accessors and look-ups --------------------------------------------------------------
    int GetDeformedCntr() const { return m_bDeformed; }
    int GetAvgNdlActOnly() const { return m_bAvgNdlActOnly; }
    int GetGlobalLocal() const { return m_bLocalAxis; }
    I_PVXModelBase* GetPVXModel() const { return m_pModel; }
    // The model as the result model of this module; null when none.
    I_PVXModel* GetModel() const;
    // Deep copy of the sub-element record of an element into out; 0 (out untouched) when absent.
    int GetSbemD(UINT nKey, T_PVX_SBEM_D& out) const;
    // Index of node among the first n node keys of the element record; -1 when absent or n < 1.
    static int GetNodeOrder(UINT nNode, const T_PELEM_D& elem, int n);
    // Index of node in keys; -1 when absent.
    static int GetNodeOrder(UINT nNode, const CArray<UINT, UINT>& keys);
    // qsort order of two T_CUTLINE_D pieces by the nearer of their two distances, ascending.
    static int Compare_Cutline_Dist(const void* a, const void* b);
    // Applies the display range block to the colour scale (nothing without a scale).
    void SetDisplayRange();
    // Every value is in range: the display range acts through the colour scale.
    int IsInDisplayRange(double) const { return 1; }
    // Kept for the plate-force builders, which ignore the answer: always 0, changes nothing.
    int GetAllNodeNSbemMap() { return 0; }
    // 0 when world point a lies deeper in the window than b (smaller window depth), else 1.
    int IsFar(double* a, double* b) const;
    // 1 when the points agree within 1e-8 in x, y and z.
    static int IsSame3DPoint(const C3DPoint& a, const C3DPoint& b);
    // A rectangle (bSquare) or ellipse of the given size centred on the window point of p, with
    // the DC's pen and brush, when both window coordinates are at least 1; returns the point.
    CPoint DrawPoint(CDC* pDC, C3DPoint& p, double dSize, int bSquare);
    // Kept for callers; draws nothing.
    void DrawLines(CDC*, int, int) {}
    // Width of vector lines: the thickness scale times the control's width ratio (export).
    int GetVectorLineWidth() const;
    // A line thickness times the control's width ratio.
    int GetLineThick(double dThick) const;
    // Extreme label at p: "Max:" (kind 0), "Min:" (1), "MAX:" (2) or no prefix, then value in
    // the printf format fmt, at the window point of p in the DC's font and colours, and a cross
    // of size 8 in the number text colour. Nothing when the point maps off the window (x or
    // y < 0).
    void DrawMinMaxOutputValue(CDC* pDC, C3DPoint p, const char* fmt, int nKind, double dValue);
    // Kept for callers; draws nothing and leaves the DC as it was.
    void DrawUCSPlaneIcon(CDC* pDC, double axes[][3]);

    // The lists one shape request hands out, freed on every way out: faces, per-face edge flags,
    // per-face vertex node keys and one key per face.
    struct ShapeLists {
        PVXPolyListArray faces;
        PVXIndexArrayList flags;
        PVXKeyArrayList nodeKeys;
        CArray<UINT, UINT> faceKeys;

        ShapeLists() = default;
        ShapeLists(const ShapeLists&) = delete;
        ShapeLists& operator=(const ShapeLists&) = delete;
        ~ShapeLists() { FreeMemoryPolyList(&faces, &flags, &nodeKeys, nullptr); }
        // A request record asking for the node keys and face keys.
        T_SHAPE_ARGUMENT Argument(int bDeformed);
    };

    // ---- members and elements on the shape the engine draws on --------------------------------
    // The deformed shape (m_bDeformed) through the model's deformation engine, else the model's
    // undeformed one. Asked for the deformed shape without a deformation engine they hand out no
    // faces and draw nothing (0) rather than put the undeformed shape into a deformed picture.
    // The shapes return the number of faces handed out (freed by the caller), in the form of
    // I_PVXModel::GetShapeMember and GetShapeElement; the drawings 1 drawn, 0 none, -1 Escape.
    int GetMemberShape(UINT nMemb, T_PMEMB_D& memb, PVXPolyListArray& faces, PVXIndexArrayList* pFlags,
                       T_SHAPE_ARGUMENT& arg);
    int GetElementShape(UINT nElem, T_PELEM_D& elem, PVXPolyListArray& faces, PVXIndexArrayList* pFlags,
                        T_SHAPE_ARGUMENT& arg);
    // The faces GetElementShape hands out with node and face keys, read through ref: the model's
    // kept faces where they serve as they are, else flat arrays made in out.
    int GetElementFaces(UINT nElem, T_PELEM_D& elem, PVXFlatFaces& out, PVXFacesRef& ref);
    // A member in the active style (every element in order).
    int DrawActiveMember(CDC* pDC, UINT nMemb);
    // A member or element in the inactive style.
    int DrawInactiveMember(CDC* pDC, UINT nMemb);
    int DrawInactiveElement(CDC* pDC, UINT nElem);
    // A plate element drawn plainly (under its arrows, or without result colours).
    int DrawPlainElement(CDC* pDC, UINT nElem);

    // Rebuilds the cutting lines selected in the module settings, their diagram pieces across the
    // plate elements of m_arrElemKey and each line's extremes.
    void MakeCuttingLineData();

    // Frees shape lists handed out by the model's shape builders (forwards to the model's).
    static void FreeMemoryPolyList(PVXPolyListArray* pPolyLists, PVXIndexArrayList* pIndexArrays,
                                   PVXKeyArrayList* pKeyArrays, PVXKeyArrayList* pMoreArrays);

    // ---- fields --------------------------------------------------------------------------------
    CDBDoc* m_pDBDoc;                    // the host document at construction, not owned
    CContourEngine* m_pContourEngine;    // the engine's colour scale, owned; null until built
    int m_bDeformed;                     // contours drawn on the deformed shape
    int m_bGradient;                     // bands filled with gradients between level colours (contour settings)
    int m_bAvgNdlActOnly;                // nodal averages over active elements only
    int m_bLocalAxis;                    // result axes, as the subclass reads it; plate forces: 1 element axes, 0 global
    // Plate sub-element records by element key (10007 buckets).
    CMap<UINT, UINT, T_PVX_SBEM_D, T_PVX_SBEM_D&> m_mapSbem;
    CMap<UINT, UINT, int, int> m_mapNodeOrder;  // copied by ImportEngine, otherwise unused
    double m_dLegendMax;                 // largest value of the current result
    double m_dLegendMin;                 // smallest value of the current result
    // Display range block: applied to the colour scale by SetDisplayRange.
    int m_bRangeOn;                      // range applied to the colour scale
    int m_bRangeAbsolute;                // 1 bounds are values, 0 fractions of the value range
    int m_bRangeLowOn;
    int m_bRangeHighOn;
    double m_dRangeLow;                  // as entered
    double m_dRangeHigh;
    double m_dRangeLowEff;               // effective bounds of the last SetDisplayRange
    double m_dRangeHighEff;
    I_PVXModelBase* m_pModel;            // the model drawn into, not owned
    int m_bCuttingLine;                  // cutting-line diagrams built and drawn
    CArray<T_PVX_CUTL_D, const T_PVX_CUTL_D&> m_arrCutLine;        // the cutting lines of the last build
    CArray<CArray<T_CUTLINE_D, const T_CUTLINE_D&>*, CArray<T_CUTLINE_D, const T_CUTLINE_D&>*>
        m_arrCutLineData;                                           // pieces per line, owned
    CArray<T_CUTLINE_MINMAX_D, const T_CUTLINE_MINMAX_D&> m_arrCutLineMinMax;  // extremes per line
    int m_bKeepVectorFactor;             // the vector build keeps its current scale factor
    CArray<UINT, UINT> m_arrElemKey;     // plate elements intersected with the cutting lines
    CMap<UINT, UINT, UINT, UINT> m_mapKey;  // not copied by ImportEngine
    CPlotEngBase* m_pPlotEngine;         // plot engine of one draw, owned; null outside a draw

    static double m_dVectorThkScale;     // vector line thickness scale, 2.0

protected:
    // The subclass part of an import: the colour scale (a copy owned by this engine, or none),
    // the engine's gradient switch, the legend extremes and the cutting-line switch.
    void ImportResultScale(const CEngineBase* pSrc);
    // The colour scale remade over dMin..dMax (made when there is none yet) with its percent map
    // emptied, ready for the weights of the result's values.
    CContourEngine& StartScale(double dMin, double dMax);
    // The pieces and extremes of the lines now in m_arrCutLine (the second half of the build).
    void MakeCuttingLinePieces();
    // Draws every line's pieces (offset by the scaled values) and writes their numbers.
    void DrawCuttingLineDiagrams(CDC* pDC);
    // Writes one value with a node marker at one point, in the display options' number style.
    void OutputCutLineNumber(CDC* pDC, C3DPoint* pPt, double dValue);
    // Model-to-diagram scale: the largest model extent over 15 times |dLargest| (1.0 when ~0).
    void InitCutLineAdjustFactor(double dLargest, double& dFactor);
    // Frees the piece arrays and empties the extremes; the cutting-line list is kept.
    void ResetCuttingLineData();

private:
    // The pen of the band edges over filled contour lists, of that width and colour: kept from
    // list to list (a raft draws one list per plate), made again when either changes.
    CPen& BandEdgePen(int nWidth, COLORREF color);
    CPen m_bandEdgePen;
    std::vector<POINT> m_listPixels;     // a band list's vertices in pixels, reused list to list
    std::vector<C3DPoint> m_listViews;   // the same vertices in view coordinates (flat shading)
    std::vector<int> m_listCounts;       // its polygons' point counts and fill colours
    std::vector<COLORREF> m_listColors;
    // DoSubPolyContour's band lists of one face, emptied and refilled face to face.
    CArray<int, int> m_faceSizes;
    CArray<VtxInfo_tag, VtxInfo_tag> m_faceVertices;
    int m_nBandEdgeWidth = -1;
    COLORREF m_crBandEdge = CLR_INVALID;
};

// Text height for the current result view: the display height of the current model's view, or
// the height unchanged when there is no current model or its view is no render view.
int GetCurViewTextHeight(int nHeight);

// The label of an extreme value: the prefix of the kind ("Max:" 0, "Min:" 1, "MAX:" 2, none
// otherwise) and the value printed with fmt. A format that is not a single floating-point
// conversion (%f, %e, %g with flags, width and precision) prints with "%g" instead.
CString FormatMinMaxLabel(const char* fmt, int nKind, double dValue);

// Draws an extreme label and its cross at p on the model's view (CEngineBase and CPlotEngBase
// share it): crColor is the number text colour.
void DrawMinMaxLabel(I_PVXModel* pModel, CDC* pDC, C3DPoint p, const char* fmt, int nKind, double dValue,
                     COLORREF crColor);
