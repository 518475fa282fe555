// Analysis members of type 201 for the foundation beams, with their design forces, so the beam
// force, reinforcement and crack sheets have beams to draw.
#pragma once

class CDataBase;

namespace sample_beamforces {

// Adds the members 459 (ordinary, along the first grade beam's first two nodes, model beam 527),
// 460 (link, over the annex tie's nodes, model beam 531) and 461 (rib beam, sub-kind 2, along
// the second grade beam, model beam 528) with the MBWG rows of the members they copy (406, 412,
// 407), so a sheet that reads either analysis member of a model beam draws it alike; returns the
// number of members. They get no member force stations (STRG): the frame force display shows
// the copied members.
long AddFoundationBeamMembers(CDataBase& db);

}  // namespace sample_beamforces
