// Texts and number formats of the legend: result kind, component, unit, load, extremes, file
// title, date, and the value formats of the scales.
#include <cstdlib>
#include <ctime>
#include <limits>

#include "host/db/DBResultRecords.h"
#include "tests/module/legend/LegendTestSupport.h"

namespace {

CString Fmt(LPCTSTR fmt, double v) {
    CString s;
    s.Format(fmt, v);
    return s;
}

}  // namespace

TEST_F(LegendTest, SetTextOutputSizeChoosesNotationAndDecimals) {
    struct Row {
        const char* label;
        int compact;
        double a, b;
        int exponent;
        int decimals;  // -1: not checked
    } rows[] = {
        {"both zero", 1, 0, 0, 1, -1},
        {"large negative", 1, -250000, 3, 1, -1},
        {"both below 1e-6", 1, 1e-7, 1e-7, 1, -1},
        {"one above 1e-6", 1, 1e-7, 2e-6, 0, -1},
        {"compact -1234.5 and 3", 1, -1234.5, 3, 0, 2},
        {"compact -0.5 counts two cells", 1, -0.5, 3, 0, 5},
        {"wide 12.5 and 100", 0, 12.5, 100, 0, 5},
        {"wide -3.2 and 1", 0, -3.2, 1, 0, 7},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        L().m_bCompact = r.compact;
        L().SetTextOutputSize(r.a, r.b);
        EXPECT_EQ(L().m_bExponent, r.exponent);
        if (r.decimals >= 0) {
            EXPECT_EQ(L().m_nDecimals, r.decimals);
        }
    }
    EXPECT_EQ(CLegendEngine::GetIntegerPartLength(-0.5), 2);
    EXPECT_EQ(CLegendEngine::GetIntegerPartLength(0.5), 1);
    EXPECT_EQ(CLegendEngine::GetIntegerPartLength(-1234.5), 5);
}

TEST_F(LegendTest, ScaleValueTextsFollowTheDigitChoice) {
    char buf[CLegendEngine::kTextScaleSize];
    struct Row {
        const char* label;
        int autoDigits, decimals;
        double v;
        const char* deformed;
        const char* reaction;
    } rows[] = {
        {"fixed digits off", 0, 2, 1.5, "1.500E+000", "1.5000E+000"},
        {"fixed two decimals", 1, 2, 123.456, "123.46", "123.46"},
        // 7 + 1 + 5 = 13 is not below 12.
        {"too wide for fixed", 1, 7, 12345.6, "1.235E+004", "1.2346E+004"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        L().m_bAutoDigits = r.autoDigits;
        L().m_nDecimals = r.decimals;
        L().GetTextDeformedShape(r.v, buf, sizeof buf);
        EXPECT_STREQ(buf, r.deformed);
        L().GetTextReaction(r.v, buf, sizeof buf);
        EXPECT_STREQ(buf, r.reaction);
    }
}

TEST_F(LegendTest, ScaleNumberTextsFitTheirFieldForAnyValue) {
    // Compact numbers, automatic digits. With decimals -1 the row takes the decimals that
    // SetTextOutputSize(v, v) chooses; n is the "%g" length of the integer part (exponents have
    // three digits: "%g" of 1e6 is "1e+006", n = 6).
    const double kNaN = std::numeric_limits<double>::quiet_NaN();
    const double kInf = std::numeric_limits<double>::infinity();
    struct Row {
        const char* label;
        double v;
        int decimals;
        const char* deformed;
        const char* reaction;
    } rows[] = {
        // n = 6, length 12 >= 8: 5 + 7 - 12 = 0 decimals; "%.0f" is 7 characters.
        {"1e6: no decimals, fixed", 1e6, -1, "1000000", "1000000"},
        // 0 decimals; "%.0f" is 11 characters, the widest that fits.
        {"1e10: eleven digits fit", 1e10, -1, "10000000000", "10000000000"},
        // 2 + 1 + 6 < 12 by "%g", but "10000000000.00" is 14 characters.
        {"1e10 with two decimals is too wide", 1e10, 2, "1.000E+010", "1.0000E+010"},
        // 0 decimals; "%.0f" is 71 characters.
        {"1e70", 1e70, -1, "1.000E+070", "1.0000E+070"},
        // Integer part -0: n = 2, length 8: 5 + 8 - 8 = 5 decimals.
        {"-1e-70", -1e-70, -1, "-0.00000", "-0.00000"},
        // "%g" of NaN is "nan": n = 3, length 9: 5 + 7 - 9 = 3 decimals; "%.3f" prints "nan".
        {"NaN", kNaN, -1, "nan", "nan"},
        {"infinity", kInf, -1, "inf", "inf"},
        // n = 4 ("-inf"), length 10: 5 + 8 - 10 = 3 decimals.
        {"minus infinity", -kInf, -1, "-inf", "-inf"},
    };
    L().m_bCompact = 1;
    L().m_bAutoDigits = 1;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        L().SetTextOutputSize(r.v, r.v);
        if (r.decimals >= 0) L().m_nDecimals = r.decimals;
        // A guard byte after each buffer catches a text that does not fit.
        char buf[CLegendEngine::kTextScaleSize + 1];
        buf[CLegendEngine::kTextScaleSize] = 'x';
        L().GetTextDeformedShape(r.v, buf, CLegendEngine::kTextScaleSize);
        EXPECT_STREQ(buf, r.deformed);
        L().GetTextReaction(r.v, buf, CLegendEngine::kTextScaleSize);
        EXPECT_STREQ(buf, r.reaction);
        EXPECT_EQ(buf[CLegendEngine::kTextScaleSize], 'x');
    }

    // A short buffer gets the start of the text, terminated; none or an empty one gets nothing.
    L().m_nDecimals = 2;
    char small[6] = "?????";
    L().GetTextReaction(-1234.5, small, 5);  // "-1234.50"
    EXPECT_STREQ(small, "-123");
    L().GetTextReaction(1.0, small, 0);
    EXPECT_STREQ(small, "-123");
    L().GetTextDeformedShape(1.0, nullptr, 8);
}

TEST_F(LegendTest, LevelValuesAreRightAlignedInTheirField) {
    // r.right 100, r.top 50, r.bottom 80; character 6, line 12; two decimals.
    struct Row {
        const char* label;
        int compact, exponent, atBottom;
        double v;
        int x, y;
        CString text;
    } rows[] = {
        {"compact positive", 1, 0, 0, 3.25, 100 + 24 + 6 * 6, 44, CString("3.25")},
        {"compact negative one cell left", 1, 0, 0, -3.25, 100 + 18 + 6 * 6, 44, CString("-3.25")},
        {"wide positive", 0, 0, 0, 3.25, 100 + 12 + 8 * 6, 44, CString("3.25")},
        {"wide negative", 0, 0, 0, -3.25, 100 + 6 + 8 * 6, 44, CString("-3.25")},
        {"compact exponent", 1, 1, 0, 3.25, 124, 44, Fmt("%.3e", 3.25)},
        {"wide exponent at bottom", 0, 1, 1, 3.25, 112, 74, Fmt("%.5e", 3.25)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        L().m_bCompact = r.compact;
        L().m_bExponent = r.exponent;
        L().m_bAutoDigits = 1;
        L().m_nDecimals = 2;
        CRecordDC dc;
        dc.Create();
        CRect rc(0, 50, 100, 80);
        L().TextOutContValue(&dc, rc, 6, 12, r.v, r.atBottom);
        auto t = dc.GetRecords("TextOut");
        ASSERT_EQ(t.size(), 1u);
        EXPECT_EQ(t[0]->text, std::string(r.text.GetString()));
        EXPECT_EQ(t[0]->Arg(0), r.x);
        EXPECT_EQ(t[0]->Arg(1), r.y);
    }
}

TEST_F(LegendTest, PercentagesUseThePercentColourAndComeBack) {
    struct Row {
        const char* label;
        int compact;
        double p;
        const char* text;
        int x;
    } rows[] = {
        {"compact two digits", 1, 12.34, "12.3%", 91},
        {"compact one digit", 1, 5.0, "5.0%", 97},
        {"wide two digits", 0, 12.34, "12%", 91},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        L().m_bCompact = r.compact;
        CRecordDC dc;
        dc.Create();
        CRect rc(0, 50, 100, 71);
        L().TextOutSubContValue(&dc, rc, 6, 12, r.p);
        auto t = dc.GetRecords("TextOut");
        ASSERT_EQ(t.size(), 1u);
        EXPECT_EQ(t[0]->text, r.text);
        EXPECT_EQ(t[0]->Arg(0), r.x);
        EXPECT_EQ(t[0]->Arg(1), 60 - 6);
        EXPECT_EQ(t[0]->textColor, L().m_crPercent);
        EXPECT_EQ(dc.GetTextColor(), L().m_crText);
    }
    // Other number styles print nothing.
    L().m_bCompact = 2;
    CRecordDC dc;
    dc.Create();
    CRect rc(0, 0, 10, 10);
    L().TextOutSubContValue(&dc, rc, 6, 12, 50.0);
    EXPECT_EQ(dc.Count("TextOut"), 0u);
}

TEST_F(LegendTest, LoadNamesAndFileTitlesAreFittedToThePanel) {
    struct Fit {
        const char* label;
        std::string in, out;
    } fits[] = {
        {"17 bytes whole", std::string(17, 'a'), std::string(17, 'a')},
        {"18 bytes cut to 16", std::string(18, 'b'), std::string(16, 'b') + "~"},
        {"character across the cut", std::string(15, 'c') + "中文", std::string(15, 'c') + "~"},
    };
    for (const Fit& f : fits) {
        SCOPED_TRACE(f.label);
        CString out;
        L().GetWidthFittingStr(CString(f.in.c_str()), out);
        EXPECT_EQ(std::string(out.GetString()), f.out);
        M().m_strLoadName = f.in.c_str();
        CString load;
        L().GetLoadString(load);
        EXPECT_EQ(std::string(load.GetString()), f.out);
    }

    struct Title {
        const char* label;
        int width;
        const char* in;
        const char* out;
    } titles[] = {
        {"cut at the dot", 20, "model.qdb", "MODEL"},
        {"cut at width less 9", 20, "abcdefghijklmnop.db", "ABCDEFGHIJK"},
        {"no dot, short", 20, "short", "SHORT"},
        {"narrow panel keeps one character", 5, "abc.db", "A"},
    };
    for (const Title& t : titles) {
        SCOPED_TRACE(t.label);
        M().m_pDispOpt->m_Legend.m_nLegendWidth = t.width;
        CString s = t.in;
        L().MakeTitleName(s);
        EXPECT_STREQ(s.GetString(), t.out);
    }
}

TEST_F(LegendTest, DatesReadMonthDayYear) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 5;
    CString s;
    CLegendEngine::FormatDateString(t, s);
    EXPECT_STREQ(s.GetString(), "03/05/2026");

    CString today;
    L().GetDateString(today);
    ASSERT_EQ(today.GetLength(), 10);
    EXPECT_EQ(today[2], '/');
    EXPECT_EQ(today[5], '/');
    const std::time_t now = std::time(nullptr);
    std::tm lt{};
    localtime_r(&now, &lt);
    EXPECT_EQ(std::atoi(today.Mid(6).GetString()), lt.tm_year + 1900);
}

TEST_F(LegendTest, ExtremeKeysUseTheirFormatsAndBadFormatsAreNotTrusted) {
    M().m_nMaxKey = 17;
    M().m_nMinKey = 0;
    CString mx, mn, want;
    // The key names what it numbers: before, every display wrote "最大: 17".
    struct Row {
        int mode, unit;  // unit: the slab displays' granularity (0 per member, 1 per element)
        const char* text;
    } rows[] = {
        {PVXMode::kDispContour, 0, "最大: 节点 17"}, {PVXMode::kFrameForceContour, 0, "最大: 构件 17"},
        {PVXMode::kPlateStress, 0, "最大: 单元 17"}, {PVXMode::kSlabForce, 0, "最大: 构件 17"},
        {PVXMode::kSlabForce, 1, "最大: 单元 17"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.mode);
        M().m_nDisplayMode = r.mode;
        Force().m_nSForcUnit = r.unit;
        L().GetMnMxValKeyString(mx, mn);
        EXPECT_STREQ(mx.GetString(), r.text);
        EXPECT_STREQ(mn.GetString(), Txt("IDS_TBX_PVX_MIN_NONE").GetString());
    }

    // A table whose format text asks for a string must not be used as a format.
    M().m_nDisplayMode = PVXMode::kFrameForceContour;
    static const CMsgDll::StringEntry kBad[] = {{"IDS_TBX_PVX_MAX_MEMB__d", "MAX %s"},
                                                {"IDS_TBX_PVX_FACTOR___3E", "F %d %e"}};
    ASSERT_TRUE(CMsgDll::RegisterStringTable(kBad, 2));
    L().GetMnMxValKeyString(mx, mn);
    EXPECT_STREQ(mx.GetString(), "MAX %s 17");
    EXPECT_STREQ(LegendFormatKeyDouble("IDS_TBX_PVX_FACTOR___3E", 2.0).GetString(),
                 (CString("F %d %e ") + Fmt("%.3E", 2.0)).GetString());
    CMsgDll::UnregisterStringTable(kBad);
    CString f = LegendFormatKeyDouble("IDS_TBX_PVX_FACTOR___3E", 2.0);
    want.Format(Txt("IDS_TBX_PVX_FACTOR___3E"), 2.0);
    EXPECT_STREQ(f.GetString(), want.GetString());
}

TEST_F(LegendTest, ResultKindHeadingsFollowTheDisplayMode) {
    Reaction().m_nDataKind = CReactionEngine::KIND_REACTION;
    Force().m_nSSFROutput = 1;
    struct Row {
        int mode;
        const char* key;  // null: string unchanged
    } rows[] = {
        // The supports of a project without piles: "pile reactions" was written over them.
        {0, "IDS_TBX_PVX_Reaction_Reverse"},   {1, "IDS_TBX_PVX_DEFORMED_SHAPE"},
        {2, "IDS_TBX_PVX_DISPLACEMENT"},       {3, nullptr},
        {4, "IDS_TBX_PVX_VIBRATION_MODE"},     {5, "IDS_TBX_PVX_STORY_SHEAR_RATIO"},
        {7, "IDS_TBX_PVX_FRAME_DIAGRAM"},      {36, "IDS_TBX_PVX_FRAME_DIAGRAM"},
        {11, "IDS_TBX_PVX_DETAIL_RESULT"},     {22, "IDS_TBX_PVX_BEAM_MAT_FORCE"},
        {28, "IDS_TBX_PVX_AXIAL_FORCE_RATIO"}, {63, "IDS_TBX_PVX_TH_DISPL_VEL_ACCEL"},
        {69, "IDS_TBX_PVX_Settlement"},        {70, "IDS_TBX_PVX_Reaction_Footing"},
        {50, nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.mode);
        M().m_nDisplayMode = r.mode;
        CString s = "keep";
        L().GetPvxInstruction(s);
        EXPECT_STREQ(s.GetString(), r.key ? Txt(r.key).GetString() : "keep");
    }
    // A project with a pile member (type 403): its supports' reactions are the piles'.
    {
        CDBDoc piles;
        PostDBBuilder b;
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 0, 0, -10);
        b.AddElem(1, PELEM_KIND_FRAME, 403, {1, 2});
        b.AddMemb(1, 403, {1, 2}, {1});
        b.Install(piles);
        CDBDoc* saved = CDBDoc::m_pDBDoc;
        CDBDoc::m_pDBDoc = &piles;
        M().m_nDisplayMode = 0;
        CString s;
        L().GetPvxInstruction(s);
        CDBDoc::m_pDBDoc = saved;
        EXPECT_STREQ(s.GetString(), Txt("IDS_TBX_PVX_Reaction_Pile").GetString());
    }
    Reaction().m_nDataKind = CReactionEngine::KIND_CONTOUR;
    Force().m_nSSFROutput = 0;
    struct Other {
        int mode;
        const char* key;
    } others[] = {{0, "IDS_TBX_PVX_Reaction_Reverse"}, {5, "IDS_TBX_PVX_STORY_SHEAR_FORCE"}};
    for (const Other& o : others) {
        SCOPED_TRACE(o.mode);
        M().m_nDisplayMode = o.mode;
        CString s;
        L().GetPvxInstruction(s);
        EXPECT_STREQ(s.GetString(), Txt(o.key).GetString());
    }
    // Without a mode of its own the model shows the bars' mode.
    M().m_nDisplayMode = -1;
    CPVXBarContainerBase::m_nCurrentMode = 17;
    CString s;
    L().GetPvxInstruction(s);
    EXPECT_STREQ(s.GetString(), Txt("IDS_TBX_PVX_SLAB_REBAR").GetString());
}

TEST_F(LegendTest, ComponentNamesFollowTheEnginesComponent) {
    struct Row {
        const char* label;
        int mode;
        int comp;
        int ret;
        const char* text;  // key, plain text, or null for unchanged
    } rows[] = {
        {"reaction FZ", 0, 2, 1, "IDS_TBX_PVX_FORCE_Z"},
        {"reaction out of list", 70, 9, 1, nullptr},
        {"displacement XZ", 2, 9, 1, "IDS_TBX_PVX_XZ_DIRECTION"},
        {"frame moment z", 6, 5, 1, "IDS_TBX_PVX_MOMENT_z"},
        {"wall moment yz", 9, 7, 1, "IDS_TBX_PVX_MOMENT_yz"},
        {"plate absolute maximum", 10, 14, 1, "IDS_TBX_PVX_FORCE_AbsMax"},
        {"plate Mxx", 10, 6, 1, "IDS_TBX_PVX_MOMENT_Mxx"},
        {"plate Myy", 10, 7, 1, "IDS_TBX_PVX_MOMENT_Myy"},
        {"plate Mmax", 10, 9, 1, "IDS_TBX_PVX_MOMENT_Max"},
        {"plate Mmin", 10, 10, 1, "IDS_TBX_PVX_MOMENT_Min"},
        {"plate Vxx", 10, 12, 1, "IDS_TBX_PVX_SHEAR_Vxx"},
        {"plate Vyy", 10, 13, 1, "IDS_TBX_PVX_SHEAR_Vyy"},
        {"plate out of list", 10, 17, 1, nullptr},
        {"stress plain text", 11, 1, 1, "SIG-YY"},
        {"stress effective", 11, 5, 1, "IDS_TBX_PVX_SIG_EFF"},
        {"slab contour Vyy", 16, 4, 1, "IDS_TBX_PVX_SHEAR_Vyy"},
        {"design moment", 35, 0, 1, "IDS_TBX_PVX_MOMENT_y"},
        {"no component", 17, 0, 0, nullptr},
    };
    Force().m_nSForcKind = 1;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ShowComponent(r.mode, r.comp);
        CString s = "keep";
        EXPECT_EQ(L().GetDisplayComponent(s), r.ret);
        const CString want = !r.text ? CString("keep") : (std::string(r.text).rfind("IDS_", 0) == 0 ? Txt(r.text) : CString(r.text));
        EXPECT_STREQ(s.GetString(), want.GetString());
    }
    // Hinge status in the deformed shape of a pushover load.
    M().m_nDisplayMode = 1;
    M().m_bContour = 1;
    M().m_nLoadType = 17;
    CString s;
    L().GetDisplayComponent(s);
    EXPECT_STREQ(s.GetString(), Txt("IDS_TBX_PVX_HINGE_STATUS").GetString());
    // The slab text block has no component.
    M().m_nDisplayMode = 16;
    Force().m_nSForcKind = 0;
    s = "keep";
    EXPECT_EQ(L().GetDisplayComponent(s), 1);
    EXPECT_TRUE(s.IsEmpty());
}

TEST_F(LegendTest, UnitsComeFromTheRecordsUnitTables) {
    struct Row {
        const char* label;
        int mode;
        int comp;
        int code;  // -1: unchanged
    } rows[] = {
        {"reaction FZ", 0, 2, T_REAC_D::unit[2]},
        {"reaction MXYZ", 0, 7, T_REAC_D::unit[3]},
        {"displacement RY", 1, 5, T_DISP_D::unit[4]},
        {"displacement YZ", 2, 8, T_DISP_D::unit[0]},
        {"mode shape", 4, 0, T_MODE_D::unit[0]},
        {"beam shear yz", 6, 6, T_MBWG_D::unit[1]},
        {"wall shear yz", 8, 6, T_STRW_D::unit[1]},
        {"wall moment yz", 9, 7, T_STRW_D::unit[4]},
        {"plate component 8", 10, 8, T_STRP_DL::unit[28]},
        {"plate component 16", 10, 16, T_STRP_DL::unit[33]},
        {"stress", 11, 3, T_STRP_DL::unit[6]},
        {"stress vectors", 11, 7, T_STRP_DL::unit[6]},
        {"slab Vxx", 16, 3, T_STRP_DL::unit[32]},
        {"slab Fxx", 16, 6, T_STRP_DL::unit[20]},
        // Slab walls: moment m x cut width (kN·m), shear v x width (kN), reinforcement (mm²),
        // whatever the slab force component.
        {"slab wall moment", 20, 0, PVXUNIT_DSGN_MOMENT},
        {"slab wall shear", 20, 1, PVXUNIT_DSGN_FORCE},
        {"slab wall rebar", 20, 2, PVXUNIT_STEEL},
        {"slab wall, no such value", 20, 3, -1},
        {"crack", 18, 0, 1},
        {"rebar", 17, 0, 9},
        {"design steel", 23, 0, PVXUNIT_STEEL},
        {"axial-compression ratio: none", 28, 0, -1},
        {"design shear", 36, 0, PVXUNIT_DSGN_FORCE},
        {"base forces: per caption line", 42, 0, -1},
        {"design moment", 35, 0, PVXUNIT_DSGN_MOMENT},
        {"node displacement", 3, 0, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ShowComponent(r.mode, r.comp);
        CString s = "keep";
        L().GetUnitString(s);
        EXPECT_STREQ(s.GetString(), r.code < 0 ? "keep" : LegendUnit(r.code).GetString());
    }

    struct Special {
        const char* label;
        int mode;
        int slabKind, beamUnit, quantity;
        int code;
    } specials[] = {
        {"slab beams, text block", 22, 0, 0, 0, 13},
        {"slab beams, contour, design moment", 22, 1, 0, 0, 12},
        {"slab beams, contour, force", 22, 1, 1, 0, 2},
        // Both member kinds show the contact pressure of the spring-pressure records.
        {"reaction contour FZ, raft", 70, 0, 0, 0, T_STWS_D::unit[0]},
        {"reaction contour FZ, beam", 70, 0, 0, 1, T_STWS_D::unit[0]},
    };
    Reaction().m_nComponent = 2;
    for (const Special& s : specials) {
        SCOPED_TRACE(s.label);
        M().m_nDisplayMode = s.mode;
        Force().m_nSForcKind = s.slabKind;
        Force().m_nBForcNumUnit = s.beamUnit;
        Reaction().m_nMembKind = s.quantity;
        CString u;
        L().GetUnitString(u);
        EXPECT_STREQ(u.GetString(), LegendUnit(s.code).GetString());
    }

    // Time-history velocity and acceleration.
    M().m_nDisplayMode = 63;
    M().m_nLoadType = 5;
    Deform().m_nComponent = 0;
    for (int kind : {1, 2, 3}) {
        SCOPED_TRACE(kind);
        Deform().m_nTHKind = kind;
        ASSERT_TRUE(Deform().IsTimeHistVelAcc());
        CString u;
        L().GetUnitString(u);
        EXPECT_STREQ(u.GetString(), LegendUnit(kind == 1 ? 22 : 21).GetString());
    }

    // Ductility factor units.
    struct Duct {
        int kind, sub;
        CString text;
    } ducts[] = {
        {0, 0, CString("None")},
        {3, 1, CString("L:") + LegendUnit(1) + ",D:None"},
        {3, 4, CString("L:r,D:r/") + LegendUnit(1)},
        {4, 2, LegendUnit(2)},
        {4, 5, LegendUnit(12)},
    };
    for (const Duct& d : ducts) {
        SCOPED_TRACE(d.kind * 10 + d.sub);
        Deform().m_nDuctKind = d.kind;
        Deform().m_nDuctSubKind = d.sub;
        CString u;
        L().GetDutlFactUnitStr(u);
        EXPECT_STREQ(u.GetString(), d.text.GetString());
    }
}

TEST_F(LegendTest, UnitsOfTotalsRatiosAndDeflections) {
    // Strip and rib forces are totals over the strip's width: kN·m and kN, not per metre. Story
    // shear forces are kN and their ratios have no unit; slab deflections are millimetres.
    struct Row {
        const char* label;
        int mode, stripComp, slabUnit, storyOutput;
        const char* unit;
    } rows[] = {
        {"strip moment", 21, 0, 0, 0, "kN·m"},
        {"strip shear", 21, 1, 0, 0, "kN"},
        {"rib moment", 22, 0, 1, 0, "kN·m"},
        {"rib shear", 22, 1, 1, 0, "kN"},
        {"story shear force", 5, 0, 0, 0, "kN"},
        {"story shear ratio", 5, 0, 0, 1, ""},
        {"slab deflection", 19, 0, 0, 0, "mm"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        M().m_nDisplayMode = r.mode;
        Force().m_nCLForcComp = r.stripComp;
        Force().m_nSForcUnit = r.slabUnit;
        Force().m_nSForcKind = 1;
        Force().m_nSSFROutput = r.storyOutput;
        CString u;
        L().GetUnitString(u);
        EXPECT_STREQ(u.GetString(), r.unit);
    }
}

TEST_F(LegendTest, HeaderJoinsComponentAndUnitOnlyWhenBothAreThere) {
    M().m_strLoadName = "DL";
    struct Row {
        const char* label;
        int mode, comp, ssfrOutput;
        CString line;
    } rows[] = {
        {"stress vectors", 11, 7, 0, Txt("IDS_TBX_PVX_VECTOR") + ", " + LegendUnit(T_STRP_DL::unit[6])},
        {"plate moment Mxx", 10, 6, 0, Txt("IDS_TBX_PVX_MOMENT_Mxx") + ", " + LegendUnit(T_STRP_DL::unit[26])},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ShowComponent(r.mode, r.comp);
        Force().m_nSSFROutput = r.ssfrOutput;
        CRecordDC dc;
        dc.Create();
        CRect rc(0, 0, 180, 400);
        L().DrawPreRainbow(&dc, &rc);
        auto t = dc.GetRecords("TextOut");
        ASSERT_FALSE(t.empty());
        const std::string last = t.back()->text;
        EXPECT_EQ(last, std::string(r.line.GetString()));
    }
}

TEST_F(LegendTest, AnEnvelopeSaysWhichSideItShows) {
    M().m_strLoadName = "ENV";
    // A time history says which step it draws and when (before, its name alone).
    struct Row {
        const char* label;
        int mode;
        UINT type;
        int step, minMax;
        double time;      // the time-history step's time, -1 none
        const char* key;  // null: the name alone
        const char* tail;
    } rows[] = {
        {"maximum", 7, 12, 1, 0, -1, "IDS_TBX_PVX_ENV_MAX", ""},
        {"minimum", 7, 12, 2, 0, -1, "IDS_TBX_PVX_ENV_MIN", ""},
        {"larger magnitude", 7, 12, 3, 0, -1, "IDS_TBX_PVX_ENV_ABS", ""},
        {"both diagrams", 7, 12, 3, 1, -1, "IDS_TBX_PVX_ENV_BOTH", ""},
        {"a combination", 7, 11, 0, 0, -1, nullptr, ""},
        {"time history step 25", PVXMode::kTimeHistory, 5, 25, 0, 0.5, nullptr, " 步 25 t=0.5s"},
        {"time history not built", PVXMode::kTimeHistory, 5, 3, 0, -1, nullptr, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        M().m_nDisplayMode = r.mode;
        M().m_nLoadType = r.type;
        M().m_nLoadStep = 0;
        if (r.mode == 7) M().m_nLoadStep = r.step;
        Deform().m_nTimeStep = r.step;
        Deform().m_dTimeStepTime = r.time;
        Force().m_bMinMaxDiagram = r.minMax;
        CString s;
        L().GetLoadString(s);
        const CString want = (r.key ? CString("ENV ") + Txt(r.key) : CString("ENV")) + r.tail;
        EXPECT_STREQ(s.GetString(), want.GetString());
    }
}
