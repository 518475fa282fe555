#include "module/graphs/CPVXModalDampData.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "host/base/CMathFunc.h"
#include "host/db/CPostCtrl.h"

namespace {
constexpr double kAxisPad = 0.05;      // share of a span added to an axis on each side
constexpr double kSpanGuard = 1e-10;   // a pad smaller than this widens by |high| instead
constexpr double kFreqFactorLow = 0.9;
constexpr double kFreqFactorHigh = 1.1;
constexpr double kEmptyFreqTo = 20.0;  // Hz: the axis with no mode
constexpr double kEmptyDampTo = 0.1;
constexpr double kZeroFrequency = 1e-15;
}  // namespace

CPVXModalDampData::CPVXModalDampData() : m_mapMode(10) {
    m_mapMode.InitHashTable(1001);
    ComputeRanges();
}

int CPVXModalDampData::Load(CPostCtrl* pPost) {
    m_mapMode.RemoveAll();
    const int count = pPost ? pPost->GetModeCount() : 0;
    for (int m = 1; m <= count; ++m) {
        pPost->SelectMode(m, 0);
        T_FREQ_D freq;
        T_MPAM_D mass;
        double ratio = 0.0;
        freq.Initialize();
        mass.Initialize();
        // Each query only when the one before answered: a mode lacking one is left out.
        if (!pPost->GetEiFreq(m, freq) || !pPost->GetEiMpam(m, mass) || !pPost->GetEiDmse(m, ratio)) continue;
        T_PVX_MDDP_D rec{freq.freq, freq.period, mass.mass[0], mass.mass[1], mass.mass[2], ratio};
        m_mapMode.SetAt(m, rec);
    }
    ComputeRanges();
    return m_mapMode.GetCount() > 0 ? 1 : 0;
}

void CPVXModalDampData::ComputeRanges() {
    if (m_mapMode.GetCount() == 0) {
        m_dFreqLow = m_dFreqAxisFrom = 0.0;
        m_dFreqHigh = m_dFreqAxisTo = kEmptyFreqTo;
        m_dDampLow = m_dDampAxisFrom = 0.0;
        m_dDampHigh = m_dDampAxisTo = kEmptyDampTo;
        return;
    }
    double fLow = DBL_MAX, fHigh = -DBL_MAX;
    double dLow = DBL_MAX, dHigh = -DBL_MAX;         // modes below the band
    double dLowAll = DBL_MAX, dHighAll = -DBL_MAX;   // every mode
    for (int m : GetModeNumbers()) {
        T_PVX_MDDP_D r{};
        GetMode(m, r);
        fLow = std::min(fLow, r.dFreq);
        fHigh = std::max(fHigh, r.dFreq);
        dLowAll = std::min(dLowAll, r.dDampRatio);
        dHighAll = std::max(dHighAll, r.dDampRatio);
        if (r.dFreq >= 0.0 && r.dFreq < kDampingBand) {
            dLow = std::min(dLow, r.dDampRatio);
            dHigh = std::max(dHigh, r.dDampRatio);
        }
    }
    // With every mode at 20 Hz or above the extremes would stay at their start values and the
    // axis would run from -DBL_MAX to DBL_MAX: take the ratios of all modes then.
    if (dLow > dHigh) {
        dLow = dLowAll;
        dHigh = dHighAll;
    }
    m_dFreqLow = fLow * kFreqFactorLow;
    m_dFreqHigh = fHigh * kFreqFactorHigh;
    const double fPad = kAxisPad * (m_dFreqHigh - m_dFreqLow);
    m_dFreqAxisFrom = m_dFreqLow - fPad;
    m_dFreqAxisTo = m_dFreqHigh + fPad;

    m_dDampLow = dLow;
    m_dDampHigh = dHigh;
    double dPad = kAxisPad * (dHigh - dLow);
    if (std::fabs(dPad) < kSpanGuard) dPad = kAxisPad * std::fabs(dHigh);
    m_dDampAxisFrom = dLow - dPad;
    m_dDampAxisTo = dHigh + dPad;
}

std::vector<int> CPVXModalDampData::GetModeNumbers() const {
    std::vector<int> modes;
    int key = 0;
    T_PVX_MDDP_D rec{};
    for (POSITION pos = m_mapMode.GetStartPosition(); pos;) {
        m_mapMode.GetNextAssoc(pos, key, rec);
        modes.push_back(key);
    }
    std::sort(modes.begin(), modes.end());
    return modes;
}

BOOL CPVXModalDampData::GetMode(int nMode, T_PVX_MDDP_D& rec) const { return m_mapMode.Lookup(nMode, rec); }

int CPVXModalDampData::GetDampCurve(double dAlpha, double dBeta, CArray<double, double>& x,
                                    CArray<double, double>& y) const {
    x.RemoveAll();
    y.RemoveAll();
    const double step = (m_dFreqHigh - m_dFreqLow) / kCurveSteps;
    const double pi = CMathFunc::m_pi;
    for (int i = 0; i <= kCurveSteps; ++i) {
        const double f = i < kCurveSteps ? m_dFreqLow + i * step : m_dFreqHigh;
        if (f < kZeroFrequency) return 0;
        x.Add(f);
        y.Add(dAlpha / (4.0 * pi * f) + dBeta * pi * f);
    }
    return 1;
}
