#include "host/db/PostDBBuilder.h"

#include <cstring>

int PostDBBuilder::AddNode(UINT key, double x, double y, double z) {
    T_PNODE_D n;
    n.x = x;
    n.y = y;
    n.z = z;
    return Add<DBT_PNODE>(key, n);
}

int PostDBBuilder::AddElem(UINT key, int kind, int type, std::span<const UINT> nodes, UINT matl, UINT sect,
                           double beta) {
    if (nodes.size() > PELEM_MAX_NODE) return 0;
    T_PELEM_D e;
    e.Initialize();
    e.kind = kind;
    e.type = type;
    e.bActive = 1;
    e.matl = matl;
    e.sect = sect;
    e.beta = beta;
    for (UINT n : nodes) e.node[e.nNode++] = n;
    return Add<DBT_PELEM>(key, e);
}

int PostDBBuilder::AddMemb(UINT key, int type, std::span<const UINT> nodes, std::span<const UINT> elems, double length,
                           UINT pileKey) {
    T_PMEMB_D m;
    m.type = type;
    m.length = length;
    m.pileKey = pileKey;
    m.aNode.SetSize(static_cast<INT_PTR>(nodes.size()));
    for (size_t i = 0; i < nodes.size(); ++i) m.aNode[static_cast<INT_PTR>(i)] = nodes[i];
    m.aElem.SetSize(static_cast<INT_PTR>(elems.size()));
    for (size_t i = 0; i < elems.size(); ++i) m.aElem[static_cast<INT_PTR>(i)] = elems[i];
    return Add<DBT_PMEMB>(key, m);
}

int PostDBBuilder::AddCutLine(UINT key, int kind, LPCTSTR name, double width, double x1, double y1, double z1,
                             double x2, double y2, double z2) {
    T_CTLN_D rec;
    rec.Initialize();
    rec.kind = kind;
    pvxdb::CopyText(rec.name, sizeof(rec.name), name);
    rec.width = width;
    rec.x1 = x1;
    rec.y1 = y1;
    rec.z1 = z1;
    rec.x2 = x2;
    rec.y2 = y2;
    rec.z2 = z2;
    return Add<DBT_CTLN>(key, rec);
}

int PostDBBuilder::AddLoadCase(UINT key, int type, LPCTSTR name) {
    T_PSTLD_D lc;
    lc.Initialize();
    lc.type = type;
    pvxdb::CopyText(lc.name, sizeof(lc.name), name);
    return Add<DBT_PSTLD>(key, lc);
}

int PostDBBuilder::AddLoadGroup(UINT key, int type, LPCTSTR name) {
    T_LDGP_D g;
    g.Initialize();
    g.type = type;
    pvxdb::CopyText(g.name, sizeof(g.name), name);
    return Add<DBT_LDGP>(key, g);
}

int PostDBBuilder::AddLoadComb(UINT key, int type, LPCTSTR name, std::span<const T_PLCOM_ENTRY> entries) {
    T_PLCOM_D c;
    c.Initialize();
    c.type = type;
    pvxdb::CopyText(c.name, sizeof(c.name), name);
    for (const T_PLCOM_ENTRY& e : entries)
        if (!c.AddEntry(e.kind, e.key, e.factor)) return 0;
    return Add<DBT_PLCOM>(key, c);
}

int PostDBBuilder::AddMode(UINT mode, const T_FREQ_D& freq, const T_MPAM_D& mass) {
    return Add<DBT_FREQ>(mode, freq) && Add<DBT_MPAM>(mode, mass);
}

std::unique_ptr<CDataBase> PostDBBuilder::Release() {
    auto db = std::move(m_pDB);
    m_pDB = std::make_unique<CDataBase>();
    return db;
}
