#include "host/db/CCuttingLine.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/db/CDBDoc.h"
#include "host/db/CPostCtrl.h"
#include "host/db/DBTables.h"

namespace {

constexpr int kStations = 5;
constexpr int kFirstStation = 11;  // index of the first moment in T_STRESS_RESULT

void PutStations(const T_CLDF_D& f, T_STRESS_RESULT& r) {
    for (int k = 0; k < kStations; ++k) {
        r.d[kFirstStation + 2 * k] = f.m[k];
        r.d[kFirstStation + 2 * k + 1] = f.v[k];
    }
}

bool Near(double a, double b) { return std::fabs(a - b) <= CCuttingLine::kMatchTol; }

bool NearInPlan(const T_PNODE_D& n, const T_POINT2D& p) {
    return std::fabs(n.x - p.x) <= CCuttingLine::kLineTol && std::fabs(n.y - p.y) <= CCuttingLine::kLineTol;
}

}  // namespace

void T_STRESS_RESULT::Initialize() { std::memset(d, 0, sizeof(d)); }

CCuttingLine::CCuttingLine() : m_pDB(nullptr), m_pPost(nullptr) {
    if (CDBDoc* pDoc = CDBDoc::m_pDBDoc) {
        m_pDB = pDoc->GetMDBCtrl()->GetDBPost();
        m_pPost = pDoc->GetPostCtrl();
    }
}

int CCuttingLine::ReadForces(bool bStrip, UINT key, UINT loadKey, T_CLDF_D& out) const {
    if (!m_pPost || loadKey == 0 || !m_pPost->IsLoadSelected()) return 0;
    T_CLDF_D f;
    f.Initialize();
    // Slot 2: the value of a plain load, the larger magnitude of an envelope.
    const int bRead = bStrip ? m_pPost->GetStripForce(key, nullptr, nullptr, &f) : m_pPost->GetRibForce(key, nullptr, nullptr, &f);
    if (!bRead) return 0;
    out = f;
    return 1;
}

namespace {
// Plan cells of the strip index: far larger than the match tolerance, so that a point within
// the tolerance of a strip's first point lies in that point's cell or a neighbour.
constexpr double kStripCell = 1e-3;  // m
unsigned long long StripCell(long long i, long long j) {
    return (static_cast<unsigned long long>(i) << 32) ^ static_cast<unsigned long long>(j & 0xffffffffLL);
}
}  // namespace

std::vector<uint32_t> CCuttingLine::StripsNear(double x, double y) {
    const auto& table = m_pDB->Table<DBT_CTLN>();
    if (m_nStripVersion != table.Version()) {
        m_stripCells.clear();
        const auto& recs = table.Records();
        for (size_t i = 0; i < recs.size(); ++i)
            if (recs[i].kind == CTLN_KIND_STRIP)
                m_stripCells[StripCell(std::llround(recs[i].x1 / kStripCell), std::llround(recs[i].y1 / kStripCell))]
                    .push_back(static_cast<uint32_t>(i));
        m_nStripVersion = table.Version();
    }
    std::vector<uint32_t> found;
    const long long ci = std::llround(x / kStripCell), cj = std::llround(y / kStripCell);
    for (long long di = -1; di <= 1; ++di)
        for (long long dj = -1; dj <= 1; ++dj) {
            auto it = m_stripCells.find(StripCell(ci + di, cj + dj));
            if (it != m_stripCells.end()) found.insert(found.end(), it->second.begin(), it->second.end());
        }
    std::sort(found.begin(), found.end());
    return found;
}

int CCuttingLine::GetStripDesignForce(T_LINE2D& line, double width, UINT loadKey, CArray<UINT, UINT>&,
                                      T_STRESS_RESULT& result, int) {
    if (!m_pDB || !(std::fabs(line.p1.x) <= pvxdb::kMaxCoord && std::fabs(line.p1.y) <= pvxdb::kMaxCoord)) return 0;
    const auto& table = m_pDB->Table<DBT_CTLN>();
    // The first strip in table order at these points and width.
    for (uint32_t pos : StripsNear(line.p1.x, line.p1.y)) {
        const T_CTLN_D& s = table.Records()[pos];
        if (!Near(s.x1, line.p1.x) || !Near(s.y1, line.p1.y) || !Near(s.x2, line.p2.x) || !Near(s.y2, line.p2.y) ||
            !Near(s.width, width))
            continue;
        T_CLDF_D f;
        if (!ReadForces(true, table.Keys()[pos], loadKey, f)) return 0;
        T_STRESS_RESULT r;
        r.d[2] = s.width;
        const double pts[6] = {s.x1, s.y1, 0.0, s.x2, s.y2, 0.0};
        for (int k = 0; k < 6; ++k) r.d[3 + k] = pts[k];
        PutStations(f, r);
        result = r;
        return 1;
    }
    return 0;
}

BOOL CCuttingLine::IsRaftRib(CDataBase* pDB, const T_RIBB_D& rib) {
    const T_PMEMB_D* m = pDB ? pDB->Table<DBT_PMEMB>().Find(rib.memb) : nullptr;
    return m && m->type == 301 && pDB->Table<DBT_MTSB>().Find(m->modelKey) != nullptr;
}

int CCuttingLine::GetRibDesignForce(UINT loadKey, CArray<T_STRESS_RESULT, T_STRESS_RESULT&>& results, int,
                                    int raftRibsOnly) {
    results.RemoveAll();
    if (!m_pDB) return 0;
    CClassRibb ribs;
    ribs.ConnectToDB(m_pDB);
    CArray<UINT, UINT> keys;
    ribs.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_RIBB_D rib;
        T_CLDF_D f;
        if (!ribs.Get(keys[i], rib) || (raftRibsOnly && !IsRaftRib(m_pDB, rib)) ||
            !ReadForces(false, keys[i], loadKey, f))
            continue;
        T_STRESS_RESULT r;
        const double head[10] = {rib.widthPos, rib.widthNeg, rib.width, rib.x1, rib.y1, rib.z1, rib.x2, rib.y2, rib.z2, rib.arc};
        for (int k = 0; k < 10; ++k) r.d[k] = head[k];
        PutStations(f, r);
        results.Add(r);
    }
    return results.GetSize() > 0 ? 1 : 0;
}

UINT CCuttingLine::FindWallByLine(CDataBase* pDB, const T_LINE2D& wallLine) {
    if (!pDB) return 0;
    CClassPMemb members;
    members.ConnectToDB(pDB);
    CArray<UINT, UINT> keys;
    members.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        const T_PMEMB_D* m = pDB->Table<DBT_PMEMB>().Find(keys[i]);
        if (!m || m->type != 202 || m->aNode.GetSize() < 2) continue;
        const T_PNODE_D* a = pDB->Table<DBT_PNODE>().Find(m->aNode[0]);
        const T_PNODE_D* b = pDB->Table<DBT_PNODE>().Find(m->aNode[m->aNode.GetSize() - 1]);
        if (a && b && NearInPlan(*a, wallLine.p1) && NearInPlan(*b, wallLine.p2)) return keys[i];
    }
    return 0;
}

int CCuttingLine::GetWallDesignForce(const T_LINE2D& wallLine, int nEnd, double dCutLength, UINT nLoadKey,
                                     const CArray<UINT, UINT>& slabElemKeys, double* pValues,
                                     int bSlabLoadKind) const {
    if (!pValues || (nEnd != 0 && nEnd != 1) || !std::isfinite(dCutLength) || dCutLength <= 0.0) return 0;
    if (slabElemKeys.GetSize() == 0) return 0;
    const UINT nWall = FindWallByLine(m_pDB, wallLine);
    if (!nWall) return 0;

    CPostCtrl post(m_pDB);
    T_PLCOM_D lcom;
    lcom.Initialize();
    if (!post.MakeLoadComb(bSlabLoadKind ? 1 : 10, nLoadKey, lcom)) return 0;
    T_SWDF_D value, hi, lo;
    value.Initialize();
    hi.Initialize();
    lo.Initialize();
    if (!post.GetSwdf_ByLcomb(nWall, lcom, &hi, &lo, &value)) return 0;
    // The depth is no force: it comes whole with the record of the first term (an envelope's
    // larger-magnitude slot holds the forces only).
    const int h0 = hi.h0;
    if (h0 <= 0) return 0;

    const double dMoment = value.m[nEnd] * dCutLength;
    pValues[0] = dMoment;
    pValues[1] = value.v[nEnd] * dCutLength;
    pValues[2] = std::fabs(dMoment) * 1e6 / (0.9 * kRebarFy * h0);
    return 1;
}
