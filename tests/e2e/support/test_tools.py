"""The e2e tools themselves, checked against their own windows: if these
fail, an e2e failure elsewhere says nothing about korumix.scr."""

import os
import signal
import time

import korumix_e2e as e2e


def tool_command_line(exe_variable, *args):
    return " ".join([e2e.windows_path(os.environ[exe_variable]), *[str(a) for a in args]])


class LauncherTest(e2e.E2ETestCase):
    def test_reads_the_full_32_bit_exit_code(self):
        # Linux sees only the low 8 bits of these; the launcher must not.
        for code in (0, 1, 255, 256, 0x7FFFFFFF, 0xC0000005, 4294967295):
            with self.subTest(code=code):
                child = e2e.launch(tool_command_line("KORUMIX_E2E_WINDOW", "exit", code))
                self.assertEqual(child.wait(10), code)

    def test_passes_the_command_line_through_unchanged(self):
        # The saver parses its own command line, so the launcher must hand it
        # over byte for byte: quotes, blanks, tabs and backslashes included.
        exe = e2e.windows_path(os.environ["KORUMIX_E2E_WINDOW"])
        record = os.path.join(os.environ["KORUMIX_E2E_ARTIFACTS"], "cmdline.txt")
        os.makedirs(os.path.dirname(record), exist_ok=True)
        target = e2e.windows_path(record)
        for command_line in (f'"{exe}" cmdline {target}',
                             f'"{exe}" cmdline {target} say\\"hi\\" "',
                             f'{exe} cmdline {target}  "a  b"\t-x ',
                             f'"{exe}" cmdline {target} /p:12 trailing\\'):
            with self.subTest(command_line=command_line):
                if os.path.exists(record):
                    os.remove(record)
                self.assertEqual(e2e.launch(command_line).wait(10), 0)
                with open(record, encoding="utf-8") as f:
                    self.assertEqual(f.read(), command_line)

    def test_kill_ends_the_child_and_its_windows(self):
        e2e.windows().watch()
        child = e2e.launch(tool_command_line("KORUMIX_E2E_PARENT", 300, 300, 200, 150))
        made = e2e.wait_until(
            lambda: [w for w in e2e.windows().top_level(child.pid) if w.cls == "KorumixE2EParent"],
            10, "the launched parent window")
        child.kill()
        self.assertIsNotNone(child.exit_code)
        self.assertIsNotNone(e2e.windows().wait_gone(made[0].hwnd, 5))
        created = [w for w in e2e.windows().created() if w.pid == child.pid]
        self.assertIn(made[0].hwnd, [w.hwnd for w in created])

    def test_a_killed_launcher_takes_its_child_along(self):
        child = e2e.launch(tool_command_line("KORUMIX_E2E_PARENT", 300, 300, 200, 150))
        hwnd = e2e.wait_until(
            lambda: next((w.hwnd for w in e2e.windows().top_level(child.pid)
                          if w.cls == "KorumixE2EParent"), 0), 10, "the launched parent window")
        os.kill(child._popen.pid, signal.SIGKILL)
        self.assertIsNotNone(e2e.windows().wait_gone(hwnd, 10),
                             "the child outlived its launcher")


class ParentWindowTest(e2e.E2ETestCase):
    def test_window_geometry_and_pixels(self):
        parent = e2e.PreviewParent(200, 150, 400, 300, colour=0x336699)
        window = e2e.windows().info(parent.hwnd)
        self.assertEqual(window.client, (200, 150, 600, 450))
        self.assertEqual(window.cls, "KorumixE2EParent")
        self.assertTrue(window.visible)
        self.assertEqual(window.parent, 0)
        shot = e2e.screenshot()
        self.assertEqual((shot.width, shot.height), e2e.windows().screen()[2:])
        inside = shot.crop(window.client).colours()
        self.assertEqual(inside, {(0x33, 0x66, 0x99): 400 * 300})

    def test_real_input_reaches_it_at_the_right_place(self):
        parent = e2e.PreviewParent(200, 150, 400, 300)
        e2e.mouse_move(250, 210)
        self.assertEqual(e2e.windows().cursor(), (250, 210))
        e2e.click(1)
        self.assertEqual(parent.wait_event("button l", 5), "button l 50 60")
        e2e.mouse_move_relative(-20, 5)
        e2e.click(3)
        self.assertEqual(parent.wait_event("button r", 5), "button r 30 65")
        # DefWindowProc turns the right click into a context-menu request.
        self.assertEqual(parent.wait_event("contextmenu", 5).split()[1], str(parent.hwnd))
        e2e.key("a")
        self.assertEqual(parent.wait_event("key", 5), "key 65")

    def test_a_posted_close_destroys_it(self):
        parent = e2e.PreviewParent()
        self.assertEqual(e2e.windows().find("KorumixE2EParent", "KORUMIX e2e parent"),
                         parent.hwnd)
        self.assertTrue(e2e.windows().post(parent.hwnd, e2e.WM_CLOSE))
        self.assertIsNotNone(e2e.windows().wait_gone(parent.hwnd, 5))
        self.assertIsNotNone(parent.wait_event("closed", 5))
        self.assertIsNone(e2e.windows().info(parent.hwnd))


class WindowToolTest(e2e.E2ETestCase):
    def test_waits_end_in_time(self):
        tool = e2e.windows()
        start = time.monotonic()
        self.assertEqual(tool.wait_window("NoSuchClassHere", None, 0.3), 0)
        parent = e2e.PreviewParent()
        self.assertIsNone(tool.wait_gone(parent.hwnd, 0.3))
        self.assertLess(time.monotonic() - start, 3.0)

    def test_registered_messages_are_shared(self):
        tool = e2e.windows()
        first = tool.register_message("QueryCancelAutoPlay")
        self.assertGreaterEqual(first, 0xC000)
        self.assertEqual(tool.register_message("QueryCancelAutoPlay"), first)

    def test_the_screenshot_sees_a_window_go(self):
        parent = e2e.PreviewParent(500, 400, 200, 100, colour=0x00FF00)
        self.assertEqual(e2e.screenshot().pixel(600, 450), (0, 255, 0))
        parent.close()
        e2e.wait_until(lambda: e2e.screenshot().pixel(600, 450) != (0, 255, 0), 5,
                       "the area to be repainted")


if __name__ == "__main__":
    e2e.main()
