// PostDBBuilder's writers from arrays (the sample project's path into the database): what they
// store, and the records they refuse whole.
#include <gtest/gtest.h>

#include <vector>

#include "host/db/PostDBBuilder.h"

namespace {

std::vector<UINT> Keys(UINT first, size_t n) {
    std::vector<UINT> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = first + static_cast<UINT>(i);
    return v;
}

TEST(PostDBBuilderArrays, ElementsTakeAtMostEightNodes) {
    struct Row {
        const char* label;
        UINT key;
        size_t nodes;
        int stored;
    } rows[] = {
        {"two nodes", 1, 2, 1},
        {"eight nodes, the record's capacity", 2, 8, 1},
        {"nine nodes", 3, 9, 0},
        {"key 0 means none", 0, 2, 0},
    };
    PostDBBuilder b;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::vector<UINT> nodes = Keys(11, r.nodes);
        EXPECT_EQ(b.AddElem(r.key, PELEM_KIND_PLATE, 301, std::span<const UINT>(nodes), 4, 5), r.stored);
        const T_PELEM_D* e = b.DB().Table<DBT_PELEM>().Find(r.key);
        ASSERT_EQ(e != nullptr, r.stored == 1);
        if (!e) continue;
        EXPECT_EQ(e->nNode, static_cast<int>(r.nodes));
        EXPECT_EQ(e->node[r.nodes - 1], 11 + r.nodes - 1);
        EXPECT_EQ(e->matl, 4u);
        EXPECT_EQ(e->sect, 5u);
        EXPECT_EQ(e->bActive, 1);
    }
    EXPECT_EQ(b.DB().Table<DBT_PELEM>().Count(), 2u);
}

TEST(PostDBBuilderArrays, MembersKeepListsLengthAndPile) {
    PostDBBuilder b;
    const std::vector<UINT> nodes = {7, 8, 9}, elems = Keys(100, 2000), none;
    ASSERT_TRUE(b.AddMemb(3, 200, std::span<const UINT>(nodes), std::span<const UINT>(elems), 12.5, 17));
    ASSERT_TRUE(b.AddMemb(4, 301, std::span<const UINT>(nodes), std::span<const UINT>(none)));
    const T_PMEMB_D* m = b.DB().Table<DBT_PMEMB>().Find(3);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->type, 200);
    EXPECT_EQ(m->length, 12.5);
    EXPECT_EQ(m->pileKey, 17u);
    ASSERT_EQ(m->aNode.GetSize(), 3);
    EXPECT_EQ(m->aNode[2], 9u);
    ASSERT_EQ(m->aElem.GetSize(), 2000);
    EXPECT_EQ(m->aElem[1999], 2099u);
    const T_PMEMB_D* plain = b.DB().Table<DBT_PMEMB>().Find(4);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->aElem.GetSize(), 0);
    EXPECT_EQ(plain->length, 0.0);
    EXPECT_EQ(plain->pileKey, 0u);
}

TEST(PostDBBuilderArrays, CombinationsAreRefusedWhole) {
    auto terms = [](size_t n, UINT zeroAt) {
        std::vector<T_PLCOM_ENTRY> v(n);
        for (size_t i = 0; i < n; ++i) v[i] = {PLOAD_STATIC, i + 1 == zeroAt ? 0u : static_cast<UINT>(i + 1), 1.0};
        return v;
    };
    struct Row {
        const char* label;
        UINT key;
        std::vector<T_PLCOM_ENTRY> terms;
        int stored;
        int count;  // terms read back
    } rows[] = {
        {"64 terms, the record's capacity", 1, terms(PLCOM_MAX_ENTRY, 0), 1, PLCOM_MAX_ENTRY},
        {"65 terms", 2, terms(PLCOM_MAX_ENTRY + 1, 0), 0, 0},
        {"a term of key 0 (it would end the list)", 3, terms(3, 2), 0, 0},
    };
    PostDBBuilder b;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_EQ(b.AddLoadComb(r.key, PLCOM_LINEAR, "C", std::span<const T_PLCOM_ENTRY>(r.terms)), r.stored);
        const T_PLCOM_D* c = b.DB().Table<DBT_PLCOM>().Find(r.key);
        ASSERT_EQ(c != nullptr, r.stored == 1);
        if (c) {
            EXPECT_EQ(c->GetEntryCount(), r.count);
        }
    }
}

}  // namespace
