#!/usr/bin/env python3
"""Usage: gtk_drag_source.py TITLE TEXT X Y: a GTK 3 window TITLE at X, Y whose label offers TEXT as plain text to drop."""
import sys

import gi

gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, Gtk  # noqa: E402

title, text, x, y = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
window = Gtk.Window(title=title)
window.set_default_size(160, 60)
window.move(x, y)
window.connect("destroy", Gtk.main_quit)
source = Gtk.EventBox()  # gives the label a window of its own, so it can start a drag
source.add(Gtk.Label(label=text))
source.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [], Gdk.DragAction.COPY)
source.drag_source_add_text_targets()
source.connect("drag-data-get", lambda _w, _c, data, _i, _t: data.set_text(text, -1))
window.add(source)
window.show_all()
Gtk.main()
