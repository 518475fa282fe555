// CDeformEngine: the result engine of nodal displacements (deformed shape, displacement
// contour, node displacement, mode shapes, slab deflection, time history, settlement).
//
// The bars create one as their editing engine and one for the model; InitEngine builds the data
// of the bars' current display mode for the model's load selection and sets m_bDataReady on
// success; ImportEngine copies another engine's settings and built data. The model forces
// m_bKeepDeformed to 1 around an engine update that must keep the deformed shape.
#pragma once

#include "module/engines/CEngineBase.h"
#include "host/db/DBResultRecords.h"

class CDeformEngine : public CEngineBase {
public:
    explicit CDeformEngine(I_PVXModelBase* pModel);
    ~CDeformEngine() override;

    // Builds the data for the current load selection; non-zero when the data are built.
    int InitEngine();
    void ImportEngine(CDeformEngine* pSrc);
    using CEngineBase::ImportEngine;

    // Drawing scale of the deformed shape: the automatic adjust factor times the user scale.
    double GetScale() const { return m_dAdjustFactor * m_dUserScale; }
    // Displacement record of a node for the current selection: the mode shape while mode shapes
    // are shown, else the selected load's value by the model's load step. A node without data
    // gives a zero record and 0.
    int GetDispData(UINT nNode, T_DISP_D& disp) const;
    // 1 when a time-history velocity or acceleration is shown: the model's load is a
    // time-history case (load type 5) and the time-history result kind is 1, 2 or 3; else 0.
    int IsTimeHistVelAcc() const;
    // Plot draws of one render (between BeginPlotEng and EndPlotEng); -1 without a plot engine.
    int DrawDeformedShapeNew(CDC* pDC);
    int DrawDispContourNew(CDC* pDC);
    void OutputNumbersNew();
    void DrawPickedNodes(CDC* pDC);

    UINT m_nSettlementGroup;        // load group whose settlements are shown
    int m_nComponent;               // 0 DX, 1 DY, 2 DZ, 3 total, 4 RX, 5 RY, 6 RZ, 7 XY, 8 YZ, 9 XZ
    int m_bDataReady;               // data built for the current selection
    int m_bKeepDeformed;            // keep the deformed shape across an update; 1 by default
    int m_bExactBeamRange;          // value range includes the exact beam deflections
    double m_dUserScale;            // user scale factor of the deformed shape
    double m_dBeamDispFactor;
    double m_dMaxTotal;             // largest total displacement
    C3DPoint m_ptMaxComp;           // signed translation of largest magnitude per axis
    int m_nTHKind;                  // time-history result kind: 1, 2, 3 (0 none)
    double m_dAdjustFactor;         // automatic adjust factor of the drawing scale
    UINT m_nMaxKeyX, m_nMaxKeyY, m_nMaxKeyZ, m_nMaxKeyTotal;  // nodes of the largest displacements
    CArray<UINT, UINT> m_arrNodeKey;    // nodes in the order their values were added
    CArray<UINT, UINT> m_arrPickedNode; // picked nodes (emptied by a redraw request)
    int m_nSlabDeflKind;            // 0 text block, 1 contour
    double m_dSlabDeflMax;          // largest slab deflection, read by the legend
    int m_nDuctKind, m_nDuctSubKind;  // ductility kind and sub-kind, 0 to 5 each
};
