// The wall sample project: rows of shear walls meshed into plates, for measuring how the plate
// and wall force displays grow with the number of wall plates.
//
// CWallSampleProject makes a plan of N x N bays of 6 m with a wall on every bay edge along x
// (N + 1 lines of N walls) and as many storeys of 3 m as the plate count asks; each storey of
// each wall is one wall-column member (209) of 12 x 6 square plates of 0.5 m, with its wall
// record (result number = member key). One load case DL (static). Results are SAMPLE DATA by
// closed-form mechanics: each line of walls, stacked over the storeys, is a cantilever of 6 m
// depth under its own weight and a lateral load of 10 kN per metre of height: in-plane vertical
// force from weight and bending, in-plane shear spread over the wall's length; the wall-column
// forces are the same resultants at each storey's foot and top. The records go to an ISampleSink,
// as the building sample's do.
#pragma once

#include "host/app/SampleProject.h"

class CWallSampleProject {
public:
    static constexpr int kPlatesAlong = 12;   // plates along one wall
    static constexpr int kPlatesUp = 6;       // plates up one storey
    static constexpr long kPlatesPerWall = kPlatesAlong * kPlatesUp;
    static constexpr long kMaxPlates = 2000000;

    // nPlates: the least number of wall plates wanted (at least one wall of each storey).
    explicit CWallSampleProject(long nPlates);

    int GetBays() const { return m_nBays; }
    int GetStoreys() const { return m_nStoreys; }
    long GetWallCount() const;
    long GetPlateCount() const { return GetWallCount() * kPlatesPerWall; }

    // The model (material, section, nodes, plates, walls with their records, DL), then the
    // static results of DL: plate forces and wall-column forces.
    void Generate(ISampleSink& sink);

private:
    int m_nBays;     // bays along x and along y
    int m_nStoreys;
};
