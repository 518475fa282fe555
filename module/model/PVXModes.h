// Display modes and result ids: the two integers that say what the model draws.
//
// A display mode names the result kind the model's render switch draws (stored in
// CPVXBarContainerBase::m_nCurrentMode and copied into the model); a result id names the bar
// page that chose it (CPVXBarContainerBase::m_nCurrentTMMode). Both stay plain `int` in every
// signature, as the bars, the host and the stored page settings pass them; these names are only
// for reading the code. Modes from 23 up to 62 that have a name here are the figure modes the
// design figures share with the model (their legends, the force engine's frame lists); the
// others pass through unchanged and draw the plain model.
//
// What several switches need to know of a mode (the engine that serves it, whether it is a
// diagram display, whose flag puts it on the deformed shape) is kept once, in kModeTable below,
// and read through EngineOf, IsDiagramDisplay and ShapeOf.
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
constexpr int kLengthLegend = 15;         // draws the plain model; its legend unit is a length
constexpr int kSlabForce = 16;
constexpr int kSlabRebar = 17;
constexpr int kSlabCrack = 18;
constexpr int kSlabDeflection = 19;
constexpr int kSlabWall = 20;             // slab design forces across wall-end cuts
constexpr int kSlabStrip = 21;            // strip force diagrams
constexpr int kSlabForceBeam = 22;        // slab forces on slab beams
constexpr int kDesignSteel = 23;          // figure mode: beam design steel diagrams
constexpr int kDesignACR = 28;            // figure mode: axial-compression ratio
constexpr int kFigFrameContour = 30;      // figure modes built like 6 and 7
constexpr int kFigFrameDiagram = 31;
constexpr int kFigColumnForce = 32;       // column forces for the design figures
constexpr int kFigWallBeamDiagram = 33;   // figure mode: diagrams of wall beams (member type 210)
constexpr int kDesignMoment = 35;         // figure mode: beam moment envelope
constexpr int kDesignShear = 36;          // figure mode: beam shear envelope
constexpr int kFigMoment = 38;            // figure mode: beam moments
constexpr int kFigShear = 39;             // figure mode: beam shears
constexpr int kFigWallBeamDiagram2 = 41;  // second figure mode of wall-beam diagrams
constexpr int kDesignBaseForce = 42;      // figure modes 42 to 56: base forces of the columns on the foundation
constexpr int kFigModeShape = 57;         // figure mode: mode shapes, selected like 4
constexpr int kTimeHistory = 63;          // displacement with time history
constexpr int kSettlement = 69;
constexpr int kReactionContour = 70;      // spring pressures as contours
constexpr int kLast = 70;                 // modes are -1 or 0..kLast

// The engine of the model that draws a display mode; kNone draws the plain model.
enum class Engine { kNone, kDeform, kForce, kReaction, kStress };

// The engine whose deformed-contour flag puts a display on the deformed shape. kModeShape: the
// deformation engine, consulted only while the mode-shape contour switch is on.
enum class Shape { kNone, kDeform, kModeShape, kForce };

struct ModeInfo {
    int mode;
    Engine engine;  // engine that serves the mode (the bars make it before they set the mode)
    bool diagram;   // a diagram display: members are drawn as wire frame only
    Shape shape;    // engine that may draw the display on the deformed shape
};

// Every mode with a property; a mode not listed has none (plain model, no diagram, undeformed).
inline constexpr ModeInfo kModeTable[] = {
    {kReaction, Engine::kReaction, false, Shape::kNone},
    {kDeformedShape, Engine::kDeform, false, Shape::kDeform},
    {kDispContour, Engine::kDeform, false, Shape::kDeform},
    {kNodeDisp, Engine::kDeform, false, Shape::kNone},
    {kModeShape, Engine::kDeform, false, Shape::kModeShape},
    {kStoryShearRatio, Engine::kForce, false, Shape::kNone},
    {kFrameForceContour, Engine::kForce, false, Shape::kForce},
    {kFrameForceDiagram, Engine::kForce, true, Shape::kForce},
    {kWallForceContour, Engine::kForce, false, Shape::kForce},
    {kWallForceDiagram, Engine::kForce, true, Shape::kForce},
    {kPlateForce, Engine::kForce, false, Shape::kNone},
    {kPlateStress, Engine::kStress, false, Shape::kNone},
    {kSlabForce, Engine::kForce, false, Shape::kNone},
    {kSlabRebar, Engine::kForce, false, Shape::kNone},
    {kSlabCrack, Engine::kForce, false, Shape::kNone},
    {kSlabDeflection, Engine::kDeform, false, Shape::kDeform},
    {kSlabWall, Engine::kForce, false, Shape::kNone},
    {kSlabStrip, Engine::kForce, true, Shape::kForce},
    {kSlabForceBeam, Engine::kForce, true, Shape::kForce},
    {kFigFrameContour, Engine::kNone, true, Shape::kForce},
    {kFigFrameDiagram, Engine::kNone, true, Shape::kForce},
    {kFigColumnForce, Engine::kNone, false, Shape::kForce},
    {kFigWallBeamDiagram, Engine::kNone, true, Shape::kForce},
    {kDesignMoment, Engine::kNone, true, Shape::kForce},
    {kDesignShear, Engine::kNone, true, Shape::kForce},
    {kFigMoment, Engine::kNone, true, Shape::kForce},
    {kFigShear, Engine::kNone, true, Shape::kForce},
    {kFigWallBeamDiagram2, Engine::kNone, true, Shape::kForce},
    {kFigModeShape, Engine::kNone, false, Shape::kModeShape},
    {kTimeHistory, Engine::kDeform, false, Shape::kDeform},
    {kSettlement, Engine::kDeform, false, Shape::kNone},
    {kReactionContour, Engine::kReaction, false, Shape::kNone},
};

// The row of a mode, or null.
constexpr const ModeInfo* FindMode(int mode) {
    for (const ModeInfo& m : kModeTable)
        if (m.mode == mode) return &m;
    return nullptr;
}

constexpr Engine EngineOf(int mode) {
    const ModeInfo* m = FindMode(mode);
    return m ? m->engine : Engine::kNone;
}

constexpr bool IsDiagramDisplay(int mode) {
    const ModeInfo* m = FindMode(mode);
    return m && m->diagram;
}

constexpr Shape ShapeOf(int mode) {
    const ModeInfo* m = FindMode(mode);
    return m ? m->shape : Shape::kNone;
}
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
