// CStressEngine: the result engine of plate stresses (display mode 11).
//
// For every plate element of the model's plate and wall members the engine reads the host's
// plate result record T_STRP_DL of the selected load (one per result key: the element, or each
// model element of a super element), folds the two surfaces as asked, and keeps the records with
// the elements' shapes. It finds the range of the selected stress component and its percentage
// distribution for the legend, and draws either a colour contour of the component over every
// plate face or, with component 7, the two principal stresses as double arrows along their
// directions at the centre of every face; numbers give the element extremes or centre values.
// With the cutting-line switch on, the build adds the diagrams of the selected cutting lines.
//
//     CStressEngine* e = new CStressEngine(pModel);   // the bars' editing engine or the model's
//     e->m_nComponent = 3;                            // maximum principal stress
//     e->m_nSurface = 2;                              // both surfaces, each on its own faces
//     e->InitEngine(pModel->m_pDeformEngine, PVXMode::kPlateStress);
//     if (e->m_bDataReady) { e->DrawPStrsContour(pDC); e->OutputPStrsNumbers(pDC); }
//
// Values are the record's: stresses in kN/m2 in the plate's local axes, principal angles in
// degrees from local x toward local y. Components: 0 sigma-xx, 1 sigma-yy, 2 tau-xy, 3 maximum
// principal stress, 4 minimum principal stress, 5 effective stress, 6 maximum shear stress,
// 7 the principal stress vectors. The engine has no plot engine. Related: CEngineBase (colour
// scale, band cutting, arrows, cutting lines), CDeformEngine (deformed faces).
#pragma once

#include "host/db/DBRecords.h"
#include "host/db/DBResultRecords.h"
#include "module/engines/CEngineBase.h"
#include "platform/afx/CMap.h"

class CDeformEngine;
class CPVXSElemCtrl;

class CStressEngine : public CEngineBase {
public:
    // Member types whose elements get stress records: plate members (the T-girder type 204) and
    // wall members (209 wall columns, 210 wall beams). Slabs and rafts have their own displays.
    static constexpr int kTGirderType = 204;
    // Corner node blocks of a plate stress record (1..4), after the centre block 0.
    static constexpr int kCornerBlocks = 4;
    static int IsPlateMembType(int nType);
    static int IsWallMembType(int nType);
    // A member of a type the include switches take.
    int IsPStrsMember(int nMembType) const;

    explicit CStressEngine(I_PVXModelBase* pModel);
    ~CStressEngine() override;

    // ---- settings and data ------------------------------------------------------------------
    // Defaults of the settings; no records. The reference values and the contour switch keep
    // their values.
    void ResetEngine();
    // Copies the settings and the built data of another engine (its colour scale too); nothing
    // for null.
    void ImportEngine(CStressEngine* pSrc);
    using CEngineBase::ImportEngine;
    // Builds the data for display mode 11 (nMode -1: the bars' current mode) with the model's
    // load selection; other modes build nothing. Returns m_bDataReady. pDeform is not used.
    int InitEngine(CDeformEngine* pDeform, int nMode);
    // The stored record of a result key; 0 (out untouched) when there is none.
    int GetPlateStress(UINT nKey, T_STRP_DL& out) const;

    // ---- value rules ----------------------------------------------------------------------------
    // The value of the current component at a point (0 the centre, 1 to 4 the corner nodes) and
    // surface (0 first, 1 second); 0.0 for component 7 and components outside 0..6, and for
    // points or surfaces the record does not hold.
    double CalcPStrsValue(const T_STRP_DL& rec, int nPoint, int nSurface) const;
    // Largest and smallest value of the current component over the first nNodes corner nodes
    // (at most 4), both surfaces with bBoth; with component 7 the principal stresses of the
    // centre. -DBL_MAX and DBL_MAX when nothing was read.
    double GetMaxElemPStrs(const T_STRP_DL& rec, int nNodes, int bBoth) const;
    double GetMinElemPStrs(const T_STRP_DL& rec, int nNodes, int bBoth) const;
    // 1 for a plate element (the host's plate and slab types), or a super element whose results
    // are super-element results. The sample's walls and T-girders are no plate elements: their
    // plate records hold forces, shown by the plate force display.
    int IsPossiblePStrs(const T_PELEM_D& elem) const;
    // The key list made of the result keys of every plate element of the model's members.
    void GetActivePlaneList();
    // Axes (rows x, y, z) of a node's user coordinate system: its two directions and their cross
    // product, normalised.
    static void GetUCSVector(const T_NUCS_D& ucs, double axes[3][3]);
    // The factor that makes the reference magnitude an arrow of max(0.35 x reference element
    // size, 0.025 x model size); 1.0 without a reference element; unchanged while the base's
    // keep-vector-factor switch is on.
    void InitVectorAdjustFactor(double dRef);
    // Local axes of an element (rows x, y, z, unit), turned by dAngle degrees about z: walls
    // from their four corners, super elements from their ends, plates from their first three
    // corners (bUnit: global axes). 0 when the element has too few nodes or no such axes.
    int CalcSElemLocalVec(UINT nKey, const T_PELEM_D& elem, double axes[3][3], CPVXSElemCtrl* pSElem, double dAngle,
                          int bUnit);

    // ---- builders (1 built, 0 nothing built) ---------------------------------------------------
    int MakePStrsDataList();
    // Reads, folds and stores the record of one result key; 0 when the host has none.
    int MakePStrsDataList_Sub(UINT nKey);
    // Extremes, reference magnitude, colour scale and percentage distribution of the records.
    int MakePStrsDataList_MnMx();

    // ---- drawing -------------------------------------------------------------------------------
    // The contours or vectors of every plate face and the cutting-line diagrams.
    void DrawPStrsContour(CDC* pDC);
    // Number labels per face: the element extremes, or the centre value (number position 1).
    void OutputPStrsNumbers(CDC* pDC);
    // One element's faces as contours; 1 drawn, 0 nothing to draw.
    int DoPStrsElementContour(CDC* pDC, UINT nElem);
    // One element's principal stress arrows.
    int DoPStrsElementVector(CDC* pDC, UINT nElem);
    // The two arrows of one face (its vertices) of result key nKey with the element's axes.
    void DoPStrsElementVector_Sub(CDC* pDC, CArray<C3DPoint, C3DPoint&>& points, UINT nKey, double axes[][3]);
    // Which surface a face of an element shows: 2 a side face (keys 1 and 2 equal), else 0 when
    // its last key is the element's node, 1 when not.
    int GetSurface(const T_PELEM_D& elem, int nKeys, const CArray<UINT>* pKeys) const;
    // Surface of vertex v of a face of surface s: side faces have the second surface at their
    // first two vertices.
    static int GetTopBot(int s, int v);

    // Values of the current component at two corners of an element, for the cutting lines.
    void GetNodalValueforCutting(UINT nKey, double& dValueI, int nI, double& dValueJ, int nJ) override;

    // ---- fields --------------------------------------------------------------------------------
    double m_dRefMagnitude;     // largest |element extreme| of the component, from the range pass
    double m_dVectorScale;      // user scale of the arrows; 1.0
    int m_bContour;             // faces drawn as contours of the component (else only their edges)
    double m_dVectorFactor;     // arrow length per stress unit, set before each vector draw; 1.0
    int m_bIncludePlate;        // plate members get records; 1
    int m_bIncludeWall;         // wall members get records; 1
    int m_bIncludeTGirder;      // T-girder members (type 204) get records with the plates; 1
    int m_nNumberPos;           // 1: labels show the centre value; other values the element extremes
    int m_bDataReady;           // 1 after a successful build
    int m_nSurface;             // 0 first, 1 second, 2 both (each on its faces), 3 larger magnitude per value
    int m_nComponent;           // 0..7, see above; 5 by default
    UINT m_nRefElem;            // result key where the reference magnitude occurs
    CMap<UINT, UINT, T_STRP_DL, T_STRP_DL&> m_mapPStrs;  // result key to its (folded) record; 10007 buckets

private:
    // The faces of an element on the shape drawn (deformed or not), with their node keys and
    // their result keys, into shape (which frees them).
    int GetElementFaces(UINT nElem, T_PELEM_D& elem, ShapeLists& shape);
};
