// Display modes and result ids: the two integers that say what the model draws.
//
// A display mode names the result kind the model's render switch draws (stored in
// CPVXBarContainerBase::m_nCurrentMode and copied into the model); a result id names the bar
// page that chose it (CPVXBarContainerBase::m_nCurrentTMMode). Both stay plain `int` in every
// signature, as the bars, the host and the stored page settings pass them; these names are only
// for reading the code. Modes without a name here (12-15, 23-62 except those below) are figure
// modes of the design-data engine and pass through unchanged.
#pragma once

namespace PVXMode {
constexpr int kNone = -1;
constexpr int kReaction = 0;              // support reaction arrows and numbers
constexpr int kDeformedShape = 1;         // deformed shape over the undeformed outline
constexpr int kDispContour = 2;           // displacement contour
constexpr int kNodeDisp = 3;              // displacement of picked nodes
constexpr int kModeShape = 4;             // mode shapes
constexpr int kStoryShearRatio = 5;       // story shear-force ratio
constexpr int kFrameForceContour = 6;     // beam, column and truss forces as bands
constexpr int kFrameForceDiagram = 7;     // shear-force and bending-moment diagrams
constexpr int kWallForceContour = 8;
constexpr int kWallForceDiagram = 9;
constexpr int kPlateForce = 10;
constexpr int kPlateStress = 11;          // plate principal stresses
constexpr int kSlabForce = 16;
constexpr int kSlabRebar = 17;
constexpr int kSlabCrack = 18;
constexpr int kSlabDeflection = 19;
constexpr int kSlabWall = 20;             // slab design forces across wall-end cuts
constexpr int kSlabStrip = 21;            // strip force diagrams
constexpr int kSlabForceBeam = 22;        // slab forces on slab beams
constexpr int kDesignSteel = 23;          // figure mode: design steel
constexpr int kDesignACR = 28;            // figure mode: axial-compression ratio
constexpr int kFigFrameContour = 30;      // figure modes built like 6 and 7
constexpr int kFigFrameDiagram = 31;
constexpr int kFigColumnForce = 32;       // column forces for the design figures
constexpr int kDesignMoment = 35;         // figure mode: moment envelope
constexpr int kDesignShear = 36;          // figure mode: shear envelope
constexpr int kFigMoment = 38;
constexpr int kFigShear = 39;
constexpr int kTimeHistory = 63;          // displacement with time history
constexpr int kSettlement = 69;
constexpr int kReactionContour = 70;      // spring pressures as contours
constexpr int kLast = 70;                 // modes are -1 or 0..kLast
}  // namespace PVXMode

namespace PVXResult {
constexpr int kNone = -1;
constexpr int kReacPile = 7101;           // reaction forces
constexpr int kReacContour = 7102;        // reaction contour
constexpr int kReacReverse = 7103;        // reversed reactions
constexpr int kDeform = 7201;
constexpr int kSettlement = 7202;
constexpr int kModeShape = 7203;
constexpr int kDispContour = 7204;
constexpr int kNodeDisp = 7205;
constexpr int kBeamForce = 7301;
constexpr int kBeamDiagram = 7302;
constexpr int kSlabForce = 7303;
constexpr int kSlabForceBeam = 7304;
constexpr int kWallForce = 7305;
constexpr int kWallDiagram = 7306;
constexpr int kPlateForce = 7307;
constexpr int kPlateStress = 7308;
constexpr int kSlabWall = 7401;
constexpr int kSlabStrip = 7402;
constexpr int kStoryShear = 7501;
constexpr int kSlabRebar = 12201;
}  // namespace PVXResult
