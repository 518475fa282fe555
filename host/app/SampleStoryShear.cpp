#include "host/app/SampleStoryShear.h"

#include <cmath>

#include "host/db/StoryShearRecords.h"

namespace {
constexpr double kDegree = 3.14159265358979323846 / 180.0;
constexpr double kNoShear = 1e-9;  // kN: a storey shear this small along a direction counts as none
}  // namespace

double SampleShearAlong(double vx, double vy, double dAngle) {
    return vx * std::cos(dAngle * kDegree) + vy * std::sin(dAngle * kDegree);
}

double SampleShearRatio(const SampleStoreyShear& storey, const SampleStoreyShear::Member& m, double dAngle) {
    const double total = SampleShearAlong(storey.vx, storey.vy, dAngle);
    if (std::fabs(total) < kNoShear) return 0.0;
    return SampleShearAlong(m.vx, m.vy, dAngle) / total;
}

void WriteSampleStoryShear(ISampleSink& sink, UINT lc, const std::vector<SampleStoreyShear>& storeys) {
    for (const SampleStoreyShear& s : storeys)
        for (const SampleStoreyShear::Member& m : s.members) {
            double force[T_SSFR_D::kAngles], ratio[T_SSFR_D::kAngles];
            for (int a = 0; a < T_SSFR_D::kAngles; ++a) {
                force[a] = SampleShearAlong(m.vx, m.vy, T_SSFR_D::kAngle[a]);
                ratio[a] = SampleShearRatio(s, m, T_SSFR_D::kAngle[a]);
            }
            sink.AddStoryShear(lc, m.key, s.story, force, ratio);
        }
}
