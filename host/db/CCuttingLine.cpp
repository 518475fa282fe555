#include "host/db/CCuttingLine.h"

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

int CCuttingLine::GetStripDesignForce(T_LINE2D& line, double width, UINT loadKey, CArray<UINT, UINT>&,
                                      T_STRESS_RESULT& result, int) {
    if (!m_pDB) return 0;
    CClassCtln lines;
    lines.ConnectToDB(m_pDB);
    CArray<UINT, UINT> keys;
    lines.GetKeyList(keys, CTLN_KIND_STRIP);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_CTLN_D s;
        if (!lines.Get(keys[i], s)) continue;
        if (!Near(s.x1, line.p1.x) || !Near(s.y1, line.p1.y) || !Near(s.x2, line.p2.x) || !Near(s.y2, line.p2.y) ||
            !Near(s.width, width))
            continue;
        T_CLDF_D f;
        if (!ReadForces(true, keys[i], loadKey, f)) return 0;
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

int CCuttingLine::GetRibDesignForce(UINT loadKey, CArray<T_STRESS_RESULT, T_STRESS_RESULT&>& results, int) {
    results.RemoveAll();
    if (!m_pDB) return 0;
    CClassRibb ribs;
    ribs.ConnectToDB(m_pDB);
    CArray<UINT, UINT> keys;
    ribs.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_RIBB_D rib;
        T_CLDF_D f;
        if (!ribs.Get(keys[i], rib) || !ReadForces(false, keys[i], loadKey, f)) continue;
        T_STRESS_RESULT r;
        const double head[10] = {rib.widthPos, rib.widthNeg, rib.width, rib.x1, rib.y1, rib.z1, rib.x2, rib.y2, rib.z2, rib.arc};
        for (int k = 0; k < 10; ++k) r.d[k] = head[k];
        PutStations(f, r);
        results.Add(r);
    }
    return results.GetSize() > 0 ? 1 : 0;
}
