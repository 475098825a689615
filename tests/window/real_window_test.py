#!/usr/bin/python3
"""The built program in a real X window, driven as a learner drives it.

quenlo runs under Xvfb in a fresh program folder; xdotool sends real X clicks and
keys. What the learner sees is read through the accessibility tree (the texts and
states of the windows' controls, their places on the screen); what the learner
hears is ALSA's output written to a file and decoded with multimon-ng; what stays
is read from saveset.dat.

    real_window_test.py QUENLO_BINARY ASSETS_FOLDER

Every step prints its name; a failure prints "FAILED: <step>: <why>" and exits 1.
"""
import array
import os
import re
import signal
import struct
import subprocess
import sys
import time
import wave

sys.dont_write_bytecode = True  # the window tests' modules are imported from the source tree
import window_road as road  # noqa: E402

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

STEP_TIMEOUT = 20  # seconds for any one thing to show; generous for a loaded machine
RECORD_SIZE = 2963  # bytes per record of saveset.dat
UNIT_MS = 133  # a new learner's speed, 45 characters per minute


class Failed(Exception):
    pass


step_name = "start"


def step(name):
    global step_name
    step_name = name
    print("step:", name, flush=True)


def fail(why):
    raise Failed(why + "\n  windows shown then: %s" % (shown_windows() or "none"))


def wait_for(what, probe, timeout=STEP_TIMEOUT):
    """Polls probe() until it gives a true value, which it returns. `what` may be a
    function, asked only when the time is up."""
    end = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > end:
            fail("timed out waiting for " + (what() if callable(what) else what))
        time.sleep(0.1)


# ---------------------------------------------------------------- outside X

def outer(binary, assets):
    return road.run_outside(__file__, binary, assets)


# ---------------------------------------------------------------- inside X


def children(a):
    try:
        return [a.get_child_at_index(i) for i in range(a.get_child_count())]
    except gi.repository.GLib.Error:
        return []


def walk(a):
    yield a
    for c in children(a):
        if c is not None:
            yield from walk(c)


def name_of(a):
    try:
        return a.get_name() or ""
    except gi.repository.GLib.Error:
        return ""


def role_of(a):
    try:
        return a.get_role_name()
    except gi.repository.GLib.Error:
        return ""


def has_state(a, state):
    try:
        return a.get_state_set().contains(state)
    except gi.repository.GLib.Error:
        return False


def application():
    desktop = Atspi.get_desktop(0)
    for app in children(desktop):
        if name_of(app) == "quenlo":
            return app
    return None


def titled(name, title):
    # "... rest" stands for a title that ends in " rest" (the About box names the application).
    return name.endswith(title[3:]) if title.startswith("...") else name == title


def shown_windows():
    app = application()
    return [name_of(w) for w in children(app) if w is not None and has_state(w, Atspi.StateType.SHOWING)] if app else []


def window(title):
    """The shown top-level window of that title, or None."""
    app = application()
    if app is None:
        return None
    for w in children(app):
        # A window being destroyed (the progress window going) can leave a hole.
        if w is not None and titled(name_of(w), title) and has_state(w, Atspi.StateType.SHOWING):
            return w
    return None


def wait_window(title):
    return wait_for("the window \u201c%s\u201d" % title, lambda: window(title))


def wait_gone(title):
    wait_for("the window \u201c%s\u201d to close" % title, lambda: window(title) is None)


def find(root, role, name=None, index=0):
    found = [a for a in walk(root) if role_of(a) == role and (name is None or name_of(a) == name)]
    return found[index] if len(found) > index else None


def control(title, role, name=None, index=0):
    what = "%s \u201c%s\u201d in \u201c%s\u201d" % (role, name if name is not None else "#%d" % index, title)
    return wait_for(what, lambda: (lambda w: w and find(w, role, name, index))(window(title)))


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


def click(a):
    ext = a.get_extents(Atspi.CoordType.SCREEN)
    if ext.width <= 0 or ext.height <= 0:
        fail("%s \u201c%s\u201d has no place on the screen" % (role_of(a), name_of(a)))
    xdotool("mousemove", "--sync", ext.x + ext.width // 2, ext.y + ext.height // 2, "click", "1")


def x_window(title):
    pattern = "%s$" % re.escape(title[3:]) if title.startswith("...") else "^%s$" % re.escape(title)
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern],
                         capture_output=True, text=True).stdout.split()
    return out[0] if out else None


def close_box(title):
    """What a window manager sends when the learner clicks a window's close box."""
    from Xlib import X, display, protocol
    wid = wait_for("the X window \u201c%s\u201d" % title, lambda: x_window(title))
    d = display.Display()
    w = d.create_resource_object("window", int(wid))
    protocols = d.intern_atom("WM_PROTOCOLS")
    message = protocol.event.ClientMessage(
        window=w, client_type=protocols,
        data=(32, [d.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
    w.send_event(message, event_mask=X.NoEventMask)
    # A round trip: the server has sent the message on before the connection closes.
    d.sync()
    d.close()


def keys(title, *names):
    """Key strokes into the window of that title, as typed on a real keyboard."""
    wid = wait_for("the X window \u201c%s\u201d" % title, lambda: x_window(title))
    xdotool("windowfocus", "--sync", wid)
    for k in names:
        xdotool("key", "--delay", "60", k)


def menu(title, *path):
    """Opens a menu of the window by clicks and clicks the item at the end of the path."""
    item = control(title, "menu item", path[0])
    for name in path[1:]:
        click(item)
        parent = item
        item = wait_for("the menu item \u201c%s\u201d" % name,
                        lambda: next((a for a in walk(parent) if role_of(a) == "menu item"
                                      and name_of(a) == name
                                      and has_state(a, Atspi.StateType.SHOWING)), None))
    click(item)


def label_after(title, caption):
    """The label that stands just before the label of that caption (a count and its unit)."""
    w = window(title)
    labels = [a for a in walk(w) if role_of(a) == "label"] if w else []
    for i, a in enumerate(labels):
        if name_of(a) == caption and i > 0:
            return name_of(labels[i - 1])
    return None


def saved_int16(folder, record):
    with open(os.path.join(folder, "saveset.dat"), "rb") as f:
        f.seek((record - 1) * RECORD_SIZE)
        return struct.unpack("<h", f.read(2))[0]


class Program:
    """One run of quenlo in the program folder, its ALSA output going to a file."""

    def __init__(self, work, folder, name):
        self.wav = os.path.join(work, name + ".wav")
        conf = os.path.join(work, name + ".asound.conf")
        with open(conf, "w") as f:
            f.write('pcm.!default { type file slave.pcm "null" file "%s" format "wav" }\n' % self.wav)
        env = dict(os.environ)
        env["ALSA_CONFIG_PATH"] = "/usr/share/alsa/alsa.conf:" + conf
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        env.pop("QUENLO_AUDIO", None)
        self.process = subprocess.Popen([os.path.join(folder, "quenlo")], env=env)

    def ended(self, timeout=STEP_TIMEOUT):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            fail("the program did not end")

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()

    def wait_heard(self, expected):
        """Waits until everything played so far decodes as expected."""
        wait_for(lambda: "to hear %s (heard %r)" % (expected, self.last_heard),
                 lambda: self.heard() == expected)

    last_heard = ""

    def samples(self):
        """Everything played so far as 8000 Hz 16-bit mono samples."""
        fixed = self.wav + ".8k.wav"
        subprocess.run(["sox", "--ignore-length", self.wav, "-r", "8000", "-b", "16", "-c", "1", fixed],
                       check=True, stderr=subprocess.DEVNULL)
        with wave.open(fixed) as w:
            return array.array("h", w.readframes(w.getnframes()))

    def codes_since(self, start):
        """The dots and dashes played from sample `start` on, one string per character.
        Kana codes are no letters to multimon-ng: they are read here by their lengths."""
        data = self.samples()[start:]
        block = 80  # 10 ms
        unit = UNIT_MS / 10
        runs = []
        for i in range(0, len(data) - block, block):
            on = max(abs(x) for x in data[i:i + block]) > 2000
            if runs and runs[-1][0] == on:
                runs[-1][1] += 1
            else:
                runs.append([on, 1])
        codes, code = [], ""
        for on, length in runs:
            if on:
                code += "." if length < 2 * unit else "-"
            elif length >= 2 * unit and code:
                codes.append(code)
                code = ""
        return codes + ([code] if code else [])

    def heard(self):
        """What an independent Morse decoder makes of everything played, blanks removed."""
        fixed = self.wav + ".fixed.wav"
        # The program ends without closing the device: the header's sizes come from the data.
        subprocess.run(["sox", "--ignore-length", self.wav, fixed], check=True,
                       stderr=subprocess.DEVNULL)
        out = subprocess.run(["multimon-ng", "-q", "-t", "wav", "-a", "MORSE_CW", "-x",
                              "-d", str(UNIT_MS), "-g", str(UNIT_MS), fixed],
                             capture_output=True, text=True).stdout
        self.last_heard = "".join(out.split())
        return self.last_heard


MAIN = "Quenlo <Varneth>"
OPTIONS = "設定"
ABOUT = "... について"
RESULTS = "聞き取り成績"


def started(work, folder, name):
    program = Program(work, folder, name)
    wait_window(MAIN)
    return program


def first_session(work, folder):
    step("first start: the main window opens")
    program = started(work, folder, "first")
    try:
        step("code check by click: the A button")
        click(control(MAIN, "push button", "A"))
        program.wait_heard("A")
        step("code check by key: N with keyboard input ticked")
        type_key = control(MAIN, "check box", "キー入力")
        if not has_state(type_key, Atspi.StateType.CHECKED):
            click(type_key)
            wait_for("キー入力 ticked", lambda: has_state(type_key, Atspi.StateType.CHECKED))
        keys(MAIN, "n")
        program.wait_heard("AN")

        step("single-character receive on the learner's own set {E}")
        # Taken before the set blinks the captions away.
        e_button = control(MAIN, "push button", "E")
        click(control(MAIN, "check box", "1文字受信モード"))
        menu(MAIN, "出題文字範囲設定(M)", "ユーザー指定文字(Z)")
        click(e_button)  # registers E in the set
        click(control(MAIN, "push button", "スタート"))

        def asked():
            return label_after(MAIN, "問出題")

        step("first question: answered by a click on E")
        wait_for("question 1 to be asked", lambda: asked() == "1")
        click(e_button)
        step("second question: answered by the key E")
        wait_for("question 2 to be asked", lambda: asked() == "2")
        keys(MAIN, "e")
        step("third question: answered wrong by the key T")
        wait_for("question 3 to be asked", lambda: asked() == "3")
        keys(MAIN, "t")
        wait_for("question 4 to be asked", lambda: asked() == "4")
        step("Stop: the results window shows 3 asked, 2 right")
        click(control(MAIN, "push button", "ストップ"))
        wait_window(RESULTS)
        got = wait_for("the results' counts",
                       lambda: (label_after(RESULTS, "問中"), label_after(RESULTS, "問正解")))
        if got != ("3", "2"):
            fail("asked, right = %s, expected ('3', '2')" % (got,))
        step("the results window closes by Enter on 閉じる, its only control and so focused")
        keys(RESULTS, "Return")
        wait_gone(RESULTS)

        step("options dialog: Ctrl+Tab through the four tabs and back")
        menu(MAIN, "サウンド切替・設定(S)", "設定(O)")
        wait_window(OPTIONS)

        def tab():
            # The tab strip is named after its current tab.
            strip = find(window(OPTIONS), "page tab list") if window(OPTIONS) else None
            tabs = [name_of(a) for a in children(strip) if role_of(a) == "page tab"] if strip else []
            current = name_of(strip) if strip else None
            return tabs.index(current) + 1 if len(tabs) == 4 and current in tabs else None

        seen = [wait_for("a current tab", tab)]
        for _ in range(4):
            keys(OPTIONS, "ctrl+Tab")
            seen.append(wait_for("Ctrl+Tab to change the tab",
                                 lambda: (lambda t: t if t not in (None, seen[-1]) else None)(tab())))
        print("  tabs seen:", seen, flush=True)
        if seen != [1, 2, 3, 4, 1]:
            fail("tabs %s, expected [1, 2, 3, 4, 1]" % seen)
        keys(OPTIONS, "Escape")
        wait_gone(OPTIONS)

        step("About box by its menu, closed by OK")
        menu(MAIN, "ヘルプ(H)", "バージョン情報(A)")
        wait_window(ABOUT)
        click(control(ABOUT, "push button", "OK"))
        wait_gone(ABOUT)

        step("alphabet switch to kana")
        click(control(MAIN, "menu item", "欧文・和文切替(C)"))
        kana_menu = control(MAIN, "menu item", "出題文字範囲設定(M)", 1)
        wait_for("the kana range menu", lambda: has_state(kana_menu, Atspi.StateType.SHOWING))
        if saved_int16(folder, 1) != -1:
            fail("the switch saved the Latin settings with alphabet %d" % saved_int16(folder, 1))

        step("kana code check: ka, Esc after カ has sounded, then a inside its wait")
        latin_heard = program.heard()
        click(control(MAIN, "check box", "符号確認モード"))
        quiet_since = [time.monotonic()]

        def bank_built():
            # The switch rebuilds the bank behind its progress window: quiet for a second.
            if window("読み込み中..."):
                quiet_since[0] = time.monotonic()
            return time.monotonic() - quiet_since[0] > 1.0
        wait_for("the kana sound bank", bank_built)
        start = len(program.samples())
        # カ (.-..) sounds for 10 units of 133 ms and then waits 2 more: Esc and "a" come
        # in that wait, from one xdotool so that the gaps hold. A new learner's play count is 1.
        xdotool("windowfocus", "--sync", x_window(MAIN))
        xdotool("key", "--delay", "60", "k", "a", "sleep", "1.42", "key", "--delay", "20", "Escape", "a")
        expected = [".-..", "--.--"]  # カ, then ア
        wait_for(lambda: "カ then ア (heard %s)" % program.codes_since(start),
                 lambda: program.codes_since(start) == expected)
        time.sleep(3)  # ア's own wait: nothing more follows
        if program.codes_since(start) != expected:
            fail("heard %s, expected %s" % (program.codes_since(start), expected))
        print("  heard:", program.codes_since(start), flush=True)

        step("exit by the close box: settings saved")
        close_box(MAIN)
        if program.ended() != 0:
            fail("exit code %d" % program.process.returncode)
        if saved_int16(folder, 1) != 0:
            fail("saveset.dat says alphabet %d after the close box, expected 0 (kana)"
                 % saved_int16(folder, 1))
        if saved_int16(folder, 24 + 5 - 1) != 5:
            fail("the learner's set {E} was not saved")
    finally:
        program.kill()

    step("what was heard: A and N by code check, the run's call-up, then E for every question")
    heard = latin_heard
    print("  decoded:", heard, flush=True)
    if not re.fullmatch(r"ANHR=E{4,}", heard):
        fail("decoded %r, expected A, N, HR=, then at least four E" % heard)


def second_session(work, folder):
    step("second start: kana as left, switched back to Latin")
    program = started(work, folder, "second")
    try:
        latin_menu = control(MAIN, "menu item", "出題文字範囲設定(M)", 0)
        kana_menu = control(MAIN, "menu item", "出題文字範囲設定(M)", 1)
        wait_for("the kana range menu", lambda: has_state(kana_menu, Atspi.StateType.SHOWING))
        click(control(MAIN, "menu item", "欧文・和文切替(C)"))
        wait_for("the Latin range menu", lambda: has_state(latin_menu, Atspi.StateType.SHOWING))
        step("speed 80 chosen, then SIGTERM: settings saved")
        click(control(MAIN, "check box", "80"))
        wait_for("the speed box to say 80",
                 lambda: any(role_of(a) == "text" and name_of(a) == "速度(PARIS)"
                             and a.get_text(0, -1) == "80" for a in walk(window(MAIN))))
        program.process.send_signal(signal.SIGTERM)
        if program.ended() != 0:
            fail("exit code %d after SIGTERM" % program.process.returncode)
        if saved_int16(folder, 1) != -1:
            fail("saveset.dat says alphabet %d after SIGTERM, expected -1 (Latin)" % saved_int16(folder, 1))
        if saved_int16(folder, 4) != 80:
            fail("saveset.dat says speed %d after SIGTERM, expected 80" % saved_int16(folder, 4))
    finally:
        program.kill()


def run_road(*parts):
    """Runs the parts of a road in turn once the accessibility bus is up (so that the
    program joins it); a failure, or a broken tool, prints its step and gives 1."""
    wait_for("the accessibility bus", lambda: Atspi.get_desktop(0) is not None)
    started_at = time.monotonic()
    try:
        for part in parts:
            part()
    except Exception as e:  # a broken tool is a failure of the step too
        why = str(e) if isinstance(e, Failed) else "%s: %s" % (type(e).__name__, e)
        print("FAILED: %s: %s" % (step_name, why), flush=True)
        return 1
    print("passed in %.1f s" % (time.monotonic() - started_at), flush=True)
    return 0


def inner(work):
    folder = os.path.join(work, "program")
    return run_road(lambda: first_session(work, folder), lambda: second_session(work, folder))


if __name__ == "__main__":
    road.main(__doc__, outer, inner)
