// Element and member shape builders of the result model, the wire-plane test and the model's
// bounding boxes, including the range queries of the graphics control.
#include <algorithm>
#include <cfloat>
#include <cstdint>
#include <cstring>
#include <vector>

#include "module/engines/CDeformEngine.h"
#include "host/db/CDBDoc.h"
#include "host/grx/GViewCamera.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXGeomCtrl.h"
#include "module/model/CPVXMembCtrl.h"
#include "module/model/CPVXSElemCtrl.h"
#include "module/model/I_PVXModel.h"

namespace {

// The empty box: any point widens it.
void StartBox(C3DPoint& lo, C3DPoint& hi) {
    lo.Set(DBL_MAX, DBL_MAX, DBL_MAX);
    hi.Set(-DBL_MAX, -DBL_MAX, -DBL_MAX);
}

void Widen(C3DPoint& lo, C3DPoint& hi, const C3DPoint& p) {
    if (p.x < lo.x) lo.x = p.x;
    if (p.y < lo.y) lo.y = p.y;
    if (p.z < lo.z) lo.z = p.z;
    if (p.x > hi.x) hi.x = p.x;
    if (p.y > hi.y) hi.y = p.y;
    if (p.z > hi.z) hi.z = p.z;
}

bool HasBox(const C3DPoint& lo, const C3DPoint& hi) { return lo.x <= hi.x && lo.y <= hi.y && lo.z <= hi.z; }

template <class T, class A> bool SameArray(const CArray<T, A>& a, const CArray<T, A>& b) {
    return a.GetSize() == b.GetSize() && std::equal(a.GetData(), a.GetData() + a.GetSize(), b.GetData());
}

// Engine with built data, or null.
CDeformEngine* DeformEngineWithData(const I_PVXModel& m) {
    return m.m_pDeformEngine && m.m_pDeformEngine->m_bDataReady ? m.m_pDeformEngine : nullptr;
}

// Both end displacements of a member for a shrink centre on the deformed shape; false when
// there is no member, no end node or no engine data.
bool MemberEndDisp(const I_PVXModel& m, UINT membKey, CArray<T_DISP_D>& out) {
    out.RemoveAll();
    CDeformEngine* pEngine = DeformEngineWithData(m);
    if (!pEngine || membKey == 0) return false;
    CPVXMembCtrl mc;
    UINT first = 0, last = 0;
    if (!mc.GetMembEndNodeKeys(membKey, first, last)) return false;
    T_DISP_D di, dj;
    pEngine->MakeDispD4Drawing(first, di);
    pEngine->MakeDispD4Drawing(last, dj);
    out.Add(di);
    out.Add(dj);
    return true;
}

// Flat host arrays of one shape request.
struct HostShape {
    int nFaces = 0;
    CArray<int, int> counts, index, index2;
    CArray<double, double> coords;
    CArray<UINT, UINT> nodeKeys;
    CArray<UINT, UINT> faceKeys;
};

// Turns the host arrays into faces sorted back to front and hands them to the caller. Returns
// the number of faces handed out; inconsistent host arrays hand out nothing.
int HandOutFaces(I_PVXModel& m, HostShape& s, PVXPolyListArray& faces, PVXIndexArrayList* pIndexArrays,
                 T_SHAPE_ARGUMENT& arg) {
    const double* c = s.coords.GetData();
    const INT_PTR nCoords = s.coords.GetSize();
    // The caller's lists may gather the faces of a whole model: appends stay amortised linear.
    if (arg.pVertices) GrowInProportion(*arg.pVertices, nCoords / 3);
    if (arg.pVertices)
        for (INT_PTR i = 0; i + 2 < nCoords; i += 3) arg.pVertices->Add(C3DPoint(c[i], c[i + 1], c[i + 2]));

    const bool wantIndex = pIndexArrays != nullptr;
    const bool wantNodeKeys = arg.pFaceNodeKeys != nullptr;
    // Face f (its points from index position at on): false when the host arrays disagree; what
    // was made is in poly, idx and keys either way.
    auto buildFace = [&](int f, INT_PTR& at, PVXPolyList*& poly, CArray<int>*& idx, CArray<UINT>*& keys) {
        const int n = s.counts[f];
        if (n < 0 || at + n > s.index.GetSize() || (wantIndex && at + n > s.index2.GetSize())) return false;
        poly = new PVXPolyList(10);
        idx = wantIndex ? new CArray<int>() : nullptr;
        keys = wantNodeKeys ? new CArray<UINT>() : nullptr;
        for (int v = 0; v < n; ++v, ++at) {
            const int i = s.index[at];
            if (i < 0 || i + 2 >= nCoords || (wantNodeKeys && i / 3 >= s.nodeKeys.GetSize())) return false;
            poly->AddTail(C3DPoint(c[i], c[i + 1], c[i + 2]));
            if (idx) idx->Add(s.index2[at]);
            if (keys) keys->Add(s.nodeKeys[i / 3]);
        }
        return true;
    };

    // One face (a plate, a line): nothing to sort, handed out as it is made (elements are shaped
    // by the hundred thousand).
    if (s.nFaces == 1 && s.counts.GetSize() >= 1 && (!arg.pFaceKeys || s.faceKeys.GetSize() == 1)) {
        INT_PTR at = 0;
        PVXPolyList* poly = nullptr;
        CArray<int>* idx = nullptr;
        CArray<UINT>* keys = nullptr;
        if (!buildFace(0, at, poly, idx, keys)) {
            delete poly;
            delete idx;
            delete keys;
            return 0;
        }
        GrowInProportion(faces, 1);
        faces.Add(poly);
        if (wantIndex) {
            GrowInProportion(*pIndexArrays, 1);
            pIndexArrays->Add(idx);
        }
        if (wantNodeKeys) {
            GrowInProportion(*arg.pFaceNodeKeys, 1);
            arg.pFaceNodeKeys->Add(keys);
        }
        if (arg.pFaceKeys) {
            GrowInProportion(*arg.pFaceKeys, 1);
            arg.pFaceKeys->Add(s.faceKeys[0]);
        }
        if (arg.pZOrder) {
            arg.pZOrder->SetSize(1);
            arg.pZOrder->SetAt(0, 0);
        }
        return 1;
    }

    PVXPolyListArray work;
    PVXIndexArrayList workIndex;
    PVXKeyArrayList workKeys;
    bool bad = s.nFaces < 0 || s.nFaces > s.counts.GetSize();
    if (!bad) {
        work.SetSize(0, s.nFaces);
        if (wantIndex) workIndex.SetSize(0, s.nFaces);
        if (wantNodeKeys) workKeys.SetSize(0, s.nFaces);
    }
    INT_PTR at = 0;
    for (int f = 0; !bad && f < s.nFaces; ++f) {
        PVXPolyList* poly = nullptr;
        CArray<int>* idx = nullptr;
        CArray<UINT>* keys = nullptr;
        bad = !buildFace(f, at, poly, idx, keys);
        if (!poly) break;
        work.Add(poly);
        if (wantIndex) workIndex.Add(idx);
        if (wantNodeKeys) workKeys.Add(keys);
    }

    CArray<int, int> order;
    if (!bad) {
        // One face (a plate, a line) has nothing to sort.
        if (m.m_pPVXCtrl && work.GetSize() > 1) {
            m.m_pPVXCtrl->GetZSortPolygonList(work, order);
        } else {
            for (INT_PTR i = 0; i < work.GetSize(); ++i) order.Add(static_cast<int>(i));
        }
    }
    // A face-key list that does not match the faces (host data of a super element disagree)
    // would misalign every per-face lookup of the caller: nothing is handed out then.
    const bool keysMatch = !arg.pFaceKeys || s.faceKeys.GetSize() == order.GetSize();
    int nOut = 0;
    if (!bad && keysMatch && order.GetSize() == work.GetSize()) {
        const INT_PTR nFaces = order.GetSize();
        GrowInProportion(faces, nFaces);
        if (wantIndex) GrowInProportion(*pIndexArrays, nFaces);
        if (wantNodeKeys) GrowInProportion(*arg.pFaceNodeKeys, nFaces);
        if (arg.pFaceKeys) GrowInProportion(*arg.pFaceKeys, nFaces);
        for (INT_PTR k = 0; k < order.GetSize(); ++k) {
            const INT_PTR i = order[k];
            faces.Add(work[i]);
            work[i] = nullptr;
            if (wantIndex) {
                pIndexArrays->Add(workIndex[i]);
                workIndex[i] = nullptr;
            }
            if (wantNodeKeys) {
                arg.pFaceNodeKeys->Add(workKeys[i]);
                workKeys[i] = nullptr;
            }
            if (arg.pFaceKeys) arg.pFaceKeys->Add(s.faceKeys[i]);
        }
        if (arg.pZOrder) arg.pZOrder->Copy(order);
        nOut = static_cast<int>(order.GetSize());
    }
    I_PVXModel::FreeMemoryPolyList(&work, &workIndex, &workKeys, nullptr);
    return nOut;
}

// Culling option handed to the host: the display options' line or plane culling, unless faces
// are drawn as edges or every vertex is asked for.
int CullOption(const T_PVX_DOPT_D& opt, const T_SHAPE_ARGUMENT& arg, int type, bool bSuper) {
    if (opt.m_bWireFrame || arg.pVertices) return 0;
    if (CPVXAttrCtrl::IsLineElemType(type)) return opt.m_bLineCulling;
    if (CPVXAttrCtrl::IsPlaneElemType(type) || bSuper) return opt.m_bPlaneCulling;
    return 0;
}

// The host arrays of one element's faces (the common steps of the element builders); bPlainOnly
// picks the keyed host shape as the fallback instead of the element shape without super-element
// handling. The arrays asked for are written whole, so s may hold an earlier element's.
bool BuildElementHostShape(I_PVXModel& m, UINT nKey, T_PELEM_D& elem, bool wantIndex2, T_SHAPE_ARGUMENT& arg,
                           int bUseElemShape, bool bPlainOnly, HostShape& s) {
    CPVXGeomCtrl* pGeom = m.GetGeomCtrl();
    if (!pGeom) return false;
    T_PVX_DOPT_D none;
    const T_PVX_DOPT_D& opt = m.m_pDispOpt ? *m.m_pDispOpt : none;

    CArray<T_DISP_D> endDisp;
    CArray<T_DISP_D>* pEndDisp = nullptr;
    if (arg.bDeformed && opt.m_bShrink) {
        CPVXMembCtrl mc;
        if (MemberEndDisp(m, mc.GetMembKeyByElem(nKey), endDisp)) pEndDisp = &endDisp;
    }
    const int cull = CullOption(opt, arg, elem.type, CPVXSElemCtrl::IsSuperElem(elem) != 0);
    const int wirePlane = m.IsPossibleWirePlaneMode(elem.type);

    CArray<UINT, UINT>* pFaceKeys = arg.pFaceKeys ? &s.faceKeys : nullptr;
    CArray<int, int>* pIndex2 = wantIndex2 ? &s.index2 : nullptr;
    CArray<UINT, UINT>* pNodeKeys = arg.pFaceNodeKeys ? &s.nodeKeys : nullptr;
    if (bUseElemShape || !bPlainOnly) {
        pGeom->MakeElemShape(nKey, cull, wirePlane, arg.bDeformed, s.nFaces, &s.counts, &s.index, pIndex2, &s.coords,
                             opt.m_bShrink, opt.m_dShrinkFactor, pEndDisp, pNodeKeys, opt.m_bWireFrame,
                             arg.pNodeDisp, elem, pFaceKeys, bUseElemShape ? 0 : 1);
    } else {
        pGeom->MakeShapeElementKeyed(nKey, cull, wirePlane, arg.bDeformed, s.nFaces, &s.counts, &s.index, pIndex2,
                                     &s.coords, opt.m_bShrink, opt.m_dShrinkFactor, pEndDisp, pNodeKeys,
                                     opt.m_bWireFrame, arg.pNodeDisp, pFaceKeys);
    }
    return true;
}

int BuildElementShape(I_PVXModel& m, UINT nKey, T_PELEM_D& elem, PVXPolyListArray& faces,
                      PVXIndexArrayList* pIndexArrays, T_SHAPE_ARGUMENT& arg, int bUseElemShape, bool bPlainOnly) {
    HostShape s;
    if (!BuildElementHostShape(m, nKey, elem, pIndexArrays != nullptr, arg, bUseElemShape, bPlainOnly, s)) return 0;
    return HandOutFaces(m, s, faces, pIndexArrays, arg);
}

// Appends the faces HandOutFaces would hand out of s with index lists, node keys and face keys
// to out, in the host's order, with the same checks: inconsistent host arrays append nothing.
// Returns the number of faces appended.
int AppendFlatFaces(const HostShape& s, PVXFlatFaces& out) {
    const double* c = s.coords.GetData();
    const INT_PTR nCoords = s.coords.GetSize();
    if (s.nFaces < 0 || s.nFaces > s.counts.GetSize() || s.faceKeys.GetSize() != s.nFaces) return 0;
    INT_PTR at = 0;
    for (int f = 0; f < s.nFaces; ++f) {
        const int n = s.counts[f];
        if (n < 0 || at + n > s.index.GetSize() || at + n > s.index2.GetSize()) return 0;
        for (int v = 0; v < n; ++v, ++at) {
            const int i = s.index[at];
            if (i < 0 || i + 2 >= nCoords || i / 3 >= s.nodeKeys.GetSize()) return 0;
        }
    }
    if (out.start.empty()) out.start.push_back(0);
    at = 0;
    for (int f = 0; f < s.nFaces; ++f) {
        for (int v = 0; v < s.counts[f]; ++v, ++at) {
            const int i = s.index[at];
            out.corners.emplace_back(c[i], c[i + 1], c[i + 2]);
            out.flags.push_back(s.index2[at]);
            out.keys.push_back(s.nodeKeys[i / 3]);
        }
        out.start.push_back(static_cast<int>(out.corners.size()));
        out.faceKeys.push_back(s.faceKeys[f]);
    }
    return s.nFaces;
}

// One face of flat arrays walked as a list of its points (GetHeadPosition, GetNext).
struct FlatFaceView {
    const C3DPoint* first;
    const C3DPoint* end;
    POSITION GetHeadPosition() const { return first != end ? ToPosition(first) : nullptr; }
    const C3DPoint& GetNext(POSITION& pos) const {
        const C3DPoint* p = reinterpret_cast<const C3DPoint*>(pos);
        pos = p + 1 != end ? ToPosition(p + 1) : nullptr;
        return *p;
    }
    static POSITION ToPosition(const C3DPoint* p) { return reinterpret_cast<POSITION>(const_cast<C3DPoint*>(p)); }
};

// Puts the faces of one element (host order) back to front as HandOutFaces does, from the same
// centroid sums; returns the number of faces (0, out emptied, when the sort fails).
int SortFlatFaces(I_PVXModel& m, PVXFlatFaces& out) {
    const int nFaces = out.Faces();
    if (nFaces < 2 || !m.m_pPVXCtrl) return nFaces;
    // The control sorts faces walked as lists: each face is handed over as a view of its points.
    std::vector<FlatFaceView> views;
    views.reserve(static_cast<size_t>(nFaces));
    CArray<FlatFaceView*> faces;
    faces.SetSize(nFaces);
    for (int f = 0; f < nFaces; ++f) {
        views.push_back({out.corners.data() + out.start[f], out.corners.data() + out.start[f + 1]});
        faces[f] = &views.back();
    }
    CArray<int, int> order;
    m.m_pPVXCtrl->GetZSortPolygonList(faces, order);
    if (order.GetSize() != nFaces) return out.Clear(), 0;
    PVXFlatFaces sorted;
    sorted.start.push_back(0);
    for (INT_PTR k = 0; k < order.GetSize(); ++k) {
        const int f = order[k];
        const size_t a = static_cast<size_t>(out.start[f]), b = static_cast<size_t>(out.start[f + 1]);
        sorted.corners.insert(sorted.corners.end(), out.corners.begin() + a, out.corners.begin() + b);
        sorted.flags.insert(sorted.flags.end(), out.flags.begin() + a, out.flags.begin() + b);
        sorted.keys.insert(sorted.keys.end(), out.keys.begin() + a, out.keys.begin() + b);
        sorted.start.push_back(static_cast<int>(sorted.corners.size()));
        sorted.faceKeys.push_back(out.faceKeys[static_cast<size_t>(f)]);
    }
    std::swap(out, sorted);
    return nFaces;
}

// Copies faces [first, first + n) of from into out (replacing its contents).
void CopyFlatFaces(const PVXFlatFaces& from, int first, int n, PVXFlatFaces& out) {
    out.Clear();
    out.start.push_back(0);
    if (n <= 0) return;
    const size_t a = static_cast<size_t>(from.start[first]), b = static_cast<size_t>(from.start[first + n]);
    out.corners.assign(from.corners.begin() + a, from.corners.begin() + b);
    out.flags.assign(from.flags.begin() + a, from.flags.begin() + b);
    out.keys.assign(from.keys.begin() + a, from.keys.begin() + b);
    for (int f = first; f < first + n; ++f) out.start.push_back(from.start[f + 1] - static_cast<int>(a));
    out.faceKeys.assign(from.faceKeys.begin() + first, from.faceKeys.begin() + first + n);
}

}  // namespace

// ---- shape builders -------------------------------------------------------------------------------

int I_PVXModel::GetShapeElement(UINT nKey, T_PELEM_D& elem, PolyListArray& faces, IndexArrayList* pIndexArrays,
                                T_SHAPE_ARGUMENT& arg, int bUseElemShape, int) {
    return BuildElementShape(*this, nKey, elem, faces, pIndexArrays, arg, bUseElemShape, false);
}

const I_PVXModel::ElementFaces::Entry* I_PVXModel::ElementFaces::Find(UINT nKey) const {
    if (nKey < dense.size() && dense[nKey].nFirst >= 0) return &dense[nKey];
    if (sparse.empty()) return nullptr;
    const auto it = sparse.find(nKey);
    return it != sparse.end() ? &it->second : nullptr;
}

const I_PVXModel::ElementFaces::Entry& I_PVXModel::ElementFaces::Put(UINT nKey, const Entry& e) {
    ++nMade;
    if (nKey < dense.size() || nKey < 4 * nMade + 4096) {
        if (nKey >= dense.size()) dense.resize(static_cast<size_t>(nKey) + 1);
        if (!sparse.empty()) sparse.erase(nKey);
        return dense[nKey] = e;
    }
    return sparse[nKey] = e;
}

void I_PVXModel::ElementFaces::Clear() {
    dense.clear();
    sparse.clear();
    nMade = 0;
    store.Clear();
}

int I_PVXModel::GetShapeElementFlat(UINT nKey, T_PELEM_D& elem, PVXFlatFaces& out, T_SHAPE_ARGUMENT& arg) {
    return ShapeElementFlat(nKey, elem, out, nullptr, arg);
}

int I_PVXModel::GetShapeElementFlat(UINT nKey, T_PELEM_D& elem, PVXFlatFaces& scratch, PVXFacesRef& ref,
                                    T_SHAPE_ARGUMENT& arg) {
    return ShapeElementFlat(nKey, elem, scratch, &ref, arg);
}

int I_PVXModel::ShapeElementFlat(UINT nKey, T_PELEM_D& elem, PVXFlatFaces& out, PVXFacesRef* pRef,
                                 T_SHAPE_ARGUMENT& arg) {
    // Elements are shaped one after another by the hundred thousand: the host arrays keep their
    // room from one to the next.
    thread_local HostShape t_shape;
    CArray<UINT, UINT> faceKeys;
    PVXKeyArrayList nodeKeys;
    T_SHAPE_ARGUMENT keyed = arg;
    keyed.pFaceKeys = &faceKeys;
    keyed.pFaceNodeKeys = &nodeKeys;
    auto build = [&](PVXFlatFaces& to) {
        return BuildElementHostShape(*this, nKey, elem, true, keyed, 1, false, t_shape) ? AppendFlatFaces(t_shape, to)
                                                                                         : 0;
    };
    // The undeformed shape of a plain request is kept; anything else is made each time.
    if (arg.bDeformed || arg.pNodeDisp || arg.pVertices || arg.pZOrder) {
        out.Clear();
        build(out);
        const int n = SortFlatFaces(*this, out);
        if (pRef) *pRef = PVXFacesRef::Of(out, 0, n);
        return n;
    }
    ElementFaces& c = m_ElementFaces;
    const ShownRangeKey key = MakeShownRangeKey();
    if (!c.bValid || !(c.key == key) || c.nDisplayMode != m_nDisplayMode) {
        c.Clear();
        c.key = key;
        c.nDisplayMode = m_nDisplayMode;
        c.bValid = 1;
    }
    const ElementFaces::Entry* pKept = c.Find(nKey);
    if (!pKept || pKept->nType != elem.type || pKept->nKind != elem.kind) {
        ElementFaces::Entry e;
        e.nFirst = c.store.Faces();
        e.nFaces = build(c.store);
        e.nType = elem.type;
        e.nKind = elem.kind;
        pKept = &c.Put(nKey, e);
    }
    const ElementFaces::Entry& e = *pKept;
    // A single face is handed out as kept: the sort leaves it as it is.
    if (pRef && e.nFaces < 2) {
        *pRef = PVXFacesRef::Of(c.store, e.nFirst, e.nFaces);
        return e.nFaces;
    }
    CopyFlatFaces(c.store, e.nFirst, e.nFaces, out);
    const int n = SortFlatFaces(*this, out);
    if (pRef) *pRef = PVXFacesRef::Of(out, 0, n);
    return n;
}

void I_PVXModel::AppendElementFacesInputs(std::vector<unsigned long long>& out) const {
    const ShownRangeKey k = MakeShownRangeKey();
    for (int i = 0; i < 3; ++i) {
        out.push_back(reinterpret_cast<uintptr_t>(k.pDB[i]));
        out.push_back(k.nVersion[i]);
    }
    unsigned long long shrink;
    static_assert(sizeof shrink == sizeof k.dShrinkFactor);
    std::memcpy(&shrink, &k.dShrinkFactor, sizeof shrink);
    for (const int v : {k.bDispOpt, k.bPartial, k.bShrink, k.bWireFrame, k.bLineCulling, k.bPlaneCulling,
                        k.nRenderStyle, m_nDisplayMode})
        out.push_back(static_cast<unsigned long long>(static_cast<unsigned>(v)));
    out.push_back(shrink);
}

int I_PVXModel::GetShapeOnlyElement(UINT nKey, T_PELEM_D& elem, PolyListArray& faces, IndexArrayList* pIndexArrays,
                                    T_SHAPE_ARGUMENT& arg, int bUseElemShape, int) {
    return BuildElementShape(*this, nKey, elem, faces, pIndexArrays, arg, bUseElemShape, true);
}

namespace {

// Whether the member is made of super elements, read from its first element; false when that
// cannot be read. A member without elements stands for a wall (member type 202) or a frame.
bool IsSuperMember(I_PVXModel& m, const T_PMEMB_D& memb, bool& bSuper) {
    T_PELEM_D first;
    first.Initialize();
    if (memb.aElem.GetSize() > 0) {
        if (!m.m_pAttrCtrl || !m.m_pAttrCtrl->GetElem(memb.aElem[0], first)) return false;
    } else {
        first.kind = memb.type == 202 ? PELEM_KIND_WALL : PELEM_KIND_FRAME;
    }
    bSuper = CPVXSElemCtrl::IsSuperElem(first) != 0;
    return true;
}

// The host arrays of one member's faces; false when the member cannot be shaped. With pRuns, a
// plain member's faces go to it a run of elements at a time instead (*pPieceTaken set): a
// raft's faces joined in host arrays would be a second copy of them.
bool BuildMemberHostShape(I_PVXModel& m, UINT nKey, T_PMEMB_D& memb, bool wantIndex2, T_SHAPE_ARGUMENT& arg,
                          HostShape& s, const CPVXGeomCtrl::ShapeRuns* pRuns = nullptr,
                          bool* pPieceTaken = nullptr) {
    CPVXGeomCtrl* pGeom = m.GetGeomCtrl();
    if (!pGeom) return false;
    T_PVX_DOPT_D none;
    const T_PVX_DOPT_D& opt = m.m_pDispOpt ? *m.m_pDispOpt : none;

    bool bSuper = false;
    if (!IsSuperMember(m, memb, bSuper)) return false;

    CArray<T_DISP_D> endDisp;
    CArray<T_DISP_D>* pEndDisp = nullptr;
    if (arg.bDeformed && opt.m_bShrink && MemberEndDisp(m, nKey, endDisp)) pEndDisp = &endDisp;
    const int cull = CullOption(opt, arg, memb.type, bSuper);
    const int wirePlane = m.IsPossibleWirePlaneMode(memb.type);

    CArray<UINT, UINT>* pFaceKeys = arg.pFaceKeys ? &s.faceKeys : nullptr;
    CArray<int, int>* pIndex2 = wantIndex2 ? &s.index2 : nullptr;
    CArray<UINT, UINT>* pNodeKeys = arg.pFaceNodeKeys ? &s.nodeKeys : nullptr;
    if (bSuper) {
        pGeom->MakeSuperMembShape(nKey, cull, wirePlane, arg.bDeformed, s.nFaces, &s.counts, &s.index, pIndex2,
                                  &s.coords, opt.m_bShrink, opt.m_dShrinkFactor, pEndDisp, pNodeKeys,
                                  opt.m_bWireFrame, arg.pNodeDisp, memb, pFaceKeys);
    } else if (pRuns) {
        *pPieceTaken = true;
        pGeom->ForEachMembElemShape(nKey, cull, wirePlane, arg.bDeformed, opt.m_bShrink, opt.m_dShrinkFactor,
                                    pEndDisp, opt.m_bWireFrame, arg.pNodeDisp, *pRuns);
    } else {
        pGeom->MakeMembShape(nKey, cull, wirePlane, arg.bDeformed, s.nFaces, &s.counts, &s.index, pIndex2, &s.coords,
                             opt.m_bShrink, opt.m_dShrinkFactor, pEndDisp, pNodeKeys, opt.m_bWireFrame,
                             arg.pNodeDisp, memb, pFaceKeys, 1);
    }
    return true;
}

// The box of the faces HandOutFaces would hand out of s (with index lists): the same checks,
// so inconsistent host arrays give the empty box, but no face lists are made.
void BoxOfHostShape(const HostShape& s, C3DPoint& lo, C3DPoint& hi) {
    StartBox(lo, hi);
    const INT_PTR nCoords = s.coords.GetSize();
    if (s.nFaces < 0 || s.nFaces > s.counts.GetSize()) return;
    C3DPoint a, b;
    StartBox(a, b);
    INT_PTR at = 0;
    for (int f = 0; f < s.nFaces; ++f) {
        const int n = s.counts[f];
        if (n < 0 || at + n > s.index.GetSize() || at + n > s.index2.GetSize()) return;
        for (int v = 0; v < n; ++v, ++at) {
            const int i = s.index[at];
            if (i < 0 || i + 2 >= nCoords) return;
            Widen(a, b, C3DPoint(s.coords[i], s.coords[i + 1], s.coords[i + 2]));
        }
    }
    lo = a;
    hi = b;
}

}  // namespace

int I_PVXModel::GetShapeMember(UINT nKey, T_PMEMB_D& memb, PolyListArray& faces, IndexArrayList* pIndexArrays,
                               T_SHAPE_ARGUMENT& arg, int, int) {
    HostShape s;
    if (!BuildMemberHostShape(*this, nKey, memb, pIndexArrays != nullptr, arg, s)) return 0;
    return HandOutFaces(*this, s, faces, pIndexArrays, arg);
}

int I_PVXModel::GetShapeMemberFlat(UINT nKey, T_PMEMB_D& memb, T_SHAPE_ARGUMENT& arg, bool bKeys, PVXFlatFaces& out,
                                   bool bCorners) {
    out.Clear();
    PVXKeyArrayList none;
    T_SHAPE_ARGUMENT a = arg;
    a.pFaceNodeKeys = bKeys ? &none : nullptr;  // asks the host for the keys; nothing is put in it
    HostShape s;
    bool flat = false;
    out.Begin(static_cast<size_t>(memb.aElem.GetSize()) * 4);  // room for a plate's four corners each
    // Each run of elements checked and its points found on the thread that made it.
    std::vector<PVXFlatFaces::Prepared> prepared;
    CPVXGeomCtrl::ShapeRuns runs;
    runs.begin = [&](size_t n) { prepared.resize(n); };
    runs.prepare = [&](size_t r, const ElementShapes& run) { PVXFlatFaces::Prepare(run, bKeys, prepared[r]); };
    runs.take = [&](size_t r, const ElementShapes&) {
        const bool ok = out.AddPrepared(prepared[r]);
        prepared[r] = PVXFlatFaces::Prepared{};
        return ok;
    };
    if (!BuildMemberHostShape(*this, nKey, memb, false, a, s, &runs, &flat)) {
        out.Clear();
        return 0;
    }
    if (flat) return out.Finish(m_pPVXCtrl, bCorners);
    return out.TakeAndFree(s.nFaces, s.counts, s.index, s.coords, bKeys ? &s.nodeKeys : nullptr, m_pPVXCtrl);
}

PVXFacesKey I_PVXModel::MakeFacesKey(int nMembType, int bDeformed, int bKeys) const {
    PVXFacesKey k;
    const ShownRangeKey r = MakeShownRangeKey();
    k.pDB[0] = m_pGeomCtrl;
    for (int i = 0; i < 3; ++i) {
        k.pDB[i + 1] = r.pDB[i];
        k.nVersion[i] = r.nVersion[i];
    }
    if (const T_PVX_DOPT_D* o = m_pDispOpt) {
        k.bDispOpt = 1;
        k.bShrink = o->m_bShrink;
        k.dShrinkFactor = o->m_dShrinkFactor;
        k.bWireFrame = o->m_bWireFrame;
        k.bLineCulling = o->m_bLineCulling;
        k.bPlaneCulling = o->m_bPlaneCulling;
    }
    k.nWirePlane = IsPossibleWirePlaneMode(nMembType);
    k.bDeformed = bDeformed;
    k.bKeys = bKeys;
    if (m_pPVXCtrl) {
        // The turn of the view orders the faces back to front.
        const GViewCamera& cam = m_pPVXCtrl->GetCamera();
        const C3DPoint* axes[3] = {&cam.GetRight(), &cam.GetUp(), &cam.GetEye()};
        for (int i = 0; i < 3; ++i) {
            k.turn[3 * i] = axes[i]->x;
            k.turn[3 * i + 1] = axes[i]->y;
            k.turn[3 * i + 2] = axes[i]->z;
        }
    }
    return k;
}

const PVXFlatFaces* I_PVXModel::KeptMemberFaces(PVXKeptFaces& keep, UINT nKey, T_PMEMB_D& memb, T_SHAPE_ARGUMENT& arg,
                                                bool bKeys) {
    if (arg.pVertices || arg.pFaceKeys || arg.pNodeDisp || arg.pZOrder) return nullptr;
    if (arg.bDeformed && m_pDispOpt && m_pDispOpt->m_bShrink) return nullptr;
    const PVXFacesKey key = MakeFacesKey(memb.type, arg.bDeformed, bKeys);
    if (const PVXFlatFaces* kept = keep.Find(nKey, key)) return kept;
    PVXKeptFaces::Entry& e = keep.Renew(nKey, key);
    GetShapeMemberFlat(nKey, memb, arg, bKeys, e.faces, false);
    if (bKeys) e.faces.IndexNodes({});
    e.faces.Compact();
    return &e.faces;
}

int I_PVXModel::IsPossibleWirePlaneMode(int nElemType) const {
    using namespace PVXMode;
    const int mode = m_nDisplayMode;
    if (mode < kDispContour || mode > kLast) return TRUE;
    switch (mode) {
    case kDispContour: case kStoryShearRatio: case kWallForceContour: case kPlateForce: case kPlateStress:
    case kSlabForce: case kSlabRebar: case kSlabCrack: case kSlabDeflection: case kSlabWall: case kSlabStrip:
    case kSlabForceBeam: case kReactionContour:
        return FALSE;
    case kModeShape:
        return m_bModeShapeContour ? FALSE : TRUE;
    case kFrameForceContour: case kFigColumnForce:
        return CPVXAttrCtrl::IsWirePlaneElemType(nElemType) ? FALSE : TRUE;
    default:
        return TRUE;
    }
}

// ---- bounding boxes -------------------------------------------------------------------------------

I_PVXModel::ShownRangeKey I_PVXModel::MakeShownRangeKey() const {
    ShownRangeKey k;
    const CDataBase* dbs[3] = {
        m_pGeomCtrl && m_pGeomCtrl->m_pDBDoc && m_pGeomCtrl->m_pMDBCtrl ? m_pGeomCtrl->m_pMDBCtrl->GetDBPost() : nullptr,
        m_pGeomCtrl ? m_pGeomCtrl->m_PElem.GetDB() : nullptr,
        m_pAttrCtrl ? m_pAttrCtrl->m_PMemb.GetDB() : nullptr};
    // Reading a database's version visits each of its model tables: an element shaped after
    // another takes the versions read for that one while no table anywhere has changed since.
    ShownVersions& memo = m_shownVersions;
    const unsigned long long nLast = pvxdb::DBTableBase::LastVersion();
    const bool bSame = memo.bValid && memo.nLastVersion == nLast && std::equal(dbs, dbs + 3, memo.pDB);
    for (int i = 0; i < 3; ++i) {
        k.pDB[i] = dbs[i];
        // The three are mostly one database: its version is read once.
        k.nVersion[i] = bSame     ? memo.nVersion[i]
                        : !dbs[i] ? 0
                        : i > 0 && dbs[i] == dbs[i - 1] ? k.nVersion[i - 1]
                                                        : dbs[i]->GetModelVersion();
    }
    if (!bSame) {
        memo.nLastVersion = nLast;
        std::copy(dbs, dbs + 3, memo.pDB);
        std::copy(k.nVersion, k.nVersion + 3, memo.nVersion);
        memo.bValid = true;
    }
    if (const T_PVX_DOPT_D* o = m_pDispOpt) {
        k.bDispOpt = 1;
        k.bPartial = o->m_nPartialDisplay1 == 1 && o->m_nPartialDisplay2 == 0;
        k.bShrink = o->m_bShrink;
        k.dShrinkFactor = o->m_dShrinkFactor;
        // Diagram displays draw the members as lines whatever the option says (see GetRangeElement).
        k.bWireFrame = o->m_bWireFrame || IsModeOnlyWireFrame();
        k.bLineCulling = o->m_bLineCulling;
        k.bPlaneCulling = o->m_bPlaneCulling;
        k.nRenderStyle = o->m_nRenderStyle;
    }
    return k;
}

int I_PVXModel::BuildShownRange(C3DPoint& lo, C3DPoint& hi) {
    const int bPartial = m_pDispOpt && m_pDispOpt->m_nPartialDisplay1 == 1 && m_pDispOpt->m_nPartialDisplay2 == 0;
    StartBox(lo, hi);
    for (INT_PTR i = 0; i < m_arrActiveMembKey.GetSize(); ++i) {
        // Flags run in step with the active members; a member without a flag is shown.
        if (bPartial && i < m_arrMembFlag.GetSize() && m_arrMembFlag[i] == 2) continue;
        C3DPoint a, b;
        if (!GetRangeElement(m_arrActiveMembKey[i], &a, &b)) continue;
        Widen(lo, hi, a);
        Widen(lo, hi, b);
    }
    return HasBox(lo, hi);
}

void I_PVXModel::InvalidateRangeModel() {
    m_ShownRange.bValid = 0;
    m_ShownRange.membKeys.RemoveAll();
    m_ShownRange.membFlags.RemoveAll();
}

int I_PVXModel::GetRangeModel(C3DPoint* pMin, C3DPoint* pMax, int bNodesOnly) {
    if (!pMin || !pMax) return 0;
    if (!bNodesOnly && m_arrActiveMembKey.GetSize() > 0) {
        // Every shape is built only when something it is made from changed: the shown members
        // and flags are compared whole (cheap beside one shape), the tables by version.
        ShownRange& c = m_ShownRange;
        ShownRangeKey key = MakeShownRangeKey();
        if (!c.bValid || !(c.key == key) || !SameArray(c.membKeys, m_arrActiveMembKey) ||
            !SameArray(c.membFlags, m_arrMembFlag)) {
            c.nResult = BuildShownRange(c.lo, c.hi);
            c.key = key;
            c.membKeys.Copy(m_arrActiveMembKey);
            c.membFlags.Copy(m_arrMembFlag);
            c.bValid = 1;
        }
        *pMin = c.lo;
        *pMax = c.hi;
        return c.nResult;
    }
    if (m_arrFlagNodeKey.GetSize() > 0 && m_pAttrCtrl) {
        // Nodes of the flag-1 list carry flag 1 by construction, so none is left out by flag.
        // A single shown node gives its own point, not the origin.
        StartBox(*pMin, *pMax);
        for (INT_PTR i = 0; i < m_arrFlagNodeKey.GetSize(); ++i) {
            T_PNODE_D nd;
            if (!m_pAttrCtrl->GetNode(m_arrFlagNodeKey[i], nd)) continue;
            Widen(*pMin, *pMax, C3DPoint(nd.x, nd.y, nd.z));
        }
        if (HasBox(*pMin, *pMax)) return 1;
    }
    pMin->Init();
    pMax->Init();
    return 0;
}

int I_PVXModel::GetRangeModelOneType(C3DPoint* pMin, C3DPoint* pMax, int nElemType) {
    if (!pMin || !pMax) return 0;
    if (m_arrFlagMembKey.GetSize() == 0 || !m_pAttrCtrl) {
        pMin->Init();
        pMax->Init();
        return 0;
    }
    StartBox(*pMin, *pMax);
    for (INT_PTR i = 0; i < m_arrFlagMembKey.GetSize(); ++i) {
        T_PMEMB_D memb;
        T_PELEM_D first;
        // A member whose first element cannot be read is left out; the others still count.
        if (!m_pAttrCtrl->GetMemb(m_arrFlagMembKey[i], memb) || memb.aElem.GetSize() == 0 ||
            !m_pAttrCtrl->GetElem(memb.aElem[0], first))
            continue;
        if (first.type != nElemType) continue;
        C3DPoint lo, hi;
        if (!GetRangeElement(m_arrFlagMembKey[i], &lo, &hi)) continue;
        Widen(*pMin, *pMax, lo);
        Widen(*pMin, *pMax, hi);
    }
    return HasBox(*pMin, *pMax);
}

int I_PVXModel::GetRangeModel(C3DPoint* pMin, C3DPoint* pMax, CArray<UINT, UINT>* pMembKeys) {
    if (!pMin || !pMax) return 0;
    StartBox(*pMin, *pMax);
    if (!pMembKeys) return 0;
    for (INT_PTR i = 0; i < pMembKeys->GetSize(); ++i) {
        C3DPoint lo, hi;
        if (!GetRangeElement(pMembKeys->GetAt(i), &lo, &hi)) continue;
        Widen(*pMin, *pMax, lo);
        Widen(*pMin, *pMax, hi);
    }
    return HasBox(*pMin, *pMax);
}

int I_PVXModel::GetRangeElement(UINT nMembKey, C3DPoint* pMin, C3DPoint* pMax) {
    if (!pMin || !pMax || !m_pAttrCtrl) return 0;
    // A member's undeformed box depends on its tables and the shape options only, not on the
    // display mode: it is kept per member until one of those changes.
    MemberBoxes& c = m_MemberBoxes;
    const ShownRangeKey key = MakeShownRangeKey();
    if (!c.bValid || !c.key.SameShapes(key)) {
        c.boxes.clear();
        c.key = key;
        c.bValid = 1;
    }
    if (auto it = c.boxes.find(nMembKey); it != c.boxes.end()) {
        *pMin = it->second.lo;
        *pMax = it->second.hi;
        return it->second.nResult;
    }
    MemberBox box;
    StartBox(box.lo, box.hi);
    T_PMEMB_D memb;
    if (m_pAttrCtrl->GetMemb(nMembKey, memb)) {
        // A diagram display draws every member as lines: its box is the lines', not that of the
        // section solids, which would fit a model small beside its sections to the solids.
        const bool bLines = IsModeOnlyWireFrame() && m_pDispOpt && !m_pDispOpt->m_bWireFrame;
        if (bLines) m_pDispOpt->m_bWireFrame = 1;
        HostShape s;
        T_SHAPE_ARGUMENT arg;
        bool bSuper = true;
        CPVXGeomCtrl* pGeom = GetGeomCtrl();
        if (pGeom && IsSuperMember(*this, memb, bSuper) && !bSuper) {
            // A plain member's box is widened element by element, no faces made.
            T_PVX_DOPT_D none;
            const T_PVX_DOPT_D& opt = m_pDispOpt ? *m_pDispOpt : none;
            double lo[3] = {box.lo.x, box.lo.y, box.lo.z}, hi[3] = {box.hi.x, box.hi.y, box.hi.z};
            pGeom->WidenMembElemBox(nMembKey, opt.m_bShrink, opt.m_dShrinkFactor, opt.m_bWireFrame, lo, hi);
            box.lo = C3DPoint(lo[0], lo[1], lo[2]);
            box.hi = C3DPoint(hi[0], hi[1], hi[2]);
        } else if (BuildMemberHostShape(*this, nMembKey, memb, true, arg, s)) {
            BoxOfHostShape(s, box.lo, box.hi);
        }
        if (bLines) m_pDispOpt->m_bWireFrame = 0;
        box.nResult = HasBox(box.lo, box.hi);
    } else {
        box.nResult = 0;
    }
    c.boxes.emplace(nMembKey, box);
    *pMin = box.lo;
    *pMax = box.hi;
    return box.nResult;
}

int I_PVXModel::HasBareElements() const {
    return m_pAttrCtrl && m_pAttrCtrl->GetMembCount() == 0 && m_pAttrCtrl->GetElemCount() > 0;
}

void I_PVXModel::GetBareElements(std::vector<BareElement>& out) {
    out.clear();
    CArray<UINT, UINT> keys;
    if (!m_pAttrCtrl || !m_pAttrCtrl->GetElemKeyList(keys)) return;
    out.reserve(static_cast<size_t>(keys.GetSize()));
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_PELEM_D elem;
        if (!m_pAttrCtrl->GetElem(keys[i], elem)) continue;
        PolyListArray faces;
        T_SHAPE_ARGUMENT arg;
        GetShapeElement(keys[i], elem, faces, nullptr, arg, 0, 1);
        BareElement e;
        e.key = keys[i];
        StartBox(e.lo, e.hi);
        for (INT_PTR f = 0; f < faces.GetSize(); ++f)
            if (faces[f])
                for (POSITION pos = faces[f]->GetHeadPosition(); pos;) Widen(e.lo, e.hi, faces[f]->GetNext(pos));
        FreeMemoryPolyList(&faces, nullptr, nullptr, nullptr);
        // An element missing a node has no shape and is left out, as a member would be.
        if (HasBox(e.lo, e.hi)) out.push_back(e);
    }
}

// ---- range queries of the graphics control ----------------------------------------------------------

int I_PVXModel::RE_GetRangeModel(int nType, void* pMin, void* pMax, void* pKeys) {
    auto* lo = static_cast<C3DPoint*>(pMin);
    auto* hi = static_cast<C3DPoint*>(pMax);
    auto* keys = static_cast<CArray<UINT, UINT>*>(pKeys);
    if (!lo || !hi) return 0;
    const int rel = nType - m_nObjectIDFirst;
    if (rel != 0 && rel != 1) return 0;
    if (CDeformEngine* pEngine = rel == 1 ? DeformEngineWithData(*this) : nullptr) {
        pEngine->GetRangeModel(lo, hi, keys);
        return HasBox(*lo, *hi) ? 1 : 0;
    }
    // Without a key list the shown model is meant.
    return keys ? GetRangeModel(lo, hi, keys) : GetRangeModel(lo, hi, 0);
}

int I_PVXModel::RE_GetRangeModel(CArray<int, int>& types, void* pMin, void* pMax) {
    auto* lo = static_cast<C3DPoint*>(pMin);
    auto* hi = static_cast<C3DPoint*>(pMax);
    if (!lo || !hi) return 0;
    StartBox(*lo, *hi);
    for (INT_PTR i = 0; i < types.GetSize(); ++i) {
        const int rel = types[i] - m_nObjectIDFirst;
        if (rel != 0 && rel != 1) continue;
        C3DPoint a, b;
        StartBox(a, b);
        if (CDeformEngine* pEngine = rel == 1 ? DeformEngineWithData(*this) : nullptr)
            pEngine->GetRangeModel(&a, &b);
        else
            GetRangeModel(&a, &b, 1);
        if (!HasBox(a, b)) continue;
        Widen(*lo, *hi, a);
        Widen(*lo, *hi, b);
    }
    return HasBox(*lo, *hi);
}

int I_PVXModel::RE_GetRangeModel(void* pMin, void* pMax) {
    auto* lo = static_cast<C3DPoint*>(pMin);
    auto* hi = static_cast<C3DPoint*>(pMax);
    if (!lo || !hi) return 0;
    if (m_arrActiveMembKey.GetSize() == 0 && HasBareElements()) {
        std::vector<BareElement> elems;
        GetBareElements(elems);
        StartBox(*lo, *hi);
        for (const BareElement& e : elems) {
            Widen(*lo, *hi, e.lo);
            Widen(*lo, *hi, e.hi);
        }
        return HasBox(*lo, *hi);
    }
    const int bPartial = m_pDispOpt && m_pDispOpt->m_nPartialDisplay1 == 1 && m_pDispOpt->m_nPartialDisplay2 == 0;
    CArray<UINT, UINT> keys;
    for (INT_PTR i = 0; i < m_arrActiveMembKey.GetSize(); ++i) {
        if (bPartial && i < m_arrMembFlag.GetSize() && m_arrMembFlag[i] == 2) continue;
        keys.Add(m_arrActiveMembKey[i]);
    }
    StartBox(*lo, *hi);
    const int nType = GetPVXType();
    std::vector<int> rels;
    if (nType == -1 && m_pDeformEngine)
        rels = {0, 1};
    else if (nType == 1 && m_pDeformEngine)
        rels = {1};
    else
        rels = {0};
    for (int rel : rels) {
        C3DPoint a, b;
        StartBox(a, b);
        RE_GetRangeModel(m_nObjectIDFirst + rel, &a, &b, &keys);
        if (!HasBox(a, b)) continue;
        Widen(*lo, *hi, a);
        Widen(*lo, *hi, b);
    }
    return HasBox(*lo, *hi);
}

int I_PVXModel::RE_GetRangeElement(int nType, UINT nKey, void* pMin, void* pMax) {
    auto* lo = static_cast<C3DPoint*>(pMin);
    auto* hi = static_cast<C3DPoint*>(pMax);
    if (!lo || !hi) return 0;
    const int rel = nType - m_nObjectIDFirst;
    if (rel != 0 && rel != 1) return 0;
    if (CDeformEngine* pEngine = rel == 1 ? DeformEngineWithData(*this) : nullptr) {
        pEngine->GetRangeElement(nKey, lo, hi);
        return HasBox(*lo, *hi) ? 1 : 0;
    }
    return GetRangeElement(nKey, lo, hi);
}
