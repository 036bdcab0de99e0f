#include "recording_drawing.h"

#include "animation/drawing.h"

std::vector<RecordedOutline> RecordedOutlines;
bool KeepRecordedOutlines = true;
uint64_t RecordedHash = 14695981039346656037u;

static void Fold(uint32_t value)
{
    for (int byte = 0; byte < 4; ++byte) {
        RecordedHash ^= (value >> (8 * byte)) & 0xFFu;
        RecordedHash *= 1099511628211u;
    }
}

void ResetRecorder()
{
    RecordedOutlines.clear();
    KeepRecordedOutlines = true;
    RecordedHash = 14695981039346656037u;
}

void DrawOutline(const int32_t* xs, const int32_t* ys, int32_t count, uint32_t colour)
{
    // The GDI side always moves to vertex 0 and closes back to it, so vertex 0
    // is looked at even for a count below 1.
    int32_t used = count < 1 ? 1 : count;
    Fold(colour);
    Fold(static_cast<uint32_t>(count));
    for (int32_t k = 0; k < used; ++k) {
        Fold(static_cast<uint32_t>(xs[k]));
        Fold(static_cast<uint32_t>(ys[k]));
    }
    if (!KeepRecordedOutlines) return;
    RecordedOutline outline{colour, count, {}, {}};
    outline.X.assign(xs, xs + used);
    outline.Y.assign(ys, ys + used);
    RecordedOutlines.push_back(outline);
}
