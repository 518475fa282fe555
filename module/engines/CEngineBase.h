// CEngineBase: the base of every result engine (deformation, reaction, stress, force, design
// data).
//
// An engine is created by the result bars, filled by its subclass for the current display mode
// (InitEngine), copied between the bars' editing engines and the model's engines (ImportEngine),
// drawn by the model's render switch and deleted by its owner. The base holds what all engines
// share: the database document, the engine's own colour scale, the result flags, the legend
// extremes, the display range of the colour scale, the model it draws into and the cutting-line
// switch. Its virtual operations, in this order, are the drawing contract the subclasses override.
#pragma once

#include "module/engines/CutLineRecords.h"
#include "host/grx/C3DPoint.h"
#include "module/model/PVXShapeLists.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CList.h"
#include "platform/afx/afxtypes.h"

class CDBDoc;
class CDC;
class CContourEngine;
class CPlotEngBase;
class I_PVXModelBase;
class I_PVXModel;
struct VtxInfo_tag;

class CEngineBase {
public:
    CEngineBase();
    virtual ~CEngineBase();
    CEngineBase(const CEngineBase&) = delete;
    CEngineBase& operator=(const CEngineBase&) = delete;

    // Copies the shared state of another engine: flags, legend extremes, display range,
    // cutting-line switch, plate key list and a copy of its colour scale.
    virtual void ImportEngine(CEngineBase* pSrc);
    virtual void GetNodalValueforCutting(UINT nKey, double& dValue, int nOpt, double& dValue2, int nOpt2);
    virtual void DoLineContour(CDC* pDC, CList<C3DPoint, C3DPoint>* pPoints, double* pValues);
    virtual void DoSubPolyContour(CDC* pDC, double* pValues, CList<C3DPoint, C3DPoint>* pPoints, int* pKeys,
                                  int bFrame);
    virtual void DrawContourList(CDC* pDC, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices);
    virtual void DrawContourListGrad(CDC* pDC, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices);
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
    // Kept for callers; draws nothing and leaves the DC as it was.
    void DrawUCSPlaneIcon(CDC* pDC, double axes[][3]);

    // Rebuilds the cutting lines selected in the module settings, their diagram pieces across the
    // plate elements of m_arrElemKey and each line's extremes.
    void MakeCuttingLineData();

    int GetDeformedCntr() const { return m_bDeformed; }
    int GetAvgNdlActOnly() const { return m_bAvgNdlActOnly; }
    int GetGlobalLocal() const { return m_bLocalAxis; }
    I_PVXModelBase* GetPVXModel() const { return m_pModel; }
    // The model as the result model of this module; null when none.
    I_PVXModel* GetModel() const;

    // Frees shape lists handed out by the model's shape builders (forwards to the model's).
    static void FreeMemoryPolyList(PVXPolyListArray* pPolyLists, PVXIndexArrayList* pIndexArrays,
                                   PVXKeyArrayList* pKeyArrays, PVXKeyArrayList* pMoreArrays);

    CDBDoc* m_pDBDoc;                    // the host document at construction, not owned
    CContourEngine* m_pContourEngine;    // the engine's colour scale, owned; null until built
    int m_bDeformed;                     // contours drawn on the deformed shape
    int m_bGradient;                     // bands filled with gradients between level colours (contour settings)
    int m_bAvgNdlActOnly;                // nodal averages over active elements only
    int m_bLocalAxis;                    // 1 global result axes, else element-local (subclasses decide)
    double m_dLegendMax;                 // largest value of the current result
    double m_dLegendMin;                 // smallest value of the current result
    int m_bRangeOn;                      // display range block: range applied to the colour scale
    int m_bRangeAbsolute;                // 1 bounds are values, 0 fractions of the value range
    int m_bRangeLowOn;
    int m_bRangeHighOn;
    double m_dRangeLow;                  // as entered
    double m_dRangeHigh;
    double m_dRangeLowEff;               // effective bounds
    double m_dRangeHighEff;
    I_PVXModelBase* m_pModel;            // the model drawn into, not owned
    int m_bCuttingLine;                  // cutting-line diagrams built and drawn
    int m_bKeepVectorFactor;             // the vector build keeps its current scale factor
    CArray<UINT, UINT> m_arrElemKey;     // plate elements intersected with the cutting lines
    CPlotEngBase* m_pPlotEngine;         // plot engine of one draw, owned; null outside a draw

    CArray<T_PVX_CUTL_D, const T_PVX_CUTL_D&> m_arrCutLine;        // the cutting lines of the last build
    CArray<CArray<T_CUTLINE_D, const T_CUTLINE_D&>*, CArray<T_CUTLINE_D, const T_CUTLINE_D&>*>
        m_arrCutLineData;                                           // pieces per line, owned
    CArray<T_CUTLINE_MINMAX_D, const T_CUTLINE_MINMAX_D&> m_arrCutLineMinMax;  // extremes per line

    static double m_dVectorThkScale;     // vector line thickness scale

protected:
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
};

// Text height for the current result view: the display height of the current model's view, or
// the height unchanged when there is no current model or its view is no render view.
int GetCurViewTextHeight(int nHeight);
