// Record drawers of the base maps: each draws one record of a foundation-model table into a
// drawing, as the base-map figures (CFVDBaseMap.h) walk their table. Coordinates are model
// units (m); the drawing's current layer and text style are the caller's.
#pragma once

#include "host/base/GeomTypes.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"

class CDataBase;
class CVdrawUtil;
struct T_MEMB_D;
struct T_PILE_D;
struct T_PISP_D;
struct T_PONT_D;

// An axis (AXIS with its points in PONT): a line, or an arc when the axis has a chord. A missing
// record or an arc that cannot be formed is skipped (TRUE); a straight axis with a missing end
// point returns FALSE: the walk stops there.
BOOL DrawBaseMapAxis(CVdrawUtil* d, UINT key, CDataBase* db);
// A column above the foundation: a circle of diameter b when h < 0, else the turned b x h
// rectangle (h exactly 0 included).
BOOL DrawBaseMapColumn(CVdrawUtil* d, UINT key);
// A wall or a foundation beam: the line (or arc) of its member.
BOOL DrawBaseMapLineMember(CVdrawUtil* d, UINT key, CDataBase* db, int wall);
// A column footing: every step's outline (circles for a circular footing) and, for a joined
// footing of at least two steps with equal point counts, one line from each point of the bottom
// step to the same point of the next.
BOOL DrawBaseMapFooting(CVdrawUtil* d, UINT key);
// The drawing of DrawBaseMapFooting from the footing's outlines (bottom step first), its step
// diameters and centre (circular footings) and its join flag. A closed outline's repeated point
// gets no second joining line.
void DrawFootingOutlines(CVdrawUtil* d, const CArray<T_POLYGON2D>& outlines, BOOL isCircle,
                         const CArray<double>& diameters, const T_POINT2D& centre, BOOL join);
// A raft: its outline, closed.
BOOL DrawBaseMapRaft(CVdrawUtil* d, UINT key, CDataBase* db);
// The pile's record, member, section and plan point; FALSE when one is missing.
BOOL PileLookups(UINT key, T_PILE_D& pile, T_MEMB_D& memb, T_PISP_D& sec, T_PONT_D& pont);
// A pile: a circle of its section's diameter about its point.
BOOL DrawBaseMapPile(CVdrawUtil* d, UINT key);
// The data of a pile: the text "D:<diameter>\nL:<length>\nRa:<capacity>" at the bottom left of
// the square of side d about the pile's point.
BOOL DrawBaseMapPileInfo(CVdrawUtil* d, UINT key, CDataBase* db);
// The text of DrawBaseMapPileInfo; FALSE when a record is missing.
BOOL MakePileInfoText(UINT key, CDataBase* db, CString& text, T_POINT2D& centre, double& diameter);
// A settlement-mesh cell (SRCT): its turned rectangle.
BOOL DrawBaseMapSinkCell(CVdrawUtil* d, UINT key, CDataBase* db);

// One slab outline with its two direction arrows: the outline on outlineLayer (weight 100,
// colour 0x4080FF); on textLayer from the outline's centre an arrow one metre long (cur2m: the
// current length unit in metres) turned angleX degrees, head a quarter of it, in red, labelled
// "X" at its tip, and the same for angleY and "Y".
void DrawSlabDirection(const T_POLYGON2D& outline, double angleX, double angleY, CVdrawUtil* target,
                       int outlineLayer, int textLayer, double cur2m);
