#include "host/app/WallSampleProject.h"

#include <algorithm>
#include <vector>

#include "host/db/DBRecords.h"
#include "host/db/DBResultRecords.h"

namespace {

constexpr double kBay = 6.0;        // wall length and bay width, m
constexpr double kH = 3.0;          // storey height, m
constexpr double kT = 0.25;         // wall thickness, m
constexpr double kGamma = 25.0;     // unit weight, kN/m3
constexpr double kLateral = 10.0;   // lateral load per metre of height, kN/m
constexpr double kMesh = 0.5;       // plate size, m
constexpr UINT kCaseDL = 1;
constexpr UINT kSect = 1;

// Smallest bay count whose walls give at least nPlates plates over the storeys.
int BaysFor(long nPlates, int nStoreys) {
    int n = 1;
    while (static_cast<long>(n) * (n + 1) * nStoreys * CWallSampleProject::kPlatesPerWall < nPlates) ++n;
    return n;
}

class CWallGenerator {
public:
    CWallGenerator(int nBays, int nStoreys, ISampleSink& sink) : m_n(nBays), m_s(nStoreys), m_sink(sink) {}

    void AddModel();
    void AddResults();

private:
    int Cols() const { return CWallSampleProject::kPlatesAlong * m_n + 1; }  // nodes along a wall line
    int Rows() const { return CWallSampleProject::kPlatesUp * m_s + 1; }     // nodes up a wall line
    UINT Node(int line, int ix, int iz) const { return static_cast<UINT>(1 + ix + Cols() * (iz + Rows() * line)); }
    double Height() const { return kH * m_s; }

    // Resultants of a wall stack at height z (compression negative): axial force, shear, moment.
    double N(double z) const { return -kGamma * kT * kBay * (Height() - z); }
    double V(double z) const { return kLateral * (Height() - z); }
    double M(double z) const { return 0.5 * kLateral * (Height() - z) * (Height() - z); }
    // Plate forces at xi along the wall (0 .. 6) and height z: the axial force spread over the
    // length plus the linear bending stress, the shear spread evenly.
    void Forces(double xi, double z, double* b) const;

    struct Wall {
        UINT memb;
        int line, bay, storey;
        UINT firstElem;
    };
    const int m_n, m_s;
    ISampleSink& m_sink;
    std::vector<Wall> m_walls;
};

void CWallGenerator::AddModel() {
    m_sink.AddMaterial(1, "C30", 3.0e7, 0.2, kGamma);
    {
        const double dims[4] = {kT, 0.0, 0.0, 0.0};
        const double st[6] = {kT, 0.0, 0.0, 0.0, kT * kT * kT / 12.0, 0.0};
        m_sink.AddSection(kSect, 1, "WALL250", dims, st);
    }
    for (int line = 0; line <= m_n; ++line)
        for (int iz = 0; iz < Rows(); ++iz)
            for (int ix = 0; ix < Cols(); ++ix) m_sink.AddNode(Node(line, ix, iz), kMesh * ix, kBay * line, kMesh * iz);

    // Plates wall by wall, storey by storey; each wall one member after all plates.
    const int along = CWallSampleProject::kPlatesAlong, up = CWallSampleProject::kPlatesUp;
    UINT elem = 1;
    for (int s = 0; s < m_s; ++s)
        for (int line = 0; line <= m_n; ++line)
            for (int bay = 0; bay < m_n; ++bay) {
                m_walls.push_back({0, line, bay, s, elem});
                for (int r = 0; r < up; ++r)
                    for (int c = 0; c < along; ++c) {
                        const int ix = bay * along + c, iz = s * up + r;
                        m_sink.AddElement(elem++, PELEM_KIND_WALL, 209, 1, kSect,
                                          {Node(line, ix, iz), Node(line, ix + 1, iz), Node(line, ix + 1, iz + 1),
                                           Node(line, ix, iz + 1)});
                    }
            }
    UINT memb = elem;
    for (Wall& w : m_walls) {
        w.memb = memb++;
        std::vector<UINT> elems(static_cast<size_t>(CWallSampleProject::kPlatesPerWall));
        for (size_t k = 0; k < elems.size(); ++k) elems[k] = w.firstElem + static_cast<UINT>(k);
        const int ix0 = w.bay * along, iz0 = w.storey * up;
        const std::vector<UINT> outline = {Node(w.line, ix0, iz0), Node(w.line, ix0 + along, iz0),
                                           Node(w.line, ix0 + along, iz0 + up), Node(w.line, ix0, iz0 + up)};
        m_sink.AddMember(w.memb, 209, outline, elems, kBay, 0);
        const double x0 = kBay * w.bay, y = kBay * w.line, z0 = kH * w.storey;
        const double anchor[2] = {x0 + 0.5 * kBay, y}, dir[2] = {1.0, 0.0};
        const double p1[3] = {x0, y, z0}, p2[3] = {x0 + kBay, y, z0 + kH};
        m_sink.AddWall(w.memb, 209, anchor, dir, p1, p2);
    }
    m_sink.AddLoadCase(kCaseDL, PLOAD_STATIC, "DL");
}

void CWallGenerator::Forces(double xi, double z, double* b) const {
    const double fyy = N(z) / kBay + 12.0 * M(z) * (xi - 0.5 * kBay) / (kBay * kBay * kBay);
    const double fxy = V(z) / kBay;
    b[14] = 0.0;
    b[15] = fyy;
    b[16] = fxy;
    // Membrane forces alone: both surfaces carry F / t.
    for (int surf = 0; surf < 2; ++surf) {
        b[7 * surf + 1] = fyy / kT;
        b[7 * surf + 2] = fxy / kT;
    }
}

void CWallGenerator::AddResults() {
    const int along = CWallSampleProject::kPlatesAlong, up = CWallSampleProject::kPlatesUp;
    T_STRP_DL rec;
    for (const Wall& w : m_walls) {
        UINT elem = w.firstElem;
        for (int r = 0; r < up; ++r)
            for (int c = 0; c < along; ++c) {
                rec.Initialize();
                const double xa = kMesh * c, za = kH * w.storey + kMesh * r;
                const double xs[4] = {xa, xa + kMesh, xa + kMesh, xa}, zs[4] = {za, za, za + kMesh, za + kMesh};
                Forces(xa + 0.5 * kMesh, za + 0.5 * kMesh, rec.blk[0]);
                for (int k = 0; k < 4; ++k) Forces(xs[k], zs[k], rec.blk[k + 1]);
                rec.UpdateDerived();
                m_sink.AddPlateForces(kCaseDL, elem++, rec.blk);
            }
        // Wall column: axial force (0), in-plane shear (1) and moment (5) at the foot and the top.
        const double z0 = kH * w.storey, z1 = z0 + kH;
        double bl[4][6] = {};
        bl[0][0] = N(z0);
        bl[1][0] = N(z1);
        bl[0][1] = V(z0);
        bl[1][1] = V(z1);
        bl[0][5] = M(z0);
        bl[1][5] = M(z1);
        m_sink.AddWallColumnForces(kCaseDL, w.memb, bl);
    }
}

}  // namespace

CWallSampleProject::CWallSampleProject(long nPlates) : m_nStoreys(3) {
    nPlates = std::clamp(nPlates, 1L, kMaxPlates);
    m_nBays = BaysFor(nPlates, m_nStoreys);
}

long CWallSampleProject::GetWallCount() const { return static_cast<long>(m_nBays) * (m_nBays + 1) * m_nStoreys; }

void CWallSampleProject::Generate(ISampleSink& sink) {
    CWallGenerator g(m_nBays, m_nStoreys, sink);
    g.AddModel();
    g.AddResults();
}
