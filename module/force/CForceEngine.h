// CForceEngine: the result engine of member, wall, plate, truss, slab, strip and story-shear
// forces.
//
// InitEngine clears every data-built flag, selects the model's load and builds the lists of the
// display mode (5 to 39; -1 takes the bars' current display mode; wall lists only for the load
// types that CPVXAttrCtrl::IsSlabForceLoadType accepts); ImportEngine copies another
// force engine's settings and built data. The model's render switch tests the data-built flags
// and the granularity switches before it calls the drawing members.
#pragma once

#include "module/engines/CEngineBase.h"
#include "host/db/DBResultRecords.h"
#include "platform/afx/CMap.h"

class CDeformEngine;

class CForceEngine : public CEngineBase {
public:
    explicit CForceEngine(I_PVXModelBase* pModel);
    ~CForceEngine() override;

    // Non-zero when the lists of the mode are built.
    int InitEngine(CDeformEngine* pDeform, int nMode);
    void ImportEngine(CForceEngine* pSrc);
    using CEngineBase::ImportEngine;
    // Clears every data-built flag (the slab wall flag excepted).
    void ClearDataFlags();
    // The data-built flag of the family that serves a display mode; null for other modes.
    int* DataFlagOfMode(int nMode);
    // Forces of a beam (16 stations of the six components, end I to end J) or of a column
    // (stations I, ST, ED, J); FALSE for a member without a record.
    BOOL GetBeamForce(UINT nKey, T_STRG_D& rec) const { return m_mapBeamForce.Lookup(nKey, rec); }
    BOOL GetColmForce(UINT nKey, T_MBCL_D& rec) const { return m_mapColmForce.Lookup(nKey, rec); }

    // Drawing passes of the render switch, each into the given device context.
    void DrawSSFRData(CDC* pDC);
    void OutputSSFRData(CDC* pDC);
    void DrawBForcContour(CDC* pDC);
    void DrawTForcContour(CDC* pDC);
    void OutputBForcNumbers(CDC* pDC);
    void OutputTForcNumbers(CDC* pDC);
    void DrawBeamSfdBmd(CDC* pDC);
    void DrawTrussSfdBmd(CDC* pDC);
    void DrawWForcContour(CDC* pDC);
    void DrawWallSfdBmd(CDC* pDC);
    void OutputWForcNumbers(CDC* pDC);
    void DrawPForcContour(CDC* pDC);
    void OutputPForcNumbers(CDC* pDC);
    void DrawSForcContour(CDC* pDC);
    void DrawSForcContourMemb(CDC* pDC);
    void OutputSForcNumbers(CDC* pDC);
    void OutputSForcNumbersMemb(CDC* pDC);
    void DrawSRbarContour(CDC* pDC);
    void OutputSRbarNumbersMemb(CDC* pDC);
    void DrawSCracContour(CDC* pDC);
    void DrawSWallContour(CDC* pDC);
    void OutputSWallNumbers(CDC* pDC);
    void DrawCLineSfdBmd(CDC* pDC);
    void OutputSBForcNumbersMemb(CDC* pDC);
    // Per-member slab rebar and crack contours and the crack and per-element rebar numbers are
    // not drawn: these members do nothing.
    void DrawSRbarContourMemb(CDC* pDC) {}
    void DrawSCracContourMemb(CDC* pDC) {}
    void OutputSRbarNumbers(CDC* pDC) {}
    void OutputSCracNumbers(CDC* pDC) {}
    void OutputSCracNumbersMemb(CDC* pDC) {}

    int m_bBForcData;               // beam lists built
    int m_bTForcData;               // truss lists built
    int m_bWForcData;               // wall lists built
    int m_bPForcData;               // plate lists built
    int m_bSSFRData;                // story shear ratio built
    int m_bSForcData;               // slab forces built
    int m_bSRbarData;               // slab reinforcement built
    int m_bSCracData;               // slab crack built
    int m_bSWallBuilt;              // slab wall built
    int m_bCLForcData;              // strip (cutting-line) forces built
    int m_nSForcUnit;               // granularity of slab forces: 0 per member, 1 per element
    int m_nSRbarUnit;               // granularity of slab reinforcement
    int m_nSCracUnit;               // granularity of slab crack
    // Frame force component: 0 axial, 1 shear y, 2 shear z, 3 torsion, 4 moment y, 5 moment z,
    // 6 shear yz, 7 moment yz.
    int m_nBForcComp;
    int m_nWForcComp;               // wall force component, as m_nBForcComp
    int m_nPForcComp;               // plate force component
    int m_nSForcComp;               // slab component 0 Mxx to 8 Fxy
    int m_nSForcKind;               // slab display kind: 0 text block, 1 contour
    int m_nSSFROutput;              // story shear kind: 0 force, else ratio
    int m_nBForcNumUnit;            // beam-force unit switch
    // Extremes of the slab results, read by the legend.
    double m_dSlabMomMaxPos;        // largest positive slab moment
    double m_dSlabMomMaxNeg;        // largest negative slab moment
    double m_dSlabRbarMaxTop;       // largest top reinforcement
    double m_dSlabRbarMaxBot;       // largest bottom reinforcement
    double m_dSlabCracMax;          // largest crack width
    double m_dSlabCracMaxBot = 0.0; // largest crack width at the bottom face (m_dSlabCracMax: top)
    int m_nSRbarKind = 0;           // slab rebar display kind: 0 total, 1 one direction
    int m_bSRbarYDir = 0;           // that direction is Y
    int m_nSCracKind = 0;           // slab crack display kind: 0 total, 1 one direction
    int m_bSCracYDir = 0;           // that direction is Y
    // Column-force maxima, read by the legend's listing, in the order N, FY, FZ, MZ, MY.
    UINT m_nColmMaxKey[5] = {};     // member of each maximum
    double m_dColmMaxVal[5] = {};   // the maxima
    CMap<UINT, UINT, T_STRG_D, T_STRG_D&> m_mapBeamForce;  // member key -> beam forces
    CMap<UINT, UINT, T_MBCL_D, T_MBCL_D&> m_mapColmForce;  // member key -> column forces
};
