#!/usr/bin/python3
"""The built program as a Wayland client, maximised by its compositor.

weston runs on its X11 backend inside an Xvfb of the test's own, so that xdotool's
keys reach weston and weston's reach its clients. quenlo runs native on it (no X
display in its environment). weston maximises the focused window on Super+Shift+M
whatever sizes the window asks for, goes full screen on Super+Shift+F, and ends a
client that then commits a size other than the one it gave. The main window, the
options dialog and the 削除確認 message box are maximised in turn, each then answers
keys. Then the main window, restored, goes full screen and switches the alphabet
(Alt+C), which resizes it by code and shows the progress window: the window keeps the
keyboard (its menu keys open 設定) and takes the other alphabet's size when restored,
Latin to kana and then, full screen again, kana back to Latin (the narrower layout,
which the least size alone would not give back). Alt+X ends the program with code 0
and its settings written. The windows and their
sizes are read through the accessibility tree, as in real_window_test.py, whose
helpers this test shares.

    wayland_test.py QUENLO_BINARY ASSETS_FOLDER

Every step prints its name; a failure prints "FAILED: <step>: <why>" and exits 1.
"""
import os
import signal
import subprocess
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import window_road as road  # noqa: E402

OUTPUT = (1200, 1000)  # weston's output; its panel takes 32 pixels at the top
# The kana layout of the main window is 10600 twips wide, the Latin one 7500 (15 a pixel).
KANA_WIDER = round(10600 / 15) - round(7500 / 15)


def outer(binary, assets):
    return road.run_outside(__file__, binary, assets, timeout=60,
                            env={"QUENLO_AUDIO": "silent", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})


# ---------------------------------------------------------------- inside X

import real_window_test as rw  # noqa: E402  (needs the accessibility bus of the inside)
from gi.repository import Atspi  # noqa: E402

MAIN, OPTIONS = rw.MAIN, rw.OPTIONS
CLEAR = "削除確認"
PROGRESS = ("変換処理中", "読み込み中...")  # the progress window's titles
step, fail, wait_for = rw.step, rw.fail, rw.wait_for


def weston(work):
    """weston on the X display of the test, its socket in the private runtime folder."""
    socket = os.path.join(work, "wayland-quenlo")
    server = subprocess.Popen(["weston", "--backend=x11-backend.so", "--use-pixman", "--socket=wayland-quenlo",
                               "--width=%d" % OUTPUT[0], "--height=%d" % OUTPUT[1], "--idle-time=0",
                               "--log=" + os.path.join(work, "weston.log")],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wait_for("weston's socket", lambda: os.path.exists(socket) or server.poll() is not None, timeout=30)
        if server.poll() is not None:
            fail("weston ended with code %d" % server.returncode)
    except BaseException:
        road.stop_process(server)
        raise
    return server


def size(title):
    w = rw.window(title)
    if w is None:
        return None
    ext = w.get_extents(Atspi.CoordType.WINDOW)
    return ext.width, ext.height


def key(*names):
    """Keys as typed on weston's window: weston gives them to the focused surface."""
    rw.xdotool("key", "--delay", "60", *names)


def place(control):
    ext = control.get_extents(Atspi.CoordType.WINDOW)
    return ext.x, ext.y, ext.width, ext.height


def sized(program, title, keys, what, probe):
    """keys on the focused window, then its size once probe(before, now) holds."""
    before = size(title)
    key(*keys)
    got = wait_for(lambda: "the window \u201c%s\u201d to be %s (%s before, %s now)" % (title, what, before, size(title)),
                   lambda: (lambda s: s if s and probe(before, s) else None)(size(title)) or program.poll() is not None)
    if program.poll() is not None:
        fail("the program ended with code %d when its window was to be %s" % (program.returncode, what))
    print("  %s: %s before, %s %s" % (title, before, got, what), flush=True)
    return got


def maximised(program, title, button=None):
    """Super+Shift+M on the focused window, which is that window: the newest one. A
    Tab after it moves the focus: a window that did not take the size it acknowledged
    commits the old one with that repaint. A form's content keeps its place, the
    button standing for it; a message box is laid out again by Qt."""
    where = button and place(rw.control(title, "push button", button))
    sized(program, title, ["super+shift+m", "Tab"], "maximised",
          lambda before, now: now[0] > before[0] and now[1] > before[1])
    if button and place(rw.control(title, "push button", button)) != where:
        fail("the button %s moved from %s to %s" % (button, where, place(rw.control(title, "push button", button))))


def active(title):
    w = rw.window(title)
    return w is not None and rw.has_state(w, Atspi.StateType.ACTIVE)


def tab_of_options():
    w = rw.window(OPTIONS)
    strip = rw.find(w, "page tab list") if w else None
    return rw.name_of(strip) if strip else None


def road_of(work):
    folder = os.path.join(work, "program")
    server = weston(work)
    program = None
    try:
        step("the program starts native on Wayland")
        env = dict(os.environ, WAYLAND_DISPLAY="wayland-quenlo")
        env.pop("DISPLAY")  # with an X display it would take X
        program = subprocess.Popen([os.path.join(folder, "quenlo")], env=env, cwd=folder)
        rw.wait_window(MAIN)
        # The pointer rests on weston's window (X gives it the keys), clear of quenlo's.
        rw.xdotool("mousemove", "--sync", 5, OUTPUT[1] - 5)

        step("the main window maximised, then the options dialog opened by its menu keys")
        maximised(program, MAIN, "A")
        key("alt+s", "o")
        rw.wait_window(OPTIONS)

        step("the options dialog maximised, then Ctrl+Tab changes its tab and Esc closes it")
        maximised(program, OPTIONS, "設定保存")
        first = wait_for("a current tab", tab_of_options)
        key("ctrl+Tab")
        wait_for("Ctrl+Tab to change the tab", lambda: tab_of_options() not in (None, first))
        key("Escape")
        rw.wait_gone(OPTIONS)

        step("a message box maximised: 削除確認, from Esc on the learner's own set")
        single = rw.control(MAIN, "check box", "1文字受信モード")
        single.grab_focus()
        wait_for("the focus on 1文字受信モード", lambda: rw.has_state(single, Atspi.StateType.FOCUSED))
        key("space", "alt+m", "z", "Escape")
        rw.wait_window(CLEAR)
        maximised(program, CLEAR)
        key("alt+n")
        rw.wait_gone(CLEAR)

        step("the main window restored (Super+Shift+M), then full screen (Super+Shift+F)")
        wait_for("the main window to have the keyboard", lambda: active(MAIN))
        latin = sized(program, MAIN, ["super+shift+m"], "restored", lambda before, now: now[0] < OUTPUT[0] // 2)
        sized(program, MAIN, ["super+shift+f"], "full screen", lambda before, now: now == OUTPUT)

        step("Alt+C in full screen switches to kana; the window keeps the keyboard, 設定 opens by its menu keys")
        key("alt+c")
        wait_for("the kana keys", lambda: place(rw.control(MAIN, "push button", "ア"))[0] >= 0)
        wait_for("the progress window to go", lambda: not any(rw.window(t) for t in PROGRESS))
        wait_for("the main window to have the keyboard back", lambda: active(MAIN))
        if size(MAIN) != OUTPUT:
            fail("the full-screen window is %s, not the output's %s" % (size(MAIN), OUTPUT))
        key("alt+s", "o")
        rw.wait_window(OPTIONS)
        key("Escape")
        rw.wait_gone(OPTIONS)

        step("restored (Super+Shift+F), the window has the kana layout's size")
        wait_for("the main window to have the keyboard", lambda: active(MAIN))
        kana = (latin[0] + KANA_WIDER, latin[1])
        sized(program, MAIN, ["super+shift+f"], "restored", lambda before, now: now != OUTPUT)
        wait_for(lambda: "the size %s of the kana layout (%s now)" % (kana, size(MAIN)), lambda: size(MAIN) == kana)

        step("full screen again, Alt+C back to Latin; restored, the window has the Latin layout's size")
        wait_for("the main window to have the keyboard", lambda: active(MAIN))
        sized(program, MAIN, ["super+shift+f"], "full screen", lambda before, now: now == OUTPUT)
        key("alt+c")
        wait_for("the Latin keys", lambda: place(rw.control(MAIN, "push button", "A"))[0] >= 0)
        wait_for("the progress window to go", lambda: not any(rw.window(t) for t in PROGRESS))
        wait_for("the main window to have the keyboard back", lambda: active(MAIN))
        sized(program, MAIN, ["super+shift+f"], "restored", lambda before, now: now != OUTPUT)
        wait_for(lambda: "the size %s of the Latin layout (%s now)" % (latin, size(MAIN)), lambda: size(MAIN) == latin)

        step("Alt+X ends it with code 0, its settings written")
        saved = os.path.join(folder, "saveset.dat")
        whole = os.path.getsize(saved)
        os.remove(saved)
        key("alt+x")
        try:
            code = program.wait(rw.STEP_TIMEOUT)
        except subprocess.TimeoutExpired:
            fail("the program did not end")
        if code != 0:
            fail("the program ended with code %d" % code)
        if not os.path.exists(saved) or os.path.getsize(saved) != whole:
            fail("saveset.dat was not written again whole (%d bytes before)" % whole)
    finally:
        road.stop_process(program, signal.SIGKILL)
        road.stop_process(server)


def inner(work):
    return rw.run_road(lambda: road_of(work))


if __name__ == "__main__":
    road.main(__doc__, outer, inner)
