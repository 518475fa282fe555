// The frame sample project: a regular building frame of any size, for measuring how the frame
// force displays grow with the number of members.
//
// CFrameSampleProject makes a square plan of N x N bays of 6 m with three storeys of 3.6 m:
// columns (101) on every grid point of every storey, floor beams (201) and roof beams (205) along
// both directions, every member one line element (member key = element key). Load cases DL and
// LL (static) and their combination 1.3DL+1.5LL. Results are SAMPLE DATA by closed-form
// mechanics: beams as fixed-end beams under their tributary strip of the floor load, columns
// carrying the tributary floor areas above them, fixed supports (PRTND, no foundation members)
// under the ground storey's columns taking their axial forces as reactions. 9 N^2 members,
// roughly (N = 15: 2,208; N = 47: 20,448; N = 149: 201,600). The records go to an ISampleSink, as
// the building sample's do.
#pragma once

#include "host/app/SampleProject.h"

class CFrameSampleProject {
public:
    static constexpr int kStoreys = 3;
    static constexpr int kMaxBays = 400;  // about 1.4 million members

    explicit CFrameSampleProject(int nBays);

    int GetBays() const { return m_nBays; }
    // Members the project holds.
    long GetMemberCount() const;

    // The model (materials, sections, nodes, columns, supports, beams, load cases, the
    // combination), then the static results of DL and LL.
    void Generate(ISampleSink& sink);

private:
    int m_nBays;  // bays along x and along y
};
