#include "module/engines/CBeamDiagram_PVX.h"

#include "host/base/CMsgDll.h"
#include "host/db/CDBDoc.h"
#include "platform/ui/uiapi.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr double kDiagramTiny = 1e-10;     // positions closer than this are one station
constexpr double kMinLen = 1e-18;   // shortest length a shape is built for

double Dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Deflection at x of a simply supported span of length L (EI = 1) under a unit force at a.
double GreenForce(double x, double a, double L) {
    if (x <= a) return x * (L - a) * (2.0 * L * a - a * a - x * x) / (6.0 * L);
    return a * (L - x) * (2.0 * L * x - x * x - a * a) / (6.0 * L);
}

// The same under a unit moment at a, whose span moment is x/L - H(x - a).
double GreenMoment(double x, double a, double L) {
    if (x <= a) return -x * (x * x + 3.0 * a * a - 6.0 * a * L + 2.0 * L * L) / (6.0 * L);
    double r = L - x;
    return -r * (L * L - 3.0 * a * a - r * r) / (6.0 * L);
}

// Span moment at x under a unit force at a: the shear deflection per unit 1/(G As).
double ShearForce(double x, double a, double L) { return x <= a ? x * (L - a) / L : a * (L - x) / L; }

}  // namespace

CBeamDiagram_PVX::CBeamDiagram_PVX() {
    std::memset(m_dLen, 0, sizeof(m_dLen));
    m_cfmoDispl.Initialize();
    std::memset(m_dDispl, 0, sizeof(m_dDispl));
    std::memset(m_dGlobal, 0, sizeof(m_dGlobal));
    std::memset(m_nStart, 0, sizeof(m_nStart));
    std::memset(m_nEnd, 0, sizeof(m_nEnd));
    std::memset(m_nCount, 0, sizeof(m_nCount));
    std::memset(m_ex, 0, sizeof(m_ex));
    std::memset(m_ey, 0, sizeof(m_ey));
    std::memset(m_ez, 0, sizeof(m_ez));
    std::memset(m_coef, 0, sizeof(m_coef));
    CDataBase* pDB = CDBDoc::m_pDBDoc ? CDBDoc::m_pDBDoc->GetMDBCtrl()->GetDBPost() : nullptr;
    m_elem.ConnectToDB(pDB);
    m_memb.ConnectToDB(pDB);
}

CBeamDiagram_PVX::~CBeamDiagram_PVX() { delete[] m_pStress; }

void CBeamDiagram_PVX::InitBeamDispl() {
    for (auto& a : m_arrRelDist) a.RemoveAll();
    m_arrDist.RemoveAll();
    std::memset(m_dDispl, 0, sizeof(m_dDispl));
    std::memset(m_dGlobal, 0, sizeof(m_dGlobal));
    std::memset(m_nStart, 0, sizeof(m_nStart));
    std::memset(m_nEnd, 0, sizeof(m_nEnd));
    std::memset(m_nCount, 0, sizeof(m_nCount));
}

int CBeamDiagram_PVX::Compare_Dist(const void* a, const void* b) {
    double x = *static_cast<const double*>(a), y = *static_cast<const double*>(b);
    return x > y ? 1 : (x < y ? -1 : 0);
}

int CBeamDiagram_PVX::MakeCfmo(unsigned int memb, T_CFMO_D& out) {
    T_PMEMB_D rec;
    if (!m_memb.Get(memb, rec)) return 0;
    out.Initialize();
    out.type = rec.type;
    out.subKind = rec.subKind;
    return 1;
}

static int FilterLcom(T_PLCOM_D& in, T_PLCOM_D& out, int (*keep)(int)) {
    out.Initialize();
    out.type = in.type;
    int n = 0;
    for (int i = 0; i < PLCOM_MAX_ENTRY && in.entry[i].key != 0; ++i)
        if (keep(in.entry[i].kind) && out.AddEntry(in.entry[i].kind, in.entry[i].key, in.entry[i].factor)) ++n;
    return n > 0;
}

int CBeamDiagram_PVX::GetLcom4Disp(T_PLCOM_D& in, T_PLCOM_D& out) {
    return FilterLcom(in, out, [](int k) { return int(k >= 1 && k <= 3); });
}
int CBeamDiagram_PVX::GetStaticLcom(T_PLCOM_D& in, T_PLCOM_D& out) {
    return FilterLcom(in, out, [](int k) { return int(k == 1); });
}
int CBeamDiagram_PVX::GetDynamicLcom(T_PLCOM_D& in, T_PLCOM_D& out) {
    return FilterLcom(in, out, [](int k) { return int(k == 2 || k == 3); });
}

void CBeamDiagram_PVX::GetStationDispl(int k, double out[3]) const {
    out[0] = m_dGlobal[k][0];
    out[1] = m_dGlobal[k][1];
    out[2] = m_dGlobal[k][2];
}

// Stations and flexible-span indices from m_dLen and the end record m_cfmoDispl.
int CBeamDiagram_PVX::BuildStations(int nDiv) {
    const double L = m_dLen[1];
    const T_CFMO_D& c = m_cfmoDispl;
    double pos[MAX_STATION];
    int n = 0;
    pos[n++] = c.ri2;
    pos[n++] = L - c.rj2;
    pos[n++] = c.ri3;
    pos[n++] = L - c.rj3;
    for (int k = 0; k <= nDiv; ++k) pos[n++] = double(k) * L / double(nDiv);
    std::qsort(pos, n, sizeof(double), Compare_Dist);
    for (int i = n - 1; i >= 1; --i) {
        if (pos[i] - pos[i - 1] < kDiagramTiny) {
            std::memmove(pos + i, pos + i + 1, sizeof(double) * (n - i - 1));
            --n;
        }
    }
    for (int i = 0; i < n; ++i) m_arrDist.Add(pos[i]);
    const double start[4] = {0.0, 0.0, c.ri2, c.ri3};
    const double end[4] = {L, L, L - c.rj2, L - c.rj3};
    for (int d = 1; d <= 3; ++d) {
        m_nStart[d] = 0;
        m_nEnd[d] = n - 1;
        for (int k = 0; k < n; ++k) {
            if (std::fabs(pos[k] - start[d]) < kDiagramTiny) m_nStart[d] = k;
            if (std::fabs(pos[k] - end[d]) < kDiagramTiny) m_nEnd[d] = k;
        }
        m_nCount[d] = m_nEnd[d] - m_nStart[d];
    }
    return n;
}

// Reads the element, its axes and length; fills m_dLen from the end record. 1 when usable.
static int ReadBeamGeometry(const CClassPElem& elems, unsigned int elem, double axes[3][3], double& L) {
    T_PELEM_D rec;
    if (!elems.Get(elem, rec) || !(rec.type == 201 || rec.type == 205) || rec.nNode < 2) return 0;
    CDataBase* pDB = elems.GetDB();
    CClassPNode nodes;
    nodes.ConnectToDB(pDB);
    T_PNODE_D ni, nj;
    if (!nodes.Get(rec.node[0], ni) || !nodes.Get(rec.node[1], nj)) return 0;
    const double ci[3] = {ni.x, ni.y, ni.z}, cj[3] = {nj.x, nj.y, nj.z};
    if (!CClassPElem::calcFrameLocalVector(ci, cj, rec.beta, axes)) return 0;
    L = elems.calcLAVElem(elem, 0, 0);
    return 1;
}

int CBeamDiagram_PVX::MakeBeamDispl(unsigned int elem, T_DISP_D dispI, T_DISP_D dispJ, int nDiv, int /*option*/,
                                    double factor, double displPerLength) {
    InitBeamDispl();
    if (nDiv < 1 || nDiv > MAX_DIV) return 0;
    double axes[3][3] = {};
    double L = 0.0;
    if (!ReadBeamGeometry(m_elem, elem, axes, L)) return 0;
    std::memcpy(m_ex, axes[0], sizeof(m_ex));
    std::memcpy(m_ey, axes[1], sizeof(m_ey));
    std::memcpy(m_ez, axes[2], sizeof(m_ez));
    // The host's end record of the member: a member without one has no rigid end zones.
    m_cfmoDispl.Initialize();
    if (CDBDoc::m_pDBDoc && CDBDoc::m_pDBDoc->GetPostCtrl())
        CDBDoc::m_pDBDoc->GetPostCtrl()->GetCfmoMemb(m_memb.GetMembKeyByElemKey(elem), m_cfmoDispl);
    const T_CFMO_D& c = m_cfmoDispl;
    m_dLen[0] = m_dLen[1] = L;
    m_dLen[2] = L - (c.ri2 + c.rj2);
    m_dLen[3] = L - (c.ri3 + c.rj3);
    if (L <= kMinLen || m_dLen[2] <= kMinLen || m_dLen[3] <= kMinLen) return 0;

    const int n = BuildStations(nDiv);
    const double rotI[3] = {dispI.RX, dispI.RY, dispI.RZ}, rotJ[3] = {dispJ.RX, dispJ.RY, dispJ.RZ};
    const double tyI = Dot(m_ey, rotI), tzI = Dot(m_ez, rotI), tyJ = Dot(m_ey, rotJ), tzJ = Dot(m_ez, rotJ);
    double* D2 = m_dDispl[2];
    double* D3 = m_dDispl[3];
    // Rigid end zones turn with their end: deflection = sin(rotation) x distance from the end,
    // in displacement units.
    const double u = displPerLength;
    for (int k = 0; k < n; ++k) {
        const double x = m_arrDist[k];
        if (x <= c.ri2) D2[k] = std::sin(tzI) * x * u;
        if (x <= c.ri3) D3[k] = -std::sin(tyI) * x * u;
        if (x >= L - c.rj2) D2[k] = -std::sin(tzJ) * (L - x) * u;
        if (x >= L - c.rj3) D3[k] = std::sin(tyJ) * (L - x) * u;
    }
    const double dI[3] = {dispI.DX, dispI.DY, dispI.DZ}, dJ[3] = {dispJ.DX, dispJ.DY, dispJ.DZ};
    const double uI = Dot(m_ex, dI), vI = Dot(m_ey, dI), wI = Dot(m_ez, dI);
    const double uJ = Dot(m_ex, dJ), vJ = Dot(m_ey, dJ), wJ = Dot(m_ez, dJ);
    for (int k = 0; k < n; ++k) {
        if (k <= m_nStart[2]) D2[k] += vI;
        if (k >= m_nEnd[2]) D2[k] += vJ;
        if (k <= m_nStart[3]) D3[k] += wI;
        if (k >= m_nEnd[3]) D3[k] += wJ;
    }
    // Flexible span: cubic Hermite curve over the station number. Its slope at an end is
    // T sin(rotation) / span per unit parameter, so a tangent length of the span's own length
    // (in displacement units) gives the true end slopes; factor scales it.
    for (int d = 2; d <= 3; ++d) {
        double* D = m_dDispl[d];
        const int s0 = m_nStart[d], N = m_nCount[d];
        if (N < 1) continue;  // a span of one station keeps its end values
        const double T = m_dLen[d] * u * factor;
        const double g0 = D[s0], g1 = D[m_nEnd[d]];
        const double t0 = d == 2 ? T * std::sin(tzI) : -T * std::sin(tyI);
        const double t1 = d == 2 ? T * std::sin(tzJ) : -T * std::sin(tyJ);
        const double C0 = 2.0 * g0 - 2.0 * g1 + t0 + t1;
        const double C1 = -3.0 * g0 + 3.0 * g1 - 2.0 * t0 - t1;
        const double C2 = t0, C3 = g0;
        for (int s = 0; s <= N; ++s) {
            const double t = double(s) / double(N);
            D[s0 + s] = ((C0 * t + C1) * t + C2) * t + C3;
        }
    }
    for (int k = 0; k < n; ++k) {
        if (std::fabs(D2[k]) < kDiagramTiny) D2[k] = 0.0;
        if (std::fabs(D3[k]) < kDiagramTiny) D3[k] = 0.0;
        const double axial = uI + (m_arrDist[k] / L) * (uJ - uI);
        for (int i = 0; i < 3; ++i) m_dGlobal[k][i] = axial * m_ex[i] + D2[k] * m_ey[i] + D3[k] * m_ez[i];
    }
    return 1;
}

int CBeamDiagram_PVX::MakeBeamDispl(unsigned int elem, T_PLCOM_D& lcom, int nDiv, int /*option*/) {
    if (CClassPLcom::IsMaxMinComb(lcom)) {
        AfxMessageBox(CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Exact_Beam_Diagram_cannot_be_calculated_when_", 0), MB_OK, 0);
        return 0;
    }
    InitBeamDispl();
    if (nDiv < 1 || nDiv > MAX_DIV) return 0;
    double axes[3][3] = {};
    double L = 0.0;
    if (!ReadBeamGeometry(m_elem, elem, axes, L)) return 0;
    std::memcpy(m_ex, axes[0], sizeof(m_ex));
    std::memcpy(m_ey, axes[1], sizeof(m_ey));
    std::memcpy(m_ez, axes[2], sizeof(m_ez));
    m_cfmoDispl.Initialize();
    MakeCfmo(m_memb.GetMembKeyByElemKey(elem), m_cfmoDispl);
    m_cfmoDispl.ri2 = m_cfmoDispl.rj2 = m_cfmoDispl.ri3 = m_cfmoDispl.rj3 = 0.0;
    m_dLen[0] = m_dLen[1] = m_dLen[2] = m_dLen[3] = L;
    if (L <= kMinLen) return 0;
    BuildStations(nDiv);
    for (int d = 2; d <= 3; ++d)
        for (int k = 0; k < m_nCount[d]; ++k)
            m_arrRelDist[d].Add(m_arrDist[m_nStart[d] + k] - m_arrDist[m_nStart[d]]);
    // The host's selected load stays as it is: this form computes no deflection, so changing
    // the selection would only redirect every later result query.
    return 0;
}

void CBeamDiagram_PVX::SetMaterial(double E, double nu) {
    m_dE = E;
    m_dNu = nu;
    m_dG = (1.0 + nu) != 0.0 ? E / (2.0 * (1.0 + nu)) : 0.0;
}

// Adds scale x integral over [a, b] of w(t) green(x, t, Ld) dt (w linear from w1 to w2) at the
// flexible-span stations of direction d; a == b with w2 unused means a point load of w1.
void CBeamDiagram_PVX::AddDeflection(int d, double (*green)(double, double, double), double a, double b, double w1,
                                     double w2, double scale) {
    if (d < 1 || d > 3) return;
    const double Ld = m_dLen[d];
    if (Ld <= kMinLen) return;
    const bool point = (b == a);
    // Three-point Gauss rule: exact for the polynomials of degree up to five met here.
    static const double gx[3] = {-0.7745966692414834, 0.0, 0.7745966692414834};
    static const double gw[3] = {5.0 / 9.0, 8.0 / 9.0, 5.0 / 9.0};
    auto load = [&](double t) { return (b != a) ? w1 + (w2 - w1) * (t - a) / (b - a) : w1; };
    auto integrate = [&](double x, double lo, double hi) {
        if (hi <= lo) return 0.0;
        double h = 0.5 * (hi - lo), m = 0.5 * (hi + lo), sum = 0.0;
        for (int i = 0; i < 3; ++i) {
            double t = m + h * gx[i];
            sum += gw[i] * load(t) * green(x, t, Ld);
        }
        return sum * h;
    };
    for (int k = 0; k < m_arrRelDist[d].GetSize() && m_nStart[d] + k < MAX_STATION; ++k) {
        const double x = m_arrRelDist[d][k];
        double v;
        if (point) {
            if (a < 0.0 || a > Ld) return;
            v = w1 * green(x, a, Ld);
        } else {
            double lo = a < 0.0 ? 0.0 : a, hi = b > Ld ? Ld : b;
            v = integrate(x, lo, x < hi ? x : hi) + integrate(x, x > lo ? x : lo, hi);
        }
        m_dDispl[d][m_nStart[d] + k] += scale * v;
    }
}

void CBeamDiagram_PVX::calc_displ(int d, int kind, double p1, double p2, double p3, double p4) {
    switch (kind) {
    case 1: calc_ConForce_d(d, p1, p2); break;
    case 2: calc_ConMoment_d(d, p1, p2); break;
    case 3: calc_DistForce_d(d, p1, p2, p3, p4); break;
    case 4: calc_DistMoment_d(d, p1, p2, p3, p4); break;
    default: break;
    }
}

void CBeamDiagram_PVX::calc_ShearDispl(int d, int kind, double p1, double p2, double p3, double p4) {
    if (kind == 1) calc_ConShear_d(d, p1, p2);
    else if (kind == 3) calc_DistShear_d(d, p1, p2, p3, p4);
}

static double InvStiff(double a, double b) { return (a * b != 0.0) ? 1.0 / (a * b) : 0.0; }

// Bending (1/EI) and shear (1/GAs) flexibility of direction d; 0 for a bad direction or a
// missing stiffness, which adds nothing.
double CBeamDiagram_PVX::BendingFlex(int d) const { return (d < 1 || d > 3) ? 0.0 : InvStiff(m_dE, m_dI[d]); }
double CBeamDiagram_PVX::ShearFlex(int d) const { return (d < 1 || d > 3) ? 0.0 : InvStiff(m_dG, m_dAs[d]); }

void CBeamDiagram_PVX::calc_ConForce_d(int d, double a, double P) {
    const double f = BendingFlex(d);
    if (f == 0.0) return;
    AddDeflection(d, GreenForce, a, a, P, P, f);
}

void CBeamDiagram_PVX::calc_ConMoment_d(int d, double a, double M0) {
    const double f = BendingFlex(d);
    if (f == 0.0) return;
    AddDeflection(d, GreenMoment, a, a, M0, M0, f);
}

void CBeamDiagram_PVX::calc_UniFrc_d(int d, double a, double b, double w) {
    const double f = BendingFlex(d);
    if (f == 0.0 || b <= a) return;
    AddDeflection(d, GreenForce, a, b, w, w, f);
}

void CBeamDiagram_PVX::calc_GrowDownFrc_d(int d, double a, double b, double w) {
    const double f = BendingFlex(d);
    if (f == 0.0 || b <= a) return;
    AddDeflection(d, GreenForce, a, b, w, 0.0, f);
}

void CBeamDiagram_PVX::calc_GrowUpFrc_d(int d, double a, double b, double w) {
    const double f = BendingFlex(d);
    if (f == 0.0 || b <= a) return;
    AddDeflection(d, GreenForce, a, b, 0.0, w, f);
}

void CBeamDiagram_PVX::calc_DistForce_d(int d, double a, double w1, double b, double w2) {
    if (b <= a) return;
    if (w1 == w2) {
        calc_UniFrc_d(d, a, b, w1);
    } else if (w1 * w2 < 0.0) {
        const double k = (w2 - w1) / (b - a);
        const double c = a - w1 / k;
        calc_GrowDownFrc_d(d, a, c, w1);
        calc_GrowUpFrc_d(d, c, b, w2);
    } else if (std::fabs(w2) > std::fabs(w1)) {
        if (w1 == 0.0) {
            calc_GrowUpFrc_d(d, a, b, w2);
        } else {
            calc_UniFrc_d(d, a, b, w1);
            calc_GrowUpFrc_d(d, a, b, w2 - w1);
        }
    } else {
        if (w2 == 0.0) {
            calc_GrowDownFrc_d(d, a, b, w1);
        } else {
            calc_UniFrc_d(d, a, b, w2);
            calc_GrowDownFrc_d(d, a, b, w1 - w2);
        }
    }
}

void CBeamDiagram_PVX::calc_UniMnt_d(int d, double a, double b, double w) {
    const double f = BendingFlex(d);
    if (w == 0.0 || f == 0.0 || b <= a) return;
    AddDeflection(d, GreenMoment, a, b, w, w, f);
}

void CBeamDiagram_PVX::calc_DeclinedMnt_d(int d, double a, double b, double w) {
    const double f = BendingFlex(d);
    if (w == 0.0 || f == 0.0 || b <= a) return;
    AddDeflection(d, GreenMoment, a, b, 0.0, w, f);
}

void CBeamDiagram_PVX::calc_DistMoment_d(int d, double a, double w1, double b, double w2) {
    calc_UniMnt_d(d, a, b, w1);
    if (w2 != w1) calc_DeclinedMnt_d(d, a, b, w2 - w1);
}

void CBeamDiagram_PVX::calc_ConShear_d(int d, double a, double P) {
    const double f = ShearFlex(d);
    if (f == 0.0) return;
    AddDeflection(d, ShearForce, a, a, P, P, f);
}

void CBeamDiagram_PVX::calc_UniShear_d(int d, double a, double b, double w) {
    const double f = ShearFlex(d);
    if (f == 0.0 || b <= a) return;
    AddDeflection(d, ShearForce, a, b, w, w, f);
}

void CBeamDiagram_PVX::calc_DeclinedShear_d(int d, double a, double b, double w) {
    const double f = ShearFlex(d);
    if (f == 0.0 || b <= a) return;
    AddDeflection(d, ShearForce, a, b, 0.0, w, f);
}

void CBeamDiagram_PVX::calc_DistShear_d(int d, double a, double w1, double b, double w2) {
    calc_UniShear_d(d, a, b, w1);
    if (w2 != w1) calc_DeclinedShear_d(d, a, b, w2 - w1);
}

// ---- Shear force and bending moment by segments ----

static bool SegOk(int s, int d) { return s >= 0 && s < CBeamDiagram_PVX::MAX_SEGMENT && d >= 0 && d <= 3; }

void CBeamDiagram_PVX::ConForce(int s, double P, int d) {
    if (SegOk(s, d)) m_coef[s][d][2] += P;
}

void CBeamDiagram_PVX::ConMoment(int s, double M, int d) {
    if (SegOk(s, d)) m_coef[s][d][3] -= M;
}

void CBeamDiagram_PVX::DistEQ(int s, double w, int d, int kind) {
    if (!SegOk(s, d)) return;
    if (kind == 3) m_coef[s][d][1] += w / 2.0;
    else if (kind == 4) m_coef[s][d][5] += w;
}

// Length of segment s of direction d; 0 when the boundaries do not define it.
static double SegLen(const CArray<double, double>& b, int s) {
    return (s + 1 < b.GetSize()) ? b[s + 1] - b[s] : 0.0;
}

void CBeamDiagram_PVX::DistNEQ_Inc(int s, double w, int d, int kind) {
    if (!SegOk(s, d)) return;
    const double Ls = SegLen(m_arrBound[d], s);
    if (Ls <= 0.0) return;  // no segment length to spread the load over
    if (kind == 3) m_coef[s][d][0] += w / (6.0 * Ls);
    else if (kind == 4) m_coef[s][d][4] += w / (2.0 * Ls);
}

void CBeamDiagram_PVX::DistNEQ_Dec(int s, double w, int d, int kind) {
    if (!SegOk(s, d)) return;
    const double Ls = SegLen(m_arrBound[d], s);
    if (Ls <= 0.0) return;
    if (kind == 3) {
        m_coef[s][d][0] -= w / (6.0 * Ls);
        m_coef[s][d][1] += w / 2.0;
    } else if (kind == 4) {
        m_coef[s][d][4] -= w / (2.0 * Ls);
        m_coef[s][d][5] += w;
    }
}

static double Clean(double v) { return std::fabs(v) < kDiagramTiny ? 0.0 : v; }

void CBeamDiagram_PVX::CalcSFBMonPoint(int s, int d, double xi, double out[2]) const {
    const double* c = m_coef[s][d];
    out[0] = Clean(3.0 * c[0] * xi * xi + 2.0 * c[1] * xi + c[2]);
    out[1] = Clean(((c[0] * xi + (c[1] + c[4])) * xi + (c[2] + c[5])) * xi + c[3]);
}

void CBeamDiagram_PVX::CalcSFBMonPointLX(int s, double xi, double out[2]) const {
    const double* c = m_coef[s][1];
    out[0] = Clean(3.0 * c[0] * xi * xi + 2.0 * c[1] * xi + c[2]);
    out[1] = Clean((c[4] * xi + c[5]) * xi + c[3]);
}

void CBeamDiagram_PVX::CalcSFBMDetail(int d) {
    if (d < 0 || d > 3) return;
    const CArray<double, double>& b = m_arrBound[d];
    const int B = static_cast<int>(b.GetSize());
    if (B - 1 < 1) return;
    const int nSeg = (B - 1 < MAX_SEGMENT) ? B - 1 : MAX_SEGMENT;
    double prevEnd[2] = {0.0, 0.0};
    for (int s = 0; s < nSeg; ++s) {
        if (s > 0) {
            m_coef[s][d][2] += prevEnd[0];
            m_coef[s][d][3] += prevEnd[1];
        }
        const double Ls = b[s + 1] - b[s];
        const double xi[3] = {0.0, Ls / 2.0, Ls};
        for (int i = 0; i < 3; ++i) {
            double v[2];
            if (d == 1) CalcSFBMonPointLX(s, xi[i], v);
            else CalcSFBMonPoint(s, d, xi[i], v);
            m_arrSFBM[d][i].Add(v[0]);
            m_arrSFBM[d][3 + i].Add(v[1]);
            m_arrSFBM[d][6 + i].Add(b[s] + xi[i]);
            if (i == 2) {
                prevEnd[0] = v[0];
                prevEnd[1] = v[1];
            }
        }
    }
}

void CBeamDiagram_PVX::InitBeamSFBM() {
    for (int d = 1; d <= 3; ++d) {
        m_arrBound[d].RemoveAll();
        for (auto& a : m_arrSFBM[d]) a.RemoveAll();
    }
    // Every segment, the first included: a stale first segment would carry the previous
    // build's loads into the next.
    std::memset(m_coef, 0, sizeof(m_coef));
}

double CBeamDiagram_PVX::interpolate(double x0, double x1, double y0, double y1, double x) {
    if (x1 == x0) return y0;  // coincident boundaries: no slope to follow
    return y0 + (x - x0) * (y1 - y0) / (x1 - x0);
}

// ---- Section stresses ----

void CBeamDiagram_PVX::SetSetStressData(CArray<double, double> cols[9]) {
    const int n = static_cast<int>(cols[0].GetSize());
    delete[] m_pStress;
    m_pStress = n > 0 ? new double[size_t(n) * 9] : nullptr;
    m_nStressRow = n;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < 9; ++j) m_pStress[i * 9 + j] = i < cols[j].GetSize() ? cols[j][i] : 0.0;
}

int CBeamDiagram_PVX::GetSectStrsByPos_Sub(int kind, const int switches[6], double* out, const double forces[6]) const {
    double F[6];
    for (int i = 0; i < 6; ++i) F[i] = switches[i] ? forces[i] : 0.0;
    for (int r = 0; r < m_nStressRow; ++r) {
        const double* k = m_pStress + r * 9;
        const double s = k[0] * F[0] - k[7] * F[4] + k[8] * F[5];
        const double t1 = k[1] * F[1] + k[3] * F[2] + k[5] * F[3];
        const double t2 = k[2] * F[1] + k[4] * F[2] + k[6] * F[3];
        const double root = std::sqrt(s * s + 4.0 * (t1 * t1 + t2 * t2));
        const double p1 = (s + root) / 2.0, p2 = (s - root) / 2.0;
        double v = 0.0;
        switch (kind) {
        case 0: v = s; break;
        case 1: v = t1; break;
        case 2: v = t2; break;
        case 3: v = std::sqrt(((p1 - p2) * (p1 - p2) + p1 * p1 + p2 * p2) / 2.0); break;
        case 4: v = 0.5 * root; break;
        case 5: v = p1; break;
        case 6: v = p2; break;
        default: v = 0.0; break;
        }
        out[r] = v;
    }
    return m_nStressRow;
}

int CBeamDiagram_PVX::GetMaxStress(double out[2], const double* values, int n) {
    if (n < 1 || !values) return 0;
    out[0] = out[1] = values[0];
    for (int i = 1; i < n; ++i) {
        if (values[i] > out[0]) out[0] = values[i];
        if (values[i] < out[1]) out[1] = values[i];
    }
    return 1;
}

// ---- Builders for a load combination ----

static int RefuseEnvelope(const T_PLCOM_D& lcom) {
    if (!CClassPLcom::IsMaxMinComb(lcom)) return 0;
    AfxMessageBox(CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Exact_Beam_Diagram_cannot_be_calculated_when_", 0), MB_OK, 0);
    return 1;
}

int CBeamDiagram_PVX::MakeBeamSFBM(unsigned int elem, T_PLCOM_D& lcom, int /*nDiv*/) {
    if (RefuseEnvelope(lcom)) return 0;
    InitBeamSFBM();
    double axes[3][3] = {};
    double L = 0.0;
    if (!ReadBeamGeometry(m_elem, elem, axes, L)) return 0;
    T_PLCOM_D stat, dyn;
    GetStaticLcom(lcom, stat);
    GetDynamicLcom(lcom, dyn);
    T_CFMO_D c;
    c.Initialize();
    MakeCfmo(m_memb.GetMembKeyByElemKey(elem), c);
    // No member forces are computed here, and the host's selected load is left as it is so
    // that later result queries still read the load the user chose.
    return 0;
}

int CBeamDiagram_PVX::SetBeamDiagram(unsigned int elem, T_PLCOM_D& lcom, int n, int option) {
    if (RefuseEnvelope(lcom)) return 0;
    if (!MakeBeamSFBM(elem, lcom, 2 * n)) return 0;
    return MakeBeamDispl(elem, lcom, 2 * n, option) != 0;
}

int CBeamDiagram_PVX::SetBeamDiagram_Line(CArray<unsigned int, unsigned int>& elems, T_PLCOM_D& lcom,
                                          double spacing, int option) {
    if (RefuseEnvelope(lcom)) return 0;
    if (!(spacing > 0.0)) return 0;  // no division length to cut the elements by
    for (INT_PTR i = 0; i < elems.GetSize(); ++i) {
        const double len = m_elem.calcLAVElem(elems[i], 0, 0);
        int nDiv = static_cast<int>(len * 20.0 / spacing);
        if (nDiv < 1) nDiv = 1;
        nDiv *= 2;
        if (!MakeBeamSFBM(elems[i], lcom, nDiv)) return 0;
        if (!MakeBeamDispl(elems[i], lcom, nDiv, option)) return 0;
    }
    return 0;
}

// ---- Material and section constants ----

T_PSECT_STIFFNESS* CBeamDiagram_PVX::GetProperStiffness(T_PSECT_D& sect, T_PMATL_D matl, int /*option*/) {
    SetMaterial(matl.E, matl.nu);
    switch (sect.type) {
    case 1:
    case 3:
    case 8:
        m_stiff = sect.stiff[0];
        break;
    case 5:
        m_stiff = sect.stiff[0];
        for (int i = 0; i < 6; ++i) m_stiff.d[i] = (sect.stiff[0].d[i] + sect.stiff[1].d[i]) / 2.0;
        break;
    default:
        m_stiff = sect.stiff[2];
        break;
    }
    return &m_stiff;
}

int CBeamDiagram_PVX::SetProperties(unsigned int elem, int option) {
    T_PELEM_D rec;
    if (!m_elem.Get(elem, rec)) return 0;
    CClassPMatl matls;
    CClassPSect sects;
    matls.ConnectToDB(m_elem.GetDB());
    sects.ConnectToDB(m_elem.GetDB());
    T_PMATL_D matl;
    T_PSECT_D sect;
    if (!matls.Get(rec.matl, matl) || !sects.Get(rec.sect, sect)) return 0;
    const T_PSECT_STIFFNESS* st = GetProperStiffness(sect, matl, option);
    m_dI[2] = st->d[5];
    m_dI[3] = st->d[4];
    m_dAs[2] = st->d[1];
    m_dAs[3] = st->d[2];
    return 1;
}

// ---- Element forces from the segment lists ----

int CBeamDiagram_PVX::SFBMAt(int d, double pos, int side, double out[2]) const {
    out[0] = out[1] = 0.0;
    const CArray<double, double>* L = m_arrSFBM[d];
    const INT_PTR n = L[6].GetSize();
    for (INT_PTR s = 0; s < n; ++s) {
        const double x0 = L[6][s], xm = L[7][s], x1 = L[8][s];
        if (pos < x0 - kDiagramTiny || pos > x1 + kDiagramTiny) continue;
        if (side < 0 && std::fabs(pos - x0) < kDiagramTiny && s > 0) continue;   // belongs to the segment before
        if (side > 0 && std::fabs(pos - x1) < kDiagramTiny && s + 1 < n) continue;  // belongs to the segment after
        for (int g = 0; g < 2; ++g) {
            const CArray<double, double>& a = L[g * 3];
            const CArray<double, double>& m = L[g * 3 + 1];
            const CArray<double, double>& b = L[g * 3 + 2];
            out[g] = pos <= xm ? interpolate(x0, xm, a[s], m[s], pos) : interpolate(xm, x1, m[s], b[s], pos);
        }
        return 1;
    }
    return 0;
}

static void ComposeForces(const double v1[2], const double v2[2], const double v3[2], double out[6]) {
    out[0] = v1[0];  // axial force: the shear slot of direction 1
    out[1] = v2[0];
    out[2] = v3[0];
    out[3] = v1[1];  // torsion: the moment slot of direction 1
    out[4] = v3[1];  // bending in local z is about local y
    out[5] = v2[1];
}

void CBeamDiagram_PVX::GetElemForce(double pos, double out[6]) const {
    double v[4][2];
    for (int d = 1; d <= 3; ++d) SFBMAt(d, pos, 0, v[d]);
    ComposeForces(v[1], v[2], v[3], out);
}

void CBeamDiagram_PVX::GetElemForce2(double pos, double left[6], double right[6]) const {
    double l[4][2], r[4][2];
    for (int d = 1; d <= 3; ++d) {
        SFBMAt(d, pos, -1, l[d]);
        SFBMAt(d, pos, 1, r[d]);
    }
    ComposeForces(l[1], l[2], l[3], left);
    ComposeForces(r[1], r[2], r[3], right);
}

int CBeamDiagram_PVX::GetSectStrsByPos(double pos, int kind, const int switches[6], double* out,
                                       double forces[6]) const {
    GetElemForce(pos, forces);
    return GetSectStrsByPos_Sub(kind, switches, out, forces);
}

int CBeamDiagram_PVX::MakeBeamMaxStress(int kind, const int switches[6]) {
    m_arrStressRow.RemoveAll();
    const double L = m_dLen[1];
    CArray<double, double> pos;
    for (int d = 1; d <= 3; ++d) {
        const CArray<double, double>& starts = m_arrSFBM[d][6];
        for (INT_PTR s = 0; s < starts.GetSize(); ++s) pos.Add(starts[s]);
        if (m_arrSFBM[d][8].GetSize() > 0) pos.Add(m_arrSFBM[d][8][m_arrSFBM[d][8].GetSize() - 1]);
    }
    if (pos.GetSize() == 0) return 0;
    for (INT_PTR i = 0; i < pos.GetSize(); ++i)
        if (L > 0.0 && pos[i] > L) pos[i] = L;
    std::qsort(pos.GetData(), size_t(pos.GetSize()), sizeof(double), Compare_Dist);
    std::vector<double> values(size_t(m_nStressRow > 0 ? m_nStressRow : 1));
    auto extremes = [&](const double F[6], double& mx, double& mn) {
        const int n = GetSectStrsByPos_Sub(kind, switches, values.data(), F);
        double mm[2] = {0.0, 0.0};
        GetMaxStress(mm, values.data(), n);
        mx = mm[0];
        mn = mm[1];
    };
    double prev = pos[0];
    for (INT_PTR i = 1; i < pos.GetSize(); ++i) {
        const double x = pos[i];
        if (x - prev < kDiagramTiny) continue;  // the same position as the previous one
        StressRow mid{};
        mid.pos = (prev + x) / 2.0;
        double F[6];
        GetElemForce(mid.pos, F);
        extremes(F, mid.v[0], mid.v[1]);
        mid.v[2] = mid.v[0];
        mid.v[3] = mid.v[1];
        m_arrStressRow.Add(mid);
        StressRow at{};
        at.pos = x;
        double left[6], right[6];
        GetElemForce2(x, left, right);
        extremes(left, at.v[0], at.v[1]);
        extremes(right, at.v[2], at.v[3]);
        m_arrStressRow.Add(at);
        prev = x;
    }
    return static_cast<int>(m_arrStressRow.GetSize());
}

int CBeamDiagram_PVX::SetBeamSect_ForStress(unsigned int elem, int /*option*/, int n, double* /*points*/,
                                            int /*flag*/, int* /*ids*/) {
    T_PELEM_D rec;
    if (n < 0 || !m_elem.Get(elem, rec) || !(rec.type == 201 || rec.type == 205)) return 0;
    CClassPMatl matls;
    CClassPSect sects;
    matls.ConnectToDB(m_elem.GetDB());
    sects.ConnectToDB(m_elem.GetDB());
    T_PMATL_D matl;
    T_PSECT_D sect;
    if (!matls.Get(rec.matl, matl) || !sects.Get(rec.sect, sect)) return 0;
    delete[] m_pStress;
    m_pStress = n > 0 ? new double[size_t(n) * 9]() : nullptr;
    m_nStressRow = n;
    return 1;
}
