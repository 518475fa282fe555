// Picking quadtree: rectangles in view coordinates, each naming one object, queried by point.
//
// The graphics control keeps one tree of the objects the model offers for picking
// (`I_PVXCtrl::QTreeAdd`). Rectangles are bounding boxes in view x and y, so the tree stays
// valid while the picture is zoomed or panned and is rebuilt only when the view turns. A node
// splits into four once it holds more than `kNodeCapacity` items; an item that straddles a
// split line stays in the node. Items outside the root square grow the root, so nothing added
// is ever dropped.
#pragma once

#include <memory>
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

    void Clear();
    // Adds an item; `id` is the caller's index. Invalid (inverted or non-finite) rectangles are
    // refused with 0.
    int Insert(int id, const GRect2D& rc);
    // Ids of all items whose rectangle, widened by tol, contains (x, y); ascending id order.
    void Query(double x, double y, double tol, std::vector<int>& ids) const;
    int GetCount() const { return m_nCount; }

private:
    struct Node;
    void Grow(const GRect2D& rc);
    static void InsertAt(Node* n, int id, const GRect2D& rc, int depth);
    static void Collect(const Node* n, double x, double y, double tol, std::vector<int>& ids);
    static void CollectAll(const Node* n, std::vector<std::pair<int, GRect2D>>& items);

    std::unique_ptr<Node> m_pRoot;  // null while empty
    int m_nCount;
};
