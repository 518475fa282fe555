// Moved figure texts: position codes, tagging and moving freshly drawn texts, storing a drag in
// the project (one "TextMove" command), and the project file left alone until the host writes.
#include <gtest/gtest.h>

#include <climits>

#include "FoundationDoc.h"
#include "host/cmd/CDBCommand.h"
#include "host/db/FoundationTables.h"
#include "host/vdraw/CVdrawUtil.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/FigureTextMove.h"

namespace figview {

namespace {

class TextMoveTest : public ::testing::Test {
protected:
    void SetUp() override {
        PostDBBuilder b;
        AddTextOwners(b);
        b.Install(m_doc);
    }
    CDataBase* DB() { return m_doc.GetMDBCtrl()->GetDBPost(); }
    const T_MEMB_D& Footing() { return *DB()->Table<DBT_MEMB>().Find(kFooting); }
    const T_GBPA_D& Gbpa() { return *DB()->Table<DBT_GBPA>().Find(GBPA_KEY); }

    CDBDoc m_doc;
    DocScope m_scope{m_doc};
};

CArray<int> Slots(std::initializer_list<int> v) {
    CArray<int> a;
    for (int s : v) a.Add(s);
    return a;
}

}  // namespace

TEST(TextPosCode, EncodeAndDecode) {
    struct Row {
        const char* label;
        int slot, kind;
        bool ok;
        int code;  // 100 x kind + slot
    } rows[] = {
        {"slot 7 of the global parameters", 7, 10, true, 1007},
        {"slot 3 of a member", 3, 0, true, 3},
        {"slot -1 is no slot", -1, 0, false, 0},
        {"kind -1 is no kind", 2, -1, false, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        int code = -99;
        EXPECT_EQ(EncodeTextPos(code, r.slot, r.kind), r.ok);
        if (!r.ok) {
            EXPECT_EQ(code, -99) << "a failed encoding leaves the code";
            continue;
        }
        EXPECT_EQ(code, r.code);
        int slot = -1, kind = -1;
        EXPECT_TRUE(DecodeTextPos(code, slot, kind));
        EXPECT_EQ(slot, r.slot);
        EXPECT_EQ(kind, r.kind);
    }
}

// Three texts drawn at model (0, 0), (0, 1), (0, 2) at draw scale 2 (drawing units twice those);
// the footing's slot 1 holds (0.5, -0.25), slots 0 and 2 hold nothing.
TEST_F(TextMoveTest, ApplyTagsTheCommonCountAndStopsAtSlotMinusOne) {
    struct Row {
        const char* label;
        int texts;
        std::initializer_list<int> slots;
        UINT owner;
        int kind;
        int tagged;
    } rows[] = {
        {"one text per slot", 3, {0, 1, 2}, kFooting, FVD_TEXT_KIND_MEMB, 3},
        {"slot -1 at position 1 tags text 0 only", 3, {0, -1, 1}, kFooting, FVD_TEXT_KIND_MEMB, 1},
        {"more texts than slots", 3, {0, 1}, kFooting, FVD_TEXT_KIND_MEMB, 2},
        {"more slots than texts", 2, {0, 1, 2, 3, 4}, kFooting, FVD_TEXT_KIND_MEMB, 2},
        {"the global parameters", 2, {0, 1}, 1, FVD_TEXT_KIND_GBPA, 2},
        {"an unknown kind has no store", 3, {0, 1, 2}, kFooting, 5, 0},
        {"a member the model has not", 3, {0, 1, 2}, 999, FVD_TEXT_KIND_MEMB, 0},
        {"a key above INT_MAX names no owner", 3, {0, 1, 2}, 0x80000000u, FVD_TEXT_KIND_MEMB, 0},
        {"no slots", 3, {}, kFooting, FVD_TEXT_KIND_MEMB, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CVdrawUtil d;
        d.SetDrawScale(2.0);
        CArray<long> ids;
        for (int i = 0; i < r.texts; ++i) ids.Add(d.DrawText("t", 0.0, i));
        ApplyTextMoves(&d, ids, &r.owner, Slots(r.slots), r.kind);
        int tagged = 0;
        for (int i = 0; i < r.texts; ++i) {
            int code = -1, own = -1;
            const bool has = d.GetXPropertyInt(ids[i], kFvdTextPos, code);
            EXPECT_EQ(has, d.GetXPropertyInt(ids[i], kFvdTextOwn, own));
            EXPECT_EQ(has, static_cast<bool>(d.GetFigure(ids[i])->m_movable));
            if (!has) continue;
            ++tagged;
            EXPECT_EQ(code, 100 * r.kind + (*(r.slots.begin() + i)));
            EXPECT_EQ(own, static_cast<int>(r.owner));
        }
        EXPECT_EQ(tagged, r.tagged);
    }
}

TEST_F(TextMoveTest, StoredOffsetsMoveTheTextsInModelUnits) {
    struct Row {
        const char* label;
        double scale;
        int slot;
        double x, y;  // the text's insertion point, drawing units: (model 0 + offset) x scale
    } rows[] = {
        {"slot 1 at scale 2", 2.0, 1, (0.0 + 0.5) * 2.0, (1.0 - 0.25) * 2.0},
        {"slot 1 at scale 1", 1.0, 1, 0.5, 1.0 - 0.25},
        {"slot 0 holds nothing", 2.0, 0, 0.0, 2.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CVdrawUtil d;
        d.SetDrawScale(r.scale);
        CArray<long> ids;
        ids.Add(d.DrawText("t", 0.0, 1.0));
        const UINT owner = kFooting;
        ApplyTextMoves(&d, ids, &owner, Slots({r.slot}), FVD_TEXT_KIND_MEMB);
        EXPECT_NEAR(d.GetFigure(ids[0])->m_points[0].x, r.x, 1e-12);
        EXPECT_NEAR(d.GetFigure(ids[0])->m_points[0].y, r.y, 1e-12);
    }
}

// A drag of (dx, dy) drawing units adds (dx, dy) / draw scale to the stored offsets.
TEST_F(TextMoveTest, RecordedDragsAccumulateDividedByTheScale) {
    struct Row {
        const char* label;
        UINT owner;
        int kind, slot;
        double scale;
        int drags;
        double dx, dy;
        int result;
        double storedX, storedY;  // offsets of the slot afterwards
    } rows[] = {
        // 0.5 + 2 x 1 / 2 = 1.5; -0.25 + 0 = -0.25
        {"two drags by (1, 0) at scale 2 on slot 1", kFooting, FVD_TEXT_KIND_MEMB, 1, 2.0, 2, 1.0, 0.0, 1, 1.5, -0.25},
        // 0 + 2 x 1 / 2 = 1.0
        {"two drags by (1, 0) at scale 2 on an empty slot", kFooting, FVD_TEXT_KIND_MEMB, 3, 2.0, 2, 1.0, 0.0, 1, 1.0,
         0.0},
        // 2.0 + 0.3 / 0.5 = 2.6; -0.1 / 0.5 = -0.2
        {"the notes title at scale 0.5", 1, FVD_TEXT_KIND_GBPA, 0, 0.5, 1, 0.3, -0.1, 1, 2.6, -0.2},
        // A sheet's own title starts from the global offsets (2.0, 0) and leaves them alone.
        {"the title of sheet 132 at scale 0.5", 132, FVD_TEXT_KIND_NOTES, 0, 0.5, 1, 0.3, -0.1, 1, 2.6, -0.2},
        {"an unknown kind is abandoned", kFooting, 7, 1, 2.0, 1, 1.0, 0.0, 0, 0.5, -0.25},
        {"a slot the record has not", kFooting, FVD_TEXT_KIND_MEMB, MEMB_TEXT_SLOTS, 1.0, 1, 1.0, 0.0, 0, 0.0, 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        SetUp();
        CVdrawUtil d;
        d.SetDrawScale(r.scale);
        const long id = d.DrawText("t", 0.0, 0.0);
        int code = 0;
        ASSERT_TRUE(EncodeTextPos(code, r.slot, r.kind));
        d.AddXPropertyInt(id, kFvdTextPos, code);
        d.AddXPropertyInt(id, kFvdTextOwn, static_cast<int>(r.owner));
        for (int i = 0; i < r.drags; ++i) EXPECT_EQ(RecordTextMove(&d, d.GetFigure(id), r.dx, r.dy), r.result);
        if (r.kind == FVD_TEXT_KIND_GBPA) {
            EXPECT_NEAR(Gbpa().buffer.textX[r.slot], r.storedX, 1e-12);
            EXPECT_NEAR(Gbpa().buffer.textY[r.slot], r.storedY, 1e-12);
        } else if (r.kind == FVD_TEXT_KIND_NOTES) {
            const T_FVDTEXT_D* own = DB()->Table<DBT_FVDTEXT>().Find(r.owner);
            ASSERT_NE(own, nullptr);
            EXPECT_NEAR(own->textX[r.slot], r.storedX, 1e-12);
            EXPECT_NEAR(own->textY[r.slot], r.storedY, 1e-12);
            EXPECT_EQ(Gbpa().buffer.textX[r.slot], 2.0) << "the global offsets stay";
        } else if (r.slot < MEMB_TEXT_SLOTS) {
            EXPECT_NEAR(Footing().textX[r.slot], r.storedX, 1e-12);
            EXPECT_NEAR(Footing().textY[r.slot], r.storedY, 1e-12);
        }
        EXPECT_NEAR(Footing().textX[1], r.owner == kFooting && r.slot == 1 && r.result ? r.storedX : 0.5, 1e-12)
            << "slot 1 changes only when moved";
    }
}

TEST_F(TextMoveTest, FailedMovesAreNeverReportedAsStored) {
    struct Row {
        const char* label;
        bool tagged;
        UINT owner;
        int kind, slot;
    } rows[] = {
        {"a text without the properties", false, kFooting, FVD_TEXT_KIND_MEMB, 1},
        {"a member the model has not", true, 999, FVD_TEXT_KIND_MEMB, 1},
        {"an unknown kind", true, kFooting, 3, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CVdrawUtil d;
        const long id = d.DrawText("t", 0.0, 0.0);
        if (r.tagged) {
            d.AddXPropertyInt(id, kFvdTextPos, 100 * r.kind + r.slot);
            d.AddXPropertyInt(id, kFvdTextOwn, static_cast<int>(r.owner));
        }
        EXPECT_EQ(RecordTextMove(&d, d.GetFigure(id), 1.0, 1.0), 0);
        if (r.tagged) {
            EXPECT_EQ(StoreTextMove(r.owner, r.kind, r.slot, 1.0, 1.0), 0);
        }
        EXPECT_DOUBLE_EQ(Footing().textX[1], 0.5);
    }
    EXPECT_EQ(StoreTextMove(0x80000000u, FVD_TEXT_KIND_MEMB, 1, 1.0, 1.0), 0) << "a key above INT_MAX";
    EXPECT_EQ(ResetTextMoves(0xFFFFFFFFu, FVD_TEXT_KIND_MEMB), 0) << "a \"negative\" owner";
}

TEST_F(TextMoveTest, ResetClearsEverySlotOfTheOwner) {
    struct Row {
        const char* label;
        UINT owner;
        int kind, result;
    } rows[] = {
        {"a member", kFooting, FVD_TEXT_KIND_MEMB, 1},
        {"the global parameters", 1, FVD_TEXT_KIND_GBPA, 1},
        {"an unknown kind", kFooting, 4, 0},
        {"a missing member", 998, FVD_TEXT_KIND_MEMB, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        SetUp();
        EXPECT_EQ(ResetTextMoves(r.owner, r.kind), r.result);
        const bool memb = r.result && r.kind == FVD_TEXT_KIND_MEMB;
        const bool gbpa = r.result && r.kind == FVD_TEXT_KIND_GBPA;
        EXPECT_DOUBLE_EQ(Footing().textX[1], memb ? 0.0 : 0.5);
        EXPECT_DOUBLE_EQ(Footing().textY[1], memb ? 0.0 : -0.25);
        EXPECT_DOUBLE_EQ(Gbpa().buffer.textX[0], gbpa ? 0.0 : 2.0);
    }
}

// The text block registers its texts: the footing's slot 1 is applied to its second line, and
// a drag of that line goes back into the footing's record (round trip through a redraw).
TEST_F(TextMoveTest, TextBlockRoundTripThroughARedraw) {
    CVdrawUtil d;
    d.SetDrawScale(2.0);
    CFVDTextBlock block;
    block.m_strText = "A\nB";
    block.SetMoveInfo(kFooting, FVD_TEXT_KIND_MEMB, 0, 1);
    CArray<long> ids = block.Draw(&d, T_POINT2D(0.0, 0.0));
    ASSERT_EQ(ids.GetSize(), 2);
    const T_POINT2D before = d.GetFigure(ids[1])->m_points[0];
    int code = 0;
    ASSERT_TRUE(d.GetXPropertyInt(ids[1], kFvdTextPos, code));
    EXPECT_EQ(code, 1);
    EXPECT_EQ(RecordTextMove(&d, d.GetFigure(ids[1]), 1.0, 0.5), 1);
    EXPECT_DOUBLE_EQ(Footing().textX[1], 0.5 + 1.0 / 2.0);
    EXPECT_DOUBLE_EQ(Footing().textY[1], -0.25 + 0.5 / 2.0);
    d.RemoveAllData();
    ids = block.Draw(&d, T_POINT2D(0.0, 0.0));
    ASSERT_EQ(ids.GetSize(), 2);
    // Redrawn with the offsets (1.0, 0.0) where it was drawn with (0.5, -0.25): half a unit
    // further in x, a quarter up, times the scale.
    EXPECT_NEAR(d.GetFigure(ids[1])->m_points[0].x - before.x, 0.5 * 2.0, 1e-9);
    EXPECT_NEAR(d.GetFigure(ids[1])->m_points[0].y - before.y, 0.25 * 2.0, 1e-9);
}

// With the command's file writes held, a stored move stays in memory and the file is untouched
// until the host writes the tables itself.
TEST(TextMoveFile, HeldWritesLeaveTheProjectFile) {
    const std::string path = TempProject("held");
    std::remove(path.c_str());
    {
        PostDBBuilder b;
        AddTextOwners(b);
        ASSERT_TRUE(b.Save(path.c_str()));
    }
    struct Row {
        const char* label;
        BOOL write;
        double file;  // slot 1 x in the file after one move of +1 (0.5 before)
    } rows[] = {{"held", FALSE, 0.5}, {"written", TRUE, 1.5}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CDBDoc doc;
        ASSERT_TRUE(doc.OpenDocument(path.c_str())) << doc.GetLastError().GetString();
        DocScope scope(doc);
        CDBCommand::SetWriteFile(r.write);
        EXPECT_EQ(StoreTextMove(kFooting, FVD_TEXT_KIND_MEMB, 1, 1.0, 0.0), 1);
        CDBCommand::SetWriteFile(TRUE);
        EXPECT_DOUBLE_EQ(doc.GetMDBCtrl()->GetDBPost()->Table<DBT_MEMB>().Find(kFooting)->textX[1], 1.5);
        CDataBase file;
        ASSERT_TRUE(file.Open(path.c_str()));
        EXPECT_DOUBLE_EQ(file.Table<DBT_MEMB>().Find(kFooting)->textX[1], r.file);
    }
    std::remove(path.c_str());
}

}  // namespace figview
