#include "module/figures/FigureTextMove.h"

#include <climits>
#include <cmath>

#include "host/check/ICheckToolUtil.h"
#include "host/cmd/CDBCommand.h"
#include "host/db/CDBDoc.h"
#include "host/db/CDataBase.h"
#include "host/db/FoundationCheck.h"
#include "host/db/FoundationRecords.h"
#include "host/db/FoundationTables.h"
#include "host/vdraw/CVdrawUtil.h"
#include "module/figures/FigureShared.h"

const char* const kFvdTextPos = "FVD_TEXT_POS";
const char* const kFvdTextOwn = "FVD_TEXT_OWN";

namespace {

// An owner key the text property (an int) can hold.
bool OwnerFits(UINT owner) { return owner <= static_cast<UINT>(INT_MAX); }

bool SlotFits(int slot) { return slot >= 0 && slot < MEMB_TEXT_SLOTS; }

// The offsets of slots out of a record's arrays.
void CollectOffsets(const double* xs, const double* ys, const CArray<int>& slots, CArray<T_POINT2D>& offsets) {
    for (INT_PTR i = 0; i < slots.GetSize(); ++i) {
        const int s = slots[i];
        offsets.Add(SlotFits(s) ? T_POINT2D(xs[s], ys[s]) : T_POINT2D(0.0, 0.0));
    }
}

// Runs change inside one "TextMove" command on the model database: committed when it returns
// non-zero, else abandoned. Non-zero only when committed.
template <class F> int InTextMoveCommand(F change) {
    CDBCommand cmd;
    cmd.SetCmd("TextMove", 1, 0, 0, 0);
    CDataBase* db = figshared::ModelDB();
    if (!db || !cmd.Open(db)) return 0;
    if (change(db)) return cmd.Commit();
    cmd.Abandon();  // a failed change is never reported as stored, whatever the abandon says
    return 0;
}

}  // namespace

bool EncodeTextPos(int& code, int slot, int kind) {
    if (slot == -1 || kind == -1) return false;
    code = 100 * kind + slot;
    return true;
}

bool DecodeTextPos(int code, int& slot, int& kind) {
    kind = code / 100;
    slot = code % 100;
    return true;
}

bool ReadMembTextMoves(UINT owner, const CArray<int>& slots, CArray<T_POINT2D>& offsets) {
    offsets.RemoveAll();
    T_MEMB_D m;
    if (!OwnerFits(owner) || !ICheckToolUtil::s_GetMemb(owner, m)) return false;
    CollectOffsets(m.textX, m.textY, slots, offsets);
    return offsets.GetSize() > 0;
}

bool ReadGbpaTextMoves(UINT owner, const CArray<int>& slots, CArray<T_POINT2D>& offsets) {
    offsets.RemoveAll();
    CDataBase* db = figshared::ModelDB();
    if (!OwnerFits(owner) || !db) return false;
    CClassGbpa gbpa;
    gbpa.ConnectToDB(db);
    T_GBPA_D g;
    // The global parameters are one record: the owner key the notes pass names no other.
    if (!gbpa.Get(GBPA_KEY, g)) return false;
    CollectOffsets(g.buffer.textX, g.buffer.textY, slots, offsets);
    return offsets.GetSize() > 0;
}

namespace {
// The notes' offsets of a figure type: its own record, else those of the global parameters
// (zero without them). false without a database or for a key the texts cannot carry.
bool NotesOffsets(UINT figureType, CDataBase* db, T_FVDTEXT_D& out) {
    out.Initialize();
    if (!db || !OwnerFits(figureType)) return false;
    if (const T_FVDTEXT_D* own = db->Table<DBT_FVDTEXT>().Find(figureType)) {
        out = *own;
        return true;
    }
    CClassGbpa gbpa;
    gbpa.ConnectToDB(db);
    T_GBPA_D g;
    if (gbpa.Get(GBPA_KEY, g))
        for (int i = 0; i < MEMB_TEXT_SLOTS; ++i) {
            out.textX[i] = g.buffer.textX[i];
            out.textY[i] = g.buffer.textY[i];
        }
    return true;
}
}  // namespace

bool ReadNotesTextMoves(UINT figureType, const CArray<int>& slots, CArray<T_POINT2D>& offsets) {
    offsets.RemoveAll();
    T_FVDTEXT_D notes;
    if (!NotesOffsets(figureType, figshared::ModelDB(), notes)) return false;
    CollectOffsets(notes.textX, notes.textY, slots, offsets);
    return offsets.GetSize() > 0;
}

bool ReadTextMoves(UINT owner, int kind, const CArray<int>& slots, CArray<T_POINT2D>& offsets) {
    if (kind == FVD_TEXT_KIND_MEMB) return ReadMembTextMoves(owner, slots, offsets);
    if (kind == FVD_TEXT_KIND_GBPA) return ReadGbpaTextMoves(owner, slots, offsets);
    if (kind == FVD_TEXT_KIND_NOTES) return ReadNotesTextMoves(owner, slots, offsets);
    offsets.RemoveAll();
    return false;
}

void ApplyTextMoves(CVdrawUtil* target, const CArray<long>& texts, const UINT* owner, const CArray<int>& slots,
                    int kind) {
    if (!target || !owner || slots.GetSize() == 0) return;
    CArray<T_POINT2D> offsets;
    if (!ReadTextMoves(*owner, kind, slots, offsets)) return;
    INT_PTR n = slots.GetSize();
    if (texts.GetSize() < n) n = texts.GetSize();
    if (offsets.GetSize() < n) n = offsets.GetSize();
    for (INT_PTR i = 0; i < n; ++i) {
        int code = 0;
        if (!EncodeTextPos(code, slots[i], kind)) break;
        target->MoveTextX(texts[i], offsets[i].x, offsets[i].y);
        target->AddXPropertyInt(texts[i], kFvdTextPos, code);
        target->AddXPropertyInt(texts[i], kFvdTextOwn, static_cast<int>(*owner));
        target->ReSetTextType(texts[i], nullptr);
    }
}

namespace {

// Runs edit(text x offsets, text y offsets) on the owner's record of kind and writes the record
// back (in memory); 0 when the record is missing or edit refuses.
template <class F> int EditOffsets(UINT owner, int kind, CDataBase* db, F edit) {
    if (!db || !OwnerFits(owner)) return 0;
    if (kind == FVD_TEXT_KIND_MEMB) {
        CClassMemb memb;
        memb.ConnectToDB(db);
        T_MEMB_D m;
        if (!memb.Get(owner, m) || !edit(m.textX, m.textY)) return 0;
        return memb.PrivateModify(owner, m, 1) ? 1 : 0;
    }
    if (kind == FVD_TEXT_KIND_GBPA) {
        CClassGbpa gbpa;
        gbpa.ConnectToDB(db);
        T_GBPA_D g;
        if (!gbpa.Get(GBPA_KEY, g) || !edit(g.buffer.textX, g.buffer.textY)) return 0;
        return gbpa.PrivateModify(g) ? 1 : 0;
    }
    if (kind == FVD_TEXT_KIND_NOTES) {
        T_FVDTEXT_D notes;
        if (!NotesOffsets(owner, db, notes) || !edit(notes.textX, notes.textY)) return 0;
        db->Table<DBT_FVDTEXT>().Set(owner, notes);
        return 1;
    }
    return 0;
}

int MoveOffsets(UINT owner, int kind, int slot, double dx, double dy, CDataBase* db) {
    return EditOffsets(owner, kind, db, [&](double* xs, double* ys) {
        if (!SlotFits(slot)) return false;
        // An offset the project cannot hold (infinite, or beyond its sheets' reach) is refused:
        // stored, it would keep every later reader from opening the project.
        const double x = xs[slot] + dx, y = ys[slot] + dy, limit = pvxdb::TextOffsetLimit(*db);
        if (!(std::fabs(x) <= limit && std::fabs(y) <= limit)) return false;
        xs[slot] = x;
        ys[slot] = y;
        return true;
    });
}

}  // namespace

int MoveMembText(UINT owner, int slot, double dx, double dy, CDataBase* database) {
    return MoveOffsets(owner, FVD_TEXT_KIND_MEMB, slot, dx, dy, database);
}

int MoveGbpaText(UINT owner, int slot, double dx, double dy, CDataBase* database) {
    return MoveOffsets(owner, FVD_TEXT_KIND_GBPA, slot, dx, dy, database);
}

int StoreTextMove(UINT owner, int kind, int slot, double dx, double dy) {
    if (kind != FVD_TEXT_KIND_MEMB && kind != FVD_TEXT_KIND_GBPA && kind != FVD_TEXT_KIND_NOTES) {
        // No store: the command opens and is abandoned, as for any failed move.
        return InTextMoveCommand([](CDataBase*) { return 0; });
    }
    return InTextMoveCommand([&](CDataBase* db) { return MoveOffsets(owner, kind, slot, dx, dy, db); });
}

int RecordTextMove(CVdrawUtil* target, const CvdFigure* text, double dx, double dy) {
    if (!target) return 0;
    int code = 0, own = 0;
    if (!target->GetTextPosInfo_VDF(text, kFvdTextPos, code)) return 0;
    if (!target->GetTextPosInfo_VDF(text, kFvdTextOwn, own)) return 0;
    if (own < 0) return 0;
    int slot = 0, kind = 0;
    DecodeTextPos(code, slot, kind);
    const double s = target->GetDrawScale();
    if (!(s >= 1e-6)) return 0;
    return StoreTextMove(static_cast<UINT>(own), kind, slot, dx / s, dy / s);
}

int ResetTextMoves(UINT owner, int kind) {
    if (!OwnerFits(owner)) return 0;  // a key the texts cannot carry: no such owner
    if (kind != FVD_TEXT_KIND_MEMB && kind != FVD_TEXT_KIND_GBPA && kind != FVD_TEXT_KIND_NOTES) return 0;
    return InTextMoveCommand([&](CDataBase* db) {
        return EditOffsets(owner, kind, db, [](double* xs, double* ys) {
            for (int i = 0; i < MEMB_TEXT_SLOTS; ++i) xs[i] = ys[i] = 0.0;
            return true;
        });
    });
}
