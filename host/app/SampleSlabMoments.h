// The sample's slab member moments: the design moments of a rectangular slab member meshed on a
// grid of nx x ny plates, from the moments of its mesh nodes.
#pragma once

#include <functional>
#include <vector>

#include "host/app/SampleProject.h"

struct SlabMemberMoments {
    double centreX = 0.0;     // Mxx at the middle node
    double centreY = 0.0;     // Myy at the middle node
    std::vector<double> pos;  // three per outline edge: the largest positive moment across the edge
    std::vector<double> neg;  // the same, negative
};

// Moments (mxx, myy) at mesh node (i, j), 0 <= i <= nx, 0 <= j <= ny.
using NodeMoments = std::function<void(int i, int j, double& mxx, double& myy)>;

// The outline runs (0, 0), (nx, 0), (nx, ny), (0, ny). On each edge three points at 1/6, 1/2 and
// 5/6 of it (the nearest mesh line) take the extremes of the moment that bends across the edge
// (Myy for an edge along x, Mxx for an edge along y) along the mesh line from that point across
// the slab: the design moments of the strip that ends there. The positive list holds the largest
// value (0 when none is positive), the negative list the smallest (0 when none is negative).
SlabMemberMoments MakeSlabMemberMoments(int nx, int ny, const NodeMoments& at);
