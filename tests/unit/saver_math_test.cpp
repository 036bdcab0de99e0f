// The program's own sine and cosine and the defined integer arithmetic the
// animation relies on.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "animation/saver_math.h"

namespace {

[[maybe_unused]] int64_t OrderedBits(double v)
{
    int64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return bits < 0 ? INT64_MIN - bits : bits; // monotonic in v, -0 next to +0
}

[[maybe_unused]] int64_t UlpsApart(double a, double b)
{
    int64_t d = OrderedBits(a) - OrderedBits(b);
    return d < 0 ? -d : d;
}

// The arguments the figures can ask for: every whole degree of a few turns
// either way, through the program's conversion, then a spread of large counts
// of degrees up to the 32-bit limits (a hand-edited Angle).
std::vector<double> SweepArguments()
{
    std::vector<double> xs;
    for (int32_t d = -3600; d <= 3600; ++d)
        xs.push_back(DegreesToRadians(d));
    uint32_t state = 2463534242u;
    for (int i = 0; i < 20000; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        xs.push_back(DegreesToRadians(static_cast<int32_t>(state)));
    }
    for (int32_t d : {INT32_MIN, INT32_MIN + 1, INT32_MAX, INT32_MAX - 1, 90, -90, 180, 270, 360})
        xs.push_back(DegreesToRadians(d));
    return xs;
}

uint64_t Fnv1a(uint64_t hash, double v)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    for (int byte = 0; byte < 8; ++byte) {
        hash ^= (bits >> (8 * byte)) & 0xFFu;
        hash *= 1099511628211u;
    }
    return hash;
}

// Every build computes the same bits: the hash of every sine and cosine of
// the sweep is the same on x86_64 and i686, Linux and Windows.
TEST(SaverMath, SameBitsOnEveryBuild)
{
    uint64_t hash = 14695981039346656037u;
    for (double x : SweepArguments()) {
        hash = Fnv1a(hash, SaverSin(x));
        hash = Fnv1a(hash, SaverCos(x));
    }
    EXPECT_EQ(hash, 0x7d3b22089ec54cf1u) << std::hex << hash;
}

#if defined(__GLIBC__)
// glibc's sine and cosine are correctly rounded in all but rare cases, so
// they are the yardstick here; the Windows runtime is not, and is not used.
TEST(SaverMath, WithinOneUlpOfTheLibrary)
{
    int differing = 0;
    int64_t worst = 0;
    double worstAt = 0.0;
    std::vector<double> xs = SweepArguments();
    for (double x : xs) {
        int64_t e =
            std::max(UlpsApart(SaverSin(x), std::sin(x)), UlpsApart(SaverCos(x), std::cos(x)));
        if (e > 0) ++differing;
        if (e > worst) {
            worst = e;
            worstAt = x;
        }
    }
    std::printf("sine/cosine: %d of %zu arguments differ from the C library, by at most %lld ulp\n",
                differing, xs.size(), static_cast<long long>(worst));
    EXPECT_LE(worst, 1) << "at " << worstAt;
}
#endif

TEST(SaverMath, ExactAtTheAxesAndSymmetric)
{
    EXPECT_EQ(SaverSin(0.0), 0.0);
    EXPECT_EQ(SaverCos(0.0), 1.0);
    EXPECT_FALSE(std::signbit(SaverSin(0.0)));
    EXPECT_TRUE(std::signbit(SaverSin(-0.0)));
    for (double x : SweepArguments()) {
        ASSERT_EQ(SaverSin(-x), -SaverSin(x)) << x;
        ASSERT_EQ(SaverCos(-x), SaverCos(x)) << x;
    }
    // 3.141593 is a little above pi: the cosine of "180 degrees" is just above -1.
    double half = DegreesToRadians(180);
    EXPECT_GT(SaverCos(half), -1.0);
    EXPECT_LT(SaverSin(half), 0.0);
}

TEST(SaverMath, NearMultiplesOfHalfPiKeepTheirPrecision)
{
    // Arguments within 1e-7 of k * pi/2 for large k: the remainder is small
    // and only a reduction that carries pi/2 well past 53 bits gets it right.
    const double pi = 3.14159265358979323846;
    for (int64_t k : {1, 2, 3, 4, 1000, 123457, 10000001, 23860929}) {
        double x = static_cast<double>(k) * (pi / 2);
        double s = SaverSin(x);
        double c = SaverCos(x);
#if defined(__GLIBC__)
        EXPECT_LE(UlpsApart(s, std::sin(x)), 1) << "k " << k;
        EXPECT_LE(UlpsApart(c, std::cos(x)), 1) << "k " << k;
#endif
        EXPECT_NEAR(s * s + c * c, 1.0, 4 * DBL_EPSILON) << "k " << k;
    }
}

TEST(SaverMath, OutsideTheDomainGivesZero)
{
    const double outside[] = {1.0e9, -1.0e9, 1.0e300, std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::quiet_NaN()};
    for (double x : outside) {
        EXPECT_EQ(SaverSin(x), 0.0) << x;
        EXPECT_EQ(SaverCos(x), 0.0) << x;
    }
    // The largest angle a count of degrees reaches is well inside.
    EXPECT_NE(SaverSin(DegreesToRadians(INT32_MIN)), 0.0);
}

struct TruncCase {
    double value;
    int32_t want;
};
const TruncCase kTruncCases[] = {
    {3.7, 3},
    {-3.7, -3},
    {-0.0, 0},
    {-0.999, 0},
    {2147483647.0, INT32_MAX},
    {2147483647.9, INT32_MAX},
    {2147483648.0, INT32_MAX},
    {1.0e24, INT32_MAX},
    {std::numeric_limits<double>::infinity(), INT32_MAX},
    {-2147483648.0, INT32_MIN},
    {-2147483648.9, INT32_MIN},
    {-2147483649.0, INT32_MIN},
    {-1.0e300, INT32_MIN},
    {-std::numeric_limits<double>::infinity(), INT32_MIN},
    {std::numeric_limits<double>::quiet_NaN(), 0},
};

TEST(SaverMath, TruncationSaturatesOutsideThirtyTwoBits)
{
    for (const TruncCase& c : kTruncCases)
        EXPECT_EQ(TruncToInt32(c.value), c.want) << c.value;
}

struct QuotientCase {
    double numerator, divisor;
    int32_t want;
};
const QuotientCase kQuotientCases[] = {
    {-3.7, 1.0, -3},
    {121.0, 0.712, 169},
    {5.0, 0.0, INT32_MAX}, // the viewer's own plane: the limit from above
    {-5.0, 0.0, INT32_MIN},
    {5.0, -0.0, INT32_MAX},
    {0.0, 0.0, 0},
    {-0.0, 0.0, 0},
    {500.0, 1.0e-16, INT32_MAX},
    {500.0, -1.0e-16, INT32_MIN},
    {-500.0, 1.0e-300, INT32_MIN},
    {1.0e300, 1.0e-300, INT32_MAX}, // infinite quotient
};

TEST(SaverMath, QuotientIsDefinedForEveryDivisor)
{
    for (const QuotientCase& c : kQuotientCases)
        EXPECT_EQ(TruncQuotient(c.numerator, c.divisor), c.want)
            << c.numerator << " / " << c.divisor;
}

TEST(SaverMath, IntegerOperationsWrapOrSaturateWithoutOverflow)
{
    EXPECT_EQ(WrapAdd(INT32_MAX, 1), INT32_MIN);
    EXPECT_EQ(WrapAdd(INT32_MIN, -1), INT32_MAX);
    EXPECT_EQ(WrapAdd(-5, 3), -2);
    EXPECT_EQ(WrapMul(INT32_MAX, 2), -2);
    EXPECT_EQ(WrapMul(65536, 65536), 0);
    EXPECT_EQ(WrapMul(-7, 1080), -7560);
    EXPECT_EQ(WrapNeg(INT32_MIN), INT32_MIN);
    EXPECT_EQ(WrapNeg(5), -5);
    EXPECT_EQ(SaturatingAdd(INT32_MAX, 10), INT32_MAX);
    EXPECT_EQ(SaturatingAdd(INT32_MIN, -10), INT32_MIN);
    EXPECT_EQ(SaturatingAdd(INT32_MAX, INT32_MIN), -1);
    EXPECT_EQ(SaturatingAdd(100, -3), 97);
}

TEST(SaverMath, DegreesConvertWithTheProgramsPi)
{
    EXPECT_EQ(DegreesToRadians(0), 0.0);
    EXPECT_EQ(DegreesToRadians(90), (90.0 * 3.141593) / 180.0);
    // The order shows in the last bit: for 11 degrees the other order differs.
    EXPECT_EQ(DegreesToRadians(11), (11.0 * 3.141593) / 180.0);
    EXPECT_NE(DegreesToRadians(11), 11.0 * (3.141593 / 180.0));
    EXPECT_EQ(DegreesToRadians(INT32_MIN), (-2147483648.0 * 3.141593) / 180.0);
}

} // namespace
