// Reading and writing the value texts of the settings file. No C library
// number conversion is used: strtod and friends follow the process locale's
// decimal separator, and the file always uses the full stop.
#include "settings/settings_text.h"

#include "settings/saver_settings.h"

static int32_t FiguresToHandle(int32_t count)
{
    if (count < 0) return 0;
    if (count > MaxFigures) return MaxFigures;
    return count;
}

// The next token of a list: a maximal run of characters other than the comma.
// Commas before it are skipped, so empty fields and a trailing comma yield no
// token. False when the text has no token left.
static bool NextToken(const char*& cursor, const char*& begin, const char*& end)
{
    while (*cursor == ',')
        ++cursor;
    if (*cursor == '\0') return false;
    begin = cursor;
    while (*cursor != ',' && *cursor != '\0')
        ++cursor;
    end = cursor;
    return true;
}

static bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Past this the exponent can only give 0 or a saturated value; capping it
// keeps the count of integer digits far from overflowing.
static constexpr int64_t ExponentCap = 1000000;
static constexpr uint64_t TwoTo32 = 4294967296u;

// The number is read as the nearest double before it is truncated, so a
// fraction close enough to 1 is the next whole number: 1.99999999999999999
// reads as 2, as it would through any decimal-to-double conversion. That
// happens when 1 - fraction is at most half the spacing of doubles at the
// whole part, 2^-(53 - e) for a whole part in [2^e, 2^(e+1)) and 2^-54 below 1
// (a tie goes to the whole number, whose last mantissa bit is 0). The test is
// exact: the fraction's digits against those of 1 - 2^-k = (10^k - 5^k) / 10^k.
static bool NearestDoubleRoundsUp(uint64_t whole, const char* digits, const char* end)
{
    int32_t k = 54; // a whole part of 0
    if (whole != 0) {
        int32_t e = 0;
        while ((whole >> (e + 1)) != 0)
            ++e;
        k = 53 - e;
    }

    // 5^k, little-endian decimal digits; 5^54 has 38 of them.
    uint8_t five[40] = {1};
    for (int32_t n = 0; n < k; ++n) {
        int carry = 0;
        for (uint8_t& digit : five) {
            int v = digit * 5 + carry;
            digit = static_cast<uint8_t>(v % 10);
            carry = v / 10;
        }
    }
    // 10^k - 5^k, most significant digit first, k digits.
    uint8_t threshold[54];
    int borrow = 0;
    for (int32_t i = 0; i < k; ++i) {
        int v = -(i < 40 ? five[i] : 0) - borrow;
        borrow = v < 0;
        threshold[k - 1 - i] = static_cast<uint8_t>(v < 0 ? v + 10 : v);
    }

    const char* d = digits;
    for (int32_t i = 0;; ++i) {
        while (d < end && *d == '.')
            ++d;
        if (i >= k && d >= end) return true; // equal: the tie rounds up
        int have = d < end ? *d++ - '0' : 0;
        int need = i < k ? threshold[i] : 0;
        if (have != need) return have > need;
    }
}

int32_t ReadNumber(const char* begin, const char* end)
{
    const char* p = begin;
    while (p < end && IsBlank(*p))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }

    const char* mantissa = p;
    int64_t integerDigits = 0;
    while (p < end && IsDigit(*p)) {
        ++p;
        ++integerDigits;
    }
    int64_t fractionDigits = 0;
    if (p < end && *p == '.') {
        const char* q = p + 1;
        while (q < end && IsDigit(*q)) {
            ++q;
            ++fractionDigits;
        }
        if (integerDigits > 0 || fractionDigits > 0) p = q;
    }
    if (integerDigits == 0 && fractionDigits == 0) return 0; // not a number
    const char* mantissaEnd = p;

    int64_t exponent = 0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        bool exponentNegative = false;
        if (q < end && (*q == '+' || *q == '-')) {
            exponentNegative = *q == '-';
            ++q;
        }
        if (q < end && IsDigit(*q)) { // otherwise the 'e' is not part of the number
            while (q < end && IsDigit(*q)) {
                if (exponent < ExponentCap) exponent = exponent * 10 + (*q - '0');
                ++q;
            }
            if (exponent > ExponentCap) exponent = ExponentCap;
            if (exponentNegative) exponent = -exponent;
        }
    }

    // Truncation toward zero keeps the first integerDigits + exponent digits
    // of the mantissa, padded with zeros when the exponent reaches past it.
    int64_t keep = integerDigits + exponent;
    uint64_t magnitude = 0;
    bool huge = false;
    const char* d = mantissa;
    for (; keep > 0 && !huge; --keep) {
        while (d < mantissaEnd && *d == '.')
            ++d;
        int digit = 0;
        if (d < mantissaEnd) {
            digit = *d - '0';
            ++d;
        } else if (magnitude == 0) {
            break; // zeros padded onto zero stay zero
        }
        magnitude = magnitude * 10 + static_cast<uint64_t>(digit);
        if (magnitude >= TwoTo32) huge = true;
    }
    // The digits left over are the fraction; it begins right after the kept
    // digits, unless the exponent pushed the full stop to the left of the
    // mantissa (a fraction below 0.1, which can never round up).
    if (!huge && keep == 0 && NearestDoubleRoundsUp(magnitude, d, mantissaEnd)) ++magnitude;
    if (magnitude >= TwoTo32) huge = true;

    if (negative) {
        if (huge || magnitude > 2147483648u) return INT32_MIN;
        return static_cast<int32_t>(-static_cast<int64_t>(magnitude));
    }
    if (huge) return INT32_MAX;
    if (magnitude > static_cast<uint64_t>(INT32_MAX))
        return static_cast<int32_t>(static_cast<int64_t>(magnitude) -
                                    static_cast<int64_t>(TwoTo32));
    return static_cast<int32_t>(magnitude);
}

void ReadList(const char* text, int32_t* entries, int32_t count, int32_t missing)
{
    count = FiguresToHandle(count);
    const char* cursor = text;
    const char* begin = nullptr;
    const char* end = nullptr;
    for (int32_t i = 0; i < count; ++i)
        entries[i] = NextToken(cursor, begin, end) ? ReadNumber(begin, end) : missing;
}

void ReadColors(const char* text, uint32_t* colours, int32_t count, uint32_t missing)
{
    count = FiguresToHandle(count);
    const char* cursor = text;
    const char* begin = nullptr;
    const char* end = nullptr;
    for (int32_t i = 0; i < count; ++i) {
        uint32_t colour = 0;
        bool complete = true;
        for (int shift = 0; shift <= 16; shift += 8) {
            if (!NextToken(cursor, begin, end)) {
                complete = false;
                break;
            }
            colour |= (static_cast<uint32_t>(ReadNumber(begin, end)) & 255u) << shift;
        }
        colours[i] = complete ? colour : missing;
    }
}

// Appends the unsigned decimal form of value ("%u") and returns the new end.
static char* AppendUnsigned(char* out, uint32_t value)
{
    char digits[10];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0)
        *out++ = digits[--count];
    *out = '\0';
    return out;
}

static char* AppendComma(char* out)
{
    *out++ = ',';
    *out = '\0';
    return out;
}

void FormatScalar(int32_t value, char* out)
{
    AppendUnsigned(out, static_cast<uint32_t>(value));
}

void FormatList(const int32_t* entries, int32_t count, char* out)
{
    count = FiguresToHandle(count);
    *out = '\0';
    for (int32_t i = 0; i < count; ++i)
        out = AppendComma(AppendUnsigned(out, static_cast<uint32_t>(entries[i])));
}

void FormatColors(const uint32_t* colours, int32_t count, char* out)
{
    count = FiguresToHandle(count);
    *out = '\0';
    for (int32_t i = 0; i < count; ++i)
        for (int shift = 0; shift <= 16; shift += 8)
            out = AppendComma(AppendUnsigned(out, (colours[i] >> shift) & 255u));
}
