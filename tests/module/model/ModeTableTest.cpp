// The table of display modes: which engine serves each mode in the render switch, which modes
// are diagram displays and whose flag puts a display on the deformed shape. Every expected row
// is copied from the description of the render path and the model's services, not from the
// table itself; every mode from -1 to one past the last is checked, so a row added by mistake
// fails as well as a row left out.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "module/model/PVXModes.h"

namespace {

using PVXMode::Engine;
using PVXMode::Shape;

const char* Name(Engine e) {
    switch (e) {
    case Engine::kNone: return "plain model";
    case Engine::kDeform: return "deformation";
    case Engine::kForce: return "force";
    case Engine::kReaction: return "reaction";
    case Engine::kStress: return "stress";
    }
    return "?";
}

// Render dispatch: mode, the result it shows, the engine that serves it. Every other value
// from 0 to 70 (12 to 15, 23 to 62, 64 to 68) draws the plain model, as do -1 and 71.
const struct {
    int mode;
    const char* result;
    Engine engine;
} kDispatch[] = {
    {0, "support reactions", Engine::kReaction},
    {1, "deformed shape", Engine::kDeform},
    {2, "displacement contour", Engine::kDeform},
    {3, "node displacement (picked nodes)", Engine::kDeform},
    {4, "mode shape", Engine::kDeform},
    {5, "story shear-force ratio", Engine::kForce},
    {6, "frame member force contour", Engine::kForce},
    {7, "frame member force diagram", Engine::kForce},
    {8, "wall force contour", Engine::kForce},
    {9, "wall force diagram", Engine::kForce},
    {10, "plate force contour", Engine::kForce},
    {11, "plate principal stress", Engine::kStress},
    {16, "slab force", Engine::kForce},
    {17, "slab reinforcement", Engine::kForce},
    {18, "slab crack width", Engine::kForce},
    {19, "slab deflection", Engine::kDeform},
    {20, "slab wall design force", Engine::kForce},
    {21, "slab strip force diagram", Engine::kForce},
    {22, "slab force on beams", Engine::kForce},
    {63, "displacement with time history", Engine::kDeform},
    {69, "settlement", Engine::kDeform},
    {70, "reaction contour", Engine::kReaction},
};

TEST(ModeTable, EachModeIsServedByTheEngineOfTheRenderDispatch) {
    std::map<int, Engine> expected;
    for (const auto& row : kDispatch) expected[row.mode] = row.engine;
    for (int mode = -1; mode <= PVXMode::kLast + 1; ++mode) {
        const Engine want = expected.count(mode) ? expected[mode] : Engine::kNone;
        EXPECT_EQ(PVXMode::EngineOf(mode), want)
            << "mode " << mode << ": expected " << Name(want) << ", got " << Name(PVXMode::EngineOf(mode));
    }
    EXPECT_EQ(PVXMode::kLast, 70);
}

// The bars make the engines before they set a mode: a deformation engine for every mode except
// 0 and 70, a force engine for 5 to 10 and 16 to 22, a stress engine for 11 and a reaction
// engine for 0 and 70. The engine of every served mode must be among those it gets.
TEST(ModeTable, TheBarsMakeTheEngineOfEveryServedMode) {
    for (const auto& row : kDispatch) {
        SCOPED_TRACE(row.result);
        const int m = row.mode;
        std::set<Engine> made;
        if (m != 0 && m != 70) made.insert(Engine::kDeform);
        if ((m >= 5 && m <= 10) || (m >= 16 && m <= 22)) made.insert(Engine::kForce);
        if (m == 11) made.insert(Engine::kStress);
        if (m == 0 || m == 70) made.insert(Engine::kReaction);
        EXPECT_TRUE(made.count(PVXMode::EngineOf(m))) << "mode " << m << " is served by " << Name(PVXMode::EngineOf(m));
    }
}

// Diagram displays, drawn in wire frame only: 7, 9, 21, 22, 30, 31, 33, 35, 36, 38, 39 and 41.
TEST(ModeTable, DiagramDisplaysAreTheWireFrameOnlyModes) {
    const std::set<int> diagrams = {7, 9, 21, 22, 30, 31, 33, 35, 36, 38, 39, 41};
    for (int mode = -1; mode <= PVXMode::kLast + 1; ++mode)
        EXPECT_EQ(PVXMode::IsDiagramDisplay(mode), diagrams.count(mode) == 1) << "mode " << mode;
}

// Whether a display is drawn on the deformed shape is the deformation engine's to say for 1, 2,
// 19 and 63, the deformation engine's under the mode-shape contour switch for 4 and 57, and the
// force engine's for 6, 7, 8, 9, 21, 22, 30, 31, 32, 33, 35, 36, 38, 39 and 41; no other mode
// (none outside 1..63) is drawn on it.
TEST(ModeTable, TheDeformedShapeFlagOfEachModeBelongsToItsEngine) {
    std::map<int, Shape> expected;
    for (int m : {1, 2, 19, 63}) expected[m] = Shape::kDeform;
    for (int m : {4, 57}) expected[m] = Shape::kModeShape;
    for (int m : {6, 7, 8, 9, 21, 22, 30, 31, 32, 33, 35, 36, 38, 39, 41}) expected[m] = Shape::kForce;
    for (int mode = -1; mode <= PVXMode::kLast + 1; ++mode) {
        const Shape want = expected.count(mode) ? expected[mode] : Shape::kNone;
        EXPECT_EQ(PVXMode::ShapeOf(mode), want) << "mode " << mode;
    }
}

TEST(ModeTable, EachModeHasOneRow) {
    std::set<int> seen;
    for (const PVXMode::ModeInfo& row : PVXMode::kModeTable) {
        EXPECT_TRUE(seen.insert(row.mode).second) << "mode " << row.mode << " listed twice";
        EXPECT_TRUE(row.mode >= 0 && row.mode <= PVXMode::kLast) << "mode " << row.mode;
    }
}

}  // namespace
