"""A stand-in desktop portal: owns org.freedesktop.portal.Desktop on the
session bus and answers each Screenshot request as the file FOLDER/mode
says at that moment, so one test can walk a running program through
several desktops' answers:

    refuse      response 2 ("ended another way"), as a desktop does when the
                user answers its permission question with "no"; also
                without a mode file
    pick        a copy of FOLDER/picture.png, response 0 (success)
    cancel      response 1: the user left the dialog
    stall       the request's path, and then never a Response
    unsupported an error reply, as from a portal without a screenshot backend
    no-uri      response 0 without a "uri"
    remote-uri  response 0 with an http:// uri
    not-picture response 0 naming a text file
    huge        response 0 naming a PNG whose header claims 100000 x 100000

Every request's options are appended to FOLDER/requests as a JSON line.

    python3 refusing_portal.py FOLDER   (touches FOLDER/ready once serving)"""

import itertools
import json
import os
import shutil
import struct
import sys
import zlib

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

PORTAL = "org.freedesktop.portal.Desktop"
PATH = "/org/freedesktop/portal/desktop"
REQUEST = "org.freedesktop.portal.Request"
SCREENSHOT = "org.freedesktop.portal.Screenshot"


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def huge_png():
    """A valid PNG header and one tiny compressed row: a decoder that trusts
    the header would ask for 30 GB."""
    header = struct.pack(">IIBBBBB", 100000, 100000, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(b"\0" * 301)) + png_chunk(b"IEND", b""))


def serve(folder):
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    numbers = itertools.count(1)
    kept = []  # requests that stall stay exported

    def answer_file(mode):
        name = os.path.join(folder, "answer-%d" % next(numbers))
        if mode == "pick":
            shutil.copy(os.path.join(folder, "picture.png"), name + ".png")
            return name + ".png"
        with open(name + ".png", "wb") as f:
            f.write(huge_png() if mode == "huge" else b"not a picture\n")
        return name + ".png"

    def results(mode):
        if mode == "no-uri":
            return {}
        if mode == "remote-uri":
            return {"uri": "http://example.invalid/shot.png"}
        return {"uri": "file://" + answer_file(mode)}

    class Request(dbus.service.Object):
        @dbus.service.signal(REQUEST, signature="ua{sv}")
        def Response(self, response, results):
            pass

        @dbus.service.method(REQUEST)
        def Close(self):
            with open(os.path.join(folder, "closed"), "a") as f:
                f.write(self.__dbus_object_path__ + "\n")

    class Portal(dbus.service.Object):
        @dbus.service.method(SCREENSHOT, in_signature="sa{sv}", out_signature="o",
                             sender_keyword="sender")
        def Screenshot(self, parent, options, sender):
            try:
                with open(os.path.join(folder, "mode")) as f:
                    mode = f.read().strip()
            except FileNotFoundError:
                mode = "refuse"
            with open(os.path.join(folder, "requests"), "a") as f:
                f.write(json.dumps({"mode": mode, "interactive": bool(options.get("interactive")),
                                    "modal": bool(options.get("modal", True))}) + "\n")
            if mode == "unsupported":
                raise dbus.exceptions.DBusException(
                    "No screenshot here", name="org.freedesktop.DBus.Error.UnknownMethod")
            path = "%s/request/%s/%s" % (PATH, sender[1:].replace(".", "_"),
                                        options["handle_token"])
            request = Request(bus, path)
            kept.append(request)
            if mode != "stall":
                code = {"cancel": 1, "refuse": 2}.get(mode, 0)
                values = {} if code else results(mode)
                # Answered once the caller has the request's path.
                GLib.idle_add(lambda: request.Response(
                    dbus.UInt32(code), dbus.Dictionary(values, signature="sv")) and False)
            return path

    name = dbus.service.BusName(PORTAL, bus)
    Portal(bus, PATH)
    open(os.path.join(folder, "ready"), "w").close()
    _ = name
    GLib.MainLoop().run()


if __name__ == "__main__":
    serve(sys.argv[1])
