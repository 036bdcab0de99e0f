// The frame step: wiping and drawing, trails, phases, movement and bounces.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "test_support.h"

namespace {

class FrameStepTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ResetProcessState();
    }
    // One figure standing in the middle of a 800 x 600 surface.
    static void OneFigure(int32_t polygon, int32_t round, int32_t move, int32_t locus)
    {
        Settings.Number = 1;
        Settings.Polygon[0] = polygon;
        Settings.Round[0] = round;
        Settings.Move[0] = move;
        Settings.Angle[0] = 0;
        Settings.Size[0] = 4;
        Settings.Locus[0] = locus;
        Settings.XYZ[0] = 2;
        Settings.Color[0] = 0x00ABCDEF;
        SurfaceWidth = 800;
        SurfaceHeight = 600;
        InitFigures();
        Figures[0].Position = {400, 300};
        Figures[0].Velocity = {move, move};
    }
};

const uint32_t kBlack = 0;

TEST_F(FrameStepTest, EachFigureWipesInBlackThenDrawsInItsColourInIndexOrder)
{
    UseBuiltInFigures();
    SurfaceWidth = 1920;
    SurfaceHeight = 1080;
    InitFigures();
    StepAllFigures();
    ASSERT_EQ(RecordedOutlines.size(), 6u);
    const uint32_t want[] = {kBlack, 0x0000FF, kBlack, 0x00FF00, kBlack, 0xFF0000};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(RecordedOutlines[i].Colour, want[i]) << "outline " << i;
        EXPECT_EQ(RecordedOutlines[i].Count, 2);
    }
    // The first wipe of a slot draws its never-written zeros: a zero-length
    // outline at the surface's origin.
    for (size_t i = 0; i < 6; i += 2) {
        EXPECT_EQ(RecordedOutlines[i].X, (std::vector<int32_t>{0, 0}));
        EXPECT_EQ(RecordedOutlines[i].Y, (std::vector<int32_t>{0, 0}));
    }
    // Figure 0 moved one step before it was projected, at phase 0: its base
    // segment (121, -144) (-121, 143) around its start position plus (1, -1).
    int32_t cx = (1920 * 41) / 32767 + 1;
    int32_t cy = (1080 * 18467) / 32767 - 1;
    EXPECT_EQ(RecordedOutlines[1].X, (std::vector<int32_t>{cx + 121, cx - 121}));
    EXPECT_EQ(RecordedOutlines[1].Y, (std::vector<int32_t>{cy - 144, cy + 143}));
}

TEST_F(FrameStepTest, ACountBelowOneDrawsNothingAndDrawsNoValue)
{
    for (int32_t number : {0, -1, INT32_MIN}) {
        ResetProcessState();
        Settings.Number = number;
        SurfaceWidth = SurfaceHeight = 100;
        StepAllFigures();
        EXPECT_TRUE(RecordedOutlines.empty());
        EXPECT_EQ(SaverRandomState, 1u);
    }
}

struct TrailCase {
    int32_t locus;
    int32_t kept; // outlines on the surface
};
const TrailCase kTrailCases[] = {{0, 1}, {1, 1}, {-5, 1}, {2, 2}, {35, 35}, {200, 200}};

TEST_F(FrameStepTest, TrailKeepsLocusOutlinesAndWipesTheOldest)
{
    for (const TrailCase& c : kTrailCases) {
        ResetProcessState();
        OneFigure(3, 7, 1, c.locus);
        const int frames = 2 * c.kept + 3;
        std::vector<int32_t> slots;
        for (int f = 0; f < frames; ++f) {
            slots.push_back(Figures[0].TrailIndex);
            StepFigure(0);
        }
        ASSERT_EQ(RecordedOutlines.size(), static_cast<size_t>(2 * frames));
        for (int f = 0; f < frames; ++f) {
            EXPECT_EQ(slots[f], f % c.kept) << "Locus " << c.locus << " frame " << f;
            const RecordedOutline& wipe = RecordedOutlines[2 * f];
            EXPECT_EQ(wipe.Colour, kBlack);
            if (f < c.kept) {
                // A slot not yet written: zeros.
                EXPECT_EQ(wipe.X, std::vector<int32_t>(3, 0)) << "Locus " << c.locus;
            } else {
                // The outline drawn `kept` frames ago, exactly.
                const RecordedOutline& drawn = RecordedOutlines[2 * (f - c.kept) + 1];
                EXPECT_EQ(wipe.X, drawn.X) << "Locus " << c.locus << " frame " << f;
                EXPECT_EQ(wipe.Y, drawn.Y) << "Locus " << c.locus << " frame " << f;
            }
        }
    }
}

struct PhaseCase {
    int32_t round;
    std::vector<int32_t> want; // phase of the outlines of frames 1, 2, 3, ...
};
const PhaseCase kPhaseCases[] = {
    {3, {0, 3, 6, 9}},
    {90, {0, 90, 180, 270, 0, 90}},
    {360, {0, 0, 0}},          // add 360, subtract it once
    {0, {0, 0, 0}},            // Move 0 and Round 0 can stand still
    {359, {0, 359, 358, 357}}, //
    // Beyond what the dialog gives: kept in 0..359, first outline still at 0.
    {-5, {0, 355, 350, 345}},
    {361, {0, 1, 2, 3}},
    {725, {0, 5, 10}},
    {-360, {0, 0, 0}},
    {INT32_MAX, {0, 127, 254, 21}}, // INT32_MAX = 360 * 5965232 + 127
    {INT32_MIN, {0, 232, 104}},     // INT32_MIN = -360 * 5965233 + 232
    {INT32_MIN + 1, {0, 233, 106}},
};

TEST_F(FrameStepTest, PhaseAdvancesByRoundAndStaysWithinATurn)
{
    for (const PhaseCase& c : kPhaseCases) {
        ResetProcessState();
        OneFigure(2, c.round, 0, 0);
        for (size_t f = 0; f < c.want.size(); ++f) {
            StepFigure(0);
            EXPECT_EQ(Figures[0].RotationPhase, c.want[f]) << "Round " << c.round << " frame " << f;
        }
        for (int f = 0; f < 2000; ++f) {
            StepFigure(0);
            ASSERT_GE(Figures[0].RotationPhase, 0) << "Round " << c.round;
            ASSERT_LE(Figures[0].RotationPhase, 359) << "Round " << c.round;
        }
    }
}

struct BounceThresholdCase {
    int32_t r;
    int32_t extra;
};
const BounceThresholdCase kBounceThresholds[] = {
    {0, 4},     {6553, 4},  {6554, 3},  {13106, 3}, {13107, 2},
    {19659, 2}, {19660, 1}, {26212, 1}, {26213, 0}, {32767, 0},
};

TEST_F(FrameStepTest, BounceSpeedIsMoveToMovePlusFourBySteps)
{
    OneFigure(2, 3, 5, 0);
    for (const BounceThresholdCase& c : kBounceThresholds) {
        for (Axis axis : {Axis::X, Axis::Y}) {
            for (bool negative : {false, true}) {
                Figures[0].Velocity = {-99, -99};
                uint32_t start = StateBefore(c.r);
                SaverRandomState = start;
                PickBounceVelocity(axis, 0, negative);
                int32_t want = negative ? -(5 + c.extra) : 5 + c.extra;
                int32_t bounced = axis == Axis::X ? Figures[0].Velocity.x : Figures[0].Velocity.y;
                int32_t other = axis == Axis::X ? Figures[0].Velocity.y : Figures[0].Velocity.x;
                EXPECT_EQ(bounced, want) << "r " << c.r;
                EXPECT_EQ(other, -99) << "the other axis is left alone";
                EXPECT_EQ(DrawsBetween(start, SaverRandomState), 1);
            }
        }
    }
}

struct EdgeCase {
    const char* name;
    int32_t next;     // the centre the next frame would reach
    int32_t velocity; // before the test
    int32_t wantSign; // 0: no bounce, +1 / -1: bounced that way
};
const EdgeCase kEdgeCases[] = {
    {"next exactly 0", 0, -2, +1},
    {"next below 0", -1, -2, +1},
    {"next 1", 1, -2, 0},
    {"next last pixel", 599, 2, 0},
    {"next exactly the size", 600, 2, -1},
    {"next beyond", 601, 2, -1},
    {"moving inward at 0", 0, 0, +1}, // a speed of 0 at the edge bounces again
};

TEST_F(FrameStepTest, BouncesWhereTheNextCentreLeavesTheSurface)
{
    for (const EdgeCase& c : kEdgeCases) {
        for (Axis axis : {Axis::X, Axis::Y}) {
            ResetProcessState();
            OneFigure(2, 3, 1, 0);
            SurfaceWidth = 600;
            SurfaceHeight = 600;
            // Placed so that after this frame's step, position + velocity = next.
            int32_t start = c.next - 2 * c.velocity;
            if (axis == Axis::X) {
                Figures[0].Position = {start, 300};
                Figures[0].Velocity = {c.velocity, 0};
            } else {
                Figures[0].Position = {300, start};
                Figures[0].Velocity = {0, c.velocity};
            }
            uint32_t before = StateBefore(32767); // a bounce gives speed Move
            SaverRandomState = before;
            StepAllFigures();
            int32_t v = axis == Axis::X ? Figures[0].Velocity.x : Figures[0].Velocity.y;
            int32_t other = axis == Axis::X ? Figures[0].Velocity.y : Figures[0].Velocity.x;
            const char* name = axis == Axis::X ? " (x)" : " (y)";
            if (c.wantSign == 0) {
                EXPECT_EQ(v, c.velocity) << c.name << name;
                EXPECT_EQ(DrawsBetween(before, SaverRandomState), 0) << c.name << name;
            } else {
                EXPECT_EQ(v, c.wantSign) << c.name << name; // Move 1 + 0
                EXPECT_EQ(DrawsBetween(before, SaverRandomState), 1) << c.name << name;
            }
            EXPECT_EQ(other, 0) << c.name << name;
        }
    }
}

TEST_F(FrameStepTest, FramesWithoutBounceDrawNoValue)
{
    OneFigure(5, 3, 1, 10);
    Figures[0].Position = {100, 100};
    Figures[0].Velocity = {1, 1};
    uint32_t before = SaverRandomState;
    for (int f = 0; f < 300; ++f)
        StepAllFigures();
    EXPECT_EQ(SaverRandomState, before);
    EXPECT_EQ(Figures[0].Position.x, 400);
    EXPECT_EQ(Figures[0].Position.y, 400);
}

TEST_F(FrameStepTest, NarrowSurfaceBouncesTwiceInOneFrame)
{
    // 2 pixels wide: the first test turns x positive, and the new speed at
    // once reaches the right edge, so the second turns it back.
    OneFigure(2, 3, 1, 0);
    SurfaceWidth = 2;
    Figures[0].Position = {2, 300};
    Figures[0].Velocity = {-1, 0};
    uint32_t before = StateBefore(0); // first bounce: Move + 4 = 5
    SaverRandomState = before;
    StepAllFigures(); // x 1, then 1 - 1 = 0: bounce to +5; 1 + 5 = 6 >= 2: bounce negative
    EXPECT_LT(Figures[0].Velocity.x, 0);
    EXPECT_EQ(DrawsBetween(before, SaverRandomState), 2);
}

TEST_F(FrameStepTest, StartOnTheRightEdgeMovingOutBouncesAfterOneStep)
{
    OneFigure(2, 3, 2, 0);
    SaverRandomState = StateBeforeDraw(32767, 0); // r1 32767: x = SurfaceWidth
    InitFigures();
    ASSERT_EQ(Figures[0].Position.x, 800);
    Figures[0].Velocity.x = 2; // moving outward
    StepAllFigures();
    EXPECT_EQ(Figures[0].Position.x, 802);
    EXPECT_LT(Figures[0].Velocity.x, 0);
}

TEST_F(FrameStepTest, MoveZeroAtAnEdgeTriesEveryFrameUntilItMoves)
{
    OneFigure(2, 3, 0, 0);
    Figures[0].Position = {0, 300};
    Figures[0].Velocity = {0, 0};
    // Three bounces in a row give speed 0 (r >= 26213), the fourth 4.
    const int32_t values[] = {30000, 26213, 32767, 0};
    for (int32_t r : values) {
        SaverRandomState = StateBefore(r);
        StepAllFigures();
        EXPECT_EQ(DrawsBetween(StateBefore(r), SaverRandomState), 1) << "r " << r;
    }
    EXPECT_EQ(Figures[0].Position.x, 0);
    EXPECT_EQ(Figures[0].Velocity.x, 4);
    // Inside the surface a speed of 0 stands still for good, with no draws.
    uint32_t before = SaverRandomState;
    Figures[0].Position = {300, 300};
    Figures[0].Velocity = {0, 0};
    for (int f = 0; f < 100; ++f)
        StepAllFigures();
    EXPECT_EQ(Figures[0].Position.x, 300);
    EXPECT_EQ(SaverRandomState, before);
}

} // namespace
