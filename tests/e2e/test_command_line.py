"""The command line as the real process gets it (through CreateProcess, so
quoting and blanks around the program name are the system's): the spellings
that run the full-screen saver, and the ones that are refused with -1 and
show nothing."""

import korumix_e2e as e2e
from saver_support import SaverTestCase


class CommandLineTest(SaverTestCase):
    def test_refused_command_lines_exit_minus_1_and_show_nothing(self):
        tool = e2e.windows()
        gone_parent = e2e.PreviewParent()
        gone = gone_parent.hwnd
        gone_parent.close()  # a handle that no longer names a window
        live_parent = e2e.PreviewParent()
        tails = ["/x", "/?", "x", "1", "/\ts",  # a tab is no switch separator
                 "/p", "/p 0", "/p:123", f"/p:{live_parent.hwnd}", "/p\t123",
                 f"/p {gone}", "/p 4294967296",  # wraps to 0 in 32 bits
                 "/l", "/a 123"]  # the password change belongs to the legacy family only
        for tail in tails:
            with self.subTest(tail=tail):
                tool.watch()
                saver = e2e.start_saver(tail)
                self.assertEqual(saver.wait(10), e2e.EXIT_REFUSED)
                self.assertEqual([w for w in tool.created() if w.pid == saver.pid], [],
                                 "a refused command line made a window")
        self.assertEqual(live_parent.events, [], "the parent was touched")

    def test_spellings_that_run_the_full_screen_saver(self):
        scr = e2e.windows_path(e2e._env("KORUMIX_SCR"))
        command_lines = [f'"{scr}" {tail}' for tail in
                         ("/S", "-s", "s", "//s", "/sx", "/screen", "- / s", "/s 123")]
        command_lines += [f'"{scr}"/s',  # a quoted name needs no blank after it
                          f'"{scr}"\t/s',
                          ]
        if " " not in scr:
            command_lines.append(f"{scr} /s")  # an unquoted name ends at the blank
        for command_line in command_lines:
            with self.subTest(command_line=command_line):
                self.park_pointer()
                saver, hwnd = self.start_full_screen(command_line=command_line)
                self.assertEqual(e2e.windows().info(hwnd).pid, saver.pid)
                self.assertClosesWithin(hwnd, saver, lambda: e2e.xdotool("mousedown", 1), 1.0,
                                        "a click")
                e2e.xdotool("mouseup", 1)


if __name__ == "__main__":
    e2e.main()
