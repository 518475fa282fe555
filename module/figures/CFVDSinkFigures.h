// The settlement sheets.
//
//     type  class             shows
//     600   CFVDSink          the settlement of every settlement point (mm) at the point, the
//                             strip lines of the settlement field with their legend (layer 110)
//                             and the shaded map (layer 111); base maps 601, 602 and 46
//     601   CFVDIsoSinkDif    per axis linking two isolated footings: |s1 - s2| / L, "%.4f L"
//     602   CFVDSinkMatTilt   per raft: average settlement, x and y tilt, relative deflection
//
// Settlements come from CClassPCDSink in metres and are written in millimetres (Cur2MM). Load
// case 0 takes per point the load group of the largest settlement (601: of the largest
// difference).
#pragma once

#include <map>

#include "module/figures/CFVDBase.h"

class CFVDSink : public CFVDBase {
    DECLARE_DYNCREATE(CFVDSink)
public:
    void DrawFigure() override;
    void InitBaseMapList() override;
    void CreateLayers() override;
    void CollectLoadCases(std::map<UINT, CString>& out) override;
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    BOOL UsesContour() override { return 1; }

protected:
    void DrawSettlements();
};

class CFVDIsoSinkDif : public CFVDBase {
    DECLARE_DYNCREATE(CFVDIsoSinkDif)
public:
    void DrawFigure() override;
    void CreateLayers() override;
    void CollectLoadCases(std::map<UINT, CString>& out) override;

    // r = |s1 - s2| x cur2mm / L (L in mm); 0 when L is below CMathFunc::m_NormalZero.
    static double DiffRatio(double s1, double s2, double lengthMm, double cur2mm);
    // Text "%.4f L" of r.
    static CString DiffText(double r);
    // 0xFF when |r| exceeds the allowed value, else 0x4C00.
    static COLORREF DiffColour(double r, double allowed);

private:
    std::map<UINT, int> m_Done;  // axes already written
};

class CFVDSinkMatTilt : public CFVDBase {
    DECLARE_DYNCREATE(CFVDSinkMatTilt)
public:
    void DrawFigure() override;
    void CollectLoadCases(std::map<UINT, CString>& out) override;

    // The four lines joined with ";\n": average (mm), x tilt "%.4f", y tilt "%.4f", deflection
    // "%.2f/1000" of deflection x 1000.
    static CString TiltText(double averageMm, double xTilt, double yTilt, double deflection);
};
