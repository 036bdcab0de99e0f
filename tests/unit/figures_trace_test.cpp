// The long trace: sixteen figures of 24 vertices with trails of 200 run for
// thousands of frames, and everything they produce is folded into one hash.
// The same constant must come out of every build (x86_64 and i686, Linux and
// Windows, with and without sanitizers): a last-bit difference in a sine, a
// division or the order of an addition would move a truncated vertex and
// change it.
#include <gtest/gtest.h>

#include <cstdio>

#include "test_support.h"

namespace {

uint64_t Fold(uint64_t hash, int32_t value)
{
    uint32_t bits = static_cast<uint32_t>(value);
    for (int byte = 0; byte < 4; ++byte) {
        hash ^= (bits >> (8 * byte)) & 0xFFu;
        hash *= 1099511628211u;
    }
    return hash;
}

// Round, Move, Angle, Size, XYZ: every axis, the dialog's extremes, and
// figures whose radius on a 1700-pixel surface passes 500, so that the
// perspective divisor comes near zero and crosses it about X and Y.
struct TraceFigure {
    int32_t round, move, angle, size, xyz;
};
const TraceFigure kTraceFigures[MaxFigures] = {
    {3, 1, 40, 7, 0},    {5, 1, 65, 4, 1},   {5, 1, 65, 5, 2},  {1, 5, 0, 12, 0},
    {90, 2, 120, 12, 1}, {7, 3, 15, 5, 2},   {11, 4, 33, 9, 0}, {13, 5, 77, 11, 1},
    {17, 2, 90, 12, 2},  {29, 1, 101, 1, 0}, {31, 3, 7, 3, 1},  {45, 4, 45, 8, 2},
    {60, 5, 60, 10, 0},  {89, 2, 119, 6, 1}, {2, 3, 1, 12, 0},  {37, 4, 88, 12, 1},
};

const int kFrames = 5000;
const uint64_t kGoldenTrace = 0x1467cb37289e468au;

TEST(LongTrace, EveryBuildComputesTheSameFigures)
{
    ResetProcessState();
    KeepRecordedOutlines = false; // the recorder hashes every outline handed over
    Settings.Number = MaxFigures;
    for (int32_t i = 0; i < MaxFigures; ++i) {
        const TraceFigure& f = kTraceFigures[i];
        Settings.Polygon[i] = MaxVertices;
        Settings.Round[i] = f.round;
        Settings.Move[i] = f.move;
        Settings.Angle[i] = f.angle;
        Settings.Size[i] = f.size;
        Settings.Locus[i] = TrailSlots;
        Settings.XYZ[i] = f.xyz;
        Settings.Color[i] = 0x00010101u * static_cast<uint32_t>(i + 1);
    }
    SurfaceWidth = 2560;
    SurfaceHeight = 1700;
    InitFigures();
    SeedSaverRandom(0x7A3F);

    uint64_t hash = 14695981039346656037u;
    for (int frame = 0; frame < kFrames; ++frame) {
        StepAllFigures();
        for (const FigureState& figure : Figures) {
            hash = Fold(hash, figure.Velocity.x);
            hash = Fold(hash, figure.Velocity.y);
        }
    }
    for (const FigureState& figure : Figures) {
        for (int32_t k = 0; k < MaxVertices; ++k) {
            hash = Fold(hash, figure.BaseShape.x[k]);
            hash = Fold(hash, figure.BaseShape.y[k]);
        }
        hash = Fold(hash, figure.Position.x);
        hash = Fold(hash, figure.Position.y);
        hash = Fold(hash, figure.RotationPhase);
        hash = Fold(hash, figure.TrailIndex);
        for (const TrailSlot& slot : figure.TrailRing) {
            for (int32_t k = 0; k < MaxVertices; ++k) {
                hash = Fold(hash, slot.X[k]);
                hash = Fold(hash, slot.Y[k]);
            }
        }
    }
    hash = Fold(hash, static_cast<int32_t>(RecordedHash));
    hash = Fold(hash, static_cast<int32_t>(RecordedHash >> 32));
    hash = Fold(hash, static_cast<int32_t>(SaverRandomState));
    EXPECT_EQ(hash, kGoldenTrace) << "trace hash 0x" << std::hex << hash;
}

} // namespace
