"""The full-screen saver (/s) as a user meets it: what it covers and shows,
what closes it and what does not, and a second start while one runs."""

import time

import korumix_e2e as e2e
from saver_support import SaverTestCase, report

BLACK = (0, 0, 0)
RED, GREEN, BLUE = (255, 0, 0), (0, 255, 0), (0, 0, 255)


class ScreenTest(SaverTestCase):
    def wait_for_colours(self, wanted, name, at_least=20):
        """Screenshots until every wanted colour shows on at least
        `at_least` pixels; returns the last screenshot's colour counts."""
        seen = {}

        def all_there():
            shot = e2e.screenshot()
            seen["shot"], seen["colours"] = shot, shot.colours()
            return all(seen["colours"][c] >= at_least for c in wanted)

        try:
            e2e.wait_until(all_there, 10, f"the colours {wanted} on the screen", interval=0.2)
        finally:
            if "shot" in seen:
                e2e.keep_artifact(seen["shot"], name)
        return seen["shot"], seen["colours"]

    def test_covers_the_virtual_screen_in_black_with_the_default_figures(self):
        saver, hwnd = self.start_full_screen()
        window = e2e.windows().info(hwnd)
        x, y, width, height = e2e.windows().screen()
        self.assertEqual(window.rect, (x, y, x + width, y + height))
        self.assertEqual(window.client, window.rect)
        self.assertEqual((window.cls, window.title, window.parent),
                         (e2e.SAVER_CLASS, e2e.FULL_SCREEN_TITLE, 0))
        self.assertEqual(window.style & (e2e.WS_POPUP | e2e.WS_CHILD), e2e.WS_POPUP)
        self.assertTrue(window.exstyle & e2e.WS_EX_TOPMOST)
        self.assertEqual(e2e.windows().foreground(), hwnd)

        shot, colours = self.wait_for_colours((RED, GREEN, BLUE), "saver-default")
        self.assertEqual((shot.width, shot.height), (width, height))
        # 1-pixel solid pens on a 24-bit screen: the outlines keep their
        # exact colours, and the wiped ones turn back to black.
        self.assertEqual(set(colours), {BLACK, RED, GREEN, BLUE})
        self.assertGreater(shot.black_fraction(), 0.9)
        saver.kill()

    def test_the_settings_file_chooses_the_figures(self):
        # Colours other than the defaults, one not symmetric in red and
        # blue, so that swapped bytes in the colour value would show.
        e2e.write_settings({
            "Number": 2, "Speed": 4, "Erase": 1,
            "Polygon": "3,5,", "Round": "7,9,", "Move": "3,4,", "Angle": "15,30,",
            "Size": "6,8,", "Locus": "20,20,", "XYZ": "2,0,",
            "Color": "255,128,0,40,80,200,",
        })
        saver, _ = self.start_full_screen()
        orange, slate = (255, 128, 0), (40, 80, 200)
        _, colours = self.wait_for_colours((orange, slate), "saver-settings")
        self.assertEqual(set(colours), {BLACK, orange, slate})
        saver.kill()

    def test_a_hand_edited_file_out_of_every_range_still_runs(self):
        # The file is read unchecked; values past the tables' capacities
        # must not take the saver down (a fault would end it with an
        # exception code instead of 0).
        e2e.write_settings({
            "Number": 99, "Speed": 0, "Erase": 7,
            "Polygon": ",".join(["1000"] * 99), "Round": ",".join(["-400"] * 99),
            "Move": ",".join(["90"] * 99), "Angle": ",".join(["-7"] * 99),
            "Size": ",".join(["500"] * 99), "Locus": ",".join(["5000"] * 99),
            "XYZ": ",".join(["9"] * 99), "Color": ",".join(["300"] * 297),
        })
        saver, hwnd = self.start_full_screen()
        self.assertStaysOpen(hwnd, saver, 1.5, "running with such settings")
        self.assertClosesWithin(hwnd, saver, lambda: e2e.xdotool("mousedown", 1), 2,
                                "a click")
        e2e.xdotool("mouseup", 1)


class CloseTest(SaverTestCase):
    """Each input runs against its own saver; the time is from starting the
    xdotool that sends it until the window is gone (so it includes
    xdotool's own start, some 10 to 40 ms here)."""

    CLOSERS = [
        ("mouse move 5,0", ["mousemove_relative", "--", 5, 0], None),
        ("mouse move 0,-5", ["mousemove_relative", "--", 0, -5], None),
        ("mouse move 3,2", ["mousemove_relative", "--", 3, 2], None),
        ("mouse move -2,-3", ["mousemove_relative", "--", -2, -3], None),
        ("mouse move 200,150", ["mousemove_relative", "--", 200, 150], None),
        ("key a", ["keydown", "a"], ["keyup", "a"]),
        ("key Escape", ["keydown", "Escape"], ["keyup", "Escape"]),
        ("key Shift", ["keydown", "Shift_L"], ["keyup", "Shift_L"]),
        ("key Alt (a system key)", ["keydown", "Alt_L"], ["keyup", "Alt_L"]),
        ("left button", ["mousedown", 1], ["mouseup", 1]),
        ("right button", ["mousedown", 3], ["mouseup", 3]),
        ("middle button", ["mousedown", 2], ["mouseup", 2]),
    ]

    def test_each_input_closes_it_at_once_and_the_exit_code_is_0(self):
        times = {}
        for what, press, release in self.CLOSERS:
            with self.subTest(input=what):
                self.park_pointer()
                saver, hwnd = self.start_full_screen()
                try:
                    times[what] = self.assertClosesWithin(
                        hwnd, saver, lambda: e2e.xdotool(*press), 1.0, what)
                finally:
                    if release:
                        e2e.xdotool(*release)
                    saver.kill()
        for what, ms in times.items():
            report(f"close latency, {what}: {ms:.1f} ms")

    def test_movement_within_4_pixels_of_the_start_does_not_close(self):
        # Distances are dx + dy from where the cursor was at the start; the
        # reference stays there, so creeping closes once past 4 in all.
        saver, hwnd = self.start_full_screen()
        for dx, dy in [(3, 0), (-3, 0), (3, 1), (-3, -1), (-2, -2), (2, 2), (0, 4), (0, -4),
                       (-4, 0), (1, 0), (1, 0), (2, 0)]:
            e2e.mouse_move_relative(dx, dy)
            x, y = e2e.mouse_location()
            self.assertStaysOpen(hwnd, saver, 0.4,
                                 f"a move to {x - 640:+d},{y - 512:+d} from the start")
        # Now at +0,+0 again after a round trip; 3 and then 2 more pixels in
        # the same direction: the second step is 5 from the reference.
        e2e.mouse_move_relative(3, 0)
        self.assertStaysOpen(hwnd, saver, 0.4, "a 3-pixel nudge")
        ms = self.assertClosesWithin(hwnd, saver,
                                     lambda: e2e.xdotool("mousemove_relative", "--", 2, 0),
                                     1.0, "a further 2 pixels")
        report(f"close latency, creeping past 4 pixels: {ms:.1f} ms")

    def test_the_wheel_and_further_buttons_do_not_close(self):
        saver, hwnd = self.start_full_screen()
        for button, what in [(4, "wheel up"), (5, "wheel down"), (6, "wheel left"),
                             (7, "wheel right"), (8, "back button"), (9, "forward button")]:
            e2e.click(button)
            self.assertStaysOpen(hwnd, saver, 0.4, what)
        # Still listening: a left click closes it.
        self.assertClosesWithin(hwnd, saver, lambda: e2e.xdotool("mousedown", 1), 1.0,
                                "a left click after them")
        e2e.xdotool("mouseup", 1)


class SecondStartTest(SaverTestCase):
    def test_a_second_full_screen_start_exits_0_at_once_and_leaves_the_first(self):
        first, hwnd = self.start_full_screen()
        tool = e2e.windows()
        tool.watch()
        started = time.monotonic()
        second = e2e.start_saver("/s")
        self.assertEqual(second.wait(5), 0)
        report(f"second /s ended after {(time.monotonic() - started) * 1000:.0f} ms "
               "(process start included)")
        self.assertEqual([w for w in tool.created() if w.pid == second.pid], [],
                         "the second start made a window")
        self.assertIsNone(first.poll(), "the first saver ended")
        self.assertEqual([w.hwnd for w in tool.top_level() if w.cls == e2e.SAVER_CLASS],
                         [hwnd])
        self.assertEqual(tool.foreground(), hwnd)
        # The first one still runs its close rules.
        self.assertClosesWithin(hwnd, first, lambda: e2e.xdotool("keydown", "space"), 1.0,
                                "a key")
        e2e.xdotool("keyup", "space")


if __name__ == "__main__":
    e2e.main()
