#include "host/db/CGeomCtrl.h"
#include "host/db/CMembUtil.h"
#include "host/db/DBTables.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Pt {
    double v[3];
};

// Faces under construction for one call.
struct ShapeOut {
    std::vector<int> counts, index, index2;
    std::vector<double> coords;
    std::vector<UINT> nodeKeys;

    int AddVertex(const double p[3], UINT nodeKey) {
        int at = static_cast<int>(coords.size());
        coords.insert(coords.end(), p, p + 3);
        nodeKeys.push_back(nodeKey);
        return at;
    }
    void AddFace(std::initializer_list<int> verts, std::initializer_list<int> local) {
        counts.push_back(static_cast<int>(verts.size()));
        index.insert(index.end(), verts.begin(), verts.end());
        index2.insert(index2.end(), local.begin(), local.end());
    }
    void AddFace(const std::vector<int>& verts, const std::vector<int>& local) {
        AddFace(verts.data(), local.data(), static_cast<int>(verts.size()));
    }
    void AddFace(const int* verts, const int* local, int n) {
        counts.push_back(n);
        index.insert(index.end(), verts, verts + n);
        index2.insert(index2.end(), local, local + n);
    }
    // Empty, keeping the room (shapes are made element after element).
    void Clear() {
        counts.clear();
        index.clear();
        index2.clear();
        coords.clear();
        nodeKeys.clear();
    }
    void Append(const ShapeOut& o) {
        int base = static_cast<int>(coords.size());
        counts.insert(counts.end(), o.counts.begin(), o.counts.end());
        for (int i : o.index) index.push_back(i + base);
        index2.insert(index2.end(), o.index2.begin(), o.index2.end());
        coords.insert(coords.end(), o.coords.begin(), o.coords.end());
        nodeKeys.insert(nodeKeys.end(), o.nodeKeys.begin(), o.nodeKeys.end());
    }
};

template <class T, class A> void ToArray(const std::vector<T>& v, CArray<T, A>* out) {
    if (!out) return;
    out->SetSize(static_cast<INT_PTR>(v.size()));
    for (size_t i = 0; i < v.size(); ++i) (*out)[static_cast<INT_PTR>(i)] = v[i];
}

void Publish(const ShapeOut& s, int& nFaces, CArray<int, int>* pCounts, CArray<int, int>* pIndex,
             CArray<int, int>* pIndex2, CArray<double, double>* pCoords, CArray<UINT, UINT>* pNodeKeys) {
    nFaces = static_cast<int>(s.counts.size());
    ToArray(s.counts, pCounts);
    ToArray(s.index, pIndex);
    ToArray(s.index2, pIndex2);
    ToArray(s.coords, pCoords);
    ToArray(s.nodeKeys, pNodeKeys);
}

bool IsLineElem(const T_PELEM_D& e) {
    return e.kind == PELEM_KIND_FRAME || e.kind == PELEM_KIND_TRUSS || e.type == 101 || e.type == 200 ||
           e.type == 403 || e.type == 201 || e.type == 205 || e.type == 206;
}

// Corners of a section in its local (y, z) plane; 0 corners when the section has no outline.
std::vector<std::pair<double, double>> SectionCorners(const T_PSECT_D* s) {
    std::vector<std::pair<double, double>> c;
    if (!s) return c;
    if (s->type == 3 && s->dim[0] > 0) {
        double r = s->dim[0] / 2;
        for (int i = 0; i < 8; ++i) c.push_back({r * std::cos(i * M_PI / 4), r * std::sin(i * M_PI / 4)});
    } else if (s->type == 1 && s->dim[0] > 0 && s->dim[1] > 0) {
        double b = s->dim[0] / 2, h = s->dim[1] / 2;
        c = {{-b, -h}, {b, -h}, {b, h}, {-b, h}};
    }
    return c;
}

// Builds the faces of one element; 0 when the element or one of its nodes is unknown.
int BuildElement(CDataBase* db, UINT key, int bWireFrame, CArray<T_DISP_D>* pNodeDisp, ShapeOut& out) {
    const T_PELEM_D* e = db->Table<DBT_PELEM>().Find(key);
    if (!e) return 0;
    int n = std::clamp(e->nNode, 0, PELEM_MAX_NODE);
    Pt p[PELEM_MAX_NODE];
    for (int i = 0; i < n; ++i) {
        const T_PNODE_D* nd = db->Table<DBT_PNODE>().Find(e->node[i]);
        if (!nd) return 0;
        p[i] = {{nd->x, nd->y, nd->z}};
        if (pNodeDisp && i < pNodeDisp->GetSize()) {
            const T_DISP_D& d = (*pNodeDisp)[i];
            p[i].v[0] += d.DX;
            p[i].v[1] += d.DY;
            p[i].v[2] += d.DZ;
        }
    }
    if (n == 0) return 1;
    if (IsLineElem(*e)) {
        auto corners = bWireFrame ? std::vector<std::pair<double, double>>() : SectionCorners(db->Table<DBT_PSECT>().Find(e->sect));
        double ax[3][3];
        if (n >= 2 && !corners.empty() && CMembUtil::CalcFrameLocalVector(p[0].v, p[n - 1].v, e->beta, ax)) {
            int k = static_cast<int>(corners.size());
            std::vector<int> vi(k), vj(k);
            for (int end = 0; end < 2; ++end) {
                const Pt& c = end ? p[n - 1] : p[0];
                UINT nk = end ? e->node[n - 1] : e->node[0];
                for (int m = 0; m < k; ++m) {
                    double q[3];
                    for (int a = 0; a < 3; ++a) q[a] = c.v[a] + corners[m].first * ax[1][a] + corners[m].second * ax[2][a];
                    (end ? vj : vi)[m] = out.AddVertex(q, nk);
                }
            }
            for (int m = 0; m < k; ++m) {
                int m1 = (m + 1) % k;
                out.AddFace({vi[m], vi[m1], vj[m1], vj[m]}, {m, m1, k + m1, k + m});
            }
            std::vector<int> capI, capJ, locI, locJ;
            for (int m = k - 1; m >= 0; --m) {
                capI.push_back(vi[m]);
                locI.push_back(m);
            }
            for (int m = 0; m < k; ++m) {
                capJ.push_back(vj[m]);
                locJ.push_back(k + m);
            }
            out.AddFace(capI, locI);
            out.AddFace(capJ, locJ);
            return 1;
        }
    }
    int v[PELEM_MAX_NODE], loc[PELEM_MAX_NODE];
    for (int i = 0; i < n; ++i) {
        v[i] = out.AddVertex(p[i].v, e->node[i]);
        loc[i] = i;
    }
    if (e->kind == PELEM_KIND_SOLID && n == 8) {
        static const int kHex[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
        for (const auto& f : kHex)
            out.AddFace({v[f[0]], v[f[1]], v[f[2]], v[f[3]]}, {f[0], f[1], f[2], f[3]});
        return 1;
    }
    out.AddFace(v, loc, n);
    return 1;
}

void Shrink(ShapeOut& s, size_t fromVertex, double f, const Pt& centre) {
    for (size_t i = fromVertex * 3; i + 2 < s.coords.size(); i += 3)
        for (int a = 0; a < 3; ++a) s.coords[i + a] = f * s.coords[i + a] + (1 - f) * centre.v[a];
}

// Centre of an element's nodes: displaced by pNodeDisp, or else moved by the mean of the two
// end displacements of its member.
bool ElementCentre(CDataBase* db, UINT key, CArray<T_DISP_D>* pNodeDisp, CArray<T_DISP_D>* pEndDisp, Pt& c) {
    const T_PELEM_D* e = db->Table<DBT_PELEM>().Find(key);
    int n = e ? std::clamp(e->nNode, 0, PELEM_MAX_NODE) : 0;
    if (n == 0) return false;
    c = {{0, 0, 0}};
    for (int i = 0; i < n; ++i) {
        const T_PNODE_D* nd = db->Table<DBT_PNODE>().Find(e->node[i]);
        if (!nd) return false;
        double d[3] = {0, 0, 0};
        if (pNodeDisp && i < pNodeDisp->GetSize()) {
            d[0] = (*pNodeDisp)[i].DX;
            d[1] = (*pNodeDisp)[i].DY;
            d[2] = (*pNodeDisp)[i].DZ;
        }
        c.v[0] += (nd->x + d[0]) / n;
        c.v[1] += (nd->y + d[1]) / n;
        c.v[2] += (nd->z + d[2]) / n;
    }
    // The member's end displacements move the centre of undisplaced nodes; displaced nodes
    // already give the moved centre.
    if (!pNodeDisp && pEndDisp && pEndDisp->GetSize() == 2) {
        c.v[0] += ((*pEndDisp)[0].DX + (*pEndDisp)[1].DX) / 2;
        c.v[1] += ((*pEndDisp)[0].DY + (*pEndDisp)[1].DY) / 2;
        c.v[2] += ((*pEndDisp)[0].DZ + (*pEndDisp)[1].DZ) / 2;
    }
    return true;
}

bool ShrinkActive(int bShrink, double f) { return bShrink && f < 1.0; }
double ClampShrink(double f) { return f < 0.01 ? 0.01 : f; }

// The faces of element key (displaced by pNodeDisp when given), shrunk about its centre when
// asked; false when the element has no shape.
bool ElementShape(CDataBase* pDB, UINT key, int bWireFrame, CArray<T_DISP_D>* pNodeDisp, CArray<T_DISP_D>* pEndDisp,
                  int bShrink, double dShrink, ShapeOut& s) {
    if (!BuildElement(pDB, key, bWireFrame, pNodeDisp, s)) return false;
    Pt c;
    if (ShrinkActive(bShrink, dShrink) && ElementCentre(pDB, key, pNodeDisp, pEndDisp, c))
        Shrink(s, 0, ClampShrink(dShrink), c);
    return true;
}

// Elements are shaped one after another by the hundred thousand: the thread's vectors keep
// their room from one to the next.
ShapeOut& ThreadShape() {
    thread_local ShapeOut t_shape;
    t_shape.Clear();
    return t_shape;
}

}  // namespace

int CGeomCtrl::WidenElementBox(CDataBase* pDB, UINT key, int bShrink, double dShrink, CArray<T_DISP_D>* pEndDisp,
                               int bWireFrame, double lo[3], double hi[3]) {
    ShapeOut& s = ThreadShape();
    if (!pDB || !ElementShape(pDB, key, bWireFrame, nullptr, pEndDisp, bShrink, dShrink, s)) return 0;
    for (int i : s.index)
        for (int a = 0; a < 3; ++a) {
            const double v = s.coords[static_cast<size_t>(i + a)];
            if (v < lo[a]) lo[a] = v;
            if (v > hi[a]) hi[a] = v;
        }
    return 1;
}

int CGeomCtrl::MakeShapeElement(CDataBase* pDB, UINT key, int, int, int, int& nFaces, CArray<int, int>* pCounts,
                                CArray<int, int>* pIndex, CArray<int, int>* pIndex2, CArray<double, double>* pCoords,
                                int bShrink, double dShrink, CArray<T_DISP_D>* pEndDisp, CArray<UINT, UINT>* pNodeKeys,
                                int bWireFrame, CArray<T_DISP_D>* pNodeDisp, int) {
    ShapeOut& s = ThreadShape();
    nFaces = 0;
    const bool ok = pDB && ElementShape(pDB, key, bWireFrame, pNodeDisp, pEndDisp, bShrink, dShrink, s);
    if (!ok) s.Clear();
    Publish(s, nFaces, pCounts, pIndex, pIndex2, pCoords, pNodeKeys);
    return ok ? 1 : 0;
}

void CGeomCtrl::AppendElementShape(CDataBase* pDB, UINT key, int bShrink, double dShrink, CArray<T_DISP_D>* pEndDisp,
                                   int bWireFrame, CArray<T_DISP_D>* pNodeDisp, ElementShapes& out) {
    ShapeOut& s = ThreadShape();
    if (pDB && ElementShape(pDB, key, bWireFrame, pNodeDisp, pEndDisp, bShrink, dShrink, s)) {
        out.counts.insert(out.counts.end(), s.counts.begin(), s.counts.end());
        out.index.insert(out.index.end(), s.index.begin(), s.index.end());
        out.coords.insert(out.coords.end(), s.coords.begin(), s.coords.end());
        out.nodeKeys.insert(out.nodeKeys.end(), s.nodeKeys.begin(), s.nodeKeys.end());
    }
    out.faceAt.push_back(out.counts.size());
    out.indexAt.push_back(out.index.size());
    out.coordAt.push_back(out.coords.size());
}

CArray<T_DISP_D>* CGeomCtrl::ElementNodeDisp(const CArray<T_DISP_D>* pNodeDisp, INT_PTR& at, int n,
                                            CArray<T_DISP_D>& scratch) {
    CArray<T_DISP_D>* pDisp = nullptr;
    if (pNodeDisp && at + n <= pNodeDisp->GetSize()) {
        scratch.SetSize(n);
        for (int k = 0; k < n; ++k) scratch[k] = (*pNodeDisp)[at + k];
        pDisp = &scratch;
    }
    at += n;
    return pDisp;
}

int CGeomCtrl::MakeShapePMember(CDataBase* pDB, UINT membKey, int, int, int, int& nFaces, CArray<int, int>* pCounts,
                                CArray<int, int>* pIndex, CArray<int, int>* pIndex2, CArray<double, double>* pCoords,
                                int bShrink, double dShrink, CArray<T_DISP_D>* pEndDisp, CArray<UINT, UINT>* pNodeKeys,
                                int bWireFrame, CArray<T_DISP_D>* pNodeDisp, int) {
    ShapeOut all;
    nFaces = 0;
    const T_PMEMB_D* m = pDB ? pDB->Table<DBT_PMEMB>().Find(membKey) : nullptr;
    if (!m) {
        Publish(all, nFaces, pCounts, pIndex, pIndex2, pCoords, pNodeKeys);
        return 0;
    }
    INT_PTR at = 0;  // first record of the element's nodes in pNodeDisp
    CArray<T_DISP_D> elemDisp;
    ShapeOut s;  // one element's faces, its room kept from element to element
    for (INT_PTR i = 0; i < m->aElem.GetSize(); ++i) {
        const T_PELEM_D* e = pDB->Table<DBT_PELEM>().Find(m->aElem[i]);
        const int n = e ? std::clamp(e->nNode, 0, PELEM_MAX_NODE) : 0;
        CArray<T_DISP_D>* pDisp = ElementNodeDisp(pNodeDisp, at, n, elemDisp);
        s.Clear();
        if (ElementShape(pDB, m->aElem[i], bWireFrame, pDisp, pEndDisp, bShrink, dShrink, s)) all.Append(s);
    }
    Publish(all, nFaces, pCounts, pIndex, pIndex2, pCoords, pNodeKeys);
    return 1;
}

int CGeomCtrl::makeAddZOffset(CDataBase*, const T_PMEMB_D& memb, CArray<double, double>* pCoords) {
    if (!pCoords) return 0;
    for (INT_PTR i = 2; i < pCoords->GetSize(); i += 3) (*pCoords)[i] += memb.offsetZ;
    return 1;
}

int CGeomCtrl::SetSuperElementShapeDirect(CDataBase* pDB, UINT elemKey, int, int, double) {
    m_pSEDB = pDB;
    m_nSEElem = elemKey;
    return pDB && pDB->Table<DBT_PSEMAP>().Find(elemKey) != nullptr;
}

int CGeomCtrl::SetSuperPMemberShape(CDataBase* pDB, UINT membKey, int opt, int iopt, double dopt) {
    const T_PMEMB_D* m = pDB ? pDB->Table<DBT_PMEMB>().Find(membKey) : nullptr;
    if (!m || m->aElem.GetSize() == 0) {
        m_pSEDB = pDB;
        m_nSEElem = 0;
        return 0;
    }
    return SetSuperElementShapeDirect(pDB, m->aElem[0], opt, iopt, dopt);
}

int CGeomCtrl::GetSuperElementShape(UINT modelElemKey, int& nFaces, CArray<int, int>* pCounts, CArray<int, int>* pIndex,
                                    CArray<int, int>* pIndex2, CArray<double, double>* pCoords,
                                    CArray<T_DISP_D>* pNodeDisp, CArray<UINT, UINT>* pNodeKeys, int opt) {
    return MakeShapeElement(m_pSEDB, modelElemKey, 0, 0, 0, nFaces, pCounts, pIndex, pIndex2, pCoords, 0, 1.0, nullptr,
                            pNodeKeys, 0, pNodeDisp, opt);
}

int CGeomCtrl::GetSuperElementWireFramePNodeList(CArray<UINT, UINT>& nodes) {
    nodes.RemoveAll();
    const T_PSEMAP_D* m = m_pSEDB ? m_pSEDB->Table<DBT_PSEMAP>().Find(m_nSEElem) : nullptr;
    if (!m) return 0;
    std::vector<UINT> keys;
    UINT k, v;
    for (int which : {1, 3})
        for (POSITION pos = m->map[which].GetStartPosition(); pos;) {
            m->map[which].GetNextAssoc(pos, k, v);
            keys.push_back(k);
        }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    ToArray(keys, &nodes);
    return 1;
}

int CGeomCtrl::GetSuperElementWireFrameShape(int& nFaces, CArray<int, int>* pCounts, CArray<int, int>* pIndex,
                                             CArray<int, int>* pIndex2, CArray<double, double>* pCoords,
                                             const CArray<UINT, UINT>* pNodeList, const CArray<T_DISP_D>* pDisp,
                                             CArray<UINT, UINT>* pNodeKeys, int) {
    ShapeOut s;
    nFaces = 0;
    const T_PSEMAP_D* m = m_pSEDB ? m_pSEDB->Table<DBT_PSEMAP>().Find(m_nSEElem) : nullptr;
    if (!m) {
        Publish(s, nFaces, pCounts, pIndex, pIndex2, pCoords, pNodeKeys);
        return 0;
    }
    std::vector<UINT> elems;
    UINT k, v;
    for (int which : {4, 2}) {
        std::vector<UINT> part;
        for (POSITION pos = m->map[which].GetStartPosition(); pos;) {
            m->map[which].GetNextAssoc(pos, k, v);
            part.push_back(k);
        }
        std::sort(part.begin(), part.end());
        elems.insert(elems.end(), part.begin(), part.end());
    }
    auto position = [&](UINT node, double q[3]) {
        const T_PNODE_D* nd = m_pSEDB->Table<DBT_PNODE>().Find(node);
        if (!nd) return false;
        q[0] = nd->x;
        q[1] = nd->y;
        q[2] = nd->z;
        if (pNodeList && pDisp)
            for (INT_PTR i = 0; i < pNodeList->GetSize() && i < pDisp->GetSize(); ++i)
                if ((*pNodeList)[i] == node) {
                    q[0] += (*pDisp)[i].DX;
                    q[1] += (*pDisp)[i].DY;
                    q[2] += (*pDisp)[i].DZ;
                    break;
                }
        return true;
    };
    for (UINT ek : elems) {
        const T_PELEM_D* e = m_pSEDB->Table<DBT_PELEM>().Find(ek);
        if (!e) continue;
        int n = std::clamp(e->nNode, 0, PELEM_MAX_NODE);
        int edges = n > 2 ? n : n - 1;
        for (int i = 0; i < edges; ++i) {
            UINT a = e->node[i], b = e->node[(i + 1) % n];
            double qa[3], qb[3];
            if (!position(a, qa) || !position(b, qb)) continue;
            int va = s.AddVertex(qa, a), vb = s.AddVertex(qb, b);
            s.AddFace({va, vb}, {i, (i + 1) % n});
        }
    }
    Publish(s, nFaces, pCounts, pIndex, pIndex2, pCoords, pNodeKeys);
    return 1;
}

BOOL CGeomCtrl::IsVisibleFace(int n, const double pts[][3]) const {
    if (n < 3) return TRUE;
    double z = 0;
    for (int i = 0; i < n; ++i) {
        const double* a = pts[i];
        const double* b = pts[(i + 1) % n];
        z += (a[0] - b[0]) * (a[1] + b[1]);
    }
    return z >= 0 ? TRUE : FALSE;
}

int CGeomCtrl::CalcPlaneLocalVector(CDataBase* pDB, UINT elemKey, double axes[3][3]) const {
    CClassPElem t;
    t.ConnectToDB(pDB);
    return t.calcPlaneLocalVector(elemKey, axes);
}

int CGeomCtrl::CalcPlaneLocalVector(int n, const double pts[][3], double axes[3][3]) const {
    return CClassPElem::calcPlaneLocalVector(n, pts, axes);
}

int CGeomCtrl::CalcFrameLocalVector(const double pi[3], const double pj[3], double beta, double axes[3][3], int) const {
    return CMembUtil::CalcFrameLocalVector(pi, pj, beta, axes);
}

int CGeomCtrl::MakeShrink(double factor, int n, double pts[][3], int) const {
    if (n <= 0) return 0;
    double f = factor < 0.01 ? 0.01 : (factor > 1.0 ? 1.0 : factor);
    double c[3] = {0, 0, 0};
    for (int i = 0; i < n; ++i)
        for (int a = 0; a < 3; ++a) c[a] += pts[i][a] / n;
    for (int i = 0; i < n; ++i)
        for (int a = 0; a < 3; ++a) pts[i][a] = f * pts[i][a] + (1 - f) * c[a];
    return 1;
}

int CGeomCtrl::makeSectShape(UINT lastNodeKey, CDataBase* pDB, int& count, CArray<int, int>& edgeKinds,
                             CArray<int, int>& vertexIdx, CArray<double, double>& coords, const T_DISP_D* pDisp, double) {
    count = 0;
    edgeKinds.RemoveAll();
    vertexIdx.RemoveAll();
    coords.RemoveAll();
    if (!pDB) return 0;
    for (UINT ek : pDB->GetElemsEndingAt(lastNodeKey)) {
        const T_PELEM_D* e = pDB->Table<DBT_PELEM>().Find(ek);
        if (!e || !IsLineElem(*e) || e->nNode < 2) continue;
        auto corners = SectionCorners(pDB->Table<DBT_PSECT>().Find(e->sect));
        const T_PNODE_D* a = pDB->Table<DBT_PNODE>().Find(e->node[0]);
        const T_PNODE_D* b = pDB->Table<DBT_PNODE>().Find(lastNodeKey);
        double ax[3][3];
        if (corners.empty() || !a || !b) continue;
        double pi[3] = {a->x, a->y, a->z}, pj[3] = {b->x, b->y, b->z};
        if (!CMembUtil::CalcFrameLocalVector(pi, pj, e->beta, ax)) continue;
        if (pDisp) {
            pj[0] += pDisp->DX;
            pj[1] += pDisp->DY;
            pj[2] += pDisp->DZ;
        }
        count = static_cast<int>(corners.size());
        for (int m = 0; m < count; ++m) {
            vertexIdx.Add(static_cast<int>(coords.GetSize()));
            for (int k = 0; k < 3; ++k) coords.Add(pj[k] + corners[m].first * ax[1][k] + corners[m].second * ax[2][k]);
            edgeKinds.Add(2);
        }
        return 1;
    }
    return 0;
}
