// Element faces as flat arrays read in place (the arrays CGeomCtrl.h describes), and a run of
// elements' faces held one after another.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/afx/afxtypes.h"

// Faces as CGeomCtrl.h describes them, read in place: nFaces of counts[nCounts], index[nIndex]
// into coords[nCoords], keys[nKeys] (null for none).
struct ShapeView {
    int nFaces = 0;
    const int* counts = nullptr;
    size_t nCounts = 0;
    const int* index = nullptr;
    size_t nIndex = 0;
    const double* coords = nullptr;
    size_t nCoords = 0;
    const UINT* keys = nullptr;
    size_t nKeys = 0;
};

// The faces of a run of elements one after another, as MakeShapeElement makes each (index2
// left out): element e's arrays start at faceAt[e], indexAt[e] and coordAt[e] (its index
// counting from its own first coordinate, its node keys at coordAt[e] / 3).
struct ElementShapes {
    std::vector<int> counts, index;
    std::vector<double> coords;
    std::vector<UINT> nodeKeys;
    std::vector<size_t> faceAt{0}, indexAt{0}, coordAt{0};
    size_t Elements() const { return faceAt.size() - 1; }
    ShapeView View(size_t e, bool bKeys) const {
        ShapeView v;
        v.nFaces = static_cast<int>(faceAt[e + 1] - faceAt[e]);
        v.counts = counts.data() + faceAt[e];
        v.nCounts = static_cast<size_t>(v.nFaces);
        v.index = index.data() + indexAt[e];
        v.nIndex = indexAt[e + 1] - indexAt[e];
        v.coords = coords.data() + coordAt[e];
        v.nCoords = coordAt[e + 1] - coordAt[e];
        v.keys = bKeys ? nodeKeys.data() + coordAt[e] / 3 : nullptr;
        v.nKeys = bKeys ? v.nCoords / 3 : 0;
        return v;
    }
};
