"""The saver as a preview (/p <hwnd>) inside a parent window of another
process, as the display settings run it.

Wine draws nothing of a child window whose top-level window belongs to
another process (the child's drawing goes to no X window), so the preview's
pixels cannot be looked at here; its window, its input handling and its end
can."""

import korumix_e2e as e2e
from saver_support import SaverTestCase

PREVIEW_AT = (300, 200, 320, 240)  # client area of the parent: x, y, width, height


class PreviewTest(SaverTestCase):
    def start_preview(self, tail_format="/p {hwnd}"):
        parent = e2e.PreviewParent(*PREVIEW_AT)
        saver = e2e.start_saver(tail_format.format(hwnd=parent.hwnd))
        preview = e2e.windows().wait_window(e2e.SAVER_CLASS, e2e.PREVIEW_TITLE,
                                            e2e.STARTUP_TIMEOUT, parent=parent.hwnd)
        if not preview:
            self.fail(f"no preview window in the parent for {saver.command_line!r} "
                      f"(exit code {saver.poll()})")
        e2e.wait_until(lambda: e2e.windows().info(preview).visible, 5, "a visible preview")
        return parent, saver, preview

    def test_runs_as_a_child_over_the_parent_client_area_until_the_parent_goes(self):
        tails = ["/p {hwnd}", "/l {hwnd}", "/P {hwnd}", "-p   {hwnd}", "p {hwnd}",
                 # The handle is read in 32 bits: 2**32 more is the same window.
                 "/p {hwnd_plus_2_32}"]
        for tail in tails:
            with self.subTest(tail=tail):
                parent = e2e.PreviewParent(*PREVIEW_AT)
                saver = e2e.start_saver(tail.format(hwnd=parent.hwnd,
                                                    hwnd_plus_2_32=parent.hwnd + 2**32))
                preview = e2e.windows().wait_window(e2e.SAVER_CLASS, e2e.PREVIEW_TITLE,
                                                    e2e.STARTUP_TIMEOUT, parent=parent.hwnd)
                self.assertTrue(preview, f"no preview (exit code {saver.poll()})")
                e2e.wait_until(lambda: e2e.windows().info(preview).visible, 5, "visible")
                window = e2e.windows().info(preview)
                self.assertEqual((window.cls, window.title, window.parent, window.pid),
                                 (e2e.SAVER_CLASS, e2e.PREVIEW_TITLE, parent.hwnd, saver.pid))
                self.assertEqual(window.rect, parent.client)
                self.assertEqual(window.style & (e2e.WS_POPUP | e2e.WS_CHILD), e2e.WS_CHILD)
                self.assertFalse(window.exstyle & e2e.WS_EX_TOPMOST)
                self.assertIsNotNone(parent.wait_event(f"child created {preview}", 5))
                # A preview is not a full-screen saver: nothing of that kind
                # appeared, and the parent's process keeps the foreground.
                self.assertEqual(e2e.windows().find(e2e.SAVER_CLASS, e2e.FULL_SCREEN_TITLE), 0)

                self.assertTrue(parent.close())
                self.assertEqual(saver.wait(5), 0)
                self.assertIsNone(e2e.windows().info(preview))

    def test_ignores_keys_clicks_and_mouse_movement(self):
        parent, saver, preview = self.start_preview()
        left, top, right, bottom = parent.client
        e2e.mouse_move(left + 20, top + 20)
        e2e.mouse_move(right - 20, bottom - 20)  # far more than 4 pixels
        for button in (1, 2):
            e2e.click(button)
        # Keys reach the preview only when it has the focus; the parent's
        # thread shares its input state, so it can hand the focus over.
        self.assertEqual(parent.give_focus(preview), preview)
        e2e.key("a", "Escape", "space", "F1", "alt+x")
        self.assertStaysOpen(preview, saver, 0.5, "keys, clicks and moves over the preview")
        self.assertFalse([line for line in parent.events if line.startswith("key ")],
                         "the keys went to the parent instead of the preview")

        # Posted straight to it, the messages that end a full-screen run.
        tool = e2e.windows()
        for message, wparam, lparam in [(e2e.WM_KEYDOWN, 0x41, 0), (e2e.WM_SYSKEYDOWN, 0x12, 0),
                                        (e2e.WM_LBUTTONDOWN, 0, 0), (e2e.WM_RBUTTONDOWN, 0, 0),
                                        (e2e.WM_ACTIVATEAPP, 0, 0),
                                        (e2e.WM_POWERBROADCAST, 4, 0),  # suspend
                                        (e2e.WM_SYSCOMMAND, e2e.SC_SCREENSAVE, 0)]:
            self.assertTrue(tool.post(preview, message, wparam, lparam))
        self.assertStaysOpen(preview, saver, 0.5, "posted input and power messages")

        self.assertTrue(parent.close())
        self.assertEqual(saver.wait(5), 0)

    def test_a_right_click_asks_the_parent_for_its_context_menu(self):
        parent, saver, preview = self.start_preview()
        left, top, _, _ = parent.client
        e2e.mouse_move(left + 40, top + 30)
        e2e.click(3)
        line = parent.wait_event("contextmenu", 5)
        self.assertIsNotNone(line, "the parent heard of no context menu")
        # The preview forwards the request as the parent's own (wParam is the
        # parent's handle), once, instead of the default passing-on, which
        # would name the preview.
        self.assertEqual(line.split()[1], str(parent.hwnd))
        self.assertStaysOpen(preview, saver, 0.3, "a right click")
        self.assertEqual(len([e for e in parent.events if e.startswith("contextmenu")]), 1)

    def test_a_preview_does_not_stop_a_full_screen_start(self):
        parent, preview_saver, preview = self.start_preview()
        self.park_pointer()
        saver, hwnd = self.start_full_screen()
        self.assertClosesWithin(hwnd, saver, lambda: e2e.xdotool("keydown", "a"), 1.0, "a key")
        e2e.xdotool("keyup", "a")
        self.assertIsNone(preview_saver.poll(), "the preview ended with the full-screen saver")
        self.assertIsNotNone(e2e.windows().info(preview))
        self.assertTrue(parent.close())
        self.assertEqual(preview_saver.wait(5), 0)


if __name__ == "__main__":
    e2e.main()
