// The module's string table: keys are unique, texts are whole UTF-8, the texts that callers use
// as printf formats carry exactly the conversion the callers pass, and every numbered prompt has
// its tip after a line feed.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "module/resources/PVXResources.h"

namespace {

bool IsUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const int n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (n < 0 || i + n >= s.size() + (n == 0 ? 1 : 0)) return false;
        for (int k = 1; k <= n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n + 1;
    }
    return true;
}

// The printf conversions of a text, "%%" left out.
std::string Conversions(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%') continue;
        if (i + 1 < s.size() && s[i + 1] == '%') {
            ++i;
            continue;
        }
        size_t j = i + 1;
        while (j < s.size() && std::string("0123456789.-+# l").find(s[j]) != std::string::npos) ++j;
        if (j < s.size()) out += s[j];
        i = j;
    }
    return out;
}

TEST(ModuleResources, StringTableKeysAreUniqueAndFormatsMatchTheirCallers) {
    int n = 0;
    const CMsgDll::StringEntry* table = PVXGetStringTable(n);
    ASSERT_GT(n, 0);
    std::set<std::string> keys;
    for (int i = 0; i < n; ++i) {
        const std::string key = table[i].first, text = table[i].second;
        SCOPED_TRACE(key);
        EXPECT_TRUE(keys.insert(key).second) << "key listed twice";
        EXPECT_FALSE(text.empty());
        EXPECT_TRUE(IsUtf8(text));
        std::string expected;  // what the callers format the text with
        if (key.size() > 3 && key.compare(key.size() - 3, 3, "__d") == 0) expected = "d";
        if (key.size() > 3 && key.compare(key.size() - 3, 3, "__g") == 0) expected = "g";
        if (key == "IDS_TBX_PVX_FACTOR___3E") expected = "E";
        EXPECT_EQ(Conversions(text), expected);
    }
    for (const char* key : {"IDS_TBX_PVX_Legend_Title", "IDS_TBX_PVX_MAX_NODE__d", "IDS_TBX_PVX_MIN_MEMB__d",
                            "IDS_TBX_PVX_FACTOR___3E", "IDS_TBX_PVX_Error", "IDS_PVX_FILE_DESCRIPTION_POST"}) {
        EXPECT_EQ(keys.count(key), 1u) << key << " is used by the legend, messages or export";
    }
}

TEST(ModuleResources, NumberedPromptsCarryATipAndLoadByNumber) {
    int n = 0;
    const PVXNumberedString* table = PVXGetNumberedStrings(n);
    std::set<UINT> ids;
    for (int i = 0; i < n; ++i) {
        SCOPED_TRACE(table[i].nID);
        EXPECT_TRUE(ids.insert(table[i].nID).second);
        const std::string text = table[i].pszText;
        const size_t lf = text.find('\n');
        ASSERT_NE(lf, std::string::npos);
        EXPECT_GT(lf, 0u) << "a status prompt";
        EXPECT_LT(lf + 1, text.size()) << "a tool tip";
        EXPECT_EQ(text.find('\n', lf + 1), std::string::npos);
        CString loaded;
        EXPECT_TRUE(PVXLoadNumberedString(table[i].nID, loaded));
        EXPECT_EQ(std::string(loaded.GetString()), text);
    }
    for (UINT id : {42015u, 42016u, 42017u, 42018u, 42020u, 42021u, 42022u, 42023u, 42024u, 42051u})
        EXPECT_EQ(ids.count(id), 1u) << "animation command " << id;
    CString none;
    EXPECT_FALSE(PVXLoadNumberedString(1, none));
}

}  // namespace
