#include "host/app/SampleProject.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/db/DBRecords.h"

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

constexpr int kCases = 3;  // static cases DL, LL, WX
const UINT kCaseKey[kCases] = {SAMPLE_LC_DL, SAMPLE_LC_LL, SAMPLE_LC_WX};

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

// Time history of the THX case: the first x mode ringing at its own frequency under a sine
// envelope over 10.5 periods, u(t) = U sin(w t) sin(pi t / D), so that every floor node reaches
// its peak displacement U (the THX displacement record) at mid-time t = D / 2 = 5.25 periods,
// where both sines are 1. Steps of a twentieth period (211 steps); velocity and acceleration are
// the derivatives of u. Nodes at rest (no floor level) get no history record.
constexpr int kHistStepsPerPeriod = 20;
constexpr double kHistPeriods = 10.5;

int HistoryStepCount() { return static_cast<int>(kHistPeriods * kHistStepsPerPeriod) + 1; }

void AddTimeHistorySteps(ISampleSink& sink, const std::vector<double>& peakUx, double omega) {
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

// Settlement points of the host's settlement analysis on a 3 m grid over the raft and at the two
// annex footings. Load group SETTLE (settlement kind) carries the service-load settlement
// (Boussinesq, as the SETTLE load case), group GRAVITY (static kind) the dead-load part alone;
// every point adds a regional subsidence of kRegionalSettle mm common to all groups.
constexpr double kRegionalSettle = 3.0;  // mm
constexpr double kSettleGrid = 3.0;      // m

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

void AddSettlementRecords(ISampleSink& sink, double qService, double qDead, double qFootService, double qFootDead,
                          const double footXY[2][2]) {
    sink.AddLoadGroup(SAMPLE_LDGP_GRAVITY, LDGP_STATIC, "GRAVITY");
    sink.AddLoadGroup(SAMPLE_LDGP_SETTLE, LDGP_SETTLEMENT, "SETTLE");
    const std::vector<UINT> groups = {SAMPLE_LDGP_GRAVITY, SAMPLE_LDGP_SETTLE};
    UINT key = 1;
    const int ni = static_cast<int>(kLx / kSettleGrid), nj = static_cast<int>(kLy / kSettleGrid);
    for (int j = 0; j <= nj; ++j)
        for (int i = 0; i <= ni; ++i) {
            const double x = i * kSettleGrid, y = j * kSettleGrid;
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
    const int nx = m_nx, ny = m_ny;
    const double dx = kLx / nx, dy = kLy / ny;
    const int kx = nx / kBaysX, ky = ny / kBaysY;  // raft cells per bay

    // ---- Materials and sections -------------------------------------------------------------
    sink.AddMaterial(1, "C30", kEc, kNuC, 25.0);
    sink.AddMaterial(2, "Q345", kEst, 0.3, 78.5);
    auto rectSect = [&](UINT key, const char* name, double b, double h) {
        const double dims[4] = {b, h, 0.0, 0.0};
        const double a = b * h;
        const double J = b * h * (b * b + h * h) / 12.0;
        const double st[6] = {a, a * 5.0 / 6.0, a * 5.0 / 6.0, J, b * h * h * h / 12.0, h * b * b * b / 12.0};
        sink.AddSection(key, 1, name, dims, st);
    };
    rectSect(1, "COL600x600", kColB, kColB);
    rectSect(2, "B300x600", 0.3, 0.6);
    rectSect(3, "B300x500", 0.3, 0.5);
    {
        const double dims[4] = {kPileD, 0.0, 0.0, 0.0};
        const double a = kPi * kPileD * kPileD / 4.0, I = kPi * std::pow(kPileD, 4) / 64.0;
        const double st[6] = {a, 0.9 * a, 0.9 * a, 2.0 * I, I, I};
        sink.AddSection(4, 3, "PILE800", dims, st);
    }
    {
        const double d = 0.114, t = 0.006;
        const double dims[4] = {d, t, 0.0, 0.0};
        const double a = kPi * (d * d - (d - 2 * t) * (d - 2 * t)) / 4.0;
        const double I = kPi * (std::pow(d, 4) - std::pow(d - 2 * t, 4)) / 64.0;
        const double st[6] = {a, 0.5 * a, 0.5 * a, 2.0 * I, I, I};
        sink.AddSection(5, 8, "P114x6", dims, st);
    }
    const UINT kSectRaft = 6, kSectSlab = 7, kSectWall = 8, kSectGrade = 9;
    auto plateSect = [&](UINT key, const char* name, double t) {
        const double dims[4] = {t, 0.0, 0.0, 0.0};
        const double st[6] = {t, 0.0, 0.0, 0.0, t * t * t / 12.0, 0.0};
        sink.AddSection(key, 1, name, dims, st);
    };
    plateSect(kSectRaft, "RAFT1000", kRaftT);
    plateSect(kSectSlab, "SLAB120", kSlabT);
    plateSect(kSectWall, "WALL250", kWallT);
    plateSect(kSectGrade, "GRADE400", 0.4);

    // ---- Nodes ------------------------------------------------------------------------------
    auto raftNode = [&](int i, int j) -> UINT { return static_cast<UINT>(1 + i + j * (nx + 1)); };
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i) sink.AddNode(raftNode(i, j), i * dx, j * dy, 0.0);
    UINT nextNode = raftNode(nx, ny) + 1;
    auto gridRaftNode = [&](int gi, int gj) { return raftNode(gi * kx, gj * ky); };
    auto gridX = [](int gi) { return 6.0 * gi; };
    auto gridY = [](int gj) { return 6.0 * gj; };

    UINT floorNode[kStoreys + 1][kGridX][kGridY];
    UINT pileTip[kGridX][kGridY];
    for (int gi = 0; gi < kGridX; ++gi)
        for (int gj = 0; gj < kGridY; ++gj) floorNode[0][gi][gj] = gridRaftNode(gi, gj);
    for (int l = 1; l <= kStoreys; ++l)
        for (int gj = 0; gj < kGridY; ++gj)
            for (int gi = 0; gi < kGridX; ++gi) {
                floorNode[l][gi][gj] = nextNode++;
                sink.AddNode(floorNode[l][gi][gj], gridX(gi), gridY(gj), l * kH);
            }
    for (int gj = 0; gj < kGridY; ++gj)
        for (int gi = 0; gi < kGridX; ++gi) {
            pileTip[gi][gj] = nextNode++;
            sink.AddNode(pileTip[gi][gj], gridX(gi), gridY(gj), -kPileL);
        }
    UINT gradeBottom[kGridX];
    for (int gi = 0; gi < kGridX; ++gi) {
        gradeBottom[gi] = nextNode++;
        sink.AddNode(gradeBottom[gi], gridX(gi), 0.0, -kGradeDepth);
    }
    // Annex: footings, truss bottom chord (columns carry its ends) and top chord.
    const UINT footing[2] = {nextNode, nextNode + 1};
    nextNode += 2;
    sink.AddNode(footing[0], kAnnexX, 0.0, 0.0);
    sink.AddNode(footing[1], kAnnexX, kAnnexSpan, 0.0);
    UINT trussBot[kTrussPanels + 1], trussTop[kTrussPanels + 1];
    const double panel = kAnnexSpan / kTrussPanels;
    for (int k = 0; k <= kTrussPanels; ++k) {
        trussBot[k] = nextNode++;
        sink.AddNode(trussBot[k], kAnnexX, k * panel, kAnnexH);
    }
    for (int k = 0; k <= kTrussPanels; ++k) {
        trussTop[k] = nextNode++;
        sink.AddNode(trussTop[k], kAnnexX, k * panel, kAnnexH + kTrussH);
    }
    const UINT lastNode = nextNode - 1;

    // ---- Elements and members ---------------------------------------------------------------
    auto raftElem = [&](int i, int j) -> UINT { return static_cast<UINT>(1 + i + j * nx); };
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i)
            sink.AddElement(raftElem(i, j), PELEM_KIND_PLATE, 301, 1, kSectRaft,
                            {raftNode(i, j), raftNode(i + 1, j), raftNode(i + 1, j + 1), raftNode(i, j + 1)});
    UINT nextElem = raftElem(nx - 1, ny - 1) + 1;

    struct LineElem {
        UINT key;
        UINT n1, n2;
        double length;
    };
    // A line or plane element that is also its own member (member key = element key).
    auto addLine = [&](int kind, int type, UINT matl, UINT sect, UINT n1, UINT n2, double len, UINT pile) {
        const UINT key = nextElem++;
        sink.AddElement(key, kind, type, matl, sect, {n1, n2});
        sink.AddMember(key, type, {n1, n2}, {key}, len, pile);
        return LineElem{key, n1, n2, len};
    };
    auto addPanel = [&](int kind, int type, UINT sect, const std::vector<UINT>& nodes, double len) {
        const UINT key = nextElem++;
        sink.AddElement(key, kind, type, 1, sect, nodes);
        sink.AddMember(key, type, nodes, {key}, len, 0);
        return key;
    };

    LineElem columns[kStoreys + 1][kGridX][kGridY];  // [storey 1..3]
    for (int s = 1; s <= kStoreys; ++s)
        for (int gj = 0; gj < kGridY; ++gj)
            for (int gi = 0; gi < kGridX; ++gi)
                columns[s][gi][gj] = addLine(PELEM_KIND_FRAME, 101, 1, 1, floorNode[s - 1][gi][gj], floorNode[s][gi][gj], kH, 0);

    struct Beam {
        LineElem e;
        int level;
        int dir;      // 0 along x, 1 along y
        double trib;  // loaded width, m
    };
    std::vector<Beam> beams;
    for (int l = 1; l <= kStoreys; ++l) {
        const int type = l == kStoreys ? 205 : 201;
        const UINT sect = l == kStoreys ? 3 : 2;
        for (int gj = 0; gj < kGridY; ++gj)
            for (int gi = 0; gi + 1 < kGridX; ++gi)
                beams.push_back({addLine(PELEM_KIND_FRAME, type, 1, sect, floorNode[l][gi][gj], floorNode[l][gi + 1][gj], 6.0, 0),
                                 l, 0, 0.5 * TribWidth(gj, kGridY)});
        for (int gi = 0; gi < kGridX; ++gi)
            for (int gj = 0; gj + 1 < kGridY; ++gj)
                beams.push_back({addLine(PELEM_KIND_FRAME, type, 1, sect, floorNode[l][gi][gj], floorNode[l][gi][gj + 1], 6.0, 0),
                                 l, 1, 0.5 * TribWidth(gi, kGridX)});
    }

    LineElem piles[kGridX][kGridY];
    {
        UINT pileNo = 1;
        for (int gj = 0; gj < kGridY; ++gj)
            for (int gi = 0; gi < kGridX; ++gi)
                piles[gi][gj] = addLine(PELEM_KIND_FRAME, 200, 1, 4, gridRaftNode(gi, gj), pileTip[gi][gj], kPileL, pileNo++);
    }

    struct Slab {
        UINT key;
        int level;
    };
    std::vector<Slab> slabs;
    for (int l = 1; l <= kStoreys; ++l)
        for (int gj = 0; gj + 1 < kGridY; ++gj)
            for (int gi = 0; gi + 1 < kGridX; ++gi) {
                const std::vector<UINT> nodes = {floorNode[l][gi][gj], floorNode[l][gi + 1][gj], floorNode[l][gi + 1][gj + 1],
                                                 floorNode[l][gi][gj + 1]};
                const int type = l == kStoreys ? 305 : 302;
                const UINT key = addPanel(PELEM_KIND_PLATE, type, kSectSlab, nodes, 0.0);
                sink.AddSlab(key, type, nodes);
                slabs.push_back({key, l});
            }

    // Shear wall at x = 0 between grid lines y = 6 and 12, one panel per storey.
    UINT wallPanel[kStoreys + 1] = {0};
    for (int s = 1; s <= kStoreys; ++s) {
        const std::vector<UINT> nodes = {floorNode[s - 1][0][1], floorNode[s - 1][0][2], floorNode[s][0][2], floorNode[s][0][1]};
        wallPanel[s] = addPanel(PELEM_KIND_WALL, 209, kSectWall, nodes, kWallY1 - kWallY0);
        const double anchor[2] = {0.0, kWallY0}, dir[2] = {0.0, 1.0};
        const double p1[3] = {0.0, kWallY0, (s - 1) * kH}, p2[3] = {0.0, kWallY1, s * kH};
        sink.AddWall(wallPanel[s], 209, anchor, dir, p1, p2);
    }
    // Spandrel (wall beam) at x = 24 between y = 6 and 12, from level 2 to the roof.
    UINT spandrel = 0;
    {
        const std::vector<UINT> nodes = {floorNode[2][kBaysX][1], floorNode[2][kBaysX][2], floorNode[3][kBaysX][2],
                                         floorNode[3][kBaysX][1]};
        spandrel = addPanel(PELEM_KIND_WALL, 210, kSectWall, nodes, 6.0);
        const double anchor[2] = {kLx, kWallY0}, dir[2] = {0.0, 1.0};
        const double p1[3] = {kLx, kWallY0, 2 * kH}, p2[3] = {kLx, kWallY1, 3 * kH};
        sink.AddWall(spandrel, 210, anchor, dir, p1, p2);
    }
    // Grade beams under the raft edge y = 0.
    UINT grade[kBaysX];
    for (int gi = 0; gi < kBaysX; ++gi)
        grade[gi] = addPanel(PELEM_KIND_WALL, 204, kSectGrade,
                             {gridRaftNode(gi, 0), gridRaftNode(gi + 1, 0), gradeBottom[gi + 1], gradeBottom[gi]}, 6.0);

    // Annex columns, tie beam and truss.
    const LineElem annexCol[2] = {addLine(PELEM_KIND_FRAME, 101, 1, 1, footing[0], trussBot[0], kAnnexH, 0),
                                  addLine(PELEM_KIND_FRAME, 101, 1, 1, footing[1], trussBot[kTrussPanels], kAnnexH, 0)};
    const LineElem tie = addLine(PELEM_KIND_FRAME, 200, 1, 3, footing[0], footing[1], kAnnexSpan, 0);
    enum { T_BOT, T_TOP, T_VERT, T_DIAG };
    struct TrussBar {
        LineElem e;
        int role;
        int panel;  // panel (chords, diagonals) or node (verticals)
    };
    std::vector<TrussBar> truss;
    const double diagLen = std::sqrt(panel * panel + kTrussH * kTrussH);
    for (int k = 0; k < kTrussPanels; ++k)
        truss.push_back({addLine(PELEM_KIND_TRUSS, 206, 2, 5, trussBot[k], trussBot[k + 1], panel, 0), T_BOT, k});
    for (int k = 0; k < kTrussPanels; ++k)
        truss.push_back({addLine(PELEM_KIND_TRUSS, 206, 2, 5, trussTop[k], trussTop[k + 1], panel, 0), T_TOP, k});
    for (int k = 0; k <= kTrussPanels; ++k)
        truss.push_back({addLine(PELEM_KIND_TRUSS, 206, 2, 5, trussBot[k], trussTop[k], kTrussH, 0), T_VERT, k});
    for (int k = 0; k < kTrussPanels; ++k) {
        // Pratt: diagonals fall towards mid-span.
        const bool left = k < kTrussPanels / 2;
        truss.push_back({addLine(PELEM_KIND_TRUSS, 206, 2, 5, left ? trussTop[k] : trussTop[k + 1],
                                 left ? trussBot[k + 1] : trussBot[k], diagLen, 0),
                         T_DIAG, k});
    }

    // The raft as one member, after every element.
    {
        const UINT raftMemb = nextElem;
        std::vector<UINT> elems, outline = {raftNode(0, 0), raftNode(nx, 0), raftNode(nx, ny), raftNode(0, ny)};
        elems.reserve(static_cast<size_t>(nx) * ny);
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) elems.push_back(raftElem(i, j));
        sink.AddMember(raftMemb, 301, outline, elems, 0.0, 0);
        sink.AddSlab(raftMemb, 301, outline);
    }

    // ---- Load cases and combinations --------------------------------------------------------
    sink.AddLoadCase(SAMPLE_LC_DL, PLOAD_STATIC, "DL");
    sink.AddLoadCase(SAMPLE_LC_LL, PLOAD_STATIC, "LL");
    sink.AddLoadCase(SAMPLE_LC_WX, PLOAD_STATIC, "WX");
    sink.AddLoadCase(SAMPLE_LC_THX, PLOAD_TIMEHISTORY, "THX");
    sink.AddLoadCase(SAMPLE_LC_SETTLE, PLOAD_SETTLEMENT, "SETTLE");
    typedef ISampleSink::CombEntry E;
    sink.AddCombination(101, PLCOM_LINEAR, "1.3DL+1.5LL", {E{PLOAD_STATIC, SAMPLE_LC_DL, 1.3}, E{PLOAD_STATIC, SAMPLE_LC_LL, 1.5}});
    sink.AddCombination(102, PLCOM_LINEAR, "1.0DL+1.0LL", {E{PLOAD_STATIC, SAMPLE_LC_DL, 1.0}, E{PLOAD_STATIC, SAMPLE_LC_LL, 1.0}});
    sink.AddCombination(103, PLCOM_LINEAR, "1.3DL+1.5WX", {E{PLOAD_STATIC, SAMPLE_LC_DL, 1.3}, E{PLOAD_STATIC, SAMPLE_LC_WX, 1.5}});
    sink.AddCombination(104, PLCOM_LINEAR, "1.2DL+1.4LL+0.84WX",
                        {E{PLOAD_STATIC, SAMPLE_LC_DL, 1.2}, E{PLOAD_STATIC, SAMPLE_LC_LL, 1.4}, E{PLOAD_STATIC, SAMPLE_LC_WX, 0.84}});
    sink.AddCombination(SAMPLE_COMB_ENV, PLCOM_ENVELOPE, "ENV",
                        {E{PLOAD_COMBINATION, 101, 1.0}, E{PLOAD_COMBINATION, 102, 1.0}, E{PLOAD_COMBINATION, 103, 1.0},
                         E{PLOAD_COMBINATION, 104, 1.0}});

    // ---- Static results ---------------------------------------------------------------------
    const double colA = kColB * kColB;
    const double pileA = kPi * kPileD * kPileD / 4.0;
    const double plateK = kPi * std::sqrt(kSubgrade * PlateRigidity());  // point stiffness of the plate
    const double pileShare = kPileK / (kPileK + plateK);
    const double wallPanelW = 25.0 * kWallT * (kWallY1 - kWallY0) * kH;
    const double footingK = kEsoil * kFootingB / ((1.0 - kNuSoil * kNuSoil) * 0.88);
    const size_t nRaftNodes = static_cast<size_t>(nx + 1) * (ny + 1);
    std::vector<double> settleBase(static_cast<size_t>(kGridX * kGridY), 0.0);  // (DL+LL) column base loads
    std::vector<RaftField> field(nRaftNodes);

    for (int c = 0; c < kCases; ++c) {
        const UINT lc = kCaseKey[c];
        const bool gravity = lc != SAMPLE_LC_WX;
        const double* q = lc == SAMPLE_LC_DL ? kQDL : kQLL;
        const double raftQ = lc == SAMPLE_LC_DL ? kRaftDL : (lc == SAMPLE_LC_LL ? kRaftLL : 0.0);

        // Column axial forces (compression negative) from tributary areas, storey by storey.
        double colN[kStoreys + 1][kGridX][kGridY] = {};
        double baseLoad[kGridX][kGridY] = {};  // column (and wall) load on the raft, kN
        for (int gi = 0; gi < kGridX; ++gi)
            for (int gj = 0; gj < kGridY; ++gj) {
                const double A = TribWidth(gi, kGridX) * TribWidth(gj, kGridY);
                double n = 0.0;
                for (int s = kStoreys; s >= 1; --s) {
                    if (gravity) n -= q[s - 1] * A;
                    colN[s][gi][gj] = n;
                }
                baseLoad[gi][gj] = -colN[1][gi][gj];
            }
        if (lc == SAMPLE_LC_DL) {  // the shear wall stands on grid points (0,1) and (0,2)
            baseLoad[0][1] += 0.5 * kStoreys * wallPanelW;
            baseLoad[0][2] += 0.5 * kStoreys * wallPanelW;
        }
        if (lc != SAMPLE_LC_WX)
            for (int gi = 0; gi < kGridX; ++gi)
                for (int gj = 0; gj < kGridY; ++gj) settleBase[static_cast<size_t>(gi * kGridY + gj)] += baseLoad[gi][gj];

        // Raft: piles take their share of each base load; the plate on springs the rest and the
        // raft's own load. A uniform correction makes the spring reactions sum to that load.
        std::vector<PointLoad> loads;
        for (int gi = 0; gi < kGridX; ++gi)
            for (int gj = 0; gj < kGridY; ++gj)
                if (baseLoad[gi][gj] != 0.0) loads.push_back({gridX(gi), gridY(gj), (1.0 - pileShare) * baseLoad[gi][gj]});
        double plateLoad = raftQ * kLx * kLy;
        for (const PointLoad& pl : loads) plateLoad += pl.p;
        double springSum = 0.0;
        for (int j = 0; j <= ny; ++j)
            for (int i = 0; i <= nx; ++i) {
                RaftField& f = field[static_cast<size_t>(i + j * (nx + 1))];
                f = EvalRaft(i * dx, j * dy, loads, raftQ / kSubgrade);
                const double trib = (i == 0 || i == nx ? 0.5 : 1.0) * (j == 0 || j == ny ? 0.5 : 1.0) * dx * dy;
                springSum += kSubgrade * trib * f.w;
            }
        const double wCorr = (plateLoad - springSum) / (kSubgrade * kLx * kLy);
        const double vBase = gravity ? 0.0 : StoreyShear(1);
        const double raftDX = vBase / (kColumns * kPileKh);

        // Raft nodes.
        for (int j = 0; j <= ny; ++j)
            for (int i = 0; i <= nx; ++i) {
                RaftField& f = field[static_cast<size_t>(i + j * (nx + 1))];
                f.w += wCorr;
                const double d[6] = {1000.0 * raftDX, 0.0, -1000.0 * f.w, -f.wy, f.wx, 0.0};
                sink.AddDisp(lc, raftNode(i, j), d);
                const double trib = (i == 0 || i == nx ? 0.5 : 1.0) * (j == 0 || j == ny ? 0.5 : 1.0) * dx * dy;
                const double r[6] = {0.0, 0.0, kSubgrade * trib * f.w, 0.0, 0.0, 0.0};
                if (gravity) sink.AddReac(lc, raftNode(i, j), r);
            }
        auto raftW = [&](int gi, int gj) { return field[static_cast<size_t>(gi * kx + gj * ky * (nx + 1))].w; };

        // Raft plate forces: corners from the node fields, centre evaluated.
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) {
                double blk[5][30];
                RaftField fc = EvalRaft((i + 0.5) * dx, (j + 0.5) * dy, loads, 0.0);
                FillPlateBlock(blk[0], fc.mxx, fc.myy, fc.mxy, fc.vx, fc.vy, kRaftT);
                const int ci[4] = {i, i + 1, i + 1, i}, cj[4] = {j, j, j + 1, j + 1};
                for (int k = 0; k < 4; ++k) {
                    const RaftField& f = field[static_cast<size_t>(ci[k] + cj[k] * (nx + 1))];
                    FillPlateBlock(blk[k + 1], f.mxx, f.myy, f.mxy, f.vx, f.vy, kRaftT);
                }
                sink.AddPlateForces(lc, raftElem(i, j), blk);
            }

        // Piles: axial share, lateral share of the base shear with a fixed-head moment.
        for (int gj = 0; gj < kGridY; ++gj)
            for (int gi = 0; gi < kGridX; ++gi) {
                const double P = pileShare * baseLoad[gi][gj];
                const double v = vBase / kColumns;
                double st[9][6] = {};
                for (int k = 0; k < 9; ++k) {
                    st[k][0] = -P;
                    st[k][1] = v;
                    st[k][5] = v * 2.0 * (1.0 - 2.0 * k / 8.0);
                }
                sink.AddBeamForces(lc, piles[gi][gj].key, st);
                const double wc = raftW(gi, gj);
                const double d[6] = {0.0, 0.0, -1000.0 * (wc - P * kPileL / (kEc * pileA)), 0.0, 0.0, 0.0};
                sink.AddDisp(lc, pileTip[gi][gj], d);
                const double r[6] = {-v, 0.0, P, 0.0, 0.0, 0.0};
                sink.AddReac(lc, pileTip[gi][gj], r);
            }

        // Columns and floor nodes.
        const double Kx = ColumnStoreyK();
        for (int gj = 0; gj < kGridY; ++gj)
            for (int gi = 0; gi < kGridX; ++gi) {
                double w = raftW(gi, gj), ux = raftDX;
                for (int s = 1; s <= kStoreys; ++s) {
                    const double N = colN[s][gi][gj];
                    const double v = gravity ? 0.0 : StoreyShear(s) / kColumns;
                    double bl[4][6] = {};
                    bl[0][0] = bl[1][0] = N;
                    bl[0][1] = bl[1][1] = v;
                    bl[0][5] = 0.5 * v * kH;
                    bl[1][5] = -0.5 * v * kH;
                    sink.AddColumnForces(lc, columns[s][gi][gj].key, bl);
                    double st[9][6] = {};
                    for (int k = 0; k < 9; ++k) {
                        st[k][0] = N;
                        st[k][1] = v;
                        st[k][5] = 0.5 * v * kH * (1.0 - 2.0 * k / 8.0);
                    }
                    sink.AddBeamForces(lc, columns[s][gi][gj].key, st);
                    w += -N * kH / (kEc * colA);
                    if (!gravity) ux += StoreyShear(s) / Kx;
                    const double d[6] = {1000.0 * ux, 0.0, -1000.0 * w, 0.0, 0.0, 0.0};
                    sink.AddDisp(lc, floorNode[s][gi][gj], d);
                }
            }

        // Beams: fixed-end under gravity, portal-method moments under wind (x beams only).
        for (const Beam& b : beams) {
            double st[9][6] = {};
            if (gravity) AddFixedEndBeam(st, q[b.level - 1] * b.trib, b.e.length);
            if (!gravity && b.dir == 0) {
                const double vBelow = StoreyShear(b.level) / kColumns;
                const double vAbove = b.level < kStoreys ? StoreyShear(b.level + 1) / kColumns : 0.0;
                const double M = (vBelow + vAbove) * kH / 4.0;
                for (int k = 0; k < 9; ++k) {
                    st[k][4] += M * (1.0 - 2.0 * k / 8.0);
                    st[k][2] += -2.0 * M / b.e.length;
                }
            }
            sink.AddBeamForces(lc, b.e.key, st);
        }

        // Floor and roof slabs: simply supported square panels (series-solution coefficients).
        for (const Slab& s : slabs) {
            const double qs = gravity ? q[s.level - 1] : 0.0;
            const double a = 6.0;
            double blk[5][30];
            FillPlateBlock(blk[0], 0.0479 * qs * a * a, 0.0479 * qs * a * a, 0.0, 0.0, 0.0, kSlabT);
            const double sx[4] = {-1, 1, 1, -1}, sy[4] = {-1, -1, 1, 1};
            for (int k = 0; k < 4; ++k)
                FillPlateBlock(blk[k + 1], 0.0, 0.0, -sx[k] * sy[k] * 0.0325 * qs * a * a, sx[k] * 0.338 * qs * a,
                               sy[k] * 0.338 * qs * a, kSlabT);
            sink.AddPlateForces(lc, s.key, blk);
        }

        // Shear wall: its own weight (gravity only in DL); spandrel as a fixed-end beam.
        for (int s = 1; s <= kStoreys; ++s) {
            double lv[3][8] = {};
            if (lc == SAMPLE_LC_DL) {
                const double above = kStoreys - s;
                lv[0][0] = -wallPanelW * (above + 1.0);
                lv[1][0] = -wallPanelW * (above + 0.5);
                lv[2][0] = -wallPanelW * above;
            }
            sink.AddWallForces(lc, wallPanel[s], lv);
        }
        {
            double lv[3][8] = {};
            if (lc == SAMPLE_LC_DL) {
                const double W = wallPanelW, L = 6.0;
                lv[0][2] = 0.5 * W;
                lv[2][2] = -0.5 * W;
                lv[0][4] = lv[2][4] = -W * L / 12.0;
                lv[1][4] = W * L / 24.0;
            }
            sink.AddWallForces(lc, spandrel, lv);
        }
        // Grade beams: fixed-end beams pressed up by the springs under half a metre of raft.
        for (int gi = 0; gi < kBaysX; ++gi) {
            double lv[3][8] = {};
            const double wm = EvalRaft(gridX(gi) + 3.0, 0.0, loads, raftQ / kSubgrade).w + wCorr;
            const double line = -kSubgrade * wm * 0.5, L = 6.0;
            lv[0][2] = 0.5 * line * L;
            lv[2][2] = -0.5 * line * L;
            lv[0][4] = lv[2][4] = -line * L * L / 12.0;
            lv[1][4] = line * L * L / 24.0;
            sink.AddWallForces(lc, grade[gi], lv);
            const double d[6] = {1000.0 * raftDX, 0.0, -1000.0 * raftW(gi, 0), 0.0, 0.0, 0.0};
            sink.AddDisp(lc, gradeBottom[gi], d);
        }
        {
            const double d[6] = {1000.0 * raftDX, 0.0, -1000.0 * raftW(kBaysX, 0), 0.0, 0.0, 0.0};
            sink.AddDisp(lc, gradeBottom[kBaysX], d);
        }

        // Annex: truss under panel loads, columns, tie beam, footings.
        const double wq = lc == SAMPLE_LC_DL ? kAnnexQDL : (lc == SAMPLE_LC_LL ? kAnnexQLL : 0.0);
        const double R = 0.5 * wq * kAnnexSpan;
        auto momentAt = [&](double x) { return R * x - 0.5 * wq * x * x; };
        for (const TrussBar& t : truss) {
            double f = 0.0;
            const double x0 = t.panel * panel, x1 = x0 + panel;
            switch (t.role) {
            case T_TOP: f = -std::max(momentAt(x0), momentAt(x1)) / kTrussH; break;
            case T_BOT: f = std::min(momentAt(x0), momentAt(x1)) / kTrussH; break;
            case T_DIAG: f = std::fabs(R - wq * (t.panel < kTrussPanels / 2 ? x1 : x0)) * diagLen / kTrussH; break;
            case T_VERT: {
                const int k = t.panel;
                f = (k == 0 || k == kTrussPanels) ? -R : -std::fabs(R - wq * k * panel);
                break;
            }
            }
            const double ends[2][6] = {{f, 0, 0, 0, 0, 0}, {f, 0, 0, 0, 0, 0}};
            sink.AddTrussForces(lc, t.e.key, ends);
        }
        const double tieR = gravity ? 0.5 * kTieW * kAnnexSpan : 0.0;
        {
            double st[9][6] = {};
            if (gravity && lc == SAMPLE_LC_DL) AddSimpleBeam(st, kTieW, kAnnexSpan);
            sink.AddBeamForces(lc, tie.key, st);
        }
        const double tieLoad = lc == SAMPLE_LC_DL ? tieR : 0.0;
        const double footSettle = (R + tieLoad) / footingK;
        const double sag = 5.0 * wq * std::pow(kAnnexSpan, 4) / (384.0 * kEst * (2.0 * 0.00207 * 0.25 * kTrussH * kTrussH));
        for (int k = 0; k < 2; ++k) {
            double bl[4][6] = {};
            bl[0][0] = bl[1][0] = -R;
            sink.AddColumnForces(lc, annexCol[k].key, bl);
            double st[9][6] = {};
            for (int s = 0; s < 9; ++s) st[s][0] = -R;
            sink.AddBeamForces(lc, annexCol[k].key, st);
            const double d[6] = {0.0, 0.0, -1000.0 * footSettle, 0.0, 0.0, 0.0};
            sink.AddDisp(lc, footing[k], d);
            const double r[6] = {0.0, 0.0, R + tieLoad, 0.0, 0.0, 0.0};
            sink.AddReac(lc, footing[k], r);
        }
        const double colShort = R * kAnnexH / (kEc * colA);
        for (int k = 0; k <= kTrussPanels; ++k) {
            const double along = std::sin(kPi * k / kTrussPanels);
            const double d[6] = {0.0, 0.0, -1000.0 * (footSettle + colShort + sag * along), 0.0, 0.0, 0.0};
            sink.AddDisp(lc, trussBot[k], d);
            sink.AddDisp(lc, trussTop[k], d);
        }
    }

    // ---- Modes ------------------------------------------------------------------------------
    double mLevel = 0.0;
    for (int l = 0; l < kStoreys; ++l) mLevel += (kQDL[l] + 0.5 * kQLL[l]) * kLx * kLy / kG;
    mLevel /= kStoreys;
    std::vector<ModeShape> modes;
    ShearBuildingModes(0, mLevel, ColumnStoreyK(), modes);
    ShearBuildingModes(1, mLevel, ColumnStoreyK() + WallStoreyK(), modes);
    std::stable_sort(modes.begin(), modes.end(), [](const ModeShape& a, const ModeShape& b) { return a.omega < b.omega; });
    std::vector<double> levelOf(static_cast<size_t>(lastNode) + 1, 0.0);  // 0: not a floor node
    for (int l = 1; l <= kStoreys; ++l)
        for (int gi = 0; gi < kGridX; ++gi)
            for (int gj = 0; gj < kGridY; ++gj) levelOf[floorNode[l][gi][gj]] = l;
    for (size_t m = 0; m < modes.size(); ++m) {
        const ModeShape& ms = modes[m];
        const UINT modeNo = static_cast<UINT>(m + 1);
        sink.AddFrequency(modeNo, ms.omega, ms.omega / (2.0 * kPi), 2.0 * kPi / ms.omega, kDamping);
        double mass[6] = {};
        mass[ms.dir] = ms.massPct;
        sink.AddParticipation(modeNo, mass);
        for (UINT n = 1; n <= lastNode; ++n) {
            double d[6] = {};
            const int l = static_cast<int>(levelOf[n]);
            if (l > 0) d[ms.dir] = ms.phi[l - 1];
            sink.AddMode(modeNo, n, d);
        }
    }

    // ---- Time history: peak response of the first x mode ------------------------------------
    {
        const ModeShape* first = nullptr;
        for (const ModeShape& ms : modes)
            if (ms.dir == 0 && ms.order == 1) first = &ms;
        double s1 = 0.0, s2 = 0.0;
        for (int i = 0; i < kStoreys; ++i) {
            s1 += mLevel * first->phi[i];
            s2 += mLevel * first->phi[i] * first->phi[i];
        }
        const double gamma = s1 / s2;
        const double baseShear = s1 * s1 / s2 * kSa;
        std::vector<double> peakUx(static_cast<size_t>(lastNode) + 1, 0.0);
        for (UINT n = 1; n <= lastNode; ++n) {
            const int l = static_cast<int>(levelOf[n]);
            const double ux = l > 0 ? gamma * first->phi[l - 1] * kSa / (first->omega * first->omega) : 0.0;
            const double d[6] = {1000.0 * ux, 0.0, 0.0, 0.0, 0.0, 0.0};
            sink.AddDisp(SAMPLE_LC_THX, n, d);
            peakUx[n] = ux;
        }
        AddTimeHistorySteps(sink, peakUx, first->omega);
        for (int gj = 0; gj < kGridY; ++gj)
            for (int gi = 0; gi < kGridX; ++gi) {
                const double r[6] = {-baseShear / kColumns, 0.0, 0.0, 0.0, 0.0, 0.0};
                sink.AddReac(SAMPLE_LC_THX, pileTip[gi][gj], r);
            }
    }

    // ---- Settlement: the service load spread over the raft, Boussinesq ----------------------
    {
        double total = (kRaftDL + kRaftLL) * kLx * kLy;
        for (double b : settleBase) total += b;
        const double q = total / (kLx * kLy);
        std::vector<double> s(static_cast<size_t>(lastNode) + 1, 0.0);
        for (int j = 0; j <= ny; ++j)
            for (int i = 0; i <= nx; ++i) s[raftNode(i, j)] = RectSettlement(q, kLx, kLy, i * dx, j * dy);
        for (int gi = 0; gi < kGridX; ++gi)
            for (int gj = 0; gj < kGridY; ++gj) {
                const double sb = s[gridRaftNode(gi, gj)];
                for (int l = 1; l <= kStoreys; ++l) s[floorNode[l][gi][gj]] = sb;
                s[pileTip[gi][gj]] = sb;
            }
        for (int gi = 0; gi < kGridX; ++gi) s[gradeBottom[gi]] = s[gridRaftNode(gi, 0)];
        const double footQ = (0.5 * (kAnnexQDL + kAnnexQLL) * kAnnexSpan + 0.5 * kTieW * kAnnexSpan) / (kFootingB * kFootingB);
        const double sFoot = RectSettlement(footQ, kFootingB, kFootingB, 0.5 * kFootingB, 0.5 * kFootingB);
        s[footing[0]] = s[footing[1]] = sFoot;
        for (int k = 0; k <= kTrussPanels; ++k) s[trussBot[k]] = s[trussTop[k]] = sFoot;
        for (UINT n = 1; n <= lastNode; ++n) {
            const double d[6] = {0.0, 0.0, -1000.0 * s[n], 0.0, 0.0, 0.0};
            sink.AddDisp(SAMPLE_LC_SETTLE, n, d);
        }
        const double footDead = (0.5 * kAnnexQDL * kAnnexSpan + 0.5 * kTieW * kAnnexSpan) / (kFootingB * kFootingB);
        const double footXY[2][2] = {{kAnnexX, 0.0}, {kAnnexX, kAnnexSpan}};
        AddSettlementRecords(sink, q, q * DeadShareOfRaftLoad(), footQ, footDead, footXY);
    }
}
