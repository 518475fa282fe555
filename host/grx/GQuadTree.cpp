#include "host/grx/GQuadTree.h"

#include <algorithm>
#include <cmath>
#include <utility>

struct GQuadTree::Node {
    GRect2D box;  // square region of this node
    std::vector<std::pair<int, GRect2D>> items;
    std::unique_ptr<Node> child[4];  // all null or all set
};

GQuadTree::GQuadTree() : m_nCount(0) {}
GQuadTree::~GQuadTree() = default;

void GQuadTree::Clear() {
    m_pRoot.reset();
    m_nCount = 0;
}

static bool ValidRect(const GRect2D& rc) {
    return std::isfinite(rc.left) && std::isfinite(rc.right) && std::isfinite(rc.bottom) &&
           std::isfinite(rc.top) && rc.left <= rc.right && rc.bottom <= rc.top;
}

int GQuadTree::Insert(int id, const GRect2D& rc) {
    if (!ValidRect(rc)) return 0;
    if (!m_pRoot || !rc.Inside(m_pRoot->box)) Grow(rc);
    InsertAt(m_pRoot.get(), id, rc, 0);
    ++m_nCount;
    return 1;
}

void GQuadTree::Grow(const GRect2D& rc) {
    // New root square covering the old root and the new rectangle, with room to spare.
    GRect2D u = rc;
    std::vector<std::pair<int, GRect2D>> items;
    if (m_pRoot) {
        u.left = std::min(u.left, m_pRoot->box.left);
        u.bottom = std::min(u.bottom, m_pRoot->box.bottom);
        u.right = std::max(u.right, m_pRoot->box.right);
        u.top = std::max(u.top, m_pRoot->box.top);
        CollectAll(m_pRoot.get(), items);
    }
    const double cx = (u.left + u.right) / 2.0, cy = (u.bottom + u.top) / 2.0;
    double half = std::max(u.right - u.left, u.top - u.bottom);
    if (!(half > 0.0)) half = std::max(1.0, std::fabs(cx) + std::fabs(cy));
    m_pRoot = std::make_unique<Node>();
    m_pRoot->box = GRect2D{cx - half, cy - half, cx + half, cy + half};
    for (auto& it : items) InsertAt(m_pRoot.get(), it.first, it.second, 0);
}

void GQuadTree::InsertAt(Node* n, int id, const GRect2D& rc, int depth) {
    for (;;) {
        if (n->child[0]) {
            Node* next = nullptr;
            for (auto& c : n->child)
                if (rc.Inside(c->box)) { next = c.get(); break; }
            if (!next) break;  // straddles a split line: stays here
            n = next;
            ++depth;
            continue;
        }
        n->items.emplace_back(id, rc);
        if (static_cast<int>(n->items.size()) <= kNodeCapacity || depth >= kMaxDepth) return;
        // Split and push down what fits in a quarter.
        const GRect2D b = n->box;
        const double mx = (b.left + b.right) / 2.0, my = (b.bottom + b.top) / 2.0;
        const GRect2D q[4] = {{b.left, b.bottom, mx, my}, {mx, b.bottom, b.right, my},
                              {b.left, my, mx, b.top}, {mx, my, b.right, b.top}};
        for (int i = 0; i < 4; ++i) {
            n->child[i] = std::make_unique<Node>();
            n->child[i]->box = q[i];
        }
        std::vector<std::pair<int, GRect2D>> keep, moved;
        keep.swap(n->items);
        for (auto& it : keep) {
            bool down = false;
            for (auto& c : n->child)
                if (it.second.Inside(c->box)) { moved.push_back(it); down = true; break; }
            if (!down) n->items.push_back(it);
        }
        for (auto& it : moved) InsertAt(n, it.first, it.second, depth);
        return;
    }
    n->items.emplace_back(id, rc);
}

void GQuadTree::Query(double x, double y, double tol, std::vector<int>& ids) const {
    ids.clear();
    if (m_pRoot) Collect(m_pRoot.get(), x, y, tol, ids);
    std::sort(ids.begin(), ids.end());
}

void GQuadTree::Collect(const Node* n, double x, double y, double tol, std::vector<int>& ids) {
    if (!n->box.Contains(x, y, tol)) return;
    for (auto& it : n->items)
        if (it.second.Contains(x, y, tol)) ids.push_back(it.first);
    if (n->child[0])
        for (auto& c : n->child) Collect(c.get(), x, y, tol, ids);
}

void GQuadTree::CollectAll(const Node* n, std::vector<std::pair<int, GRect2D>>& items) {
    items.insert(items.end(), n->items.begin(), n->items.end());
    if (n->child[0])
        for (auto& c : n->child) CollectAll(c.get(), items);
}
