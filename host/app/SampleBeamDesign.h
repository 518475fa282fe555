// The beam design table of the sample (PDDBEAM): the steel and crack widths of its foundation
// beam members, by the closed forms docs/DATABASE.md gives.
#pragma once

class CDataBase;

namespace sample_beamdesign {

// One design row per analysis member of type 201 (sub-kinds 0 to 2) that stands for a
// foundation beam and has design forces; returns the number of rows.
long AddBeamDesign(CDataBase& db);

}  // namespace sample_beamdesign
