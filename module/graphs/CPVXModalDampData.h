// CPVXModalDampData: the eigen results the Rayleigh damping dialog shows, one record per mode,
// with the ranges its chart and its damping curve use.
//
// Load reads every mode the host's result controller has (frequency and period of the mode,
// its participating masses X, Y, Z, its damping ratio); a mode whose frequency, masses or
// damping ratio cannot be read is skipped. The ranges then follow from the stored modes:
//   frequency low/high   lowest frequency x 0.9, highest x 1.1 (the damping curve's span);
//   frequency axis       low - pad … high + pad, pad = 5 % of (high - low);
//   damping low/high     extremes of the ratios of the modes with 0 <= f < 20 Hz (of every
//                        mode when none lies below 20 Hz);
//   damping axis         low/high widened by 5 % of their span on each side, or by 5 % of
//                        |high| when that is below 1e-10.
// With no mode the axes are 0 … 20 Hz and 0 … 0.1.
//
//     CPVXModalDampData data;
//     if (data.Load(CDBDoc::m_pDBDoc->GetPostCtrl())) ... data.GetModeNumbers() ...
#pragma once

#include <vector>

#include "platform/afx/CArray.h"
#include "platform/afx/CMap.h"

class CPostCtrl;

// One mode: frequency (Hz), period (s), participating masses X, Y, Z (%), damping ratio.
struct T_PVX_MDDP_D {
    double dFreq;
    double dPeriod;
    double dMpmX;
    double dMpmY;
    double dMpmZ;
    double dDampRatio;
};

class CPVXModalDampData {
public:
    static constexpr double kDampingBand = 20.0;   // Hz: modes below it set the damping range
    static constexpr int kCurveSteps = 50;         // the curve has kCurveSteps + 1 samples

    CPVXModalDampData();

    // Empties the map and reads the modes; 0 when the controller has none (or is null).
    int Load(CPostCtrl* pPost);
    // Mode numbers in ascending order.
    std::vector<int> GetModeNumbers() const;
    BOOL GetMode(int nMode, T_PVX_MDDP_D& rec) const;
    int GetModeCount() const { return static_cast<int>(m_mapMode.GetCount()); }

    // The Rayleigh damping ratio ζ(f) = α / (4π f) + β π f sampled over frequency low … high:
    // 51 samples in order. A sample below 1e-15 Hz stops the walk (0; the samples made so far
    // stay); otherwise 1.
    int GetDampCurve(double dAlpha, double dBeta, CArray<double, double>& x, CArray<double, double>& y) const;

    CMap<int, int, T_PVX_MDDP_D, T_PVX_MDDP_D&> m_mapMode;
    double m_dFreqAxisFrom, m_dFreqAxisTo;
    double m_dDampAxisFrom, m_dDampAxisTo;
    double m_dFreqLow, m_dFreqHigh;
    double m_dDampLow, m_dDampHigh;

private:
    void ComputeRanges();
};
