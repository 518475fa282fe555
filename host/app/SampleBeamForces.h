// Analysis members of type 201 for the foundation beams, with their design forces, so the beam
// force diagram sheets have beams to draw.
#pragma once

class CDataBase;

namespace sample_beamforces {

// Load per metre of load case lc on the ordinary beam (kN/m); the link beam carries half.
inline double BeamLoad(unsigned lc, bool link) { return 5.0 * lc * (link ? 0.5 : 1.0); }

// Adds the members 459 (ordinary, along the first grade beam's first two nodes) and 460 (link, over the
// tie's nodes) with MBWG/STRG rows for the load cases the copied member has forces for (the
// static cases DL, LL, WX); returns the number of members.
// Station t = s/8 of a member of length L under load q = BeamLoad:
//   V = q L (1/2 - t), M = q L^2 (t (1 - t) / 2 - 1/12), T = 0.2 lc (1 - 2 t), N = 0.
long AddFoundationBeamMembers(CDataBase& db);

}  // namespace sample_beamforces
