#include "host/check/IDesignToolUtil.h"

#include "host/check/ICheckToolUtil.h"
#include "host/db/CDBDoc.h"
#include "host/db/CDataBase.h"
#include "host/db/CPostCtrl.h"
#include "host/db/FoundationRecords.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <unordered_set>

namespace {

CDataBase* DocPostDB() {
    CDBDoc* doc = CDBDoc::m_pDBDoc;
    return doc ? doc->GetMDBCtrl()->GetDBPost() : nullptr;
}

// A check group (CKLG) as the linear combination of its terms (CClassLdgp::GetTerms); FALSE for
// a key that is no check group or whose text gives no terms.
BOOL GroupAsComb(CDataBase* pDB, UINT key, T_PLCOM_D& rec) {
    if (!pDB || !pDB->Table<DBT_CKLG>().Find(key)) return FALSE;
    CClassLdgp groups;
    groups.ConnectToDB(pDB);
    std::vector<std::pair<UINT, double>> terms;
    if (!groups.GetTerms(key, terms)) return FALSE;
    T_PLCOM_D comb;
    comb.Initialize();
    comb.type = PLCOM_LINEAR;
    for (const auto& [loadCase, factor] : terms)
        if (!comb.AddEntry(PLOAD_STATIC, loadCase, factor)) return FALSE;
    rec = comb;
    return TRUE;
}

// A post control on pDB with the load key selected: a combination, else a check group by its
// terms, else a load case.
BOOL SelectKey(CPostCtrl& post, UINT key) {
    T_PLCOM_D rec;
    if (!post.MakeLoadComb(9, key, rec) && !GroupAsComb(post.GetDataBase(), key, rec) &&
        !post.MakeLoadComb(1, key, rec))
        return FALSE;
    return post.SelectLoadComb(rec, 0, 0) != 0;
}

// Runs value(post, v) for the key; for key 0 over the design combinations, keeping the one of
// the largest magnitude. Ties (equal to 1e-9 of the value) go to a check group, whose number the
// sheets write, before a combination, else to the smallest key, as the keys come ascending.
BOOL Governing(CDataBase* pDB, UINT& key, double& value, const std::function<BOOL(CPostCtrl&, double&)>& eval) {
    if (!pDB) return FALSE;
    CPostCtrl post(pDB);
    if (key != 0) return SelectKey(post, key) && eval(post, value);
    CArray<UINT, UINT> keys;
    IDesignToolUtil::s_GetDesignCombKeys(pDB, keys);
    const auto& groups = pDB->Table<DBT_CKLG>();
    BOOL found = FALSE;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        double v = 0.0;
        if (!SelectKey(post, keys[i]) || !eval(post, v)) continue;
        const double a = std::fabs(v), b = std::fabs(value);
        const bool tie = found && std::fabs(a - b) <= 1e-9 * std::max(a, b);
        const bool groupFirst = tie && groups.Find(keys[i]) && !groups.Find(key);
        if (!found || (!tie && a > b) || groupFirst) {
            value = v;
            key = keys[i];
            found = TRUE;
        }
    }
    return found;
}

// Governing() of the nodes' FZ summed, each times its weight, over measure: 1 with key and value
// set, 0 (both kept) when no combination gives one.
int GoverningWeightedFz(CDataBase* pDB, UINT& key, double& value, const std::vector<std::pair<UINT, double>>& weights,
                        double measure) {
    UINT k = key;
    double v = 0.0;
    const BOOL ok = Governing(pDB, k, v, [&weights](CPostCtrl& post, double& out) {
        BOOL found = FALSE;
        out = 0.0;
        for (const auto& [node, weight] : weights) {
            T_REAC_D r;
            r.Initialize();
            if (!post.GetReac(node, &r, nullptr, nullptr)) continue;
            out += weight * r.FZ;
            found = TRUE;
        }
        return found;
    });
    if (!ok) return 0;
    key = k;
    value = v / measure;
    return 1;
}

// MBWG station s as LOAD_DATA (see the header for the component order).
LOAD_DATA Station(const T_MBWG_D& f, int s) {
    LOAD_DATA d;
    d.d[0] = f.d[s][0];
    d.d[1] = f.d[s][2];
    d.d[2] = f.d[s][3];
    d.d[3] = f.d[s][4];
    d.d[4] = f.d[s][1];
    d.d[5] = f.d[s][5];
    return d;
}

// Plan length of the line through the points.
double PolylineLength(const CArray<T_POINT2D>& pts) {
    double length = 0.0;
    for (INT_PTR i = 1; i < pts.GetSize(); ++i)
        length += std::hypot(pts[i].x - pts[i - 1].x, pts[i].y - pts[i - 1].y);
    return length;
}

// What a reaction is spread over: the plan area of the outline through the nodes, or, when
// they enclose none (a line object), the length of the line through them. 0 when a node is
// missing or the nodes neither enclose an area nor run any length.
double SpreadMeasure(CDataBase* pDB, const CArray<UINT, UINT>& nodes) {
    CArray<T_POINT2D> pts;
    if (!ICheckToolUtil::s_ConvertNode2PolyLine(nodes, pts, pDB)) return 0.0;
    T_POINT2D centre;
    double area = 0.0;
    if (pts.GetSize() >= 3 && ICheckToolUtil::s_GetPolyCentroid(pts, centre, area) && area > 0.0) return area;
    return PolylineLength(pts);
}

}  // namespace

void IDesignToolUtil::s_GetDesignCombKeys(CDataBase* pDB, CArray<UINT, UINT>& keys) {
    keys.RemoveAll();
    if (!pDB) return;
    const auto& t = pDB->Table<DBT_PLCOM>();
    for (UINT k : t.Keys()) {
        const T_PLCOM_D* c = t.Find(k);
        if (c && c->type == PLCOM_LINEAR && c->GetEntryCount() > 0) keys.Add(k);
    }
    // The check groups the design takes that have no combination under their key, by their terms.
    const auto& groups = pDB->Table<DBT_CKLG>();
    T_PLCOM_D rec;
    for (UINT k : groups.Keys())
        if (groups.Find(k)->designUse && !t.Find(k) && GroupAsComb(pDB, k, rec)) keys.Add(k);
    std::sort(keys.GetData(), keys.GetData() + keys.GetSize());
}

BOOL IDesignToolUtil::s_GetBeamDesignForce(UINT beam, UINT loadKey, CHECK_LOAD_ARRAY& first,
                                           CHECK_LOAD_ARRAY& second, CDataBase* pDB) {
    if (!pDB) pDB = DocPostDB();
    // Only members of the foundation: their model_key names a foundation-model member.
    const T_PMEMB_D* m = pDB ? pDB->Table<DBT_PMEMB>().Find(beam) : nullptr;
    if (!m || !pDB->Table<DBT_MEMB>().Find(m->modelKey)) return FALSE;
    CPostCtrl post(pDB);
    auto read = [&](UINT key, CHECK_LOAD_ARRAY& out) {
        T_MBWG_D f;
        f.Initialize();
        if (!SelectKey(post, key) || !post.GetStwt(beam, &f, nullptr, nullptr, 0)) return FALSE;
        out.RemoveAll();
        for (int s = 0; s < 9; ++s) out.Add(Station(f, s));
        return TRUE;
    };
    if (loadKey != 0) {
        CHECK_LOAD_ARRAY a;
        if (!read(loadKey, a)) return FALSE;
        first = a;
        second.RemoveAll();
        return TRUE;
    }
    CArray<UINT, UINT> keys;
    s_GetDesignCombKeys(pDB, keys);
    CHECK_LOAD_ARRAY hi, lo;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        CHECK_LOAD_ARRAY a;
        if (read(keys[i], a)) s_GetBaoLuoForForceArray(hi, lo, a);
    }
    if (hi.GetSize() == 0) return FALSE;
    first = hi;
    second = lo;
    return TRUE;
}

BOOL IDesignToolUtil::s_GetBaoLuoForForceArray(CHECK_LOAD_ARRAY& max, CHECK_LOAD_ARRAY& min,
                                               const CHECK_LOAD_ARRAY& forces) {
    const INT_PTR n = forces.GetSize();
    if (n == 0) return FALSE;
    if (max.GetSize() == 0 && min.GetSize() == 0) {
        max = forces;
        min = forces;
        return TRUE;
    }
    if (max.GetSize() != n || min.GetSize() != n) return FALSE;
    for (INT_PTR i = 0; i < n; ++i)
        for (int c = 0; c < 6; ++c) {
            max[i].d[c] = std::max(max[i].d[c], forces[i].d[c]);
            min[i].d[c] = std::min(min[i].d[c], forces[i].d[c]);
        }
    return TRUE;
}

BOOL IDesignToolUtil::s_GetRibBemStarndForce(UINT loadKey, CArray<T_STRESS_RESULT, T_STRESS_RESULT&>& results,
                                             CDataBase* pDB) {
    results.RemoveAll();
    if (!pDB) pDB = DocPostDB();
    if (!pDB || loadKey == 0) return FALSE;
    CPostCtrl post(pDB);
    if (!SelectKey(post, loadKey)) return FALSE;
    CCuttingLine lines(pDB, &post);
    return lines.GetRibDesignForce(loadKey, results, 0, 1) != 0;
}

BOOL IDesignToolUtil::s_GetNodesMaxDisp(const CArray<UINT, UINT>& nodes, UINT& key, double& value, int,
                                        CDataBase* pDB) {
    if (!pDB) pDB = DocPostDB();
    double v = 0.0;
    UINT k = key;
    BOOL ok = Governing(pDB, k, v, [&nodes](CPostCtrl& post, double& out) {
        BOOL found = FALSE;
        for (INT_PTR i = 0; i < nodes.GetSize(); ++i) {
            T_DISP_D d;
            d.Initialize();
            if (!post.GetDisp(nodes[i], &d, nullptr, nullptr)) continue;
            const double m = d.DZ / 1000.0;  // the project stores millimetres
            if (!found || std::fabs(m) > std::fabs(out)) out = m;
            found = TRUE;
        }
        return found;
    });
    if (!ok) return FALSE;
    key = k;
    value = v;
    return TRUE;
}

BOOL IDesignToolUtil::s_GetPMembAllNode(UINT memb, CArray<UINT, UINT>& nodes, CDataBase* pDB) {
    if (!pDB) pDB = DocPostDB();
    const T_PMEMB_D* m = pDB ? pDB->Table<DBT_PMEMB>().Find(memb) : nullptr;
    if (!m) return FALSE;
    nodes.RemoveAll();
    // Each node once, in the order first met: a raft member has as many nodes as its plates, so
    // the nodes already taken are looked up in a set, not by walking the list.
    std::unordered_set<UINT> taken;
    taken.reserve(static_cast<size_t>(m->aElem.GetSize()) + static_cast<size_t>(m->aNode.GetSize()));
    auto add = [&nodes, &taken](UINT n) {
        if (taken.insert(n).second) nodes.Add(n);
    };
    const auto& elems = pDB->Table<DBT_PELEM>();
    for (INT_PTR i = 0; i < m->aElem.GetSize(); ++i)
        if (const T_PELEM_D* e = elems.Find(m->aElem[i]))
            for (int j = 0; j < e->nNode && j < PELEM_MAX_NODE; ++j) add(e->node[j]);
    if (nodes.GetSize() == 0)
        for (INT_PTR i = 0; i < m->aNode.GetSize(); ++i) add(m->aNode[i]);
    return TRUE;
}

// ---- IRactFinder ----

IRactFinder* IRactFinder::Instance() {
    static IRactFinder finder;
    return &finder;
}

CDataBase* IRactFinder::DB() const { return m_pDB ? m_pDB : DocPostDB(); }

int IRactFinder::GetComBineValue(UINT object, UINT& key, double& value) {
    CDataBase* pDB = DB();
    if (!pDB) return 0;
    CArray<UINT, UINT> nodes, outline;
    if (const T_PELEM_D* e = pDB->Table<DBT_PELEM>().Find(object)) {
        for (int j = 0; j < e->nNode && j < PELEM_MAX_NODE; ++j) nodes.Add(e->node[j]);
        outline.Copy(nodes);
    } else if (IDesignToolUtil::s_GetPMembAllNode(object, nodes, pDB)) {
        outline.Copy(pDB->Table<DBT_PMEMB>().Find(object)->aNode);
    } else {
        return 0;
    }
    const double measure = SpreadMeasure(pDB, outline);
    if (!(measure > 1e-9)) return 0;
    std::vector<std::pair<UINT, double>> whole;
    for (INT_PTR i = 0; i < nodes.GetSize(); ++i) whole.emplace_back(nodes[i], 1.0);
    return GoverningWeightedFz(pDB, key, value, whole, measure);
}

BOOL IRactFinder::AddTributaryLengths(CDataBase* pDB, UINT memb, NodeLengths& lengths) {
    const T_PMEMB_D* m = pDB ? pDB->Table<DBT_PMEMB>().Find(memb) : nullptr;
    if (!m) return FALSE;
    const auto& points = pDB->Table<DBT_PNODE>();
    auto add = [&](UINT a, UINT b) {
        const T_PNODE_D* pa = points.Find(a);
        const T_PNODE_D* pb = points.Find(b);
        if (!pa || !pb || a == b) return;
        const double half = 0.5 * std::hypot(pb->x - pa->x, pb->y - pa->y);
        lengths[a] += half;
        lengths[b] += half;
    };
    const auto& elems = pDB->Table<DBT_PELEM>();
    BOOL any = FALSE;
    for (INT_PTR i = 0; i < m->aElem.GetSize(); ++i)
        if (const T_PELEM_D* e = elems.Find(m->aElem[i]); e && e->nNode == 2) {
            add(e->node[0], e->node[1]);
            any = TRUE;
        }
    if (any) return TRUE;
    // A member of no line elements (a grade beam of plane elements, or none): its length along
    // PMEMB.nodes spread evenly over all its nodes.
    CArray<UINT, UINT> nodes;
    CArray<T_POINT2D> pts;
    IDesignToolUtil::s_GetPMembAllNode(memb, nodes, pDB);
    if (nodes.GetSize() == 0 || !ICheckToolUtil::s_ConvertNode2PolyLine(m->aNode, pts, pDB)) return TRUE;
    const double each = PolylineLength(pts) / static_cast<double>(nodes.GetSize());
    for (INT_PTR i = 0; i < nodes.GetSize(); ++i) lengths[nodes[i]] += each;
    return TRUE;
}

int IRactFinder::GetSharedLineValue(UINT memb, const NodeLengths& shared, UINT& key, double& value) {
    CDataBase* pDB = DB();
    NodeLengths own;
    if (!AddTributaryLengths(pDB, memb, own)) return 0;
    CArray<T_POINT2D> pts;
    if (!ICheckToolUtil::s_ConvertNode2PolyLine(pDB->Table<DBT_PMEMB>().Find(memb)->aNode, pts, pDB)) return 0;
    const double length = PolylineLength(pts);
    if (!(length > 1e-9)) return 0;
    // Each node's share: the member's tributary length there over that of every soil-bearing
    // member meeting there (itself included, should the caller's lengths leave it out).
    std::vector<std::pair<UINT, double>> shares;
    for (const auto& [node, mine] : own) {
        const auto it = shared.find(node);
        const double all = std::max(it == shared.end() ? 0.0 : it->second, mine);
        if (all > 1e-12) shares.emplace_back(node, mine / all);
    }
    std::sort(shares.begin(), shares.end());
    return GoverningWeightedFz(pDB, key, value, shares, length);
}

int IRactFinder::GetCheckGroupValue(UINT memb, const std::vector<std::pair<UINT, double>>& terms, double& value) {
    CDataBase* pDB = DB();
    CArray<UINT, UINT> nodes;
    if (!pDB || !IDesignToolUtil::s_GetPMembAllNode(memb, nodes, pDB)) return 0;
    const auto& reac = pDB->Table<DBT_REAC>();
    double v = 0.0;
    bool found = false;
    for (const auto& [loadCase, factor] : terms)
        for (INT_PTR i = 0; i < nodes.GetSize(); ++i)
            if (const T_REAC_D* r = reac.Find(loadCase, nodes[i])) {
                v += factor * r->FZ;
                found = true;
            }
    if (!found) return 0;
    value = v;
    return 1;
}

int IRactFinder::GetElementPress(UINT elem, UINT& key, double& value) {
    CDataBase* pDB = DB();
    const T_PELEM_D* e = pDB ? pDB->Table<DBT_PELEM>().Find(elem) : nullptr;
    if (!e) return 0;
    const int n = e->nNode == 2 ? 5 : std::min(e->nNode, 7);
    if (n <= 0) return 0;
    UINT k = key;
    double v = 0.0;
    BOOL ok = Governing(pDB, k, v, [elem, n](CPostCtrl& post, double& out) {
        T_STWS_D s;
        s.Initialize();
        if (!post.GetStws(elem, &s, nullptr, nullptr)) return FALSE;
        double sum = 0.0;
        for (int i = 0; i < n; ++i) sum += s.d[i];
        out = sum / n;
        return TRUE;
    });
    if (!ok) return 0;
    key = k;
    value = v;
    return 1;
}
