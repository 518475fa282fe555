#include "host/check/CModelingMethod.h"

#include <geos_c.h>

#include <string>

#include <cmath>
#include <memory>

#include "host/check/ICheckToolUtil.h"
#include "host/db/DBTables.h"
#include "host/db/FoundationRecords.h"
#include "host/db/FoundationTables.h"
#include "platform/afx/AfxDiagnostic.h"
#include "platform/afx/LoadedLibrary.h"

namespace {

constexpr int kArcChords = 16;

// The entry points of GEOS's C API this file calls.
#define PVX_GEOS_ENTRY_POINTS(X) \
    X(GEOSArea_r) \
    X(GEOSCoordSeq_create_r) \
    X(GEOSCoordSeq_getSize_r) \
    X(GEOSCoordSeq_getXY_r) \
    X(GEOSCoordSeq_setXY_r) \
    X(GEOSGeomTypeId_r) \
    X(GEOSGeom_createCollection_r) \
    X(GEOSGeom_createLineString_r) \
    X(GEOSGeom_createLinearRing_r) \
    X(GEOSGeom_createPolygon_r) \
    X(GEOSGeom_destroy_r) \
    X(GEOSGeom_getCoordSeq_r) \
    X(GEOSGetExteriorRing_r) \
    X(GEOSGetGeometryN_r) \
    X(GEOSGetNumGeometries_r) \
    X(GEOSIntersection_r) \
    X(GEOSMakeValid_r) \
    X(GEOSPolygonize_r) \
    X(GEOSUnaryUnion_r) \
    X(GEOS_finish_r) \
    X(GEOS_init_r) \
    X(GEOSisEmpty_r) \
    X(GEOSisValid_r)

// GEOS's C API, opened at its first use through the loader FFmpeg and OpenGL open theirs with,
// so that the commands that work out no plan areas never map it and its C++ library.
struct GeosLibrary {
#define PVX_GEOS_POINTER(name) decltype(&::name) name = nullptr;
    PVX_GEOS_ENTRY_POINTS(PVX_GEOS_POINTER)
#undef PVX_GEOS_POINTER
    bool bLoaded = false;
};

const GeosLibrary& OpenGeosLibrary() {
    static const GeosLibrary lib = [] {
        GeosLibrary l;
        std::string why;
        const char* soname = "libgeos_c.so.1";
        void* h = loadedlib::Open(soname, RTLD_NOW | RTLD_LOCAL, "GEOS", "libgeos-c1v5", why);
        bool ok = h != nullptr;
#define PVX_GEOS_RESOLVE(name) ok = ok && loadedlib::Resolve(h, "GEOS", soname, #name, l.name, why);
        PVX_GEOS_ENTRY_POINTS(PVX_GEOS_RESOLVE)
#undef PVX_GEOS_RESOLVE
        l.bLoaded = ok;
        if (!ok) AfxDiagnostic("geometry", "%s; plan areas, slab unions and clipped outlines are left empty", why.c_str());
        return l;
    }();
    return lib;
}
#undef PVX_GEOS_ENTRY_POINTS

// One GEOS context for the calls of one operation; geometries are freed with it in mind. Where
// GEOS could not be opened the context is null and every operation makes nothing.
class Geos {
public:
    static const GeosLibrary& Lib() { return OpenGeosLibrary(); }
    Geos() : m_ctx(Lib().bLoaded ? Lib().GEOS_init_r() : nullptr) {}
    ~Geos() {
        if (m_ctx) Lib().GEOS_finish_r(m_ctx);
    }
    explicit operator bool() const { return m_ctx != nullptr; }
    Geos(const Geos&) = delete;
    Geos& operator=(const Geos&) = delete;
    GEOSContextHandle_t operator*() const { return m_ctx; }

    struct Deleter {
        GEOSContextHandle_t ctx;
        void operator()(GEOSGeometry* g) const {
            if (g) Geos::Lib().GEOSGeom_destroy_r(ctx, g);
        }
    };
    typedef std::unique_ptr<GEOSGeometry, Deleter> Ptr;
    Ptr Own(GEOSGeometry* g) const { return Ptr(g, Deleter{m_ctx}); }

    GEOSCoordSequence* Seq(const CModelingMethod::Ring& pts, bool close) const {
        const unsigned n = static_cast<unsigned>(pts.size()) + (close ? 1 : 0);
        GEOSCoordSequence* s = Geos::Lib().GEOSCoordSeq_create_r(m_ctx, n, 2);
        for (unsigned i = 0; i < n; ++i) {
            const T_POINT2D& p = pts[i % pts.size()];
            Geos::Lib().GEOSCoordSeq_setXY_r(m_ctx, s, i, p.x, p.y);
        }
        return s;
    }
    // A polygon of the ring, made valid (a self-touching ring becomes its parts); null for
    // fewer than three points.
    Ptr Polygon(CModelingMethod::Ring ring) const {
        if (ring.size() > 1 && ring.front().x == ring.back().x && ring.front().y == ring.back().y) ring.pop_back();
        if (ring.size() < 3) return Own(nullptr);
        GEOSGeometry* shell = Geos::Lib().GEOSGeom_createLinearRing_r(m_ctx, Seq(ring, true));
        Ptr poly = Own(shell ? Geos::Lib().GEOSGeom_createPolygon_r(m_ctx, shell, nullptr, 0) : nullptr);
        if (poly && Geos::Lib().GEOSisValid_r(m_ctx, poly.get()) != 1) poly = Own(Geos::Lib().GEOSMakeValid_r(m_ctx, poly.get()));
        return poly;
    }
    Ptr Line(const CModelingMethod::Ring& pts) const { return Own(Geos::Lib().GEOSGeom_createLineString_r(m_ctx, Seq(pts, false))); }

    // The outer rings of the polygons in g (any collection), open.
    int Rings(const GEOSGeometry* g, std::vector<CModelingMethod::Ring>& out) const {
        if (!g) return 0;
        const int type = Geos::Lib().GEOSGeomTypeId_r(m_ctx, g);
        if (type == GEOS_MULTIPOLYGON || type == GEOS_GEOMETRYCOLLECTION) {
            int n = 0;
            for (int i = 0; i < Geos::Lib().GEOSGetNumGeometries_r(m_ctx, g); ++i) n += Rings(Geos::Lib().GEOSGetGeometryN_r(m_ctx, g, i), out);
            return n;
        }
        if (type != GEOS_POLYGON || Geos::Lib().GEOSisEmpty_r(m_ctx, g) == 1) return 0;
        double area = 0.0;
        if (Geos::Lib().GEOSArea_r(m_ctx, g, &area) != 1 || area <= 0.0) return 0;
        const GEOSCoordSequence* s = Geos::Lib().GEOSGeom_getCoordSeq_r(m_ctx, Geos::Lib().GEOSGetExteriorRing_r(m_ctx, g));
        unsigned n = 0;
        Geos::Lib().GEOSCoordSeq_getSize_r(m_ctx, s, &n);
        CModelingMethod::Ring ring;
        for (unsigned i = 0; i + 1 < n; ++i) {
            double x = 0.0, y = 0.0;
            Geos::Lib().GEOSCoordSeq_getXY_r(m_ctx, s, i, &x, &y);
            ring.push_back(T_POINT2D(x, y));
        }
        out.push_back(std::move(ring));
        return 1;
    }

private:
    GEOSContextHandle_t m_ctx;
};

}  // namespace

int CModelingMethod::GetAllAxis(CArray<UINT, UINT>& axes) const {
    axes.RemoveAll();
    if (!m_pDB) return 0;
    CClassAxis table;
    table.ConnectToDB(m_pDB);
    table.GetKeyList(axes);
    return static_cast<int>(axes.GetSize());
}

bool CModelingMethod::GetAxisLine(UINT axis, Ring& line) const {
    line.clear();
    if (!m_pDB) return false;
    CClassAxis table;
    table.ConnectToDB(m_pDB);
    CClassPont ponts;
    ponts.ConnectToDB(m_pDB);
    T_AXIS_D a;
    T_PONT_D p1, p2;
    if (!table.Get(axis, a) || !ponts.Get(a.pont1, p1) || !ponts.Get(a.pont2, p2)) return false;
    const double dx = p2.x - p1.x, dy = p2.y - p1.y, len = std::hypot(dx, dy);
    if (len <= 0.0) return false;
    if (!a.IsArc()) {
        line = {T_POINT2D(p1.x, p1.y), T_POINT2D(p2.x, p2.y)};
        return true;
    }
    // The circle through both ends whose middle rises chord to the left of p1 -> p2.
    const double h = a.GetChord(), r = (len * len / 4.0 + h * h) / (2.0 * h);
    const double mx = 0.5 * (p1.x + p2.x), my = 0.5 * (p1.y + p2.y), nx = -dy / len, ny = dx / len;
    const double cx = mx + nx * (h - r), cy = my + ny * (h - r);
    const double a1 = std::atan2(p1.y - cy, p1.x - cx);
    double sweep = std::atan2(p2.y - cy, p2.x - cx) - a1;
    // The sweep passes the middle point: the short way for |h| below the half chord.
    const double am = std::atan2(my + ny * h - cy, mx + nx * h - cx) - a1;
    auto norm = [](double v) { return std::remainder(v, 2.0 * M_PI); };
    sweep = norm(sweep);
    if ((norm(am) > 0) != (sweep > 0)) sweep += sweep > 0 ? -2.0 * M_PI : 2.0 * M_PI;
    for (int i = 0; i <= kArcChords; ++i) {
        const double t = a1 + sweep * i / kArcChords;
        line.push_back(T_POINT2D(cx + std::fabs(r) * std::cos(t), cy + std::fabs(r) * std::sin(t)));
    }
    return true;
}

int CModelingMethod::GetAreaBYWin2(const CArray<UINT, UINT>& axes, std::vector<Ring>& areas) const {
    areas.clear();
    Geos g;
    if (!g) return 0;
    std::vector<GEOSGeometry*> lines;
    for (INT_PTR i = 0; i < axes.GetSize(); ++i) {
        Ring line;
        if (GetAxisLine(axes[i], line)) lines.push_back(g.Line(line).release());
    }
    if (lines.empty()) return 0;
    Geos::Ptr all = g.Own(Geos::Lib().GEOSGeom_createCollection_r(*g, GEOS_MULTILINESTRING, lines.data(),
                                                      static_cast<unsigned>(lines.size())));
    // The union nodes the lines at every crossing, as polygonizing needs.
    Geos::Ptr noded = g.Own(all ? Geos::Lib().GEOSUnaryUnion_r(*g, all.get()) : nullptr);
    const GEOSGeometry* in[1] = {noded.get()};
    Geos::Ptr faces = g.Own(noded ? Geos::Lib().GEOSPolygonize_r(*g, in, 1) : nullptr);
    return g.Rings(faces.get(), areas);
}

int CModelingMethod::UnionSlab(const std::vector<Ring>& polygons, std::vector<Ring>& out) {
    out.clear();
    Geos g;
    if (!g) return 0;
    std::vector<GEOSGeometry*> parts;
    for (const Ring& r : polygons)
        if (Geos::Ptr p = g.Polygon(r)) parts.push_back(p.release());
    if (parts.empty()) return 0;
    Geos::Ptr all = g.Own(Geos::Lib().GEOSGeom_createCollection_r(*g, GEOS_GEOMETRYCOLLECTION, parts.data(),
                                                      static_cast<unsigned>(parts.size())));
    Geos::Ptr merged = g.Own(all ? Geos::Lib().GEOSUnaryUnion_r(*g, all.get()) : nullptr);
    return g.Rings(merged.get(), out);
}

int CModelingMethod::ClipPolygon(const Ring& outline, const Ring& polygon, std::vector<Ring>& pieces) {
    pieces.clear();
    Geos g;
    if (!g) return 0;
    Geos::Ptr a = g.Polygon(outline), b = g.Polygon(polygon);
    if (!a || !b) return 0;
    Geos::Ptr cut = g.Own(Geos::Lib().GEOSIntersection_r(*g, a.get(), b.get()));
    return g.Rings(cut.get(), pieces);
}

void CLineLinkTool::SetGroupKey(UINT key, int flag) {
    m_nGroup = key;
    m_nFlag = flag;
    m_Keys.RemoveAll();
    m_Areas.clear();
}

int CLineLinkTool::GetLinkGroup(CArray<UINT, UINT>& keys, std::vector<CModelingMethod::Ring>& areas) const {
    keys.RemoveAll();
    keys.Append(m_Keys);
    areas = m_Areas;
    return static_cast<int>(keys.GetSize());
}

int CAxisLinkTool::LinkGroup() {
    m_Keys.RemoveAll();
    m_Areas.clear();
    CModelingMethod mm;
    mm.ResetDB(m_pDB);
    CModelingMethod::Ring line;
    if (!m_pDB || m_nFlag != 1 || !mm.GetAxisLine(m_nGroup, line)) return 0;
    CClassMemb membs;
    membs.ConnectToDB(m_pDB);
    CArray<UINT, UINT> footings;
    membs.GetKeyList(footings);
    membs.FilterByMembType(footings, MEMB_FOOTING, 0);
    for (INT_PTR f = 0; f < footings.GetSize(); ++f) {
        const T_POINT2D c = ICheckToolUtil::s_GetColfCent(footings[f], 0);
        bool on = false;
        for (size_t i = 0; i + 1 < line.size() && !on; ++i) {
            const T_POINT2D &A = line[i], &B = line[i + 1];
            const double len = std::hypot(B.x - A.x, B.y - A.y);
            if (len <= 0.0) continue;
            const double t = ((c.x - A.x) * (B.x - A.x) + (c.y - A.y) * (B.y - A.y)) / (len * len);
            const double off = std::fabs((c.x - A.x) * (B.y - A.y) - (c.y - A.y) * (B.x - A.x)) / len;
            on = off <= 0.01 && t >= -1e-9 && t <= 1 + 1e-9;
        }
        if (!on) continue;
        m_Keys.Add(footings[f]);
        CArray<T_POINT2D> pts;
        CModelingMethod::Ring area;
        if (ICheckToolUtil::s_GetColfPolyLine(footings[f], pts, 0, 0, 0))
            for (INT_PTR i = 0; i < pts.GetSize(); ++i) area.push_back(pts[i]);
        m_Areas.push_back(std::move(area));
    }
    return static_cast<int>(m_Keys.GetSize());
}
