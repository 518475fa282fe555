// The sample's story shear records: what each column and wall panel carries of its storey's
// shear, in the three plan directions of the story shear records (0, 45 and 90 degrees from X).
//
// A storey's shear and each member's shear are plan vectors (x, y), kN. Along a direction at
// angle a the member's shear is vx cos a + vy sin a, the storey's likewise, and the member's
// ratio the quotient of the two (0 where the storey carries no shear along the direction).
#pragma once

#include <vector>

#include "host/app/SampleProject.h"

struct SampleStoreyShear {
    int story = 0;                 // storey number, 1 the lowest
    double vx = 0.0, vy = 0.0;     // the storey's shear, kN
    struct Member {
        UINT key;                  // member key
        double vx, vy;             // the member's shear, kN
    };
    std::vector<Member> members;
};

// Shear and ratio of a member along a direction (degrees from X) of a storey.
double SampleShearAlong(double vx, double vy, double dAngle);
double SampleShearRatio(const SampleStoreyShear& storey, const SampleStoreyShear::Member& m, double dAngle);

// One story shear row per member of each storey, for load case lc.
void WriteSampleStoryShear(ISampleSink& sink, UINT lc, const std::vector<SampleStoreyShear>& storeys);
