#include "host/grx/GObjectRegistry.h"

#include <algorithm>
#include <cmath>

int GObjectRegistry::Add(int type, UINT key, int flag) {
    auto it = m_map.find({type, key});
    if (it != m_map.end()) {
        it->second.flag = flag ? 1 : 0;
        return 1;
    }
    GRE_Object o;
    o.type = type;
    o.key = key;
    o.flag = flag ? 1 : 0;
    m_map.emplace(std::make_pair(type, key), o);
    return 1;
}

int GObjectRegistry::Del(int type, UINT key) { return m_map.erase({type, key}) ? 1 : 0; }

GRE_Object* GObjectRegistry::Find(int type, UINT key) {
    auto it = m_map.find({type, key});
    return it == m_map.end() ? nullptr : &it->second;
}

const GRE_Object* GObjectRegistry::Find(int type, UINT key) const {
    auto it = m_map.find({type, key});
    return it == m_map.end() ? nullptr : &it->second;
}

static bool FiniteBox(const C3DPoint& lo, const C3DPoint& hi) {
    for (int i = 0; i < 3; ++i)
        if (!std::isfinite(lo[i]) || !std::isfinite(hi[i]) || lo[i] > hi[i]) return false;
    return true;
}

void GObjectRegistry::ProjectBox(GRE_Object& o, const GViewCamera& cam) {
    double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300, z0 = 1e300, z1 = -1e300;
    for (int i = 0; i < 8; ++i) {
        C3DPoint c((i & 1) ? o.whi.x : o.wlo.x, (i & 2) ? o.whi.y : o.wlo.y, (i & 4) ? o.whi.z : o.wlo.z);
        C3DPoint v = cam.WorldToView(c);
        x0 = std::min(x0, v.x);
        x1 = std::max(x1, v.x);
        y0 = std::min(y0, v.y);
        y1 = std::max(y1, v.y);
        z0 = std::min(z0, v.z);
        z1 = std::max(z1, v.z);
    }
    o.vbox = GRect2D{x0, y0, x1, y1};
    o.vzmin = z0;
    o.vzmax = z1;
    o.depth = cam.WorldToView((o.wlo + o.whi) * 0.5).z;
}

int GObjectRegistry::EnsureBox(GRE_Object& o, GGeometrySource* src, const GViewCamera& cam) {
    if (o.hasBox) return 1;
    if (!src) return 0;
    C3DPoint lo(1e308, 1e308, 1e308), hi(-1e308, -1e308, -1e308);
    if (!src->GetObjectBox(o.type, o.key, lo, hi) || !FiniteBox(lo, hi)) return 0;
    o.wlo = lo;
    o.whi = hi;
    o.hasBox = 1;
    ProjectBox(o, cam);
    return 1;
}

void GObjectRegistry::UpdateAll(GGeometrySource* src, const GViewCamera& cam) {
    for (auto& kv : m_map) {
        kv.second.hasBox = 0;
        EnsureBox(kv.second, src, cam);
    }
}

void GObjectRegistry::UpdateView(const GViewCamera& cam) {
    for (auto& kv : m_map)
        if (kv.second.hasBox) ProjectBox(kv.second, cam);
}

void GObjectRegistry::UnselectAll() {
    for (auto& kv : m_map) kv.second.selected = 0;
}

int GObjectRegistry::ActivateAll() {
    int n = 0;
    for (auto& kv : m_map)
        if (!kv.second.flag) {
            kv.second.flag = 1;
            ++n;
        }
    return n;
}

int GObjectRegistry::GetWorldRange(int tmin, int tmax, C3DPoint& lo, C3DPoint& hi) const {
    int found = 0;
    for (auto& kv : m_map) {
        const GRE_Object& o = kv.second;
        if (o.type < tmin || o.type > tmax || !o.hasBox) continue;
        if (!found) {
            lo = o.wlo;
            hi = o.whi;
            found = 1;
            continue;
        }
        for (int i = 0; i < 3; ++i) {
            lo[i] = std::min(lo[i], o.wlo[i]);
            hi[i] = std::max(hi[i], o.whi[i]);
        }
    }
    return found;
}
