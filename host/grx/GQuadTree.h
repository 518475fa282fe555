// Picking quadtree: rectangles in view coordinates, each naming one object, queried by point.
//
// The graphics control keeps one tree of the objects the model offers for picking
// (`I_PVXCtrl::QTreeAdd`). Rectangles are bounding boxes in view x and y, so the tree stays
// valid while the picture is zoomed or panned and is rebuilt only when the view turns. A node
// splits into four once it holds more than `kNodeCapacity` items; an item that straddles a
// split line stays in the node. Items outside the root square grow the root, so nothing added
// is ever dropped.
#pragma once

#include <cstddef>
#include <vector>

struct GRect2D {
    double left, bottom, right, top;  // view units; left <= right, bottom <= top when valid

    bool Contains(double x, double y, double tol = 0.0) const {
        return x >= left - tol && x <= right + tol && y >= bottom - tol && y <= top + tol;
    }
    bool Inside(const GRect2D& r) const {
        return left >= r.left && right <= r.right && bottom >= r.bottom && top <= r.top;
    }
};

class GQuadTree {
public:
    static constexpr int kNodeCapacity = 8;
    static constexpr int kMaxDepth = 12;

    GQuadTree();
    ~GQuadTree();
    GQuadTree(const GQuadTree&) = delete;
    GQuadTree& operator=(const GQuadTree&) = delete;

    // Empties the tree and frees its room.
    void Clear();
    // Room for n items, for a caller about to add that many.
    void Reserve(size_t n) { m_items.reserve(n); }
    // Adds an item; `id` is the caller's index. Invalid (inverted or non-finite) rectangles are
    // refused with 0.
    int Insert(int id, const GRect2D& rc);
    // Ids of all items whose rectangle, widened by tol, contains (x, y); ascending id order.
    void Query(double x, double y, double tol, std::vector<int>& ids) const;
    int GetCount() const { return m_nCount; }

private:
    // Nodes and items live in two flat arrays (no allocation per node or item); a node's items
    // are a list threaded through the items array.
    struct Item {
        GRect2D rc;
        int id;
        int next;  // next item of the same node, -1 after the last
    };
    struct Node {
        GRect2D box;     // square region of this node
        int child = -1;  // first of the four children (consecutive), -1 for a leaf
        int first = -1;  // first item, -1 when none
        int count = 0;   // items in the list
    };
    void Grow(const GRect2D& rc);
    // Links item it into the tree below node n (at depth), splitting full leaves.
    void InsertAt(int n, int it, int depth);
    void Collect(int n, double x, double y, double tol, std::vector<int>& ids) const;

    std::vector<Node> m_nodes;  // [0] is the root; empty while the tree is
    std::vector<Item> m_items;
    int m_nCount;
};
