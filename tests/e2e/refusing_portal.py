"""A desktop portal that refuses every screenshot, as a desktop does when
the user answers its permission question with "no": owns
org.freedesktop.portal.Desktop on the session bus and answers each
Screenshot request with the response "ended another way" (2).

    python3 refusing_portal.py FOLDER   (touches FOLDER/ready once serving)"""

import os
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

PORTAL = "org.freedesktop.portal.Desktop"
PATH = "/org/freedesktop/portal/desktop"
REQUEST = "org.freedesktop.portal.Request"
SCREENSHOT = "org.freedesktop.portal.Screenshot"
REFUSED = 2


def serve(folder):
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()

    class Request(dbus.service.Object):
        @dbus.service.signal(REQUEST, signature="ua{sv}")
        def Response(self, response, results):
            pass

    class Portal(dbus.service.Object):
        @dbus.service.method(SCREENSHOT, in_signature="sa{sv}", out_signature="o",
                             sender_keyword="sender")
        def Screenshot(self, parent, options, sender):
            path = "%s/request/%s/%s" % (PATH, sender[1:].replace(".", "_"),
                                        options["handle_token"])
            request = Request(bus, path)
            # Answered once the caller has the request's path.
            GLib.idle_add(lambda: request.Response(dbus.UInt32(REFUSED),
                                                   dbus.Dictionary({}, signature="sv")) and False)
            return path

    name = dbus.service.BusName(PORTAL, bus)
    Portal(bus, PATH)
    open(os.path.join(folder, "ready"), "w").close()
    _ = name
    GLib.MainLoop().run()


if __name__ == "__main__":
    serve(sys.argv[1])
