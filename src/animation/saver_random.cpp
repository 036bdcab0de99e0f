// The saver's pseudo-random generator. Its whole state is one 32-bit word, so
// the unseeded sequence (state 1) gives the same start positions in every run.
#include "animation/saver_random.h"

uint32_t SaverRandomState = 1;

int32_t SaverRandom()
{
    SaverRandomState = SaverRandomState * 214013u + 2531011u; // unsigned: wraps by definition
    return static_cast<int32_t>((SaverRandomState >> 16) & 0x7FFFu);
}

void SeedSaverRandom(uint32_t seed)
{
    SaverRandomState = seed;
}
