#include "host/app/SampleWriter.h"

#include <cstring>

void CSampleWriter::AddMaterial(UINT key, const char* name, double E, double nu, double gamma) {
    T_PMATL_D m;
    m.Initialize();
    pvxdb::CopyText(m.name, sizeof(m.name), name);
    m.E = E;
    m.nu = nu;
    m.gamma = gamma;
    Count(m_builder.AddMatl(key, m));
}

void CSampleWriter::AddSection(UINT key, int type, const char* name, const double* dims, const double* stiff6) {
    T_PSECT_D s;
    s.Initialize();
    s.type = type;
    pvxdb::CopyText(s.name, sizeof(s.name), name);
    for (int i = 0; i < 4; ++i) s.dim[i] = dims[i];
    // Stiffness values 1 area, 2 and 3 shear areas, 4 torsion, 5 I3, 6 I2, the same in all sets.
    for (int set = 0; set < 3; ++set)
        for (int i = 0; i < 6; ++i) s.stiff[set].d[i] = stiff6[i];
    Count(m_builder.AddSect(key, s));
}

void CSampleWriter::AddNode(UINT key, double x, double y, double z) { Count(m_builder.AddNode(key, x, y, z)); }

void CSampleWriter::AddElement(UINT key, int kind, int type, UINT matl, UINT sect, const std::vector<UINT>& nodes) {
    Count(m_builder.AddElem(key, kind, type, std::span<const UINT>(nodes), matl, sect));
}

void CSampleWriter::AddMemberEnds(UINT membKey, int type, double length, double ri2, double rj2, double ri3,
                                  double rj3) {
    T_CFMO_D c;
    c.Initialize();
    c.type = type;
    c.length = length;
    c.ri2 = ri2;
    c.rj2 = rj2;
    c.ri3 = ri3;
    c.rj3 = rj3;
    Count(m_builder.AddMembEnds(membKey, c));
}

void CSampleWriter::AddMember(UINT key, int type, const std::vector<UINT>& nodes, const std::vector<UINT>& elems,
                              double length, UINT pileKey) {
    Count(m_builder.AddMemb(key, type, std::span<const UINT>(nodes), std::span<const UINT>(elems), length, pileKey));
}

void CSampleWriter::AddWall(UINT membKey, int type, const double* anchor2, const double* dir2, const double* p1,
                            const double* p2) {
    T_PWALL_D w;
    w.Initialize();
    w.x = anchor2[0];
    w.y = anchor2[1];
    w.dx = dir2[0];
    w.dy = dir2[1];
    w.type = type;
    w.resultNo = membKey;
    w.x1 = p1[0];
    w.y1 = p1[1];
    w.z1 = p1[2];
    w.x2 = p2[0];
    w.y2 = p2[1];
    w.z2 = p2[2];
    Count(m_builder.AddWall(membKey, w));
}

void CSampleWriter::AddSlab(UINT membKey, int resultType, const std::vector<UINT>& outline) {
    T_PSLAB_D s;
    s.resultType = resultType;
    s.aNode.SetSize(static_cast<INT_PTR>(outline.size()));
    for (size_t i = 0; i < outline.size(); ++i) s.aNode[static_cast<INT_PTR>(i)] = outline[i];
    Count(m_builder.AddSlab(membKey, s));
}

void CSampleWriter::AddCutLine(UINT key, int kind, const char* name, double width, const double* p1,
                               const double* p2) {
    Count(m_builder.AddCutLine(key, kind, name, width, p1[0], p1[1], p1[2], p2[0], p2[1], p2[2]));
}

void CSampleWriter::AddRib(UINT ribNo, UINT memb, const double* widths3, const double* p1, const double* p2,
                           double arc) {
    T_RIBB_D r;
    r.Initialize();
    r.memb = memb;
    r.widthPos = widths3[0];
    r.widthNeg = widths3[1];
    r.width = widths3[2];
    r.x1 = p1[0];
    r.y1 = p1[1];
    r.z1 = p1[2];
    r.x2 = p2[0];
    r.y2 = p2[1];
    r.z2 = p2[2];
    r.arc = arc;
    Count(m_builder.Add<DBT_RIBB>(ribNo, r));
}

namespace {

T_CLDF_D DesignForces(const double* m5, const double* v5) {
    T_CLDF_D f;
    for (int k = 0; k < 5; ++k) {
        f.m[k] = m5[k];
        f.v[k] = v5[k];
    }
    return f;
}

}  // namespace

void CSampleWriter::AddStripForces(UINT load, UINT stripKey, const double* m5, const double* v5) {
    Count(m_builder.AddResult<DBT_STRIPF>(load, stripKey, DesignForces(m5, v5)));
}

void CSampleWriter::AddRibForces(UINT load, UINT ribNo, const double* m5, const double* v5) {
    Count(m_builder.AddResult<DBT_RIBF>(load, ribNo, DesignForces(m5, v5)));
}

void CSampleWriter::AddLoadCase(UINT key, int type, const char* name) { Count(m_builder.AddLoadCase(key, type, name)); }

void CSampleWriter::AddCombination(UINT key, int type, const char* name, const std::vector<CombEntry>& entries) {
    std::vector<T_PLCOM_ENTRY> terms;
    terms.reserve(entries.size());
    for (const CombEntry& e : entries) terms.push_back({e.kind, e.key, e.factor});
    Count(m_builder.AddLoadComb(key, type, name, std::span<const T_PLCOM_ENTRY>(terms)));
}

void CSampleWriter::AddDisp(UINT load, UINT node, const double* d) {
    T_DISP_D r;
    r.DX = d[0];
    r.DY = d[1];
    r.DZ = d[2];
    r.RX = d[3];
    r.RY = d[4];
    r.RZ = d[5];
    Count(m_builder.AddDisp(load, node, r));
}

void CSampleWriter::AddReac(UINT load, UINT node, const double* f) {
    T_REAC_D r;
    r.FX = f[0];
    r.FY = f[1];
    r.FZ = f[2];
    r.MX = f[3];
    r.MY = f[4];
    r.MZ = f[5];
    Count(m_builder.AddReac(load, node, r));
}

void CSampleWriter::AddBeamForces(UINT load, UINT elem, const double (*st)[6]) {
    T_MBWG_D w;
    std::memcpy(w.d, st, sizeof(w.d));
    Count(m_builder.AddMbwg(load, elem, w));
    T_STRG_D g;
    g.SetByMbwg(w);
    Count(m_builder.AddStrg(load, elem, g));
}

void CSampleWriter::AddColumnForces(UINT load, UINT elem, const double (*bl)[6]) {
    T_MBCL_D c;
    std::memcpy(c.d, bl, sizeof(c.d));
    Count(m_builder.AddMbcl(load, elem, c));
}

void CSampleWriter::AddTrussForces(UINT load, UINT elem, const double (*ends)[6]) {
    T_MBBR_D b;
    std::memcpy(b.d, ends, sizeof(b.d));
    Count(m_builder.AddMbbr(load, elem, b));
}

void CSampleWriter::AddWallForces(UINT load, UINT elem, const double (*lv)[8]) {
    T_STRW_D w;
    std::memcpy(w.d, lv, sizeof(w.d));
    Count(m_builder.AddStrw(load, elem, w));
}

void CSampleWriter::AddWallColumnForces(UINT load, UINT resultNo, const double (*bl)[6]) {
    T_MBCL_D c;
    std::memcpy(c.d, bl, sizeof(c.d));
    Count(m_builder.AddMbwc(load, resultNo, c));
}

void CSampleWriter::AddWallBeamForces(UINT load, UINT resultNo, const double (*st)[6]) {
    T_MBWG_D w;
    std::memcpy(w.d, st, sizeof(w.d));
    T_STRG_D g;
    g.SetByMbwg(w);
    Count(m_builder.AddMbwb(load, resultNo, g));
}

void CSampleWriter::AddPlateForces(UINT load, UINT elem, const double (*blk)[30]) {
    T_STRP_DL p;
    p.Initialize();
    std::memcpy(p.blk, blk, sizeof(p.blk));
    Count(m_builder.AddStrp(load, elem, p));
}

void CSampleWriter::AddRebarDirection(UINT membKey, int sel, double angle1, double angle2) {
    T_SDIR_D d;
    d.Initialize();
    d.sel = sel;
    d.angle1 = angle1;
    d.angle2 = angle2;
    Count(m_builder.AddSdir(membKey, d));
}

void CSampleWriter::AddSlabMoments(UINT load, UINT membKey, double centreX, double centreY,
                                   const std::vector<double>& pos, const std::vector<double>& neg) {
    T_SMNT_D m;
    m.centreX = centreX;
    m.centreY = centreY;
    for (double v : pos) m.aPos.Add(v);
    for (double v : neg) m.aNeg.Add(v);
    Count(m_builder.AddSmnt(load, membKey, m));
}

void CSampleWriter::AddMode(UINT mode, UINT node, const double* d) {
    T_MODE_D m;
    m.DX = d[0];
    m.DY = d[1];
    m.DZ = d[2];
    m.RX = d[3];
    m.RY = d[4];
    m.RZ = d[5];
    Count(m_builder.AddModeShape(mode, node, m));
}

void CSampleWriter::AddFrequency(UINT mode, double omega, double freq, double period, double damping) {
    m_pending.mode = mode;
    m_pending.freq.Initialize();
    m_pending.freq.omega = omega;
    m_pending.freq.freq = freq;
    m_pending.freq.period = period;
    m_pending.freq.damping = damping;
    m_pending.hasFreq = true;
}

void CSampleWriter::AddParticipation(UINT mode, const double* mass6) {
    T_MPAM_D m;
    for (int i = 0; i < 6; ++i) m.mass[i] = mass6[i];
    if (!m_pending.hasFreq || m_pending.mode != mode) {
        Count(0);  // a participation without its frequency
        return;
    }
    Count(m_builder.AddMode(mode, m_pending.freq, m));
    m_pending.hasFreq = false;
}

void CSampleWriter::AddDispHistory(UINT load, UINT node, int nStep, double dt, const std::vector<double>& values) {
    T_DISPHIS_D h;
    h.nStep = nStep;
    h.dt = dt;
    h.aValue.SetSize(static_cast<INT_PTR>(values.size()));
    for (size_t i = 0; i < values.size(); ++i) h.aValue[static_cast<INT_PTR>(i)] = values[i];
    Count(m_builder.AddDispHistory(load, node, h));
}

void CSampleWriter::AddLoadGroup(UINT key, int type, const char* name) {
    Count(m_builder.AddLoadGroup(key, type, name));
}

void CSampleWriter::AddSettlementPoint(UINT key, double x, double y, double z, double constant,
                                       const std::vector<UINT>& groups, const std::vector<double>& values) {
    T_PCDSINK_D p;
    p.x = x;
    p.y = y;
    p.z = z;
    p.constant = constant;
    for (UINT g : groups) p.aGroup.Add(g);
    for (double v : values) p.aValue.Add(v);
    Count(groups.size() == values.size() && m_builder.AddSettlementPoint(key, p));
}

void CSampleWriter::AddSupport(UINT node, int type, int dof) {
    T_PRTND_D r;
    r.Initialize();
    r.type = type;
    r.dof = dof;
    Count(m_builder.Add<DBT_PRTND>(node, r));
}

void CSampleWriter::AddElemSpring(UINT elem, double kv, double width) {
    T_PESPR_D r;
    r.Initialize();
    r.elem = elem;
    r.kv = kv;
    r.width = width;
    Count(m_builder.Add<DBT_PESPR>(elem, r));
}

void CSampleWriter::AddSpringPressure(UINT load, UINT elem, const double* values, int n) {
    T_STWS_D r;
    r.Initialize();
    const int nMax = static_cast<int>(sizeof(r.d) / sizeof(r.d[0]));
    if (n < 0 || n > nMax) {
        Count(0);
        return;
    }
    for (int i = 0; i < n; ++i) r.d[i] = values[i];
    Count(m_builder.AddStws(load, elem, r));
}

void CSampleWriter::AddSlabDesign(UINT comb, UINT memb, const T_SLDG_D& rec) {
    Count(m_builder.AddResult<DBT_SLDG>(comb, memb, rec));
}

void CSampleWriter::AddSlabWallForces(UINT load, UINT wall, const T_SWDF_D& rec) {
    Count(m_builder.AddResult<DBT_SWDF>(load, wall, rec));
}

void CSampleWriter::AddStoryShear(UINT load, UINT memb, int story, const double* force3, const double* ratio3) {
    T_SSFR_D r;
    r.Initialize();
    r.story = story;
    for (int a = 0; a < T_SSFR_D::kAngles; ++a) {
        r.force[a] = force3[a];
        r.ratio[a] = ratio3[a];
    }
    Count(m_builder.AddSsfr(load, memb, r));
}

void CSampleWriter::AddFoundation(const SampleFoundation& f) {
    for (const auto& r : f.ponts) Count(m_builder.Add<DBT_PONT>(r.first, r.second));
    for (const auto& r : f.axes) Count(m_builder.Add<DBT_AXIS>(r.first, r.second));
    for (const auto& r : f.membs) Count(m_builder.Add<DBT_MEMB>(r.first, r.second));
    for (const auto& r : f.colms) Count(m_builder.Add<DBT_COLM>(r.first, r.second));
    for (const auto& r : f.walls) Count(m_builder.Add<DBT_WALL>(r.first, r.second));
    for (const auto& r : f.colfs) Count(m_builder.Add<DBT_COLF>(r.first, r.second));
    for (const auto& r : f.fosps) Count(m_builder.Add<DBT_FOSP>(r.first, r.second));
    for (const auto& r : f.beams) Count(m_builder.Add<DBT_BEAM>(r.first, r.second));
    for (const auto& r : f.mtsbs) Count(m_builder.Add<DBT_MTSB>(r.first, r.second));
    for (const auto& r : f.piles) Count(m_builder.Add<DBT_PILE>(r.first, r.second));
    for (const auto& r : f.pisps) Count(m_builder.Add<DBT_PISP>(r.first, r.second));
    for (const auto& r : f.srcts) Count(m_builder.Add<DBT_SRCT>(r.first, r.second));
    for (const auto& r : f.gbpas) Count(m_builder.Add<DBT_GBPA>(r.first, r.second));
    for (const auto& r : f.wdlds) Count(m_builder.Add<DBT_WDLD>(r.first, r.second));
    for (const auto& r : f.cklgs) Count(m_builder.Add<DBT_CKLG>(r.first, r.second));
    auto& membs = m_builder.DB().Table<DBT_PMEMB>();
    for (const auto& mk : f.modelKeys) {
        const T_PMEMB_D* p = membs.Find(mk.first);
        Count(p != nullptr);
        if (!p) continue;
        T_PMEMB_D m = *p;
        m.modelKey = mk.second;
        membs.Set(mk.first, m);
    }
}
