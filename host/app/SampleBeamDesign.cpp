#include "host/app/SampleBeamDesign.h"

#include <algorithm>
#include <cmath>

#include "host/app/SampleProject.h"
#include "host/check/BeamDesignTables.h"
#include "host/check/IDesignToolUtil.h"
#include "host/db/CDataBase.h"
#include "host/db/DBTables.h"

namespace sample_beamdesign {

namespace {

// Section and materials: C30 concrete, HRB400 steel; a link beam is the annex tie's 250 x 600.
constexpr double kB = 300.0, kH = 500.0, kLinkB = 250.0, kLinkH = 600.0;  // mm
constexpr double kAs = 40.0;                                             // mm, face to steel centre
constexpr double kFy = 360.0, kFt = 1.43, kFtk = 2.01;                    // N/mm2
constexpr double kEs = 2.0e5;                                            // N/mm2
constexpr double kCs = 30.0, kDeq = 20.0;                                // mm, cover and bar diameter
constexpr double kPsiQ = 0.5;                                            // quasi-permanent share of LL
constexpr int kStation[3] = {0, 4, 8};                                   // start, middle, end

struct Section {
    double b, h, h0;
};

// Longitudinal steel for a moment (kN.m) taking tension on one face: M / (0.9 fy h0), at least
// 0.2 % of b h; over 2.5 % of b h0 the section cannot take it: 100000 and the flag.
double Longitudinal(double m, const Section& s, int& over) {
    const double need = std::max(m, 0.0) * 1e6 / (0.9 * kFy * s.h0);
    if (need > 0.025 * s.b * s.h0) {
        over = 1;
        return 100000.0;
    }
    return std::max(need, 0.002 * s.b * s.h);
}

// The five values of a section under one combination's station forces.
S_BEAMREBARAS Design(const LOAD_DATA& f, const Section& s, int& over) {
    const double m = f.d[3], v = std::fabs(f.d[1]), t = std::fabs(f.d[2]);
    const double acor = (s.b - 2 * kAs) * (s.h - 2 * kAs);
    S_BEAMREBARAS r;
    r.d[0] = Longitudinal(-m, s, over);  // top: hogging
    r.d[1] = Longitudinal(m, s, over);   // bottom: sagging
    // Stirrups per 100 mm: (V - 0.7 ft b h0) / (fy h0), at least 0.24 ft / fy x b.
    r.d[2] = 100.0 * std::max(0.24 * kFt / kFy * s.b, (v * 1e3 - 0.7 * kFt * s.b * s.h0) / (kFy * s.h0));
    // Side bars per face of a web of 450 mm and more: 0.1 % of b h0.
    r.d[3] = s.h0 >= 450.0 ? 0.001 * s.b * s.h0 : 0.0;
    // Torsion stirrup, one leg per 100 mm: T / (2 Acor fy).
    r.d[4] = 100.0 * t * 1e6 / (2.0 * acor * kFy);
    return r;
}

// Crack width (m, negative on the top face) of a moment Mq (kN.m) on the steel As (mm2):
// w = 1.9 psi sigma / Es (1.9 cs + 0.08 deq / rho), sigma = Mq / (0.87 h0 As),
// rho = As / (0.5 b h) at least 0.01, psi = 1.1 - 0.65 ftk / (rho sigma) within 0.2 .. 1.0.
double CrackWidth(double mq, double as, const Section& s) {
    const double sigma = std::fabs(mq) * 1e6 / (0.87 * s.h0 * as);
    if (sigma <= 0.0) return 0.0;
    const double rho = std::max(0.01, as / (0.5 * s.b * s.h));
    const double psi = std::clamp(1.1 - 0.65 * kFtk / (rho * sigma), 0.2, 1.0);
    const double w = 1.9 * psi * sigma / kEs * (1.9 * kCs + 0.08 * kDeq / rho);
    return (mq < 0.0 ? -w : w) / 1000.0;
}

}  // namespace

long AddBeamDesign(CDataBase& db) {
    CClassLdgp groups;
    groups.ConnectToDB(&db);
    CArray<UINT, UINT> combs;
    groups.GetDesignUseLoadComb(combs, 1);
    long rows = 0;
    auto& membs = db.Table<DBT_PMEMB>();
    for (UINT key : membs.Keys()) {
        const T_PMEMB_D& m = *membs.Find(key);
        if (m.type != 201 || m.subKind < 0 || m.subKind > 2) continue;
        const T_BEAM_D* beam = db.Table<DBT_BEAM>().Find(m.modelKey);
        const bool link = beam && beam->link == 1 && m.subKind != 2;
        const double b = link ? kLinkB : kB, h = link ? kLinkH : kH;
        const Section sec{b, h, h - kAs};
        T_PDDBEAM_D rec;
        rec.b = b;
        rec.h = h;
        rec.as = kAs;
        rec.fy = kFy;
        rec.ft = kFt;
        rec.ftk = kFtk;
        int over = 0;
        for (INT_PTR c = 0; c < combs.GetSize(); ++c) {
            CHECK_LOAD_ARRAY f, unused;
            if (!IDesignToolUtil::s_GetBeamDesignForce(key, combs[c], f, unused, &db) || f.GetSize() != 9) continue;
            double tmax = 0.0;
            for (int s = 0; s < 3; ++s) {
                S_BEAMREBARAS r = Design(f[kStation[s]], sec, over);
                rec.m_mapAs[s][combs[c]] = r;
            }
            for (INT_PTR i = 0; i < f.GetSize(); ++i) tmax = std::max(tmax, std::fabs(f[i].d[2]));
            // Torsion longitudinal steel: T ucor / (2 Acor fy).
            if (tmax > 0.0) {
                const double ucor = 2.0 * ((b - 2 * kAs) + (h - 2 * kAs)), acor = (b - 2 * kAs) * (h - 2 * kAs);
                rec.m_mapExtra[combs[c]] = tmax * 1e6 * ucor / (2.0 * acor * kFy);
            }
        }
        if (rec.m_mapAs[0].GetCount() == 0) continue;
        rec.m_nOver = static_cast<UINT>(over);
        // Crack widths under the settlement group's service loads, quasi-permanent: DL + 0.5 LL,
        // on the steel of the face in tension (the largest over the design combinations).
        CHECK_LOAD_ARRAY dl, ll, unused;
        if (IDesignToolUtil::s_GetBeamDesignForce(key, SAMPLE_LC_DL, dl, unused, &db) &&
            IDesignToolUtil::s_GetBeamDesignForce(key, SAMPLE_LC_LL, ll, unused, &db) && dl.GetSize() == 9 &&
            ll.GetSize() == 9) {
            for (int s = 0; s < 3; ++s) {
                const double mq = dl[kStation[s]].d[3] + kPsiQ * ll[kStation[s]].d[3];
                S_BEAMREBARAS env;
                T_PDDBEAM_D::FindData(0, rec.m_mapAs[s], env);
                const double as = mq < 0.0 ? env.d[0] : env.d[1];
                if (as >= 100000.0) continue;  // no steel to crack
                rec.m_mapCrack[s][SAMPLE_LDGP_SETTLE] = CrackWidth(mq, as, sec);
            }
        }
        db.Table<DBT_PDDBEAM>().Set(key, DesignRows::Encode(rec));
        ++rows;
    }
    return rows;
}

}  // namespace sample_beamdesign
