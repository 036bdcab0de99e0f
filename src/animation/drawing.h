// The seam between the frame step and the screen: every outline, wiped or
// drawn, is handed here as a closed polygon of `count` vertices. The product
// links the GDI implementation (drawing_gdi_win.cpp, on DrawingSurface); the
// native tests link a recorder. Must not fail, block or report.
#pragma once

#include <cstdint>

void DrawOutline(const int32_t* xs, const int32_t* ys, int32_t count, uint32_t colour);
