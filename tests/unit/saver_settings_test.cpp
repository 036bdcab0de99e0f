// The settings record: new-figure defaults and the clamping of hand-edited
// values that the fixed tables cannot hold.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "settings/saver_settings.h"

namespace {

FigureSettings FigureOf(int32_t i)
{
    return {Settings.Polygon[i], Settings.Round[i], Settings.Move[i], Settings.Angle[i],
            Settings.Size[i],    Settings.Locus[i], Settings.XYZ[i],  Settings.Color[i]};
}

bool operator==(const FigureSettings& a, const FigureSettings& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class SettingsRecord : public ::testing::Test {
  protected:
    void SetUp() override
    {
        std::memset(&Settings, 0, sizeof Settings);
    }
};

TEST_F(SettingsRecord, NewFigureIsABlueSegmentTurningSevenDegreesAboutX)
{
    const FigureSettings want = {2, 7, 3, 15, 5, 0, 0, 0xFF0000};
    EXPECT_TRUE(NewFigureDefaults == want);
    for (int32_t i = 0; i < MaxFigures; ++i)
        SetNewFigureDefaults(i);
    for (int32_t i = 0; i < MaxFigures; ++i)
        EXPECT_TRUE(FigureOf(i) == want) << "figure " << i;
}

TEST_F(SettingsRecord, NewFigureDefaultsTouchOnlyTheirSlot)
{
    SetNewFigureDefaults(4);
    SaverSettings before = Settings;
    for (int32_t outside : {-1, MaxFigures, INT32_MIN, INT32_MAX})
        SetNewFigureDefaults(outside);
    EXPECT_EQ(std::memcmp(&before, &Settings, sizeof Settings), 0);
    EXPECT_EQ(Settings.Polygon[3], 0);
    EXPECT_EQ(Settings.Polygon[5], 0);
    EXPECT_EQ(Settings.Number, 0);
}

struct NumberCase {
    int32_t read;
    int32_t kept;
};
const NumberCase kNumberCases[] = {
    {1, 1},          {3, 3}, {16, 16}, {17, 16},       {1000, 16},
    {INT32_MAX, 16}, {0, 1}, {-5, 1},  {INT32_MIN, 1},
};

TEST_F(SettingsRecord, NumberIsClampedToTheFigureTable)
{
    for (const NumberCase& c : kNumberCases) {
        std::memset(&Settings, 0, sizeof Settings);
        Settings.Number = c.read;
        ClampSettings();
        EXPECT_EQ(Settings.Number, c.kept) << "read " << c.read;
    }
}

TEST_F(SettingsRecord, ACountBelowOneRunsOneNewFigure)
{
    // No list entry is read for such a count, so figure 0 would otherwise be
    // the all-zero slot: black, no size, no vertices.
    Settings.Number = 0;
    ClampSettings();
    EXPECT_TRUE(FigureOf(0) == NewFigureDefaults);
    EXPECT_EQ(Settings.Polygon[1], 0);

    std::memset(&Settings, 0, sizeof Settings);
    Settings.Number = 1;
    ClampSettings();
    EXPECT_EQ(Settings.Polygon[0], 0) << "a count of 1 keeps what was read";
}

struct HeldCase {
    int32_t polygon, locus;
    int32_t keptPolygon, keptLocus;
};
const HeldCase kHeldCases[] = {
    {24, 200, 24, 200}, // the largest the tables hold
    {25, 201, 24, 200}, //
    {INT32_MAX, INT32_MAX, 24, 200},
    {2, 35, 2, 35},   //
    {1, 1, 1, 1},     // defined as one vertex, one outline
    {0, 0, 0, 0},     //
    {-3, -7, -3, -7}, // below the dialog's range but harmless: kept
    {INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN},
};

TEST_F(SettingsRecord, PolygonAndLocusAreHeldToTheirTablesForFiguresInUse)
{
    for (const HeldCase& c : kHeldCases) {
        std::memset(&Settings, 0, sizeof Settings);
        Settings.Number = 2;
        for (int32_t i = 0; i < MaxFigures; ++i) {
            Settings.Polygon[i] = c.polygon;
            Settings.Locus[i] = c.locus;
        }
        ClampSettings();
        for (int32_t i = 0; i < 2; ++i) {
            EXPECT_EQ(Settings.Polygon[i], c.keptPolygon) << "polygon " << c.polygon;
            EXPECT_EQ(Settings.Locus[i], c.keptLocus) << "locus " << c.locus;
        }
        // Slots beyond Number are never read, drawn or written.
        EXPECT_EQ(Settings.Polygon[2], c.polygon);
        EXPECT_EQ(Settings.Locus[15], c.locus);
    }
}

TEST_F(SettingsRecord, ValuesTheAnimationCopesWithStayAsRead)
{
    Settings.Number = 16;
    Settings.Speed = -4;
    Settings.Erase = 7;
    for (int32_t i = 0; i < MaxFigures; ++i) {
        Settings.Round[i] = i % 2 ? INT32_MIN : -5;
        Settings.Move[i] = i % 2 ? INT32_MAX : 0;
        Settings.Angle[i] = INT32_MIN + i;
        Settings.Size[i] = INT32_MAX - i;
        Settings.XYZ[i] = i % 2 ? 3 : -1;
        Settings.Color[i] = 0x123456;
        Settings.Polygon[i] = 5;
        Settings.Locus[i] = 9;
    }
    SaverSettings before = Settings;
    ClampSettings();
    EXPECT_EQ(std::memcmp(&before, &Settings, sizeof Settings), 0);
}

TEST_F(SettingsRecord, TheTableHoldsEverythingTheDialogCanSet)
{
    // Clamping may only reach values the dialog cannot give.
    for (const SettingField& field : SettingFields) {
        EXPECT_LE(field.HoldMin, field.DialogMin) << field.Key;
        EXPECT_GE(field.HoldMax, field.DialogMax) << field.Key;
        if (field.Kind != FieldKind::Scalar) {
            EXPECT_GE(field.NewFigureDefault, field.DialogMin) << field.Key;
            EXPECT_LE(field.NewFigureDefault, field.DialogMax) << field.Key;
        }
    }
    EXPECT_EQ(SettingFields[NumberField].HoldMax, MaxFigures);
    EXPECT_EQ(SettingFields[PolygonField].HoldMax, MaxVertices);
    EXPECT_EQ(SettingFields[LocusField].HoldMax, TrailSlots);
}

} // namespace
