// The program's own arithmetic: sine and cosine in IEEE double precision, and
// the 32-bit integer operations the animation needs to stay defined for any
// hand-edited setting. Portable; uses no C runtime function.
//
// Sine and cosine are computed here rather than taken from the C runtime
// because runtimes differ in the last bit for some arguments (the Windows
// runtime under Wine and glibc do for about one angle in 70 of the integer
// degrees), and one bit can move a truncated vertex by a pixel. Only +, -, *
// and / on doubles are used, so every build that does its doubles in IEEE
// double precision (SSE2 on i686, no fused multiply-add) gives the same bits.
#pragma once

#include <cstdint>

// Correctly reduced for |x| up to 1.0e8, which covers every angle that a
// signed 32-bit count of degrees converts to (at most about 3.75e7); results
// are within 1 ulp of the true value. Outside that domain (and for a NaN)
// they return 0, which no caller of this program can reach.
double SaverSin(double x);
double SaverCos(double x);

// Degrees to radians the way the animation defines it: (d * 3.141593) / 180,
// the multiplication first, with 3.141593 rather than full-precision pi.
inline double DegreesToRadians(int32_t degrees)
{
    return (static_cast<double>(degrees) * 3.141593) / 180.0;
}

// Two's complement 32-bit arithmetic without signed overflow: hand-edited
// settings (a huge Size, Move or surface product) wrap instead of invoking
// undefined behaviour.
inline int32_t WrapAdd(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t WrapMul(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}
inline int32_t WrapNeg(int32_t a)
{
    return static_cast<int32_t>(0u - static_cast<uint32_t>(a));
}

// a + b limited to the 32-bit range: a vertex thrown far out by the
// perspective divide stays far out on its own side of the centre.
inline int32_t SaturatingAdd(int32_t a, int32_t b)
{
    int64_t sum = static_cast<int64_t>(a) + b;
    if (sum > INT32_MAX) return INT32_MAX;
    if (sum < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(sum);
}

// trunc(v) toward zero into 32 bits; a value outside the range saturates to
// INT32_MIN or INT32_MAX (and a NaN gives 0) instead of the undefined
// conversion.
inline int32_t TruncToInt32(double v)
{
    if (v >= 2147483648.0) return INT32_MAX;
    if (v <= -2147483649.0) return INT32_MIN;
    if (!(v == v)) return 0;
    return static_cast<int32_t>(v);
}

// trunc(numerator / divisor), defined for every divisor: the quotient
// saturates as TruncToInt32 does, and a divisor of exactly 0 (a vertex turned
// onto the viewer's own plane) is taken as the limit from above, +0, giving
// INT32_MAX or INT32_MIN by the numerator's sign and 0 for a zero numerator,
// without dividing.
inline int32_t TruncQuotient(double numerator, double divisor)
{
    if (divisor == 0.0) {
        if (numerator > 0.0) return INT32_MAX;
        if (numerator < 0.0) return INT32_MIN;
        return 0;
    }
    return TruncToInt32(numerator / divisor);
}
