// The wall sample project: rows of shear walls meshed into plates, for measuring how the plate
// and wall force displays grow with the number of wall plates, and a building of one's own kind
// for the storey displays: floors meshed into plates, supports as nodes only.
//
// CWallSampleProject makes a plan of N x N bays of 6 m with a wall on every bay edge along x
// (N + 1 lines of N walls) and as many storeys of 3 m as the plate count asks; each storey of
// each wall is one wall-column member (209) of 12 x 6 square plates of 0.5 m, with its wall
// record (result number = member key); each floor one slab member (302) of 0.5 x 1 m plates over
// the plan, sharing the walls' top nodes. The walls' foot nodes are fixed supports (PRTND); there
// are no foundation members. Load cases DL and WX (static) and the combination 1.2DL+1.4WX.
// Results are SAMPLE DATA by closed-form mechanics: each line of walls, stacked over the
// storeys, is a cantilever of 6 m depth under its own weight (DL) and a lateral load of 10 kN
// per metre of height (WX): in-plane vertical force from weight and bending, in-plane shear
// spread over the wall's length; the wall-column forces are the same resultants at each storey's
// foot and top, the reactions the foot's forces. Displacements: WX sways the walls as
// cantilevers; DL shortens them, and each floor sags between its walls as a simply supported
// strip under its weight. The records go to an ISampleSink, as the building sample's do.
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

    // The model (material, sections, nodes, wall and slab plates, walls with their records,
    // supports, DL, WX and their combination), then the static results of DL and WX: plate
    // forces, wall-column forces, reactions and displacements.
    void Generate(ISampleSink& sink);

private:
    int m_nBays;     // bays along x and along y
    int m_nStoreys;
};
