// T_PVX_BAR_INFO: the bar settings block, one per bar container.
//
// A container's copy of the model's display settings that its pages and option dialogs edit:
// InitDlgBarData fills it from the model (ReadFromModel), the pages and dialogs change it, and
// the execute step writes it back (WriteToModel). The fields are numbered 1 to 41 as the bars
// number them; each comment names the model's or the display options' counterpart, or "none"
// for a field that stays in the block. Fields 22 to 25 and 27 to 29 are the record the legend
// details dialog edits (m_Legend); field 26, the legend box, sits between them in that
// numbering but lives beside the record.
#pragma once

#include "module/contour/CLegendDetDlg.h"
#include "platform/afx/afxtypes.h"

class I_PVXModel;

struct T_PVX_BAR_INFO {
    static constexpr DWORD kLoadTypeMask = 0x18230F89;  // load kinds the pages' load lists offer
    static constexpr DWORD kTimeHistoryBit = 0x10;      // time-history cases (load type 5)
    static constexpr DWORD kEnvelopeBit = 0x40000;      // envelopes (load type 12)
    static constexpr int kCompressWords = 11;

    DWORD dwLoadTypeMask = 0;             // 1: load kinds of the load lists; none
    int nRepeatMode = 0;                  // 2: animation 0 half cycle, 1 full cycle; animation engine
    int nBitsPerPixel = 16;               // 3: film colour depth 8, 16 or 24; animation engine
    int nFramesPerHalfCycle = 8;          // 4: animation engine
    int nFramesPerSecond = 8;             // 5: animation engine
    int bAnimation = 0;                   // 6: the pages' animation box; the model's animation switch
    int bAnimateContour = 1;              // 7: contour animated too; animation engine
    int bCompress = 0;                    // 8: film stream compressed; animation engine
    DWORD adwCompressOptions[kCompressWords] = {};  // 9-19: compressor options; animation engine
    int bContour = 0;                     // 20: the pages' contour box; model
    int nCarried21 = 0;                   // 21: carried unchanged; the model's mode-shape display switch
    T_PVX_LEGEND_SET m_Legend{0, 0, 0, 0, 0, 0, 0};  // 22-25, 27-29 (see CPVXLegDetDlg)
    int bLegend = 0;                      // 26: the pages' legend box; options' legend switch
    int bDeformed = 0;                    // 30: the pages' deformation box; model
    int bUndeformed = 0;                  // 31: undeformed outline under a deformed result; options (the switch the drawing reads)
    int nMinMaxMode = 0;                  // 32: 0 min and max, 1 absolute max, 2 max, 3 min; options
    int nDecimals = 0;                    // 33: decimals of numbers (0..15); options
    int nTextAngle = 0;                   // 34: number text angle, tenths of a degree; options
    int bValues = 0;                      // 35: the pages' values box; options
    int bExponent = 0;                    // 36: exponent notation; options and the model's copy
    int bOnlyMinMax = 0;                  // 37: only the extreme numbers; options
    int bOutputDirection = 0;             // 38: numbers along the text angle; options
    double dMaxRatio = 0.0;               // 39: largest ratio of the extreme filter, percent; options
    int nCarried40 = 0;                   // 40: carried unchanged (settlement sets 1); the model's bounding-box rebuild switch
    int nCarried41 = 0;                   // 41: carried unchanged; the model's mode-shape contour switch

    // Every field with a counterpart taken from the model (field 36 from the model's copy).
    // Fields 1 and 27 to 29 are left as they are. A model without display options leaves the
    // option fields alone.
    void ReadFromModel(I_PVXModel& model);
    // The reverse: every field with a counterpart written to the model; field 36 to both the
    // options and the model's copy.
    void WriteToModel(I_PVXModel& model) const;
};
