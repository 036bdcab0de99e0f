// SaverProc: where the animation meets the saver window. Set-up and tear-down
// happen once per process, since a process makes one saver window.
#include "animation/saver_proc_win.h"

#include <cstdint>

#include "animation/figures.h"
#include "animation/saver_random.h"
#include "host/host_window_win.h"
#include "settings/saver_settings.h"
#include "settings/settings_file_win.h"

UINT_PTR FrameTimerId = 0;

constexpr UINT_PTR FrameTimer = 101;

// Speed is a period in tens of milliseconds. A hand-edited file can hold any
// 32-bit Speed, so the product is taken in 64 bits and kept within what
// SetTimer accepts: nothing at or below zero (the system's shortest period
// instead) and nothing beyond its longest.
UINT FramePeriod(int32_t speed)
{
    const int64_t period = static_cast<int64_t>(speed) * 10;
    if (period < USER_TIMER_MINIMUM) return USER_TIMER_MINIMUM;
    if (period > USER_TIMER_MAXIMUM) return USER_TIMER_MAXIMUM;
    return static_cast<UINT>(period);
}

static void SetUpAnimation(HWND window)
{
    LoadSettingNames();
    LoadSettings();
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    SurfaceWidth = client.right;
    SurfaceHeight = client.bottom;
    InitFigures();
    DrawingSurface = GetDC(window);
    // After InitFigures on purpose: the start positions come from the
    // unseeded sequence and are the same in every run; the seed governs only
    // the bounces.
    SeedSaverRandom(GetTickCount() & 0xFFFFu);
    FrameTimerId = SetTimer(window, FrameTimer, FramePeriod(Settings.Speed), nullptr);
}

static void EraseBackground(HWND window, HDC surface)
{
    if (Settings.Erase != 1) return; // figures are drawn over whatever is there
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    FillRect(surface, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

static void TearDownAnimation(HWND window)
{
    if (FrameTimerId != 0) KillTimer(window, FrameTimer);
    FrameTimerId = 0;
    ReleaseDC(window, DrawingSurface);
    DrawingSurface = nullptr;
}

LRESULT CALLBACK SaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: SetUpAnimation(window); break;
    case WM_TIMER:
        StepAllFigures(); // whatever the timer's identifier
        break;
    case WM_ERASEBKGND: EraseBackground(window, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_DESTROY: TearDownAnimation(window); return 0;
    }
    return DefaultSaverProc(window, message, wParam, lParam);
}
