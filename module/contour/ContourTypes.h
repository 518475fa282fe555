// Small records of the colour scale and the legend.
//
// RankMapKnot_tag is one custom level value of a CContourEngine: the level index it pins and
// the value it pins it to. The engine keeps its knots sorted by rank, one per rank at most.
//
// CLgndValRect is one value label of the legend scale: the level value the label shows and the
// rectangle the legend drew it in. The legend keeps two of them (index 0 the label of the top
// level, index 1 that of the bottom level) and the popup legend window hit-tests them so the
// user can type a new end value in place.
#pragma once

#include "platform/afx/afxtypes.h"

struct RankMapKnot_tag {
    int rank;      // level index, 0 to N-1
    double value;  // value pinned at that level
};

class CLgndValRect {
public:
    double m_dValue;  // level value shown by the label
    CRect m_rect;     // device rectangle of the label's text line

    CLgndValRect() : m_dValue(0.0) {}
    CLgndValRect(const CLgndValRect&) = default;
    CLgndValRect& operator=(const CLgndValRect&) = default;

    // Back to value 0 and an empty rectangle at the origin.
    void Initialize() {
        m_dValue = 0.0;
        m_rect.SetRectEmpty();
    }
};
