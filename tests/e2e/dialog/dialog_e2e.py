"""The settings dialog end to end: korumix.scr started with /c, /c:<hwnd> or
an empty command line, as the display settings or a user start it, under a
Japanese locale; driven with real X input (clicks on the spin arrows, the
selector and its list, the axis buttons, the check box, the slider, the
colour picker and the buttons; the Escape key; the close box); judged by
KORUMIX.ini, byte for byte, and the full exit code.

    dialog_e2e.py [TestClass[.test]]    (run through ctest: e2e.dialog.*)
"""

import os
import sys

import korumix_e2e as k

TITLE = "KORUMIX V1.0(LinesScreenSaver)の設定"

IDOK, IDCANCEL = 1, 2
NUMBER_EDIT, NUMBER_SPIN, SPEED_SLIDER, SELECTOR = 1113, 1114, 1115, 1116
POLYGON_EDIT, POLYGON_SPIN, LOCUS_EDIT, LOCUS_SPIN = 1117, 1118, 1127, 1128
AXIS_X, AXIS_Y, AXIS_Z, ERASE_CHECK, COLOR_BUTTON = 1131, 1132, 1133, 1134, 1135
PICKER_RED, PICKER_GREEN, PICKER_BLUE, PICKER_CUSTOM = 706, 707, 708, 721

BM_GETCHECK = 0x00F0
TBM_GETPOS = 0x0400
CB_GETCURSEL = 0x0147
CB_GETCOUNT = 0x0146
CB_GETITEMHEIGHT = 0x0154
WM_COMMAND = 0x0111

SECTION = "[Screen Saver.Korumix]\r\n"


def ini_file(lines):
    return (SECTION + "".join(line + "\r\n" for line in lines)).encode("ascii")


def read_settings():
    try:
        with open(k.settings_path(), "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


def centre(rect):
    return ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)


def click_at(x, y):
    k.mouse_move(x, y)
    k.click()


class Dialog:
    """The settings dialog of a started korumix.scr, seen from outside."""

    def __init__(self, tail=None, command_line=None):
        self.tool = k.windows()
        self.process = k.start_saver(tail or "", command_line=command_line)
        self.hwnd = self.tool.wait_window("#32770", TITLE, k.STARTUP_TIMEOUT)
        if not self.hwnd:
            raise AssertionError("the settings dialog did not appear")
        k.wait_until(lambda: self.info().visible, 5, "the dialog to be shown")
        self.wait_painted()

    def info(self):
        return self.tool.info(self.hwnd)

    def wait_painted(self):
        """Waits until two screenshots of the dialog agree."""
        last = [None]

        def settled():
            shot = k.screenshot().crop(self.info().rect)
            same = last[0] is not None and shot.rgb == last[0].rgb
            last[0] = shot
            return shot if same else None

        return k.wait_until(settled, 10, "the dialog to finish painting", interval=0.1)

    def item(self, control_id, window=None):
        hwnd = self.tool.item(window or self.hwnd, control_id)
        if not hwnd:
            raise AssertionError(f"no control {control_id}")
        return hwnd

    def rect(self, control_id, window=None):
        return self.tool.info(self.item(control_id, window)).rect

    def click(self, control_id, window=None):
        click_at(*centre(self.rect(control_id, window)))

    def spin(self, spin_id, up, times=1):
        left, top, right, bottom = self.rect(spin_id)
        height = bottom - top
        y = top + height // 4 if up else bottom - 1 - height // 4
        for _ in range(times):
            click_at((left + right) // 2, y)

    def number(self, edit_id):
        return int(self.tool.text(self.item(edit_id)))

    def checked(self, control_id):
        return self.tool.send(self.item(control_id), BM_GETCHECK) == 1

    def slider(self):
        return self.tool.send(self.item(SPEED_SLIDER), TBM_GETPOS)

    def selected(self):
        return self.tool.send(self.item(SELECTOR), CB_GETCURSEL)

    def entries(self):
        selector = self.item(SELECTOR)
        count = self.tool.send(selector, CB_GETCOUNT)
        return [self.tool.combo_text(selector, i) for i in range(count)]

    def choose(self, index):
        """Opens the selector with a click and clicks the entry in its list."""
        selector = self.item(SELECTOR)
        self.click(SELECTOR)
        pid = self.process.pid

        def dropped_list():
            for w in self.tool.top_level(pid):
                if w.cls == "ComboLBox" and w.visible:
                    return w
            return None

        box = k.wait_until(dropped_list, 5, "the selector's list to drop down")
        item_height = self.tool.send(selector, CB_GETITEMHEIGHT)
        click_at(box.client[0] + 20, box.client[1] + index * item_height + item_height // 2)
        k.wait_until(lambda: self.selected() == index and not dropped_list(), 5,
                     f"entry {index} to be selected")

    def slide_to_end(self, left):
        """Clicks the slider's channel near one end until the thumb is there.
        The channel runs along the top of the control (the ticks are below
        it), a few pixels in from either side."""
        want = 4 if left else 20
        l, top, r, bottom = self.rect(SPEED_SLIDER)
        x = l + 8 if left else r - 9
        for _ in range(12):
            if self.slider() == want:
                return
            click_at(x, top + 6)
        raise AssertionError(f"the slider did not reach {want}: it stands at {self.slider()}")

    def open_picker(self):
        self.click(COLOR_BUTTON)
        pid = self.process.pid

        def picker():
            for w in self.tool.top_level(pid):
                if w.cls == "#32770" and w.owner == self.hwnd and w.visible:
                    return w
            return None

        return k.wait_until(picker, 10, "the colour picker").hwnd

    def picker_colour(self, picker):
        return tuple(int(self.tool.text(self.item(i, picker)))
                     for i in (PICKER_RED, PICKER_GREEN, PICKER_BLUE))

    def pick_custom_colour(self, picker, index):
        """Clicks custom colour `index` (8 to a row, 2 rows) of the picker."""
        left, top, right, bottom = self.rect(PICKER_CUSTOM, picker)
        width, height = (right - left) / 8, (bottom - top) / 2
        column, row = index % 8, index // 8
        click_at(int(left + (column + 0.5) * width), int(top + (row + 0.5) * height))

    def pick_and_close(self, picker, index, colour, button):
        """Picks custom colour `index`, waits until the picker shows `colour`
        (red, green, blue), then ends the picker with `button` (IDOK or IDCANCEL)."""
        self.pick_custom_colour(picker, index)
        k.wait_until(lambda: self.picker_colour(picker) == colour, 5, "the picked custom colour")
        self.click(button, picker)
        k.wait_until(lambda: not self.tool.info(picker), 5, "the picker to close")

    def close_box(self):
        """The centre of the caption's close button, from the window's frame."""
        info = self.info()
        frame = info.client[0] - info.rect[0]
        caption = info.client[1] - info.rect[1] - frame
        return (info.rect[2] - frame - caption // 2, info.rect[1] + frame + caption // 2)

    def wait_exit(self):
        return self.process.wait(10)


DEFAULT_LINES = ["Number=3", "Speed=10", "Erase=1", "Polygon=2,2,2,", "Round=3,5,5,",
                 "Move=1,1,1,", "Angle=40,65,65,", "Size=7,4,5,", "Locus=35,35,50,",
                 "XYZ=0,1,2,", "Color=255,0,0,0,255,0,0,0,255,"]


class DialogTestCase(k.E2ETestCase):
    def setUp(self):
        super().setUp()
        k.remove_settings()
        self.addCleanup(k.remove_settings)


class ConfirmTest(DialogTestCase):
    def test_every_control_by_real_input_then_ok(self):
        dialog = Dialog("/c")
        entries = [f"{n} 番目の設定" for n in (1, 2, 3)]
        self.assertEqual(dialog.entries(), entries)
        self.assertEqual(dialog.number(NUMBER_EDIT), 3)
        shot = dialog.wait_painted()
        k.keep_artifact(shot, "dialog")

        dialog.spin(NUMBER_SPIN, up=True, times=2)
        k.wait_until(lambda: dialog.number(NUMBER_EDIT) == 5, 5, "the count to reach 5")
        self.assertEqual(dialog.entries(), entries + ["4 番目の設定", "5 番目の設定"])

        dialog.choose(1)
        self.assertEqual(dialog.number(POLYGON_EDIT), 2)
        self.assertEqual(dialog.number(LOCUS_EDIT), 35)
        self.assertTrue(dialog.checked(AXIS_Y))
        dialog.spin(POLYGON_SPIN, up=True)
        dialog.spin(LOCUS_SPIN, up=False)
        k.wait_until(lambda: (dialog.number(POLYGON_EDIT), dialog.number(LOCUS_EDIT)) == (3, 34),
                     5, "the spins to move")
        dialog.click(AXIS_Z)
        k.wait_until(lambda: dialog.checked(AXIS_Z) and not dialog.checked(AXIS_Y), 5,
                     "the Z axis button")
        dialog.click(ERASE_CHECK)
        k.wait_until(lambda: not dialog.checked(ERASE_CHECK), 5, "the box to clear")
        dialog.slide_to_end(left=True)

        picker = dialog.open_picker()
        self.assertEqual(dialog.picker_colour(picker), (0, 255, 0), "opens on figure 2's green")
        # The custom colours are the grey ramp: the tenth is 0xFFFFFF - 9 * 0x101010.
        dialog.pick_and_close(picker, 9, (111, 111, 111), IDOK)

        dialog.click(IDOK)
        self.assertEqual(dialog.wait_exit(), 1)
        self.assertEqual(read_settings(), ini_file([
            "Number=5", "Speed=4", "Erase=0", "Polygon=2,3,2,2,2,", "Round=3,5,5,7,7,",
            "Move=1,1,1,3,3,", "Angle=40,65,65,15,15,", "Size=7,4,5,5,5,",
            "Locus=35,34,50,0,0,", "XYZ=0,2,2,0,0,",
            "Color=255,0,0,111,111,111,0,0,255,0,0,255,0,0,255,"]))

    def test_slider_right_end_and_enter(self):
        dialog = Dialog("/c")
        dialog.slide_to_end(left=False)
        k.key("Return")
        self.assertEqual(dialog.wait_exit(), 1)
        self.assertEqual(read_settings(), ini_file(["Number=3", "Speed=20"] + DEFAULT_LINES[2:]))


class CancelTest(DialogTestCase):
    # Not what the writer would make: any rewrite shows.
    BEFORE = b"; hand-written\r\n[Screen Saver.Korumix]\r\nNumber=2\r\nPolygon=5,6\r\n"

    def cancel_after_changes(self, cancel):
        k.write_settings(self.BEFORE)
        dialog = Dialog("/c")
        self.assertEqual(dialog.number(NUMBER_EDIT), 2)
        dialog.spin(NUMBER_SPIN, up=True)
        dialog.click(ERASE_CHECK)
        dialog.click(AXIS_Y)
        k.wait_until(lambda: dialog.number(NUMBER_EDIT) == 3 and dialog.checked(AXIS_Y), 5,
                     "the changes to show")
        cancel(dialog)
        self.assertEqual(dialog.wait_exit(), 0)
        self.assertEqual(read_settings(), self.BEFORE)

    def test_cancel_button(self):
        self.cancel_after_changes(lambda dialog: dialog.click(IDCANCEL))

    def test_escape_key(self):
        self.cancel_after_changes(lambda dialog: k.key("Escape"))

    def test_close_box(self):
        self.cancel_after_changes(lambda dialog: click_at(*dialog.close_box()))

    def test_cancelled_picker_keeps_the_colour(self):
        dialog = Dialog("/c")
        picker = dialog.open_picker()
        self.assertEqual(dialog.picker_colour(picker), (255, 0, 0))
        dialog.pick_and_close(picker, 3, (207, 207, 207), IDCANCEL)
        dialog.click(IDOK)
        self.assertEqual(dialog.wait_exit(), 1)
        self.assertEqual(read_settings(), ini_file(DEFAULT_LINES))


class OwnerTest(DialogTestCase):
    def owner_for(self, tail=None, command_line=None):
        dialog = Dialog(tail, command_line=command_line)
        owner = dialog.info().owner
        dialog.click(IDCANCEL)
        self.assertEqual(dialog.wait_exit(), 0)
        self.assertIsNone(read_settings())
        return owner

    def test_window_on_the_command_line_owns_the_dialog(self):
        parent = k.PreviewParent(700, 100, 200, 100)
        self.assertEqual(self.owner_for(f"/c:{parent.hwnd}"), parent.hwnd)

    def test_plain_c_takes_the_foreground_window(self):
        parent = k.PreviewParent(700, 100, 200, 100)
        click_at(*centre(parent.client))  # makes it the foreground window
        k.wait_until(lambda: k.windows().foreground() == parent.hwnd, 5,
                     "the parent window to come to the foreground")
        self.assertEqual(self.owner_for("/c"), parent.hwnd)

    def test_empty_command_line_has_no_owner(self):
        parent = k.PreviewParent(700, 100, 200, 100)
        click_at(*centre(parent.client))
        k.wait_until(lambda: k.windows().foreground() == parent.hwnd, 5,
                     "the parent window to come to the foreground")
        scr = k.windows_path(os.environ["KORUMIX_SCR"])
        self.assertEqual(self.owner_for(command_line=f'"{scr}"'), 0)


if __name__ == "__main__":
    k.main()
