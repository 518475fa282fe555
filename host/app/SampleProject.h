// The sample project: a small building on a foundation with made-up but self-consistent results.
//
// CSampleProject generates the model and its results and hands them, one record at a time, to
// an ISampleSink (SampleWriter writes them into a project database). Nothing is stored here, so
// a raft of 100,000 plates streams through without holding its results.
//
// The building: a 24 m x 18 m raft (plates, type 301) on 20 piles (200) under a 5 x 4 grid of
// columns (101) of three storeys of 3.6 m, floor beams (201), roof beams (205), floor slabs (302),
// roof slabs (305), a shear wall (209) with a spandrel (210) (wall forces, and plate forces of
// their panels), grade beams under one raft edge (204, T-girders with wall records and forces at
// nine stations; the first also with plate forces), an annex of two columns on isolated footings
// with a tie beam (200) and a roof truss (206), north of the raft a strip footing on springs (201)
// under a boundary wall with two gate piers, and a balcony beam on level 1 curved in plan (201,
// one member of eight elements). The first-floor beams along x have rigid end zones of half a
// column width inside the columns. Load cases DL, LL, WX (static), THX (time history), SETTLE
// (settlement), four linear combinations and an envelope. Values come from simple closed-form
// mechanics, not an analysis: column forces from tributary areas; beams (the balcony beam over
// its developed length) as fixed-end beams (gravity) and by the portal method (wind); the truss
// from its panel loads, its top chord also a simple beam under the canopy between panel points;
// the raft as a plate on Winkler springs under the column point loads (Hetenyi's
// exponential-trigonometric deflection shape; as one slab member its design moments are the
// extremes of its node moments along the mesh lines that end at its sides), the piles taking a share by stiffness and the
// springs the rest, scaled so that reactions balance the loads; the strip footing as a beam on
// Winkler springs (Hetenyi's infinite beam, scaled likewise); storeys as a shear building (modes of
// the uniform cantilever shear beam); the time history as the peak first-mode response; settlement
// from Boussinesq's solution for a uniformly loaded rectangle; the story shear of the wind case
// shared equally by the columns of each storey. Units: kN, m, results in the
// database's units (displacements in mm).
#pragma once

#include <string>
#include <vector>

#include "host/db/FoundationRecords.h"
#include "host/db/SlabDesignRecords.h"
#include "platform/afx/afxtypes.h"

// The foundation model of a sample: the records of its tables by key, and the analysis members
// that come from its objects (PMEMB key, MEMB key) for their model_key.
struct SampleFoundation {
    template <class T> using Rows = std::vector<std::pair<UINT, T>>;
    Rows<T_PONT_D> ponts;
    Rows<T_AXIS_D> axes;
    Rows<T_MEMB_D> membs;
    Rows<T_COLM_D> colms;
    Rows<T_WALL_D> walls;
    Rows<T_COLF_D> colfs;
    Rows<T_FOSP_D> fosps;
    Rows<T_BEAM_D> beams;
    Rows<T_MTSB_D> mtsbs;
    Rows<T_PILE_D> piles;
    Rows<T_PISP_D> pisps;
    Rows<T_SRCT_D> srcts;
    Rows<T_GBPA_D> gbpas;
    Rows<T_WDLD_D> wdlds;
    Rows<T_CKLG_D> cklgs;
    std::vector<std::pair<UINT, UINT>> modelKeys;
};

// Receiver of the generated records. Keys are host keys (non-zero). Load keys of results are the
// load case keys; mode results use the mode number.
class ISampleSink {
public:
    virtual ~ISampleSink() = default;
    virtual void AddMaterial(UINT key, const char* name, double E, double nu, double gamma) = 0;
    // Section shape type (1 rectangle, 3 circle, 8 pipe), dims[4] and the stiffness values
    // area, shear area y, shear area z, torsion, I3 (strong), I2 (weak).
    virtual void AddSection(UINT key, int type, const char* name, const double* dims, const double* stiff6) = 0;
    virtual void AddNode(UINT key, double x, double y, double z) = 0;
    virtual void AddElement(UINT key, int kind, int type, UINT matl, UINT sect, const std::vector<UINT>& nodes) = 0;
    virtual void AddMember(UINT key, int type, const std::vector<UINT>& nodes, const std::vector<UINT>& elems,
                           double length, UINT pileKey) = 0;
    // A wall panel: plan anchor, plan direction, type, corners P1 (bottom) and P2 (top).
    virtual void AddWall(UINT membKey, int type, const double* anchor2, const double* dir2, const double* p1,
                         const double* p2) = 0;
    virtual void AddSlab(UINT membKey, int resultType, const std::vector<UINT>& outline) = 0;
    // A cutting line (kind 0) or slab strip (kind 1) from p1 to p2 (x, y, z; m), width in m.
    virtual void AddCutLine(UINT key, int kind, const char* name, double width, const double* p1,
                            const double* p2) = 0;
    // Rigid end zones of a frame member: end offsets of end i and end j for bending in its local
    // x-y plane (ri2, rj2) and x-z plane (ri3, rj3), m.
    virtual void AddMemberEnds(UINT membKey, int type, double length, double ri2, double rj2, double ri3,
                               double rj3) {}
    // The foundation model, after every analysis member.
    virtual void AddFoundation(const SampleFoundation& f) {}
    virtual void AddLoadCase(UINT key, int type, const char* name) = 0;
    // entries: (kind, key, factor) triples.
    struct CombEntry {
        int kind;
        UINT key;
        double factor;
    };
    virtual void AddCombination(UINT key, int type, const char* name, const std::vector<CombEntry>& entries) = 0;
    virtual void AddDisp(UINT load, UINT node, const double* d6) = 0;
    virtual void AddReac(UINT load, UINT node, const double* f6) = 0;
    virtual void AddBeamForces(UINT load, UINT elem, const double (*st)[6]) = 0;    // 9 stations
    virtual void AddColumnForces(UINT load, UINT elem, const double (*bl)[6]) = 0;  // 4 blocks
    virtual void AddTrussForces(UINT load, UINT elem, const double (*ends)[6]) = 0; // 2 ends
    virtual void AddWallForces(UINT load, UINT elem, const double (*lv)[8]) = 0;    // 3 levels
    // Wall forces by the wall's result number: a wall column's 4 blocks (bottom, top, the two
    // inner stations) and a wall beam's 9 stations.
    virtual void AddWallColumnForces(UINT load, UINT resultNo, const double (*bl)[6]) {}
    virtual void AddWallBeamForces(UINT load, UINT resultNo, const double (*st)[6]) {}
    virtual void AddPlateForces(UINT load, UINT elem, const double (*blk)[30]) = 0; // 5 blocks
    // Slab members: rebar directions (sel 0 takes angle1, else angle2; degrees) and the moments
    // of a load case (centre along X and Y, side lists in outline order).
    virtual void AddRebarDirection(UINT membKey, int sel, double angle1, double angle2) {}
    virtual void AddSlabMoments(UINT load, UINT membKey, double centreX, double centreY, const std::vector<double>& pos,
                                const std::vector<double>& neg) {}
    virtual void AddMode(UINT mode, UINT node, const double* d6) = 0;
    virtual void AddFrequency(UINT mode, double omega, double freq, double period, double damping) = 0;
    virtual void AddParticipation(UINT mode, const double* mass6) = 0;
    // Time history of a node: nStep steps dt seconds apart, 18 values per step (displacement,
    // velocity, acceleration, six components each).
    virtual void AddDispHistory(UINT load, UINT node, int nStep, double dt, const std::vector<double>& values) = 0;
    // Settlement analysis: a load group (type 1 static, 2 settlement) and a settlement point with
    // the settlement (mm) of each listed group and a constant part.
    virtual void AddLoadGroup(UINT key, int type, const char* name) = 0;
    virtual void AddSettlementPoint(UINT key, double x, double y, double z, double constant,
                                    const std::vector<UINT>& groups, const std::vector<double>& values) = 0;
    // A supported node: support type (PRTND_*) and restrained directions (bits DX .. RZ).
    virtual void AddSupport(UINT node, int type, int dof) = 0;
    // An element on Winkler springs: subgrade modulus kN/m3, contact width m (beams).
    virtual void AddElemSpring(UINT elem, double kv, double width) = 0;
    // Spring pressures of an element, kN/m2: a beam's at 0, 1/4, 1/2, 3/4 and 1 of its length,
    // a plate's one per node in element order.
    virtual void AddSpringPressure(UINT load, UINT elem, const double* values, int n) = 0;
    // The host's slab design: a slab member's design under a design combination, and the slab's
    // design forces per metre across the ends of a wall standing on it under a load case.
    virtual void AddSlabDesign(UINT comb, UINT memb, const T_SLDG_D& rec) {}
    virtual void AddSlabWallForces(UINT load, UINT wall, const T_SWDF_D& rec) {}
    // A rib beam of the slabs' design: its beam member, slab widths on the positive side (the
    // line turned 90 degrees counter-clockwise in plan), the negative side and the flange width,
    // its end points (x, y, z; m) and arc height.
    virtual void AddRib(UINT ribNo, UINT memb, const double* widths3, const double* p1, const double* p2, double arc) {}
    // Design moments (kN·m) and shears (kN) at 0, 1/4, 1/2, 3/4 and 1 of a slab strip (by its
    // cutting-line key) or a rib beam (by its rib number).
    virtual void AddStripForces(UINT load, UINT stripKey, const double* m5, const double* v5) {}
    virtual void AddRibForces(UINT load, UINT ribNo, const double* m5, const double* v5) {}
    // What a member carries of the shear of its storey under static case load: its shear force
    // (kN) and its ratio to the storey's shear along the plan directions 0, 45 and 90 degrees.
    virtual void AddStoryShear(UINT load, UINT memb, int story, const double* force3, const double* ratio3) {}
};

// Load keys of the sample.
enum {
    SAMPLE_LC_DL = 1,
    SAMPLE_LC_LL = 2,
    SAMPLE_LC_WX = 3,
    SAMPLE_LC_THX = 4,
    SAMPLE_LC_SETTLE = 5,
    SAMPLE_COMB_FIRST = 101,  // 101..104 linear combinations
    SAMPLE_COMB_ENV = 110,    // envelope of 101..104
    SAMPLE_LDGP_GRAVITY = 1,  // load group of the gravity loads (static kind)
    SAMPLE_LDGP_SETTLE = 2,   // load group of the service loads that settle the foundation
};

class CSampleProject {
public:
    static constexpr long kDefaultRaftPlates = 192;  // 16 x 12 plates
    static constexpr long kMaxRaftPlates = 2000000;
    static constexpr long kMaxSettlePoints = 2000000;

    // nRaftPlates: the least number of raft plates wanted; the mesh is 4k x 3k plates with the
    // smallest k that reaches it, so that the column grid falls on mesh nodes.
    explicit CSampleProject(long nRaftPlates = kDefaultRaftPlates);

    // At least n settlement points (a grid over the raft in its proportions, and the two footing
    // points); 0: the 3 m grid, 65 points.
    void SetSettlementPoints(long n) { m_nSettlePoints = n; }

    int GetRaftCellsX() const { return m_nx; }
    int GetRaftCellsY() const { return m_ny; }
    // The settlement points the last Generate wrote.
    long GetSettlementPointCount() const { return m_nSettlePointsWritten; }

    // Generates everything into sink: the model (materials, sections, nodes, elements and members
    // family by family, cutting lines, load cases, combinations), then the results (static cases,
    // modes, time history, settlement).
    void Generate(ISampleSink& sink);

private:
    int m_nx;  // raft plates along x
    int m_ny;  // raft plates along y
    long m_nSettlePoints = 0;
    long m_nSettlePointsWritten = 0;
};
