#include "host/app/FrameSampleProject.h"

#include <algorithm>
#include <vector>

#include "host/db/DBRecords.h"

namespace {

constexpr double kFrameBay = 6.0;      // bay width, m
constexpr double kFrameStoreyH = 3.6;  // storey height, m
constexpr double kFrameQDL[CFrameSampleProject::kStoreys] = {5.0, 5.0, 4.0};  // floor loads, kN/m2
constexpr double kFrameQLL[CFrameSampleProject::kStoreys] = {2.0, 2.0, 0.5};
constexpr UINT kFrameCaseDL = 1, kFrameCaseLL = 2, kFrameComb = 101;
constexpr UINT kSectColumn = 1, kSectBeam = 2, kSectRoofBeam = 3;

class CFrameGenerator {
public:
    CFrameGenerator(int nBays, ISampleSink& sink) : m_n(nBays), m_sink(sink) {}

    void AddMaterials() { m_sink.AddMaterial(1, "C30", 3.0e7, 0.2, 25.0); }
    void AddSections();
    void AddNodes();
    void AddColumns();
    void AddBeams();
    void AddLoads();
    void AddCaseResults(UINT lc, const double* q);

private:
    struct Beam {
        UINT key;
        int level;
        double trib;  // width of floor the beam carries, m
    };
    int Grid() const { return m_n + 1; }
    // Node of grid point (i, j) on level l (0 the ground).
    UINT Node(int l, int i, int j) const { return static_cast<UINT>(1 + i + Grid() * (j + Grid() * l)); }
    // Half the bay on each side that has one.
    double Trib(int g) const { return (g == 0 || g == m_n) ? 0.5 * kFrameBay : kFrameBay; }
    UINT AddLine(int type, UINT sect, UINT n1, UINT n2, double len);

    const int m_n;
    ISampleSink& m_sink;
    UINT m_nextKey = 1;
    std::vector<UINT> m_columns;   // storey by storey, grid points in row order
    std::vector<Beam> m_beams;
};

void CFrameGenerator::AddSections() {
    auto rect = [&](UINT key, const char* name, double b, double h) {
        const double dims[4] = {b, h, 0.0, 0.0};
        const double a = b * h;
        const double st[6] = {a, a * 5.0 / 6.0, a * 5.0 / 6.0, b * h * (b * b + h * h) / 12.0, b * h * h * h / 12.0,
                              h * b * b * b / 12.0};
        m_sink.AddSection(key, 1, name, dims, st);
    };
    rect(kSectColumn, "COL500x500", 0.5, 0.5);
    rect(kSectBeam, "B300x600", 0.3, 0.6);
    rect(kSectRoofBeam, "B300x500", 0.3, 0.5);
}

void CFrameGenerator::AddNodes() {
    for (int l = 0; l <= CFrameSampleProject::kStoreys; ++l)
        for (int j = 0; j < Grid(); ++j)
            for (int i = 0; i < Grid(); ++i) m_sink.AddNode(Node(l, i, j), kFrameBay * i, kFrameBay * j, kFrameStoreyH * l);
}

UINT CFrameGenerator::AddLine(int type, UINT sect, UINT n1, UINT n2, double len) {
    const UINT key = m_nextKey++;
    m_sink.AddElement(key, PELEM_KIND_FRAME, type, 1, sect, {n1, n2});
    m_sink.AddMember(key, type, {n1, n2}, {key}, len, 0);
    return key;
}

void CFrameGenerator::AddColumns() {
    for (int l = 1; l <= CFrameSampleProject::kStoreys; ++l)
        for (int j = 0; j < Grid(); ++j)
            for (int i = 0; i < Grid(); ++i)
                m_columns.push_back(AddLine(101, kSectColumn, Node(l - 1, i, j), Node(l, i, j), kFrameStoreyH));
    // The ground storey's columns stand on fixed supports: the frame has no foundation members.
    for (int j = 0; j < Grid(); ++j)
        for (int i = 0; i < Grid(); ++i) m_sink.AddSupport(Node(0, i, j), 1, 63);
}

void CFrameGenerator::AddBeams() {
    for (int l = 1; l <= CFrameSampleProject::kStoreys; ++l) {
        const bool roof = l == CFrameSampleProject::kStoreys;
        const int type = roof ? 205 : 201;
        const UINT sect = roof ? kSectRoofBeam : kSectBeam;
        for (int j = 0; j < Grid(); ++j)
            for (int i = 0; i < m_n; ++i)
                m_beams.push_back({AddLine(type, sect, Node(l, i, j), Node(l, i + 1, j), kFrameBay), l, 0.5 * Trib(j)});
        for (int i = 0; i < Grid(); ++i)
            for (int j = 0; j < m_n; ++j)
                m_beams.push_back({AddLine(type, sect, Node(l, i, j), Node(l, i, j + 1), kFrameBay), l, 0.5 * Trib(i)});
    }
}

void CFrameGenerator::AddLoads() {
    m_sink.AddLoadCase(kFrameCaseDL, PLOAD_STATIC, "DL");
    m_sink.AddLoadCase(kFrameCaseLL, PLOAD_STATIC, "LL");
    typedef ISampleSink::CombEntry E;
    m_sink.AddCombination(kFrameComb, PLCOM_LINEAR, "1.3DL+1.5LL",
                          {E{PLOAD_STATIC, kFrameCaseDL, 1.3}, E{PLOAD_STATIC, kFrameCaseLL, 1.5}});
}

void CFrameGenerator::AddCaseResults(UINT lc, const double* q) {
    // Beams: fixed-end beams under w = q x tributary width: shear z w (L/2 - x), moment y
    // w (6 L x - 6 x^2 - L^2) / 12 at the nine stations x = k L / 8.
    for (const Beam& b : m_beams) {
        const double w = q[b.level - 1] * b.trib;
        double st[9][6] = {};
        for (int k = 0; k < 9; ++k) {
            const double x = kFrameBay * k / 8.0;
            st[k][2] = w * (0.5 * kFrameBay - x);
            st[k][4] = w * (6.0 * kFrameBay * x - 6.0 * x * x - kFrameBay * kFrameBay) / 12.0;
        }
        m_sink.AddBeamForces(lc, b.key, st);
    }
    // Columns: axial force from the floor areas above (compression negative), constant along
    // the storey.
    const int perStorey = Grid() * Grid();
    for (int l = 1; l <= CFrameSampleProject::kStoreys; ++l)
        for (int j = 0; j < Grid(); ++j)
            for (int i = 0; i < Grid(); ++i) {
                double n = 0.0;
                for (int above = l; above <= CFrameSampleProject::kStoreys; ++above) n -= q[above - 1] * Trib(i) * Trib(j);
                double st[9][6] = {};
                for (int k = 0; k < 9; ++k) st[k][0] = n;
                m_sink.AddBeamForces(lc, m_columns[static_cast<size_t>((l - 1) * perStorey + j * Grid() + i)], st);
                // The support takes the ground storey column's axial force upwards.
                const double r6[6] = {0.0, 0.0, -n, 0.0, 0.0, 0.0};
                if (l == 1) m_sink.AddReac(lc, Node(0, i, j), r6);
            }
}

}  // namespace

CFrameSampleProject::CFrameSampleProject(int nBays) : m_nBays(std::clamp(nBays, 1, kMaxBays)) {}

long CFrameSampleProject::GetMemberCount() const {
    const long g = m_nBays + 1;
    return kStoreys * (g * g + 2L * m_nBays * g);
}

void CFrameSampleProject::Generate(ISampleSink& sink) {
    CFrameGenerator g(m_nBays, sink);
    g.AddMaterials();
    g.AddSections();
    g.AddNodes();
    g.AddColumns();
    g.AddBeams();
    g.AddLoads();
    g.AddCaseResults(kFrameCaseDL, kFrameQDL);
    g.AddCaseResults(kFrameCaseLL, kFrameQLL);
}
