// KORUMIX.ini through the real profile functions, in the Windows directory
// of the test prefix: the names from the string table, the built-in record,
// the exact text the writer produces, round trips, and hand-edited files.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "host/host_state_win.h"
#include "host_fixture_win.h"
#include "settings/saver_settings.h"
#include "settings/settings_file_win.h"

namespace {

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ResetHostState();
        DeleteSettingsFile();
        Settings = SaverSettings();
        LoadSettingNames();
    }
    void TearDown() override
    {
        DeleteSettingsFile();
    }
};

const char Section[] = "[Screen Saver.Korumix]\r\n";

TEST_F(SettingsFile, NamesComeFromTheStringTable)
{
    EXPECT_STREQ(SettingNames.FileName, "KORUMIX.ini");
    EXPECT_STREQ(SettingNames.SectionName, "Screen Saver.Korumix");
    const char* keys[] = {"Number", "Speed", "Erase", "Polygon", "Round", "Move",
                          "Angle",  "Size",  "Locus", "XYZ",     "Color"};
    for (int i = 0; i < SettingFieldCount; ++i)
        EXPECT_STREQ(SettingNames.Keys[i], keys[i]);
}

TEST_F(SettingsFile, NoFileGivesTheBuiltInFigures)
{
    LoadSettings();
    EXPECT_EQ(Settings.Number, 3);
    EXPECT_EQ(Settings.Speed, 10);
    EXPECT_EQ(Settings.Erase, 1);
    const int32_t polygon[] = {2, 2, 2}, round[] = {3, 5, 5}, move[] = {1, 1, 1},
                  angle[] = {40, 65, 65}, size[] = {7, 4, 5}, locus[] = {35, 35, 50},
                  xyz[] = {0, 1, 2};
    const uint32_t color[] = {0x0000FF, 0x00FF00, 0xFF0000};
    for (int f = 0; f < 3; ++f) {
        EXPECT_EQ(Settings.Polygon[f], polygon[f]);
        EXPECT_EQ(Settings.Round[f], round[f]);
        EXPECT_EQ(Settings.Move[f], move[f]);
        EXPECT_EQ(Settings.Angle[f], angle[f]);
        EXPECT_EQ(Settings.Size[f], size[f]);
        EXPECT_EQ(Settings.Locus[f], locus[f]);
        EXPECT_EQ(Settings.XYZ[f], xyz[f]);
        EXPECT_EQ(Settings.Color[f], color[f]);
    }
    EXPECT_EQ(ReadSettingsFile(), ""); // reading makes no file
}

TEST_F(SettingsFile, SavingTheDefaultsWritesTheirTexts)
{
    LoadSettings();
    SaveSettings();
    EXPECT_EQ(ReadSettingsFile(), std::string(Section) + "Number=3\r\n"
                                                         "Speed=10\r\n"
                                                         "Erase=1\r\n"
                                                         "Polygon=2,2,2,\r\n"
                                                         "Round=3,5,5,\r\n"
                                                         "Move=1,1,1,\r\n"
                                                         "Angle=40,65,65,\r\n"
                                                         "Size=7,4,5,\r\n"
                                                         "Locus=35,35,50,\r\n"
                                                         "XYZ=0,1,2,\r\n"
                                                         "Color=255,0,0,0,255,0,0,0,255,\r\n");
    const SaverSettings saved = Settings;
    Settings = SaverSettings();
    LoadSettings();
    EXPECT_EQ(std::memcmp(&Settings, &saved, sizeof saved), 0);
}

SaverSettings FiveFigures()
{
    SaverSettings s = {};
    s.Number = 5;
    s.Speed = 4;
    s.Erase = 0;
    for (int f = 0; f < 5; ++f) {
        s.Polygon[f] = 2 + 5 * f;
        s.Round[f] = 1 + 20 * f;
        s.Move[f] = 1 + f;
        s.Angle[f] = 30 * f;
        s.Size[f] = 12 - 2 * f;
        s.Locus[f] = 50 * f;
        s.XYZ[f] = f % 3;
        s.Color[f] = 0x010203u * static_cast<uint32_t>(f + 1) + 0x7F0000u;
    }
    return s;
}

TEST_F(SettingsFile, SaveThenLoadGivesTheSameRecord)
{
    Settings = FiveFigures();
    SaveSettings();
    Settings = SaverSettings();
    LoadSettings();
    const SaverSettings want = FiveFigures();
    EXPECT_EQ(std::memcmp(&Settings, &want, sizeof want), 0);
}

TEST_F(SettingsFile, OneFigureWritesOneEntryEach)
{
    Settings = FiveFigures();
    Settings.Number = 1;
    SaveSettings();
    EXPECT_EQ(ReadSettingsFile(), std::string(Section) + "Number=1\r\n"
                                                         "Speed=4\r\n"
                                                         "Erase=0\r\n"
                                                         "Polygon=2,\r\n"
                                                         "Round=1,\r\n"
                                                         "Move=1,\r\n"
                                                         "Angle=0,\r\n"
                                                         "Size=12,\r\n"
                                                         "Locus=0,\r\n"
                                                         "XYZ=0,\r\n"
                                                         "Color=3,2,128,\r\n");
}

TEST_F(SettingsFile, SixteenWhiteFiguresReadBackWhole)
{
    Settings = FiveFigures();
    Settings.Number = 16;
    for (int f = 0; f < 16; ++f) {
        Settings.Color[f] = 0xFFFFFF;
        Settings.Polygon[f] = 24;
        Settings.Locus[f] = 200;
    }
    SaveSettings();
    const std::string file = ReadSettingsFile();
    const size_t at = file.find("Color=");
    ASSERT_NE(at, std::string::npos);
    const std::string colors = file.substr(at + 6, file.find("\r\n", at) - at - 6);
    EXPECT_EQ(colors.size(), 192u);
    Settings = SaverSettings();
    LoadSettings();
    EXPECT_EQ(Settings.Number, 16);
    for (int f = 0; f < 16; ++f) {
        EXPECT_EQ(Settings.Color[f], 0xFFFFFFu) << "figure " << f;
        EXPECT_EQ(Settings.Polygon[f], 24);
        EXPECT_EQ(Settings.Locus[f], 200);
    }
}

// Hand-edited files: whatever they hold loads without a fault, and what the
// fixed tables cannot hold is brought inside them.
struct Want {
    int Field; // SettingIndex
    int Figure;
    int64_t Value;
};

struct HandEditedCase {
    const char* Name;
    const char* Body; // the lines after the section header
    Want Wants[8];
};

const HandEditedCase kHandEdited[] = {
    {"short lists take the new-figure defaults",
     "Number=5\r\nPolygon=3,4\r\nColor=255,0,0,0,255\r\n",
     {{NumberField, 0, 5},
      {PolygonField, 1, 4},
      {PolygonField, 2, 2},
      {PolygonField, 4, 2},
      {RoundField, 2, 5}, // the built-in text covers three figures
      {RoundField, 3, 7},
      {ColorField, 0, 0x0000FF},
      {ColorField, 1, 0xFF0000}}},
    {"empty values",
     "Polygon=\r\nLocus=,,,\r\nColor=\r\n",
     {{NumberField, 0, 3},
      {PolygonField, 0, 2},
      {LocusField, 2, 0},
      {ColorField, 1, 0xFF0000},
      {RoundField, 1, 5}}},
    {"garbage tokens read as numbers or 0",
     "Number=2\r\nPolygon=abc,7.9\r\nRound= 5,-2.5\r\nColor=red,green,blue,300,0,0\r\n",
     {{PolygonField, 0, 0},
      {PolygonField, 1, 7},
      {RoundField, 0, 5},
      {RoundField, 1, -2},
      {ColorField, 0, 0},
      {ColorField, 1, 0x2C}}},
    {"garbage count",
     "Number=abc\r\nSpeed=fast\r\n",
     {{NumberField, 0, 1}, {PolygonField, 0, 2}, {SpeedField, 0, 0}}},
    {"count 0", "Number=0\r\n", {{NumberField, 0, 1}, {PolygonField, 0, 2}, {LocusField, 0, 0}}},
    {"count -3", "Number=-3\r\n", {{NumberField, 0, 1}, {RoundField, 0, 7}}},
    {"count 40",
     "Number=40\r\nPolygon=3,3,3,3,3,3,3,3,3,3,3,3,3,3,3,9,9,9,9,9,9,9,9,9,9,9,9\r\n",
     {{NumberField, 0, 16}, {PolygonField, 14, 3}, {PolygonField, 15, 9}, {SizeField, 15, 5}}},
    {"vertex count 99 and trail 5000",
     "Number=2\r\nPolygon=99,24\r\nLocus=5000,-1\r\n",
     {{PolygonField, 0, 24}, {PolygonField, 1, 24}, {LocusField, 0, 200}}},
    {"huge numbers",
     "Number=2\r\nSpeed=99999999999\r\nRound=99999999999,1e400\r\nColor=4294967551,-1,256\r\n",
     {{ColorField, 0, 0x00FFFF}}},
    {"a list longer than the reader takes",
     "Number=16\r\nMove=1111111111,2222222222,3333333333,4444444444,5555555555,6666666666,"
     "7777777777,8888888888,9999999999,1111111111,2222222222,3333333333,4444444444,5555555555,"
     "6666666666,7777777777,8888888888,9999999999,1111111111,2222222222,3333333333,4444444444,"
     "5555555555,6666666666,7777777777\r\n",
     {{NumberField, 0, 16}}},
};

class HandEdited : public SettingsFile, public ::testing::WithParamInterface<HandEditedCase> {};

int64_t ValueOf(const Want& want)
{
    const SettingField& field = SettingFields[want.Field];
    switch (field.Kind) {
    case FieldKind::Scalar: return Settings.*field.ScalarField;
    case FieldKind::List: return (Settings.*field.ListField)[want.Figure];
    case FieldKind::Colour: return (Settings.*field.ColourField)[want.Figure];
    }
    return 0;
}

TEST_P(HandEdited, LoadsInsideWhatTheTablesHold)
{
    const HandEditedCase& c = GetParam();
    WriteSettingsFile(std::string(Section) + c.Body);
    LoadSettings();
    ASSERT_GE(Settings.Number, 1);
    ASSERT_LE(Settings.Number, MaxFigures);
    for (int f = 0; f < Settings.Number; ++f) {
        EXPECT_LE(Settings.Polygon[f], MaxVertices) << "figure " << f;
        EXPECT_LE(Settings.Locus[f], TrailSlots) << "figure " << f;
        EXPECT_LE(Settings.Color[f], 0xFFFFFFu) << "figure " << f;
    }
    for (const Want& want : c.Wants) {
        if (want.Field == 0 && want.Figure == 0 && want.Value == 0) break;
        EXPECT_EQ(ValueOf(want), want.Value)
            << SettingFields[want.Field].Key << " of figure " << want.Figure;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, HandEdited, ::testing::ValuesIn(kHandEdited), NameOfCase());

} // namespace
