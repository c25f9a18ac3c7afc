#!/usr/bin/python3
# A native Wayland GTK 3 window for the tests: native-window.py APP_ID TITLE WIDTHxHEIGHT
# [COLOUR], COLOUR filling the window below its entry.
# Writes "ready" once shown, "text <entry's text>" at each change of its entry, "focus in" and
# "focus out"; ends when its window closes.
import sys

import gi
gi.require_version('Gdk', '3.0')
gi.require_version('Gtk', '3.0')
from gi.repository import Gdk, Gtk  # noqa: E402

app_id, title, size = sys.argv[1], sys.argv[2], sys.argv[3]
width, height = (int(part) for part in size.split('x'))
colour = sys.argv[4] if len(sys.argv) > 4 else None


def say(line):
    print(line, flush=True)


def activate(app):
    if colour:
        style = Gtk.CssProvider()
        style.load_from_data(('.filled { background-color: %s; }' % colour).encode())
        Gtk.StyleContext.add_provider_for_screen(Gdk.Screen.get_default(), style, 800)
    window = Gtk.ApplicationWindow(application=app, title=title)
    window.set_default_size(width, height)
    entry = Gtk.Entry()
    entry.connect('changed', lambda e: say('text ' + e.get_text()))
    box = Gtk.Box(orientation=Gtk.Orientation.VERTICAL)
    box.pack_start(entry, False, False, 0)
    area = Gtk.EventBox()
    area.add(Gtk.Label(label=title))
    area.get_style_context().add_class('filled')
    box.pack_start(area, True, True, 0)
    window.add(box)
    window.connect('focus-in-event', lambda *_: say('focus in'))
    window.connect('focus-out-event', lambda *_: say('focus out'))
    window.connect('map-event', lambda *_: say('ready'))
    window.show_all()


application = Gtk.Application(application_id=app_id)
application.connect('activate', activate)
application.run([])
