#!/usr/bin/python3
"""The built program's windows as a window manager sees them.

quenlo runs under Xvfb in a fresh program folder, first with openbox managing its
windows, then with no window manager. The properties a window manager reads (owner,
type, Motif hints, icon) are read with python-xlib; clicks and keys are real X
events (xdotool), and the controls are found through the accessibility tree as in
real_window_test.py, whose helpers this test shares.

    window_manager_test.py QUENLO_BINARY ASSETS_FOLDER

Every step prints its name; a failure prints "FAILED: <step>: <why>" and exits 1.
"""
import os
import subprocess
import sys

sys.dont_write_bytecode = True  # the window tests' modules are imported from the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import window_road as road  # noqa: E402

MOTIF_FUNCTIONS = 1  # flag: the functions field is given
MOTIF_FUNC_ALL, MOTIF_FUNC_MINIMIZE, MOTIF_FUNC_MAXIMIZE = 1, 8, 16
ICONIC = 3  # WM_STATE
SCORE_PICTURES = ("Perfect.gaz", "Good.gaz", "Soso.gaz", "Bad.gaz")


def outer(binary, assets):
    # A fresh program folder for each window manager.
    return road.run_outside(__file__, binary, assets, folders=("openbox", "bare"), timeout=110,
                            env={"QUENLO_AUDIO": "silent", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})


# ---------------------------------------------------------------- inside X

import real_window_test as rw  # noqa: E402  (needs the accessibility bus of the inside)
from Xlib import X, Xatom, display  # noqa: E402

MAIN, OPTIONS, ABOUT, RESULTS = rw.MAIN, rw.OPTIONS, rw.ABOUT, rw.RESULTS
d = None


def atom(name):
    return d.intern_atom(name)


def prop(wid, name, kind=X.AnyPropertyType):
    try:
        p = d.create_resource_object("window", wid).get_full_property(atom(name), kind)
    except Exception:  # the window went meanwhile
        return None
    return list(p.value) if p is not None else None


def x_id(title):
    return int(rw.wait_for("the X window \u201c%s\u201d" % title, lambda: rw.x_window(title)))


def icons(wid):
    """The images of _NET_WM_ICON: (width, height, ARGB pixels) each."""
    data = prop(wid, "_NET_WM_ICON", Xatom.CARDINAL) or []
    out = []
    while len(data) >= 2:
        w, h = data[0], data[1]
        out.append((w, h, data[2:2 + w * h]))
        data = data[2 + w * h:]
    return out


def has_program_icon(wid):
    # The program's icon: a dark blue key, 32 x 32, a yellow dot and dash on it.
    for w, h, pixels in icons(wid):
        if (w, h) == (32, 32) and pixels[8 * 32 + 8] & 0xffffff == 0x204070 \
                and pixels[16 * 32 + 8] & 0xffffff == 0xffd640:
            return True
    return False


def client_centre(wid):
    w = d.create_resource_object("window", wid)
    g = w.get_geometry()
    at = w.translate_coords(d.screen().root, 0, 0)
    return (-at.x + g.width / 2, -at.y + g.height / 2)


def iconic(wid):
    state = prop(wid, "WM_STATE")
    return bool(state) and state[0] == ICONIC


def viewable(wid):
    try:
        return d.create_resource_object("window", wid).get_attributes().map_state == X.IsViewable
    except Exception:
        return False


def check_dialog(title, main, program_icon=True):
    """A dialog of the main window: owned by it, typed as a dialog, with no minimise or
    maximise function in its Motif hints, centred on the main window."""
    wid = x_id(title)
    owner = prop(wid, "WM_TRANSIENT_FOR")
    if owner != [main]:
        rw.fail("%s: WM_TRANSIENT_FOR %s, expected the main window %s" % (title, owner, main))
    types = prop(wid, "_NET_WM_WINDOW_TYPE") or []
    if not types or types[0] != atom("_NET_WM_WINDOW_TYPE_DIALOG"):
        rw.fail("%s: _NET_WM_WINDOW_TYPE %s, expected a dialog first"
                % (title, [d.get_atom_name(a) for a in types]))
    motif = prop(wid, "_MOTIF_WM_HINTS")
    if not motif or not motif[0] & MOTIF_FUNCTIONS or motif[1] & (MOTIF_FUNC_ALL | MOTIF_FUNC_MINIMIZE | MOTIF_FUNC_MAXIMIZE):
        rw.fail("%s: _MOTIF_WM_HINTS %s allow minimising or maximising" % (title, motif))
    if program_icon and not has_program_icon(wid):
        rw.fail("%s: _NET_WM_ICON is not the program's icon (%s)"
                % (title, [(w, h) for w, h, _ in icons(wid)]))
    return wid


def check_centred(title, wid, main):
    (mx, my), (cx, cy) = client_centre(main), client_centre(wid)
    if abs(mx - cx) > 2 or abs(my - cy) > 2:
        rw.fail("%s: centred at %s, the main window at %s" % (title, (cx, cy), (mx, my)))


def start(folder):
    program = subprocess.Popen([os.path.join(folder, "quenlo")])
    rw.wait_window(MAIN)
    return program, x_id(MAIN)


def end(program):
    rw.close_box(MAIN)
    try:
        program.wait(rw.STEP_TIMEOUT)
    except subprocess.TimeoutExpired:
        program.kill()
        program.wait()
        rw.fail("the program did not end by its close box")


def results_window():
    """A single-character receive run on the learner's set {E}, one question answered,
    then stopped: the results window opens."""
    e_button = rw.control(MAIN, "push button", "E")
    rw.click(rw.control(MAIN, "check box", "1文字受信モード"))
    rw.menu(MAIN, "出題文字範囲設定(M)", "ユーザー指定文字(Z)")
    rw.click(e_button)
    rw.click(rw.control(MAIN, "push button", "スタート"))
    rw.wait_for("a question to be asked", lambda: rw.label_after(MAIN, "問出題") == "1")
    rw.click(e_button)
    # The question open at Stop is not counted.
    rw.wait_for("the next question", lambda: rw.label_after(MAIN, "問出題") == "2")
    rw.click(rw.control(MAIN, "push button", "ストップ"))
    rw.wait_window(RESULTS)
    return x_id(RESULTS)


def under_openbox(folder):
    rw.step("openbox: the main window is listed, with the program's icon")
    wm = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        rw.wait_for("openbox", lambda: prop(d.screen().root.id, "_NET_SUPPORTING_WM_CHECK"))
        program, main = start(folder)
        try:
            if prop(main, "WM_TRANSIENT_FOR") or (prop(main, "_NET_WM_WINDOW_TYPE") or [0])[0] != atom("_NET_WM_WINDOW_TYPE_NORMAL"):
                rw.fail("the main window is owned or no normal window")
            rw.wait_for("the main window's icon", lambda: has_program_icon(main))

            rw.step("openbox: 設定 is a dialog of the main window, centred on it")
            rw.menu(MAIN, "サウンド切替・設定(S)", "設定(O)")
            rw.wait_window(OPTIONS)
            options = check_dialog(OPTIONS, main)
            check_centred(OPTIONS, options, main)

            rw.step("openbox: minimising the main window takes 設定 along; both come back")
            rw.xdotool("windowminimize", main)
            rw.wait_for("both windows minimised", lambda: iconic(main) and not viewable(options))
            rw.xdotool("windowactivate", main)
            rw.wait_for("both windows back", lambda: viewable(main) and viewable(options))

            rw.step("openbox: minimising 設定 takes the main window along")
            rw.xdotool("windowminimize", options)
            rw.wait_for("both windows minimised", lambda: not viewable(main) and not viewable(options))
            rw.xdotool("windowactivate", main)
            rw.wait_for("both windows back", lambda: viewable(main) and viewable(options))
            rw.keys(OPTIONS, "Escape")
            rw.wait_gone(OPTIONS)

            rw.step("openbox: the About box, reached by keys at the main window")
            rw.keys(MAIN, "alt+h", "a")
            rw.wait_window(ABOUT)
            check_centred(ABOUT, check_dialog(ABOUT, main), main)
            rw.close_box(ABOUT)
            rw.wait_gone(ABOUT)

            rw.step("openbox: the results window shows its score picture, centred")
            results = results_window()
            check_dialog(RESULTS, main, program_icon=False)
            check_centred(RESULTS, results, main)
            if has_program_icon(results) or not any((w, h) != (48, 48) for w, h, _ in icons(results)):
                rw.fail("the results window shows %s, not its score picture"
                        % [(w, h) for w, h, _ in icons(results)])
            rw.click(rw.control(RESULTS, "push button", "閉じる"))
            rw.wait_gone(RESULTS)
            rw.step("openbox: a message box is a dialog of the main window, its buttons in Japanese")
            rw.keys(MAIN, "Escape")  # no run going: asks whether to empty the learner's set
            check_dialog("削除確認", main)
            no = rw.wait_for("the button いいえ", lambda: next(
                (a for a in rw.walk(rw.window("削除確認") or rw.application())
                 if rw.role_of(a) == "push button" and rw.name_of(a).startswith("いいえ")), None))
            rw.click(no)
            rw.wait_for("the message box to close", lambda: rw.x_window("削除確認") is None)
            end(program)
        finally:
            if program.poll() is None:
                program.kill()
                program.wait()
    finally:
        wm.terminate()
        wm.wait()


def bare(folder):
    rw.step("no window manager: 設定 centred on the main window")
    for name in SCORE_PICTURES:
        os.remove(os.path.join(folder, name))
    program, main = start(folder)
    try:
        rw.menu(MAIN, "サウンド切替・設定(S)", "設定(O)")
        rw.wait_window(OPTIONS)
        check_centred(OPTIONS, check_dialog(OPTIONS, main), main)
        rw.keys(OPTIONS, "Escape")
        rw.wait_gone(OPTIONS)

        rw.step("no window manager: with no score picture the results window shows no icon")
        results = results_window()
        check_centred(RESULTS, check_dialog(RESULTS, main, program_icon=False), main)
        if icons(results):
            rw.fail("the results window shows an icon %s" % [(w, h) for w, h, _ in icons(results)])
        rw.click(rw.control(RESULTS, "push button", "閉じる"))
        rw.wait_gone(RESULTS)
        end(program)
    finally:
        if program.poll() is None:
            program.kill()
            program.wait()


def inner(work):
    global d
    d = display.Display()
    return rw.run_road(lambda: under_openbox(os.path.join(work, "openbox")), lambda: bare(os.path.join(work, "bare")))


if __name__ == "__main__":
    road.main(__doc__, outer, inner)
