"""The legacy platform's screen-saver password, end to end: the real
korumix.scr, copied to korumix9x.scr so that Wine shows the legacy platform
family to that name alone (HKCU\\Software\\Wine\\AppDefaults\\korumix9x.scr,
Version = win98), beside a stand-in PASSWORD.CPL whose answer the probe
(legacy_probe.exe) sets. The same copy named korumixnt.scr, beside the same
module, runs on Wine's NT face.

Each class is one ctest entry (tests/e2e/legacy.cmake)."""

import os
import shutil
import subprocess
import time
import unittest

import korumix_e2e as e2e

WM_POWER = 0x0048
WM_CLOSE = e2e.WM_CLOSE
SC_CLOSE = 0xF060
PBT_APMSUSPEND = 4
PBT_APMRESUMESUSPEND = 7
PBT_APMBATTERYLOW = 9
PWR_CRITICALRESUME = 3

LEGACY_NAME = "korumix9x.scr"
NT_NAME = "korumixnt.scr"
SPACING = 0.25  # a verification starts only 200 ms after the previous one ended


class Probe:
    """legacy_probe.exe, serving commands over its stdin (see its top comment)."""

    def __init__(self):
        self._popen = e2e._popen(e2e._wine_command(e2e._env("KORUMIX_LEGACY_PROBE")))
        self._out = e2e._Lines(self._popen.stdout)

    def ask(self, *fields):
        self._popen.stdin.write(("\t".join(str(f) for f in fields) + "\n").encode())
        self._popen.stdin.flush()
        line = self._out.read_line(e2e.STARTUP_TIMEOUT)
        if line is None or line.startswith("error="):
            raise AssertionError(f"legacy_probe.exe: {line!r} for {fields}")
        answer = e2e._fields(line)
        if answer.get("ok") == "0":
            raise AssertionError(f"legacy_probe.exe could not do {fields}")
        return answer

    def state(self):
        return self.ask("state")

    def calls(self):
        return int(self.state()["calls"])

    def flag(self):
        # A Wine process reads the system's parameters once and keeps them:
        # each look at the flag needs a process of its own.
        out = subprocess.run(e2e._wine_command(e2e._env("KORUMIX_LEGACY_PROBE"), "flag"),
                             stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, timeout=30, check=True).stdout
        return int(e2e._fields(out.decode().strip())["flag"])

    def close(self):
        if self._popen.poll() is None:
            self._popen.stdin.close()
            self._popen.wait(10)


_probe = None


def probe():
    global _probe
    if _probe is None:
        _probe = Probe()
    return _probe


def park_mouse(x, y):
    # xdotool's --sync waits for a motion, which never comes when the
    # pointer is already there.
    if e2e.mouse_location() != (x, y):
        e2e.mouse_move(x, y)


def _x_output(*args):
    return subprocess.run(["xdotool", *args], timeout=10, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, text=True).stdout.split()


def wait_ready_for_keys(title):
    """Wine maps a window on X a little after it shows it, and X input sent
    before goes elsewhere: waits until the window is mapped and has the focus."""
    xid = e2e.wait_until(
        lambda: int(next(iter(_x_output("search", "--onlyvisible", "--name", f"^{title}$")), 0)),
        10, f"the X window of {title!r}")
    e2e.wait_until(lambda: _x_output("getwindowfocus", "-f")[:1] == [str(xid)], 10,
                   f"the X focus on {title!r}")


def legacy_directory():
    return e2e._env("KORUMIX_LEGACY_DIR")


def copy_in(source, name):
    shutil.copyfile(source, os.path.join(legacy_directory(), name))


def command_line(name, tail):
    return f'"{e2e.windows_path(os.path.join(legacy_directory(), name))}" {tail}'


class LegacyTestCase(e2e.E2ETestCase):
    """Holds the stand-ins' block, and puts the registry and the system's
    saver-running flag back after every test."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        os.makedirs(legacy_directory(), exist_ok=True)
        copy_in(e2e._env("KORUMIX_SCR"), LEGACY_NAME)
        copy_in(e2e._env("KORUMIX_SCR"), NT_NAME)
        copy_in(e2e._env("KORUMIX_LEGACY_CPL"), "PASSWORD.CPL")
        copy_in(e2e._env("KORUMIX_LEGACY_MPR"), "mpr.dll")
        probe().ask("hold")
        probe().ask("appdefaults", LEGACY_NAME, "win98")

    @classmethod
    def tearDownClass(cls):
        probe().ask("appdefaults", LEGACY_NAME, "-")
        probe().ask("usepassword", "absent")
        probe().ask("setflag", 0)

    def setUp(self):
        super().setUp()
        e2e.remove_settings()
        probe().ask("reset")
        probe().ask("setflag", 0)
        self.addCleanup(probe().ask, "setflag", 0)  # a killed saver cannot clear it
        park_mouse(400, 300)

    def start(self, name=LEGACY_NAME, tail="/s"):
        """Starts the saver full screen; returns (process, hwnd) once its window shows."""
        saver = e2e.start_saver(command_line=command_line(name, tail))
        tool = e2e.windows()
        hwnd = e2e.wait_until(
            lambda: next((w.hwnd for w in tool.top_level(saver.pid)
                          if w.cls == e2e.SAVER_CLASS and w.visible), 0),
            e2e.STARTUP_TIMEOUT, "the saver window")
        wait_ready_for_keys(e2e.FULL_SCREEN_TITLE)
        return saver, hwnd

    def assertEnds(self, saver, hwnd, code):
        self.assertIsNotNone(e2e.windows().wait_gone(hwnd, 10), "the saver window stayed")
        self.assertEqual(saver.wait(10), code)


def _autoplay(hwnd):
    tool = e2e.windows()
    return tool.send(hwnd, tool.register_message("QueryCancelAutoPlay"))


# Every kind of input that ends an unprotected saver, as (what, action). Keys,
# buttons and moves come through X; the rest is posted as the system would.
CLOSING_INPUTS = [
    ("key a", lambda hwnd: e2e.key("a")),
    ("Escape", lambda hwnd: e2e.key("Escape")),
    ("Alt+F4", lambda hwnd: e2e.key("alt+F4")),
    ("Return", lambda hwnd: e2e.key("Return")),
    ("left button", lambda hwnd: e2e.click(1)),
    ("middle button", lambda hwnd: e2e.click(2)),
    ("right button", lambda hwnd: e2e.click(3)),
    ("mouse move", lambda hwnd: e2e.mouse_move_relative(40, 30)),
    ("deactivation", lambda hwnd: e2e.windows().post(hwnd, e2e.WM_ACTIVATEAPP, 0, 0)),
    ("suspend", lambda hwnd: e2e.windows().post(hwnd, e2e.WM_POWERBROADCAST, PBT_APMSUSPEND)),
    ("battery low",
     lambda hwnd: e2e.windows().post(hwnd, e2e.WM_POWERBROADCAST, PBT_APMBATTERYLOW)),
    ("resume", lambda hwnd: e2e.windows().post(hwnd, e2e.WM_POWERBROADCAST,
                                               PBT_APMRESUMESUSPEND, 0)),
    ("critical resume", lambda hwnd: e2e.windows().post(hwnd, WM_POWER, PWR_CRITICALRESUME)),
    ("AutoPlay", _autoplay),
    ("SC_CLOSE", lambda hwnd: e2e.windows().post(hwnd, e2e.WM_SYSCOMMAND, SC_CLOSE)),
    ("SC_MONITORPOWER",
     lambda hwnd: e2e.windows().post(hwnd, e2e.WM_SYSCOMMAND, e2e.SC_MONITORPOWER, 2)),
    ("WM_CLOSE", lambda hwnd: e2e.windows().post(hwnd, WM_CLOSE)),
]


class RefusedPasswordTest(LegacyTestCase):
    def test_no_input_of_any_kind_closes_the_saver(self):
        probe().ask("usepassword", 1)
        probe().ask("answer", 0)
        saver, hwnd = self.start()
        self.assertEqual(probe().flag(), 1, "the system was not told of the protected saver")
        for what, action in CLOSING_INPUTS:
            with self.subTest(input=what):
                time.sleep(SPACING)
                before = probe().calls()
                action(hwnd)
                e2e.wait_until(lambda: probe().calls() > before, 5,
                               f"the password gate to ask after {what}")
                window = e2e.windows().info(hwnd)
                self.assertTrue(window is not None and window.visible, f"{what} closed it")
                self.assertIsNone(saver.poll())
        # The AutoPlay is cancelled while the password guards the screen.
        time.sleep(SPACING)
        self.assertEqual(_autoplay(hwnd), 1)
        self.assertEqual(int(probe().state()["window"]), hwnd)
        self.assertEqual(probe().flag(), 1)
        self.assertIsNone(saver.poll())


class AcceptedPasswordTest(LegacyTestCase):
    def test_the_first_input_closes_the_saver(self):
        probe().ask("usepassword", 1)
        for what, action in CLOSING_INPUTS[:1] + CLOSING_INPUTS[4:5] + CLOSING_INPUTS[7:8]:
            with self.subTest(input=what):
                probe().ask("reset")
                probe().ask("answer", 1)
                saver, hwnd = self.start()
                self.assertEqual(probe().flag(), 1)
                action(hwnd)
                self.assertEnds(saver, hwnd, 0)
                state = probe().state()
                self.assertEqual(int(state["calls"]), 1)
                self.assertEqual(int(state["flagwhile"]), 1)
                self.assertEqual(int(state["detaches"]), 1)
                self.assertEqual(probe().flag(), 0, "the flag outlived the protected saver")


class NoPasswordTest(LegacyTestCase):
    def test_the_first_input_closes_the_saver_and_nothing_is_loaded(self):
        for value in (0, "absent"):
            for what, action in [CLOSING_INPUTS[0], ("AutoPlay", _autoplay)]:
                with self.subTest(value=value, input=what):
                    probe().ask("usepassword", value)
                    probe().ask("reset")
                    saver, hwnd = self.start()
                    self.assertEqual(probe().flag(), 0)
                    # Without a verifier the AutoPlay goes on (answer 0),
                    # and the saver ends all the same.
                    result = action(hwnd)
                    if what == "AutoPlay":
                        self.assertEqual(result, 0)
                    self.assertEnds(saver, hwnd, 0)
                    self.assertEqual(int(probe().state()["attaches"]), 0)
                    self.assertEqual(probe().flag(), 0)


class FaultTest(LegacyTestCase):
    def test_a_fault_in_the_saver_switches_the_flag_off_and_exits_with_minus_1(self):
        # The verifier is the platform's code, called inside the saver mode:
        # the stand-in's fault escapes through the saver's own frames.
        probe().ask("usepassword", 1)
        probe().ask("fault", 1)
        saver, hwnd = self.start()
        self.assertEqual(probe().flag(), 1)
        e2e.key("a")
        self.assertEqual(saver.wait(15), e2e.EXIT_REFUSED)
        self.assertEqual(probe().calls(), 1)
        self.assertEqual(probe().flag(), 0, "a dead saver left the system believing it runs")


class PasswordChangeTest(LegacyTestCase):
    def tearDown(self):
        os.environ.pop("WINEDLLOVERRIDES", None)

    def run_change(self, name, parent):
        # Wine takes its own mpr.dll unless told to prefer the one beside the saver.
        os.environ["WINEDLLOVERRIDES"] = "mpr=n,b"
        try:
            return e2e.start_saver(command_line=command_line(name, f"/a {parent}")).wait(15)
        finally:
            os.environ.pop("WINEDLLOVERRIDES", None)

    def test_the_change_switch_hands_over_to_mpr_and_ends_with_0(self):
        parent = e2e.PreviewParent(100, 100, 200, 150)
        self.assertEqual(self.run_change(LEGACY_NAME, parent.hwnd), 0)
        state = probe().state()
        self.assertEqual(int(state["changecalls"]), 1)
        self.assertEqual(state["provider"], "SCRSAVE")
        self.assertEqual(int(state["parent"]), parent.hwnd)
        self.assertEqual((int(state["reserved1"]), int(state["reserved2"])), (0, 0))

    def test_on_the_nt_family_the_change_switch_is_refused(self):
        parent = e2e.PreviewParent(100, 100, 200, 150)
        self.assertEqual(self.run_change(NT_NAME, parent.hwnd), e2e.EXIT_REFUSED)
        self.assertEqual(int(probe().state()["changecalls"]), 0)


class NtFamilyTest(LegacyTestCase):
    def test_a_password_module_beside_the_saver_is_not_used(self):
        probe().ask("usepassword", 1)
        saver, hwnd = self.start(NT_NAME)
        self.assertEqual(probe().flag(), 0)
        # The AutoPlay message is nobody's business on the NT family.
        self.assertEqual(_autoplay(hwnd), 0)
        time.sleep(SPACING)
        self.assertIsNone(saver.poll())
        e2e.key("a")
        self.assertEnds(saver, hwnd, 0)
        self.assertEqual(int(probe().state()["attaches"]), 0)
        self.assertEqual(probe().flag(), 0)


if __name__ == "__main__":
    try:
        e2e.main()
    finally:
        if _probe is not None:
            _probe.close()
