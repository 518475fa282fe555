// CPVXLabelSpacer: keeps the member labels of one drawing off each other while the host shows
// only a part of the model (one storey, a few members).
//
// The labels of one storey can still meet where members meet: a column's and a beam's label at
// one joint, the end values of two beams at their shared node. While a spacer is in use (a Use
// object lives, made by the render for a model with a part active), the label writers call
// CPVXLabelSpacer::TextOut instead of CDC::TextOut. The first label keeps the place its drawer
// gives it. A later label whose rectangle (as the device context will write it: extent, alignment
// and the font's escapement) meets one written before, sharing more than kTouch pixels across
// each of their sides, or stands on its line less than kApart of its height from it (read as one
// number with it, "0.0000.000"; a reader scans the picture's rows too, so a label beside another
// on one row keeps kApart of the smaller height from it across the row, turned or not), is moved
// along its own line of text, which follows its member,
// by its height: one height, then two ..., up to kMaxSteps, first the way the text reads, then
// back. Where that finds no place, the same is tried one line across (the height and kApart of
// it, either side), then two. It takes the first place clear of every earlier label; where none
// keeps kApart, the first that only keeps off them; and stays where its drawer put it when none
// does. Without a spacer in use, TextOut writes where asked, so
// whole-model pictures are unchanged.
//
//     CPVXLabelSpacer::Use spacer(bPartActive);   // for one drawing
//     CPVXLabelSpacer::TextOut(pDC, x, y, text);  // in a label writer
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"

class CDC;

class CPVXLabelSpacer {
public:
    static constexpr int kMaxSteps = 4;    // heights a label may move each way along its line
    static constexpr int kMaxAcross = 2;   // heights it may move across, when along finds no place
    static constexpr int kCell = 64;       // pixels: side of the cells the boxes are found by
    static constexpr double kTouch = 2.0;  // pixels two labels may share each way and not meet
    static constexpr double kApart = 0.5;  // heights a label keeps clear of another along its line
    static constexpr double kEndInset = 0.4;  // heights an end value stands inside its end

    // A spacer for the drawings made while it lives, when bOn; none otherwise.
    class Use {
    public:
        explicit Use(bool bOn);
        ~Use();
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;

    private:
        CPVXLabelSpacer* m_pPrev = nullptr;
        bool m_bOn = false;
    };

    // Writes text at (x, y) on pDC, moved clear of the earlier labels while a spacer is in use.
    static BOOL TextOut(CDC* pDC, int x, int y, const CString& text);
    // The reference point of a text written with nAlign in the DC's font, moved away from its
    // anchor pt by fractions of the text's height: dAlong along its line the way a left or right
    // alignment points, dAcross across it the way a top or bottom alignment points (a centred
    // text or a baseline stays). The end values of two members meeting at a node, one written
    // to the left of it and one to the right, keep a gap so between them.
    static CPoint AwayFromAnchor(CDC* pDC, CPoint pt, UINT nAlign, double dAlong, double dAcross);

private:
    // A label's rectangle as written: its corners, turned with the text, and their bounds.
    struct Box {
        double px[4], py[4];
        double x0, y0, x1, y1;
    };
    static Box BoxAt(double x, double y, double w, double h, double ox, double oy, double c, double s);
    template <class F> static void ForCells(const Box& b, F f);
    static bool Meet(const Box& a, const Box& b);
    bool IsClear(const Box& b) const;
    // b shares more than half the smaller height with an earlier label on the picture's rows and
    // stands less than g of that height from it along them.
    bool RunsIntoRow(const Box& b, double g) const;
    void Add(const Box& b);

    std::vector<Box> m_boxes;
    std::map<std::pair<int, int>, std::vector<size_t>> m_cells;  // boxes by the cells they meet
    static CPVXLabelSpacer* s_pCurrent;
};
