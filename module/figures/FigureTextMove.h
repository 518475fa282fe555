// Moved figure texts: the offsets a user gave a figure text by dragging it, kept in the project
// with the object the text belongs to, so that the text comes back at its moved place whenever
// the figure is drawn again.
//
// A movable text carries two integer X-properties: "FVD_TEXT_POS" = 100 x kind + slot, and
// "FVD_TEXT_OWN" = the key of the owning record. Owners by kind:
//     0  a member of the foundation model (MEMB): its text offsets of slot i
//    10  the global parameters (GBPA, one record): their text offsets of slot i
//    11  the notes of one figure type (FVDTEXT, keyed by the type): slot 0 its title, 1 its load
//        case line; a type without a record shows the global parameters' offsets, where older
//        projects keep the notes' offsets of every sheet, and its first move starts from them
// Other kinds have no store: their texts are neither tagged nor moved. Offsets are model units
// (a drag in the drawing divided by the draw scale); CVdrawUtil::MoveTextX applies model units,
// so a stored offset moves the text the same distance at any draw scale. Every change is one
// "TextMove" database command on the model database; owner keys above INT_MAX name no record
// (they cannot be tagged) and fail.
//
//     // after a text block has drawn one text per slot:
//     ApplyTextMoves(drawing, ids, &memberKey, slots, FVD_TEXT_KIND_MEMB);
//     // the view reports a finished drag:
//     RecordTextMove(drawing, text, dx, dy);
#pragma once

#include "host/base/GeomTypes.h"
#include "platform/afx/CArray.h"
#include "platform/afx/afxtypes.h"

class CDataBase;
class CVdrawUtil;
class CvdFigure;

enum { FVD_TEXT_KIND_MEMB = 0, FVD_TEXT_KIND_GBPA = 10, FVD_TEXT_KIND_NOTES = 11 };

// X-property names of a movable text.
extern const char* const kFvdTextPos;  // "FVD_TEXT_POS"
extern const char* const kFvdTextOwn;  // "FVD_TEXT_OWN"

// false when slot or kind is -1; else code = 100 x kind + slot.
bool EncodeTextPos(int& code, int slot, int kind);
// kind = code / 100, slot = code % 100; always true.
bool DecodeTextPos(int code, int& slot, int& kind);

// Tags freshly drawn texts (texts[i] drawn for slots[i]) with their position and owner and moves
// each by its stored offset. Only the count common to texts, slots and the offsets read is
// tagged; a slot -1 ends the walk. Nothing happens without slots, without a drawing or when the
// owner's offsets cannot be read (no record, an unknown kind, an owner above INT_MAX).
void ApplyTextMoves(CVdrawUtil* target, const CArray<long>& texts, const UINT* owner, const CArray<int>& slots,
                    int kind);
// Stores the drag (dx, dy drawing units) of a text the user moved in target: the offsets of its
// owner's slot grow by the drag divided by the draw scale. Non-zero only when stored; 0 for a
// text without the two properties (not movable) and for every failed store.
int RecordTextMove(CVdrawUtil* target, const CvdFigure* text, double dx, double dy);
// Adds (dx, dy) model units to the offsets of the owner's slot in one "TextMove" command,
// committed when the move succeeded and abandoned otherwise. Non-zero only when committed.
int StoreTextMove(UINT owner, int kind, int slot, double dx, double dy);

// offsets = the stored (x, y) of every slot in order; (0, 0) for slot -1 or a slot the record
// has not. false (offsets empty) for an unknown kind, a missing record or an owner above INT_MAX.
bool ReadTextMoves(UINT owner, int kind, const CArray<int>& slots, CArray<T_POINT2D>& offsets);
bool ReadMembTextMoves(UINT owner, const CArray<int>& slots, CArray<T_POINT2D>& offsets);
bool ReadGbpaTextMoves(UINT owner, const CArray<int>& slots, CArray<T_POINT2D>& offsets);
bool ReadNotesTextMoves(UINT figureType, const CArray<int>& slots, CArray<T_POINT2D>& offsets);

// Adds (dx, dy) to the record's offsets of slot and writes the record back (in memory; the
// command's commit writes the file). 0 when the table, the record or the slot is missing.
int MoveMembText(UINT owner, int slot, double dx, double dy, CDataBase* database);
int MoveGbpaText(UINT owner, int slot, double dx, double dy, CDataBase* database);

// Clears every slot of the owner in one "TextMove" command; non-zero only when committed.
int ResetTextMoves(UINT owner, int kind);
