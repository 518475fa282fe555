// The design result of one section of a beam-like member (a foundation beam or a slab band)
// under one load key. The meaning of each value lies with the design: for a slab band the
// sample writes 0 bottom steel, 1 top steel (mm²), 2 stirrups (mm²/m), 3 and 4 not designed (0).
#pragma once

struct S_BEAMREBARAS {
    double d[5] = {0, 0, 0, 0, 0};
};
