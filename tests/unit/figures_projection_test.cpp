// Rotation and perspective: one vertex turned about each axis, divided by
// the perspective factor and moved to the figure's centre.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "test_support.h"

namespace {

class ProjectFigureTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ResetProcessState();
        Settings.Number = 1;
        Settings.Polygon[0] = 1;
    }
    // Projects one base vertex at a phase into slot 3 and returns the
    // outline's vertex 0 relative to `position`.
    static void Project(int32_t xyz, int32_t phase, int32_t x, int32_t y, int32_t px, int32_t py,
                        int32_t& outX, int32_t& outY)
    {
        Settings.XYZ[0] = xyz;
        Figures[0].BaseShape.x[0] = x;
        Figures[0].BaseShape.y[0] = y;
        Figures[0].BaseShape.z[0] = 0;
        Figures[0].RotationPhase = phase;
        Figures[0].Position.x = px;
        Figures[0].Position.y = py;
        ProjectFigure(0, 3);
        outX = Figures[0].TrailRing[3].X[0];
        outY = Figures[0].TrailRing[3].Y[0];
    }
};

struct ProjectionCase {
    const char* name;
    int32_t xyz, phase, x, y;
    int32_t wantX, wantY; // offset from the centre
};
const ProjectionCase kProjectionCases[] = {
    // 3.141593 is a little more than pi, so cos is a little above -1.
    {"Z at 180", 2, 180, 0, -189, 0, 188},
    {"Z at 90", 2, 90, 121, -144, 143, 121},
    {"X at 90, d 0.712", 0, 90, 121, -144, 169, 0},
    {"X at 30", 0, 30, 121, -144, 141, -145},
    {"Y at 90, d 1.242", 1, 90, 121, -144, 0, -115},
    // Every axis value other than 1 and 2 turns about X.
    {"XYZ 3 is X", 3, 90, 121, -144, 169, 0},
    {"XYZ 5 is X", 5, 30, 121, -144, 141, -145},
    {"XYZ -1 is X", -1, 90, 121, -144, 169, 0},
    {"XYZ INT32_MIN is X", INT32_MIN, 30, 121, -144, 141, -145},
    // Phase 0 shows the base shape itself about every axis.
    {"X at 0", 0, 0, 121, -144, 121, -144},
    {"Y at 0", 1, 0, 121, -144, 121, -144},
    {"Z at 0", 2, 0, 121, -144, 121, -144},
    // Turned toward the viewer (negative depth) a vertex is drawn farther out,
    // turned away nearer in.
    {"Y at 270", 1, 270, 121, -144, 0, -189},
    {"X at 270", 0, 270, 121, -144, 93, 0},
};

TEST_F(ProjectFigureTest, TurnsDividesAndTruncatesTheOffset)
{
    for (const ProjectionCase& c : kProjectionCases) {
        int32_t x = 0;
        int32_t y = 0;
        Project(c.xyz, c.phase, c.x, c.y, 1000, 500, x, y);
        EXPECT_EQ(x - 1000, c.wantX) << c.name;
        EXPECT_EQ(y - 500, c.wantY) << c.name;
    }
}

TEST_F(ProjectFigureTest, TruncatesBeforeThePositionIsAdded)
{
    // About X at 90 the vertex (-3, -144) divides to -3 / 0.712 = -4.2: the
    // offset truncates to -4 and then the centre is added, giving 10 - 4 = 6
    // (truncating 10 - 4.2 afterwards would give 5).
    int32_t x = 0;
    int32_t y = 0;
    Project(0, 90, -3, -144, 10, 10, x, y);
    EXPECT_EQ(x, 6);
    // The same on the other side of the centre.
    Project(0, 90, -3, -144, -10, 0, x, y);
    EXPECT_EQ(x, -14);
}

TEST_F(ProjectFigureTest, WritesOnlyTheVerticesOfTheGivenSlot)
{
    const int32_t kSentinel = 0x5A5A5A5A;
    for (int32_t polygon : {-1, 0, 1, 3, 24}) {
        std::memset(Figures, 0x5A, sizeof Figures);
        std::memset(Figures[0].BaseShape.z, 0, sizeof Figures[0].BaseShape.z);
        for (int32_t k = 0; k < MaxVertices; ++k) {
            Figures[0].BaseShape.x[k] = 10 * k;
            Figures[0].BaseShape.y[k] = -10 * k;
        }
        Figures[0].RotationPhase = 45;
        Figures[0].Position.x = 100;
        Figures[0].Position.y = 100;
        Settings.Polygon[0] = polygon;
        Settings.XYZ[0] = 1;
        FigureState before = Figures[0];
        ProjectFigure(0, 7);
        for (int32_t k = 0; k < MaxVertices; ++k) {
            bool written = k < polygon;
            EXPECT_EQ(Figures[0].TrailRing[7].X[k] != kSentinel, written)
                << "Polygon " << polygon << " vertex " << k;
            EXPECT_EQ(Figures[0].TrailRing[7].Y[k] != kSentinel, written)
                << "Polygon " << polygon << " vertex " << k;
        }
        for (int32_t s = 0; s < TrailSlots; ++s) {
            if (s == 7) continue;
            ASSERT_EQ(
                std::memcmp(&before.TrailRing[s], &Figures[0].TrailRing[s], sizeof(TrailSlot)), 0)
                << "slot " << s;
        }
        EXPECT_EQ(std::memcmp(&before, &Figures[0], offsetof(FigureState, TrailRing)), 0)
            << "nothing but the slot changes";
    }
}

// A radius of 500 pixels or more brings the divisor to zero or past it about
// X or Y. Whatever integer comes out, it must come out without a fault: the
// sanitizer build checks every conversion and division here.
TEST_F(ProjectFigureTest, VertexOnTheViewersPlaneGivesADefinedInteger)
{
    int32_t x = 0;
    int32_t y = 0;
    // y = -500 about X at 90: d = 1 - 0.002 * 500 * sin(90 degrees), which
    // rounds to a tiny positive number, not 0: the vertex is thrown far out
    // but stays on its own side.
    Project(0, 90, 300, -500, 1000, 1000, x, y);
    EXPECT_GT(x, 1000 + 1000000);
    Project(0, 90, -300, -500, 1000, 1000, x, y);
    EXPECT_LT(x, 1000 - 1000000);
    // Past the plane the vertex shows on the mirrored side.
    Project(0, 90, 300, -600, 1000, 1000, x, y);
    EXPECT_LT(x, 1000);
    for (int32_t phase = 0; phase < 360; ++phase) {
        for (int32_t axis : {0, 1}) {
            Project(axis, phase, 20000, -20000, 0, 0, x, y);
            Project(axis, phase, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN, x, y);
            Project(axis, phase, INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX, x, y);
            Project(axis, phase, 499, -500, -5, -5, x, y);
        }
    }
    // Saturated offsets stay saturated when the centre is added.
    Project(1, 90, -500, 0, INT32_MAX, 0, x, y);
    EXPECT_EQ(x, INT32_MAX);
}

} // namespace
