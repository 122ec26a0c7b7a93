"""A desktop notification service for end-to-end tests: a private session
bus with org.freedesktop.Notifications on it. Every Notify call is written
to a file as one JSON line; writing an id into the file `invoke` makes the
service report that its action was clicked.

Run as a script by NotificationService; not imported by the tests' process
with the bus."""

import json
import os
import subprocess
import sys

from desktop import wait_until


def _python_with_dbus():
    for python in (sys.executable, "/usr/bin/python3"):
        if subprocess.run([python, "-c", "import dbus, gi"], capture_output=True).returncode == 0:
            return python
    raise AssertionError("python3-dbus and python3-gi are not installed")


class NotificationService:
    def __init__(self, desktop):
        self.desktop = desktop
        self.folder = os.path.join(desktop.folder, "notifications")
        os.makedirs(self.folder)
        self.log = os.path.join(self.folder, "notices.jsonl")
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                               env=desktop.env, stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL, text=True)
        desktop.processes.append(bus)
        address = bus.stdout.readline().strip()
        assert address, "dbus-daemon did not start"
        desktop.env["DBUS_SESSION_BUS_ADDRESS"] = address
        desktop.start([_python_with_dbus(), os.path.abspath(__file__), self.folder])
        wait_until(lambda: os.path.exists(os.path.join(self.folder, "ready")),
                   what="the notification service")

    def notices(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log) as f:
            return [json.loads(line) for line in f if line.strip()]

    def click_action(self, notice):
        with open(os.path.join(self.folder, "invoke.tmp"), "w") as f:
            f.write(str(notice["id"]))
        os.rename(os.path.join(self.folder, "invoke.tmp"), os.path.join(self.folder, "invoke"))


def serve(folder):
    import dbus
    import dbus.service
    from dbus.mainloop.glib import DBusGMainLoop
    from gi.repository import GLib

    interface = "org.freedesktop.Notifications"

    class Service(dbus.service.Object):
        next_id = 1

        @dbus.service.method(interface, out_signature="as")
        def GetCapabilities(self):
            return ["actions", "body"]

        @dbus.service.method(interface, in_signature="susssasa{sv}i", out_signature="u")
        def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
            number = Service.next_id
            Service.next_id += 1
            with open(os.path.join(folder, "notices.jsonl"), "a") as f:
                f.write(json.dumps({"id": number, "app": str(app), "summary": str(summary),
                                    "body": str(body), "actions": [str(a) for a in actions]})
                        + "\n")
            return dbus.UInt32(number)

        @dbus.service.signal(interface, signature="us")
        def ActionInvoked(self, number, key):
            pass

    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    name = dbus.service.BusName(interface, bus)
    service = Service(bus, "/org/freedesktop/Notifications")

    def poll():
        trigger = os.path.join(folder, "invoke")
        if os.path.exists(trigger):
            with open(trigger) as f:
                number = int(f.read())
            os.remove(trigger)
            service.ActionInvoked(dbus.UInt32(number), "default")
        return True

    GLib.timeout_add(50, poll)
    open(os.path.join(folder, "ready"), "w").close()
    _ = name
    GLib.MainLoop().run()


if __name__ == "__main__":
    serve(sys.argv[1])
