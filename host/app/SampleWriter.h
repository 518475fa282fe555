// Writes the generated sample project into a post database through the database builder.
//
// CSampleWriter is the ISampleSink of CSampleProject that turns each generated record into the
// database's record (nodes, elements, members, walls, slabs, loads, results; member forces also
// as segment records) and adds it to a PostDBBuilder; Save writes the project file.
#pragma once

#include "host/app/SampleProject.h"
#include "host/db/PostDBBuilder.h"

class CSampleWriter : public ISampleSink {
public:
    CSampleWriter() = default;

    PostDBBuilder& Builder() { return m_builder; }
    // Number of records the builder refused (a bad key or an overfull record); 0 when all went in.
    long GetRefusedCount() const { return m_nRefused; }

    void AddMaterial(UINT key, const char* name, double E, double nu, double gamma) override;
    void AddSection(UINT key, int type, const char* name, const double* dims, const double* stiff6) override;
    void AddNode(UINT key, double x, double y, double z) override;
    void AddElement(UINT key, int kind, int type, UINT matl, UINT sect, const std::vector<UINT>& nodes) override;
    void AddMember(UINT key, int type, const std::vector<UINT>& nodes, const std::vector<UINT>& elems, double length,
                   UINT pileKey) override;
    void AddWall(UINT membKey, int type, const double* anchor2, const double* dir2, const double* p1,
                 const double* p2) override;
    void AddSlab(UINT membKey, int resultType, const std::vector<UINT>& outline) override;
    void AddCutLine(UINT key, int kind, const char* name, double width, const double* p1, const double* p2) override;
    void AddRib(UINT ribNo, UINT memb, const double* widths3, const double* p1, const double* p2, double arc) override;
    void AddStripForces(UINT load, UINT stripKey, const double* m5, const double* v5) override;
    void AddRibForces(UINT load, UINT ribNo, const double* m5, const double* v5) override;
    void AddMemberEnds(UINT membKey, int type, double length, double ri2, double rj2, double ri3,
                       double rj3) override;
    void AddFoundation(const SampleFoundation& f) override;
    void AddLoadCase(UINT key, int type, const char* name) override;
    void AddCombination(UINT key, int type, const char* name, const std::vector<CombEntry>& entries) override;
    void AddDisp(UINT load, UINT node, const double* d6) override;
    void AddReac(UINT load, UINT node, const double* f6) override;
    void AddBeamForces(UINT load, UINT elem, const double (*st)[6]) override;
    void AddColumnForces(UINT load, UINT elem, const double (*bl)[6]) override;
    void AddTrussForces(UINT load, UINT elem, const double (*ends)[6]) override;
    void AddWallForces(UINT load, UINT elem, const double (*lv)[8]) override;
    void AddWallColumnForces(UINT load, UINT resultNo, const double (*bl)[6]) override;
    void AddWallBeamForces(UINT load, UINT resultNo, const double (*st)[6]) override;
    void AddPlateForces(UINT load, UINT elem, const double (*blk)[30]) override;
    void AddRebarDirection(UINT membKey, int sel, double angle1, double angle2) override;
    void AddSlabMoments(UINT load, UINT membKey, double centreX, double centreY, const std::vector<double>& pos,
                        const std::vector<double>& neg) override;
    void AddMode(UINT mode, UINT node, const double* d6) override;
    void AddFrequency(UINT mode, double omega, double freq, double period, double damping) override;
    void AddParticipation(UINT mode, const double* mass6) override;
    void AddDispHistory(UINT load, UINT node, int nStep, double dt, const std::vector<double>& values) override;
    void AddLoadGroup(UINT key, int type, const char* name) override;
    void AddSettlementPoint(UINT key, double x, double y, double z, double constant, const std::vector<UINT>& groups,
                            const std::vector<double>& values) override;
    void AddSupport(UINT node, int type, int dof) override;
    void AddElemSpring(UINT elem, double kv, double width) override;
    void AddSpringPressure(UINT load, UINT elem, const double* values, int n) override;
    void AddSlabDesign(UINT comb, UINT memb, const T_SLDG_D& rec) override;
    void AddSlabWallForces(UINT load, UINT wall, const T_SWDF_D& rec) override;
    void AddStoryShear(UINT load, UINT memb, int story, const double* force3, const double* ratio3) override;

private:
    void Count(int ok) {
        if (!ok) ++m_nRefused;
    }

    PostDBBuilder m_builder;
    long m_nRefused = 0;
    // Frequencies and masses arrive separately; the builder takes them together.
    struct PendingMode {
        UINT mode = 0;
        T_FREQ_D freq{};
        bool hasFreq = false;
    } m_pending;
};
