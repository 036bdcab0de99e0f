// The figures: start-up geometry, projection, the frame step with its trails
// and the bounces at the surface's edges.
//
// Arithmetic is fixed to the last bit: integer products are 32-bit products,
// integer divisions and every conversion of a double truncate toward zero,
// everything else is IEEE double, and the sines and cosines are our own
// (saver_math.h). Values the dialog cannot produce (a hand-edited file) are
// kept defined here: sums and products of settings wrap in 32 bits, a
// quotient beyond 32 bits saturates, and the rotation phase stays in 0..359.
#include "animation/figures.h"

#include "animation/drawing.h"
#include "animation/saver_math.h"
#include "animation/saver_random.h"

FigureState Figures[MaxFigures];
int32_t SurfaceWidth;
int32_t SurfaceHeight;

static constexpr uint32_t Black = 0x000000;

static int32_t FlooredModulo360(int64_t value)
{
    int64_t rest = value % 360;
    return static_cast<int32_t>(rest < 0 ? rest + 360 : rest);
}

static bool RoundIsWrappedOnce(int32_t round)
{
    return round >= 0 && round <= 360;
}

// The phase before the first frame: that frame adds Round before projecting,
// so its outline shows phase 0. For a Round the dialog cannot give (below 0
// or above 360) the phase is kept reduced to 0..359 instead, and -Round of
// INT32_MIN never has to be formed.
static int32_t PhaseBeforeFirstFrame(int32_t round)
{
    if (RoundIsWrappedOnce(round)) return -round;
    return FlooredModulo360(-static_cast<int64_t>(round));
}

static int32_t NextPhase(int32_t phase, int32_t round)
{
    if (RoundIsWrappedOnce(round)) {
        phase += round; // at most 359 + 360
        if (phase >= 360) phase -= 360;
        return phase;
    }
    return FlooredModulo360(static_cast<int64_t>(phase) + round);
}

void InitFigures()
{
    // Pass 1: vertex 0 of every figure, the point (0, h) turned by Angle.
    for (int32_t i = 0; i < Settings.Number; ++i) {
        double a = DegreesToRadians(Settings.Angle[i]);
        int32_t h = WrapMul(Settings.Size[i], SurfaceHeight) / -40;
        FigureState& figure = Figures[i];
        figure.BaseShape.x[0] = TruncToInt32(-static_cast<double>(h) * SaverSin(a));
        figure.BaseShape.y[0] = TruncToInt32(static_cast<double>(h) * SaverCos(a));
        figure.BaseShape.z[0] = 0;
    }

    // Pass 2: state, start position and direction (four random values per
    // figure, in this order), then the other vertices.
    for (int32_t i = 0; i < Settings.Number; ++i) {
        FigureState& figure = Figures[i];
        figure.TrailIndex = 0;
        figure.RotationPhase = PhaseBeforeFirstFrame(Settings.Round[i]);
        figure.Velocity.x = Settings.Move[i];
        figure.Velocity.y = Settings.Move[i];
        int32_t r1 = SaverRandom();
        figure.Position.x = WrapMul(SurfaceWidth, r1) / 32767;
        int32_t r2 = SaverRandom();
        figure.Position.y = WrapMul(SurfaceHeight, r2) / 32767;
        if (SaverRandom() > 16383) figure.Velocity.x = WrapNeg(figure.Velocity.x);
        if (SaverRandom() > 16383) figure.Velocity.y = WrapNeg(figure.Velocity.y);

        int32_t polygon = Settings.Polygon[i];
        double x0 = figure.BaseShape.x[0];
        double y0 = figure.BaseShape.y[0];
        for (int32_t j = 1; j < polygon; ++j) {
            // Whole degrees: a count that does not divide 360 gives a slightly
            // irregular polygon, as intended.
            double t = DegreesToRadians((360 * j) / polygon);
            double c = SaverCos(t);
            double s = SaverSin(t);
            figure.BaseShape.x[j] = TruncToInt32(x0 * c - y0 * s);
            figure.BaseShape.y[j] = TruncToInt32(y0 * c + x0 * s);
            figure.BaseShape.z[j] = 0;
        }
    }
}

void ProjectFigure(int32_t index, int32_t slot)
{
    FigureState& figure = Figures[index];
    TrailSlot& out = figure.TrailRing[slot];
    int32_t polygon = Settings.Polygon[index];
    int32_t axis = Settings.XYZ[index];
    double phi = DegreesToRadians(figure.RotationPhase);
    double c = SaverCos(phi);
    double s = SaverSin(phi);

    for (int32_t k = 0; k < polygon; ++k) {
        double x = figure.BaseShape.x[k];
        double y = figure.BaseShape.y[k];
        double z = figure.BaseShape.z[k];
        // The two products of the depth are summed first, then scaled: the
        // viewer stands 500 pixels in front of the screen plane. Each
        // coordinate is divided once and truncated once, as an offset from
        // the centre.
        if (axis == 1) { // about Y
            double d = (x * s + z * c) * 0.002 + 1.0;
            out.X[k] = TruncQuotient(x * c - z * s, d);
            out.Y[k] = TruncQuotient(y, d);
        } else if (axis == 2) { // about Z
            double d = z * 0.002 + 1.0;
            out.X[k] = TruncQuotient(x * c - y * s, d);
            out.Y[k] = TruncQuotient(y * c + x * s, d);
        } else { // about X: 0, and every other value
            double d = (z * c + y * s) * 0.002 + 1.0;
            out.X[k] = TruncQuotient(x, d);
            out.Y[k] = TruncQuotient(y * c - z * s, d);
        }
    }
    for (int32_t k = 0; k < polygon; ++k) {
        out.X[k] = SaturatingAdd(out.X[k], figure.Position.x);
        out.Y[k] = SaturatingAdd(out.Y[k], figure.Position.y);
    }
}

static void DrawSlot(int32_t index, int32_t slot, uint32_t colour)
{
    const TrailSlot& outline = Figures[index].TrailRing[slot];
    DrawOutline(outline.X, outline.Y, Settings.Polygon[index], colour);
}

void StepFigure(int32_t index)
{
    FigureState& figure = Figures[index];
    int32_t slot = figure.TrailIndex;
    DrawSlot(index, slot, Black); // wipe the oldest outline
    figure.Position.x = WrapAdd(figure.Position.x, figure.Velocity.x);
    figure.Position.y = WrapAdd(figure.Position.y, figure.Velocity.y);
    figure.RotationPhase = NextPhase(figure.RotationPhase, Settings.Round[index]);
    ProjectFigure(index, slot);
    DrawSlot(index, slot, Settings.Color[index]);
    figure.TrailIndex += 1;
    if (figure.TrailIndex >= Settings.Locus[index]) figure.TrailIndex = 0;
}

void StepAllFigures()
{
    for (int32_t i = 0; i < Settings.Number; ++i) {
        StepFigure(i);
        // The centre the next frame reaches, as that frame will compute it;
        // each test sees the velocity the test before it left.
        FigureState& figure = Figures[i];
        if (WrapAdd(figure.Position.x, figure.Velocity.x) <= 0)
            PickBounceVelocity(Axis::X, i, false);
        if (WrapAdd(figure.Position.x, figure.Velocity.x) >= SurfaceWidth)
            PickBounceVelocity(Axis::X, i, true);
        if (WrapAdd(figure.Position.y, figure.Velocity.y) <= 0)
            PickBounceVelocity(Axis::Y, i, false);
        if (WrapAdd(figure.Position.y, figure.Velocity.y) >= SurfaceHeight)
            PickBounceVelocity(Axis::Y, i, true);
    }
}

// Extra speed by the random value r: the first threshold not above r gives k.
struct BounceStep {
    int32_t Below;
    int32_t Extra;
};
static const BounceStep BounceSteps[] = {
    {6554, 4}, {13107, 3}, {19660, 2}, {26213, 1}, {32768, 0},
};

void PickBounceVelocity(Axis axis, int32_t index, bool negative)
{
    int32_t r = SaverRandom();
    int32_t extra = 0;
    for (const BounceStep& step : BounceSteps) {
        if (r < step.Below) {
            extra = step.Extra;
            break;
        }
    }
    int32_t magnitude = WrapAdd(Settings.Move[index], extra);
    int32_t velocity = negative ? WrapNeg(magnitude) : magnitude;
    if (axis == Axis::X)
        Figures[index].Velocity.x = velocity;
    else
        Figures[index].Velocity.y = velocity;
}
