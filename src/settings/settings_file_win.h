// The settings file, KORUMIX.ini in the Windows directory, read and written
// through the private-profile functions. The file, section and key names come
// from the string table (LoadSettingNames) and must be loaded first.
#pragma once

struct SettingNamesRecord {
    char FileName[22];
    char SectionName[22];
    char Keys[11][15]; // in the order of SettingFields
};

extern SettingNamesRecord SettingNames;

void LoadSettingNames();
void LoadSettings();
void SaveSettings();
