// The figures: their run-time state, start-up geometry, projection and frame
// step. Portable: the only way out is DrawOutline (drawing.h). Called by
// SaverProc on the saver window's creation (InitFigures) and on every timer
// tick (StepAllFigures). A frame step never sleeps, never blocks and never
// examines a drawing result.
#pragma once

#include <cstdint>

#include "settings/saver_settings.h"

struct TrailSlot {
    int32_t X[MaxVertices];
    int32_t Y[MaxVertices];
};

struct FigureState {
    struct {
        int32_t x[MaxVertices];
        int32_t y[MaxVertices];
        int32_t z[MaxVertices];
    } BaseShape;
    struct {
        int32_t x, y;
    } Position, Velocity;
    int32_t RotationPhase;
    int32_t TrailIndex;
    TrailSlot TrailRing[TrailSlots];
};

extern FigureState Figures[MaxFigures];
extern int32_t SurfaceWidth;
extern int32_t SurfaceHeight;

enum class Axis { X, Y };

void InitFigures();
void ProjectFigure(int32_t figure, int32_t slot);
void StepFigure(int32_t figure);
void StepAllFigures();
void PickBounceVelocity(Axis axis, int32_t figure, bool negative);
