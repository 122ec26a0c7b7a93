"""A tray for the Wayland desktop tests: org.kde.StatusNotifierWatcher on
the session bus, with a host registered, as a panel provides it. Each item
that registers is read back and written to FOLDER/items.jsonl as one JSON
line (service, id, title, tooltip).

    python3 tray_watcher.py FOLDER   (touches FOLDER/ready once serving)"""

import json
import os
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"
# Qt reads the watcher's properties only where the introspection data names
# them, which dbus-python leaves out.
INTROSPECTION = """<node>
 <interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
 </interface>
 <interface name="org.freedesktop.DBus.Properties">
  <method name="Get"><arg type="s" direction="in"/><arg type="s" direction="in"/>
   <arg type="v" direction="out"/></method>
  <method name="GetAll"><arg type="s" direction="in"/><arg type="a{sv}" direction="out"/></method>
 </interface>
</node>"""


def serve(folder):
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()

    def record(service, path):
        item = dbus.Interface(bus.get_object(service, path), dbus.PROPERTIES_IFACE)
        tooltip = item.Get(ITEM, "ToolTip")
        with open(os.path.join(folder, "items.jsonl"), "a") as f:
            f.write(json.dumps({"service": service, "id": str(item.Get(ITEM, "Id")),
                                "title": str(item.Get(ITEM, "Title")),
                                "tooltip": str(tooltip[2]) + str(tooltip[3])}) + "\n")
        return False

    class Watcher(dbus.service.Object):
        items = []

        @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
        def RegisterStatusNotifierItem(self, name, sender):
            # Either a bus name (the item at the usual path) or a path on
            # the caller's connection.
            service, path = (sender, name) if name.startswith("/") else (name, "/StatusNotifierItem")
            Watcher.items.append(service + path)
            self.StatusNotifierItemRegistered(service + path)
            # Read once this call has returned: the item answers from the
            # same event loop that waits for it.
            GLib.idle_add(record, service, path)

        @dbus.service.method(WATCHER, in_signature="s")
        def RegisterStatusNotifierHost(self, name):
            pass

        @dbus.service.signal(WATCHER, signature="s")
        def StatusNotifierItemRegistered(self, name):
            pass

        @dbus.service.signal(WATCHER, signature="")
        def StatusNotifierHostRegistered(self):
            pass

        @dbus.service.method(dbus.INTROSPECTABLE_IFACE, out_signature="s")
        def Introspect(self):
            return INTROSPECTION

        @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
        def Get(self, interface, prop):
            return self.GetAll(interface)[prop]

        @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
        def GetAll(self, interface):
            return {"RegisteredStatusNotifierItems": dbus.Array(Watcher.items, signature="s"),
                    "IsStatusNotifierHostRegistered": True,
                    "ProtocolVersion": dbus.Int32(0)}

    name = dbus.service.BusName(WATCHER, bus)
    Watcher(bus, "/StatusNotifierWatcher")
    open(os.path.join(folder, "ready"), "w").close()
    _ = name
    GLib.MainLoop().run()


if __name__ == "__main__":
    serve(sys.argv[1])
