// KORUMIX.ini through the private-profile functions, driven by the one table
// of settings (SettingFields). Reading never fails: a missing key gives the
// built-in default text, a missing list entry the new-figure default, and
// whatever a hand-edited file holds is brought inside what the tables can
// hold once, here, by ClampSettings. The list readers and writers never touch
// more entries than the record has, whatever Number a file holds.
#include "settings/settings_file_win.h"

#include <windows.h>

#include "host/host_state_win.h"
#include "settings/saver_settings.h"
#include "settings/settings_text.h"
#include "resources/resource_ids.h"

SettingNamesRecord SettingNames;

// The reader asks for at most 254 characters of a list and 511 of the
// colours; the buffer is the writer's size so that one serves both.
constexpr int ListReadLimit = 255;
constexpr int ColorReadLimit = 512;

static int32_t DefaultScalar(const SettingField& field)
{
    const char* end = field.DefaultText;
    while (*end != '\0')
        ++end;
    return ReadNumber(field.DefaultText, end);
}

void LoadSettingNames()
{
    LoadStringA(ModuleInstance, IDS_SECTION_NAME, SettingNames.SectionName,
                sizeof SettingNames.SectionName);
    LoadStringA(ModuleInstance, IDS_FILE_NAME, SettingNames.FileName, sizeof SettingNames.FileName);
    for (int32_t i = 0; i < SettingFieldCount; ++i) {
        LoadStringA(ModuleInstance, static_cast<UINT>(SettingFields[i].NameId),
                    SettingNames.Keys[i], sizeof SettingNames.Keys[i]);
    }
}

void LoadSettings()
{
    const char* section = SettingNames.SectionName;
    const char* file = SettingNames.FileName;
    char text[SettingTextCapacity];

    for (int32_t i = NumberField; i <= EraseField; ++i) {
        const SettingField& field = SettingFields[i];
        Settings.*field.ScalarField = static_cast<int32_t>(
            GetPrivateProfileIntA(section, SettingNames.Keys[i], DefaultScalar(field), file));
    }

    for (int32_t i = PolygonField; i <= XYZField; ++i) {
        const SettingField& field = SettingFields[i];
        GetPrivateProfileStringA(section, SettingNames.Keys[i], field.DefaultText, text,
                                 ListReadLimit, file);
        ReadList(text, Settings.*field.ListField, Settings.Number, field.NewFigureDefault);
    }

    const SettingField& colour = SettingFields[ColorField];
    GetPrivateProfileStringA(section, SettingNames.Keys[ColorField], colour.DefaultText, text,
                             ColorReadLimit, file);
    ReadColors(text, Settings.*colour.ColourField, Settings.Number,
               static_cast<uint32_t>(colour.NewFigureDefault));

    ClampSettings();
}

void SaveSettings()
{
    const char* section = SettingNames.SectionName;
    const char* file = SettingNames.FileName;
    char text[SettingTextCapacity];

    for (int32_t i = NumberField; i <= EraseField; ++i) {
        FormatScalar(Settings.*SettingFields[i].ScalarField, text);
        WritePrivateProfileStringA(section, SettingNames.Keys[i], text, file);
    }

    for (int32_t i = PolygonField; i <= XYZField; ++i) {
        FormatList(Settings.*SettingFields[i].ListField, Settings.Number, text);
        WritePrivateProfileStringA(section, SettingNames.Keys[i], text, file);
    }

    FormatColors(Settings.*SettingFields[ColorField].ColourField, Settings.Number, text);
    WritePrivateProfileStringA(section, SettingNames.Keys[ColorField], text, file);
}
