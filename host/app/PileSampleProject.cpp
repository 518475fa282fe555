#include "host/app/PileSampleProject.h"

#include <algorithm>
#include <cmath>

#include "host/db/DBField.h"
#include "host/db/DBRecords.h"

namespace {

constexpr double kSpacing = 2.4;     // m
constexpr double kRaftPileL = 20.0;  // m
constexpr double kRaftPileD = 0.8;   // m
constexpr double kCapacity = 2200;   // kN
constexpr double kRaftQDL = 300.0, kRaftQLL = 80.0;  // kPa over a pile's share of the raft
constexpr UINT kRaftCaseDL = 1, kRaftCaseLL = 2;
constexpr UINT kRaftPileSect = 1, kRaftPispEdge = 1, kRaftPispInner = 2, kRaftFosp = 1;

}  // namespace

CPileSampleProject::CPileSampleProject(long nPiles) : m_nPiles(std::clamp(nPiles, 1L, kMaxPiles)) {}

int CPileSampleProject::GetColumns() const {
    int n = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(m_nPiles))));
    while (static_cast<long>(n) * n < m_nPiles) ++n;
    return n;
}

void CPileSampleProject::Generate(ISampleSink& sink) {
    const int cols = GetColumns();
    const int rows = static_cast<int>((m_nPiles + cols - 1) / cols);
    const double width = kSpacing * std::max(cols - 1, 1);
    sink.AddMaterial(1, "C30", 3.0e7, 0.2, 25.0);
    {
        const double a = std::acos(-1.0) * kRaftPileD * kRaftPileD / 4.0, i = a * kRaftPileD * kRaftPileD / 16.0;
        const double dims[4] = {kRaftPileD, 0.0, 0.0, 0.0};
        const double st[6] = {a, 0.9 * a, 0.9 * a, 2.0 * i, i, i};
        sink.AddSection(kRaftPileSect, 3, "PILE800", dims, st);
    }
    sink.AddLoadCase(kRaftCaseDL, PLOAD_STATIC, "DL");
    sink.AddLoadCase(kRaftCaseLL, PLOAD_STATIC, "LL");

    // Pile p (0-based) at column p % cols, row p / cols: top node 2p + 1, tip node 2p + 2,
    // element, member, model pile and its point all p + 1.
    SampleFoundation f;
    const UINT raft = static_cast<UINT>(m_nPiles) + 1;
    for (long p = 0; p < m_nPiles; ++p) {
        const double x = kSpacing * static_cast<double>(p % cols), y = kSpacing * static_cast<double>(p / cols);
        const UINT key = static_cast<UINT>(p + 1), top = static_cast<UINT>(2 * p + 1), tip = top + 1;
        sink.AddNode(top, x, y, 0.0);
        sink.AddNode(tip, x, y, -kRaftPileL);
        sink.AddElement(key, PELEM_KIND_FRAME, 403, 1, kRaftPileSect, {top, tip});
        sink.AddMember(key, 403, {top, tip}, {key}, kRaftPileL, key);
        sink.AddSupport(tip, PRTND_SUPPORT, 7);
        f.ponts.push_back({key, T_PONT_D{x, y}});
        const long c = p % cols, r = p / cols;
        const bool edge = c == 0 || r == 0 || c == cols - 1 || r == rows - 1 || p + cols >= m_nPiles;
        T_MEMB_D m;
        m.type = MEMB_PILE;
        m.fosp = edge ? kRaftPispEdge : kRaftPispInner;
        m.aPont.Add(key);
        f.membs.push_back({key, m});
        T_PILE_D pile;
        pile.aMemb.Add(raft);
        pile.length = kRaftPileL;
        pile.capacity = kCapacity;
        f.piles.push_back({key, pile});
        f.modelKeys.push_back({key, key});
    }
    // The raft reaches half a spacing beyond the outer piles; its corners follow the piles' points.
    const double e = 0.5 * kSpacing, x1 = kSpacing * (cols - 1) + e, y1 = kSpacing * (rows - 1) + e;
    const T_PONT_D corners[4] = {{-e, -e}, {x1, -e}, {x1, y1}, {-e, y1}};
    T_MEMB_D rm;
    rm.type = MEMB_RAFT;
    rm.fosp = kRaftFosp;
    for (int k = 0; k < 4; ++k) {
        f.ponts.push_back({raft + 1 + k, corners[k]});
        rm.aPont.Add(raft + 1 + k);
    }
    f.membs.push_back({raft, rm});
    f.mtsbs.push_back({raft, T_MTSB_D{1, 0, 1.2}});
    f.fosps.push_back({kRaftFosp, T_FOSP_D{1, 0, 0}});
    f.pisps.push_back({kRaftPispEdge, T_PISP_D{"ZH800-E", kRaftPileD}});
    f.pisps.push_back({kRaftPispInner, T_PISP_D{"ZH800-I", kRaftPileD}});
    struct Group {
        UINT key;
        int kind;
        const char* text;
    };
    for (const Group& g : {Group{101, LDGP_KIND_STANDARD, "1.0DL+1.0LL"}, Group{102, LDGP_KIND_STANDARD, "1.2DL+0.5LL"},
                           Group{103, LDGP_KIND_BASIC, "1.3DL+1.5LL"}}) {
        T_CKLG_D r;
        r.Initialize();
        r.number = static_cast<int>(g.key);
        r.kind = g.kind;
        pvxdb::CopyText(r.sort, sizeof(r.sort), g.text);
        f.cklgs.push_back({g.key, r});
    }
    sink.AddFoundation(f);

    const double share = kSpacing * kSpacing;
    for (long p = 0; p < m_nPiles; ++p) {
        const double x = kSpacing * static_cast<double>(p % cols);
        const UINT tip = static_cast<UINT>(2 * p + 2);
        for (const UINT lc : {kRaftCaseDL, kRaftCaseLL}) {
            const double fz = lc == kRaftCaseDL ? kRaftQDL * share * (0.8 + 0.4 * x / width) : kRaftQLL * share;
            const double r[6] = {0.02 * fz, 0.01 * fz, fz, 0.0, 0.0, 0.0};
            sink.AddReac(lc, tip, r);
        }
    }
}
