// CIsofCheckToolUtil: the check library's queries on the objects standing on a foundation that
// the punching and shear checks treat as one loaded rectangle (a wall group).
#pragma once

#include <vector>

#include "host/base/GeomTypes.h"
#include "platform/afx/CArray.h"

// The section of a column or of a loaded rectangle: b along its angle, h across, in mm until
// UnitConvert turns them into another unit.
struct Check_Colm_D {
    double b = 0.0;
    double h = 0.0;
    void UnitConvert(double ratio) {
        b *= ratio;
        h *= ratio;
    }
};

// One wall of a group: its line and thickness, in one length unit.
struct T_WALL_SEGMENT {
    T_POINT2D a, b;
    double thick = 0.0;
};

class CIsofCheckToolUtil {
public:
    // The rectangle of a wall group: its side b runs along the group's longest wall (the first of
    // equals), at angle degrees in reading order (-90, 90]; b and h span every wall widened by its
    // thickness; centre is the rectangle's middle. Lengths in the walls' unit. FALSE for no wall, a
    // wall of no length or a thickness below 0.
    static BOOL s_GetWallGroupBox(const std::vector<T_WALL_SEGMENT>& walls, double& angle, double& b, double& h,
                                  T_POINT2D& centre);
    // The same for the walls (WALL members, by key) of the document's project: section in mm, centre
    // in the model's unit. FALSE when a key is no wall of the project or the box above fails. The
    // last argument is kept for callers.
    static BOOL s_GetUpPolyInfo(const CArray<UINT, UINT>& walls, double& angle, Check_Colm_D& section,
                                T_POINT2D& centre, int);
};
