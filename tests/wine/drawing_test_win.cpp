// DrawOutline through the real GDI, into a DIB section selected into a memory
// device context that stands in for the saver window's DrawingSurface; the
// bitmap's bits are then read back pixel by pixel.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "animation/drawing.h"
#include "animation/figures.h"
#include "animation/saver_proc_win.h"
#include "animation/saver_random.h"

namespace {

const int kSide = 64;

// The DIB's 32-bit pixels read 0x00RRGGBB; the program's colours are
// 0x00BBGGRR.
uint32_t PixelOf(uint32_t colour)
{
    return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

class DrawingTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kSide;
        info.bmiHeader.biHeight = -kSide; // top-down: row 0 first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        Bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(Bitmap, nullptr);
        Bits = static_cast<uint32_t*>(bits);
        Surface = CreateCompatibleDC(nullptr);
        ASSERT_NE(Surface, nullptr);
        KeptBitmap = SelectObject(Surface, Bitmap);
        DrawingSurface = Surface;
        Clear();
    }
    void TearDown() override
    {
        DrawingSurface = nullptr;
        SelectObject(Surface, KeptBitmap);
        DeleteDC(Surface);
        DeleteObject(Bitmap);
    }
    void Clear()
    {
        GdiFlush();
        std::memset(Bits, 0, sizeof(uint32_t) * kSide * kSide);
    }
    uint32_t At(int x, int y)
    {
        GdiFlush();
        return Bits[y * kSide + x];
    }
    int NonBlack()
    {
        GdiFlush();
        int count = 0;
        for (int i = 0; i < kSide * kSide; ++i)
            count += Bits[i] != 0;
        return count;
    }
    std::vector<uint32_t> Snapshot()
    {
        GdiFlush();
        return std::vector<uint32_t>(Bits, Bits + kSide * kSide);
    }

    HBITMAP Bitmap = nullptr;
    HGDIOBJ KeptBitmap = nullptr;
    HDC Surface = nullptr;
    uint32_t* Bits = nullptr;
};

TEST_F(DrawingTest, SegmentIsDrawnThereAndBackInItsColour)
{
    const int32_t xs[] = {10, 20};
    const int32_t ys[] = {10, 10};
    DrawOutline(xs, ys, 2, 0x0000FF); // red
    for (int x = 10; x <= 20; ++x)
        EXPECT_EQ(At(x, 10), PixelOf(0x0000FF)) << "x " << x;
    EXPECT_EQ(At(9, 10), 0u);
    EXPECT_EQ(At(21, 10), 0u);
    EXPECT_EQ(NonBlack(), 11) << "one pixel wide, both ends included";
}

TEST_F(DrawingTest, OutlineIsClosedBackToTheFirstVertex)
{
    // A right angle: the closing edge runs from (10, 50) up to (10, 30).
    const int32_t xs[] = {10, 40, 10};
    const int32_t ys[] = {30, 30, 50};
    DrawOutline(xs, ys, 3, 0x00FF00);
    EXPECT_EQ(At(25, 30), PixelOf(0x00FF00)) << "first edge";
    EXPECT_EQ(At(25, 40), PixelOf(0x00FF00)) << "second edge, the diagonal";
    for (int y = 31; y < 50; ++y)
        EXPECT_EQ(At(10, y), PixelOf(0x00FF00)) << "closing edge, y " << y;
    EXPECT_EQ(At(11, 45), 0u) << "inside stays unpainted";
}

TEST_F(DrawingTest, WipingInBlackLeavesBlack)
{
    const int32_t xs[] = {5, 60, 33, 2};
    const int32_t ys[] = {5, 12, 58, 40};
    DrawOutline(xs, ys, 4, 0xFFFFFF);
    EXPECT_GT(NonBlack(), 100);
    DrawOutline(xs, ys, 4, 0x000000);
    EXPECT_EQ(NonBlack(), 0);
}

TEST_F(DrawingTest, ZeroLengthOutlinesLeaveNoMark)
{
    // The first wipe of a never-written trail slot: zeros at the origin.
    const int32_t zeros[3] = {};
    const int32_t xs[] = {7, 7, 7};
    const int32_t ys[] = {9, 9, 9};
    for (int32_t count : {3, 2, 1, 0, -5}) {
        DrawOutline(zeros, zeros, count, 0xFFFFFF);
        DrawOutline(xs, ys, count, 0xFFFFFF);
        EXPECT_EQ(NonBlack(), 0) << "count " << count;
    }
}

TEST_F(DrawingTest, EveryPenIsDeselectedAndDeleted)
{
    HGDIOBJ penBefore = GetCurrentObject(Surface, OBJ_PEN);
    DWORD objectsBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const int32_t xs[] = {1, 62, 30};
    const int32_t ys[] = {1, 20, 62};
    // More pens than a process may hold at once (Wine gives out about 65480,
    // Windows 10000 by default): a leak would run out of handles and the
    // last outline would not appear in its colour. GetGuiResources counts
    // on Windows; Wine's reports 0 throughout.
    for (int i = 0; i < 70000; ++i)
        DrawOutline(xs, ys, 3, static_cast<uint32_t>(i & 0xFFFFFF));
    EXPECT_EQ(GetCurrentObject(Surface, OBJ_PEN), penBefore);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), objectsBefore);
    Clear();
    DrawOutline(xs, ys, 3, 0x123456);
    EXPECT_EQ(At(1, 1), PixelOf(0x123456));
}

struct TrailCase {
    const char* name;
    int32_t polygon, round, move, angle, size, locus;
};
const TrailCase kTrailCases[] = {
    // A turning square without trail: each frame wipes the last outline
    // before it draws the next, so only the newest is left.
    {"square, Locus 1", 4, 9, 1, 10, 8, 1},
    {"square, Locus 0", 4, 9, 1, 10, 8, 0},
    // An upright segment stepping 2 pixels sideways a frame keeps three
    // outlines; they never share a column, so no wipe cuts a newer one.
    {"segment, Locus 3", 2, 0, 2, 0, 5, 3},
};

TEST_F(DrawingTest, FrameStepLeavesLocusOutlinesOnTheSurface)
{
    for (const TrailCase& c : kTrailCases) {
        std::memset(&Settings, 0, sizeof Settings);
        std::memset(Figures, 0, sizeof Figures);
        Clear();
        Settings.Number = 1;
        Settings.Polygon[0] = c.polygon;
        Settings.Round[0] = c.round;
        Settings.Move[0] = c.move;
        Settings.Angle[0] = c.angle;
        Settings.Size[0] = c.size;
        Settings.Locus[0] = c.locus;
        Settings.XYZ[0] = 2;
        Settings.Color[0] = 0x00FF00;
        SurfaceWidth = kSide;
        SurfaceHeight = kSide;
        SaverRandomState = 1; // starts at (0, 36) moving right and up
        InitFigures();
        SeedSaverRandom(99);
        int32_t slots = c.locus < 1 ? 1 : c.locus;
        for (int frame = 1; frame <= 12; ++frame) {
            StepAllFigures();
            std::vector<uint32_t> drawn = Snapshot();
            // The same outlines drawn afresh on a black surface.
            Clear();
            int32_t kept = frame < slots ? frame : slots;
            for (int32_t age = kept; age >= 1; --age) {
                int32_t slot = (Figures[0].TrailIndex - age + 2 * slots) % slots;
                const TrailSlot& outline = Figures[0].TrailRing[slot];
                DrawOutline(outline.X, outline.Y, c.polygon, Settings.Color[0]);
            }
            EXPECT_GT(NonBlack(), 10) << c.name << ", frame " << frame;
            EXPECT_TRUE(Snapshot() == drawn) << c.name << ", frame " << frame;
            // Back to the frame's own surface before the next one wipes it.
            std::memcpy(Bits, drawn.data(), drawn.size() * sizeof(uint32_t));
        }
    }
}

} // namespace
