#include "host/app/SampleProject.h"
#include "host/app/SampleSlabDesign.h"
#include "host/app/SampleStoryShear.h"
#include "host/app/SampleSlabMoments.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/db/DBRecords.h"
#include "host/db/DBResultRecords.h"
#include "host/db/DBTables.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kG = 9.81;  // m/s2

// Plan and storeys.
constexpr double kLx = 24.0;   // raft length along x, m
constexpr double kLy = 18.0;   // raft width along y, m
constexpr int kBaysX = 4;      // column bays along x (6 m)
constexpr int kBaysY = 3;      // column bays along y (6 m)
constexpr int kStoreys = 3;
constexpr double kH = 3.6;     // storey height, m
constexpr int kGridX = kBaysX + 1;
constexpr int kGridY = kBaysY + 1;
constexpr int kColumns = kGridX * kGridY;

// Materials.
constexpr double kEc = 3.0e7;      // concrete, kN/m2
constexpr double kNuC = 0.2;
constexpr double kEst = 2.06e8;    // steel, kN/m2
constexpr double kEsoil = 2.0e4;   // soil modulus for settlement, kN/m2
constexpr double kNuSoil = 0.3;

// Foundation.
constexpr double kRaftT = 1.0;         // raft thickness, m
constexpr double kSubgrade = 2.0e4;    // modulus of subgrade reaction, kN/m3
constexpr double kPileK = 1.0e6;       // axial pile stiffness, kN/m
constexpr double kPileKh = 5.0e4;      // lateral pile stiffness, kN/m
constexpr double kPileL = 12.0;        // m
constexpr double kPileD = 0.8;         // m
constexpr double kGradeDepth = 1.0;    // grade beam depth below the raft, m

// Members.
constexpr double kColB = 0.6;     // square column side, m
constexpr double kSlabT = 0.12;   // m
constexpr double kWallT = 0.25;   // m
constexpr double kWallY0 = 6.0, kWallY1 = 12.0;  // shear wall at x = 0 between these y

// Loads (kN/m2 unless noted), levels 1..3 (3 = roof).
constexpr double kQDL[kStoreys] = {5.0, 5.0, 4.0};
constexpr double kQLL[kStoreys] = {2.0, 2.0, 0.5};
constexpr double kRaftDL = 25.0 * kRaftT;  // raft self weight
constexpr double kRaftLL = 2.0;            // basement floor live load
constexpr double kWind = 0.8;              // wind pressure on the x-facing facade
constexpr double kSa = 1.0;                // spectral acceleration of the time history, m/s2
constexpr double kDamping = 0.05;

// Annex: two columns on isolated footings at x = 30, y = 0 and 12, with a truss on top.
constexpr double kAnnexX = 30.0;
constexpr double kAnnexSpan = 12.0;
constexpr double kAnnexH = 4.5;       // column height, m
constexpr double kTrussH = 1.0;       // truss depth, m
constexpr int kTrussPanels = 4;
constexpr double kAnnexQDL = 1.5 * 6.0;  // canopy dead load on the truss, kN/m
constexpr double kAnnexQLL = 0.5 * 6.0;  // canopy live load, kN/m
constexpr double kTieW = 25.0 * 0.3 * 0.5;  // tie beam self weight, kN/m
constexpr double kFootingB = 2.0;           // square footing side, m

// Balcony: a beam curved in plan on level 1, from grid point (1, 3) to (2, 3) (x = 6 and 12 on
// the north edge y = 18), bulging 1.5 m outwards, in eight elements.
constexpr int kBalconyLevel = 1;
constexpr int kBalconyFrom = 1, kBalconyTo = 2;  // grid lines x of its ends
constexpr double kBalconyRise = 1.5;             // arc height over the 6 m chord, m
constexpr int kBalconyElems = 8;
constexpr double kBalconyStrip = 1.5;            // width of balcony floor it carries, m
constexpr double kBalconyEI = kEc * 0.3 * 0.6 * 0.6 * 0.6 / 12.0;  // B300x600, kN m2

// The slab design strip of the cutting-line table: along x = 3 m over the raft's width, 2 m wide.
constexpr struct {
    UINT key;
    double x, y1, y2, width;
} kStripLine = {2, 3.0, 0.0, kLy, 2.0};

constexpr int kCases = 3;  // static cases DL, LL, WX
const UINT kCaseKey[kCases] = {SAMPLE_LC_DL, SAMPLE_LC_LL, SAMPLE_LC_WX};

// The linear combinations 101..104: factors of DL, LL, WX.
struct LinearComb {
    UINT key;
    const char* name;
    double factor[kCases];
};
const LinearComb kLinearCombs[] = {
    {101, "1.3DL+1.5LL", {1.3, 1.5, 0.0}},
    {102, "1.0DL+1.0LL", {1.0, 1.0, 0.0}},
    {103, "1.3DL+1.5WX", {1.3, 0.0, 1.5}},
    {104, "1.2DL+1.4LL+0.84WX", {1.2, 1.4, 0.84}},
};

// Walls (member type 202) standing on the raft, from grid point (gi0, gj0) to (gi1, gj1) along a
// grid line, kRaftWallH high; each carries a strip of the first floor of its own width (m), so
// that their forces differ as a building's walls do.
struct RaftWallLine {
    int gi0, gj0, gi1, gj1;
    double trib;
};
const RaftWallLine kRaftWalls[] = {{1, 1, 1, 2, 3.0}, {2, 2, 3, 2, 4.5}};
constexpr double kRaftWallH = 1.2;     // m

// Line load on the balcony beam, kN/m: its own weight (DL) and its strip of balcony floor.
double BalconyLoad(UINT lc) {
    if (lc == SAMPLE_LC_DL) return 25.0 * 0.3 * 0.6 + kBalconyStrip * kQDL[kBalconyLevel - 1];
    if (lc == SAMPLE_LC_LL) return kBalconyStrip * kQLL[kBalconyLevel - 1];
    return 0.0;
}

double PlateRigidity() { return kEc * kRaftT * kRaftT * kRaftT / (12.0 * (1.0 - kNuC * kNuC)); }
double CharLength() { return std::pow(PlateRigidity() / kSubgrade, 0.25); }

// Tributary width of grid line g of n lines spaced 6 m.
double TribWidth(int g, int n) { return (g == 0 || g == n - 1) ? 3.0 : 6.0; }

// Storey wind forces and shears, kN.
double WindForce(int level) { return kWind * kLy * (level == kStoreys ? kH * 0.5 : kH); }
double StoreyShear(int storey) {
    double v = 0.0;
    for (int l = storey; l <= kStoreys; ++l) v += WindForce(l);
    return v;
}

// Lateral storey stiffness of the columns, kN/m, and of the shear wall (in y only).
double ColumnStoreyK() { return kColumns * 12.0 * kEc * (std::pow(kColB, 4) / 12.0) / std::pow(kH, 3); }
double WallStoreyK() {
    const double I = kWallT * std::pow(kWallY1 - kWallY0, 3) / 12.0;
    return 3.0 * kEc * I / std::pow(kH, 3);
}

// Settlement at (x, y) of the surface under a uniform load q on the rectangle [0,a]x[0,b]
// (Boussinesq, flexible load): sum over the four rectangles that have the point as a corner.
double CornerTerm(double a, double b) {
    if (a <= 0.0 || b <= 0.0) return 0.0;
    const double d = std::sqrt(a * a + b * b);
    return a * std::log((b + d) / a) + b * std::log((a + d) / b);
}
double RectSettlement(double q, double a, double b, double x, double y) {
    const double xc = std::clamp(x, 0.0, a), yc = std::clamp(y, 0.0, b);
    const double sum = CornerTerm(xc, yc) + CornerTerm(a - xc, yc) + CornerTerm(xc, b - yc) + CornerTerm(a - xc, b - yc);
    return q * (1.0 - kNuSoil * kNuSoil) / (kPi * kEsoil) * sum;
}

// One point load on the raft: position and load, kN (downward positive).
struct PointLoad {
    double x, y, p;
};

// Raft field at a point: deflection (downward positive), slopes, moments and shears.
struct RaftField {
    double w = 0.0, wx = 0.0, wy = 0.0;
    double mxx = 0.0, myy = 0.0, mxy = 0.0;
    double vx = 0.0, vy = 0.0;
};

// Deflection of the plate on springs under point loads: each load makes the radial dish
// A e^-s (cos s + sin s), s = r / l, scaled so that the springs under the whole plane carry it
// (A = P / (pi k l^2)); wUniform adds a rigid settlement.
RaftField EvalRaft(double x, double y, const std::vector<PointLoad>& loads, double wUniform) {
    const double D = PlateRigidity();
    const double l = CharLength();
    RaftField f;
    f.w = wUniform;
    double wxx = 0.0, wyy = 0.0, wxy = 0.0, dLx = 0.0, dLy = 0.0;
    for (const PointLoad& pl : loads) {
        const double dx = x - pl.x, dy = y - pl.y;
        const double r = std::sqrt(dx * dx + dy * dy);
        const double s = r / l;
        if (s > 12.0) continue;  // e^-12: nothing left
        const double A = pl.p / (kPi * kSubgrade * l * l);
        const double e = std::exp(-s), c = std::cos(s), sn = std::sin(s);
        const double f0 = A * e * (c + sn);
        const double f1 = -2.0 * A / l * e * sn;
        const double f2 = -2.0 * A / (l * l) * e * (c - sn);
        const double f3 = 4.0 * A / (l * l * l) * e * c;
        f.w += f0;
        if (r < 1e-9 * l) {
            wxx += f2;
            wyy += f2;
            continue;
        }
        const double cx = dx / r, cy = dy / r;
        const double f1r = f1 / r;
        f.wx += f1 * cx;
        f.wy += f1 * cy;
        wxx += f2 * cx * cx + f1r * cy * cy;
        wyy += f2 * cy * cy + f1r * cx * cx;
        wxy += (f2 - f1r) * cx * cy;
        const double dL = f3 + (f2 - f1r) / r;
        dLx += dL * cx;
        dLy += dL * cy;
    }
    f.mxx = -D * (wxx + kNuC * wyy);
    f.myy = -D * (wyy + kNuC * wxx);
    f.mxy = -D * (1.0 - kNuC) * wxy;
    f.vx = -D * dLx;
    f.vy = -D * dLy;
    return f;
}

// Fills one 30-value plate result block from moments and shears of a plate of thickness t.
void FillPlateBlock(double* b, double mxx, double myy, double mxy, double vx, double vy, double t) {
    std::memset(b, 0, 30 * sizeof(double));
    auto principal = [](double a, double c, double xy, double& p1, double& p2, double& angDeg) {
        const double avg = 0.5 * (a + c);
        const double R = std::sqrt(0.25 * (a - c) * (a - c) + xy * xy);
        p1 = avg + R;
        p2 = avg - R;
        angDeg = 0.5 * std::atan2(2.0 * xy, a - c) * 180.0 / kPi;
    };
    const double z = 6.0 / (t * t);
    for (int surf = 0; surf < 2; ++surf) {
        const double sg = surf == 0 ? -1.0 : 1.0;  // top in compression under a positive moment
        double* s = b + 7 * surf;
        s[0] = sg * z * mxx;
        s[1] = sg * z * myy;
        s[2] = sg * z * mxy;
        principal(s[0], s[1], s[2], s[3], s[4], s[5]);
        s[6] = std::sqrt(s[3] * s[3] - s[3] * s[4] + s[4] * s[4]);
        b[28 + surf] = 0.5 * (s[3] - s[4]);
    }
    b[20] = mxx;
    b[21] = myy;
    b[22] = mxy;
    principal(mxx, myy, mxy, b[23], b[24], b[25]);
    b[26] = vx;
    b[27] = vy;
}

// Internal forces of a fixed-end beam under a uniform load w (kN/m) at the nine stations,
// into shear z (component 2) and moment y (component 4), added to st.
void AddFixedEndBeam(double st[9][6], double w, double L) {
    for (int k = 0; k < 9; ++k) {
        const double x = L * k / 8.0;
        st[k][2] += w * (0.5 * L - x);
        st[k][4] += w * (6.0 * L * x - 6.0 * x * x - L * L) / 12.0;
    }
}

// Simply supported beam under w.
void AddSimpleBeam(double st[9][6], double w, double L) {
    for (int k = 0; k < 9; ++k) {
        const double x = L * k / 8.0;
        st[k][2] += w * (0.5 * L - x);
        st[k][4] += 0.5 * w * x * (L - x);
    }
}

// Membrane forces, moments and transverse shears of one plate result block (element axes).
struct ShellForces {
    double fxx = 0.0, fyy = 0.0, fxy = 0.0;  // kN/m
    double mxx = 0.0, myy = 0.0, mxy = 0.0;  // kN·m/m
    double vx = 0.0, vy = 0.0;               // kN/m
};

// Block b of a plate record from its forces in a plate of thickness t: the surface stresses
// F / t -+ 6 M / t^2 (surface 1 the top, compressed by a positive moment); the principal values
// and angles are left to T_STRP_DL::UpdateDerived.
void SetShellBlock(T_STRP_DL& rec, int b, const ShellForces& f, double t) {
    double* v = rec.blk[b];
    const double z = 6.0 / (t * t);
    for (int surf = 0; surf < 2; ++surf) {
        const double sg = surf == 0 ? -1.0 : 1.0;
        v[7 * surf + 0] = f.fxx / t + sg * z * f.mxx;
        v[7 * surf + 1] = f.fyy / t + sg * z * f.myy;
        v[7 * surf + 2] = f.fxy / t + sg * z * f.mxy;
    }
    v[14] = f.fxx;
    v[15] = f.fyy;
    v[16] = f.fxy;
    v[20] = f.mxx;
    v[21] = f.myy;
    v[22] = f.mxy;
    v[26] = f.vx;
    v[27] = f.vy;
}

// A panel of four corners (element node order) working as a deep beam along its local x (the
// host's plane axes: x along the first edge): at each corner and at the centre the bending
// stress of the moment M(s) linear over the depth h and the shear V(s) spread evenly over it, s
// the distance along x from the first corner. Positive moments compress the upper fibres.
template <class MFn, class VFn>
T_STRP_DL DeepBeamPlates(const double pts[4][3], double h, double t, MFn M, VFn V) {
    T_STRP_DL rec;
    rec.Initialize();
    double axes[3][3];
    CClassPElem::calcPlaneLocalVector(4, pts, axes);
    double c[3] = {0.0, 0.0, 0.0};
    for (int k = 0; k < 4; ++k)
        for (int i = 0; i < 3; ++i) c[i] += 0.25 * pts[k][i];
    // Upward along the local y axis: +1 when it points up, -1 down.
    const double yUp = axes[1][2] >= 0.0 ? 1.0 : -1.0;
    auto block = [&](const double p[3]) {
        const double s = (p[0] - pts[0][0]) * axes[0][0] + (p[1] - pts[0][1]) * axes[0][1] + (p[2] - pts[0][2]) * axes[0][2];
        const double up = p[2] - c[2];
        ShellForces f;
        f.fxx = -12.0 * M(s) * up / (h * h * h);
        f.fxy = yUp * V(s) / h;
        return f;
    };
    SetShellBlock(rec, 0, block(c), t);
    for (int k = 0; k < 4; ++k) SetShellBlock(rec, k + 1, block(pts[k]), t);
    rec.UpdateDerived();
    return rec;
}

struct ModeShape {
    int dir;       // 0 x, 1 y
    int order;     // 1.. within its direction
    double omega;  // rad/s
    double phi[kStoreys];
    double massPct;
};

// Modes of a uniform shear building of n storeys (mass m per level, storey stiffness k) in one
// direction: omega_j = 2 sqrt(k/m) sin((2j-1) pi / (2(2n+1))), phi_j(i) = sin(i (2j-1) pi / (2n+1)).
void ShearBuildingModes(int dir, double m, double k, std::vector<ModeShape>& out) {
    const int n = kStoreys;
    for (int j = 1; j <= n; ++j) {
        ModeShape ms{};
        ms.dir = dir;
        ms.order = j;
        ms.omega = 2.0 * std::sqrt(k / m) * std::sin((2 * j - 1) * kPi / (2.0 * (2 * n + 1)));
        double mx = 0.0;
        for (int i = 1; i <= n; ++i) {
            ms.phi[i - 1] = std::sin(i * (2 * j - 1) * kPi / (2 * n + 1));
            mx = std::max(mx, std::fabs(ms.phi[i - 1]));
        }
        double s1 = 0.0, s2 = 0.0;
        for (int i = 0; i < n; ++i) {
            ms.phi[i] /= mx;
            s1 += ms.phi[i];
            s2 += ms.phi[i] * ms.phi[i];
        }
        ms.massPct = 100.0 * s1 * s1 / (n * s2);
        out.push_back(ms);
    }
}


// Objects that the result steps look up after the model steps made them.
struct LineElem {
    UINT key;
    UINT n1, n2;
    double length;
};

// Rigid end zones of beams of length len framing into the square columns: half a column width
// at both ends, in both bending planes.
void AddRigidEndZones(ISampleSink& sink, const std::vector<UINT>& beamKeys, int type, double len) {
    const double r = 0.5 * kColB;
    for (UINT key : beamKeys) sink.AddMemberEnds(key, type, len, r, r, r, r);
}

struct Beam {
    LineElem e;
    int level;
    int dir;      // 0 along x, 1 along y
    double trib;  // loaded width, m
    int gi = 0, gj = 0;  // grid point of its first end
};

struct Slab {
    UINT key;
    int level;
};

enum TrussRole { T_BOT, T_TOP, T_VERT, T_DIAG };

struct TrussBar {
    LineElem e;
    TrussRole role;
    int panel;  // panel (chords, diagonals) or node (verticals)
};

// Time history of the THX case: the first x mode ringing at its own frequency under a sine
// envelope over 10.5 periods, u(t) = U sin(w t) sin(pi t / D), so that every floor node reaches
// its peak displacement U (the THX displacement record) at mid-time t = D / 2 = 5.25 periods,
// where both sines are 1. Steps of a twentieth period (211 steps); velocity and acceleration are
// the derivatives of u. Nodes at rest (no floor level) get no history record.
constexpr int kHistStepsPerPeriod = 20;
constexpr double kHistPeriods = 10.5;

int HistoryStepCount() { return static_cast<int>(kHistPeriods * kHistStepsPerPeriod) + 1; }

void WriteTimeHistorySteps(ISampleSink& sink, const std::vector<double>& peakUx, double omega) {
    const double T = 2.0 * kPi / omega, D = kHistPeriods * T, dt = T / kHistStepsPerPeriod, a = kPi / D;
    const int nStep = HistoryStepCount();
    std::vector<double> shape(static_cast<size_t>(nStep) * 3);  // u, v, acc for U = 1
    for (int s = 0; s < nStep; ++s) {
        const double t = s * dt;
        const double sw = std::sin(omega * t), cw = std::cos(omega * t), sa = std::sin(a * t), ca = std::cos(a * t);
        shape[3 * s] = sw * sa;
        shape[3 * s + 1] = omega * cw * sa + a * sw * ca;
        shape[3 * s + 2] = -(omega * omega + a * a) * sw * sa + 2.0 * omega * a * cw * ca;
    }
    std::vector<double> values(static_cast<size_t>(nStep) * 18);
    for (size_t n = 1; n < peakUx.size(); ++n) {
        const double U = peakUx[n];
        if (U == 0.0) continue;
        std::fill(values.begin(), values.end(), 0.0);
        // Displacement in mm (as every displacement record); velocity and acceleration in m/s
        // and m/s2.
        for (int s = 0; s < nStep; ++s) {
            values[18 * s] = 1000.0 * U * shape[3 * s];
            values[18 * s + 6] = U * shape[3 * s + 1];
            values[18 * s + 12] = U * shape[3 * s + 2];
        }
        sink.AddDispHistory(SAMPLE_LC_THX, static_cast<UINT>(n), nStep, dt, values);
    }
}

// Dead-load share of the load the raft carries: floor loads reach it over the whole plan, so
// the share is that of the area loads (the wall's own weight left out).
double DeadShareOfRaftLoad() {
    double dead = kRaftDL, all = kRaftDL + kRaftLL;
    for (int l = 0; l < kStoreys; ++l) {
        dead += kQDL[l];
        all += kQDL[l] + kQLL[l];
    }
    return dead / all;
}

// Settlement points of the host's settlement analysis on a grid of ni x nj cells over the raft (3 m
// by default) and at the two annex footings. Load group SETTLE (settlement kind) carries the service-load settlement
// (Boussinesq, as the SETTLE load case), group GRAVITY (static kind) the dead-load part alone;
// every point adds a regional subsidence of kRegionalSettle mm common to all groups.
constexpr double kRegionalSettle = 3.0;  // mm
constexpr double kSettleGrid = 3.0;      // m

void WriteSettlementPoints(ISampleSink& sink, double qService, double qDead, double qFootService, double qFootDead,
                           const double footXY[2][2], int ni, int nj) {
    sink.AddLoadGroup(SAMPLE_LDGP_GRAVITY, LDGP_STATIC, "GRAVITY");
    sink.AddLoadGroup(SAMPLE_LDGP_SETTLE, LDGP_SETTLEMENT, "SETTLE");
    const std::vector<UINT> groups = {SAMPLE_LDGP_GRAVITY, SAMPLE_LDGP_SETTLE};
    UINT key = 1;
    for (int j = 0; j <= nj; ++j)
        for (int i = 0; i <= ni; ++i) {
            const double x = kLx * i / ni, y = kLy * j / nj;
            const std::vector<double> v = {1000.0 * RectSettlement(qDead, kLx, kLy, x, y),
                                           1000.0 * RectSettlement(qService, kLx, kLy, x, y)};
            sink.AddSettlementPoint(key++, x, y, 0.0, kRegionalSettle, groups, v);
        }
    const double half = 0.5 * kFootingB;
    for (int k = 0; k < 2; ++k) {
        const std::vector<double> v = {1000.0 * RectSettlement(qFootDead, kFootingB, kFootingB, half, half),
                                       1000.0 * RectSettlement(qFootService, kFootingB, kFootingB, half, half)};
        sink.AddSettlementPoint(key++, footXY[k][0], footXY[k][1], 0.0, kRegionalSettle, groups, v);
    }
}

// Strip footing of a boundary wall north of the raft: a beam on Winkler springs.
constexpr double kStripY = kLy + 3.0;      // along y = 21 m
constexpr int kStripElems = 8;             // elements of 3 m from x = 0 to 24
constexpr double kStripB = 1.0;            // width, m
constexpr double kStripH = 0.6;            // depth, m
constexpr UINT kSectStrip = 10;
constexpr double kStripWallDL = 10.0;      // boundary wall on it, kN/m
constexpr double kStripLL = 5.0;           // surcharge, kN/m
constexpr double kStripPier = 80.0;        // each gate pier (dead load), kN
constexpr double kStripPierX[2] = {9.0, 15.0};

// Settlement of the strip footing (downward positive, m) at x under line load q and the piers:
// Hetenyi's infinite beam, w = q / kb + sum P lambda / (2 kb) e^-lambda r (cos lambda r + sin lambda r).
double StripDeflection(double x, double q, double pier) {
    const double kb = kSubgrade * kStripB;
    const double EI = kEc * kStripB * kStripH * kStripH * kStripH / 12.0;
    const double lambda = std::pow(kb / (4.0 * EI), 0.25);
    double w = q / kb;
    for (double a : kStripPierX) {
        const double r = std::fabs(x - a) * lambda;
        w += pier * lambda / (2.0 * kb) * std::exp(-r) * (std::cos(r) + std::sin(r));
    }
    return w;
}

// One static load case and what its loads make of the foundation, shared by its result steps.
struct StaticCase {
    UINT lc = 0;
    bool gravity = true;
    const double* q = nullptr;  // floor loads per level, kN/m2
    double raftQ = 0.0;         // load spread on the raft, kN/m2
    double colN[kStoreys + 1][kGridX][kGridY] = {};  // column axial forces (compression negative)
    double baseLoad[kGridX][kGridY] = {};            // column (and wall) load on the raft, kN
    std::vector<PointLoad> loads;                    // the raft's share of the base loads
    double wCorr = 0.0;   // uniform deflection that balances the springs against the load, m
    double vBase = 0.0;   // base shear, kN
    double raftDX = 0.0;  // sway of the raft on the lateral pile stiffness, m
};

// Generates the sample one step at a time. Keys follow from the order of the steps: raft nodes
// first, then floors, pile tips, grade beam bottoms and the annex; raft plates first, then every
// other element, each line or panel element being also its own member; then the raft member,
// the strip footing and the balcony beam (members of several elements) with their own nodes
// after all others.
class CSampleGenerator {
public:
    CSampleGenerator(int nx, int ny, ISampleSink& sink)
        : m_sink(sink), m_nx(nx), m_ny(ny), m_dx(kLx / nx), m_dy(kLy / ny), m_kx(nx / kBaysX), m_ky(ny / kBaysY),
          m_settleBase(static_cast<size_t>(kGridX * kGridY), 0.0) {}

    // Model.
    void AddMaterials();
    void AddSections();
    void AddNodes();
    void AddRaftPlates();
    void AddColumns();
    void AddBeams();
    void AddPiles();
    void AddSlabs();
    void AddWalls();
    void AddCutLines();
    void AddRibBeams();
    void AddRaftRibs();
    void AddGradeBeams();
    void AddGradeBeamWalls();
    void AddAnnex();
    void AddRaftMember();
    void AddSpringSupports();
    void AddBalconyBeam();
    void AddLoadCases();
    void AddCombinations();
    void AddRaftWalls();
    void AddFoundationModel();

    // Results.
    void AddStaticResults();
    // Story shear rows of the wind case: the columns share each storey's shear equally (as
    // their forces do); the shear wall, stiff only in its own plane (y), takes none of it.
    void AddStoryShear();
    void AddModes();
    void AddTimeHistory();
    void AddTimeHistorySteps();
    void AddSettlement();
    // The settlement points written.
    long AddSettlementPoints(long points);
    void AddSlabDesign();

private:
    // Raft mesh and column grid.
    UINT RaftNode(int i, int j) const { return static_cast<UINT>(1 + i + j * (m_nx + 1)); }
    UINT RaftElem(int i, int j) const { return static_cast<UINT>(1 + i + j * m_nx); }
    UINT GridRaftNode(int gi, int gj) const { return RaftNode(gi * m_kx, gj * m_ky); }
    static double GridX(int gi) { return 6.0 * gi; }
    static double GridY(int gj) { return 6.0 * gj; }
    RaftField& FieldAt(int i, int j) { return m_field[static_cast<size_t>(i + j * (m_nx + 1))]; }
    double RaftW(int gi, int gj) { return FieldAt(gi * m_kx, gj * m_ky).w; }
    // Plan area that a raft node's spring carries.
    double NodeArea(int i, int j) const {
        return (i == 0 || i == m_nx ? 0.5 : 1.0) * (j == 0 || j == m_ny ? 0.5 : 1.0) * m_dx * m_dy;
    }

    // A line element or a panel that is also its own member (member key = element key).
    LineElem AddLine(int kind, int type, UINT matl, UINT sect, UINT n1, UINT n2, double len, UINT pile);
    UINT AddPanel(int kind, int type, UINT sect, const std::vector<UINT>& nodes, double len);
    void AddRectSection(UINT key, const char* name, double b, double h);
    void AddPlateSection(UINT key, const char* name, double t);

    // Nodes that the modes, the time history and the settlement move: those of AddNodes and the
    // balcony beam's inner nodes.
    std::vector<UINT> ShapeNodes() const {
        std::vector<UINT> out;
        for (UINT n = 1; n <= m_lastNode; ++n) out.push_back(n);
        for (size_t k = 1; k + 1 < m_balconyNodes.size(); ++k) out.push_back(m_balconyNodes[k]);
        return out;
    }

    // Static results of one case, step by step.
    StaticCase MakeCase(UINT lc);
    void SolveRaft(StaticCase& c);
    void AddRaftResults(const StaticCase& c);
    void AddRaftMemberMoments(const StaticCase& c);
    void AddPileResults(const StaticCase& c);
    void AddColumnResults(const StaticCase& c);
    void AddBeamResults(const StaticCase& c);
    void AddSlabResults(const StaticCase& c);
    void AddWallResults(const StaticCase& c);
    void AddWallColumnForces(const StaticCase& c);
    void AddWallBeamForces(const StaticCase& c);
    void AddWallPlateForces(const StaticCase& c);
    void AddGradeBeamPlateForces(const StaticCase& c);
    void AddGradeBeamResults(const StaticCase& c);
    void AddGradeBeamStations(const StaticCase& c);
    void AddAnnexResults(const StaticCase& c);
    void AddSpringResults(const StaticCase& c);
    void AddBalconyResults(const StaticCase& c);
    void AddSlabDesignForces(const StaticCase& c);
    // A stiffening rib of the raft along x or y: its ends and the raft widths on its positive
    // (its direction turned 90 degrees counter-clockwise) and negative sides, m.
    struct RaftRib {
        double x1, y1, x2, y2, pos, neg;
    };
    static std::vector<RaftRib> RaftRibs();
    // Internal forces of a floor beam at its nine stations under a static case (component 2
    // shear z, 4 moment y), as its result record holds them.
    void BeamStations(const StaticCase& c, const Beam& b, double st[9][6]) const;

    static constexpr UINT kSectRaft = 6, kSectSlab = 7, kSectWall = 8, kSectGrade = 9;
    static constexpr double kPanel = kAnnexSpan / kTrussPanels;  // truss panel length, m

    ISampleSink& m_sink;
    const int m_nx, m_ny;     // raft plates along x and y
    const double m_dx, m_dy;  // raft plate size, m
    const int m_kx, m_ky;     // raft plates per column bay

    // Nodes.
    UINT m_nextNode = 0;
    UINT m_lastNode = 0;
    UINT m_floorNode[kStoreys + 1][kGridX][kGridY] = {};  // level 0: the raft nodes under the columns
    UINT m_pileTip[kGridX][kGridY] = {};
    UINT m_gradeBottom[kGridX] = {};
    UINT m_footing[2] = {};
    UINT m_trussBot[kTrussPanels + 1] = {};
    UINT m_trussTop[kTrussPanels + 1] = {};

    // Elements and members.
    UINT m_nextElem = 0;
    LineElem m_columns[kStoreys + 1][kGridX][kGridY] = {};  // storeys 1..3
    std::vector<Beam> m_beams;
    LineElem m_piles[kGridX][kGridY] = {};
    std::vector<Slab> m_slabs;
    UINT m_wallPanel[kStoreys + 1] = {};  // storeys 1..3
    UINT m_spandrel = 0;
    UINT m_grade[kBaysX] = {};
    LineElem m_annexCol[2] = {};
    LineElem m_tie = {};
    std::vector<TrussBar> m_truss;
    std::vector<UINT> m_stripNodes;       // strip footing, west to east
    std::vector<UINT> m_stripElems;
    UINT m_stripMemb = 0;                 // the strip footing as one member
    UINT m_balconyMemb = 0;
    UINT m_raftMemb = 0;               // the raft as one slab member
    struct RaftWall {
        UINT memb;
        double length;  // m
        double trib;    // width of the floor strip it carries, m
    };
    std::vector<RaftWall> m_raftWalls;
    std::vector<UINT> m_balconyNodes;  // i end to j end, the ends being floor nodes
    double m_balconyLength = 0.0;      // developed length, m

    // Results.
    std::vector<RaftField> m_field;       // raft nodes of the current static case
    std::vector<double> m_settleBase;     // DL + LL column base loads, grid point gi * kGridY + gj, kN
    double m_mLevel = 0.0;                // storey mass, t
    std::vector<ModeShape> m_modes;       // in rising frequency
    std::vector<int> m_levelOf;           // storey of each node key, 0 for nodes off the floors
    double m_floorW[kStoreys + 1][kGridX][kGridY] = {};   // floor node settlement of the current case, m
    double m_floorUx[kStoreys + 1][kGridX][kGridY] = {};  // floor node sway of the current case, m
};

// ---- Materials and sections -----------------------------------------------------------------

void CSampleGenerator::AddMaterials() {
    m_sink.AddMaterial(1, "C30", kEc, kNuC, 25.0);
    m_sink.AddMaterial(2, "Q345", kEst, 0.3, 78.5);
}

void CSampleGenerator::AddRectSection(UINT key, const char* name, double b, double h) {
    const double dims[4] = {b, h, 0.0, 0.0};
    const double a = b * h;
    const double J = b * h * (b * b + h * h) / 12.0;
    const double st[6] = {a, a * 5.0 / 6.0, a * 5.0 / 6.0, J, b * h * h * h / 12.0, h * b * b * b / 12.0};
    m_sink.AddSection(key, 1, name, dims, st);
}

void CSampleGenerator::AddPlateSection(UINT key, const char* name, double t) {
    const double dims[4] = {t, 0.0, 0.0, 0.0};
    const double st[6] = {t, 0.0, 0.0, 0.0, t * t * t / 12.0, 0.0};
    m_sink.AddSection(key, 1, name, dims, st);
}

void CSampleGenerator::AddSections() {
    AddRectSection(1, "COL600x600", kColB, kColB);
    AddRectSection(2, "B300x600", 0.3, 0.6);
    AddRectSection(3, "B300x500", 0.3, 0.5);
    {
        const double dims[4] = {kPileD, 0.0, 0.0, 0.0};
        const double a = kPi * kPileD * kPileD / 4.0, I = kPi * std::pow(kPileD, 4) / 64.0;
        const double st[6] = {a, 0.9 * a, 0.9 * a, 2.0 * I, I, I};
        m_sink.AddSection(4, 3, "PILE800", dims, st);
    }
    {
        const double d = 0.114, t = 0.006;
        const double dims[4] = {d, t, 0.0, 0.0};
        const double a = kPi * (d * d - (d - 2 * t) * (d - 2 * t)) / 4.0;
        const double I = kPi * (std::pow(d, 4) - std::pow(d - 2 * t, 4)) / 64.0;
        const double st[6] = {a, 0.5 * a, 0.5 * a, 2.0 * I, I, I};
        m_sink.AddSection(5, 8, "P114x6", dims, st);
    }
    AddPlateSection(kSectRaft, "RAFT1000", kRaftT);
    AddPlateSection(kSectSlab, "SLAB120", kSlabT);
    AddPlateSection(kSectWall, "WALL250", kWallT);
    AddPlateSection(kSectGrade, "GRADE400", 0.4);
}

// ---- Nodes ----------------------------------------------------------------------------------

void CSampleGenerator::AddNodes() {
    for (int j = 0; j <= m_ny; ++j)
        for (int i = 0; i <= m_nx; ++i) m_sink.AddNode(RaftNode(i, j), i * m_dx, j * m_dy, 0.0);
    m_nextNode = RaftNode(m_nx, m_ny) + 1;

    for (int gi = 0; gi < kGridX; ++gi)
        for (int gj = 0; gj < kGridY; ++gj) m_floorNode[0][gi][gj] = GridRaftNode(gi, gj);
    for (int l = 1; l <= kStoreys; ++l)
        for (int gj = 0; gj < kGridY; ++gj)
            for (int gi = 0; gi < kGridX; ++gi) {
                m_floorNode[l][gi][gj] = m_nextNode++;
                m_sink.AddNode(m_floorNode[l][gi][gj], GridX(gi), GridY(gj), l * kH);
            }
    for (int gj = 0; gj < kGridY; ++gj)
        for (int gi = 0; gi < kGridX; ++gi) {
            m_pileTip[gi][gj] = m_nextNode++;
            m_sink.AddNode(m_pileTip[gi][gj], GridX(gi), GridY(gj), -kPileL);
        }
    for (int gi = 0; gi < kGridX; ++gi) {
        m_gradeBottom[gi] = m_nextNode++;
        m_sink.AddNode(m_gradeBottom[gi], GridX(gi), 0.0, -kGradeDepth);
    }
    // Annex: footings, truss bottom chord (columns carry its ends) and top chord.
    m_footing[0] = m_nextNode++;
    m_footing[1] = m_nextNode++;
    m_sink.AddNode(m_footing[0], kAnnexX, 0.0, 0.0);
    m_sink.AddNode(m_footing[1], kAnnexX, kAnnexSpan, 0.0);
    for (int k = 0; k <= kTrussPanels; ++k) {
        m_trussBot[k] = m_nextNode++;
        m_sink.AddNode(m_trussBot[k], kAnnexX, k * kPanel, kAnnexH);
    }
    for (int k = 0; k <= kTrussPanels; ++k) {
        m_trussTop[k] = m_nextNode++;
        m_sink.AddNode(m_trussTop[k], kAnnexX, k * kPanel, kAnnexH + kTrussH);
    }
    m_lastNode = m_nextNode - 1;

    m_levelOf.assign(static_cast<size_t>(m_lastNode) + 1, 0);
    for (int l = 1; l <= kStoreys; ++l)
        for (int gi = 0; gi < kGridX; ++gi)
            for (int gj = 0; gj < kGridY; ++gj) m_levelOf[m_floorNode[l][gi][gj]] = l;
}

// ---- Elements and members -------------------------------------------------------------------

LineElem CSampleGenerator::AddLine(int kind, int type, UINT matl, UINT sect, UINT n1, UINT n2, double len, UINT pile) {
    const UINT key = m_nextElem++;
    m_sink.AddElement(key, kind, type, matl, sect, {n1, n2});
    m_sink.AddMember(key, type, {n1, n2}, {key}, len, pile);
    return LineElem{key, n1, n2, len};
}

UINT CSampleGenerator::AddPanel(int kind, int type, UINT sect, const std::vector<UINT>& nodes, double len) {
    const UINT key = m_nextElem++;
    m_sink.AddElement(key, kind, type, 1, sect, nodes);
    m_sink.AddMember(key, type, nodes, {key}, len, 0);
    return key;
}

// The raft plates take the first element keys; they form one member, added last.
void CSampleGenerator::AddRaftPlates() {
    for (int j = 0; j < m_ny; ++j)
        for (int i = 0; i < m_nx; ++i)
            m_sink.AddElement(RaftElem(i, j), PELEM_KIND_PLATE, 301, 1, kSectRaft,
                              {RaftNode(i, j), RaftNode(i + 1, j), RaftNode(i + 1, j + 1), RaftNode(i, j + 1)});
    m_nextElem = RaftElem(m_nx - 1, m_ny - 1) + 1;
}

void CSampleGenerator::AddColumns() {
    for (int s = 1; s <= kStoreys; ++s)
        for (int gj = 0; gj < kGridY; ++gj)
            for (int gi = 0; gi < kGridX; ++gi)
                m_columns[s][gi][gj] =
                    AddLine(PELEM_KIND_FRAME, 101, 1, 1, m_floorNode[s - 1][gi][gj], m_floorNode[s][gi][gj], kH, 0);
}

// Floor beams (201) and roof beams (205), along x then along y on each level.
void CSampleGenerator::AddBeams() {
    for (int l = 1; l <= kStoreys; ++l) {
        const int type = l == kStoreys ? 205 : 201;
        const UINT sect = l == kStoreys ? 3 : 2;
        for (int gj = 0; gj < kGridY; ++gj)
            for (int gi = 0; gi + 1 < kGridX; ++gi)
                m_beams.push_back(
                    {AddLine(PELEM_KIND_FRAME, type, 1, sect, m_floorNode[l][gi][gj], m_floorNode[l][gi + 1][gj], 6.0, 0), l,
                     0, 0.5 * TribWidth(gj, kGridY), gi, gj});
        for (int gi = 0; gi < kGridX; ++gi)
            for (int gj = 0; gj + 1 < kGridY; ++gj)
                m_beams.push_back(
                    {AddLine(PELEM_KIND_FRAME, type, 1, sect, m_floorNode[l][gi][gj], m_floorNode[l][gi][gj + 1], 6.0, 0), l,
                     1, 0.5 * TribWidth(gi, kGridX), gi, gj});
    }
    std::vector<UINT> firstFloorX;
    for (const Beam& b : m_beams)
        if (b.level == 1 && b.dir == 0) firstFloorX.push_back(b.e.key);
    AddRigidEndZones(m_sink, firstFloorX, 201, 6.0);
}

// One pile under each column (pile elements, type 403), numbered 1.. as the model's piles.
void CSampleGenerator::AddPiles() {
    UINT pileNo = 1;
    for (int gj = 0; gj < kGridY; ++gj)
        for (int gi = 0; gi < kGridX; ++gi)
            m_piles[gi][gj] = AddLine(PELEM_KIND_FRAME, 403, 1, 4, GridRaftNode(gi, gj), m_pileTip[gi][gj], kPileL, pileNo++);
}

// One slab panel per bay and level: floor slabs (302) and roof slabs (305).
void CSampleGenerator::AddSlabs() {
    for (int l = 1; l <= kStoreys; ++l)
        for (int gj = 0; gj + 1 < kGridY; ++gj)
            for (int gi = 0; gi + 1 < kGridX; ++gi) {
                const std::vector<UINT> nodes = {m_floorNode[l][gi][gj], m_floorNode[l][gi + 1][gj],
                                                 m_floorNode[l][gi + 1][gj + 1], m_floorNode[l][gi][gj + 1]};
                const int type = l == kStoreys ? 305 : 302;
                const UINT key = AddPanel(PELEM_KIND_PLATE, type, kSectSlab, nodes, 0.0);
                m_sink.AddSlab(key, type, nodes);
                m_slabs.push_back({key, l});
            }
}

// The shear wall at x = 0 between grid lines y = 6 and 12, one panel (209) per storey, and the
// spandrel (210) at x = 24 between the same lines, from level 2 to the roof. Their wall records
// name the member itself as the key of their forces.
void CSampleGenerator::AddWalls() {
    for (int s = 1; s <= kStoreys; ++s) {
        const std::vector<UINT> nodes = {m_floorNode[s - 1][0][1], m_floorNode[s - 1][0][2], m_floorNode[s][0][2],
                                         m_floorNode[s][0][1]};
        m_wallPanel[s] = AddPanel(PELEM_KIND_WALL, 209, kSectWall, nodes, kWallY1 - kWallY0);
        // The wall column stands at the middle of the wall in plan.
        const double anchor[2] = {0.0, 0.5 * (kWallY0 + kWallY1)}, dir[2] = {0.0, 1.0};
        const double p1[3] = {0.0, kWallY0, (s - 1) * kH}, p2[3] = {0.0, kWallY1, s * kH};
        m_sink.AddWall(m_wallPanel[s], 209, anchor, dir, p1, p2);
    }
    const std::vector<UINT> nodes = {m_floorNode[2][kBaysX][1], m_floorNode[2][kBaysX][2], m_floorNode[3][kBaysX][2],
                                     m_floorNode[3][kBaysX][1]};
    m_spandrel = AddPanel(PELEM_KIND_WALL, 210, kSectWall, nodes, 6.0);
    // The wall beam's ends on its axis, at mid-height.
    const double anchor[2] = {kLx, kWallY0}, dir[2] = {0.0, 1.0};
    const double p1[3] = {kLx, kWallY0, 2.5 * kH}, p2[3] = {kLx, kWallY1, 2.5 * kH};
    m_sink.AddWall(m_spandrel, 210, anchor, dir, p1, p2);
}

// Grade beams (204) under the raft edge y = 0, one per bay.
void CSampleGenerator::AddGradeBeams() {
    for (int gi = 0; gi < kBaysX; ++gi)
        m_grade[gi] = AddPanel(PELEM_KIND_WALL, 204, kSectGrade,
                               {GridRaftNode(gi, 0), GridRaftNode(gi + 1, 0), m_gradeBottom[gi + 1], m_gradeBottom[gi]}, 6.0);
}

// The grade beams as T-girders of the raft: a wall record each (type 204) whose result key is
// the member itself, so that their forces can be read at the nine stations.
void CSampleGenerator::AddGradeBeamWalls() {
    for (int gi = 0; gi < kBaysX; ++gi) {
        const double anchor[2] = {GridX(gi), 0.0}, dir[2] = {1.0, 0.0};
        const double p1[3] = {GridX(gi), 0.0, -kGradeDepth}, p2[3] = {GridX(gi + 1), 0.0, 0.0};
        m_sink.AddWall(m_grade[gi], 204, anchor, dir, p1, p2);
    }
}

// Annex columns on their footings, the tie beam between the footings and the Pratt truss.
void CSampleGenerator::AddAnnex() {
    m_annexCol[0] = AddLine(PELEM_KIND_FRAME, 101, 1, 1, m_footing[0], m_trussBot[0], kAnnexH, 0);
    m_annexCol[1] = AddLine(PELEM_KIND_FRAME, 101, 1, 1, m_footing[1], m_trussBot[kTrussPanels], kAnnexH, 0);
    m_tie = AddLine(PELEM_KIND_FRAME, 200, 1, 3, m_footing[0], m_footing[1], kAnnexSpan, 0);
    const double diagLen = std::sqrt(kPanel * kPanel + kTrussH * kTrussH);
    for (int k = 0; k < kTrussPanels; ++k)
        m_truss.push_back({AddLine(PELEM_KIND_TRUSS, 206, 2, 5, m_trussBot[k], m_trussBot[k + 1], kPanel, 0), T_BOT, k});
    for (int k = 0; k < kTrussPanels; ++k)
        m_truss.push_back({AddLine(PELEM_KIND_TRUSS, 206, 2, 5, m_trussTop[k], m_trussTop[k + 1], kPanel, 0), T_TOP, k});
    for (int k = 0; k <= kTrussPanels; ++k)
        m_truss.push_back({AddLine(PELEM_KIND_TRUSS, 206, 2, 5, m_trussBot[k], m_trussTop[k], kTrussH, 0), T_VERT, k});
    for (int k = 0; k < kTrussPanels; ++k) {
        // Diagonals fall towards mid-span.
        const bool left = k < kTrussPanels / 2;
        m_truss.push_back({AddLine(PELEM_KIND_TRUSS, 206, 2, 5, left ? m_trussTop[k] : m_trussTop[k + 1],
                                   left ? m_trussBot[k + 1] : m_trussBot[k], diagLen, 0),
                           T_DIAG, k});
    }
}

// The raft as one member (301) of all raft plates, with its outline as a slab record.
void CSampleGenerator::AddRaftMember() {
    const UINT raftMemb = m_nextElem;
    const std::vector<UINT> outline = {RaftNode(0, 0), RaftNode(m_nx, 0), RaftNode(m_nx, m_ny), RaftNode(0, m_ny)};
    std::vector<UINT> elems;
    elems.reserve(static_cast<size_t>(m_nx) * m_ny);
    for (int j = 0; j < m_ny; ++j)
        for (int i = 0; i < m_nx; ++i) elems.push_back(RaftElem(i, j));
    m_sink.AddMember(raftMemb, 301, outline, elems, 0.0, 0);
    m_sink.AddSlab(raftMemb, 301, outline);
    // Its rebar runs along the raft's sides.
    m_sink.AddRebarDirection(raftMemb, 0, 0.0, 0.0);
    m_raftMemb = raftMemb;
}

// The lines of the cutting-line table: a cutting line across the raft at y = 7 m (inside the
// second bay, off the element edges of the default mesh) and a slab design strip 2 m wide along
// x = 3 m in plan.
void CSampleGenerator::AddCutLines() {
    const double c1[3] = {-1.0, 7.0, 0.0}, c2[3] = {kLx + 1.0, 7.0, 0.0};
    m_sink.AddCutLine(1, CTLN_KIND_CUTLINE, "Cut-Line #1", 0.0, c1, c2);
    const double s1[3] = {kStripLine.x, kStripLine.y1, 0.0}, s2[3] = {kStripLine.x, kStripLine.y2, 0.0};
    m_sink.AddCutLine(kStripLine.key, CTLN_KIND_STRIP, "Strip-1", kStripLine.width, s1, s2);
}

// The ribs of the slabs' design: every floor beam, with the slab on either side of it up to
// half the bay (3 m) where there is slab; the positive side is the beam's direction turned 90
// degrees counter-clockwise in plan (+y of a beam along x, -x of one along y).
void CSampleGenerator::AddRibBeams() {
    UINT ribNo = 1;
    for (const Beam& b : m_beams) {
        const double half = 3.0;
        double pos, neg;
        if (b.dir == 0) {
            pos = b.gj + 1 < kGridY ? half : 0.0;
            neg = b.gj > 0 ? half : 0.0;
        } else {
            pos = b.gi > 0 ? half : 0.0;
            neg = b.gi + 1 < kGridX ? half : 0.0;
        }
        const double widths[3] = {pos, neg, pos + neg};
        const double z = b.level * kH;
        const double p1[3] = {GridX(b.gi), GridY(b.gj), z};
        const double p2[3] = {GridX(b.gi + (b.dir == 0 ? 1 : 0)), GridY(b.gj + (b.dir == 1 ? 1 : 0)), z};
        m_sink.AddRib(ribNo++, b.e.key, widths, p1, p2, 0.0);
    }
}

// The stiffening ribs of the raft: one along every column line of each bay, at the raft's level,
// tied to the raft member and numbered after the floor ribs; the raft works with a rib up to half
// the bay (3 m) on either side where there is raft.
std::vector<CSampleGenerator::RaftRib> CSampleGenerator::RaftRibs() {
    std::vector<RaftRib> out;
    const double half = 3.0;
    for (int gj = 0; gj < kGridY; ++gj)
        for (int gi = 0; gi + 1 < kGridX; ++gi)
            out.push_back({GridX(gi), GridY(gj), GridX(gi + 1), GridY(gj), gj + 1 < kGridY ? half : 0.0, gj > 0 ? half : 0.0});
    for (int gi = 0; gi < kGridX; ++gi)
        for (int gj = 0; gj + 1 < kGridY; ++gj)
            out.push_back({GridX(gi), GridY(gj), GridX(gi), GridY(gj + 1), gi > 0 ? half : 0.0, gi + 1 < kGridX ? half : 0.0});
    return out;
}

void CSampleGenerator::AddRaftRibs() {
    UINT ribNo = static_cast<UINT>(m_beams.size()) + 1;
    for (const RaftRib& r : RaftRibs()) {
        const double widths[3] = {r.pos, r.neg, r.pos + r.neg};
        const double p1[3] = {r.x1, r.y1, 0.0}, p2[3] = {r.x2, r.y2, 0.0};
        m_sink.AddRib(ribNo++, m_raftMemb, widths, p1, p2, 0.0);
    }
}

// ---- Supports and springs -----------------------------------------------------------------

// The supports (pile tips, footings, the raft's spring nodes) and the raft plates' springs, and
// the strip footing on springs: its section, nodes, elements and member, keyed after everything
// else.
void CSampleGenerator::AddSpringSupports() {
    for (int j = 0; j <= m_ny; ++j)
        for (int i = 0; i <= m_nx; ++i) m_sink.AddSupport(RaftNode(i, j), PRTND_SUPPORT, 4);
    for (int gj = 0; gj < kGridY; ++gj)
        for (int gi = 0; gi < kGridX; ++gi) m_sink.AddSupport(m_pileTip[gi][gj], PRTND_SUPPORT, 7);
    for (UINT k : m_footing) m_sink.AddSupport(k, PRTND_SUPPORT, 63);
    for (int j = 0; j < m_ny; ++j)
        for (int i = 0; i < m_nx; ++i) m_sink.AddElemSpring(RaftElem(i, j), kSubgrade, 0.0);

    AddRectSection(kSectStrip, "FB1000x600", kStripB, kStripH);
    const double dx = kLx / kStripElems;
    for (int k = 0; k <= kStripElems; ++k) {
        m_stripNodes.push_back(m_nextNode++);
        m_sink.AddNode(m_stripNodes.back(), k * dx, kStripY, 0.0);
        m_sink.AddSupport(m_stripNodes.back(), PRTND_SUPPORT, 4);
    }
    ++m_nextElem;  // past the raft member
    for (int k = 0; k < kStripElems; ++k) {
        m_stripElems.push_back(m_nextElem++);
        m_sink.AddElement(m_stripElems.back(), PELEM_KIND_FRAME, 201, 1, kSectStrip, {m_stripNodes[k], m_stripNodes[k + 1]});
        m_sink.AddElemSpring(m_stripElems.back(), kSubgrade, kStripB);
    }
    m_stripMemb = m_nextElem++;
    m_sink.AddMember(m_stripMemb, 201, {m_stripNodes.front(), m_stripNodes.back()}, m_stripElems, kLx, 0);
}

// The balcony beam: one member (201) of eight straight elements whose nodes lie on a circular
// arc in plan, its ends on two floor nodes of level 1.
void CSampleGenerator::AddBalconyBeam() {
    const double z = kBalconyLevel * kH;
    const double x0 = GridX(kBalconyFrom), x1 = GridX(kBalconyTo), y = GridY(kGridY - 1);
    const double half = 0.5 * (x1 - x0);
    const double r = (half * half + kBalconyRise * kBalconyRise) / (2.0 * kBalconyRise);
    const double cx = 0.5 * (x0 + x1), cy = y + kBalconyRise - r;  // centre, inside the building
    const double a0 = std::atan2(y - cy, x0 - cx), a1 = std::atan2(y - cy, x1 - cx);
    m_balconyLength = r * (a0 - a1);
    m_balconyNodes.push_back(m_floorNode[kBalconyLevel][kBalconyFrom][kGridY - 1]);
    for (int k = 1; k < kBalconyElems; ++k) {
        const double a = a0 + (a1 - a0) * k / kBalconyElems;
        const UINT n = m_nextNode++;
        m_sink.AddNode(n, cx + r * std::cos(a), cy + r * std::sin(a), z);
        m_balconyNodes.push_back(n);
    }
    m_balconyNodes.push_back(m_floorNode[kBalconyLevel][kBalconyTo][kGridY - 1]);
    // Its inner nodes move with their floor in the modes and the time history.
    m_levelOf.resize(static_cast<size_t>(m_nextNode), 0);
    for (int k = 1; k < kBalconyElems; ++k) m_levelOf[m_balconyNodes[static_cast<size_t>(k)]] = kBalconyLevel;

    std::vector<UINT> elems;
    for (int k = 0; k < kBalconyElems; ++k) {
        const UINT key = m_nextElem++;
        m_sink.AddElement(key, PELEM_KIND_FRAME, 201, 1, 2, {m_balconyNodes[k], m_balconyNodes[k + 1]});
        elems.push_back(key);
    }
    m_balconyMemb = m_nextElem++;
    m_sink.AddMember(m_balconyMemb, 201, m_balconyNodes, elems, m_balconyLength, 0);
}

// Walls (202) on the raft, each a member of wall panels between the raft nodes of its grid line
// and top nodes of its own, keyed after everything else.
void CSampleGenerator::AddRaftWalls() {
    for (const RaftWallLine& w : kRaftWalls) {
        const int i0 = w.gi0 * m_kx, j0 = w.gj0 * m_ky, i1 = w.gi1 * m_kx, j1 = w.gj1 * m_ky;
        const int n = std::max(std::abs(i1 - i0), std::abs(j1 - j0));
        std::vector<UINT> base, top, elems;
        for (int k = 0; k <= n; ++k) {
            const int i = i0 + (i1 - i0) * k / n, j = j0 + (j1 - j0) * k / n;
            base.push_back(RaftNode(i, j));
            top.push_back(m_nextNode++);
            m_sink.AddNode(top.back(), i * m_dx, j * m_dy, kRaftWallH);
        }
        for (int k = 0; k < n; ++k) {
            elems.push_back(m_nextElem++);
            m_sink.AddElement(elems.back(), PELEM_KIND_WALL, 202, 1, kSectWall, {base[k], base[k + 1], top[k + 1], top[k]});
        }
        const double length = std::hypot(GridX(w.gi1) - GridX(w.gi0), GridY(w.gj1) - GridY(w.gj0));
        const UINT memb = m_nextElem++;
        m_sink.AddMember(memb, 202, base, elems, length, 0);
        m_raftWalls.push_back({memb, length, w.trib});
    }
}

// ---- Foundation model -----------------------------------------------------------------------

// Keys of the foundation model: points and members above today's largest node and member keys
// (piles keep the analysis model's pile numbers), the other tables from 1.
constexpr UINT kFirstPont = 401;
constexpr UINT kFirstMemb = 501;
constexpr UINT kFospFooting = 1, kFospRaft = 2;
constexpr UINT kPispEdge = 1, kPispInner = 2;
constexpr double kPileCapacity = 3200.0;  // kN
constexpr double kWaterLevel = -2.0;      // m
constexpr double kCapT = 1.0;             // pile cap thickness, m

// Check load groups named after the combinations, keyed by them (the settlement load groups
// keep keys 1 and 2): 104 carries the seismic check, 105 the blast check of 102's loads, 106 a
// second standard group for the bearing checks.
struct SampleCheckGroup {
    UINT key;
    int kind, blast, seismic, designUse, lcType;
    const char* text;
};
const SampleCheckGroup kCheckGroups[] = {
    {101, LDGP_KIND_BASIC, 0, 0, 1, 0, "1.3DL+1.5LL"},
    {102, LDGP_KIND_STANDARD, 0, 0, 0, 0, "1.0DL+1.0LL"},
    {103, LDGP_KIND_BASIC, 0, 0, 1, 1, "1.3DL+1.5WX"},
    {104, LDGP_KIND_BASIC, 0, 1, 1, 1, "1.2DL+1.4LL+0.84WX"},
    {105, LDGP_KIND_BASIC, 1, 0, 0, 0, "1.0DL+1.0LL"},
    {106, LDGP_KIND_STANDARD, 0, 0, 0, 1, "1.0DL+1.0WX"},
};

// The foundation of the building as the foundation design sees it: grid axes, the columns and
// walls standing on it, the raft with a sub-raft under the shear wall bay, the piles under the
// columns, the grade beams along y = 0, the annex footings (a stepped footing and a pile cap)
// with the tie as a link beam, the settlement mesh, the global parameters, the groundwater level
// and the check load groups. The analysis members made from these objects name them.
void CSampleGenerator::AddFoundationModel() {
    SampleFoundation f;
    UINT nextPont = kFirstPont, nextMemb = kFirstMemb;
    UINT gridPont[kGridX][kGridY] = {};
    for (int gj = 0; gj < kGridY; ++gj)
        for (int gi = 0; gi < kGridX; ++gi) {
            gridPont[gi][gj] = nextPont++;
            f.ponts.push_back({gridPont[gi][gj], T_PONT_D{GridX(gi), GridY(gj)}});
        }
    UINT footPont[2];
    for (int k = 0; k < 2; ++k) {
        footPont[k] = nextPont++;
        f.ponts.push_back({footPont[k], T_PONT_D{kAnnexX, k * kAnnexSpan}});
    }

    // Axes: "1".."5" along y at x = 0..24, "A".."D" along x, and "6" through the annex footings.
    UINT axisKey = 1;
    auto addAxis = [&](UINT p1, UINT p2, const std::string& name) {
        T_AXIS_D a;
        a.Initialize();
        a.pont1 = p1;
        a.pont2 = p2;
        pvxdb::CopyText(a.name, sizeof(a.name), name.c_str());
        f.axes.push_back({axisKey++, a});
    };
    for (int gi = 0; gi < kGridX; ++gi) addAxis(gridPont[gi][0], gridPont[gi][kGridY - 1], std::to_string(gi + 1));
    for (int gj = 0; gj < kGridY; ++gj) addAxis(gridPont[0][gj], gridPont[kGridX - 1][gj], std::string(1, char('A' + gj)));
    addAxis(footPont[0], footPont[1], std::to_string(kGridX + 1));

    auto addMemb = [&](UINT key, int type, UINT fosp, std::vector<UINT> ponts) {
        T_MEMB_D m;
        m.type = type;
        m.fosp = fosp;
        for (UINT p : ponts) m.aPont.Add(p);
        f.membs.push_back({key, m});
    };

    // Columns on the raft (first storey) and on the annex footings.
    for (int gj = 0; gj < kGridY; ++gj)
        for (int gi = 0; gi < kGridX; ++gi) {
            const UINT key = nextMemb++;
            addMemb(key, MEMB_COLUMN, 0, {gridPont[gi][gj]});
            f.colms.push_back({key, T_COLM_D{kColB, kColB}});
            f.modelKeys.push_back({m_columns[1][gi][gj].key, key});
        }
    for (int k = 0; k < 2; ++k) {
        const UINT key = nextMemb++;
        addMemb(key, MEMB_COLUMN, 0, {footPont[k]});
        f.colms.push_back({key, T_COLM_D{kColB, kColB}});
        f.modelKeys.push_back({m_annexCol[k].key, key});
    }

    // The walls on the raft.
    for (size_t w = 0; w < m_raftWalls.size(); ++w) {
        const RaftWallLine& l = kRaftWalls[w];
        const UINT key = nextMemb++;
        addMemb(key, MEMB_WALL, 0, {gridPont[l.gi0][l.gj0], gridPont[l.gi1][l.gj1]});
        f.walls.push_back({key, T_WALL_D{kWallT}});
        f.modelKeys.push_back({m_raftWalls[w].memb, key});
    }

    // Annex footings: a spread footing of three steps under the first column, a pile cap under
    // the second; both as wide at the bottom as the analysis model's footing springs.
    f.fosps.push_back({kFospFooting, T_FOSP_D{2, 1, 0}});
    f.fosps.push_back({kFospRaft, T_FOSP_D{1, 0, 0}});
    for (int k = 0; k < 2; ++k) {
        const UINT key = nextMemb++;
        addMemb(key, MEMB_FOOTING, kFospFooting, {footPont[k]});
        T_COLF_D c;
        c.Initialize();
        c.cx = kAnnexX;
        c.cy = k * kAnnexSpan;
        if (k == 0) {
            c.kind = COLF_SPREAD;
            c.join = 0;  // stepped, not sloped: its punching and shear are checked step by step
            c.nStep = 3;
            c.step[0] = {kFootingB, kFootingB, 0.3};
            c.step[1] = {1.4, 1.4, 0.3};
            c.step[2] = {0.9, 0.9, 0.3};
        } else {
            c.kind = COLF_PILECAP;
            c.nStep = 1;
            c.step[0] = {kFootingB, kFootingB, kCapT};
        }
        f.colfs.push_back({key, c});
    }

    // Grade beams under the raft edge y = 0 (one group), and the annex tie as a link beam.
    for (int gi = 0; gi < kBaysX; ++gi) {
        const UINT key = nextMemb++;
        addMemb(key, MEMB_BEAM, 0, {gridPont[gi][0], gridPont[gi + 1][0]});
        f.beams.push_back({key, T_BEAM_D{0, 0, 1}});
        f.modelKeys.push_back({m_grade[gi], key});
    }
    {
        const UINT key = nextMemb++;
        addMemb(key, MEMB_BEAM, 0, {footPont[0], footPont[1]});
        f.beams.push_back({key, T_BEAM_D{0, 1, 0}});
        f.modelKeys.push_back({m_tie.key, key});
    }

    // The raft and its sub-raft over the shear wall's bay (x 0..6, y 6..12).
    const UINT raft = nextMemb++;
    addMemb(raft, MEMB_RAFT, kFospRaft,
            {gridPont[0][0], gridPont[kGridX - 1][0], gridPont[kGridX - 1][kGridY - 1], gridPont[0][kGridY - 1]});
    f.mtsbs.push_back({raft, T_MTSB_D{1, 0, kRaftT}});
    f.modelKeys.push_back({m_raftMemb, raft});
    const UINT subRaft = nextMemb++;
    addMemb(subRaft, MEMB_RAFT, kFospRaft, {gridPont[0][1], gridPont[1][1], gridPont[1][2], gridPont[0][2]});
    f.mtsbs.push_back({subRaft, T_MTSB_D{1, raft, kRaftT}});
    // A slab-band sub-raft (type 2) over the bay x 18..24, y 0..6: its panels are designed as
    // slab-band panels.
    const UINT bandRaft = nextMemb++;
    addMemb(bandRaft, MEMB_RAFT, kFospRaft, {gridPont[3][0], gridPont[4][0], gridPont[4][1], gridPont[3][1]});
    f.mtsbs.push_back({bandRaft, T_MTSB_D{2, raft, kRaftT}});
    // The strip footing on springs north of the raft, a foundation beam of its own.
    {
        UINT ends[2];
        for (int k = 0; k < 2; ++k) {
            ends[k] = nextPont++;
            f.ponts.push_back({ends[k], T_PONT_D{k * kLx, kStripY}});
        }
        const UINT key = nextMemb++;
        addMemb(key, MEMB_BEAM, 0, {ends[0], ends[1]});
        f.beams.push_back({key, T_BEAM_D{0, 0, 0}});
        f.modelKeys.push_back({m_stripMemb, key});
    }

    // Piles: one under each raft column, keyed by its pile number; edge and inner piles in two
    // sections of the analysis model's diameter.
    f.pisps.push_back({kPispEdge, T_PISP_D{"ZH800-E", kPileD}});
    f.pisps.push_back({kPispInner, T_PISP_D{"ZH800-I", kPileD}});
    UINT pileNo = 1;
    for (int gj = 0; gj < kGridY; ++gj)
        for (int gi = 0; gi < kGridX; ++gi) {
            const UINT key = pileNo++;
            const bool edge = gi == 0 || gj == 0 || gi == kGridX - 1 || gj == kGridY - 1;
            addMemb(key, MEMB_PILE, edge ? kPispEdge : kPispInner, {gridPont[gi][gj]});
            T_PILE_D p;
            p.aMemb.Add(raft);
            p.length = kPileL;
            p.capacity = kPileCapacity;
            f.piles.push_back({key, p});
            f.modelKeys.push_back({m_piles[gi][gj].key, key});
        }

    // The settlement mesh: 3 m cells over the raft.
    UINT cell = 1;
    for (int j = 0; j < static_cast<int>(kLy / kSettleGrid); ++j)
        for (int i = 0; i < static_cast<int>(kLx / kSettleGrid); ++i)
            f.srcts.push_back({cell++, T_SRCT_D{(i + 0.5) * kSettleGrid, (j + 0.5) * kSettleGrid, kSettleGrid, kSettleGrid, 0.0}});

    T_GBPA_D g;
    g.Initialize();
    g.diffSettle = 0.002;
    g.tiltX = g.tiltY = 0.004;
    g.avgSettle = 200.0;
    g.deflection = 0.0005;
    g.designCode.code = GBPA_CODE_GB;
    f.gbpas.push_back({GBPA_KEY, g});
    f.wdlds.push_back({1, T_WDLD_D{kWaterLevel}});

    for (const SampleCheckGroup& c : kCheckGroups) {
        T_CKLG_D r;
        r.Initialize();
        r.number = static_cast<int>(c.key);
        r.kind = c.kind;
        r.blast = c.blast;
        r.seismic = c.seismic;
        r.designUse = c.designUse;
        r.lcType = c.lcType;
        pvxdb::CopyText(r.sort, sizeof(r.sort), c.text);
        f.cklgs.push_back({c.key, r});
    }
    m_sink.AddFoundation(f);
}

// ---- Load cases and combinations ------------------------------------------------------------

void CSampleGenerator::AddLoadCases() {
    m_sink.AddLoadCase(SAMPLE_LC_DL, PLOAD_STATIC, "DL");
    m_sink.AddLoadCase(SAMPLE_LC_LL, PLOAD_STATIC, "LL");
    m_sink.AddLoadCase(SAMPLE_LC_WX, PLOAD_STATIC, "WX");
    m_sink.AddLoadCase(SAMPLE_LC_THX, PLOAD_TIMEHISTORY, "THX");
    m_sink.AddLoadCase(SAMPLE_LC_SETTLE, PLOAD_SETTLEMENT, "SETTLE");
}

void CSampleGenerator::AddCombinations() {
    typedef ISampleSink::CombEntry E;
    for (const LinearComb& c : kLinearCombs) {
        std::vector<E> entries;
        for (int i = 0; i < kCases; ++i)
            if (c.factor[i] != 0.0) entries.push_back(E{PLOAD_STATIC, kCaseKey[i], c.factor[i]});
        m_sink.AddCombination(c.key, PLCOM_LINEAR, c.name, entries);
    }
    m_sink.AddCombination(SAMPLE_COMB_ENV, PLCOM_ENVELOPE, "ENV",
                          {E{PLOAD_COMBINATION, 101, 1.0}, E{PLOAD_COMBINATION, 102, 1.0}, E{PLOAD_COMBINATION, 103, 1.0},
                           E{PLOAD_COMBINATION, 104, 1.0}});
}

// ---- Static results -------------------------------------------------------------------------

const double kColA = kColB * kColB;                  // column area, m2
const double kPileA = kPi * kPileD * kPileD / 4.0;   // pile area, m2
const double kWallPanelW = 25.0 * kWallT * (kWallY1 - kWallY0) * kH;  // weight of one wall panel, kN
const double kFootingK = kEsoil * kFootingB / ((1.0 - kNuSoil * kNuSoil) * 0.88);  // footing spring, kN/m

void CSampleGenerator::AddStaticResults() {
    m_field.resize(static_cast<size_t>(m_nx + 1) * (m_ny + 1));
    for (UINT lc : kCaseKey) {
        StaticCase c = MakeCase(lc);
        SolveRaft(c);
        AddRaftResults(c);
        AddRaftMemberMoments(c);
        AddPileResults(c);
        AddColumnResults(c);
        AddBeamResults(c);
        AddSlabResults(c);
        AddWallResults(c);
        AddWallColumnForces(c);
        AddWallBeamForces(c);
        AddWallPlateForces(c);
        AddGradeBeamResults(c);
        AddGradeBeamPlateForces(c);
        AddGradeBeamStations(c);
        AddAnnexResults(c);
        AddSpringResults(c);
        AddBalconyResults(c);
        AddSlabDesignForces(c);
    }
}

void CSampleGenerator::AddStoryShear() {
    std::vector<SampleStoreyShear> storeys;
    for (int s = 1; s <= kStoreys; ++s) {
        SampleStoreyShear st;
        st.story = s;
        st.vx = StoreyShear(s);
        for (int gj = 0; gj < kGridY; ++gj)
            for (int gi = 0; gi < kGridX; ++gi) st.members.push_back({m_columns[s][gi][gj].key, st.vx / kColumns, 0.0});
        st.members.push_back({m_wallPanel[s], 0.0, 0.0});
        storeys.push_back(st);
    }
    WriteSampleStoryShear(m_sink, SAMPLE_LC_WX, storeys);
}

// Column axial forces from tributary areas, storey by storey, and the loads on the raft.
StaticCase CSampleGenerator::MakeCase(UINT lc) {
    StaticCase c;
    c.lc = lc;
    c.gravity = lc != SAMPLE_LC_WX;
    c.q = lc == SAMPLE_LC_DL ? kQDL : kQLL;
    c.raftQ = lc == SAMPLE_LC_DL ? kRaftDL : (lc == SAMPLE_LC_LL ? kRaftLL : 0.0);
    for (int gi = 0; gi < kGridX; ++gi)
        for (int gj = 0; gj < kGridY; ++gj) {
            const double A = TribWidth(gi, kGridX) * TribWidth(gj, kGridY);
            double n = 0.0;
            for (int s = kStoreys; s >= 1; --s) {
                if (c.gravity) n -= c.q[s - 1] * A;
                c.colN[s][gi][gj] = n;
            }
            c.baseLoad[gi][gj] = -c.colN[1][gi][gj];
        }
    // The balcony beam hangs half its load on each of its two columns below its level.
    const double balconyEnd = 0.5 * BalconyLoad(lc) * m_balconyLength;
    for (int gi : {kBalconyFrom, kBalconyTo}) {
        for (int s = 1; s <= kBalconyLevel; ++s) c.colN[s][gi][kGridY - 1] -= balconyEnd;
        c.baseLoad[gi][kGridY - 1] += balconyEnd;
    }
    if (lc == SAMPLE_LC_DL) {  // the shear wall stands on grid points (0,1) and (0,2)
        c.baseLoad[0][1] += 0.5 * kStoreys * kWallPanelW;
        c.baseLoad[0][2] += 0.5 * kStoreys * kWallPanelW;
    }
    if (lc != SAMPLE_LC_WX)
        for (int gi = 0; gi < kGridX; ++gi)
            for (int gj = 0; gj < kGridY; ++gj) m_settleBase[static_cast<size_t>(gi * kGridY + gj)] += c.baseLoad[gi][gj];
    c.vBase = c.gravity ? 0.0 : StoreyShear(1);
    c.raftDX = c.vBase / (kColumns * kPileKh);
    return c;
}

// Piles take their share of each base load by stiffness; the plate on springs takes the rest
// and the raft's own load. A uniform correction makes the spring reactions sum to that load.
// Leaves the corrected field of every raft node in m_field.
void CSampleGenerator::SolveRaft(StaticCase& c) {
    const double plateK = kPi * std::sqrt(kSubgrade * PlateRigidity());  // point stiffness of the plate
    const double pileShare = kPileK / (kPileK + plateK);
    for (int gi = 0; gi < kGridX; ++gi)
        for (int gj = 0; gj < kGridY; ++gj)
            if (c.baseLoad[gi][gj] != 0.0) c.loads.push_back({GridX(gi), GridY(gj), (1.0 - pileShare) * c.baseLoad[gi][gj]});
    double plateLoad = c.raftQ * kLx * kLy;
    for (const PointLoad& pl : c.loads) plateLoad += pl.p;
    double springSum = 0.0;
    for (int j = 0; j <= m_ny; ++j)
        for (int i = 0; i <= m_nx; ++i) {
            RaftField& f = FieldAt(i, j);
            f = EvalRaft(i * m_dx, j * m_dy, c.loads, c.raftQ / kSubgrade);
            springSum += kSubgrade * NodeArea(i, j) * f.w;
        }
    c.wCorr = (plateLoad - springSum) / (kSubgrade * kLx * kLy);
    for (RaftField& f : m_field) f.w += c.wCorr;
}

// Raft node displacements and spring reactions; plate forces with the corners taken from the
// node fields and the centre evaluated.
void CSampleGenerator::AddRaftResults(const StaticCase& c) {
    for (int j = 0; j <= m_ny; ++j)
        for (int i = 0; i <= m_nx; ++i) {
            const RaftField& f = FieldAt(i, j);
            const double d[6] = {1000.0 * c.raftDX, 0.0, -1000.0 * f.w, -f.wy, f.wx, 0.0};
            m_sink.AddDisp(c.lc, RaftNode(i, j), d);
            const double r[6] = {0.0, 0.0, kSubgrade * NodeArea(i, j) * f.w, 0.0, 0.0, 0.0};
            if (c.gravity) m_sink.AddReac(c.lc, RaftNode(i, j), r);
        }
    for (int j = 0; j < m_ny; ++j)
        for (int i = 0; i < m_nx; ++i) {
            double blk[5][30];
            const RaftField fc = EvalRaft((i + 0.5) * m_dx, (j + 0.5) * m_dy, c.loads, 0.0);
            FillPlateBlock(blk[0], fc.mxx, fc.myy, fc.mxy, fc.vx, fc.vy, kRaftT);
            const int ci[4] = {i, i + 1, i + 1, i}, cj[4] = {j, j, j + 1, j + 1};
            for (int k = 0; k < 4; ++k) {
                const RaftField& f = FieldAt(ci[k], cj[k]);
                FillPlateBlock(blk[k + 1], f.mxx, f.myy, f.mxy, f.vx, f.vy, kRaftT);
            }
            m_sink.AddPlateForces(c.lc, RaftElem(i, j), blk);
        }
}

// The raft member's design moments from the node moments of the case (m_field).
void CSampleGenerator::AddRaftMemberMoments(const StaticCase& c) {
    const SlabMemberMoments m = MakeSlabMemberMoments(m_nx, m_ny, [this](int i, int j, double& mxx, double& myy) {
        const RaftField& f = FieldAt(i, j);
        mxx = f.mxx;
        myy = f.myy;
    });
    m_sink.AddSlabMoments(c.lc, m_raftMemb, m.centreX, m.centreY, m.pos, m.neg);
}

// Piles: axial share, lateral share of the base shear with a fixed-head moment.
void CSampleGenerator::AddPileResults(const StaticCase& c) {
    const double plateK = kPi * std::sqrt(kSubgrade * PlateRigidity());
    const double pileShare = kPileK / (kPileK + plateK);
    for (int gj = 0; gj < kGridY; ++gj)
        for (int gi = 0; gi < kGridX; ++gi) {
            const double P = pileShare * c.baseLoad[gi][gj];
            const double v = c.vBase / kColumns;
            double st[9][6] = {};
            for (int k = 0; k < 9; ++k) {
                st[k][0] = -P;
                st[k][1] = v;
                st[k][5] = v * 2.0 * (1.0 - 2.0 * k / 8.0);
            }
            m_sink.AddBeamForces(c.lc, m_piles[gi][gj].key, st);
            const double wc = RaftW(gi, gj);
            const double d[6] = {0.0, 0.0, -1000.0 * (wc - P * kPileL / (kEc * kPileA)), 0.0, 0.0, 0.0};
            m_sink.AddDisp(c.lc, m_pileTip[gi][gj], d);
            const double r[6] = {-v, 0.0, P, 0.0, 0.0, 0.0};
            m_sink.AddReac(c.lc, m_pileTip[gi][gj], r);
        }
}

// Columns (block and station forces) and the floor nodes above the raft.
void CSampleGenerator::AddColumnResults(const StaticCase& c) {
    const double Kx = ColumnStoreyK();
    for (int gj = 0; gj < kGridY; ++gj)
        for (int gi = 0; gi < kGridX; ++gi) {
            double w = RaftW(gi, gj), ux = c.raftDX;
            for (int s = 1; s <= kStoreys; ++s) {
                const double N = c.colN[s][gi][gj];
                const double v = c.gravity ? 0.0 : StoreyShear(s) / kColumns;
                double bl[4][6] = {};
                bl[0][0] = bl[1][0] = N;
                bl[0][1] = bl[1][1] = v;
                bl[0][5] = 0.5 * v * kH;
                bl[1][5] = -0.5 * v * kH;
                m_sink.AddColumnForces(c.lc, m_columns[s][gi][gj].key, bl);
                double st[9][6] = {};
                for (int k = 0; k < 9; ++k) {
                    st[k][0] = N;
                    st[k][1] = v;
                    st[k][5] = 0.5 * v * kH * (1.0 - 2.0 * k / 8.0);
                }
                m_sink.AddBeamForces(c.lc, m_columns[s][gi][gj].key, st);
                w += -N * kH / (kEc * kColA);
                if (!c.gravity) ux += StoreyShear(s) / Kx;
                m_floorW[s][gi][gj] = w;
                m_floorUx[s][gi][gj] = ux;
                const double d[6] = {1000.0 * ux, 0.0, -1000.0 * w, 0.0, 0.0, 0.0};
                m_sink.AddDisp(c.lc, m_floorNode[s][gi][gj], d);
            }
        }
}

// Beams: fixed-end under gravity, portal-method moments under wind (x beams only).
void CSampleGenerator::BeamStations(const StaticCase& c, const Beam& b, double st[9][6]) const {
    for (int k = 0; k < 9; ++k)
        for (int i = 0; i < 6; ++i) st[k][i] = 0.0;
    if (c.gravity) AddFixedEndBeam(st, c.q[b.level - 1] * b.trib, b.e.length);
    if (!c.gravity && b.dir == 0) {
        const double vBelow = StoreyShear(b.level) / kColumns;
        const double vAbove = b.level < kStoreys ? StoreyShear(b.level + 1) / kColumns : 0.0;
        const double M = (vBelow + vAbove) * kH / 4.0;
        for (int k = 0; k < 9; ++k) {
            st[k][4] += M * (1.0 - 2.0 * k / 8.0);
            st[k][2] += -2.0 * M / b.e.length;
        }
    }
}

void CSampleGenerator::AddBeamResults(const StaticCase& c) {
    for (const Beam& b : m_beams) {
        double st[9][6];
        BeamStations(c, b, st);
        m_sink.AddBeamForces(c.lc, b.e.key, st);
    }
}

// Design forces of the slabs' strips and ribs. Every floor beam is a rib, numbered 1.. in beam
// order, with its beam's moment y and shear z at the stations 0, 1/4, 1/2, 3/4 and 1 (its
// flange carries no more than the beam's tributary load). The strip of the cutting-line table
// (key 2, 2 m wide along x = 3 m on the raft) takes at each station the raft's moment myy and
// shear vy integrated across its width by Simpson's rule over x = 2, 3 and 4 m.
void CSampleGenerator::AddSlabDesignForces(const StaticCase& c) {
    UINT ribNo = 1;
    for (const Beam& b : m_beams) {
        double st[9][6];
        BeamStations(c, b, st);
        double m[5], v[5];
        for (int k = 0; k < 5; ++k) {
            m[k] = st[2 * k][4];
            v[k] = st[2 * k][2];
        }
        m_sink.AddRibForces(c.lc, ribNo++, m, v);
    }
    // A raft rib takes the raft's moment and shear along it (mxx, vx along x; myy, vy along y)
    // integrated across its widths by Simpson's rule over the outer edges and the middle.
    for (const RaftRib& r : RaftRibs()) {
        const bool alongX = r.y1 == r.y2;
        double m[5], v[5];
        for (int k = 0; k < 5; ++k) {
            const double x = r.x1 + (r.x2 - r.x1) * k / 4.0, y = r.y1 + (r.y2 - r.y1) * k / 4.0;
            // Offsets across the rib, to its positive side: +y of a rib along x, -x of one along y.
            double mm[3], vv[3];
            const double off[3] = {-r.neg, 0.5 * (r.pos - r.neg), r.pos};
            for (int q = 0; q < 3; ++q) {
                const RaftField f = alongX ? EvalRaft(x, y + off[q], c.loads, 0.0) : EvalRaft(x - off[q], y, c.loads, 0.0);
                mm[q] = alongX ? f.mxx : f.myy;
                vv[q] = alongX ? f.vx : f.vy;
            }
            const double w = r.pos + r.neg;
            m[k] = w / 6.0 * (mm[0] + 4.0 * mm[1] + mm[2]);
            v[k] = w / 6.0 * (vv[0] + 4.0 * vv[1] + vv[2]);
        }
        m_sink.AddRibForces(c.lc, ribNo++, m, v);
    }
    double m[5], v[5];
    for (int k = 0; k < 5; ++k) {
        const double y = kStripLine.y1 + (kStripLine.y2 - kStripLine.y1) * k / 4.0;
        const RaftField a = EvalRaft(kStripLine.x - 0.5 * kStripLine.width, y, c.loads, 0.0);
        const RaftField o = EvalRaft(kStripLine.x, y, c.loads, 0.0);
        const RaftField e = EvalRaft(kStripLine.x + 0.5 * kStripLine.width, y, c.loads, 0.0);
        m[k] = kStripLine.width / 6.0 * (a.myy + 4.0 * o.myy + e.myy);
        v[k] = kStripLine.width / 6.0 * (a.vy + 4.0 * o.vy + e.vy);
    }
    m_sink.AddStripForces(c.lc, kStripLine.key, m, v);
}

// Floor and roof slabs: simply supported square panels (series-solution coefficients).
void CSampleGenerator::AddSlabResults(const StaticCase& c) {
    for (const Slab& s : m_slabs) {
        const double qs = c.gravity ? c.q[s.level - 1] : 0.0;
        const double a = 6.0;
        double blk[5][30];
        FillPlateBlock(blk[0], 0.0479 * qs * a * a, 0.0479 * qs * a * a, 0.0, 0.0, 0.0, kSlabT);
        const double sx[4] = {-1, 1, 1, -1}, sy[4] = {-1, -1, 1, 1};
        for (int k = 0; k < 4; ++k)
            FillPlateBlock(blk[k + 1], 0.0, 0.0, -sx[k] * sy[k] * 0.0325 * qs * a * a, sx[k] * 0.338 * qs * a,
                           sy[k] * 0.338 * qs * a, kSlabT);
        m_sink.AddPlateForces(c.lc, s.key, blk);
    }
}

// Shear wall: its own weight (gravity only in DL); spandrel as a fixed-end beam.
void CSampleGenerator::AddWallResults(const StaticCase& c) {
    for (int s = 1; s <= kStoreys; ++s) {
        double lv[3][8] = {};
        if (c.lc == SAMPLE_LC_DL) {
            const double above = kStoreys - s;
            lv[0][0] = -kWallPanelW * (above + 1.0);
            lv[1][0] = -kWallPanelW * (above + 0.5);
            lv[2][0] = -kWallPanelW * above;
        }
        m_sink.AddWallForces(c.lc, m_wallPanel[s], lv);
    }
    double lv[3][8] = {};
    if (c.lc == SAMPLE_LC_DL) {
        const double W = kWallPanelW, L = 6.0;
        lv[0][2] = 0.5 * W;
        lv[2][2] = -0.5 * W;
        lv[0][4] = lv[2][4] = -W * L / 12.0;
        lv[1][4] = W * L / 24.0;
    }
    m_sink.AddWallForces(c.lc, m_spandrel, lv);
}

// The wall columns' forces by their result numbers (the member keys): the weight of the panels
// above in DL (axial force, compression negative); in WX the wind pressure on the wall at the
// x = 0 facade bends each storey as a member fixed at both floors (shear z and moment y).
void CSampleGenerator::AddWallColumnForces(const StaticCase& c) {
    const double w = kWind * (kWallY1 - kWallY0);  // kN per metre of height
    for (int s = 1; s <= kStoreys; ++s) {
        double bl[4][6] = {};
        if (c.lc == SAMPLE_LC_DL) {
            bl[0][0] = -kWallPanelW * (kStoreys - s + 1.0);
            bl[1][0] = -kWallPanelW * (kStoreys - s);
        }
        if (c.lc == SAMPLE_LC_WX) {
            bl[0][2] = 0.5 * w * kH;
            bl[1][2] = -0.5 * w * kH;
            bl[0][4] = bl[1][4] = -w * kH * kH / 12.0;
        }
        m_sink.AddWallColumnForces(c.lc, m_wallPanel[s], bl);
    }
}

// The spandrel's forces at its nine stations by its result number: a fixed-end beam under its
// own weight in DL.
void CSampleGenerator::AddWallBeamForces(const StaticCase& c) {
    double st[9][6] = {};
    if (c.lc == SAMPLE_LC_DL) AddFixedEndBeam(st, kWallPanelW / 6.0, 6.0);
    m_sink.AddWallBeamForces(c.lc, m_spandrel, st);
}

// Plate forces of the wall panels, as the wall forces above spread over the panel: in DL the
// vertical membrane force N / L, linear over the storey; in WX the plate spanning between the
// floors under the wind pressure (moment Myy and shear Vyy, local y up the wall). The spandrel's
// panel as a deep beam under its own weight in DL.
void CSampleGenerator::AddWallPlateForces(const StaticCase& c) {
    const double L = kWallY1 - kWallY0;
    for (int s = 1; s <= kStoreys; ++s) {
        // Corners in element node order, then the centre: heights above the storey's floor.
        const double zeta[5] = {0.5 * kH, 0.0, 0.0, kH, kH};
        T_STRP_DL rec;
        rec.Initialize();
        for (int b = 0; b < 5; ++b) {
            ShellForces f;
            if (c.lc == SAMPLE_LC_DL) f.fyy = -kWallPanelW * (kStoreys - s + 1.0 - zeta[b] / kH) / L;
            if (c.lc == SAMPLE_LC_WX) {
                const double q = kWind, z = zeta[b];
                f.myy = q * (6.0 * kH * z - 6.0 * z * z - kH * kH) / 12.0;
                f.vy = q * (0.5 * kH - z);
            }
            SetShellBlock(rec, b, f, kWallT);
        }
        rec.UpdateDerived();
        m_sink.AddPlateForces(c.lc, m_wallPanel[s], rec.blk);
    }
    const double pts[4][3] = {{kLx, kWallY0, 2 * kH}, {kLx, kWallY1, 2 * kH}, {kLx, kWallY1, 3 * kH}, {kLx, kWallY0, 3 * kH}};
    const double w = c.lc == SAMPLE_LC_DL ? kWallPanelW / L : 0.0;
    const T_STRP_DL rec = DeepBeamPlates(
        pts, kH, kWallT, [&](double x) { return w * (6.0 * L * x - 6.0 * x * x - L * L) / 12.0; },
        [&](double x) { return w * (0.5 * L - x); });
    m_sink.AddPlateForces(c.lc, m_spandrel, rec.blk);
}

// The first grade beam's panel as a deep beam (1 m deep) under the same spring pressure as its
// forces at the nine stations.
void CSampleGenerator::AddGradeBeamPlateForces(const StaticCase& c) {
    const double wm = EvalRaft(GridX(0) + 3.0, 0.0, c.loads, c.raftQ / kSubgrade).w + c.wCorr;
    const double line = -kSubgrade * wm * 0.5, L = 6.0;
    const double pts[4][3] = {{GridX(0), 0.0, 0.0}, {GridX(1), 0.0, 0.0}, {GridX(1), 0.0, -kGradeDepth},
                              {GridX(0), 0.0, -kGradeDepth}};
    const T_STRP_DL rec = DeepBeamPlates(
        pts, kGradeDepth, 0.4, [&](double x) { return line * (6.0 * L * x - 6.0 * x * x - L * L) / 12.0; },
        [&](double x) { return line * (0.5 * L - x); });
    m_sink.AddPlateForces(c.lc, m_grade[0], rec.blk);
}

// Grade beams: fixed-end beams pressed up by the springs under half a metre of raft; the nodes
// at their bottom move with the raft.
void CSampleGenerator::AddGradeBeamResults(const StaticCase& c) {
    for (int gi = 0; gi < kBaysX; ++gi) {
        double lv[3][8] = {};
        const double wm = EvalRaft(GridX(gi) + 3.0, 0.0, c.loads, c.raftQ / kSubgrade).w + c.wCorr;
        const double line = -kSubgrade * wm * 0.5, L = 6.0;
        lv[0][2] = 0.5 * line * L;
        lv[2][2] = -0.5 * line * L;
        lv[0][4] = lv[2][4] = -line * L * L / 12.0;
        lv[1][4] = line * L * L / 24.0;
        m_sink.AddWallForces(c.lc, m_grade[gi], lv);
        const double d[6] = {1000.0 * c.raftDX, 0.0, -1000.0 * RaftW(gi, 0), 0.0, 0.0, 0.0};
        m_sink.AddDisp(c.lc, m_gradeBottom[gi], d);
    }
    const double d[6] = {1000.0 * c.raftDX, 0.0, -1000.0 * RaftW(kBaysX, 0), 0.0, 0.0, 0.0};
    m_sink.AddDisp(c.lc, m_gradeBottom[kBaysX], d);
}

// Grade beams at their nine stations: the same fixed-end beam under the spring pressure of half a
// metre of raft, written under the member key that their wall records name.
void CSampleGenerator::AddGradeBeamStations(const StaticCase& c) {
    for (int gi = 0; gi < kBaysX; ++gi) {
        const double wm = EvalRaft(GridX(gi) + 3.0, 0.0, c.loads, c.raftQ / kSubgrade).w + c.wCorr;
        double st[9][6] = {};
        AddFixedEndBeam(st, -kSubgrade * wm * 0.5, 6.0);
        m_sink.AddBeamForces(c.lc, m_grade[gi], st);
    }
}

// Annex: truss under panel loads (the canopy load gathered at the panel points), columns, tie
// beam, footings.
void CSampleGenerator::AddAnnexResults(const StaticCase& c) {
    const UINT lc = c.lc;
    const double wq = lc == SAMPLE_LC_DL ? kAnnexQDL : (lc == SAMPLE_LC_LL ? kAnnexQLL : 0.0);
    const double R = 0.5 * wq * kAnnexSpan;
    const double diagLen = std::sqrt(kPanel * kPanel + kTrussH * kTrussH);
    auto momentAt = [&](double x) { return R * x - 0.5 * wq * x * x; };
    for (const TrussBar& t : m_truss) {
        double f = 0.0;
        const double x0 = t.panel * kPanel, x1 = x0 + kPanel;
        switch (t.role) {
        case T_TOP: f = -std::max(momentAt(x0), momentAt(x1)) / kTrussH; break;
        case T_BOT: f = std::min(momentAt(x0), momentAt(x1)) / kTrussH; break;
        case T_DIAG: f = std::fabs(R - wq * (t.panel < kTrussPanels / 2 ? x1 : x0)) * diagLen / kTrussH; break;
        case T_VERT: {
            const int k = t.panel;
            f = (k == 0 || k == kTrussPanels) ? -R : -std::fabs(R - wq * k * kPanel);
            break;
        }
        }
        // The canopy rests on the top chord between the panel points: each top bar is also a
        // simple beam under it, with end shears of half its load.
        const double v = t.role == T_TOP ? 0.5 * wq * kPanel : 0.0;
        const double ends[2][6] = {{f, 0, v, 0, 0, 0}, {f, 0, -v, 0, 0, 0}};
        m_sink.AddTrussForces(lc, t.e.key, ends);
    }
    const double tieR = c.gravity ? 0.5 * kTieW * kAnnexSpan : 0.0;
    {
        double st[9][6] = {};
        if (c.gravity && lc == SAMPLE_LC_DL) AddSimpleBeam(st, kTieW, kAnnexSpan);
        m_sink.AddBeamForces(lc, m_tie.key, st);
    }
    const double tieLoad = lc == SAMPLE_LC_DL ? tieR : 0.0;
    const double footSettle = (R + tieLoad) / kFootingK;
    const double sag = 5.0 * wq * std::pow(kAnnexSpan, 4) / (384.0 * kEst * (2.0 * 0.00207 * 0.25 * kTrussH * kTrussH));
    for (int k = 0; k < 2; ++k) {
        double bl[4][6] = {};
        bl[0][0] = bl[1][0] = -R;
        m_sink.AddColumnForces(lc, m_annexCol[k].key, bl);
        double st[9][6] = {};
        for (int s = 0; s < 9; ++s) st[s][0] = -R;
        m_sink.AddBeamForces(lc, m_annexCol[k].key, st);
        const double d[6] = {0.0, 0.0, -1000.0 * footSettle, 0.0, 0.0, 0.0};
        m_sink.AddDisp(lc, m_footing[k], d);
        const double r[6] = {0.0, 0.0, R + tieLoad, 0.0, 0.0, 0.0};
        m_sink.AddReac(lc, m_footing[k], r);
    }
    const double colShort = R * kAnnexH / (kEc * kColA);
    for (int k = 0; k <= kTrussPanels; ++k) {
        const double along = std::sin(kPi * k / kTrussPanels);
        const double d[6] = {0.0, 0.0, -1000.0 * (footSettle + colShort + sag * along), 0.0, 0.0, 0.0};
        m_sink.AddDisp(lc, m_trussBot[k], d);
        m_sink.AddDisp(lc, m_trussTop[k], d);
    }
}

// Balcony beam: a fixed-end beam of its developed length under its line load; its inner nodes follow its ends, linearly along the arc, and sag
// as the fixed-end beam does (w x^2 (L - x)^2 / 24 EI).
void CSampleGenerator::AddBalconyResults(const StaticCase& c) {
    const double L = m_balconyLength;
    const double w = BalconyLoad(c.lc);
    double st[9][6] = {};
    AddFixedEndBeam(st, w, L);
    m_sink.AddBeamForces(c.lc, m_balconyMemb, st);
    const int gj = kGridY - 1;
    const double wI = m_floorW[kBalconyLevel][kBalconyFrom][gj], wJ = m_floorW[kBalconyLevel][kBalconyTo][gj];
    const double uI = m_floorUx[kBalconyLevel][kBalconyFrom][gj], uJ = m_floorUx[kBalconyLevel][kBalconyTo][gj];
    for (int k = 1; k < kBalconyElems; ++k) {
        const double t = static_cast<double>(k) / kBalconyElems, x = t * L;
        const double sag = w * x * x * (L - x) * (L - x) / (24.0 * kBalconyEI);
        const double d[6] = {1000.0 * ((1.0 - t) * uI + t * uJ), 0.0, -1000.0 * ((1.0 - t) * wI + t * wJ + sag), 0.0, 0.0,
                             0.0};
        m_sink.AddDisp(c.lc, m_balconyNodes[static_cast<size_t>(k)], d);
    }
}

// ---- Modes, time history, settlement --------------------------------------------------------

// Modes of the storeys as a shear building in x (columns) and y (columns and the shear wall),
// numbered by rising frequency; the shape moves the floor nodes only.
// Spring pressures k w of the raft plates at their nodes (plate node order), gravity cases as the
// raft's spring reactions; and the strip footing: its load carried by its springs alone, a
// uniform correction (as for the raft) making the nodal spring reactions add up to the load.
void CSampleGenerator::AddSpringResults(const StaticCase& c) {
    if (c.gravity)
        for (int j = 0; j < m_ny; ++j)
            for (int i = 0; i < m_nx; ++i) {
                const double p[4] = {kSubgrade * FieldAt(i, j).w, kSubgrade * FieldAt(i + 1, j).w,
                                     kSubgrade * FieldAt(i + 1, j + 1).w, kSubgrade * FieldAt(i, j + 1).w};
                m_sink.AddSpringPressure(c.lc, RaftElem(i, j), p, 4);
            }

    const double dx = kLx / kStripElems, kb = kSubgrade * kStripB;
    const double q = c.lc == SAMPLE_LC_DL ? kStripWallDL + 25.0 * kStripB * kStripH : (c.lc == SAMPLE_LC_LL ? kStripLL : 0.0);
    const double pier = c.lc == SAMPLE_LC_DL ? kStripPier : 0.0;
    const double load = q * kLx + 2.0 * pier;
    auto trib = [&](int k) { return (k == 0 || k == kStripElems ? 0.5 : 1.0) * dx; };
    double springSum = 0.0;
    for (int k = 0; k <= kStripElems; ++k) springSum += kb * trib(k) * StripDeflection(k * dx, q, pier);
    const double wCorr = (load - springSum) / (kb * kLx);
    auto w = [&](double x) { return load > 0.0 ? StripDeflection(x, q, pier) + wCorr : 0.0; };
    for (int k = 0; k <= kStripElems; ++k) {
        const double wk = w(k * dx);
        const double d[6] = {0.0, 0.0, -1000.0 * wk, 0.0, 0.0, 0.0};
        m_sink.AddDisp(c.lc, m_stripNodes[static_cast<size_t>(k)], d);
        const double r[6] = {0.0, 0.0, kb * trib(k) * wk, 0.0, 0.0, 0.0};
        if (load > 0.0) m_sink.AddReac(c.lc, m_stripNodes[static_cast<size_t>(k)], r);
    }
    if (load <= 0.0) return;
    for (int k = 0; k < kStripElems; ++k) {
        double p[5];
        for (int s = 0; s < 5; ++s) p[s] = kSubgrade * w((k + 0.25 * s) * dx);
        m_sink.AddSpringPressure(c.lc, m_stripElems[static_cast<size_t>(k)], p, 5);
    }
}

void CSampleGenerator::AddModes() {
    m_mLevel = 0.0;
    for (int l = 0; l < kStoreys; ++l) m_mLevel += (kQDL[l] + 0.5 * kQLL[l]) * kLx * kLy / kG;
    m_mLevel /= kStoreys;
    ShearBuildingModes(0, m_mLevel, ColumnStoreyK(), m_modes);
    ShearBuildingModes(1, m_mLevel, ColumnStoreyK() + WallStoreyK(), m_modes);
    std::stable_sort(m_modes.begin(), m_modes.end(), [](const ModeShape& a, const ModeShape& b) { return a.omega < b.omega; });
    for (size_t m = 0; m < m_modes.size(); ++m) {
        const ModeShape& ms = m_modes[m];
        const UINT modeNo = static_cast<UINT>(m + 1);
        m_sink.AddFrequency(modeNo, ms.omega, ms.omega / (2.0 * kPi), 2.0 * kPi / ms.omega, kDamping);
        double mass[6] = {};
        mass[ms.dir] = ms.massPct;
        m_sink.AddParticipation(modeNo, mass);
        for (UINT n : ShapeNodes()) {
            double d[6] = {};
            const int l = m_levelOf[n];
            if (l > 0) d[ms.dir] = ms.phi[l - 1];
            m_sink.AddMode(modeNo, n, d);
        }
    }
}

// Time history: the peak response of the first x mode (after AddModes).
void CSampleGenerator::AddTimeHistory() {
    const ModeShape* first = nullptr;
    for (const ModeShape& ms : m_modes)
        if (ms.dir == 0 && ms.order == 1) first = &ms;
    double s1 = 0.0, s2 = 0.0;
    for (int i = 0; i < kStoreys; ++i) {
        s1 += m_mLevel * first->phi[i];
        s2 += m_mLevel * first->phi[i] * first->phi[i];
    }
    const double gamma = s1 / s2;
    const double baseShear = s1 * s1 / s2 * kSa;
    for (UINT n : ShapeNodes()) {
        const int l = m_levelOf[n];
        const double ux = l > 0 ? gamma * first->phi[l - 1] * kSa / (first->omega * first->omega) : 0.0;
        const double d[6] = {1000.0 * ux, 0.0, 0.0, 0.0, 0.0, 0.0};
        m_sink.AddDisp(SAMPLE_LC_THX, n, d);
    }
    for (int gj = 0; gj < kGridY; ++gj)
        for (int gi = 0; gi < kGridX; ++gi) {
            const double r[6] = {-baseShear / kColumns, 0.0, 0.0, 0.0, 0.0, 0.0};
            m_sink.AddReac(SAMPLE_LC_THX, m_pileTip[gi][gj], r);
        }
}

// Settlement: the service load (DL + LL, after the static results) spread over the raft, by
// Boussinesq; nodes above or below a raft point settle with it, the annex with its footings.
void CSampleGenerator::AddSettlement() {
    double total = (kRaftDL + kRaftLL) * kLx * kLy;
    for (double b : m_settleBase) total += b;
    const double q = total / (kLx * kLy);
    std::vector<double> s(m_levelOf.size(), 0.0);
    for (int j = 0; j <= m_ny; ++j)
        for (int i = 0; i <= m_nx; ++i) s[RaftNode(i, j)] = RectSettlement(q, kLx, kLy, i * m_dx, j * m_dy);
    for (int gi = 0; gi < kGridX; ++gi)
        for (int gj = 0; gj < kGridY; ++gj) {
            const double sb = s[GridRaftNode(gi, gj)];
            for (int l = 1; l <= kStoreys; ++l) s[m_floorNode[l][gi][gj]] = sb;
            s[m_pileTip[gi][gj]] = sb;
        }
    for (int gi = 0; gi < kGridX; ++gi) s[m_gradeBottom[gi]] = s[GridRaftNode(gi, 0)];
    const double footQ = (0.5 * (kAnnexQDL + kAnnexQLL) * kAnnexSpan + 0.5 * kTieW * kAnnexSpan) / (kFootingB * kFootingB);
    const double sFoot = RectSettlement(footQ, kFootingB, kFootingB, 0.5 * kFootingB, 0.5 * kFootingB);
    s[m_footing[0]] = s[m_footing[1]] = sFoot;
    for (int k = 0; k <= kTrussPanels; ++k) s[m_trussBot[k]] = s[m_trussTop[k]] = sFoot;
    const double sI = s[m_balconyNodes.front()], sJ = s[m_balconyNodes.back()];
    for (int k = 1; k < kBalconyElems; ++k)
        s[m_balconyNodes[static_cast<size_t>(k)]] = sI + (sJ - sI) * k / kBalconyElems;
    for (UINT n : ShapeNodes()) {
        const double d[6] = {0.0, 0.0, -1000.0 * s[n], 0.0, 0.0, 0.0};
        m_sink.AddDisp(SAMPLE_LC_SETTLE, n, d);
    }
}

// The THX case step by step (after AddTimeHistory): each floor node's peak displacement
// reached through the history of WriteTimeHistorySteps.
void CSampleGenerator::AddTimeHistorySteps() {
    const ModeShape* first = nullptr;
    for (const ModeShape& ms : m_modes)
        if (ms.dir == 0 && ms.order == 1) first = &ms;
    double s1 = 0.0, s2 = 0.0;
    for (int i = 0; i < kStoreys; ++i) {
        s1 += m_mLevel * first->phi[i];
        s2 += m_mLevel * first->phi[i] * first->phi[i];
    }
    const double gamma = s1 / s2;
    std::vector<double> peakUx(static_cast<size_t>(m_lastNode) + 1, 0.0);
    for (UINT n = 1; n <= m_lastNode; ++n) {
        const int l = m_levelOf[n];
        if (l > 0) peakUx[n] = gamma * first->phi[l - 1] * kSa / (first->omega * first->omega);
    }
    WriteTimeHistorySteps(m_sink, peakUx, first->omega);
}

// The host's settlement analysis (after the static results): load groups and settlement points
// under the same service pressure as AddSettlement.
long CSampleGenerator::AddSettlementPoints(long points) {
    double total = (kRaftDL + kRaftLL) * kLx * kLy;
    for (double b : m_settleBase) total += b;
    const double q = total / (kLx * kLy);
    const double footQ = (0.5 * (kAnnexQDL + kAnnexQLL) * kAnnexSpan + 0.5 * kTieW * kAnnexSpan) / (kFootingB * kFootingB);
    const double footDead = (0.5 * kAnnexQDL * kAnnexSpan + 0.5 * kTieW * kAnnexSpan) / (kFootingB * kFootingB);
    const double footXY[2][2] = {{kAnnexX, 0.0}, {kAnnexX, kAnnexSpan}};
    // The default 3 m grid, or the least grid of 4k x 3k cells (the raft's proportions) whose
    // nodes and the two footings reach the points asked for.
    int ni = static_cast<int>(kLx / kSettleGrid), nj = static_cast<int>(kLy / kSettleGrid);
    if (points > 0) {
        long k = 1;
        while ((4 * k + 1) * (3 * k + 1) + 2 < points) ++k;
        ni = static_cast<int>(4 * k);
        nj = static_cast<int>(3 * k);
    }
    WriteSettlementPoints(m_sink, q, q * DeadShareOfRaftLoad(), footQ, footDead, footXY, ni, nj);
    return static_cast<long>(ni + 1) * (nj + 1) + 2;
}

// The host's slab design (closed forms in SampleSlabDesign.h): the raft under each linear
// combination, and the raft's forces across the ends of the walls on it under each static case.
void CSampleGenerator::AddSlabDesign() {
    // Net pressure of the floor loads and the edge pressure of the wind's overturning moment.
    double q[kCases] = {}, dq[kCases] = {};
    for (int l = 0; l < kStoreys; ++l) {
        q[0] += kQDL[l];
        q[1] += kQLL[l];
    }
    double overturning = 0.0;
    for (int l = 1; l <= kStoreys; ++l) overturning += WindForce(l) * l * kH;
    dq[2] = overturning / (kLy * kLx * kLx / 6.0);
    // Outline edges south, east, north, west: the wind along +x presses the east edge down.
    const std::vector<int> windSign = {0, 1, 0, -1};
    for (const LinearComb& c : kLinearCombs) {
        double qc = 0.0, dqc = 0.0;
        for (int i = 0; i < kCases; ++i) {
            qc += c.factor[i] * q[i];
            dqc += c.factor[i] * dq[i];
        }
        m_sink.AddSlabDesign(c.key, m_raftMemb, sample_slab::RaftDesign(qc, dqc, 6.0, kRaftT, windSign));
    }
    for (int i = 0; i < kCases; ++i) {
        const UINT lc = kCaseKey[i];
        for (const RaftWall& w : m_raftWalls) {
            double line = 0.0, wind = 0.0;
            if (lc == SAMPLE_LC_DL) line = 25.0 * kWallT * kRaftWallH + w.trib * kQDL[0];
            if (lc == SAMPLE_LC_LL) line = w.trib * kQLL[0];
            if (lc == SAMPLE_LC_WX) wind = kWind * kRaftWallH * kRaftWallH / (2.0 * w.length);
            m_sink.AddSlabWallForces(lc, w.memb, sample_slab::WallEndForces(line, wind, CharLength(), kRaftT));
        }
    }
}

}  // namespace

CSampleProject::CSampleProject(long nRaftPlates) {
    if (nRaftPlates < 1) nRaftPlates = 1;
    if (nRaftPlates > kMaxRaftPlates) nRaftPlates = kMaxRaftPlates;
    int k = 1;
    while (12L * k * k < nRaftPlates) ++k;
    m_nx = kBaysX * k;
    m_ny = kBaysY * k;
}

void CSampleProject::Generate(ISampleSink& sink) {
    CSampleGenerator g(m_nx, m_ny, sink);
    // Model: the order fixes the keys and the table order.
    g.AddMaterials();
    g.AddSections();
    g.AddNodes();
    g.AddRaftPlates();
    g.AddColumns();
    g.AddBeams();
    g.AddPiles();
    g.AddSlabs();
    g.AddWalls();
    g.AddGradeBeams();
    g.AddGradeBeamWalls();
    g.AddAnnex();
    g.AddRaftMember();
    g.AddCutLines();
    g.AddRibBeams();
    g.AddRaftRibs();
    g.AddSpringSupports();
    g.AddBalconyBeam();
    g.AddRaftWalls();
    g.AddFoundationModel();
    g.AddLoadCases();
    g.AddCombinations();
    // Results: the static cases collect the service load that the settlement spreads; the time
    // history is the response of a mode.
    g.AddStaticResults();
    g.AddStoryShear();
    g.AddModes();
    g.AddTimeHistory();
    g.AddTimeHistorySteps();
    g.AddSettlement();
    m_nSettlePointsWritten = g.AddSettlementPoints(m_nSettlePoints);
    g.AddSlabDesign();
}
