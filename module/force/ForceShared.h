// Small constants and helpers several files of the force engine share: the segments of a member
// force record, the text alignments of the numbers, the envelope load type, the record slot of a
// load step, and the edge flags and keys of the faces the engines hand round.
#pragma once

#include <cmath>

#include "host/grx/C3DPoint.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CList.h"
#include "platform/afx/afxtypes.h"

namespace forceshared {

inline constexpr int kSegments = 8;            // equal segments of a member force record
inline constexpr double kZeroValue = 1e-15;    // a governing value this small counts as 1
inline constexpr int kEnvelopeLoad = 12;       // load type of the envelope of combinations

// Direction sign of each component's diagram: axial force, shears and torsion along +z or +y;
// moments drawn on their tension side (minus sign).
inline constexpr double kDirSign[6] = {1.0, 1.0, 1.0, -1.0, -1.0, -1.0};

// Text alignments (the TA_ flags) the numbers are written with.
inline constexpr int kAlignTop = 0;
inline constexpr int kAlignLeft = 0;
inline constexpr int kAlignRight = 2;
inline constexpr int kAlignCentre = 6;
inline constexpr int kAlignBottom = 8;
inline constexpr int kAlignBottomLeft = kAlignBottom | kAlignLeft;
inline constexpr int kAlignBottomRight = kAlignBottom | kAlignRight;
inline constexpr int kAlignBottomCentre = kAlignBottom | kAlignCentre;

// Of two values the one of larger magnitude; the second on equal magnitudes.
inline double LargerOf(double a, double b) { return std::fabs(a) > std::fabs(b) ? a : b; }

// The record slot of the model's load step (load-result kind): 0 value or maximum, 1 minimum,
// 2 the larger magnitude; -1 for another step.
inline int SlotOfLoadStep(int nStep) {
    switch (nStep) {
    case 0: case 1: return 0;
    case 2: return 1;
    case 3: return 2;
    default: return -1;
    }
}

// Flag i of a face (0 when the list is shorter or missing).
inline int FlagAt(const CArray<int>* pFlags, int i) { return pFlags && i < pFlags->GetSize() ? (*pFlags)[i] : 0; }

// Key i of a face (0 when the list is shorter or missing).
inline UINT KeyAt(const CArray<UINT>* pKeys, int i) { return pKeys && i < pKeys->GetSize() ? (*pKeys)[i] : 0; }

// Edge flags of a face as an int list (every edge when the face brought none).
inline void FaceFlags(const CArray<int>* pFrom, int n, CArray<int, int>& to) {
    to.SetSize(n);
    for (int i = 0; i < n; ++i) to[i] = pFrom && i < pFrom->GetSize() ? (*pFrom)[i] : 1;
}

// The mean of a face's vertices (the origin for an empty face).
inline C3DPoint MeanOf(const CList<C3DPoint>& face) {
    C3DPoint c(0.0, 0.0, 0.0);
    int n = 0;
    for (POSITION pos = face.GetHeadPosition(); pos; ++n) c = c + face.GetNext(pos);
    return n > 0 ? c * (1.0 / n) : c;
}

}  // namespace forceshared
