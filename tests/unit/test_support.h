// Helpers shared by the figure tests: a clean process state, and control of
// the generator so that a test can ask for the random value it needs.
#pragma once

#include <cstdint>
#include <cstring>

#include "animation/figures.h"
#include "animation/saver_random.h"
#include "recording_drawing.h"
#include "settings/saver_settings.h"

// Everything as at process start: settings, figures and surface zero, the
// generator in its initial state, nothing recorded.
inline void ResetProcessState()
{
    std::memset(&Settings, 0, sizeof Settings);
    std::memset(Figures, 0, sizeof Figures);
    SurfaceWidth = 0;
    SurfaceHeight = 0;
    SaverRandomState = 1;
    ResetRecorder();
}

// The built-in three figures, as a load without a file gives them.
inline void UseBuiltInFigures()
{
    const FigureSettings figures[3] = {{2, 3, 1, 40, 7, 35, 0, 0x0000FF},
                                       {2, 5, 1, 65, 4, 35, 1, 0x00FF00},
                                       {2, 5, 1, 65, 5, 50, 2, 0xFF0000}};
    Settings.Number = 3;
    Settings.Speed = 10;
    Settings.Erase = 1;
    for (int i = 0; i < 3; ++i) {
        Settings.Polygon[i] = figures[i].Polygon;
        Settings.Round[i] = figures[i].Round;
        Settings.Move[i] = figures[i].Move;
        Settings.Angle[i] = figures[i].Angle;
        Settings.Size[i] = figures[i].Size;
        Settings.Locus[i] = figures[i].Locus;
        Settings.XYZ[i] = figures[i].XYZ;
        Settings.Color[i] = figures[i].Color;
    }
}

// The generator's state that makes the next SaverRandom() return `value`
// (0..32767): the next state needs `value` in bits 16..30, and the step is
// undone with the multiplicative inverse of 214013 modulo 2^32.
inline uint32_t StateBefore(int32_t value)
{
    uint32_t next = static_cast<uint32_t>(value) << 16;
    uint32_t inverse = 214013u; // Newton's iteration doubles the correct bits each time
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - 214013u * inverse;
    return (next - 2531011u) * inverse;
}

// The state whose draw-th next value (counted from 0) is `value`.
inline uint32_t StateBeforeDraw(int32_t value, int draw)
{
    uint32_t inverse = 214013u;
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - 214013u * inverse;
    uint32_t state = StateBefore(value);
    for (int i = 0; i < draw; ++i)
        state = (state - 2531011u) * inverse;
    return state;
}

// How many values were drawn to go from state `before` to state `after`
// (up to `limit`; -1 when it is not reached).
inline int DrawsBetween(uint32_t before, uint32_t after, int limit = 64)
{
    uint32_t state = before;
    for (int draws = 0; draws <= limit; ++draws) {
        if (state == after) return draws;
        state = state * 214013u + 2531011u;
    }
    return -1;
}
