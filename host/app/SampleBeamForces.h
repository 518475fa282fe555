// Analysis members of type 201 for the foundation beams, with their design forces, so the beam
// force diagram sheets have beams to draw.
#pragma once

class CDataBase;

namespace sample_beamforces {

// Adds the members 459 (ordinary, along the first grade beam's first two nodes, model beam 527)
// and 460 (link, over the annex tie's nodes, model beam 531) with the MBWG/STRG rows of the
// members they copy (406, 412), so a sheet that reads either analysis member of the model beam
// draws it alike; returns the number of members.
long AddFoundationBeamMembers(CDataBase& db);

}  // namespace sample_beamforces
