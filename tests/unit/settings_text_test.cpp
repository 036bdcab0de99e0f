// The value texts of the settings file: how lists, numbers and colours are
// read, and what the writer produces.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "settings/saver_settings.h"
#include "settings/settings_text.h"

namespace {

// The text on the heap in a block of exactly its own size, so that ASan sees
// any read past the terminator (or past `end` for a lone token).
struct ExactText {
    explicit ExactText(const char* text, bool terminated = true)
        : Bytes(text, text + std::strlen(text) + (terminated ? 1 : 0))
    {
    }
    const char* Begin() const
    {
        return Bytes.data();
    }
    std::vector<char> Bytes;
};

int32_t ReadToken(const char* token)
{
    std::vector<char> exact(token, token + std::strlen(token)); // no terminator
    return ReadNumber(exact.data(), exact.data() + exact.size());
}

struct NumberCase {
    const char* token;
    int32_t want;
};
const NumberCase kNumberCases[] = {
    {"7", 7},
    {"7.9", 7},      // fractions truncated toward zero
    {"-2.5", -2},    // ... also for negatives
    {"-0.9", 0},     //
    {" 5", 5},       // leading white space skipped
    {"\t\r\n 5", 5}, //
    {"12abc", 12},   // stops at the first character that does not fit
    {"5 7", 5},      // a blank ends the number too
    {"abc", 0},      // a token that does not begin with a number
    {"", 0},         //
    {"-", 0},        //
    {".", 0},        //
    {"+3", 3},       //
    {".5e1", 5},     // digits after the full stop alone are a number
    {"5.", 5},       //
    {"1e3", 1000},   // exponent
    {"1.5E1", 15},   //
    {"123.456e2", 12345},
    {"25e-1", 2}, //
    {"1e", 1},    // an 'e' without digits is not part of the number
    {"1e+", 1},   //
    {"2,5", 2},   // the comma is no decimal separator
    {"0x1F", 0},  // no hexadecimal
    {"inf", 0},   // no words
    {"007", 7},   //
    {"2147483647", INT32_MAX},
    {"-2147483648", INT32_MIN},
    // 2^31 .. 2^32-1 are what the "%u" writer makes of negative values: they
    // wrap back to them.
    {"2147483648", INT32_MIN},
    {"4294967295", -1},
    {"4294967294.99", -2},
    {"4.294967295e9", -1},
    // Beyond that, saturation.
    {"4294967296", INT32_MAX},
    {"99999999999999999999999999", INT32_MAX},
    {"1e400", INT32_MAX},
    {"1e99999999999999999999", INT32_MAX},
    {"-2147483649", INT32_MIN},
    {"-1e400", INT32_MIN},
    {"0e99999999999999999999", 0},
    {"1e-99999999999999999999", 0},
    {"0.000000000000000000000000000000000000000000000000001e51", 1},
    // The value truncated is the nearest double: a fraction within half the
    // spacing of doubles below the next whole number is that number.
    {"1.99999999999999999", 2},
    {"-1.99999999999999999", -2},
    {"2.9999999999999999", 3},
    {"2.999999999999999", 2},
    {"0.99999999999999999", 1},
    {"0.9999999999999999", 0},
    {"199999999999999999e-17", 2},
    {"2147483646.9999999", INT32_MAX},
    {"2147483647.9999999", INT32_MIN}, // 2^31, which wraps
    {"4294967295.9999999", INT32_MAX}, // 2^32 saturates
    // 1 - 2^-54 is the midpoint below 1: it rounds to 1 (even), a hair less does not.
    {"0.999999999999999944488848768742172978818416595458984375", 1},
    {"0.999999999999999944488848768742172978818416595458984374", 0},
    // The midpoint below 3: 3 - 2^-52.
    {"2.999999999999999777955395074968691915273666381835937500", 3},
    {"2.9999999999999997779553950749686919152736663818359374", 2},
};

TEST(ReadNumber, ReadsTheLeadingDecimalNumberAndTruncatesIt)
{
    for (const NumberCase& c : kNumberCases)
        EXPECT_EQ(ReadToken(c.token), c.want) << '"' << c.token << '"';
}

TEST(ReadNumber, StopsAtTheEndOfTheTokenEvenWithoutTerminator)
{
    const char text[] = "123,456";
    EXPECT_EQ(ReadNumber(text, text + 2), 12);
    EXPECT_EQ(ReadNumber(text + 4, text + 7), 456);
    EXPECT_EQ(ReadNumber(text, text), 0);
}

struct ListCase {
    const char* text;
    int32_t count;
    std::vector<int32_t> want;
};
const int32_t kMissing = -77;
const ListCase kListCases[] = {
    {"3,4,5,6", 2, {3, 4}}, // surplus tokens ignored
    {"3,,4", 2, {3, 4}},    // empty fields yield no token
    {",,3,4,", 2, {3, 4}},  // leading and trailing commas
    {"3,4,", 2, {3, 4}},    // the writer's form
    {" 5,7.9,abc,-2.5,12abc", 5, {5, 7, 0, -2, 12}},
    {"2,2,2", 5, {2, 2, 2, kMissing, kMissing}}, // short list
    {"", 3, {kMissing, kMissing, kMissing}},     // empty value
    {",,,", 2, {kMissing, kMissing}},            // nothing but commas
    {" ", 2, {0, kMissing}},                     // a blank token reads as 0
    {"4294967295,4294967286,", 2, {-1, -10}},
};

TEST(ReadList, TakesOneTokenPerFigureAndDefaultsTheMissingOnes)
{
    for (const ListCase& c : kListCases) {
        ExactText text(c.text);
        std::vector<int32_t> entries(static_cast<size_t>(MaxFigures), 12345);
        ReadList(text.Begin(), entries.data(), c.count, kMissing);
        std::vector<int32_t> got(entries.begin(), entries.begin() + c.count);
        EXPECT_EQ(got, c.want) << '"' << c.text << "\" count " << c.count;
        for (size_t i = static_cast<size_t>(c.count); i < entries.size(); ++i)
            EXPECT_EQ(entries[i], 12345) << "entry " << i << " of \"" << c.text << '"';
    }
}

TEST(ReadList, NeverFillsMoreThanTheRecordHoldsOrLessThanNothing)
{
    ExactText text("1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20");
    for (int32_t count : {17, 1000, INT32_MAX}) {
        std::vector<int32_t> entries(static_cast<size_t>(MaxFigures) + 4, -1);
        ReadList(text.Begin(), entries.data(), count, kMissing);
        EXPECT_EQ(entries[MaxFigures - 1], MaxFigures);
        EXPECT_EQ(entries[MaxFigures], -1) << "count " << count;
    }
    for (int32_t count : {0, -1, INT32_MIN}) {
        int32_t entry = -1;
        ReadList(text.Begin(), &entry, count, kMissing);
        EXPECT_EQ(entry, -1) << "count " << count;
    }
}

struct ColourCase {
    const char* text;
    int32_t count;
    std::vector<uint32_t> want;
};
const uint32_t kMissingColour = 0xFF0000;
const ColourCase kColourCases[] = {
    {"255,0,0,0,255,0,0,0,255", 3, {0x0000FF, 0x00FF00, 0xFF0000}}, // red, green, blue
    {"300,0,0", 1, {0x00002C}},                                     // only the low byte counts
    {"256,-1,0", 1, {0x00FF00}},                                    // 256 gives 0, -1 gives 255
    {"1,2,3,", 1, {0x030201}},                                      //
    {"1,,2,,3", 1, {0x030201}},                                     // empty fields skipped
    {"4294967295,0,0", 1, {0x0000FF}},                              // the "%u" form of -1
    {"255,0,0,0,255", 2, {0x0000FF, kMissingColour}},               // figure 1 lacks blue
    {"", 2, {kMissingColour, kMissingColour}},
    {"7.9,abc,1e2", 1, {0x640007}},
};

TEST(ReadColors, BuildsEachColourFromThreeNumbers)
{
    for (const ColourCase& c : kColourCases) {
        ExactText text(c.text);
        std::vector<uint32_t> colours(static_cast<size_t>(MaxFigures), 0xABCDEF);
        ReadColors(text.Begin(), colours.data(), c.count, kMissingColour);
        std::vector<uint32_t> got(colours.begin(), colours.begin() + c.count);
        EXPECT_EQ(got, c.want) << '"' << c.text << '"';
        EXPECT_EQ(colours[static_cast<size_t>(c.count)], 0xABCDEFu) << '"' << c.text << '"';
    }
}

TEST(ReadColors, NeverFillsMoreThanTheRecordHolds)
{
    std::string text;
    for (int i = 0; i < 20; ++i)
        text += "1,2,3,";
    std::vector<uint32_t> colours(static_cast<size_t>(MaxFigures) + 1, 7);
    ReadColors(text.c_str(), colours.data(), 100, kMissingColour);
    EXPECT_EQ(colours[MaxFigures - 1], 0x030201u);
    EXPECT_EQ(colours[MaxFigures], 7u);
}

TEST(FormatText, WritesUnsignedDecimalWithACommaAfterEveryEntry)
{
    char out[SettingTextCapacity];
    FormatScalar(3, out);
    EXPECT_STREQ(out, "3");
    FormatScalar(-1, out);
    EXPECT_STREQ(out, "4294967295");
    FormatScalar(INT32_MIN, out);
    EXPECT_STREQ(out, "2147483648");

    const int32_t xyz[] = {0, 1, 2};
    FormatList(xyz, 1, out);
    EXPECT_STREQ(out, "0,");
    FormatList(xyz, 3, out);
    EXPECT_STREQ(out, "0,1,2,");
    FormatList(xyz, 0, out);
    EXPECT_STREQ(out, "");
    const int32_t negatives[] = {-1, -10, INT32_MIN, INT32_MAX};
    FormatList(negatives, 4, out);
    EXPECT_STREQ(out, "4294967295,4294967286,2147483648,2147483647,");

    const uint32_t colours[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x030201};
    FormatColors(colours, 4, out);
    EXPECT_STREQ(out, "255,0,0,0,255,0,0,0,255,1,2,3,");
    const uint32_t withHighByte[] = {0xAB000000u | 0x2C};
    FormatColors(withHighByte, 1, out);
    EXPECT_STREQ(out, "44,0,0,");
}

TEST(FormatText, LongestTextsFitAndReadBackWhole)
{
    char out[SettingTextCapacity];
    std::vector<uint32_t> white(static_cast<size_t>(MaxFigures), 0xFFFFFF);
    FormatColors(white.data(), MaxFigures, out);
    EXPECT_EQ(std::strlen(out), 192u);
    std::vector<uint32_t> colours(static_cast<size_t>(MaxFigures), 0);
    ReadColors(out, colours.data(), MaxFigures, kMissingColour);
    EXPECT_EQ(colours, white);

    std::vector<int32_t> widest(static_cast<size_t>(MaxFigures), -1); // ten digits each
    FormatList(widest.data(), MaxFigures, out);
    EXPECT_EQ(std::strlen(out), 176u);
    std::vector<int32_t> back(static_cast<size_t>(MaxFigures), 0);
    ReadList(out, back.data(), MaxFigures, kMissing);
    EXPECT_EQ(back, widest);

    // A hand-edited Number beyond the record still writes only its 16 entries.
    FormatList(widest.data(), 1000, out);
    EXPECT_EQ(std::strlen(out), 176u);
}

TEST(FormatText, EveryValueReadsBackAsItself)
{
    const int32_t values[] = {0, 1, 7, 200, -1, -2, -360, INT32_MIN, INT32_MAX, 123456789};
    char out[SettingTextCapacity];
    FormatList(values, 10, out);
    int32_t back[MaxFigures] = {};
    ReadList(out, back, 10, kMissing);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(back[i], values[i]);
    for (int32_t value : values) {
        FormatScalar(value, out);
        EXPECT_EQ(ReadToken(out), value);
    }
}

TEST(FormatText, BuiltInDefaultTextsWriteWithTheirFinalComma)
{
    struct Written {
        SettingIndex field;
        const char* text;
    };
    const Written kWritten[] = {
        {NumberField, "3"},
        {SpeedField, "10"},
        {EraseField, "1"},
        {PolygonField, "2,2,2,"},
        {RoundField, "3,5,5,"},
        {MoveField, "1,1,1,"},
        {AngleField, "40,65,65,"},
        {SizeField, "7,4,5,"},
        {LocusField, "35,35,50,"},
        {XYZField, "0,1,2,"},
        {ColorField, "255,0,0,0,255,0,0,0,255,"},
    };
    char out[SettingTextCapacity];
    for (const Written& w : kWritten) {
        const SettingField& field = SettingFields[w.field];
        if (field.Kind == FieldKind::Scalar) {
            FormatScalar(ReadToken(field.DefaultText), out);
        } else if (field.Kind == FieldKind::List) {
            int32_t entries[MaxFigures] = {};
            ReadList(field.DefaultText, entries, 3, kMissing);
            FormatList(entries, 3, out);
        } else {
            uint32_t colours[MaxFigures] = {};
            ReadColors(field.DefaultText, colours, 3, kMissingColour);
            FormatColors(colours, 3, out);
        }
        EXPECT_STREQ(out, w.text) << field.Key;
    }
}

} // namespace
