"""What the saver's own e2e scripts share: a test case that starts every test
with no settings file and the pointer parked mid-screen, and starts the
full-screen saver ready for input."""

import os
import sys

import korumix_e2e as e2e

PARK = (640, 512)  # where the pointer waits while a saver starts


class SaverTestCase(e2e.E2ETestCase):
    def setUp(self):
        super().setUp()
        e2e.remove_settings()
        self.assertNoSaverWindows()
        self.park_pointer()

    def park_pointer(self, where=PARK):
        # The saver takes the cursor position as it starts as the reference
        # of the mouse-move rule: Wine must already see the pointer there.
        e2e.mouse_move(*where)
        e2e.wait_until(lambda: e2e.windows().cursor() == where, 5,
                       f"Wine to see the pointer at {where}")

    def start_full_screen(self, tail="/s", command_line=None):
        """Starts the full-screen saver and returns (process, hwnd) once its
        window is mapped and holds the keyboard."""
        saver = e2e.start_saver(tail, command_line=command_line)
        tool = e2e.windows()
        hwnd = tool.wait_window(e2e.SAVER_CLASS, e2e.FULL_SCREEN_TITLE, e2e.STARTUP_TIMEOUT)
        if not hwnd:
            code = saver.poll()
            self.fail(f"no full-screen saver window for {saver.command_line!r} "
                      f"(exit code {code})")
        e2e.wait_until(lambda: (tool.info(hwnd) or self.fail("window went")).visible, 5,
                       "the saver window to become visible")
        e2e.wait_ready_for_input(e2e.FULL_SCREEN_TITLE, keyboard=True)
        return saver, hwnd

    def assertClosesWithin(self, hwnd, saver, action, seconds, what):
        """action() must make the saver's window go within seconds and the
        process end with 0; returns the time it took in ms."""
        ms = e2e.windows().time_until_gone(hwnd, action, seconds)
        self.assertIsNotNone(ms, f"{what} did not close the saver within {seconds} s")
        self.assertEqual(saver.wait(10), 0, f"exit code after {what}")
        return ms

    def assertStaysOpen(self, hwnd, saver, seconds, what):
        self.assertIsNone(e2e.windows().wait_gone(hwnd, seconds), f"{what} closed the saver")
        self.assertIsNone(saver.poll(), f"the saver ended after {what}")


_reported = []


def report(line):
    """A measurement for the person reading the test log (ctest -V), kept
    also in e2e-artifacts/measurements-<script>[-<class>].txt, which each
    run of the script starts afresh."""
    print(line, file=sys.stderr)
    folder = os.environ.get("KORUMIX_E2E_ARTIFACTS")
    if folder:
        os.makedirs(folder, exist_ok=True)
        name = "-".join([os.path.splitext(os.path.basename(sys.argv[0]))[0]] + sys.argv[1:2])
        with open(os.path.join(folder, f"measurements-{name}.txt"),
                  "a" if _reported else "w") as f:
            f.write(line + "\n")
        _reported.append(line)
