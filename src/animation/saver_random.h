// The saver's pseudo-random generator: state = state * 214013 + 2531011
// (unsigned 32-bit, wrapping), result = (state >> 16) & 0x7FFF. The state is 1
// at process start; seeding replaces the whole state. Portable.
#pragma once

#include <cstdint>

extern uint32_t SaverRandomState;

int32_t SaverRandom();
void SeedSaverRandom(uint32_t seed);
