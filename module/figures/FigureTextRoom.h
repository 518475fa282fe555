// CFVDTextRoom: the boxes of the texts a sheet has written, so that a new text can be moved
// clear of them before a reader finds two numbers over each other.
//
// A text's box is its advance width (estimated as the drawing does: one height per CJK
// character, 0.6 per other) by its height, turned with it. Two boxes clash when they share more
// than a tenth of the smaller one. With a line gap set, two texts on one line of the sheet (their
// extents sharing more than half the smaller height across) clash too when less than that many
// heights lie between them along it, so that two numbers never read as one.
//
//     CFVDTextRoom room;
//     room.Collect(*drawing);                      // what is on the sheet already
//     CArray<long> ids = block.Draw(drawing, at);
//     room.Place(*drawing, ids, {{0.2, 0}, {-0.2, 0}});  // tries the offsets in turn, keeps the box
#pragma once

#include <unordered_map>
#include <vector>

#include "host/base/GeomTypes.h"
#include "platform/afx/CArray.h"

class CVdrawUtil;

class CFVDTextRoom {
public:
    // Keeps the boxes of every text on the drawing (on the layer only, when one is given).
    void Collect(const CVdrawUtil& d, int layer = -1);
    // Keeps the boxes of the texts ids.
    void Add(const CVdrawUtil& d, const CArray<long>& ids);
    // TRUE when a text of ids clashes with a kept box (bLine: or runs into one on its line).
    BOOL Clashes(const CVdrawUtil& d, const CArray<long>& ids, bool bLine = true) const;
    // Leaves the texts where they are when they are clear; else moves them by the first of the
    // offsets (drawing units, from where they were drawn) that clears them; when none does, the
    // one that keeps their boxes apart and runs into the fewest texts (with a line gap set):
    // first those nearer than kReadGap heights, which a reader takes for one with them, then
    // those within the line gap; or back. Keeps their boxes either way; TRUE when they ended clear.
    BOOL Place(CVdrawUtil& d, const CArray<long>& ids, const std::vector<T_POINT2D>& offsets);

    // Heights kept clear between two texts on one line (0: only their boxes must not share).
    void SetLineGap(double heights) { m_dLineGap = heights; }
    // Heights between two texts on one line under which a reader takes them for one.
    static constexpr double kReadGap = 0.5;

    // Area shared by two convex quadrilaterals (corners counter-clockwise).
    static double SharedArea(const T_POINT2D a[4], const T_POINT2D b[4]);

private:
    struct Quad {
        T_POINT2D c[4];
        double area = 0.0;
        double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;  // its extent
    };
    // TRUE when o stands on q's line less than gap heights before or after it.
    static BOOL RunsTogether(const Quad& q, const Quad& o, double gap);
    static BOOL BoxOf(const CVdrawUtil& d, long id, Quad& q);
    // The kept boxes q clashes with (gap > 0: or runs into on its line, closer than gap heights),
    // counted up to nStop.
    int Count(const Quad& q, double gap, int nStop) const;
    int Count(const CVdrawUtil& d, const CArray<long>& ids, double gap, int nStop) const;
    void Keep(const Quad& q);
    // The boxes in square buckets of m_dCell, by bucket column and row.
    long Cell(double v) const;
    static unsigned long long Key(long cx, long cy) {
        return (static_cast<unsigned long long>(static_cast<unsigned int>(cx)) << 32) | static_cast<unsigned int>(cy);
    }
    std::vector<Quad> m_Boxes;
    std::unordered_map<unsigned long long, std::vector<size_t>> m_Buckets;
    double m_dCell = 0.0;
    double m_dLineGap = 0.0;
};
