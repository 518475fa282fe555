// One point of a two-dimensional graph, and the series maps that carry graphs between the model
// and the graph windows: series number (mode number) to an array of points in ascending x.
#pragma once

#include "platform/afx/CArray.h"
#include "platform/afx/CMap.h"

struct T_GRPH_D {
    double x;
    double y;
};

typedef CArray<T_GRPH_D, T_GRPH_D&> PVXGraphSeries;
typedef CMap<UINT, UINT, PVXGraphSeries*, PVXGraphSeries*> PVXGraphSeriesMap;

// Deletes every series array a map owns and empties the map.
inline void FreePVXGraphSeriesMap(PVXGraphSeriesMap& map) {
    POSITION pos = map.GetStartPosition();
    while (pos) {
        UINT key;
        PVXGraphSeries* pSeries = nullptr;
        map.GetNextAssoc(pos, key, pSeries);
        delete pSeries;
    }
    map.RemoveAll();
}
