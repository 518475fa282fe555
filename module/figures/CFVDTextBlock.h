// CFVDTextBlock: a multi-line figure text drawn as one block.
//
// The block's lines (separated by line feeds) go into a drawing one below the other at a pitch
// of 1.1 text heights (2 for a spread block turned off the level), turned together by the
// block's angle about a pivot, each line in its own colour when the colour list has one for it.
// The vertical justification code also places the block as a whole: 100 centres it on the
// point, 8 ends it there (its last line on the point), 0 hangs it a tenth of a line below; the
// stand-off moves a block of code 8 or 0 that many text heights further from the point.
// DrawInPolygon places the block at one of nine anchors of an outline's box (corners, edge
// middles, centre), in the outline's own turned frame:
//
//     CFVDTextBlock block;
//     block.m_strText = "R:1.20(3)\nR:0.80(4)";
//     block.m_Colors.Add(0x00FF00); block.m_Colors.Add(0x0000FF);
//     block.SetAnchor(8);
//     block.m_Polygon.Copy(outline);
//     block.m_dAngle = 30.0;
//     block.DrawInPolygon(VdGetDrawingHandle(drawing), 1);
//
// Points are model coordinates; angles degrees counter-clockwise; colours COLORREF.
#pragma once

#include "host/base/GeomTypes.h"
#include "host/vdraw/CVdrawUtil.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"

class CFVDTextBlock {
public:
    CFVDTextBlock() = default;

    // Anchor kind and the justification it implies: 0 (hor 2, ver 0) top left, 1 (6, 8) top
    // middle, 2 (0, 0) top right, 3 (2, 8) bottom left, 4 (6, 0) bottom middle, 5 (0, 8) bottom
    // right, 6 and 7 (6, 8) left and right middle turned 90 degrees, 8 (6, 100) centre. Any
    // other kind is stored and changes nothing else.
    void SetAnchor(int kind);
    // Owner of the texts for moving them, and their kinds (-1: none).
    void SetMoveInfo(int ownerKey, int ownerCategory, int kind1, int kind2);
    // Tags the texts just drawn (one per text kind, in order) with their owner and moves them by
    // the offsets stored for them (FigureTextMove.h); nothing without text kinds. Draw calls it.
    void RegisterMove(CVdrawUtil* drawing, const CArray<long>& ids) const;

    // Draws the block with its layout at the point; returns the text ids.
    CArray<long> Draw(CVdrawUtil* drawing, const T_POINT2D& at);
    CArray<long> DrawAt(int drawing, const T_POINT2D& at);
    // The lines from the point down, turned about pivot; with layout the vertical code then
    // places the block (see above). Nothing is drawn at a draw scale below 1e-6.
    CArray<long> DrawLines(CVdrawUtil* drawing, const T_POINT2D& at, const T_POINT2D& pivot, BOOL layout);
    // Draws the block at its anchor in m_Polygon (see the class note); rotateOutline 1 takes the
    // anchor in the outline turned back by the block's angle. No ids without a drawing or an
    // outline.
    CArray<long> DrawInPolygon(int drawing, int rotateOutline);
    // The point DrawInPolygon draws at; FALSE when the outline gives none.
    BOOL GetPolygonAnchor(int rotateOutline, T_POINT2D& at) const;

    double m_dAngle = 0.0;             // rotation of the block
    CArray<T_POINT2D> m_Polygon;       // outline of DrawInPolygon
    int m_nHorJust = VdTextHorCenter;  // DrawText's horizontal code
    int m_nVerJust = VdTextVerCenter;  // DrawText's vertical code, also the block layout
    int m_nAnchor = 1;                 // anchor kind, see SetAnchor
    CArray<COLORREF> m_Colors;         // colour of line i; further lines keep the layer's
    CString m_strText;                 // the lines, separated by line feeds
    double m_dAnchorAngle = 0.0;       // added to the angle (90 for anchor kinds 6 and 7)
    BOOL m_bSnapToOutline = 0;         // DrawInPolygon moves the anchor onto the outline
    BOOL m_bSpreadTurned = 0;          // a block turned off the level sets its lines 2 apart
    double m_dStandOff = 0.0;          // text heights, see the class note
    CArray<DrawTextType> m_TextKinds;  // kinds of the texts for moving
    int m_nOwnerKey = 0;               // key of the element the texts belong to
    int m_nOwnerCategory = -1;         // kind of owner (10: the figure notes)
};
