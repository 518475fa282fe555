// Check records: ratios, the governing load group, default entries and the BLOB layout, against
// values worked out by hand.
#include <gtest/gtest.h>

#include <cstring>

#include "host/check/CheckData.h"

TEST(CheckRecords, RatioBySelector) {
    struct Row {
        const char* what;
        double force, baseR;
        int sign;
        double ratio;
        bool pass;
    } rows[] = {
        {"resistance over action", 200, 250, 0, 1.25, true},
        {"magnitudes under selector 0", -200, 250, 0, 1.25, true},
        {"opposite sense fails under selector 3", -200, 250, 3, -1.25, false},
        {"same sense under selector 3", 400, 200, 3, 0.5, false},
        {"exactly at the limit fails", 1000000, 999999, 0, 0.999999, false},
        {"nothing acting passes", 0, 250, 0, 99999.0, true},
        {"empty record reads 0", 0, 0, 0, 0.0, false},
        {"unknown selector reads 0", 200, 250, 1, 0.0, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        CheckData_P c(r.force, r.baseR);
        EXPECT_DOUBLE_EQ(c.GetRatio(r.sign), r.ratio);
        EXPECT_EQ(c.IsPassed(r.sign) != 0, r.pass);
    }
}

TEST(CheckRecords, GoverningLoadGroup) {
    // Ratios: 5 -> 2.0, 3 -> 1.5, 9 -> 1.5, 12 -> 3.0: the tie of 1.5 goes to key 3.
    CheckDataMap m;
    m[5] = CheckData_P(100, 200);
    m[9] = CheckData_P(100, 150);
    m[12] = CheckData_P(100, 300);
    m[3] = CheckData_P(200, 300);
    UINT key = 77;
    EXPECT_TRUE(DATA_P::GetMinCheckDataLdgpKey(m, key));
    EXPECT_EQ(key, 3u);

    CheckDataMap empty;
    key = 77;
    EXPECT_FALSE(DATA_P::GetMinCheckDataLdgpKey(empty, key));
    EXPECT_EQ(key, 0u);

    // Largest value, tie to the smaller key.
    DoubleMap d;
    d[4] = 1.0;
    d[8] = 7.5;
    d[2] = 7.5;
    d[6] = -9.0;
    EXPECT_TRUE(DATA_P::GetMaxDoubleMapKey(d, key));
    EXPECT_EQ(key, 2u);

    // Base pressure: average governs in 1 (ratio 0.9), maximum in 2 (ratio 1.1 < 1.3).
    CZLCheckMap z;
    z[1].m_Ave = CheckData_P(100, 90);
    z[1].m_Max = CheckData_P(100, 130);
    z[2].m_Ave = CheckData_P(100, 120);
    z[2].m_Max = CheckData_P(100, 110);
    UINT a = 0, b = 0;
    EXPECT_TRUE(DATA_P::GetCZLMinRatioLdgpKey(z, a, b));
    EXPECT_EQ(a, 1u);
    EXPECT_EQ(b, 2u);

    // Load centre: x governs in 7 (0.5), y in 4 (0.8), chosen separately.
    LCCheckMap lc;
    lc[4].m_CheckX = CheckData_P(1, 2);
    lc[4].m_CheckY = CheckData_P(1, 0.8);
    lc[7].m_CheckX = CheckData_P(2, 1);
    lc[7].m_CheckY = CheckData_P(1, 3);
    EXPECT_TRUE(DATA_P::GetXYLoadCentMinkey(lc, a, b));
    EXPECT_EQ(a, 7u);
    EXPECT_EQ(b, 4u);
}

TEST(CheckRecords, PartsAndDefaultEntries) {
    CJCheckMap m;
    m[1].m_mapPart0[0] = CheckData_P(100, 300);  // part 0 ratio 3
    m[1].m_aPart.Add(CheckData_P(100, 120));     // part 1 ratio 1.2
    m[2].m_aPart.Add(CheckData_P(100, 110));     // no part 0; part 1 ratio 1.1
    CheckData_P c;
    EXPECT_TRUE(m[1].GetPart(0, c));
    EXPECT_DOUBLE_EQ(c.get_BaseR(), 300);
    EXPECT_FALSE(m[2].GetPart(0, c));
    EXPECT_FALSE(m[1].GetPart(2, c));
    EXPECT_EQ(m[1].GetPartCount(), 2);
    EXPECT_EQ(m[2].GetPartCount(), 1);
    CArray<UINT, UINT> keys;
    EXPECT_TRUE(DATA_P::GetCJMinRatioLdgpKey(m, keys, 3));
    ASSERT_EQ(keys.GetSize(), 3);
    EXPECT_EQ(keys[0], 1u);  // only group 1 has part 0
    EXPECT_EQ(keys[1], 2u);
    EXPECT_EQ(keys[2], 0u);  // no group has part 2

    // A missing key reads as an empty check and is inserted, as the class library's map does.
    CheckDataMap checks;
    checks[3] = CheckData_P(1, 2);
    EXPECT_FALSE(DATA_P::GetCheckDataMapResult(checks, 8, c));
    EXPECT_DOUBLE_EQ(c.GetRatio(0), 0.0);
    EXPECT_EQ(checks.GetCount(), 2);
    EXPECT_TRUE(DATA_P::GetCheckDataMapResult(checks, 3, c));
    EXPECT_DOUBLE_EQ(c.GetRatio(0), 2.0);

    // Raft punching: columns only, governing group with key 0.
    SlabCJCheckMap s;
    s[10].m_nType = 0;
    s[10].m_mapCheck[5] = CheckData_P(100, 150);
    s[10].m_mapCheck[6] = CheckData_P(100, 120);
    s[20].m_nType = 1;
    SlabCJResultMap res;
    EXPECT_TRUE(DATA_P::GetSlabCJResult(s, res, 0));
    EXPECT_EQ(res.GetCount(), 1);
    UINT key = 0;
    EXPECT_TRUE(res[10].GetVal(key, c));
    EXPECT_EQ(key, 6u);
    key = 9;
    EXPECT_FALSE(res[10].GetVal(key, c));
    EXPECT_EQ(res[10].m_mapCheck.GetCount(), 2);  // GetVal inserts nothing
    EXPECT_FALSE(DATA_P::GetSlabCJResult(s, res, 4));
}

TEST(CheckRecords, BlobLayout) {
    // One entry: key 7, force 2.0, resistance -1.5. Bytes by hand: count 1, key 7, then the two
    // little-endian doubles (2.0 = 0x4000000000000000, -1.5 = 0xBFF8000000000000).
    CheckDataMap m;
    m[7] = CheckData_P(2.0, -1.5);
    const unsigned char want[] = {1, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x40, 0, 0, 0, 0, 0, 0, 0xF8, 0xBF};
    const std::string blob = CheckBlob::Write(m);
    ASSERT_EQ(blob.size(), sizeof want);
    EXPECT_EQ(std::memcmp(blob.data(), want, sizeof want), 0);

    // Nested records read back whole.
    CJCheckMap cj;
    cj[3].m_mapPart0[0] = CheckData_P(1, 2);
    cj[3].m_aPart.Add(CheckData_P(3, 4));
    cj[3].m_aPart.Add(CheckData_P(5, 6));
    CJCheckMap back;
    ASSERT_TRUE(CheckBlob::Read(CheckBlob::Write(cj), back));
    CheckData_P c;
    ASSERT_TRUE(back[3].GetPart(2, c));
    EXPECT_DOUBLE_EQ(c.get_Force(), 5);
    ASSERT_TRUE(back[3].GetPart(0, c));
    EXPECT_DOUBLE_EQ(c.get_BaseR(), 2);

    struct Bad {
        const char* what;
        std::string blob;
    } bad[] = {
        {"short", blob.substr(0, blob.size() - 1)},
        {"trailing byte", blob + '\0'},
        {"count beyond the size", std::string("\xff\xff\xff\x0f", 4) + blob.substr(4)},
        {"key twice", std::string("\x02\0\0\0", 4) + blob.substr(4) + blob.substr(4)},
        {"not a number", blob.substr(0, 16) + std::string("\0\0\0\0\0\0\xf8\x7f", 8)},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.what);
        CheckDataMap r;
        r[1] = CheckData_P(1, 1);
        EXPECT_FALSE(CheckBlob::Read(b.blob, r));
        EXPECT_EQ(r.GetCount(), 0);
    }
    CheckDataMap r;
    EXPECT_TRUE(CheckBlob::Read(std::string("\0\0\0\0", 4), r));
    EXPECT_EQ(r.GetCount(), 0);
}
