#include "host/grx/GObjectRegistry.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/afx/HashMix.h"

namespace {

size_t HashOf(int type, UINT key) {
    return HashMix64((static_cast<unsigned long long>(static_cast<UINT>(type)) << 32) | key);
}

bool FiniteBox(const C3DPoint& lo, const C3DPoint& hi) {
    for (int i = 0; i < 3; ++i)
        if (!std::isfinite(lo[i]) || !std::isfinite(hi[i]) || lo[i] > hi[i]) return false;
    return true;
}

bool SamePoint(const C3DPoint& a, const C3DPoint& b) {
    return std::memcmp(&a.x, &b.x, sizeof(double)) == 0 && std::memcmp(&a.y, &b.y, sizeof(double)) == 0 &&
           std::memcmp(&a.z, &b.z, sizeof(double)) == 0;
}

}  // namespace

size_t GObjectRegistry::Probe(int type, UINT key) const {
    const size_t mask = m_index.size() - 1;
    size_t h = HashOf(type, key) & mask;
    for (;;) {
        const int s = m_index[h];
        if (s == kFree) return h;
        const Slot& o = m_slots[static_cast<size_t>(s)];
        if (o.type == type && o.key == key) return h;
        h = (h + 1) & mask;
    }
}

GObjectRegistry::DenseIndex* GObjectRegistry::DenseOf(int type) const {
    for (DenseIndex& d : m_dense)
        if (d.type == type) return d.hashed ? nullptr : &d;
    return nullptr;
}

int GObjectRegistry::FindSlot(int type, UINT key) const {
    if (const DenseIndex* d = DenseOf(type)) {
        const size_t i = static_cast<size_t>(key - d->base);
        return key >= d->base && i < d->at.size() ? d->at[i] : kFree;
    }
    if (m_index.empty()) return kFree;
    return m_index[Probe(type, key)];
}

bool GObjectRegistry::WidenDense(DenseIndex& d, UINT key) {
    if (d.at.empty()) {
        d.base = key;
        d.at.assign(1, kFree);
        return true;
    }
    const unsigned long long lo = std::min(d.base, key);
    const unsigned long long hi = std::max<unsigned long long>(d.base + d.at.size() - 1, key);
    if (hi - lo + 1 > kSpread * (d.count + 1) + kSpreadSlack) return false;
    if (key >= d.base) {
        if (key - d.base >= d.at.size()) d.at.resize(static_cast<size_t>(key - d.base) + 1, kFree);
        return true;
    }
    // Widened downwards by at least the present range, so that keys coming in descending
    // order move the array a logarithmic number of times.
    const UINT down = static_cast<UINT>(std::min<unsigned long long>(
        d.base, std::max<unsigned long long>(d.base - key, d.at.size())));
    d.at.insert(d.at.begin(), down, kFree);
    d.base -= down;
    return true;
}

void GObjectRegistry::IndexSlot(int type, UINT key, int s) {
    DenseIndex* d = nullptr;
    bool known = false;
    for (DenseIndex& e : m_dense)
        if (e.type == type) {
            known = true;
            d = e.hashed ? nullptr : &e;
            break;
        }
    if (!known && m_dense.size() < kMaxDenseTypes) d = &m_dense.emplace_back(DenseIndex{type});
    if (d && !WidenDense(*d, key)) {
        HashType(*d);
        d = nullptr;
    }
    if (d) {
        d->at[static_cast<size_t>(key - d->base)] = s;
        ++d->count;
        return;
    }
    GrowIndex(++m_hashed);
    m_index[Probe(type, key)] = s;
}

void GObjectRegistry::Repoint(int type, UINT key, int s) const {
    if (DenseIndex* d = DenseOf(type)) d->at[static_cast<size_t>(key - d->base)] = s;
    else m_index[Probe(type, key)] = s;
}

void GObjectRegistry::HashType(DenseIndex& d) {
    d.hashed = true;
    m_hashed += d.count;
    d.count = 0;
    std::vector<int>().swap(d.at);
    size_t cap = m_index.empty() ? 64 : m_index.size();
    while (4 * m_hashed > 3 * cap) cap *= 2;
    RehashAll(cap);
}

void GObjectRegistry::RehashAll(size_t cap) const {
    m_index.assign(cap, kFree);
    for (size_t i = 0; i < m_slots.size(); ++i)
        if (!DenseOf(m_slots[i].type)) m_index[Probe(m_slots[i].type, m_slots[i].key)] = static_cast<int>(i);
}

void GObjectRegistry::RebuildIndex() const {
    for (DenseIndex& d : m_dense) std::fill(d.at.begin(), d.at.end(), kFree);
    if (!m_index.empty()) RehashAll(m_index.size());
    for (size_t i = 0; i < m_slots.size(); ++i)
        if (DenseIndex* d = DenseOf(m_slots[i].type))
            d->at[static_cast<size_t>(m_slots[i].key - d->base)] = static_cast<int>(i);
}

void GObjectRegistry::GrowIndex(size_t n) {
    // At most three quarters full.
    if (4 * n <= 3 * m_index.size()) return;
    size_t cap = m_index.empty() ? 64 : m_index.size();
    while (4 * n > 3 * cap) cap *= 2;
    RehashAll(cap);
}

void GObjectRegistry::SortSlots() const {
    if (m_sorted) return;
    std::sort(m_slots.begin(), m_slots.end(),
              [](const Slot& a, const Slot& b) { return a.type != b.type ? a.type < b.type : a.key < b.key; });
    RebuildIndex();
    m_sorted = true;
}

int GObjectRegistry::Add(int type, UINT key, int flag) {
    if (const int s = FindSlot(type, key); s != kFree) {
        m_slots[static_cast<size_t>(s)].flag = flag ? 1 : 0;
        return 1;
    }
    if (!m_slots.empty()) {
        const Slot& last = m_slots.back();
        if (type < last.type || (type == last.type && key < last.key)) m_sorted = false;
    }
    m_slots.push_back(Slot{type, key, static_cast<unsigned char>(flag ? 1 : 0), 0, 0, 0, 0});
    IndexSlot(type, key, static_cast<int>(m_slots.size()) - 1);
    return 1;
}

int GObjectRegistry::Del(int type, UINT key) {
    const int s = FindSlot(type, key);
    if (s == kFree) return 0;
    DropBox(m_slots[static_cast<size_t>(s)]);
    if (DenseIndex* d = DenseOf(type)) {
        d->at[static_cast<size_t>(key - d->base)] = kFree;
        --d->count;
    } else {
        // Backward-shift deletion: entries after the hole that may not stay past it move into it.
        size_t at = Probe(type, key);
        const size_t mask = m_index.size() - 1;
        for (size_t j = (at + 1) & mask; m_index[j] != kFree; j = (j + 1) & mask) {
            const Slot& o = m_slots[static_cast<size_t>(m_index[j])];
            const size_t home = HashOf(o.type, o.key) & mask;
            // The entry may stay when its home lies cyclically in (at, j].
            const bool stays = at < j ? (home > at && home <= j) : (home > at || home <= j);
            if (stays) continue;
            m_index[at] = m_index[j];
            at = j;
        }
        m_index[at] = kFree;
        --m_hashed;
    }
    // The last slot fills the removed one.
    const size_t last = m_slots.size() - 1;
    if (static_cast<size_t>(s) != last) {
        m_slots[static_cast<size_t>(s)] = m_slots[last];
        Repoint(m_slots[last].type, m_slots[last].key, s);
        m_sorted = false;
    }
    m_slots.pop_back();
    if (m_slots.empty()) Clear();
    return 1;
}

void GObjectRegistry::Reserve(size_t n) { m_slots.reserve(m_slots.size() + n); }

void GObjectRegistry::Clear() {
    std::vector<Slot>().swap(m_slots);
    std::vector<int>().swap(m_index);
    std::vector<DenseIndex>().swap(m_dense);
    m_hashed = 0;
    std::vector<double>().swap(m_boxes);
    m_deadBoxes = 0;
    m_sorted = true;
}

void GObjectRegistry::StoreBox(Slot& s, const C3DPoint& lo, const C3DPoint& hi) {
    DropBox(s);
    s.hasBox = 1;
    s.point = SamePoint(lo, hi) ? 1 : 0;
    s.box = static_cast<UINT>(m_boxes.size());
    m_boxes.insert(m_boxes.end(), {lo.x, lo.y, lo.z});
    if (!s.point) m_boxes.insert(m_boxes.end(), {hi.x, hi.y, hi.z});
}

void GObjectRegistry::DropBox(Slot& s) {
    if (!s.hasBox) return;
    m_deadBoxes += s.point ? 3 : 6;
    s.hasBox = 0;
    // Mostly dead numbers: the live boxes are moved together.
    if (m_deadBoxes < 4096 || 2 * m_deadBoxes < m_boxes.size()) return;
    std::vector<double> live;
    live.reserve(m_boxes.size() - m_deadBoxes);
    for (Slot& o : m_slots) {
        if (!o.hasBox) continue;
        const size_t n = o.point ? 3 : 6;
        const UINT at = static_cast<UINT>(live.size());
        live.insert(live.end(), m_boxes.begin() + o.box, m_boxes.begin() + o.box + n);
        o.box = at;
    }
    m_boxes.swap(live);
    m_deadBoxes = 0;
}

void GObjectRegistry::Fill(const Slot& s, GRE_Object& o) const {
    o.type = s.type;
    o.key = s.key;
    o.flag = s.flag;
    o.selected = s.selected;
    o.hasBox = s.hasBox;
    if (!s.hasBox) return;
    const double* b = m_boxes.data() + s.box;
    o.wlo = C3DPoint(b[0], b[1], b[2]);
    o.whi = s.point ? o.wlo : C3DPoint(b[3], b[4], b[5]);
}

void GObjectRegistry::ProjectBox(GRE_Object& o, const GViewCamera& cam) {
    double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300, z0 = 1e300, z1 = -1e300;
    // A node's box is a point: its eight corners are one.
    const bool point = std::memcmp(&o.wlo.x, &o.whi.x, sizeof(double)) == 0 &&
                       std::memcmp(&o.wlo.y, &o.whi.y, sizeof(double)) == 0 &&
                       std::memcmp(&o.wlo.z, &o.whi.z, sizeof(double)) == 0;
    for (int i = 0; i < (point ? 1 : 8); ++i) {
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

std::optional<GRE_Object> GObjectRegistry::Find(int type, UINT key, const GViewCamera& cam) const {
    const int s = FindSlot(type, key);
    if (s == kFree) return std::nullopt;
    GRE_Object o;
    Fill(m_slots[static_cast<size_t>(s)], o);
    if (o.hasBox) ProjectBox(o, cam);
    return o;
}

int GObjectRegistry::GetFlag(int type, UINT key) const {
    const int s = FindSlot(type, key);
    return s == kFree ? -1 : m_slots[static_cast<size_t>(s)].flag;
}

int GObjectRegistry::SetSelected(int type, UINT key, int select) {
    const int s = FindSlot(type, key);
    if (s == kFree) return 0;
    m_slots[static_cast<size_t>(s)].selected = select ? 1 : 0;
    return 1;
}

int GObjectRegistry::AskBox(int type, UINT key, GGeometrySource* src, C3DPoint& lo, C3DPoint& hi) const {
    if (!src) return 0;
    lo = C3DPoint(1e308, 1e308, 1e308);
    hi = C3DPoint(-1e308, -1e308, -1e308);
    return src->GetObjectBox(type, key, lo, hi) && FiniteBox(lo, hi);
}

int GObjectRegistry::Look(int type, UINT key, GGeometrySource* src, const GViewCamera& cam, GRE_Object& out) {
    out = GRE_Object();
    out.type = type;
    out.key = key;
    const int s = FindSlot(type, key);
    if (s != kFree) {
        Slot& slot = m_slots[static_cast<size_t>(s)];
        C3DPoint lo, hi;
        if (!slot.hasBox && AskBox(type, key, src, lo, hi)) StoreBox(slot, lo, hi);
        Fill(slot, out);
    } else if (AskBox(type, key, src, out.wlo, out.whi)) {
        out.hasBox = 1;
    }
    if (!out.hasBox) return 0;
    ProjectBox(out, cam);
    return 1;
}

void GObjectRegistry::UpdateAll(GGeometrySource* src) {
    SortSlots();
    std::vector<double>().swap(m_boxes);
    m_deadBoxes = 0;
    // Room for a box each at once: growing (and then fitting) the list as it fills would copy it
    // twice or three times over, into fresh memory each time; the part no box takes is never touched.
    m_boxes.reserve(6 * m_slots.size());
    for (Slot& s : m_slots) {
        s.hasBox = 0;
        C3DPoint lo, hi;
        if (AskBox(s.type, s.key, src, lo, hi)) StoreBox(s, lo, hi);
    }
}

void GObjectRegistry::UnselectAll() {
    for (Slot& s : m_slots) s.selected = 0;
}

int GObjectRegistry::ActivateAll() {
    int n = 0;
    for (Slot& s : m_slots)
        if (!s.flag) {
            s.flag = 1;
            ++n;
        }
    return n;
}

int GObjectRegistry::GetWorldRange(int tmin, int tmax, C3DPoint& lo, C3DPoint& hi) const {
    SortSlots();
    int found = 0;
    GRE_Object o;
    for (const Slot& s : m_slots) {
        if (s.type < tmin || s.type > tmax || !s.hasBox) continue;
        Fill(s, o);
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
