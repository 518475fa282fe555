// The catalogue built with stand-in figure classes registered under the catalogue's class
// names: the records the host's tree receives (order, parents, enabling by mode and owner
// types), the objects and their availability, rebuilding, leaves whose class is missing, and
// the families' shared answers (diagram signs, check defaults, value names).
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/base/CMsgDll.h"
#include "host/db/CDBDoc.h"
#include "module/figures/CFVDCatalogue.h"
#include "module/figures/CPVXFigure.h"

namespace {

// The tree order of the catalogue's 85 records (the catalogue table, top to bottom).
const int kOrder[85] = {32,  33,  41,  42,  43,  44,  45,  31,  47,  46,  91,  92,  450, 2,   132, 133, 130,
                        131, 100, 160, 162, 161, 163, 164, 165, 166, 167, 3,   200, 201, 202, 203, 261, 266,
                        262, 263, 264, 265, 4,   7,   500, 501, 514, 515, 11,  516, 517, 521, 502, 503, 504,
                        505, 12,  506, 507, 8,   522, 523, 524, 525, 511, 512, 527, 11,  508, 509, 12,  510,
                        513, 518, 519, 520, 526, 5,   302, 306, 303, 307, 301, 300, 305, 6,   600, 601, 602};
const std::set<int> kGroups = {2, 3, 4, 5, 6, 7, 8, 11, 12};
const std::set<int> kBaseMaps = {31, 32, 33, 41, 42, 43, 44, 45, 46, 47, 91, 92};
// Leaves that need analysis results.
const std::set<int> kPostLeaves = {47,  100, 160, 162, 161, 163, 164, 165, 166, 167, 201, 202, 203, 261, 266,
                                   262, 263, 264, 265, 522, 523, 524, 525, 511, 512, 527, 508, 509, 510, 513,
                                   518, 519, 520, 526, 305};

int g_made = 0;

// Stands in for every figure class of the catalogue.
class StandIn : public CFVDBase {
public:
    StandIn() { ++g_made; }
};
CObject* MakeStandIn() { return new StandIn; }

// Registers StandIn under every catalogue class name except those left out, for its lifetime.
class StandIns {
public:
    explicit StandIns(const std::set<std::string>& leftOut = {}) {
        const sFVDCatalogueRow* rows = GetFVDCatalogue();
        for (int i = 0; i < kFVDCatalogueRows; ++i) {
            const char* name = rows[i].pszClass;
            if (!name || m_names.count(name)) continue;
            m_names.insert(name);
            // A left-out name is shadowed by a class that is no figure, as if the module had none.
            const bool out = leftOut.count(name) != 0;
            m_classes.push_back(std::make_unique<CRuntimeClass>(
                CRuntimeClass{name, static_cast<int>(sizeof(StandIn)), 0xFFFF, out ? nullptr : &MakeStandIn,
                              out ? RUNTIME_CLASS(CObject) : RUNTIME_CLASS(CFVDBase)}));
            m_inits.push_back(std::make_unique<AFX_CLASSINIT>(m_classes.back().get()));
        }
    }
    ~StandIns() { m_inits.clear(); }
    size_t Count() const { return m_names.size(); }

private:
    std::set<std::string> m_names;
    std::vector<std::unique_ptr<CRuntimeClass>> m_classes;
    std::vector<std::unique_ptr<AFX_CLASSINIT>> m_inits;
};

struct Hint {
    int type;
    HTREEITEM parent;
    HTREEITEM item;
    BOOL enabled;
};

// The host's tree: on hint 110 it inserts an item for the record and writes the item back.
class TreeDoc : public CDBDoc {
public:
    std::vector<Hint> hints;
    std::vector<long> others;
    void UpdateAllViews(CView*, LPARAM hint, CObject*) override {
        if (hint != 110) {
            others.push_back(static_cast<long>(hint));
            return;
        }
        sFVDBaseInformation* rec = CPVXFigure::m_pMyself->GetScratchRecord();
        rec->hItem = reinterpret_cast<HTREEITEM>(static_cast<uintptr_t>(0x10000 + 16 * hints.size()));
        hints.push_back({rec->eType, rec->hParent, rec->hItem, rec->bEnabled});
    }
};

const HTREEITEM kRoot = reinterpret_cast<HTREEITEM>(static_cast<uintptr_t>(0x777));

class FigureCatalogueTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = CDBDoc::m_pDBDoc;
        CDBDoc::m_pDBDoc = &m_doc;
        m_doc.SetPostMode(1);
        g_made = 0;
    }
    void TearDown() override { CDBDoc::m_pDBDoc = m_saved; }
    // The types of the enabled leaves (records of rows with a class).
    static std::set<int> EnabledLeaves(CPVXFigure& cat) {
        std::set<int> out;
        for (const auto& [type, rec] : cat.GetRecords())
            if (!kGroups.count(type) && rec.bEnabled) out.insert(type);
        return out;
    }
    TreeDoc m_doc;
    CDBDoc* m_saved = nullptr;
};

TEST_F(FigureCatalogueTest, TheTreeReceivesEightyFiveRecordsInOrderUnderTheirGroups) {
    StandIns classes;
    EXPECT_EQ(classes.Count(), 74u);
    CPVXFigure cat;
    cat.InitFigureMap(kRoot);
    ASSERT_EQ(m_doc.hints.size(), 85u);
    EXPECT_TRUE(m_doc.others.empty());
    int twice11 = 0, twice12 = 0;
    for (int i = 0; i < 85; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m_doc.hints[i].type, kOrder[i]);
        twice11 += m_doc.hints[i].type == 11;
        twice12 += m_doc.hints[i].type == 12;
    }
    EXPECT_EQ(twice11, 2);
    EXPECT_EQ(twice12, 2);
    // Parent of the record at a position: the root (-1) or the item of the record at a position.
    const std::pair<int, int> parents[] = {
        {0, -1},   // 32
        {12, -1},  // 450
        {13, -1},  // ISO
        {14, 13},  // 132 under ISO
        {26, 13},  // 167 under ISO
        {27, -1},  // BEAN
        {37, 27},  // 265 under BEAN
        {38, -1},  // MTSB
        {39, 38},  // MTSB_CHECK under MTSB
        {44, 39},  // first MTSB_CHECK_PLAT under MTSB_CHECK
        {45, 44},  // 516 under it
        {52, 39},  // first MTSB_CHECK_BEAM under MTSB_CHECK
        {54, 52},  // 507
        {55, 38},  // MTSB_DESIGN under MTSB, two levels closed
        {56, 55},  // 522
        {63, 55},  // second MTSB_CHECK_PLAT under MTSB_DESIGN
        {64, 63},  // 508
        {66, 55},  // second MTSB_CHECK_BEAM under MTSB_DESIGN
        {72, 66},  // 526
        {73, -1},  // PILE, three levels closed
        {80, 73},  // 305
        {81, -1},  // SINK
        {84, 81},  // 602
    };
    for (const auto& [at, parent] : parents) {
        SCOPED_TRACE(kOrder[at]);
        EXPECT_EQ(m_doc.hints[at].parent, parent < 0 ? kRoot : m_doc.hints[parent].item);
    }
    // The record kept for 11 and 12 is the one under the raft-design group.
    EXPECT_EQ(cat.GetFigureData(EFVDT_MTSB_CHECK_PLAT)->hItem, m_doc.hints[63].item);
    EXPECT_EQ(cat.GetFigureData(EFVDT_MTSB_CHECK_PLAT)->hParent, m_doc.hints[55].item);
    EXPECT_EQ(cat.GetFigureData(EFVDT_MTSB_CHECK_BEAM)->hItem, m_doc.hints[66].item);
    EXPECT_EQ(cat.GetRecords().size(), 83u);
    // Numbers and captions of a few records.
    const std::pair<int, int> numbers[] = {{32, -1}, {450, 18}, {2, 0}, {3, 2}, {5, 16}, {302, 17}, {600, 7}};
    for (const auto& [type, number] : numbers) {
        SCOPED_TRACE(type);
        EXPECT_EQ(cat.GetFigureData(static_cast<EFigureType>(type))->nNumber, number);
    }
    EXPECT_EQ(cat.GetFigureData(EFVDT_ISO_CHECK_CZL)->strCaption,
              CMsgDll::pfuncLoadStr("IDS_TM_FIGURE_EFVDT_ISO_CHECK_CZL", 0));
    // Base maps that can be switched on under a figure.
    std::set<int> sources;
    for (const auto& [t, same] : cat.Get_BasemapSource()) sources.insert(t);
    EXPECT_EQ(sources, (std::set<int>{32, 33, 41, 42}));
}

TEST_F(FigureCatalogueTest, EnablingByModeAndOwnerTypes) {
    std::set<int> anyLeaves, postLeaves;
    for (int t : kOrder)
        if (!kGroups.count(t) && !kBaseMaps.count(t)) (kPostLeaves.count(t) ? postLeaves : anyLeaves).insert(t);
    struct Row {
        const char* label;
        int postMode;
        UINT ownerMask;
        std::set<int> enabled;  // leaves (base maps are always reported disabled)
    };
    const Row rows[] = {
        {"after analysis, every owner", 1, 4095, [&] {
             std::set<int> s = anyLeaves;
             s.insert(postLeaves.begin(), postLeaves.end());
             s.erase(47);
             return s;
         }()},
        {"before analysis: post leaves off", 0, 4095, anyLeaves},
        {"owner mask 1", 1, 1, {132, 133, 130, 131, 100, 160, 450}},
        {"owner mask 1 before analysis", 0, 1, {132, 133, 130, 131, 450}},
        {"owner mask 2048", 1, 2048, {600, 601, 602, 450}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        StandIns classes;
        m_doc.SetPostMode(r.postMode);
        CPVXFigure cat;
        cat.SetOwnerMask(r.ownerMask);
        cat.InitFigureMap(kRoot);
        std::set<int> enabled;
        for (const Hint& h : m_doc.hints)
            if (!kGroups.count(h.type) && h.enabled) enabled.insert(h.type);
        EXPECT_EQ(enabled, r.enabled);
        for (int t : kBaseMaps) EXPECT_EQ(cat.GetFigureData(static_cast<EFigureType>(t))->bEnabled, 0) << t;
        for (int g : kGroups) EXPECT_EQ(cat.GetFigureData(static_cast<EFigureType>(g))->bEnabled, 1) << g;
        // Post leaves' objects carry mode flags 2, the others keep 3.
        EXPECT_EQ(cat.GetFVDBase(EFVDT_MTSB_DESIGN_Force)->GetModeFlags(), 2u);
        EXPECT_EQ(cat.GetFVDBase(EFVDT_ISO_CHECK_CZL)->GetModeFlags(), 3u);
        m_doc.hints.clear();
    }
}

TEST_F(FigureCatalogueTest, ObjectsAreMadeOnceAndLeavesWithoutAClassStayEmpty) {
    struct Row {
        const char* label;
        HTREEITEM root;
        std::set<std::string> leftOut;
        size_t objects;
        size_t hints;
    };
    const Row rows[] = {
        {"with a root", kRoot, {}, 74, 85},
        {"without a root: no hint", nullptr, {}, 74, 0},
        {"two classes missing", kRoot, {"CFVDSlabBandDesign_As", "CFVDBeamDesign_Crack_Rib"}, 72, 85},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        StandIns classes(r.leftOut);
        m_doc.hints.clear();
        g_made = 0;
        CPVXFigure cat;
        cat.InitFigureMap(r.root);
        EXPECT_EQ(cat.GetFigureObjects().size(), r.objects);
        EXPECT_EQ(g_made, static_cast<int>(r.objects));
        EXPECT_EQ(m_doc.hints.size(), r.hints);
        EXPECT_EQ(cat.isAvailabe(EFVDT_MTSB_DESIGN_SLABBAND), !r.leftOut.count("CFVDSlabBandDesign_As"));
        EXPECT_NE(cat.GetFigureData(EFVDT_MTSB_DESIGN_SLABBAND), nullptr) << "the record is there either way";
        for (const auto& [type, fvd] : cat.GetFigureObjects()) EXPECT_EQ(fvd->GetType(), type);
        if (!r.root) {
            for (const auto& [type, rec] : cat.GetRecords()) {
                EXPECT_EQ(rec.hItem, nullptr) << type;
                EXPECT_EQ(rec.hParent, nullptr) << type;
            }
        }
        // Building again keeps the objects and sends the records again.
        const std::map<EFigureType, CFVDBase*> before = cat.GetFigureObjects();
        m_doc.hints.clear();
        cat.InitFigureMap(r.root);
        EXPECT_EQ(cat.GetFigureObjects(), before);
        EXPECT_EQ(g_made, static_cast<int>(r.objects));
        EXPECT_EQ(m_doc.hints.size(), r.hints);
    }
}

TEST_F(FigureCatalogueTest, FamiliesShareSignsDefaultsAndValueNames) {
    // By the catalogue's class of each type.
    struct Row {
        int type;
        double sign;
        bool checkDefaults;
        const char* valueName;
    };
    const Row rows[] = {
        {201, -1.0, false, ""}, {163, -1.0, false, ""}, {203, -1.0, false, ""}, {165, -1.0, false, ""},
        {518, -1.0, false, ""}, {508, -1.0, false, ""}, {202, 1.0, false, ""},  {164, 1.0, false, ""},
        {519, 1.0, false, ""},  {132, 0.0, true, ""},   {450, 0.0, true, ""},   {500, 0.0, true, ""},
        {507, 0.0, true, ""},   {300, 0.0, true, ""},   {501, 0.0, false, ""},  {305, 0.0, false, ""},
        {522, 0.0, false, "M"}, {523, 0.0, false, "As"}, {600, 0.0, false, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.type);
        const sFVDCatalogueRow* row = FindFVDCatalogueRow(static_cast<EFigureType>(r.type));
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(FVDGetDiagramSign(row->pszClass), r.sign);
        EXPECT_EQ(FVDIsCheckDefaultsClass(row->pszClass), r.checkDefaults ? TRUE : FALSE);
        EXPECT_EQ(FVDGetValueName(row->pszClass), CString(r.valueName));
    }
    int checks = 0;
    std::set<std::string> seen;
    for (int i = 0; i < kFVDCatalogueRows; ++i) {
        const char* cls = GetFVDCatalogue()[i].pszClass;
        if (cls && seen.insert(cls).second && FVDIsCheckDefaultsClass(cls)) ++checks;
    }
    EXPECT_EQ(checks, 24);
    sFVDDisplaySettings s;
    FVDApplyCheckDefaults(s);
    EXPECT_EQ(s.m_nRatio, 1);
    EXPECT_EQ(s.m_dPrecision, 2.0);
    EXPECT_EQ(s.m_dDrawScale, 1.0);
}

TEST_F(FigureCatalogueTest, TypesByNumberOrSuffix) {
    const std::pair<const char*, int> rows[] = {
        {"132", 132},          {"iso_check_czl", 132}, {"ISO_CHECK_CZL", 132}, {"EFVDT_Pile_CHECK_CZL", 302},
        {" 41 ", 41},          {"basemap_qsn_colf", 41}, {"11", 11},           {"999", 0},
        {"NOT_A_FIGURE", 0},   {"", 0},                {"13a", 0},
    };
    for (const auto& [text, type] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseFVDType(text), type);
    }
}

}  // namespace
