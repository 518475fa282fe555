// CArray growth and element lifetime, CList operations, CMap iteration order and hashing.
#include "platform/afx/afx.h"

#include <gtest/gtest.h>

#include <iterator>
#include <list>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Counts live instances so construction and destruction can be checked for balance.
struct Tracked {
    static int s_nLive;
    int value;
    Tracked() : value(-1) { s_nLive++; }
    Tracked(int v) : value(v) { s_nLive++; }
    Tracked(const Tracked& o) : value(o.value) { s_nLive++; }
    Tracked& operator=(const Tracked& o) = default;
    ~Tracked() { s_nLive--; }
};
int Tracked::s_nLive = 0;

// Its copies throw while s_bThrow is set.
struct Fussy {
    static bool s_bThrow;
    int value = 0;
    Fussy(int v = 0) : value(v) {}
    Fussy(const Fussy& o) : value(o.value) {
        if (s_bThrow) throw std::runtime_error("no copy");
    }
    Fussy& operator=(const Fussy&) = default;
};
bool Fussy::s_bThrow = false;

// A record whose constructor leaves its fields alone: new elements must still read zero.
struct RawRecord {
    RawRecord() {}
    int a;
    double b;
};

TEST(CArrayGrowth, CapacityFollowsTheClassLibraryRule) {
    // First block holds one element; then +4 while size/8 < 4; then +size/8.
    const INT_PTR expected[] = {1, 5, 9, 13, 17, 21, 25, 29, 33, 37, 41, 46, 51, 57};
    CArray<int, int> a;
    std::vector<INT_PTR> seen;
    for (int i = 0; i < 57; i++) {
        a.Add(i);
        if (seen.empty() || seen.back() != a.GetAllocSize()) seen.push_back(a.GetAllocSize());
    }
    ASSERT_EQ(seen.size(), std::size(expected));
    for (size_t i = 0; i < seen.size(); i++) EXPECT_EQ(seen[i], expected[i]) << "capacity step " << i;

    CArray<int, int> big;
    big.SetSize(10000);
    EXPECT_EQ(big.GetAllocSize(), 10000);
    big.Add(1);
    EXPECT_EQ(big.GetAllocSize(), 10000 + 5000) << "beyond 8,192 elements the step is half the size";
    CArray<int, int> edge;
    edge.SetSize(8192);
    edge.Add(1);
    EXPECT_EQ(edge.GetAllocSize(), 8192 + 1024) << "up to 8,192 elements the step is an eighth";

    CArray<double, double> g;
    g.SetSize(3, 10);
    EXPECT_EQ(g.GetAllocSize(), 10) << "first block is max(size, grow-by)";
    g.SetSize(11);
    EXPECT_EQ(g.GetAllocSize(), 20) << "explicit grow-by step";
    g.SetSize(30);
    EXPECT_EQ(g.GetAllocSize(), 30) << "a jump past capacity + step takes the new size";
}

TEST(CArrayGrowth, GrowInProportionDoublesFullBlocksOnly) {
    // Block size after the next append, derived from new capacity = max(new size, capacity +
    // grow-by) with the grow-by GrowInProportion leaves.
    struct Row {
        const char* label;
        int size, capacity;  // state before (capacity > size: shrunk within its block)
        int more;            // elements announced
        int append;          // elements then appended
        int expected;
    } rows[] = {
        {"empty list: a first block of 1,024", 0, 0, 1, 1, 1024},
        {"full 1,024: grow by 1,024", 1024, 1024, 1, 1, 2048},
        {"full 5,000: grow by 5,000", 5000, 5000, 1, 1, 10000},
        // Room for the announced element: the library's step, 4,000 / 8 = 500.
        {"room left: the library's rule", 4000, 5000, 1, 1001, 5500},
        {"no room for 3,000 more: grow by the size", 4000, 5000, 3000, 3000, 9000},
        {"a small list asked for many: grow by the many", 10, 10, 3000, 3000, 3010},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<int, int> a;
        if (r.capacity > 0) a.SetSize(r.capacity);
        a.SetSize(r.size);
        ASSERT_EQ(a.GetAllocSize(), r.capacity);
        GrowInProportion(a, r.more);
        a.SetSize(r.size + r.append);
        EXPECT_EQ(a.GetAllocSize(), r.expected);
    }

    // A million appends: blocks of 1,024 x 2^k, so eleven blocks reach 1,048,576. The automatic
    // rule alone (an eighth of the size, at least 4, to 8,192 elements, then half the size) takes
    // 69; a step capped at 1,024 would take (1,000,000 - 8,192) / 1,024 = 968.6, 969 or more.
    auto blocks = [](bool proportional) {
        CArray<int, int> a;
        int n = 0;
        INT_PTR cap = 0;
        for (int i = 0; i < 1000000; i++) {
            if (proportional) GrowInProportion(a);
            a.Add(i);
            if (a.GetAllocSize() != cap) {
                cap = a.GetAllocSize();
                n++;
            }
        }
        return n;
    };
    EXPECT_EQ(blocks(true), 11);
    EXPECT_LE(blocks(false), 69);
}

TEST(CArrayGrowth, SetSizeWithinCapacityKeepsBlockAndFreeExtraShrinks) {
    CArray<int, int> a;
    for (int i = 0; i < 5; i++) a.Add(i);
    const int* pBlock = a.GetData();
    a.SetSize(2);
    EXPECT_EQ(a.GetData(), pBlock);
    EXPECT_EQ(a.GetAllocSize(), 5);
    a.SetSize(4);
    EXPECT_EQ(a.GetData(), pBlock);
    EXPECT_EQ(a[3], 0) << "regrown elements start at zero";
    a.FreeExtra();
    EXPECT_EQ(a.GetAllocSize(), 4);
    EXPECT_EQ(a[1], 1);
    a.RemoveAt(0, 4);
    EXPECT_EQ(a.GetSize(), 0);
    EXPECT_NE(a.GetData(), nullptr);
    a.FreeExtra();
    EXPECT_EQ(a.GetData(), nullptr) << "an empty array frees its storage";
    EXPECT_EQ(a.GetAllocSize(), 0);
    a.Add(9);
    a.RemoveAll();
    EXPECT_EQ(a.GetData(), nullptr);
    EXPECT_EQ(a.GetAllocSize(), 0);
}

TEST(CArrayOps, InsertRemoveAppendCopyAndBounds) {
    CArray<int, int> a;
    for (int i = 0; i < 4; i++) a.Add(i * 10);  // 0 10 20 30
    a.InsertAt(1, 5, 2);                         // 0 5 5 10 20 30
    a.RemoveAt(0, 2);                            // 5 10 20 30 -> drop first two
    ASSERT_EQ(a.GetSize(), 4);
    EXPECT_EQ(a[0], 5);
    EXPECT_EQ(a[1], 10);
    a.InsertAt(6, 99);                           // past the end grows with zeros
    ASSERT_EQ(a.GetSize(), 7);
    EXPECT_EQ(a[4], 0);
    EXPECT_EQ(a[6], 99);
    EXPECT_EQ(a.GetUpperBound(), 6);

    CArray<int, int> b;
    b.Add(1);
    b.Add(2);
    a.InsertAt(1, &b);
    EXPECT_EQ(a[1], 1);
    EXPECT_EQ(a[2], 2);
    EXPECT_EQ(a[3], 10);
    EXPECT_EQ(b.Append(a), 2) << "Append returns the old size";
    EXPECT_EQ(b.GetSize(), 11);
    EXPECT_EQ(b.Append(b), 11) << "an array appended to itself";
    EXPECT_EQ(b.GetSize(), 22);
    EXPECT_EQ(b[11], 1);
    EXPECT_EQ(b[21], 99);

    CArray<int, int> c;
    c.Copy(a);
    EXPECT_EQ(c.GetSize(), a.GetSize());
    c.SetAtGrow(12, 7);
    EXPECT_EQ(c.GetSize(), 13);
    c.SetAt(0, 42);
    c.ElementAt(1) = 43;
    EXPECT_EQ(c.GetAt(0), 42);
    EXPECT_EQ(c[1], 43);

    // Misuse is reported and harmless.
    c.RemoveAt(12, 5);
    EXPECT_EQ(c.GetSize(), 13);
    c.SetAt(100, 1);
    EXPECT_EQ(c.GetAt(-1), 0);
    int& scratch = c[100];
    scratch = 5;
    EXPECT_EQ(c.GetSize(), 13);

    // A size whose bytes cannot be addressed is refused and the array kept.
    CArray<double, double> d;
    d.Add(1.5);
    d.SetSize(PTRDIFF_MAX / 4);
    EXPECT_EQ(d.GetSize(), 1);
    d.SetAtGrow(PTRDIFF_MAX / 4, 2.0);
    EXPECT_EQ(d.GetSize(), 1);
    EXPECT_EQ(d[0], 1.5);
}

TEST(CArrayOps, ElementsAreConstructedDestroyedAndSafeWhenAliased) {
    Tracked::s_nLive = 0;
    {
        CArray<Tracked, const Tracked&> a;
        for (int i = 0; i < 40; i++) a.Add(Tracked(i));
        EXPECT_EQ(Tracked::s_nLive, 40);
        a.RemoveAt(5, 10);
        EXPECT_EQ(Tracked::s_nLive, 30);
        a.InsertAt(0, Tracked(7), 3);
        EXPECT_EQ(Tracked::s_nLive, 33);
        a.SetSize(50);
        EXPECT_EQ(Tracked::s_nLive, 50);
        EXPECT_EQ(a[49].value, -1) << "default constructed";
        a.FreeExtra();
        EXPECT_EQ(Tracked::s_nLive, 50);
        CArray<Tracked, const Tracked&> copy(a);
        EXPECT_EQ(Tracked::s_nLive, 100);
    }
    EXPECT_EQ(Tracked::s_nLive, 0);

    // Adding an element of the array itself across a reallocation copies it first.
    CArray<CString> s;
    s.Add("first element, long enough to live on the heap");
    for (int i = 0; i < 20; i++) s.Add(s[0]);
    EXPECT_STREQ(s[20], "first element, long enough to live on the heap");
    s.InsertAt(0, s[3], 30);
    EXPECT_EQ(s.GetSize(), 51);
    EXPECT_STREQ(s[29], s[50]);

    CArray<RawRecord> r;
    r.SetSize(3);
    EXPECT_EQ(r[2].a, 0);
    EXPECT_EQ(r[2].b, 0.0);

    CArray<CArray<int, int>*> nested;
    nested.Add(new CArray<int, int>);
    nested[0]->Add(3);
    EXPECT_EQ(nested[0]->GetAt(0), 3);
    delete nested[0];
}

TEST(CListOps, AddRemoveInsertFindAndWalk) {
    CList<int, int> l(10);
    l.AddTail(2);
    l.AddTail(3);
    l.AddHead(1);
    auto items = [&l]() {
        std::string s;
        for (POSITION pos = l.GetHeadPosition(); pos;) s += std::to_string(l.GetNext(pos)) + " ";
        return s;
    };
    EXPECT_EQ(items(), "1 2 3 ");
    std::string back;
    for (POSITION pos = l.GetTailPosition(); pos;) back += std::to_string(l.GetPrev(pos)) + " ";
    EXPECT_EQ(back, "3 2 1 ");

    POSITION p2 = l.Find(2);
    ASSERT_NE(p2, nullptr);
    l.InsertBefore(p2, 15);
    l.InsertAfter(p2, 25);
    EXPECT_EQ(items(), "1 15 2 25 3 ");
    l.SetAt(p2, 20);
    EXPECT_EQ(l.GetAt(p2), 20);
    l.RemoveAt(p2);
    EXPECT_EQ(items(), "1 15 25 3 ");
    EXPECT_EQ(l.GetAt(l.FindIndex(2)), 25);
    EXPECT_EQ(l.FindIndex(4), nullptr);
    EXPECT_EQ(l.Find(99), nullptr);
    l.AddTail(15);
    EXPECT_EQ(l.Find(15, l.Find(15)), l.GetTailPosition()) << "search after a position";

    EXPECT_EQ(l.GetHead(), 1);
    EXPECT_EQ(l.GetTail(), 15);
    EXPECT_EQ(l.RemoveHead(), 1);
    EXPECT_EQ(l.RemoveTail(), 15);
    EXPECT_EQ(l.GetCount(), 3);
    EXPECT_EQ(l.GetSize(), 3);

    CList<int, int> other;
    other.AddTail(8);
    other.AddTail(9);
    l.AddTail(&other);
    l.AddHead(&other);
    EXPECT_EQ(items(), "8 9 15 25 3 8 9 ");
    l.InsertBefore(nullptr, 0);
    l.InsertAfter(nullptr, 100);
    EXPECT_EQ(l.GetHead(), 0);
    EXPECT_EQ(l.GetTail(), 100);

    l.RemoveAll();
    EXPECT_TRUE(l.IsEmpty());
    EXPECT_EQ(l.GetHeadPosition(), nullptr);
    EXPECT_EQ(l.RemoveHead(), 0) << "removing from an empty list yields a default element";
    POSITION none = nullptr;
    l.GetNext(none);
    EXPECT_EQ(none, nullptr);
}

TEST(CListOps, OwnsNonTrivialElementsAndCopies) {
    Tracked::s_nLive = 0;
    {
        CList<Tracked, const Tracked&> l;
        for (int i = 0; i < 25; i++) l.AddTail(Tracked(i));
        l.RemoveAt(l.FindIndex(3));
        EXPECT_EQ(Tracked::s_nLive, 24);
        CList<Tracked, const Tracked&> copy(l);
        EXPECT_EQ(copy.GetCount(), 24);
        EXPECT_EQ(copy.GetAt(copy.FindIndex(3)).value, 4);
        EXPECT_EQ(Tracked::s_nLive, 48);
    }
    EXPECT_EQ(Tracked::s_nLive, 0);
    CStringList names;
    names.AddTail("反力");
    names.AddTail(CString("位移"));
    EXPECT_STREQ(names.GetTail(), "位移");
}

// Nodes come in blocks whose room is reused: whatever the block size, a long run of mixed
// additions and removals must read as the same std::list (the independent answer), every kept
// position must still reach its own element, and every element made must be destroyed once.
TEST(CListBlocks, AnyBlockSizeBehavesAsAPlainList) {
    const struct {
        const char* label;
        INT_PTR block;
        unsigned seed;
    } rows[] = {
        {"one node per block", 1, 7u},        {"two per block", 2, 11u},
        {"the first block's size", 4, 13u},   {"the default", 10, 17u},
        {"large blocks", 64, 19u},            {"a block size below one", 0, 23u},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        Tracked::s_nLive = 0;
        {
            CList<Tracked, const Tracked&> l(row.block);
            std::list<int> model;
            std::map<int, POSITION> where;  // value -> its position (values are unique)
            unsigned r = row.seed;
            auto next = [&r](unsigned n) {
                r = r * 1103515245u + 12345u;
                return (r >> 16) % n;
            };
            auto some = [&]() {  // an element of the list, picked at random
                auto it = model.begin();
                std::advance(it, next(static_cast<unsigned>(model.size())));
                return it;
            };
            int value = 0;
            for (int step = 0; step < 3000; ++step) {
                const unsigned op = model.empty() ? next(2) : next(16);
                if (op == 0) {
                    where[value] = l.AddHead(Tracked(value));
                    model.push_front(value++);
                } else if (op <= 5) {
                    where[value] = l.AddTail(Tracked(value));
                    model.push_back(value++);
                } else if (op <= 7) {
                    auto it = some();
                    where[value] = l.InsertBefore(where[*it], Tracked(value));
                    model.insert(it, value++);
                } else if (op <= 9) {
                    auto it = some();
                    where[value] = l.InsertAfter(where[*it], Tracked(value));
                    model.insert(std::next(it), value++);
                } else if (op <= 12) {
                    auto it = some();
                    l.RemoveAt(where[*it]);
                    where.erase(*it);
                    model.erase(it);
                } else if (op == 13) {
                    EXPECT_EQ(l.RemoveHead().value, model.front());
                    where.erase(model.front());
                    model.pop_front();
                } else if (op == 14) {
                    EXPECT_EQ(l.RemoveTail().value, model.back());
                    where.erase(model.back());
                    model.pop_back();
                } else if (next(20) == 0) {
                    l.RemoveAll();
                    model.clear();
                    where.clear();
                }
                ASSERT_EQ(l.GetCount(), static_cast<INT_PTR>(model.size())) << "step " << step;
                ASSERT_EQ(Tracked::s_nLive, static_cast<int>(model.size())) << "step " << step;
            }
            std::vector<int> forward, backward;
            for (POSITION pos = l.GetHeadPosition(); pos;) forward.push_back(l.GetNext(pos).value);
            for (POSITION pos = l.GetTailPosition(); pos;) backward.insert(backward.begin(), l.GetPrev(pos).value);
            EXPECT_EQ(forward, std::vector<int>(model.begin(), model.end()));
            EXPECT_EQ(backward, forward);
            for (const auto& [v, pos] : where) EXPECT_EQ(l.GetAt(pos).value, v);
        }
        EXPECT_EQ(Tracked::s_nLive, 0) << "every element destroyed once";
    }
}

// A copy that throws while a node is added leaves the list as it was, its room still usable.
TEST(CListBlocks, ThrowingCopyLeavesTheListWhole) {
    Fussy::s_bThrow = false;
    CList<Fussy, const Fussy&> l(2);
    l.AddTail(Fussy(1));
    l.AddTail(Fussy(2));
    Fussy::s_bThrow = true;
    EXPECT_THROW(l.AddTail(Fussy(3)), std::runtime_error);
    EXPECT_THROW(l.AddHead(Fussy(0)), std::runtime_error);
    Fussy::s_bThrow = false;
    EXPECT_EQ(l.GetCount(), 2);
    l.AddTail(Fussy(3));
    std::vector<int> seen;
    for (POSITION pos = l.GetHeadPosition(); pos;) seen.push_back(l.GetNext(pos).value);
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
}

template <class M>
std::string Order(const M& m) {
    std::string s;
    for (POSITION pos = m.GetStartPosition(); pos;) {
        UINT key;
        int value;
        m.GetNextAssoc(pos, key, value);
        s += std::to_string(key) + " ";
    }
    // The in-place walk meets the same associations in the same order, values as stored.
    std::string inPlace;
    for (const auto* p = m.PGetFirstAssoc(); p; p = m.PGetNextAssoc(p)) {
        inPlace += std::to_string(p->key) + " ";
        int value;
        EXPECT_TRUE(m.Lookup(p->key, value) && value == p->value) << p->key;
    }
    EXPECT_EQ(inPlace, s);
    return s;
}

TEST(CMapOrder, BucketsInOrderNewestFirstWithinABucket) {
    // 1>>4 = 0; 17>>4 = 1; 33>>4 = 2; 300>>4 = 18, 18 % 17 = 1.
    CMap<UINT, UINT, int, int> m;
    m.InitHashTable(17);
    for (UINT k : {1u, 17u, 33u, 300u}) m[k] = static_cast<int>(k) * 2;
    EXPECT_EQ(Order(m), "1 300 17 33 ");

    // Keys below 16 share bucket 0 and come out newest first.
    CMap<UINT, UINT, int, int> modes;
    for (UINT k = 1; k <= 5; k++) modes.SetAt(k, 0);
    EXPECT_EQ(Order(modes), "5 4 3 2 1 ");

    // Removal keeps the others in place.
    EXPECT_TRUE(modes.RemoveKey(3));
    EXPECT_FALSE(modes.RemoveKey(3));
    EXPECT_EQ(Order(modes), "5 4 2 1 ");
    EXPECT_TRUE(modes.RemoveKey(5));
    EXPECT_TRUE(modes.RemoveKey(1));
    EXPECT_EQ(Order(modes), "4 2 ");

    // Re-setting an existing key keeps its place.
    m[17] = 5;
    EXPECT_EQ(Order(m), "1 300 17 33 ");

    // Copies keep the order.
    CMap<UINT, UINT, int, int> copy(m);
    EXPECT_EQ(Order(copy), "1 300 17 33 ");
    EXPECT_EQ(copy.GetHashTableSize(), 17u);

    // A table of 10 buckets: 16>>4 = 1, 160>>4 = 10 -> 0, 176>>4 = 11 -> 1.
    CMap<UINT, UINT, int, int> ten;
    ten.InitHashTable(10);
    for (UINT k : {16u, 160u, 176u, 2u}) ten[k] = 0;
    EXPECT_EQ(Order(ten), "2 160 176 16 ");
}

TEST(CMapOrder, InitHashTableOnlyWhileEmpty) {
    CMap<UINT, UINT, int, int> m;
    EXPECT_EQ(m.GetHashTableSize(), 17u) << "default table size";
    m[1] = 1;
    m[300] = 2;
    m.InitHashTable(10007);
    EXPECT_EQ(m.GetHashTableSize(), 17u) << "ignored while the map holds associations";
    EXPECT_EQ(m.GetCount(), 2);
    EXPECT_EQ(Order(m), "1 300 ");
    m.RemoveAll();
    EXPECT_EQ(m.GetHashTableSize(), 17u) << "RemoveAll keeps the size";
    m.InitHashTable(10007);
    EXPECT_EQ(m.GetHashTableSize(), 10007u);
    m[300] = 2;
    m[1] = 1;
    EXPECT_EQ(Order(m), "1 300 ") << "300>>4 = 18 is now its own bucket after 1's bucket 0";
    m.RemoveAll();
    m.InitHashTable(0);
    EXPECT_EQ(m.GetHashTableSize(), 10007u) << "zero buckets refused";
}

TEST(CMapOps, LayoutVersionChangesWhenAssociationsComeOrGo) {
    // A pointer kept from PLookup is good while the version stands: adding or removing an
    // association changes it; reading, or setting the value of a key already there, does not.
    using Map = CMap<UINT, UINT, int, int>;
    struct Row {
        const char* label;
        void (*change)(Map&);
        bool changes;
    } const rows[] = {
        {"lookups", [](Map& m) { int v = 0; m.Lookup(5, v); m.Lookup(9, v); m.PLookup(6); }, false},
        {"values set in place", [](Map& m) { m.SetAt(5, 50); m[6] = 60; }, false},
        {"absent key removed", [](Map& m) { m.RemoveKey(9); }, false},
        {"new key", [](Map& m) { m.SetAt(7, 70); }, true},
        {"new key through []", [](Map& m) { m[8]; }, true},
        {"key removed", [](Map& m) { m.RemoveKey(6); }, true},
        {"all removed", [](Map& m) { m.RemoveAll(); }, true},
        {"emptied and the same keys set again", [](Map& m) { m.RemoveAll(); m[5] = 1; m[6] = 2; }, true},
        {"assigned a copy of itself", [](Map& m) { const Map copy(m); m = copy; }, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Map m;
        m[5] = 1;
        m[6] = 2;
        const ULONGLONG before = m.GetLayoutVersion();
        const Map::CPair* p = m.PLookup(5);
        row.change(m);
        EXPECT_EQ(m.GetLayoutVersion() != before, row.changes);
        if (!row.changes) {
            EXPECT_EQ(m.PLookup(5), p) << "the kept pointer still finds key 5";
        }
    }
}

TEST(CMapOps, LookupInsertRemoveAndValueTypes) {
    CMap<UINT, UINT, double, double> m(10);
    double v = -1;
    EXPECT_FALSE(m.Lookup(5, v));
    EXPECT_EQ(v, -1);
    EXPECT_EQ(m[5], 0.0) << "operator[] inserts a zero value";
    EXPECT_EQ(m.GetCount(), 1);
    m.SetAt(5, 2.5);
    EXPECT_TRUE(m.Lookup(5, v));
    EXPECT_EQ(v, 2.5);
    auto* pair = m.PLookup(5);
    ASSERT_NE(pair, nullptr);
    EXPECT_EQ(pair->key, 5u);
    pair->value = 3.5;
    EXPECT_EQ(m[5], 3.5);
    EXPECT_EQ(m.PLookup(6), nullptr);
    EXPECT_FALSE(m.IsEmpty());
    m.RemoveAll();
    EXPECT_TRUE(m.IsEmpty());
    EXPECT_EQ(m.GetStartPosition(), nullptr);

    Tracked::s_nLive = 0;
    {
        CMap<int, int, Tracked, const Tracked&> t;
        for (int i = -20; i < 20; i++) t.SetAt(i, Tracked(i));
        EXPECT_EQ(Tracked::s_nLive, 40);
        t.RemoveKey(-3);
        EXPECT_EQ(Tracked::s_nLive, 39);
        Tracked out;
        EXPECT_TRUE(t.Lookup(-20, out));
        EXPECT_EQ(out.value, -20);
    }
    EXPECT_EQ(Tracked::s_nLive, 0);

    CMap<UINT, UINT, CArray<double, double>*, CArray<double, double>*> owned;
    owned[7] = new CArray<double, double>;
    owned[7]->Add(1.0);
    POSITION pos = owned.GetStartPosition();
    UINT key;
    CArray<double, double>* pArr = nullptr;
    owned.GetNextAssoc(pos, key, pArr);
    EXPECT_EQ(pos, nullptr);
    EXPECT_EQ(pArr->GetSize(), 1);
    delete pArr;
}

TEST(CMapHash, KeysHashAsTheClassLibraryDid) {
    struct Row {
        const char* label;
        UINT got;
        UINT expected;
    } rows[] = {
        {"UINT 300", HashKey(300u), 18},
        {"int -1 as 32 bits", HashKey(-1), 0x0FFFFFFFu},
        {"64-bit key truncated", HashKey(0x100000010LL), 1},
        {"string ab", HashKey("ab"), 97 * 33 + 98},
        {"CString ab", HashKey(CString("ab")), 97 * 33 + 98},
        {"high byte is signed", HashKey("\xE5"), static_cast<UINT>(-27)},
        {"empty string", HashKey(""), 0},
    };
    for (const Row& r : rows) EXPECT_EQ(r.got, r.expected) << r.label;
    int x = 0;
    EXPECT_EQ(HashKey(&x), static_cast<UINT>(reinterpret_cast<uintptr_t>(&x) >> 4));

    // -1 lands in bucket 0x0FFFFFFF % 17 = 15, after key 1 in bucket 0.
    CMap<int, int, int, int> neg;
    neg[-1] = 0;
    neg[1] = 0;
    POSITION pos = neg.GetStartPosition();
    int k, v;
    neg.GetNextAssoc(pos, k, v);
    EXPECT_EQ(k, 1);
    neg.GetNextAssoc(pos, k, v);
    EXPECT_EQ(k, -1);

    CMap<CString, LPCTSTR, UINT, UINT&> names;
    names["反力"] = 1;
    names[CString("位移")] = 2;
    UINT n = 0;
    EXPECT_TRUE(names.Lookup("反力", n));
    EXPECT_EQ(n, 1u);
    EXPECT_TRUE(names.RemoveKey("位移"));
    EXPECT_EQ(names.GetCount(), 1);
}

}  // namespace
