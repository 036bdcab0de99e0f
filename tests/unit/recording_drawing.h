// The tests' DrawOutline: records every outline the frame step hands over,
// in order, with its colour and vertices, instead of drawing it.
#pragma once

#include <cstdint>
#include <vector>

struct RecordedOutline {
    uint32_t Colour;
    int32_t Count;             // as handed over (Polygon, may be 0 or less)
    std::vector<int32_t> X, Y; // vertex 0 always, then 1..Count-1
};

extern std::vector<RecordedOutline> RecordedOutlines;
extern bool KeepRecordedOutlines; // false: only the running hash is kept
extern uint64_t RecordedHash;     // FNV-1a 64 over every outline handed over

void ResetRecorder();
