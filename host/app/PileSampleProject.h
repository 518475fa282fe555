// The pile sample project: a raft on a regular field of piles, for measuring how the pile check
// figures grow with the number of piles.
//
// CPileSampleProject places N piles (type 403 line elements of 20 m, 0.8 m across, one member
// each, member key = element key = pile key) row by row on a square grid of 2.4 m, as many
// columns as the square root of N rounded up; one main raft, reaching half a spacing beyond the
// outer piles, carries them all. Edge piles and inner piles are two pile sections. Load cases
// DL and LL (static), the check groups 101 "1.0DL+1.0LL", 102 "1.2DL+0.5LL" (standard) and
// 103 "1.3DL+1.5LL" (basic). Reactions at the pile tips are SAMPLE DATA: FZ = q s^2 (0.8 + 0.4
// x / W) for DL (q 300 kPa, x the pile's position, W the distance between the outer piles along
// x, one spacing at least) and q s^2 for LL (q 80 kPa); FX = 0.02 FZ, FY = 0.01 FZ. The pile
// checks are then made as for the building sample.
#pragma once

#include "host/app/SampleProject.h"

class CPileSampleProject {
public:
    static constexpr long kMaxPiles = 1000000;

    explicit CPileSampleProject(long nPiles);

    long GetPileCount() const { return m_nPiles; }
    int GetColumns() const;

    // The model and the foundation model, the load cases and check groups, the reactions.
    void Generate(ISampleSink& sink);

private:
    long m_nPiles;
};
