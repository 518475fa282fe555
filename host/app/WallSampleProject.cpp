#include "host/app/WallSampleProject.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <vector>

#include "host/db/DBRecords.h"
#include "host/db/DBResultRecords.h"

namespace {

constexpr double kWallBay = 6.0;      // wall length and bay width, m
constexpr double kWallStoreyH = 3.0;  // storey height, m
constexpr double kT = 0.25;           // wall thickness, m
constexpr double kGamma = 25.0;       // unit weight, kN/m3
constexpr double kLateral = 10.0;     // lateral load per metre of height, kN/m
constexpr double kMesh = 0.5;         // plate size, m
constexpr double kWallSlabT = 0.2;    // floor slab thickness, m
constexpr double kE = 3.0e7;          // kN/m2
constexpr double kNu = 0.2;
constexpr int kSlabRows = 6;          // slab plates across a bay (1 m), along x as the walls' (0.5 m)
constexpr UINT kWallCaseDL = 1;
constexpr UINT kCaseWX = 2;
constexpr UINT kWallComb = 1;
constexpr UINT kWallSect = 1;
constexpr UINT kSlabSect = 2;

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
    // Node of floor s (0 the first floor) at x = 0.5 ix, y = iy m: on a wall line the wall's.
    UINT SlabNode(int s, int ix, int iy) const {
        if (iy % kSlabRows == 0) return Node(iy / kSlabRows, ix, CWallSampleProject::kPlatesUp * (s + 1));
        const int rows = kSlabRows * m_n + 1;
        return static_cast<UINT>(Cols() * Rows() * (m_n + 1) + 1 + ix + Cols() * (iy + rows * s));
    }
    double Height() const { return kWallStoreyH * m_s; }

    // Resultants of a wall stack at height z (compression negative) under load case c: DL its
    // weight (axial force), WX the lateral load (shear and moment).
    double N(UINT c, double z) const { return c == kWallCaseDL ? -kGamma * kT * kWallBay * (Height() - z) : 0.0; }
    double V(UINT c, double z) const { return c == kCaseWX ? kLateral * (Height() - z) : 0.0; }
    double M(UINT c, double z) const { return c == kCaseWX ? 0.5 * kLateral * (Height() - z) * (Height() - z) : 0.0; }
    // Plate forces at xi along the wall (0 .. 6) and height z: the axial force spread over the
    // length plus the linear bending stress, the shear spread evenly.
    void Forces(UINT c, double xi, double z, double* b) const;
    // Displacement of a wall stack's point at height z, mm: WX sways it as a cantilever, DL
    // shortens it; a floor's point y from its wall line (DL) sags as a simply supported strip.
    void Disp(UINT c, double z, double y, double* d6) const;
    // f(node, z, y from its wall line) for every node: the walls', then the floors' own.
    template <class F> void ForEachNode(F f) const;

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
    m_sink.AddMaterial(1, "C30", kE, kNu, kGamma);
    for (const auto& [key, t, name] : {std::tuple{kWallSect, kT, "WALL250"}, std::tuple{kSlabSect, kWallSlabT, "SLAB200"}}) {
        const double dims[4] = {t, 0.0, 0.0, 0.0};
        const double st[6] = {t, 0.0, 0.0, 0.0, t * t * t / 12.0, 0.0};
        m_sink.AddSection(key, 1, name, dims, st);
    }
    for (int line = 0; line <= m_n; ++line)
        for (int iz = 0; iz < Rows(); ++iz)
            for (int ix = 0; ix < Cols(); ++ix) m_sink.AddNode(Node(line, ix, iz), kMesh * ix, kWallBay * line, kMesh * iz);
    for (int s = 0; s < m_s; ++s)
        for (int iy = 0; iy <= kSlabRows * m_n; ++iy)
            if (iy % kSlabRows != 0)
                for (int ix = 0; ix < Cols(); ++ix) m_sink.AddNode(SlabNode(s, ix, iy), kMesh * ix, iy, kWallStoreyH * (s + 1));

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
                        m_sink.AddElement(elem++, PELEM_KIND_WALL, 209, 1, kWallSect,
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
        m_sink.AddMember(w.memb, 209, outline, elems, kWallBay, 0);
        const double x0 = kWallBay * w.bay, y = kWallBay * w.line, z0 = kWallStoreyH * w.storey;
        const double anchor[2] = {x0 + 0.5 * kWallBay, y}, dir[2] = {1.0, 0.0};
        const double p1[3] = {x0, y, z0}, p2[3] = {x0 + kWallBay, y, z0 + kWallStoreyH};
        m_sink.AddWall(w.memb, 209, anchor, dir, p1, p2);
    }
    // Each floor one slab member (302) of 0.5 x 1 m plates over the plan, after the walls; its
    // outline the plan's four corners, as the walls' are theirs.
    const int cols = Cols() - 1, rows = kSlabRows * m_n;
    UINT slabElem = memb;
    std::vector<std::vector<UINT>> floors(static_cast<size_t>(m_s));
    for (int s = 0; s < m_s; ++s)
        for (int iy = 0; iy < rows; ++iy)
            for (int ix = 0; ix < cols; ++ix) {
                floors[static_cast<size_t>(s)].push_back(slabElem);
                m_sink.AddElement(slabElem++, PELEM_KIND_PLATE, 302, 1, kSlabSect,
                                  {SlabNode(s, ix, iy), SlabNode(s, ix + 1, iy), SlabNode(s, ix + 1, iy + 1),
                                   SlabNode(s, ix, iy + 1)});
            }
    for (int s = 0; s < m_s; ++s)
        m_sink.AddMember(slabElem + static_cast<UINT>(s), 302,
                         {SlabNode(s, 0, 0), SlabNode(s, cols, 0), SlabNode(s, cols, rows), SlabNode(s, 0, rows)},
                         floors[static_cast<size_t>(s)], 0.0, 0);
    // The walls stand on fixed supports along their feet: no foundation members.
    for (int line = 0; line <= m_n; ++line)
        for (int ix = 0; ix < Cols(); ++ix) m_sink.AddSupport(Node(line, ix, 0), 1, 63);
    m_sink.AddLoadCase(kWallCaseDL, PLOAD_STATIC, "DL");
    m_sink.AddLoadCase(kCaseWX, PLOAD_STATIC, "WX");
    m_sink.AddCombination(kWallComb, PLCOM_LINEAR, "1.2DL+1.4WX",
                          {{PLOAD_STATIC, kWallCaseDL, 1.2}, {PLOAD_STATIC, kCaseWX, 1.4}});
}

void CWallGenerator::Forces(UINT c, double xi, double z, double* b) const {
    // The lateral load along +x stretches the wall's start (xi = 0) and presses its end.
    const double fyy = N(c, z) / kWallBay - 12.0 * M(c, z) * (xi - 0.5 * kWallBay) / (kWallBay * kWallBay * kWallBay);
    const double fxy = V(c, z) / kWallBay;
    b[14] = 0.0;
    b[15] = fyy;
    b[16] = fxy;
    // Membrane forces alone: both surfaces carry F / t.
    for (int surf = 0; surf < 2; ++surf) {
        b[7 * surf + 1] = fyy / kT;
        b[7 * surf + 2] = fxy / kT;
    }
}

void CWallGenerator::Disp(UINT c, double z, double y, double* d6) const {
    for (int k = 0; k < 6; ++k) d6[k] = 0.0;
    if (c == kCaseWX) {
        const double EI = kE * kT * kWallBay * kWallBay * kWallBay / 12.0, H = Height();
        d6[0] = 1000.0 * kLateral * z * z * (6.0 * H * H - 4.0 * H * z + z * z) / (24.0 * EI);
        return;
    }
    d6[2] = -1000.0 * kGamma / kE * (Height() * z - 0.5 * z * z);
    if (y > 0.0) {
        const double q = kGamma * kWallSlabT, D = kE * kWallSlabT * kWallSlabT * kWallSlabT / (12.0 * (1.0 - kNu * kNu));
        d6[2] -= 1000.0 * q * y * (kWallBay * kWallBay * kWallBay - 2.0 * kWallBay * y * y + y * y * y) / (24.0 * D);
    }
}

void CWallGenerator::AddResults() {
    const int along = CWallSampleProject::kPlatesAlong, up = CWallSampleProject::kPlatesUp;
    T_STRP_DL rec;
    for (UINT c : {kWallCaseDL, kCaseWX}) {
        std::map<UINT, std::pair<double, double>> foot;  // support: FX, FZ
        for (const Wall& w : m_walls) {
            UINT elem = w.firstElem;
            for (int r = 0; r < up; ++r)
                for (int i = 0; i < along; ++i) {
                    rec.Initialize();
                    const double xa = kMesh * i, za = kWallStoreyH * w.storey + kMesh * r;
                    const double xs[4] = {xa, xa + kMesh, xa + kMesh, xa}, zs[4] = {za, za, za + kMesh, za + kMesh};
                    Forces(c, xa + 0.5 * kMesh, za + 0.5 * kMesh, rec.blk[0]);
                    for (int k = 0; k < 4; ++k) Forces(c, xs[k], zs[k], rec.blk[k + 1]);
                    rec.UpdateDerived();
                    m_sink.AddPlateForces(c, elem++, rec.blk);
                }
            // Wall column: axial force (0), in-plane shear Vz (2) and moment My (4) at the foot and
            // the top; the load along +x (the wall's local +z) gives a positive My, drawn on the
            // stretched start, and Vz = dMy/dx (x up) negative.
            const double z0 = kWallStoreyH * w.storey, z1 = z0 + kWallStoreyH;
            double bl[4][6] = {};
            bl[0][0] = N(c, z0);
            bl[1][0] = N(c, z1);
            bl[0][2] = -V(c, z0);
            bl[1][2] = -V(c, z1);
            bl[0][4] = M(c, z0);
            bl[1][4] = M(c, z1);
            m_sink.AddWallColumnForces(c, w.memb, bl);
            // The foot's forces per metre go to its nodes by their share of its length.
            if (w.storey != 0) continue;
            for (int i = 0; i <= along; ++i) {
                double b[5][30] = {};
                Forces(c, kMesh * i, 0.0, b[0]);
                const double share = (i == 0 || i == along) ? 0.5 * kMesh : kMesh;
                auto& f = foot[Node(w.line, w.bay * along + i, 0)];
                f.first -= b[0][16] * share;
                f.second -= b[0][15] * share;
            }
        }
        for (const auto& [node, f] : foot) {
            const double r6[6] = {f.first, 0.0, f.second, 0.0, 0.0, 0.0};
            m_sink.AddReac(c, node, r6);
        }
        ForEachNode([&](UINT node, double z, double y) {
            double d6[6];
            Disp(c, z, y, d6);
            m_sink.AddDisp(c, node, d6);
        });
    }
    // The first mode: the walls' sway under WX scaled to 1 at the top, a cantilever's frequency.
    double top[6];
    Disp(kCaseWX, Height(), 0.0, top);
    ForEachNode([&](UINT node, double z, double) {
        double d6[6];
        Disp(kCaseWX, z, 0.0, d6);
        d6[0] /= top[0];
        m_sink.AddMode(1, node, d6);
    });
    const double EI = kE * kT * kWallBay * kWallBay * kWallBay / 12.0, mass = kGamma / 9.81 * kT * kWallBay;
    const double omega = 1.875 * 1.875 * std::sqrt(EI / (mass * std::pow(Height(), 4)));
    m_sink.AddFrequency(1, omega, omega / (2.0 * M_PI), 2.0 * M_PI / omega, 0.05);
    const double participation[6] = {0.613, 0.0, 0.0, 0.0, 0.0, 0.0};  // a cantilever's first mode
    m_sink.AddParticipation(1, participation);
}

template <class F>
void CWallGenerator::ForEachNode(F f) const {
    for (int line = 0; line <= m_n; ++line)
        for (int iz = 0; iz < Rows(); ++iz)
            for (int ix = 0; ix < Cols(); ++ix) f(Node(line, ix, iz), kMesh * iz, 0.0);
    for (int s = 0; s < m_s; ++s)
        for (int iy = 0; iy <= kSlabRows * m_n; ++iy)
            if (iy % kSlabRows != 0)
                for (int ix = 0; ix < Cols(); ++ix)
                    f(SlabNode(s, ix, iy), kWallStoreyH * (s + 1), std::fmod(static_cast<double>(iy), kWallBay));
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
