// The settings record: everything the user can configure, one process-global
// SaverSettings named Settings. The settings file fills it, the configuration
// dialog edits it in place, the animation only reads it.
//
// SettingFields is the one table of the eleven settings (INI key, string id,
// built-in default text, new-figure default, dialog range, what the animation
// can hold); the reader, the writer, the clamping and the dialog's ranges are
// all driven from it. Portable: no <windows.h>.
#pragma once

#include <cstdint>

constexpr int32_t MaxFigures = 16;
constexpr int32_t MaxVertices = 24;
constexpr int32_t TrailSlots = 200;

// One figure's eight values, in the order the file stores them.
struct FigureSettings {
    int32_t Polygon;
    int32_t Round;
    int32_t Move;
    int32_t Angle;
    int32_t Size;
    int32_t Locus;
    int32_t XYZ;
    uint32_t Color; // 0x00BBGGRR
};

struct SaverSettings {
    int32_t Number;
    int32_t Speed;
    int32_t Erase;
    int32_t Polygon[MaxFigures];
    int32_t Round[MaxFigures];
    int32_t Move[MaxFigures];
    int32_t Angle[MaxFigures];
    int32_t Size[MaxFigures];
    int32_t Locus[MaxFigures];
    int32_t XYZ[MaxFigures];
    uint32_t Color[MaxFigures];
};

extern SaverSettings Settings;

enum class FieldKind { Scalar, List, Colour };

struct SettingField {
    const char* Key;                                 // the INI key, also the text of string NameId
    int32_t NameId;                                  // string-table id of the key name
    FieldKind Kind;                                  //
    int32_t SaverSettings::*ScalarField;             // Kind Scalar, else null
    int32_t (SaverSettings::*ListField)[MaxFigures]; // Kind List, else null
    uint32_t (SaverSettings::*ColourField)[MaxFigures]; // Kind Colour, else null
    const char* DefaultText;  // the built-in default, as file text ("3", "2,2,2")
    int32_t NewFigureDefault; // what a slot gets when the dialog raises Number (lists only)
    int32_t DialogMin, DialogMax;
    int32_t HoldMin,
        HoldMax; // what the fixed tables can hold; values beyond are clamped on loading
};

constexpr int32_t SettingFieldCount = 11;
extern const SettingField SettingFields[SettingFieldCount];

// Index of each field in SettingFields (also the order of reading and writing).
enum SettingIndex {
    NumberField,
    SpeedField,
    EraseField,
    PolygonField,
    RoundField,
    MoveField,
    AngleField,
    SizeField,
    LocusField,
    XYZField,
    ColorField
};

extern const FigureSettings NewFigureDefaults;

// Gives figure slot `figure` (0..MaxFigures-1; anything else is ignored) the
// new-figure defaults.
void SetNewFigureDefaults(int32_t figure);

// Brings hand-edited values that the fixed tables cannot hold back inside
// them: Number to 1..16, Polygon to at most 24 and Locus to at most 200 for
// the figures in use. A Number below 1 becomes 1, and since no list entry was
// read for figure 0 then, that slot takes the new-figure defaults. Every
// other value stays as read. Called once by the loader, after the whole file
// has been read; nothing downstream checks again.
void ClampSettings();
