// Display options, unit texts, the load selector and the document singleton.
#include "DbTestUtil.h"

#include <gtest/gtest.h>

#include <set>

namespace dbtest {

TEST(PostDbOptions, NamedOptionsByPosition) {
    CDispOptMgr mgr;
    COptColorObjNames cn;
    COptFontObjNames fn;
    COptDrawObjNames dn;
    // Every name of each object is known to the manager and names are distinct.
    std::set<std::string> all;
    for (int i = 0; i < COptColorObjNames::COUNT; ++i) {
        ASSERT_NE(mgr.GetColor(cn[i]), nullptr) << i;
        ASSERT_NE(mgr.GetPrtColor(cn[i]), nullptr) << i;
        all.insert(static_cast<LPCTSTR>(cn[i]));
    }
    for (int i = 0; i < COptFontObjNames::COUNT; ++i) {
        ASSERT_NE(mgr.GetFont(fn[i]), nullptr) << i;
        all.insert(static_cast<LPCTSTR>(fn[i]));
    }
    for (int i = 0; i < COptDrawObjNames::COUNT; ++i) {
        ASSERT_NE(mgr.GetDraw(dn[i]), nullptr) << i;
        all.insert(static_cast<LPCTSTR>(dn[i]));
    }
    EXPECT_EQ(all.size(), size_t(218 + 84 + 12));
    EXPECT_EQ(mgr.GetColor("no such option"), nullptr);

    // Screen and print variants are separate; the default screen background is dark, print white.
    EXPECT_EQ(mgr.GetPrtColor(cn[0])->m_Value, RGB(255, 255, 255));
    ASSERT_TRUE(mgr.SetColor(cn[210], RGB(1, 2, 3), RGB(4, 5, 6)));
    EXPECT_EQ(mgr.GetColor(cn[210])->m_Value, RGB(1, 2, 3));
    EXPECT_EQ(mgr.GetPrtColor(cn[210])->m_Value, RGB(4, 5, 6));
    EXPECT_FALSE(mgr.SetColor("no such option", 0, 0));
    EXPECT_EQ(mgr.GetDraw(dn[0])->m_Value[5], 2);
    EXPECT_EQ(mgr.GetDraw(dn[1])->m_Value[4], 3);
    EXPECT_EQ(mgr.GetDraw(dn[4])->m_Value[0], 1);
    EXPECT_FALSE(mgr.SetDraw(dn[1], 8, 1)) << "a draw row has eight values";
    mgr.Remove(cn[130]);
    EXPECT_EQ(mgr.GetColor(cn[130]), nullptr);

    // Fonts: the LOGFONT carries the value record; a long face name is cut at a character.
    SDispOptFontVal v;
    v.m_strFaceName = "微软雅黑微软雅黑微软雅黑";  // 36 bytes
    v.m_nHeight = 12;
    v.m_nWeight = FW_BOLD;
    v.m_bTransparent = 0;
    ASSERT_TRUE(mgr.SetFont(fn[34], v));
    LOGFONT lf;
    CDispOptFontObj::GetLogFont(mgr.GetFont(fn[34])->m_Value, lf);
    EXPECT_EQ(lf.lfHeight, 12);
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
    EXPECT_STREQ(lf.lfFaceName, "微软雅黑微软雅黑微软");  // 30 bytes: 31 would split a character
}

TEST(PostDbOptions, UnitTexts) {
    CUnitCtrl u;
    struct Row {
        int code;
        BOOL ok;
        const char* text;
    } rows[] = {{PVXUNIT_MM, TRUE, "mm"},       {2, TRUE, "kN"},    {9, TRUE, "mm²"},  {12, TRUE, "kN·m"},
                {13, TRUE, "kN·m/m"},           {14, TRUE, "kPa"},  {17, TRUE, "kN"},  {21, TRUE, "m/s²"},
                {22, TRUE, "m/s"},              {0, TRUE, ""},      {-1, FALSE, ""},   {PVXUNIT_COUNT, FALSE, ""}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        CString s = "old";
        EXPECT_EQ(u.GetUnitSystem(r.code, s), r.ok);
        EXPECT_STREQ(s, r.text);
    }
    // Every unit table entry of the records names a known code.
    auto known = [&u](int c) { CString s; return u.GetUnitSystem(c, s); };
    for (int c : T_DISP_D::unit) EXPECT_TRUE(known(c));
    for (int c : T_STRP_DL::unit) EXPECT_TRUE(known(c));
    for (int c : T_STRW_D::unit) EXPECT_TRUE(known(c));
    CString s;
    u.GetUnitSystem(T_STRP_DL::unit[26], s);
    EXPECT_STREQ(s, "kN·m/m") << "entry 26 is a plate moment";
    u.GetUnitSystem(T_STRP_DL::unit[20], s);
    EXPECT_STREQ(s, "kN/m") << "entry 20 is a membrane force";
}

TEST(PostDbOptions, LoadSelectorListsAndChooses) {
    PostDBBuilder b;
    BuildProject(b);
    CSelectPostLC sel;
    sel.SetPostDB(&b.DB());
    struct Row {
        DWORD mask;
        int count;
    } rows[] = {{0x1, 2}, {0x3, 3}, {0x100, 2}, {0x40000, 1}, {0x18230F89, 2 + 2}, {0x50001, 2 + 2 + 1}, {0, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << r.mask);
        EXPECT_EQ(sel.SetLoadType(r.mask, 1, 0, 0), r.count);
    }
    UINT type = 0, key = 0;
    int step = -1;
    EXPECT_FALSE(sel.GetSelectedLoad(type, key, &step)) << "empty list";
    sel.SetLoadType(0x50001, 1, 0, 0);
    ASSERT_TRUE(sel.GetSelectedLoad(type, key, &step));
    EXPECT_EQ(type, 1u);
    EXPECT_EQ(key, 2u) << "first in table order";
    EXPECT_TRUE(sel.ChangeSelect(12, 200, 2));
    EXPECT_STREQ(sel.GetSelectedText(), "ENV,Min");
    EXPECT_FALSE(sel.ChangeSelect(12, 101, 0)) << "101 is not an envelope";
    EXPECT_FALSE(sel.ChangeSelect(1, 2, 7)) << "no load step 7";
    ASSERT_TRUE(sel.GetSelectedLoad(type, key, &step));
    EXPECT_EQ(key, 200u);
    EXPECT_EQ(step, 2);
    sel.SetLoadType(0x50001, 1, 0, 0);
    ASSERT_TRUE(sel.GetSelectedLoad(type, key, &step));
    EXPECT_EQ(key, 200u) << "a choice still listed stays";
    CString name;
    ASSERT_TRUE(sel.GetSelectedLoadByIndex(2, type, key, &name));
    EXPECT_EQ(type, 10u);
    EXPECT_STREQ(name, "1.3D+1.5L");
    EXPECT_FALSE(sel.GetSelectedLoadByIndex(5, type, key, &name));

    // What the selector gives is what the result controller takes.
    CPostCtrl post(&b.DB());
    sel.ChangeSelect(10, 102, 0);
    sel.GetSelectedLoad(type, key, &step);
    T_PLCOM_D lc;
    ASSERT_TRUE(post.MakeLoadComb(type, key, lc));
    ASSERT_TRUE(post.SelectLoadComb(lc, step != 0, 0));
    T_REAC_D r;
    ASSERT_TRUE(post.GetReac(10, &r, nullptr, nullptr));
    EXPECT_DOUBLE_EQ(r.FZ, 140);
}

TEST(PostDbOptions, DocumentSingletonAndBuilderInstall) {
    ASSERT_EQ(CDBDoc::m_pDBDoc, nullptr);
    {
        CDBDoc doc;
        CDBDoc::m_pDBDoc = &doc;
        PostDBBuilder b;
        BuildProject(b);
        b.SetFloor(TRUE);
        b.Install(doc);
        EXPECT_EQ(b.DB().Table<DBT_PNODE>().Count(), 0u) << "the builder starts again";
        CMDBCtrl* mdb = CDBDoc::m_pDBDoc->GetMDBCtrl();
        EXPECT_TRUE(mdb->IsCurrentDBPostFloor());
        EXPECT_TRUE(mdb->IsDBPost3D());
        EXPECT_EQ(mdb->GetDBPost()->Table<DBT_PNODE>().Count(), 5u);
        EXPECT_EQ(doc.GetPostCtrl()->GetDataBase(), mdb->GetDBPost());
        EXPECT_TRUE(doc.GetPostCtrl()->SelectMode(1, 0));
        EXPECT_EQ(doc.OpenGraphView("caption"), nullptr);
        T_PREFERENCE pref;
        ASSERT_TRUE(doc.GetInitCtrl()->GetPreference(pref));
        EXPECT_EQ(pref.szTempDir[strlen(pref.szTempDir) - 1], '/');

        // The load selector reads the document's database when given none.
        CSelectPostLC sel;
        EXPECT_EQ(sel.SetLoadType(0x1, 1, 0, 0), 2);

        // Installing another database drops the selection made on the old one.
        PostDBBuilder b2;
        b2.AddNode(1, 0, 0, 0);
        b2.Install(doc);
        EXPECT_FALSE(doc.GetPostCtrl()->IsModeSelected());
        EXPECT_FALSE(mdb->IsCurrentDBPostFloor());
    }
    EXPECT_EQ(CDBDoc::m_pDBDoc, nullptr) << "the document clears the singleton when it goes";
}

}  // namespace dbtest
