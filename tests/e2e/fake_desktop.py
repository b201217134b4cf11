#!/usr/bin/env python3
"""The D-Bus side of a desktop, on the private session bus a test starts. Prints "ready" once its
name is owned. Usage: fake_desktop.py host|portal
  host    the notification-area watcher with a host registered; prints "item SERVICE" per icon.
  portal  the host-registry and global-shortcut portals, a Request and its Response per call;
          prints every call. Its test method Press(id) reports that shortcut as pressed."""
import functools, sys

from gi.repository import Gio, GLib

HOST_XML = """<node><interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
</interface></node>"""

PORTAL_XML = """<node>
<interface name="org.freedesktop.host.portal.Registry">
  <method name="Register"><arg type="s" direction="in"/><arg type="a{sv}" direction="in"/></method>
</interface>
<interface name="org.freedesktop.portal.GlobalShortcuts">
  <method name="CreateSession"><arg type="a{sv}" direction="in"/><arg type="o" direction="out"/></method>
  <method name="BindShortcuts"><arg type="o" direction="in"/><arg type="a(sa{sv})" direction="in"/>
    <arg type="s" direction="in"/><arg type="a{sv}" direction="in"/><arg type="o" direction="out"/></method>
  <signal name="Activated"><arg type="o"/><arg type="s"/><arg type="t"/><arg type="a{sv}"/></signal>
  <signal name="Deactivated"><arg type="o"/><arg type="s"/><arg type="t"/><arg type="a{sv}"/></signal>
  <property name="version" type="u" access="read"/>
</interface>
<interface name="org.example.FakePortal">
  <method name="Press"><arg type="s" direction="in"/></method>
</interface>
</node>"""

PORTAL_PATH = "/org/freedesktop/portal/desktop"


say = functools.partial(print, flush=True)


class Host:
    name, path, xml = "org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher", HOST_XML
    items = []  # one service a process

    def call(self, bus, sender, method, args, invocation):
        if method == "RegisterStatusNotifierItem":
            self.items.append(args[0])
            say("item", args[0])
        invocation.return_value(None)

    def get(self, prop):
        return {"RegisteredStatusNotifierItems": GLib.Variant("as", self.items),
                "IsStatusNotifierHostRegistered": GLib.Variant("b", True),
                "ProtocolVersion": GLib.Variant("i", 0)}.get(prop)


class Portal:
    name, path, xml = "org.freedesktop.portal.Desktop", PORTAL_PATH, PORTAL_XML
    registered, session = False, None

    def respond(self, bus, sender, options, results):
        """A request path as the portal makes it; its Response follows the method's reply."""
        token = options.get("handle_token", "t")
        request = "%s/request/%s/%s" % (PORTAL_PATH, sender[1:].replace(".", "_"), token)
        GLib.idle_add(lambda: bus.emit_signal(sender, request, "org.freedesktop.portal.Request", "Response",
                                              GLib.Variant("(ua{sv})", (0, results))) and False)
        return GLib.Variant("(o)", (request,))

    def call(self, bus, sender, method, args, invocation):
        if method == "Register":
            # Recent portals take the program's id only before its first portal call.
            say("Register", args[0])
            self.registered = self.session is None
            invocation.return_value(None)
        elif not self.registered:
            invocation.return_dbus_error("org.freedesktop.portal.Error.NotAllowed", "not registered")
        elif method == "CreateSession":
            self.session = "%s/session/%s/%s" % (PORTAL_PATH, sender[1:].replace(".", "_"),
                                                 args[0].get("session_handle_token", "s"))
            say("CreateSession", self.session)
            invocation.return_value(self.respond(bus, sender, args[0], {"session_handle": GLib.Variant("s", self.session)}))
        elif method == "BindShortcuts":
            for shortcut_id, props in args[1]:
                say("BindShortcuts", args[0], shortcut_id, "trigger=" + props.get("preferred_trigger", ""),
                    "description=" + props.get("description", ""))
            bound = [(i, {"description": GLib.Variant("s", p.get("description", "")),
                          "trigger_description": GLib.Variant("s", p.get("preferred_trigger", ""))})
                     for i, p in args[1]]
            invocation.return_value(self.respond(bus, sender, args[3],
                                                 {"shortcuts": GLib.Variant("a(sa{sv})", bound)}))
        elif method == "Press":
            for signal in ("Activated", "Deactivated"):
                bus.emit_signal(None, PORTAL_PATH, "org.freedesktop.portal.GlobalShortcuts", signal,
                                GLib.Variant("(osta{sv})", (self.session, args[0], 0, {
                                    "activation_token": GLib.Variant("s", "token-" + args[0])})))
            invocation.return_value(None)

    def get(self, prop):
        return GLib.Variant("u", 1) if prop == "version" else None


service = {"host": Host, "portal": Portal}[sys.argv[1]]()
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
for interface in Gio.DBusNodeInfo.new_for_xml(service.xml).interfaces:
    bus.register_object(service.path, interface,
                        lambda b, sender, p, i, method, args, inv: service.call(b, sender, method, args.unpack(), inv),
                        lambda b, sender, p, i, prop: service.get(prop), None)
Gio.bus_own_name_on_connection(bus, service.name, Gio.BusNameOwnerFlags.NONE,
                               lambda *_: say("ready"), lambda *_: sys.exit("name taken: " + service.name))
GLib.MainLoop().run()
