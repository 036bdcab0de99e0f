// Start-up geometry: base shapes, start positions, directions and phases.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#include "test_support.h"

namespace {

class InitFiguresTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ResetProcessState();
    }
};

struct Vertex {
    int32_t x, y;
    bool operator==(const Vertex& o) const
    {
        return x == o.x && y == o.y;
    }
};

std::ostream& operator<<(std::ostream& out, const Vertex& v)
{
    return out << '(' << v.x << ", " << v.y << ')';
}

std::vector<Vertex> BaseVertices(int32_t figure, int32_t count)
{
    std::vector<Vertex> vertices;
    for (int32_t k = 0; k < count; ++k)
        vertices.push_back({Figures[figure].BaseShape.x[k], Figures[figure].BaseShape.y[k]});
    return vertices;
}

struct ShapeCase {
    const char* name;
    int32_t polygon, angle, size, height;
    std::vector<Vertex> want;
};
const ShapeCase kShapeCases[] = {
    // Figure 0 of the built-in settings on a 1080-high surface: h = -189.
    {"built-in segment", 2, 40, 7, 1080, {{121, -144}, {-121, 143}}},
    {"upright segment", 2, 0, 7, 1080, {{0, -189}, {0, 188}}},
    {"square", 4, 0, 10, 1000, {{0, -250}, {249, 0}, {0, 249}, {-249, 0}}},
    {"triangle", 3, 0, 10, 1000, {{0, -250}, {216, 125}, {-216, 124}}},
    {"preview", 1, 0, 7, 112, {{0, -19}}}, // 784 / -40 truncates to -19
    {"negative size", 1, 0, -4, 1000, {{0, 100}}},
    {"zero size", 3, 30, 0, 1000, {{0, 0}, {0, 0}, {0, 0}}},
};

TEST_F(InitFiguresTest, BuildsTheBaseShapeClockwiseFromTheTiltedFirstVertex)
{
    for (const ShapeCase& c : kShapeCases) {
        ResetProcessState();
        Settings.Number = 1;
        Settings.Polygon[0] = c.polygon;
        Settings.Angle[0] = c.angle;
        Settings.Size[0] = c.size;
        SurfaceWidth = 1920;
        SurfaceHeight = c.height;
        InitFigures();
        EXPECT_EQ(BaseVertices(0, c.polygon), c.want) << c.name;
        for (int32_t k = 0; k < c.polygon; ++k)
            EXPECT_EQ(Figures[0].BaseShape.z[k], 0) << c.name;
    }
}

TEST_F(InitFiguresTest, VerticesSitAtWholeDegrees)
{
    // 360 / 7 is not whole: the heptagon is slightly irregular.
    Settings.Number = 1;
    Settings.Polygon[0] = 7;
    Settings.Size[0] = 10;
    SurfaceHeight = 1000;
    InitFigures();
    const int want[] = {0, 51, 102, 154, 205, 257, 308};
    for (int k = 0; k < 7; ++k) {
        // Clockwise from straight up on a surface whose y runs downward.
        double degrees = std::atan2(Figures[0].BaseShape.x[k], -Figures[0].BaseShape.y[k]) * 180.0 /
                         3.14159265358979323846;
        if (degrees < -0.5) degrees += 360.0;
        EXPECT_EQ(std::lround(degrees), want[k]) << "vertex " << k;
    }
}

TEST_F(InitFiguresTest, BuiltInFiguresStartAtFixedPlacesMovingRightAndUp)
{
    UseBuiltInFigures();
    SurfaceWidth = 1920;
    SurfaceHeight = 1080;
    InitFigures();
    // The unseeded generator gives 41 first: figure 0's r1.
    EXPECT_EQ(Figures[0].Position.x, (1920 * 41) / 32767);
    EXPECT_EQ(Figures[0].Position.y, (1080 * 18467) / 32767);
    for (int32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Figures[i].Velocity.x, 1) << "figure " << i;
        EXPECT_EQ(Figures[i].Velocity.y, -1) << "figure " << i;
        EXPECT_EQ(Figures[i].TrailIndex, 0);
        EXPECT_EQ(Figures[i].RotationPhase, -Settings.Round[i]);
    }
    // Exactly four values per figure.
    EXPECT_EQ(DrawsBetween(1, SaverRandomState), 12);
}

struct PlacementCase {
    int draw; // which of the figure's four values is chosen
    int32_t value;
    int32_t x, y, vx, vy; // -1 where the value is left to the generator
};
const int32_t kFree = -1;
const PlacementCase kPlacementCases[] = {
    {0, 0, 0, kFree, kFree, kFree},       // r1 0: on the left edge
    {0, 32767, 800, kFree, kFree, kFree}, // r1 32767: exactly on the right edge
    {0, 16384, 400, kFree, kFree, kFree}, // (800 * 16384) / 32767 truncates
    {1, 0, kFree, 0, kFree, kFree},       // r2: the same for y
    {1, 32767, kFree, 600, kFree, kFree},
    {2, 16383, kFree, kFree, 5, kFree}, // r3 above 16383 turns x back
    {2, 16384, kFree, kFree, -5, kFree},
    {3, 16383, kFree, kFree, kFree, 5}, // r4 likewise for y
    {3, 16384, kFree, kFree, kFree, -5},
};

TEST_F(InitFiguresTest, PositionAndDirectionComeFromFourValuesInOrder)
{
    for (const PlacementCase& c : kPlacementCases) {
        ResetProcessState();
        Settings.Number = 1;
        Settings.Polygon[0] = 2;
        Settings.Move[0] = 5;
        SurfaceWidth = 800;
        SurfaceHeight = 600;
        SaverRandomState = StateBeforeDraw(c.value, c.draw);
        InitFigures();
        const FigureState& f = Figures[0];
        if (c.x != kFree) {
            EXPECT_EQ(f.Position.x, c.x) << "r1 " << c.value;
        }
        if (c.y != kFree) {
            EXPECT_EQ(f.Position.y, c.y) << "r2 " << c.value;
        }
        if (c.vx != kFree) {
            EXPECT_EQ(f.Velocity.x, c.vx) << "r3 " << c.value;
        }
        if (c.vy != kFree) {
            EXPECT_EQ(f.Velocity.y, c.vy) << "r4 " << c.value;
        }
    }
}

TEST_F(InitFiguresTest, ACountBelowOneBuildsNothingAndDrawsNoValue)
{
    for (int32_t number : {0, -1, INT32_MIN}) {
        ResetProcessState();
        UseBuiltInFigures();
        Settings.Number = number;
        SurfaceWidth = 800;
        SurfaceHeight = 600;
        std::memset(Figures, 0x5A, sizeof Figures);
        FigureState before = Figures[0];
        InitFigures();
        EXPECT_EQ(std::memcmp(&before, &Figures[0], sizeof before), 0) << "Number " << number;
        EXPECT_EQ(SaverRandomState, 1u) << "Number " << number;
    }
}

TEST_F(InitFiguresTest, WritesOnlyTheVerticesAndFiguresInUse)
{
    const int32_t kSentinel = 0x5A5A5A5A;
    for (int32_t polygon : {-5, 0, 1, 2, 24}) {
        ResetProcessState();
        Settings.Number = 2;
        for (int32_t i = 0; i < MaxFigures; ++i) {
            Settings.Polygon[i] = polygon;
            Settings.Angle[i] = 30;
            Settings.Size[i] = 5;
        }
        SurfaceWidth = 800;
        SurfaceHeight = 600;
        std::memset(Figures, 0x5A, sizeof Figures);
        InitFigures();
        // Vertex 0 always; the rest only up to Polygon - 1.
        EXPECT_NE(Figures[0].BaseShape.x[0], kSentinel);
        EXPECT_EQ(Figures[0].BaseShape.z[0], 0);
        int32_t used = polygon < 1 ? 1 : polygon;
        for (int32_t k = used; k < MaxVertices; ++k) {
            EXPECT_EQ(Figures[1].BaseShape.x[k], kSentinel) << "Polygon " << polygon;
            EXPECT_EQ(Figures[1].BaseShape.z[k], kSentinel) << "Polygon " << polygon;
        }
        for (int32_t k = 1; k < used; ++k)
            EXPECT_EQ(Figures[1].BaseShape.z[k], 0);
        // No trail slot is touched, nor any figure from Number upward.
        EXPECT_EQ(Figures[0].TrailRing[0].X[0], kSentinel);
        EXPECT_EQ(Figures[1].TrailRing[TrailSlots - 1].Y[MaxVertices - 1], kSentinel);
        EXPECT_EQ(Figures[2].Position.x, kSentinel);
        EXPECT_EQ(Figures[2].BaseShape.x[0], kSentinel);
        EXPECT_EQ(DrawsBetween(1, SaverRandomState), 8);
    }
}

} // namespace
