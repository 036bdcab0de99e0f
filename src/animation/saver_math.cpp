// Sine and cosine: the argument is reduced by pi/2 (Cody and Waite's method,
// with the remainder carried as a head and a tail), then a minimax polynomial
// on [-pi/4, pi/4] gives the sine or cosine of the remainder. The polynomial
// coefficients and the way the kernels fold in the tail are those of Sun's
// freely distributable fdlibm (k_sin.c, k_cos.c); the reduction is our own,
// sized for the arguments this program can make.
#include "animation/saver_math.h"

// pi/2 split into pieces of at most 27 significant bits, so that n * piece is
// exact for every quadrant count n below 2^26, and a last full-precision
// piece. Their sum is pi/2 to about 2^-166.
static constexpr double HalfPi1 = 0x1.921fb54p+0;
static constexpr double HalfPi2 = 0x1.10b461p-30;
static constexpr double HalfPi3 = 0x1.a62633p-58;
static constexpr double HalfPi4 = 0x1.45c06ep-86;
static constexpr double HalfPi5 = 0x1.cd129024e088ap-115;
static constexpr double TwoOverPi = 0x1.45f306dc9c883p-1;
static constexpr double QuarterPi = 0x1.921fb54442d18p-1;
static constexpr double MaxReducible = 1.0e8; // n stays below 2^26 (6.7e7)

static constexpr double S1 = -1.66666666666666324348e-01;
static constexpr double S2 = 8.33333333332248946124e-03;
static constexpr double S3 = -1.98412698298579493134e-04;
static constexpr double S4 = 2.75573137070700676789e-06;
static constexpr double S5 = -2.50507602534068634195e-08;
static constexpr double S6 = 1.58969099521155010221e-10;

static constexpr double C1 = 4.16666666666666019037e-02;
static constexpr double C2 = -1.38888888888741095749e-03;
static constexpr double C3 = 2.48015872894767294178e-05;
static constexpr double C4 = -2.75573143513906633035e-07;
static constexpr double C5 = 2.08757232129817482790e-09;
static constexpr double C6 = -1.13596475577881948265e-11;

// sin(x + y) for |x| <= pi/4 and |y| <= ulp(x)/2.
static double KernelSin(double x, double y)
{
    double z = x * x;
    double v = z * x;
    double r = S2 + z * (S3 + z * (S4 + z * (S5 + z * S6)));
    return x - ((z * (0.5 * y - v * r) - y) - v * S1);
}

// cos(x + y) for |x| <= pi/4 and |y| <= ulp(x)/2. 1 - z/2 is formed so that
// its rounding error is added back, which keeps the result within an ulp.
static double KernelCos(double x, double y)
{
    double z = x * x;
    double w = z * z;
    double r = z * (C1 + z * (C2 + z * C3)) + w * w * (C4 + z * (C5 + z * C6));
    double hz = 0.5 * z;
    w = 1.0 - hz;
    return w + (((1.0 - w) - hz) + (z * r - x * y));
}

// s + e == a + b exactly, s being the rounded sum (Knuth's branch-free form).
static void TwoSum(double a, double b, double& s, double& e)
{
    s = a + b;
    double bVirtual = s - a;
    double aVirtual = s - bVirtual;
    e = (a - aVirtual) + (b - bVirtual);
}

// x = quadrant * pi/2 + (head + tail), |head + tail| <= about pi/4. Every
// n * piece is exact; the subtractions are error-free and their errors are
// gathered in the tail, so cancellation near a multiple of pi/2 loses nothing
// that matters.
static void ReduceByHalfPi(double x, int32_t& quadrant, double& head, double& tail)
{
    double scaled = x * TwoOverPi;
    quadrant = static_cast<int32_t>(scaled >= 0.0 ? scaled + 0.5 : scaled - 0.5);
    double n = static_cast<double>(quadrant);
    const double pieces[] = {HalfPi1, HalfPi2, HalfPi3, HalfPi4, HalfPi5};
    double hi = x;
    double lo = 0.0;
    for (double piece : pieces) {
        double s = 0.0;
        double e = 0.0;
        TwoSum(hi, -(n * piece), s, e);
        hi = s;
        lo += e;
    }
    head = hi + lo;
    tail = lo - (head - hi);
}

static bool Reducible(double x)
{
    return x <= MaxReducible && x >= -MaxReducible; // false for a NaN
}

double SaverSin(double x)
{
    if (!Reducible(x)) return 0.0;
    if (x <= QuarterPi && x >= -QuarterPi) return KernelSin(x, 0.0);
    int32_t quadrant = 0;
    double head = 0.0;
    double tail = 0.0;
    ReduceByHalfPi(x, quadrant, head, tail);
    switch (static_cast<uint32_t>(quadrant) & 3u) {
    case 0: return KernelSin(head, tail);
    case 1: return KernelCos(head, tail);
    case 2: return -KernelSin(head, tail);
    default: return -KernelCos(head, tail);
    }
}

double SaverCos(double x)
{
    if (!Reducible(x)) return 0.0;
    if (x <= QuarterPi && x >= -QuarterPi) return KernelCos(x, 0.0);
    int32_t quadrant = 0;
    double head = 0.0;
    double tail = 0.0;
    ReduceByHalfPi(x, quadrant, head, tail);
    switch (static_cast<uint32_t>(quadrant) & 3u) {
    case 0: return KernelCos(head, tail);
    case 1: return -KernelSin(head, tail);
    case 2: return -KernelCos(head, tail);
    default: return KernelSin(head, tail);
    }
}
