"""Driving the picture window's menus and the program's message boxes from
the keyboard, as a user does."""

import subprocess

from desktop import DEADLINE, PICTURE_WINDOW, wait_until, windows_named

BOX_CAPTION = "Vistrel-Pro"  # every message box of the program


class PictureWindowUser:
    def __init__(self, desktop):
        self.desktop = desktop
        self.window = None

    def key(self, *keys):
        self.desktop.run(["xdotool", "key", "--delay", "40", *keys], check=True)

    def open_picture_window(self):
        self.key("Print")
        self.window = wait_until(lambda: windows_named(self.desktop, PICTURE_WINDOW),
                                 what="the picture window")[0]
        self.activate(self.window)
        return self.window

    def activate(self, window):
        self.desktop.run(["xdotool", "windowactivate", "--sync", window])
        wait_until(lambda: self.desktop.run(["xdotool", "getactivewindow"]).strip() == window,
                   what="window %s to become active" % window)

    def menu_item(self, menu_key, count, index, then=()):
        """Opens a menu with its Alt key and takes item `index` (1-based) of
        its `count` enabled items. Up wraps, so `count - index + 1` presses
        land there whether or not the first item was highlighted."""
        self.activate(self.window)
        self.key(menu_key, *(["Up"] * (count - index + 1)), *then)

    def hotkey_menu_setup(self):
        # Hotkey has no Alt key: from Help one step to the left.
        self.menu_item("alt+h", 1, 1, then=("Left", "Up", "Return"))

    def dialog(self, title):
        found = wait_until(lambda: windows_named(self.desktop, title), what=title)[0]
        self.activate(found)
        return found

    def boxes(self):
        """Message boxes: windows titled exactly like the program."""
        return [w for w in windows_named(self.desktop, BOX_CAPTION)
                if self.desktop.run(["xdotool", "getwindowname", w]).strip() == BOX_CAPTION]

    def read_box(self):
        """Waits for a message box, copies it with Ctrl+C and returns the
        copied text (caption, text, buttons)."""
        box = wait_until(self.boxes, what="a message box")[0]
        self.activate(box)
        self.desktop.start(["xclip", "-selection", "clipboard", "-i", "/dev/null"]).wait(DEADLINE)
        self.key("ctrl+c")
        return wait_until(lambda: self.clipboard_text().strip(), what="the box's text on the clipboard")

    def answer_box(self, key):
        box = wait_until(self.boxes, what="a message box")[0]
        self.activate(box)
        self.key(key)
        wait_until(lambda: box not in self.boxes(), what="the box to close")

    def clipboard_text(self):
        done = subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=self.desktop.env,
                              capture_output=True, text=True, timeout=DEADLINE)
        return done.stdout if done.returncode == 0 else ""

    def close_picture_window(self):
        self.activate(self.window)
        self.key("Escape")
        wait_until(lambda: not windows_named(self.desktop, PICTURE_WINDOW),
                   what="the picture window to close")
