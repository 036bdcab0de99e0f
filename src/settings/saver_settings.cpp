// The settings record and the one table that describes its fields.
#include "settings/saver_settings.h"

SaverSettings Settings;

// The new-figure defaults, named once: the table below and the record
// NewFigureDefaults both take them from here.
static constexpr int32_t NewPolygon = 2;
static constexpr int32_t NewRound = 7;
static constexpr int32_t NewMove = 3;
static constexpr int32_t NewAngle = 15;
static constexpr int32_t NewSize = 5;
static constexpr int32_t NewLocus = 0;
static constexpr int32_t NewXYZ = 0;
static constexpr int32_t NewColor = 0xFF0000; // pure blue in 0x00BBGGRR

const FigureSettings NewFigureDefaults = {NewPolygon, NewRound, NewMove, NewAngle,
                                          NewSize,    NewLocus, NewXYZ,  NewColor};

static constexpr int32_t Lowest = INT32_MIN;
static constexpr int32_t Highest = INT32_MAX;

// Hold ranges: only Number, Polygon and Locus index fixed tables (figures,
// vertices, trail slots). Everything else is arithmetic the animation copes
// with for any 32-bit value, so a hand-edited value is kept as it is.
const SettingField SettingFields[SettingFieldCount] = {
    {"Number", 1008, FieldKind::Scalar, &SaverSettings::Number, nullptr, nullptr, "3", 0, 1,
     MaxFigures, 1, MaxFigures},
    {"Speed", 1009, FieldKind::Scalar, &SaverSettings::Speed, nullptr, nullptr, "10", 0, 4, 20,
     Lowest, Highest},
    {"Erase", 1010, FieldKind::Scalar, &SaverSettings::Erase, nullptr, nullptr, "1", 0, 0, 1,
     Lowest, Highest},
    {"Polygon", 1011, FieldKind::List, nullptr, &SaverSettings::Polygon, nullptr, "2,2,2",
     NewPolygon, 2, MaxVertices, Lowest, MaxVertices},
    {"Round", 1012, FieldKind::List, nullptr, &SaverSettings::Round, nullptr, "3,5,5", NewRound, 1,
     90, Lowest, Highest},
    {"Move", 1013, FieldKind::List, nullptr, &SaverSettings::Move, nullptr, "1,1,1", NewMove, 1, 5,
     Lowest, Highest},
    {"Angle", 1014, FieldKind::List, nullptr, &SaverSettings::Angle, nullptr, "40,65,65", NewAngle,
     0, 120, Lowest, Highest},
    {"Size", 1015, FieldKind::List, nullptr, &SaverSettings::Size, nullptr, "7,4,5", NewSize, 1, 12,
     Lowest, Highest},
    {"Locus", 1016, FieldKind::List, nullptr, &SaverSettings::Locus, nullptr, "35,35,50", NewLocus,
     0, TrailSlots, Lowest, TrailSlots},
    {"XYZ", 1018, FieldKind::List, nullptr, &SaverSettings::XYZ, nullptr, "0,1,2", NewXYZ, 0, 2,
     Lowest, Highest},
    // The colour picker can return any 0x00BBGGRR value; the reader masks
    // every byte, so nothing above 0xFFFFFF is ever stored.
    {"Color", 1019, FieldKind::Colour, nullptr, nullptr, &SaverSettings::Color,
     "255,0,0,0,255,0,0,0,255", NewColor, 0, 0xFFFFFF, 0, 0xFFFFFF},
};

void SetNewFigureDefaults(int32_t figure)
{
    if (figure < 0 || figure >= MaxFigures) return;
    for (const SettingField& field : SettingFields) {
        if (field.Kind == FieldKind::List)
            (Settings.*field.ListField)[figure] = field.NewFigureDefault;
        if (field.Kind == FieldKind::Colour)
            (Settings.*field.ColourField)[figure] = static_cast<uint32_t>(field.NewFigureDefault);
    }
}

static int32_t Clamp(int32_t value, int32_t low, int32_t high)
{
    if (value < low) return low;
    if (value > high) return high;
    return value;
}

void ClampSettings()
{
    const SettingField& number = SettingFields[NumberField];
    if (Settings.Number < number.HoldMin) {
        // The loader read no list entry for a count below 1, so the one figure
        // we now run would otherwise be the all-zero slot of process start.
        Settings.Number = number.HoldMin;
        SetNewFigureDefaults(0);
    }
    Settings.Number = Clamp(Settings.Number, number.HoldMin, number.HoldMax);
    for (const SettingField& field : SettingFields) {
        if (field.Kind != FieldKind::List) continue;
        int32_t* entries = Settings.*field.ListField;
        for (int32_t figure = 0; figure < Settings.Number; ++figure)
            entries[figure] = Clamp(entries[figure], field.HoldMin, field.HoldMax);
    }
}
