"""A desktop portal with the GlobalShortcuts interface (version 2), as
KDE Plasma and GNOME offer it: owns org.freedesktop.portal.Desktop on the
session bus. Debian 12's xdg-desktop-portal (1.16) has no GlobalShortcuts,
so the tests stand this one in its place.

    python3 shortcuts_portal.py FOLDER accept|refuse

Every BindShortcuts is written to FOLDER/binds.jsonl as one JSON line
({"session", "shortcuts": [[id, description, preferred_trigger]]}); "accept"
binds each shortcut to its preferred trigger, "refuse" answers the bind
with the response "ended another way" (2). Writing a shortcut id into
FOLDER/activate emits Activated for it in the session bound last. Touches
FOLDER/ready once serving."""

import json
import os
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

PORTAL = "org.freedesktop.portal.Desktop"
PATH = "/org/freedesktop/portal/desktop"
REQUEST = "org.freedesktop.portal.Request"
SESSION = "org.freedesktop.portal.Session"
SHORTCUTS = "org.freedesktop.portal.GlobalShortcuts"
PROPERTIES = "org.freedesktop.DBus.Properties"
VERSION = 2
REFUSED = 2


def serve(folder, mode):
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    bound = {}  # session path -> the shortcuts bound in it

    class Request(dbus.service.Object):
        @dbus.service.signal(REQUEST, signature="ua{sv}")
        def Response(self, response, results):
            pass

    class Session(dbus.service.Object):
        @dbus.service.method(SESSION)
        def Close(self):
            bound.pop(self.__dbus_object_path__, None)
            self.remove_from_connection()

    def answer(sender, options, response, results):
        path = "%s/request/%s/%s" % (PATH, sender[1:].replace(".", "_"), options["handle_token"])
        request = Request(bus, path)

        # Answered once the caller has the request's path.
        def respond():
            request.Response(dbus.UInt32(response), dbus.Dictionary(results, signature="sv"))
            request.remove_from_connection()
            return False
        GLib.idle_add(respond)
        return path

    def listed(shortcuts):
        return dbus.Array([dbus.Struct((name, dbus.Dictionary(
            {"description": description, "trigger_description": trigger}, signature="sv")))
            for name, description, trigger in shortcuts], signature="(sa{sv})")

    class Portal(dbus.service.Object):
        @dbus.service.method(PROPERTIES, in_signature="ss", out_signature="v")
        def Get(self, interface, name):
            if interface != SHORTCUTS or name != "version":
                raise dbus.exceptions.DBusException("no such property",
                                                    name="org.freedesktop.DBus.Error.InvalidArgs")
            return dbus.UInt32(VERSION)

        @dbus.service.method(SHORTCUTS, in_signature="a{sv}", out_signature="o",
                             sender_keyword="sender")
        def CreateSession(self, options, sender):
            session = "%s/session/%s/%s" % (PATH, sender[1:].replace(".", "_"),
                                            options["session_handle_token"])
            Session(bus, session)
            bound[session] = []
            return answer(sender, options, 0, {"session_handle": dbus.String(session)})

        @dbus.service.method(SHORTCUTS, in_signature="oa(sa{sv})sa{sv}", out_signature="o",
                             sender_keyword="sender")
        def BindShortcuts(self, session, shortcuts, parent, options, sender):
            wanted = [[str(name), str(props.get("description", "")),
                       str(props.get("preferred_trigger", ""))] for name, props in shortcuts]
            with open(os.path.join(folder, "binds.jsonl"), "a") as f:
                f.write(json.dumps({"session": str(session), "shortcuts": wanted}) + "\n")
            if mode == "refuse" or str(session) not in bound:
                return answer(sender, options, REFUSED, {})
            bound[str(session)] = wanted
            return answer(sender, options, 0, {"shortcuts": listed(wanted)})

        @dbus.service.method(SHORTCUTS, in_signature="oa{sv}", out_signature="o",
                             sender_keyword="sender")
        def ListShortcuts(self, session, options, sender):
            return answer(sender, options, 0, {"shortcuts": listed(bound.get(str(session), []))})

        @dbus.service.method(SHORTCUTS, in_signature="osa{sv}")
        def ConfigureShortcuts(self, session, parent, options):
            with open(os.path.join(folder, "configured"), "a") as f:
                f.write(str(session) + "\n")

        @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
        def Activated(self, session, shortcut, timestamp, options):
            pass

        @dbus.service.signal(SHORTCUTS, signature="oa(sa{sv})")
        def ShortcutsChanged(self, session, shortcuts):
            pass

    name = dbus.service.BusName(PORTAL, bus)
    portal = Portal(bus, PATH)

    def poll():
        trigger = os.path.join(folder, "activate")
        if os.path.exists(trigger):
            with open(trigger) as f:
                shortcut = f.read().strip()
            os.remove(trigger)
            for session, shortcuts in bound.items():
                if any(entry[0] == shortcut for entry in shortcuts):
                    portal.Activated(dbus.ObjectPath(session), shortcut, dbus.UInt64(0),
                                     dbus.Dictionary({}, signature="sv"))
        return True

    GLib.timeout_add(50, poll)
    open(os.path.join(folder, "ready"), "w").close()
    _ = name
    GLib.MainLoop().run()


if __name__ == "__main__":
    serve(sys.argv[1], sys.argv[2])
