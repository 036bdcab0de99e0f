// The value texts of the settings file: cutting a list at commas, reading a
// number with the full stop as decimal separator whatever the process
// locale, and the texts the writer produces. Portable: no <windows.h>; the
// profile-file calls themselves live in settings_file_win.cpp.
#pragma once

#include <cstdint>

// Room for every text the writer can make (176 characters for a list, 192 for
// the colours, plus the terminator) with the margin the reader allows.
constexpr int32_t SettingTextCapacity = 512;

// Fills entries[0..count-1] from a comma-separated list; an entry with no
// token left takes `missing`. Never reads past the text's terminator.
void ReadList(const char* text, int32_t* entries, int32_t count, int32_t missing);

// Fills colours[0..count-1] from red,green,blue triples; a figure whose
// three numbers are not all there takes `missing`.
void ReadColors(const char* text, uint32_t* colours, int32_t count, uint32_t missing);

// One token read as a decimal number, truncated toward zero to 32 bits.
int32_t ReadNumber(const char* begin, const char* end);

// "%u" of a value; "%u," per entry; "%u,%u,%u," per colour. `out` has room
// for SettingTextCapacity characters.
void FormatScalar(int32_t value, char* out);
void FormatList(const int32_t* entries, int32_t count, char* out);
void FormatColors(const uint32_t* colours, int32_t count, char* out);
