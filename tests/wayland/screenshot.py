#!/usr/bin/python3
"""Writes what a headless Wayland compositor shows to a PNG file: Mutter's
output through its screen-cast D-Bus API and PipeWire, KWin's through its
screenshot D-Bus API (which KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 opens to
any caller). Run inside the compositor's D-Bus session.

    screenshot.py mutter|kwin OUT.png
"""
import os
import subprocess
import sys

from gi.repository import Gio, GLib


def call(bus, name, path, interface, method, args, reply, fds=None):
    result = bus.call_with_unix_fd_list_sync(name, path, interface, method, args, GLib.VariantType(reply),
                                             Gio.DBusCallFlags.NONE, 10000, fds, None)
    return result[0].unpack()


def mutter(bus, out):
    # The session lives as long as this connection, so every call is made here.
    cast = 'org.gnome.Mutter.ScreenCast'
    (session,) = call(bus, cast, '/org/gnome/Mutter/ScreenCast', cast, 'CreateSession',
                      GLib.Variant('(a{sv})', ({},)), '(o)')
    (stream,) = call(bus, cast, session, cast + '.Session', 'RecordMonitor',
                     GLib.Variant('(sa{sv})', ('', {})), '(o)')  # '': the primary monitor
    loop, nodes = GLib.MainLoop(), []

    def added(_bus, _sender, _path, _interface, _signal, args):
        nodes.append(args[0])
        loop.quit()

    bus.signal_subscribe(cast, cast + '.Stream', 'PipeWireStreamAdded', stream, None,
                         Gio.DBusSignalFlags.NONE, added)
    call(bus, cast, session, cast + '.Session', 'Start', None, '()')
    GLib.timeout_add_seconds(10, loop.quit)
    loop.run()
    if not nodes:
        sys.exit('screenshot: Mutter started no PipeWire stream')
    subprocess.run(['gst-launch-1.0', '-q', 'pipewiresrc', f'path={nodes[0]}', 'num-buffers=1', '!',
                    'videoconvert', '!', 'pngenc', '!', 'filesink', f'location={out}'], check=True, timeout=60)
    call(bus, cast, session, cast + '.Session', 'Stop', None, '()')


def kwin(bus, out):
    readable, writable = os.pipe()
    fds = Gio.UnixFDList.new_from_array([writable])  # takes the descriptor over
    (info,) = call(bus, 'org.kde.KWin', '/org/kde/KWin/ScreenShot2', 'org.kde.KWin.ScreenShot2',
                   'CaptureActiveScreen', GLib.Variant('(a{sv}h)', ({}, 0)), '(a{sv})', fds)
    for fd in fds.steal_fds():  # our copy of the writing end, so that the pipe ends with KWin's
        os.close(fd)
    with os.fdopen(readable, 'rb') as pipe:
        raw = pipe.read()
    # 32-bit pixels in the machine's byte order: blue, green, red, alpha in memory.
    width, height, stride = info['width'], info['height'], info['stride']
    rows = b''.join(raw[y * stride:y * stride + 4 * width] for y in range(height))
    subprocess.run(['convert', '-size', f'{width}x{height}', '-depth', '8', 'bgra:-', '-alpha', 'off', out],
                   input=rows, check=True)


if __name__ == '__main__':
    if len(sys.argv) != 3 or sys.argv[1] not in ('mutter', 'kwin'):
        sys.exit(__doc__)
    {'mutter': mutter, 'kwin': kwin}[sys.argv[1]](Gio.bus_get_sync(Gio.BusType.SESSION), sys.argv[2])
