#!/usr/bin/python3
"""The built program heard through a desktop sound server, as most learners hear it.

A PulseAudio of the test's own (a null sink, a private runtime folder) takes the
program's ALSA "default" through the pulse plugin, set by an ALSA config of the
test's own; the sink's monitor is recorded with parec. The program runs under Xvfb
in a fresh program folder and is driven by real clicks (the helpers of
real_window_test.py). Checked, each on its own:

  pauses     code check of "0" (five dashes), the whole program stopped with SIGSTOP
             for 230 ms at a different moment inside each of three presses: every
             dash and every gap comes out whole, within 10 ms of its length;
  listen     a short listen-through decodes (multimon-ng) to what the window showed;
  beep       Beep mode, the server stopped (SIGSTOP) for 10 s after a press was heard:
             a press then, and the window still answers a key (Alt+S opens its menu
             on the screen) within 1 s; once the server goes on the next two presses
             are heard whole, and standard error says nothing of a lost device;
  restart    the server ended and started again: the next press is heard;
  late       the program started again while the server is down, the server started
             after it: with no press made, standard error says once that no sound
             device opened and then once that it is back; the next press is heard
             whole;
  late-desktop  the same with the server where a desktop's listens
             ($XDG_RUNTIME_DIR/pulse/native) and ALSA's configuration the system's
             own (no ALSA_CONFIG_PATH, no PULSE_SERVER), as on a stock Debian desktop;
  hung       the program started while that server is stopped (SIGSTOP, as a server
             stuck after a suspend): its main window is up about as fast as with no
             server at all, a press then keeps its time; once the server goes on
             (SIGCONT) a press is heard whole, and a SIGTERM ends the program with
             exit code 0.

    sound_server_test.py QUENLO_BINARY ASSETS_FOLDER

With QUENLO_TEST_PIPEWIRE_ALSA naming a folder that holds pipewire-alsa's plugins, the
same checks run on a PipeWire and WirePlumber of the test's own instead
(scripts/try-pipewire; not part of `make test`).

Every process the test starts is stopped by its id, also on a failure. Prints
"FAILED: <check>: <why>" for each check that fails and exits 1 if any did.
"""
import os
import signal
import subprocess
import sys
import time
import wave

sys.dont_write_bytecode = True  # the window tests' modules are imported from the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import real_window_test as ui  # noqa: E402
import window_road as road  # noqa: E402
from window_road import stop_process  # noqa: E402
from real_window_test import MAIN, control, step, wait_for  # noqa: E402
from sound_servers import (RATE, SERVER_TIMEOUT, Failed, PipeWireServer, PulseServer,  # noqa: E402
                           Recorder, alsa_env, poll_until, shape, tones)

UNIT_MS = ui.UNIT_MS
TOLERANCE_MS = 10
PAUSE_S = 0.23
# Moments of the pauses after the click (the first dash starts one unit in): inside
# the first dash, from the end of the second into its gap, from the third gap into
# the fourth dash.
PAUSE_AT_S = (0.30, 0.95, 1.50)
ZERO_S = (1 + 5 * 3 + 4) * UNIT_MS / 1000.0  # "0": leading unit, five dashes, four gaps


# ---------------------------------------------------------------- what was heard

def sound_over(recorder, mark, clicked, length_s):
    """Whether the sound pressed at `clicked` (recorded from sample `mark` on) is over:
    its length has passed and the recording ends in 300 ms of silence. The monitor
    gives nothing while no stream plays: then the time alone says it."""
    if time.monotonic() - clicked < length_s:
        return False
    data = recorder.samples(mark)
    found = tones(data)
    if time.monotonic() - clicked > length_s + 5:
        return True
    return bool(found) and len(data) * 1000.0 / RATE - found[-1][1] >= 300


# In Beep mode every element is a stream of its own, and the null sink's rewind of a
# new stream costs each its first 10-15 ms at the monitor: the gap before it grows as
# much, and by the window's own wait between elements on a loaded machine (up to 32 ms
# in all seen while the sanitized tree built).
BEEP_START_LOSS_MS = 30


def whole_zero(lengths, gaps, start_loss=0):
    """Whether tones and gaps are the five dashes of "0", each within the tolerance,
    tones shorter and gaps longer by at most start_loss."""
    return (len(lengths) == 5
            and all(-start_loss - TOLERANCE_MS <= x - 3 * UNIT_MS <= TOLERANCE_MS for x in lengths)
            and all(-TOLERANCE_MS <= x - UNIT_MS <= start_loss + TOLERANCE_MS for x in gaps))


def decode(samples, work, name):
    """What multimon-ng makes of the samples as Morse at the unit's timing, blanks removed."""
    path = os.path.join(work, name + ".wav")
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(samples.tobytes())
    out = subprocess.run(["multimon-ng", "-q", "-t", "wav", "-a", "MORSE_CW", "-x",
                          "-d", str(UNIT_MS), "-g", str(UNIT_MS), path],
                         capture_output=True, text=True).stdout
    return "".join(out.split())


# ---------------------------------------------------------------- the program

class Program:
    """quenlo in the program folder, its ALSA default sent to the server."""

    def __init__(self, work, folder, server, name="program"):
        env = alsa_env(server, work)
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        self.stderr_path = os.path.join(work, name + ".err")
        self.stderr = open(self.stderr_path, "w")
        self.started = time.monotonic()
        self.process = subprocess.Popen([os.path.join(folder, "quenlo")], env=env,
                                        stdout=subprocess.DEVNULL, stderr=self.stderr)

    def wait_window(self):
        """Waits for the main window; the seconds it took from the start."""
        ui.wait_window(MAIN)
        return time.monotonic() - self.started

    def pause(self, seconds):
        """The whole program stopped, as a loaded or swapping machine stops it."""
        os.kill(self.process.pid, signal.SIGSTOP)
        began = time.monotonic()
        try:
            time.sleep(seconds)
        finally:
            os.kill(self.process.pid, signal.SIGCONT)
        return time.monotonic() - began

    def said(self):
        with open(self.stderr_path) as f:
            return f.read().strip()

    def lines(self, text):
        """The lines of its standard error that hold text."""
        return [line for line in self.said().splitlines() if text in line]

    def stop(self):
        """Ends it by SIGTERM, as the system does; its exit code."""
        if self.process.poll() is None:
            os.kill(self.process.pid, signal.SIGCONT)  # never left stopped
        stop_process(self.process)
        if not self.stderr.closed:
            self.stderr.close()
        return self.process.returncode


def click(a):
    """A real click on the control. The pointer is parked first: xdotool's
    `mousemove --sync` to where the pointer already is waits for a move that never comes."""
    ui.xdotool("mousemove", "0", "0")
    ui.click(a)


def code_check_mode():
    option = control(MAIN, "check box", "符号確認モード")
    if not ui.has_state(option, ui.Atspi.StateType.CHECKED):
        click(option)
        wait_for("符号確認モード chosen", lambda: ui.has_state(option, ui.Atspi.StateType.CHECKED))


# ---------------------------------------------------------------- the checks

def check_pauses(program, recorder):
    step("pauses: code check of 0, the program stopped for %d ms inside each press" % (PAUSE_S * 1000))
    code_check_mode()
    zero = control(MAIN, "push button", "0")
    problems = []
    for at in PAUSE_AT_S:
        # A loaded machine can make the pause longer than the 250 ms the sound must
        # ride out: such a press is pressed again (the last try is judged as it is).
        for attempt in range(3):
            mark = recorder.length()
            click(zero)
            clicked = time.monotonic()
            time.sleep(max(0.0, clicked + at - time.monotonic()))
            paused = program.pause(PAUSE_S)
            poll_until(lambda: sound_over(recorder, mark, clicked, ZERO_S), 20)
            if paused <= 0.25:
                break
            print("  paused %.0f ms: pressed again" % (paused * 1000), flush=True)
        lengths, gaps = shape(tones(recorder.samples(mark)))
        print("  paused %.0f ms at %.0f ms: tones %s, gaps %s" % (
            paused * 1000, at * 1000, [round(x) for x in lengths], [round(x) for x in gaps]), flush=True)
        if not whole_zero(lengths, gaps):
            problems.append("pause at %.0f ms: tones %s, gaps %s ms (expected 5 tones of %d, gaps of %d, +-%d)" % (
                at * 1000, [round(x) for x in lengths], [round(x) for x in gaps],
                3 * UNIT_MS, UNIT_MS, TOLERANCE_MS))
    if problems:
        raise Failed("; ".join(problems))


def check_listen(program, recorder, work):
    step("listen: a short listen-through of the letters decodes to what the window showed")
    click(control(MAIN, "check box", "聞き流しモード"))
    ui.menu(MAIN, "出題文字範囲設定(M)", "アルファベット(L)")

    # The big character, then the count, then its caption: found once, then only
    # their two texts are read, so that a poll is quick beside a character.
    def labels():
        w = ui.window(MAIN)
        found = [a for a in ui.walk(w) if ui.role_of(a) == "label"] if w else []
        names = [ui.name_of(a) for a in found]
        return (found[names.index("問出題") - 2], found[names.index("問出題") - 1]) if "問出題" in names else None
    character, count = wait_for("the count of characters sent", labels)

    def showing():
        """(count, character) as the window shows them; None while they change."""
        before, shown, after = ui.name_of(count), ui.name_of(character), ui.name_of(count)
        return (int(before), shown) if before == after and before.strip().isdigit() else None

    mark = recorder.length()
    click(control(MAIN, "push button", "スタート"))
    seen = {}
    wanted = 6
    end = time.monotonic() + 90
    while len(seen) < wanted or max(seen) < wanted:
        if time.monotonic() > end:
            raise Failed("the window showed %s within 90 s, expected %d characters" % (seen, wanted))
        now = showing()
        if now and now[0] >= 1:
            seen[now[0]] = now[1]
        time.sleep(0.05)
    click(control(MAIN, "push button", "ストップ"))
    wait_for("the run to stop", lambda: ui.has_state(control(MAIN, "push button", "スタート"),
                                                      ui.Atspi.StateType.ENABLED))
    if ui.window(ui.RESULTS):
        click(control(ui.RESULTS, "push button", "閉じる"))
    stopped = time.monotonic()
    poll_until(lambda: sound_over(recorder, mark, stopped, 0.5), 10)
    if sorted(seen) != list(range(1, max(seen) + 1)):
        raise Failed("the window skipped a count: %s" % seen)
    shown = "HR=" + "".join(seen[n] for n in sorted(seen))
    heard = decode(recorder.samples(mark), work, "listen")
    print("  shown %s, heard %s" % (shown, heard), flush=True)
    # Stop lets the character that sounds finish: the one after the last shown may follow.
    if not heard.startswith(shown) or len(heard) > len(shown) + 1:
        lengths, gaps = shape(tones(recorder.samples(mark)))
        odd = [round(x) for x in lengths if min(abs(x - UNIT_MS), abs(x - 3 * UNIT_MS)) > TOLERANCE_MS]
        raise Failed("heard %r, the window showed %r; tones neither 1 nor 3 units long: %s ms"
                     % (heard, shown, odd or "none"))


def screen():
    """The whole screen's pixels, read in a few ms (a round trip to the X server only)."""
    from Xlib import X, display
    d = display.Display()
    try:
        root = d.screen().root
        geometry = root.get_geometry()
        return root.get_image(0, 0, geometry.width, geometry.height, X.ZPixmap, 0xffffffff).data
    finally:
        d.close()


def check_beep(program, server, recorder):
    step("beep: Beep mode, the server stopped after a heard press; the window answers, then sound comes back")
    code_check_mode()
    ui.menu(MAIN, "サウンド切替・設定(S)", "Beep音(WinXP/2000用)(B)")
    zero = control(MAIN, "push button", "0")
    try:
        press_until_whole(recorder, "in Beep mode", start_loss=BEEP_START_LOSS_MS)
        lost_before = len(program.lines("was lost"))
        server.hang(True)
        stopped = time.monotonic()
        try:
            click(zero)
            time.sleep(0.3)  # the press has drawn what it draws
            before = screen()
            ui.xdotool("key", "alt+s")
            asked = time.monotonic()
            while screen() == before and time.monotonic() - asked < 5:
                time.sleep(0.02)
            answered = time.monotonic() - asked
            print("  the server stopped, a press of 0: Alt+S drawn after %.2f s" % answered, flush=True)
            if answered > 1:
                raise Failed("Alt+S changed nothing on the screen for %.1f s after a press with the server stopped"
                             % answered)
            ui.xdotool("key", "Escape")
            time.sleep(max(0.0, stopped + 10 - time.monotonic()))
        finally:
            server.hang(False)
        if not poll_until(server.recording, SERVER_TIMEOUT, 0.1):
            raise Failed("the recorder never went on with the server")
        time.sleep(1)
        for press in ("first", "second"):
            if not heard_whole(recorder, zero, BEEP_START_LOSS_MS):
                raise Failed("the %s press of 0 once the server went on was not heard whole" % press)
        said = program.lines("was lost")[lost_before:] + program.lines("is back")
        if said:
            raise Failed("standard error spoke of the device when the server only stopped: %s" % said)
    finally:
        server.hang(False)
        # Wave again for the checks after this one; a menu left open is closed first.
        ui.xdotool("key", "Escape", "Escape")
        time.sleep(0.5)
        ui.menu(MAIN, "サウンド切替・設定(S)", "Wave音(W)")


def check_restart(program, server, work, recorders):
    step("restart: the server ended and started again, the next press is heard")
    code_check_mode()
    recorders[-1].stop()
    server.stop()
    server.start()
    recorder = Recorder(server, os.path.join(work, "after-restart.raw"))
    recorders.append(recorder)
    # The recorder's own stream is up before the press.
    if not poll_until(server.recording, SERVER_TIMEOUT, 0.1):
        raise Failed("the recorder never reached the restarted server")
    mark = recorder.length()
    click(control(MAIN, "push button", "A"))
    heard = poll_until(lambda: (lambda h: h if h == "A" else None)(decode(recorder.samples(mark), work, "restart")),
                       15, 0.5)
    if heard != "A":
        raise Failed("A pressed after the restart; heard %r, playback streams on the server: %d"
                     % (decode(recorder.samples(mark), work, "restart"), len(server.streams())))
    print("  heard A", flush=True)


def press_until_whole(recorder, what, timeout=20, start_loss=0):
    """Presses 0 until it is heard whole, for at most timeout seconds (a fresh
    PulseAudio plays nothing for about 2 s); whether it was."""
    zero = control(MAIN, "push button", "0")
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if heard_whole(recorder, zero, start_loss):
            return True
    raise Failed("0 pressed for %d s %s, never heard whole" % (timeout, what))


def heard_whole(recorder, zero, start_loss=0):
    """One press of 0: whether its five dashes were heard whole."""
    mark = recorder.length()
    click(zero)
    clicked = time.monotonic()
    poll_until(lambda: sound_over(recorder, mark, clicked, ZERO_S), ZERO_S + 5)
    lengths, gaps = shape(tones(recorder.samples(mark)))
    print("  pressed 0, heard tones %s, gaps %s" % ([round(x) for x in lengths], [round(x) for x in gaps]),
          flush=True)
    return whole_zero(lengths, gaps, start_loss)


def restart_program(programs, server, work, folder, recorders, name):
    """The program ended and started again with the server down; the seconds to its main window."""
    programs[-1].stop()
    ui.wait_gone(MAIN)
    if recorders:
        recorders[-1].stop()
    server.stop()
    program = Program(work, folder, server, name)
    programs.append(program)
    return program, program.wait_window()


def check_late_server(programs, server, work, folder, recorders, figures, name="late"):
    step("%s: the program started before its sound server; with no press, back once the server is up" % name)
    program, figures["no server"] = restart_program(programs, server, work, folder, recorders, "program-" + name)
    wait_for("the line that no sound device opened", lambda: program.lines("no sound device opened"))
    code_check_mode()
    server.start()
    recorder = Recorder(server, os.path.join(work, name + ".raw"))
    recorders.append(recorder)
    if not poll_until(server.recording, SERVER_TIMEOUT, 0.1):
        raise Failed("the recorder never reached the server")
    # Tried again between sounds: back with nothing pressed since the server came up.
    if not poll_until(lambda: program.lines("is back"), 15, 0.1):
        raise Failed("no press made: standard error never said that the sound device is back: %s"
                     % (program.said() or "(nothing)"))
    if not heard_whole(recorder, control(MAIN, "push button", "0")):
        raise Failed("the first press of 0 once the device was back was not heard whole; playback streams "
                     "on the server: %d" % len(server.streams()))
    counts = [(text, len(program.lines(text))) for text in ("no sound device opened", "was lost", "is back")]
    if [n for _, n in counts] != [1, 0, 1]:
        raise Failed("standard error should say once that no sound device opened and once that it is back: %s"
                     % ", ".join("%d \u201c%s\u201d" % (n, text) for text, n in counts))


def check_hung_server(programs, server, work, folder, recorders, figures):
    step("hung: the program started while its sound server is stopped")
    programs[-1].stop()
    ui.wait_gone(MAIN)
    recorders[-1].stop()
    server.stop()
    server.start()
    server.hang(True)
    program = Program(work, folder, server, "program-hung")
    programs.append(program)
    figures["stopped server"] = program.wait_window()
    print("  main window up in %.1f s (with no server: %.1f s)" % (figures["stopped server"],
                                                                  figures.get("no server", 0)), flush=True)
    # The sound server's own timeout is 30 s; well under it, on a loaded machine too.
    if figures["stopped server"] > max(10.0, 3 * figures.get("no server", 0)):
        raise Failed("the main window took %.1f s with the server stopped" % figures["stopped server"])
    code_check_mode()
    # The press waits for its sound's own time, silent; the window answers right after.
    click(control(MAIN, "push button", "0"))
    time.sleep(ZERO_S + 0.5)
    asked = time.monotonic()
    wait_for("the window to answer after a press with the server stopped",
             lambda: control(MAIN, "push button", "0"))
    answered = time.monotonic() - asked
    print("  a press with the server stopped: the window answered %.1f s after the sound's time" % answered,
          flush=True)
    if answered > 5:
        raise Failed("the window answered %.1f s after a press's sound time, with the server stopped" % answered)
    server.hang(False)
    recorder = Recorder(server, os.path.join(work, "hung.raw"))
    recorders.append(recorder)
    if not poll_until(server.recording, SERVER_TIMEOUT, 0.1):
        raise Failed("the recorder never reached the server")
    press_until_whole(recorder, "once the server went on")
    code = program.stop()
    if code != 0:
        raise Failed("SIGTERM ended the program with exit code %d" % code)


def inner(work):
    folder = os.path.join(work, "program")
    wait_for("the accessibility bus", lambda: ui.Atspi.get_desktop(0) is not None)
    started_at = time.monotonic()
    # By hand (scripts/try-pipewire): the same checks on PipeWire.
    plugins = os.environ.get("QUENLO_TEST_PIPEWIRE_ALSA")
    server = PipeWireServer(work, plugins) if plugins else PulseServer(work)
    desktop = PulseServer(work, desktop=True)
    recorders = []
    programs = []
    failures = []
    try:
        step("%s starts, the program opens its main window" % server.name)
        server.start()
        recorders.append(Recorder(server, os.path.join(work, "before-restart.raw")))
        program = Program(work, folder, server)
        programs.append(program)
        ui.wait_window(MAIN)
        figures = {}
        for name, check in (("pauses", lambda: check_pauses(program, recorders[-1])),
                            ("listen", lambda: check_listen(program, recorders[-1], work)),
                            ("beep", lambda: check_beep(program, server, recorders[-1])),
                            ("restart", lambda: check_restart(program, server, work, recorders)),
                            ("late", lambda: check_late_server(programs, server, work, folder, recorders,
                                                               figures)),
                            ("late-desktop", lambda: (server.stop(), check_late_server(
                                programs, desktop, work, folder, recorders, figures, "late-desktop"))),
                            ("hung", lambda: check_hung_server(programs, desktop, work, folder, recorders,
                                                               figures))):
            if plugins and name in ("late-desktop", "hung"):
                continue  # the desktop's server is a PulseAudio
            try:
                check()
            except (Failed, ui.Failed) as e:
                failures.append(name)
                print("FAILED: %s: %s" % (name, e), flush=True)
    except Exception as e:  # a broken tool or server fails the run too
        failures.append("set-up")
        print("FAILED: %s: %s: %s" % (ui.step_name, type(e).__name__, e), flush=True)
    finally:
        for p in programs:
            p.stop()
            print("  standard error of the program (%s):" % os.path.basename(p.stderr_path),
                  p.said() or "(nothing)", flush=True)
        for r in recorders:
            r.stop()
        server.stop()
        desktop.stop()
    if failures:
        return 1
    print("passed in %.1f s" % (time.monotonic() - started_at), flush=True)
    return 0


# ---------------------------------------------------------------- outside X

def outer(binary, assets):
    return road.run_outside(__file__, binary, assets, timeout=260,
                            env={"PULSE_SERVER": None, "PULSE_RUNTIME_PATH": None, "ALSA_CONFIG_PATH": None})


if __name__ == "__main__":
    road.main(__doc__, outer, inner)
