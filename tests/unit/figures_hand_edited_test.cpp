// Settings only a hand-edited file can hold, run through start-up and many
// frames. The sanitizer build turns any signed overflow, out-of-range
// conversion or division by zero here into a failure; the plain builds check
// that the state stays within what the tables can hold.
#include <gtest/gtest.h>

#include <climits>

#include "test_support.h"

namespace {

struct ExtremeCase {
    const char* name;
    int32_t width, height;
    FigureSettings figure;
};
const ExtremeCase kExtremeCases[] = {
    {"huge size", 1920, 1080, {24, 7, 3, 15, INT32_MAX, 200, 0, 0xFFFFFF}},
    {"most negative size", 1920, 1080, {24, 7, 3, 15, INT32_MIN, 200, 1, 0xFFFFFF}},
    {"size times height wraps", 1920, 65536, {12, 7, 3, 15, 32768, 10, 2, 0xFFFFFF}},
    {"radius past the viewer about X", 1920, 4000, {24, 1, 3, 0, 12, 5, 0, 0xFFFFFF}},
    {"radius past the viewer about Y", 1920, 4000, {24, 1, 3, 0, 12, 5, 1, 0xFFFFFF}},
    {"huge move", 1920, 1080, {5, 7, INT32_MAX, 15, 5, 3, 0, 0xFFFFFF}},
    {"most negative move", 1920, 1080, {5, 7, INT32_MIN, 15, 5, 3, 1, 0xFFFFFF}},
    {"move just below the top", 1920, 1080, {5, 7, INT32_MAX - 2, 15, 5, 3, 2, 0xFFFFFF}},
    {"negative move", 1920, 1080, {5, 7, -3, 15, 5, 3, 2, 0xFFFFFF}},
    {"most negative round", 1920, 1080, {5, INT32_MIN, 3, 15, 5, 3, 0, 0xFFFFFF}},
    {"huge round", 1920, 1080, {5, INT32_MAX, 3, 15, 5, 3, 1, 0xFFFFFF}},
    {"negative round", 1920, 1080, {5, -1, 3, 15, 5, 3, 2, 0xFFFFFF}},
    {"extreme angle", 1920, 1080, {7, 3, 3, INT32_MIN, 9, 3, 0, 0xFFFFFF}},
    {"other extreme angle", 1920, 1080, {7, 3, 3, INT32_MAX, 9, 3, 1, 0xFFFFFF}},
    {"odd axis", 1920, 1080, {7, 3, 3, 40, 9, 3, INT32_MIN, 0xFFFFFF}},
    {"huge surface", INT32_MAX, INT32_MAX, {24, 90, 5, 120, 12, 200, 1, 0xFFFFFF}},
    {"negative surface", -640, -480, {3, 9, 2, 10, 3, 4, 2, 0xFFFFFF}},
    {"empty surface", 0, 0, {3, 9, 2, 10, 3, 4, 0, 0xFFFFFF}},
    {"no polygon", 1920, 1080, {INT32_MIN, 9, 2, 10, 3, INT32_MIN, 0, 0xFFFFFF}},
};

TEST(HandEditedSettings, RunWithoutFaultAndStayWithinTheTables)
{
    for (const ExtremeCase& c : kExtremeCases) {
        ResetProcessState();
        KeepRecordedOutlines = false;
        Settings.Number = 2;
        for (int32_t i = 0; i < 2; ++i) {
            Settings.Polygon[i] = c.figure.Polygon;
            Settings.Round[i] = c.figure.Round;
            Settings.Move[i] = c.figure.Move;
            Settings.Angle[i] = c.figure.Angle;
            Settings.Size[i] = c.figure.Size;
            Settings.Locus[i] = c.figure.Locus;
            Settings.XYZ[i] = c.figure.XYZ;
            Settings.Color[i] = c.figure.Color;
        }
        Settings.Round[1] = c.figure.Round == INT32_MIN ? INT32_MAX : -c.figure.Round / 2;
        SurfaceWidth = c.width;
        SurfaceHeight = c.height;
        InitFigures();
        SeedSaverRandom(0x1234);
        for (int frame = 0; frame < 720; ++frame) {
            StepAllFigures();
            for (int32_t i = 0; i < 2; ++i) {
                ASSERT_GE(Figures[i].RotationPhase, 0) << c.name;
                ASSERT_LE(Figures[i].RotationPhase, 359) << c.name;
                ASSERT_GE(Figures[i].TrailIndex, 0) << c.name;
                ASSERT_LT(Figures[i].TrailIndex, c.figure.Locus < 1 ? 1 : c.figure.Locus) << c.name;
            }
        }
    }
}

} // namespace
