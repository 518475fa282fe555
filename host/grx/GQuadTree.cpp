#include "host/grx/GQuadTree.h"

#include <algorithm>
#include <cmath>
#include <utility>

GQuadTree::GQuadTree() : m_nCount(0) {}
GQuadTree::~GQuadTree() = default;

void GQuadTree::Clear() {
    std::vector<Node>().swap(m_nodes);
    std::vector<Item>().swap(m_items);
    m_nCount = 0;
}

static bool ValidRect(const GRect2D& rc) {
    return std::isfinite(rc.left) && std::isfinite(rc.right) && std::isfinite(rc.bottom) &&
           std::isfinite(rc.top) && rc.left <= rc.right && rc.bottom <= rc.top;
}

int GQuadTree::Insert(int id, const GRect2D& rc) {
    if (!ValidRect(rc)) return 0;
    if (m_nodes.empty() || !rc.Inside(m_nodes[0].box)) Grow(rc);
    m_items.push_back(Item{rc, id, -1});
    InsertAt(0, static_cast<int>(m_items.size()) - 1, 0);
    ++m_nCount;
    return 1;
}

void GQuadTree::Grow(const GRect2D& rc) {
    // New root square covering the old root and the new rectangle, with room to spare; the
    // items go in again from it.
    GRect2D u = rc;
    if (!m_nodes.empty()) {
        const GRect2D& b = m_nodes[0].box;
        u.left = std::min(u.left, b.left);
        u.bottom = std::min(u.bottom, b.bottom);
        u.right = std::max(u.right, b.right);
        u.top = std::max(u.top, b.top);
    }
    const double cx = (u.left + u.right) / 2.0, cy = (u.bottom + u.top) / 2.0;
    double half = std::max(u.right - u.left, u.top - u.bottom);
    if (!(half > 0.0)) half = std::max(1.0, std::fabs(cx) + std::fabs(cy));
    m_nodes.clear();
    m_nodes.push_back(Node{GRect2D{cx - half, cy - half, cx + half, cy + half}});
    for (size_t i = 0; i < m_items.size(); ++i) {
        m_items[i].next = -1;
        InsertAt(0, static_cast<int>(i), 0);
    }
}

void GQuadTree::InsertAt(int n, int it, int depth) {
    const GRect2D rc = m_items[static_cast<size_t>(it)].rc;
    for (;;) {
        const int child = m_nodes[static_cast<size_t>(n)].child;
        if (child >= 0) {
            int next = -1;
            for (int c = child; c < child + 4; ++c)
                if (rc.Inside(m_nodes[static_cast<size_t>(c)].box)) { next = c; break; }
            if (next < 0) break;  // straddles a split line: stays here
            n = next;
            ++depth;
            continue;
        }
        Node& leaf = m_nodes[static_cast<size_t>(n)];
        m_items[static_cast<size_t>(it)].next = leaf.first;
        leaf.first = it;
        if (++leaf.count <= kNodeCapacity || depth >= kMaxDepth) return;
        // Split and push down what fits in a quarter.
        const GRect2D b = leaf.box;
        const double mx = (b.left + b.right) / 2.0, my = (b.bottom + b.top) / 2.0;
        const GRect2D q[4] = {{b.left, b.bottom, mx, my}, {mx, b.bottom, b.right, my},
                              {b.left, my, mx, b.top}, {mx, my, b.right, b.top}};
        const int first = static_cast<int>(m_nodes.size());
        for (const GRect2D& r : q) m_nodes.push_back(Node{r});
        Node& split = m_nodes[static_cast<size_t>(n)];
        split.child = first;
        int list = split.first;
        split.first = -1;
        split.count = 0;
        while (list >= 0) {
            Item& item = m_items[static_cast<size_t>(list)];
            const int following = item.next;
            bool down = false;
            for (int c = first; c < first + 4 && !down; ++c) down = item.rc.Inside(m_nodes[static_cast<size_t>(c)].box);
            if (down) {
                InsertAt(n, list, depth);
            } else {
                Node& keep = m_nodes[static_cast<size_t>(n)];
                item.next = keep.first;
                keep.first = list;
                ++keep.count;
            }
            list = following;
        }
        return;
    }
    Node& node = m_nodes[static_cast<size_t>(n)];
    m_items[static_cast<size_t>(it)].next = node.first;
    node.first = it;
    ++node.count;
}

void GQuadTree::Query(double x, double y, double tol, std::vector<int>& ids) const {
    ids.clear();
    if (!m_nodes.empty()) Collect(0, x, y, tol, ids);
    std::sort(ids.begin(), ids.end());
}

void GQuadTree::Collect(int n, double x, double y, double tol, std::vector<int>& ids) const {
    const Node& node = m_nodes[static_cast<size_t>(n)];
    if (!node.box.Contains(x, y, tol)) return;
    for (int it = node.first; it >= 0; it = m_items[static_cast<size_t>(it)].next)
        if (m_items[static_cast<size_t>(it)].rc.Contains(x, y, tol)) ids.push_back(m_items[static_cast<size_t>(it)].id);
    if (node.child >= 0)
        for (int c = node.child; c < node.child + 4; ++c) Collect(c, x, y, tol, ids);
}
