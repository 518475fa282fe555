// The lists of the design result data engine that the host fills for the envelope and base-force
// figures (PVXHost_ShowDesign calls them after the figure's builders ran).
// Both take the members the host made active only (the model's flag-1 member list).
#pragma once

#include <string>

#include "platform/afx/afx.h"

class CFigureDesignData;
class I_PVXModel;

// Figures 35 and 36. Member-key list: the members of the foundation drawn as beams (201, 205,
// 204) that have MBWG forces for the load key, one per foundation beam (the first in member
// order of the members modelling it). Envelope list: per such beam the nine stations
// (k/8 from its first to its last node) with, in value row 0, the largest and in row 1 the
// smallest moment y (35) or shear z (36) over the design combinations (load key 0) or of the one
// load (another key: both rows equal). Sets the contour range and diagram scale of the list.
// Returns the number of beams (0: none, the lists are left empty).
int FillFoundationBeamEnvelope(I_PVXModel& m, CFigureDesignData& d, UINT nLoadKey);
// The foundation beams of the project (its foundation model's beam table, link beams included).
int CountFoundationBeams(I_PVXModel& m);

// Figures 42 to 56. Base-shear map: for every column standing on the foundation (a column whose
// modelling member is a foundation column), the five forces of its lower end from the column
// forces of the model's load selection (the force engine's figure column forces): shear y,
// shear z, axial force, moment y, moment z; first point the lower end, second the upper end.
// Returns the number of columns; -1 when the column forces cannot be read for the load.
int FillBaseColumnForces(I_PVXModel& m, CFigureDesignData& d);

// Why the column forces of the model's load selection were not read, for the figures that draw
// them (40, 42 to 56): the project holds none (table MBCL) for the load, or none for one of the
// columns (the smallest key) of members; "" when every column has its forces.
std::string MissingColumnForces(I_PVXModel& m, const CArray<UINT, UINT>& members);
