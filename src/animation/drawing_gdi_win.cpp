// DrawOutline on the saver window's device context. A pen is made for every
// outline and deleted after it rather than kept: nothing stays selected into
// the surface between frames, and the window procedure owns nothing but the
// device context itself. Drawing results are never examined: a failed call
// leaves a pixel unpainted, nothing more.
#include <windows.h>

#include "animation/drawing.h"
#include "animation/saver_proc_win.h"

HDC DrawingSurface;

void DrawOutline(const int32_t* xs, const int32_t* ys, int32_t count, uint32_t colour)
{
    HPEN pen = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(colour));
    HGDIOBJ kept = SelectObject(DrawingSurface, pen);
    // Vertex 0, the others in order, and back to vertex 0: a closed outline.
    // Fewer than two vertices make a zero-length line, which paints nothing.
    MoveToEx(DrawingSurface, xs[0], ys[0], nullptr);
    for (int32_t k = 1; k < count; ++k)
        LineTo(DrawingSurface, xs[k], ys[k]);
    LineTo(DrawingSurface, xs[0], ys[0]);
    SelectObject(DrawingSurface, kept);
    DeleteObject(pen);
}
