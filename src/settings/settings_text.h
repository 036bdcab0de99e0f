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
// token left takes `missing`. Never reads past the text's terminator. Every
// list of the record has MaxFigures entries, so a larger count (a hand-edited
// Number) is cut to MaxFigures; a count below 1 fills nothing.
void ReadList(const char* text, int32_t* entries, int32_t count, int32_t missing);

// Fills colours[0..count-1] from red,green,blue triples, only the low 8 bits
// of each number counting; a figure whose three numbers are not all there
// takes `missing`. Count is cut to 0..MaxFigures as for ReadList.
void ReadColors(const char* text, uint32_t* colours, int32_t count, uint32_t missing);

// One token [begin, end) read as a decimal number and truncated toward zero
// to 32 bits: leading white space, an optional sign, digits, an optional full
// stop with digits, an optional exponent; reading stops at the first
// character that does not fit, and a token that does not begin with a number
// reads as 0. The value truncated is the double nearest to the text, found
// exactly on its decimal digits (no C library conversion, no locale), so
// 7.9 gives 7 and 1.99999999999999999 gives 2, as through any conversion.
// Out of the signed 32-bit range: 2^31 .. 2^32-1 wrap to their signed form
// (the writer's "%u" of a negative value reads back as that value); anything
// larger saturates to INT32_MAX, anything below -2^31 to INT32_MIN.
int32_t ReadNumber(const char* begin, const char* end);

// "%u" of a value; "%u," per entry; "%u,%u,%u," per colour (red, green and
// blue bytes). `out` has room for SettingTextCapacity characters; the counts
// are cut to 0..MaxFigures, so a text never exceeds 176 (list) or 192
// (colours) characters plus the terminator.
void FormatScalar(int32_t value, char* out);
void FormatList(const int32_t* entries, int32_t count, char* out);
void FormatColors(const uint32_t* colours, int32_t count, char* out);
