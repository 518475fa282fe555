// Object registry of the graphics control: id ranges, registration and active sets, depth
// order, window culling and picking through the quadtree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "tests/host/grx/GrxTestModel.h"

namespace {

// A row of three columns along x (members 1..3 between nodes 1-2, 3-4, 5-6) at different y,
// so that their depth differs in the front view (eye at -y).
void BuildColumns(GrxTestModel& m) {
    const double ys[3] = {5.0, 0.0, 10.0};  // member 2 nearest the front, member 3 farthest
    for (UINT i = 0; i < 3; ++i) {
        m.m_nodes[2 * i + 1] = C3DPoint(10.0 * i, ys[i], 0.0);
        m.m_nodes[2 * i + 2] = C3DPoint(10.0 * i, ys[i], 8.0);
        m.m_members[i + 1] = {2 * i + 1, 2 * i + 2};
    }
}

// The columns, all registered with the control, seen from the front.
struct ColumnsInFrontView {
    GrxTestModel m;
    I_PVXCtrl ctrl;
    ColumnsInFrontView() {
        BuildColumns(m);
        ctrl.SetI_PVXModel(&m);
        m.RegisterAll(ctrl);
        ctrl.UpdateAllWcsVcsMBR();
        ctrl.SetStandardView(GViewCamera::VIEW_FRONT);
    }
};

TEST(GrxObjects, IdRangesNameUndeformedThenDeformed) {
    I_PVXCtrl ctrl;
    int o0 = 0, o1 = 0, n0 = 0, n1 = 0;
    ctrl.GetObjectIDRange(o0, o1);
    ctrl.GetNodeIDRange(n0, n1);
    EXPECT_LT(o0 + 1, o1 + 1);
    EXPECT_LE(o0 + 1, o1) << "first + 1 (deformed) lies inside the object range";
    EXPECT_LE(n0 + 1, n1) << "first + 1 (deformed) lies inside the node range";
    EXPECT_TRUE(o1 < n0 || n1 < o0) << "object and node ranges do not overlap";
}

TEST(GrxObjects, RegistrationAndActiveSets) {
    GrxTestModel m;
    BuildColumns(m);
    I_PVXCtrl ctrl;
    ctrl.SetI_PVXModel(&m);
    const int obj = I_PVXCtrl::kObjectIDFirst, node = I_PVXCtrl::kNodeIDFirst;
    ctrl.AddObject(obj, 1, 1);
    ctrl.AddObject(obj, 2, 0);
    ctrl.AddObject(obj + 1, 3, 1);  // deformed registration counts as active too
    ctrl.AddObject(node, 1, 1);
    ctrl.AddObject(node, 2, 0);
    EXPECT_EQ(ctrl.GetObjectCount(), 5);
    ctrl.AddObject(obj, 1, 1);  // again: updates, no duplicate
    EXPECT_EQ(ctrl.GetObjectCount(), 5);

    struct Row {
        const char* what;
        int got, want;
    } rows[] = {
        {"elem 1", ctrl.IsActiveElem(1), 1}, {"elem 2", ctrl.IsActiveElem(2), 0},
        {"elem 3 deformed", ctrl.IsActiveElem(3), 1}, {"elem 9 unknown", ctrl.IsActiveElem(9), 0},
        {"node 1", ctrl.IsActiveNode(1), 1}, {"node 2", ctrl.IsActiveNode(2), 0},
        {"node key 3 is not a node", ctrl.IsActiveNode(3), 0},
    };
    for (const auto& r : rows) EXPECT_EQ(r.got != 0, r.want != 0) << r.what;

    EXPECT_EQ(ctrl.DelObject(obj, 2), 1);
    EXPECT_EQ(ctrl.DelObject(obj, 2), 0) << "second delete finds nothing";
    EXPECT_EQ(ctrl.GetObjectCount(), 4);

    // ActiveAll shows everything and hands the model the undeformed keys once.
    ctrl.ActiveAll();
    EXPECT_TRUE(ctrl.IsActiveNode(2));
    EXPECT_EQ(m.m_nActiveCalls, 1);
    EXPECT_EQ(m.m_lastActiveNodes.GetSize(), 2);
    EXPECT_EQ(m.m_lastActiveMembers.GetSize(), 1);
    ctrl.ActiveAll();
    EXPECT_EQ(m.m_nActiveCalls, 1) << "nothing changed: the model is not told again";
}

TEST(GrxObjects, SubtractKeyKeepsOrderOfAll) {
    const struct Row {
        const char* label;
        std::vector<UINT> all, sub, left;
    } rows[] = {
        {"neither sorted, a key twice", {7, 3, 9, 1, 3}, {3, 8}, {7, 9, 1}},
        {"both sorted, a key twice in each", {1, 3, 3, 5, 7, 9}, {3, 3, 4, 9}, {1, 5, 7}},
        {"all sorted, subset not", {1, 2, 4, 8}, {8, 0, 2}, {1, 4}},
        {"everything taken, subset past the end of all", {2, 4}, {4, 2, 6}, {}},
    };
    I_PVXCtrl ctrl;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<UINT, UINT> all, sub, res;
        for (UINT k : r.all) all.Add(k);
        for (UINT k : r.sub) sub.Add(k);
        res.Add(99);  // emptied first
        ctrl.SubtractKey(all, sub, res);
        EXPECT_EQ(std::vector<UINT>(res.GetData(), res.GetData() + res.GetSize()), r.left);
    }
}

// Back to front by view depth; the deformed type sorts its own boxes; unknown keys lead.
TEST(GrxObjects, ZSortedListIsBackToFront) {
    ColumnsInFrontView scene;
    I_PVXCtrl& ctrl = scene.ctrl;

    CArray<int, int> types;
    types.Add(I_PVXCtrl::kObjectIDFirst);
    CArray<UINT, UINT> keys;
    for (UINT k : {1u, 2u, 3u, 42u}) keys.Add(k);
    CArray<GRE_Atom, GRE_Atom&> out;
    ctrl.GetZSortedList(types, keys, out);
    ASSERT_EQ(out.GetSize(), 4);
    const UINT want[] = {42, 3, 1, 2};  // unknown key first, then farthest (y = 10) to nearest (y = 0)
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(out[i].m_nKey, want[i]) << "position " << i;
        EXPECT_EQ(out[i].m_nType, I_PVXCtrl::kObjectIDFirst);
    }
    // Depth really is ascending for the known entries.
    double last = -1e300;
    for (int i = 1; i < 4; ++i) {
        const auto o = ctrl.FindObject(out[i].m_nType, out[i].m_nKey);
        ASSERT_TRUE(o.has_value());
        EXPECT_GE(o->depth, last);
        last = o->depth;
    }
    // Turned to the back view the order reverses.
    ctrl.SetStandardView(GViewCamera::VIEW_BACK);
    ctrl.GetZSortedList(types, keys, out);
    EXPECT_EQ(out[1].m_nKey, 2u);
    EXPECT_EQ(out[3].m_nKey, 3u);
    // The deformed type is sorted from boxes the model gives on demand (not registered).
    types[0] = I_PVXCtrl::kObjectIDFirst + 1;
    ctrl.SetStandardView(GViewCamera::VIEW_FRONT);
    ctrl.GetZSortedList(types, keys, out);
    EXPECT_EQ(out[1].m_nKey, 3u);
    EXPECT_EQ(out[3].m_nKey, 2u);
    EXPECT_EQ(out[3].m_nType, I_PVXCtrl::kObjectIDFirst + 1);
}

TEST(GrxObjects, ZSortPolygonListOrdersFacesBackToFront) {
    I_PVXCtrl ctrl;
    ctrl.SetStandardView(GViewCamera::VIEW_TOP);  // eye above: larger z is nearer
    const double zs[] = {2.0, -1.0, 5.0, 0.0};
    CArray<CList<C3DPoint, C3DPoint>*, CList<C3DPoint, C3DPoint>*> faces;
    for (double z : zs) {
        auto* f = new CList<C3DPoint, C3DPoint>;
        f->AddTail(C3DPoint(0, 0, z));
        f->AddTail(C3DPoint(1, 0, z));
        f->AddTail(C3DPoint(0, 1, z));
        faces.Add(f);
    }
    CArray<int, int> order;
    ctrl.GetZSortPolygonList(faces, order);
    ASSERT_EQ(order.GetSize(), 4);
    const int want[] = {1, 3, 0, 2};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(order[i], want[i]) << "position " << i;
    ctrl.GetZSortPolygonList(faces);  // in place
    EXPECT_DOUBLE_EQ(faces[0]->GetHead().z, -1.0);
    EXPECT_DOUBLE_EQ(faces[3]->GetHead().z, 5.0);
    for (INT_PTR i = 0; i < faces.GetSize(); ++i) delete faces[i];
}

// Depths sorted back to front as a stable sort orders them, for lists short and long (the
// long ones sorted by buckets, else by their bits): equal depths, -0 and +0 among them, keep
// their order.
TEST(GrxObjects, DepthOrderIsTheStableOrder) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    struct Row {
        const char* label;
        size_t n;
        double (*depth)(size_t i);
    } rows[] = {
        {"few, seven depths", 100, [](size_t i) { return static_cast<double>(static_cast<int>(i * 7919 % 7) - 3); }},
        {"many, seven depths", 50000, [](size_t i) { return static_cast<double>(static_cast<int>(i * 7919 % 7) - 3); }},
        {"many, -0 and +0 alternating with others",
         20000, [](size_t i) { return i % 3 == 0 ? -0.0 : i % 3 == 1 ? 0.0 : (i % 2 ? 1e-300 : -1e-300); }},
        {"many, spread over magnitudes with -infinity", 30000,
         [](size_t i) {
             const double m = std::ldexp(i % 2 ? 1.0 : -1.0, static_cast<int>(i * 37 % 200) - 100);
             return i % 101 == 0 ? -inf : m * static_cast<double>(1 + i % 5);
         }},
        {"many, all equal", 5000, [](size_t) { return 2.5; }},
        {"many, spread evenly in no order", 40000,
         [](size_t i) { return static_cast<double>(i * 7919 % 40000) * 0.37 - 5000.0; }},
        {"many, rows of a mesh: equal depths but for rounding, out of order", 60000,
         [](size_t i) { return static_cast<double>(i % 300 + i / 300) * 0.1 + ((i * 13) % 7) * 1e-15; }},
        {"many, from the least to the greatest double", 10000,
         [](size_t i) { return (i % 2 ? 1.0 : -1.0) * std::numeric_limits<double>::max() / static_cast<double>(1 + i % 9); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        std::vector<std::pair<double, int>> d;
        for (size_t i = 0; i < r.n; ++i) d.emplace_back(r.depth(i), static_cast<int>(i));
        std::vector<std::pair<double, int>> want = d;
        std::stable_sort(want.begin(), want.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<int> order;
        I_PVXCtrl::SortByDepth(d, order);
        ASSERT_EQ(order.size(), want.size());
        size_t same = 0;
        for (size_t i = 0; i < want.size(); ++i) same += order[i] == want[i].second;
        EXPECT_EQ(same, want.size());
    }
}

TEST(GrxObjects, ObjectInClientWindowFollowsPan) {
    ColumnsInFrontView scene;
    I_PVXCtrl& ctrl = scene.ctrl;
    const int obj = I_PVXCtrl::kObjectIDFirst;
    for (UINT k = 1; k <= 3; ++k) EXPECT_TRUE(ctrl.IsObjectInClientWindow(obj, k)) << k;
    // Push the picture far to the right: the leftmost column (x = 0) leaves last.
    ctrl.ViewPan(2000, 0);
    for (UINT k = 1; k <= 3; ++k) EXPECT_FALSE(ctrl.IsObjectInClientWindow(obj, k)) << k;
    EXPECT_TRUE(ctrl.IsObjectInClientWindow(obj, 77)) << "unknown extent: drawn rather than lost";
}

// Picking returns the object under the point and nothing elsewhere; nodes win at their point.
TEST(GrxObjects, PickingFindsObjectUnderPoint) {
    ColumnsInFrontView scene;
    GrxTestModel& m = scene.m;
    I_PVXCtrl& ctrl = scene.ctrl;
    for (auto& kv : m.m_members) {
        GRE_Atom a(I_PVXCtrl::kObjectIDFirst, kv.first);
        ctrl.QTreeAdd(a);
    }
    GRE_Atom n1(I_PVXCtrl::kNodeIDFirst, 1);
    ctrl.QTreeAdd(n1);
    EXPECT_EQ(ctrl.QTreeGetCount(), 4);

    auto mid = [&](UINT memb) {
        auto e = m.m_members[memb];
        return ctrl.GetWorldToWindowP2D((m.m_nodes[e.first] + m.m_nodes[e.second]) * 0.5);
    };
    struct Row {
        const char* what;
        CPoint pt;
        int found, type;
        UINT key;
    } rows[] = {
        {"middle of member 1", mid(1), 1, I_PVXCtrl::kObjectIDFirst, 1},
        {"middle of member 2", mid(2), 1, I_PVXCtrl::kObjectIDFirst, 2},
        {"2 px beside member 3", mid(3) + CPoint(2, 0), 1, I_PVXCtrl::kObjectIDFirst, 3},
        {"node 1 at the foot of member 1", ctrl.GetWorldToWindowP2D(m.m_nodes[1]), 1, I_PVXCtrl::kNodeIDFirst, 1},
        {"between members 1 and 2", CPoint((mid(1).x + mid(2).x) / 2, mid(1).y), 0, 0, 0},
        {"far corner", CPoint(2, 2), 0, 0, 0},
    };
    for (const auto& r : rows) {
        GRE_Atom got(-1, 0);
        const int found = ctrl.PickObject(r.pt, got);
        EXPECT_EQ(found, r.found) << r.what;
        if (found && r.found) {
            EXPECT_EQ(got.m_nType, r.type) << r.what;
            EXPECT_EQ(got.m_nKey, r.key) << r.what;
        }
    }
    // After turning the view the tree follows: member 2 is still found at its new place.
    ctrl.SetStandardView(GViewCamera::VIEW_RIGHT);
    GRE_Atom got;
    // In the right view all columns stand at different screen x (by y): pick member 3 (y = 10).
    ASSERT_EQ(ctrl.PickObject(mid(3), got), 1);
    EXPECT_EQ(got.m_nKey, 3u);
    ctrl.QTreeClearAll();
    EXPECT_EQ(ctrl.PickObject(mid(3), got), 0) << "an empty tree picks nothing";
}

// The registry against an ordered map, row by row: adds in and out of order and again over
// present keys (the flag only changes), deletes of present and absent keys, boxes found in bulk
// and then most of their objects deleted (the live boxes move together). After each row every
// key is found with the map's flag and box, absent keys are not, and a walk gives the map's
// order.
TEST(GrxObjects, RegistryFindsAndWalksAsAnOrderedMap) {
    // Odd types are nodes (a point box), even ones members (a box of size 1, 2, 3); keys that
    // are multiples of 7 have none. Keys far apart make a type's index sparse.
    struct Source : GGeometrySource {
        int GetObjectBox(int type, UINT key, C3DPoint& lo, C3DPoint& hi) override {
            lo = C3DPoint(key, type, -1.0 * key);
            hi = type % 2 ? lo : lo + C3DPoint(1, 2, 3);
            return key % 7 != 0;
        }
    } src;
    enum { kAdd, kDel, kBoxes };
    struct Row {
        const char* what;
        int op, type, first, last, step, flag;
    } rows[] = {
        {"nodes ascending", kAdd, 2001, 1, 20000, 1, 1},
        {"members descending", kAdd, 1002, 400, 1, -1, 0},
        {"present nodes again", kAdd, 2001, 1, 20000, 3, 0},
        {"every other node deleted", kDel, 2001, 2, 20000, 2, 0},
        {"absent keys deleted", kDel, 2003, 1, 50, 1, 0},
        {"deformed nodes, out of order", kAdd, 2003, 30000, 1, -7, 1},
        {"boxes of all", kBoxes, 0, 0, 0, 1, 0},
        {"most nodes deleted", kDel, 2001, 1, 19000, 1, 0},
        {"nodes back without boxes", kAdd, 2001, 1, 600, 1, 1},
        {"sparse keys of a type of their own", kAdd, 3001, 7, 2000000000, 40000001, 1},
        {"some sparse keys deleted", kDel, 3001, 7, 2000000000, 120000003, 0},
        {"members below the first ones", kAdd, 1002, 5000, 401, -1, 1},
        {"one member far above the others", kAdd, 1002, 1500000000, 1500000000, 1, 0},
        {"members around it", kAdd, 1002, 1499999000, 1500001000, 250, 1},
        {"members of the far range deleted", kDel, 1002, 1499999000, 1500001000, 500, 0},
        {"boxes again", kBoxes, 0, 0, 0, 1, 0},
    };
    GObjectRegistry reg;
    std::map<std::pair<int, UINT>, std::pair<int, bool>> want;  // flag, has a box
    GViewCamera cam;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        if (r.op == kBoxes) {
            reg.UpdateAll(&src);
            for (auto& [k, v] : want) v.second = k.second % 7 != 0;
        }
        for (int key = r.first; r.op != kBoxes && (r.step > 0 ? key <= r.last : key >= r.last); key += r.step) {
            const std::pair<int, UINT> k(r.type, static_cast<UINT>(key));
            if (r.op == kAdd) {
                reg.Add(r.type, k.second, r.flag);
                auto [it, added] = want.emplace(k, std::make_pair(r.flag, false));
                if (!added) it->second.first = r.flag;
            } else {
                EXPECT_EQ(reg.Del(r.type, k.second), want.erase(k) ? 1 : 0) << key;
            }
        }
        ASSERT_EQ(reg.GetCount(), static_cast<int>(want.size()));
        for (const auto& [k, v] : want) {
            const auto o = reg.Find(k.first, k.second, cam);
            ASSERT_TRUE(o.has_value()) << k.first << " " << k.second;
            EXPECT_EQ(o->flag, v.first);
            ASSERT_EQ(o->hasBox != 0, v.second) << k.first << " " << k.second;
            C3DPoint lo, hi;
            if (v.second) src.GetObjectBox(k.first, k.second, lo, hi);
            if (v.second) {
                EXPECT_TRUE(o->wlo == lo && o->whi == hi) << k.first << " " << k.second;
            }
        }
        for (UINT absent : {0u, 20001u, 40000u}) EXPECT_FALSE(reg.Find(2001, absent, cam).has_value());
        auto next = want.begin();
        bool inOrder = true;
        reg.ForEach([&](int type, UINT key, int flag) {
            inOrder = inOrder && next != want.end() && next->first == std::make_pair(type, key) &&
                      next->second.first == flag;
            ++next;
        });
        EXPECT_TRUE(inOrder && next == want.end());
    }
}

}  // namespace
