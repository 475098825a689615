#!/usr/bin/python3
"""The built program asked by the system to end (SIGTERM), on an X server of its own
(on the offscreen platform a message box answers itself, and so would hide one waiting
for a click) with the silent sound device. One check a run:

  unsaved   its saveset.dat is a folder, so its settings cannot be saved: once the
            main window is shown it gets a SIGTERM, and must say on standard error that
            the settings were not saved and end by itself with exit code 0, no message
            box waiting for a click;
  startup   a program folder with a saveset.dat of its own: a SIGTERM at moments of the
            start-up (timed from the moment it takes the signals, at the windows'
            showing, and timed from its spawn once it is in main) ends it each time
            with exit code 0 and saveset.dat as it was;
  display-lost  its sound server stopped (SIGSTOP) before it starts, so that its
            first open of the sound device hangs: the X server ended 3 s after the
            start (at least 0.5 s after the main window is up), Qt ends the program,
            which must be gone within 2 s, its settings saved.

    end_request_test.py unsaved|startup|display-lost QUENLO_BINARY ASSETS_FOLDER
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # the window tests' modules are imported from the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import window_road as road  # noqa: E402

START_TIMEOUT = 60  # seconds; generous for a loaded machine and the sanitized build
END_TIMEOUT = 10  # the end needs well under a second
MAIN = "Quenlo"  # the main window's title begins so
LOADING = "読み込み中"  # the progress window of the first sound bank's build
# Seconds from the moment the program takes the signals to the SIGTERM, or the title
# of the window that must show first. On a fast machine the first moments fall in the
# making of the application, the later ones in the main window's load (settings, sound
# bank).
STARTUP_MOMENTS = (0, 0.03, 0.1, 0.2, 0.35, LOADING, MAIN)
# Seconds from the spawn to the SIGTERM. These find the program wherever it is, so a
# start-up that takes the signals late (with the application, say) ends with 143 at
# some of them, which no moment timed from its handler can show. Before main the
# dynamic loader and the libraries' initialisers run, and the signal's default action
# cannot be helped: a moment counts only when the program was surely in main at it,
# Qt's platform plugin (opened by the application that main makes) being mapped. One
# every 20 ms, as signals taken late may leave a gap of a few tens of milliseconds only,
# until IN_MAIN have counted: main begins some 30-150 ms after the spawn in the plain
# build, 150-350 ms in the sanitized one.
SPAWN_MOMENTS = [i * 0.02 for i in range(50)] + [1, 1.5, 2, 3]
IN_MAIN = 4
PLATFORM_PLUGIN = "/libqxcb.so"


class Failed(Exception):
    pass


def catches(pid, sig):
    """Whether the process has a handler of its own for the signal."""
    try:
        with open("/proc/%d/status" % pid) as f:
            for line in f:
                if line.startswith("SigCgt:"):
                    return int(line.split()[1], 16) & (1 << (sig - 1)) != 0
    except FileNotFoundError:
        pass
    return False


def in_main(pid):
    """Whether the program is surely in main: Qt's platform plugin is mapped."""
    try:
        with open("/proc/%d/maps" % pid) as f:
            return PLATFORM_PLUGIN in f.read()
    except FileNotFoundError:
        return False


def shown(display, pid, title):
    """Whether the program shows a window whose title begins with title."""
    # --all: xdotool's criteria are otherwise alternatives (any window of the pid).
    return subprocess.run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid), "--name", "^" + title],
                          env=dict(os.environ, DISPLAY=display), capture_output=True).returncode == 0


def end_by_sigterm(work, display, at, since_spawn=False):
    """Starts the program, sends SIGTERM `at` seconds after its spawn (since_spawn) or
    after it takes the signal, or once the window of that title shows; returns its exit
    code as a shell gives it (143 for the signal's default action), its standard error
    and whether it was surely in main at the signal."""
    env = dict(os.environ)
    env.update(DISPLAY=display, QT_QPA_PLATFORM="xcb", QUENLO_AUDIO="silent", XDG_RUNTIME_DIR=work)
    env.pop("DBUS_SESSION_BUS_ADDRESS", None)
    spawned = time.monotonic()
    program = subprocess.Popen([os.path.join(work, "quenlo")], env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    try:
        if since_spawn:
            time.sleep(max(0, spawned + at - time.monotonic()))
        else:
            end = time.monotonic() + START_TIMEOUT
            while not (shown(display, program.pid, at) if isinstance(at, str)
                       else catches(program.pid, signal.SIGTERM)):
                if program.poll() is not None or time.monotonic() > end:
                    ended = "" if program.poll() is None else "; it ended with code %d: %s" % (
                        program.returncode, program.communicate(timeout=END_TIMEOUT)[1].strip())
                    raise Failed(("the program never showed the window %s" % at if isinstance(at, str)
                                  else "the program never took SIGTERM") + ended)
                time.sleep(0.02 if isinstance(at, str) else 0.002)
            if not isinstance(at, str):
                time.sleep(at)
        # Once mapped the plugin stays: seen before the signal, main ran before it.
        inside = in_main(program.pid)
        program.send_signal(signal.SIGTERM)
        try:
            _, said = program.communicate(timeout=END_TIMEOUT)
        except subprocess.TimeoutExpired:
            raise Failed("the program did not end after SIGTERM (a box waiting for a click?)")
    finally:
        if program.poll() is None:
            program.kill()
            program.wait()
    code = program.returncode
    return (code if code >= 0 else 128 - code), said.strip(), inside


def check_unsaved(work, display):
    os.mkdir(os.path.join(work, "saveset.dat"))  # opens neither for reading nor for writing
    code, said, _ = end_by_sigterm(work, display, MAIN)
    print("standard error:", said or "(nothing)")
    if code != 0:
        raise Failed("exit code %d" % code)
    if "the settings were not saved" not in said:
        raise Failed("standard error does not say that the settings were not saved")


def check_startup(work, display):
    settings = os.path.join(work, "saveset.dat")
    code, said, _ = end_by_sigterm(work, display, MAIN)  # the first start writes the file
    if code != 0 or not os.path.isfile(settings):
        raise Failed("the first start, ended once shown: exit code %d, saveset.dat %s; %s" % (
            code, "written" if os.path.isfile(settings) else "missing", said))
    with open(settings, "rb") as f:
        stored = f.read()
    problems = []

    def end_at(at, since_spawn=False):
        code, said, inside = end_by_sigterm(work, display, at, since_spawn)
        with open(settings, "rb") as f:
            whole = f.read() == stored
        if isinstance(at, str):
            moment = "once %s shows" % at
        else:
            moment = "%.0f ms after %s" % (at * 1000, "the spawn" if since_spawn else "it takes the signal")
        counts = inside or not since_spawn
        print("  SIGTERM %s%s: exit code %d, saveset.dat %s%s" % (
            moment, "" if counts else " (not yet seen in main: not counted)", code,
            "as it was" if whole else "CHANGED", (": " + said) if said else ""), flush=True)
        if counts and (code != 0 or not whole):
            problems.append(moment)
        return counts

    for at in STARTUP_MOMENTS:
        end_at(at)
    counted = 0
    for at in SPAWN_MOMENTS:
        counted += end_at(at, since_spawn=True)
        if counted == IN_MAIN:
            break
    if problems:
        raise Failed("SIGTERM %s did not end with code 0 and saveset.dat as it was" % ", ".join(problems))
    if counted < IN_MAIN:
        raise Failed("only %d of the moments after the spawn found the program in main" % counted)


def check_display_lost(work, first_display):
    from sound_servers import PulseServer, alsa_env
    settings = os.path.join(work, "saveset.dat")
    code, said, _ = end_by_sigterm(work, first_display, MAIN)  # the first start writes the file
    if code != 0 or not os.path.isfile(settings):
        raise Failed("the first start: exit code %d; %s" % (code, said))
    os.utime(settings, (0, 0))
    sound = PulseServer(work)
    server, display = road.x_server("1024x768x24")
    program = None
    try:
        sound.start()
        sound.hang(True)
        env = alsa_env(sound, work)
        env.update(DISPLAY=display, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=work)
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        program = subprocess.Popen([os.path.join(work, "quenlo")], env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        started = time.monotonic()
        end = started + START_TIMEOUT
        # Up once the first sound bank is built: until then the settings on disk are the
        # ones just read, and an end need not save them.
        while not shown(display, program.pid, MAIN) or shown(display, program.pid, LOADING):
            if program.poll() is not None or time.monotonic() > end:
                raise Failed("the main window never showed on its own%s" % (
                    "" if program.poll() is None else "; it ended with code %d: %s" % (
                        program.returncode, program.communicate(timeout=END_TIMEOUT)[1].strip())))
            time.sleep(0.05)
        time.sleep(max(0.5, started + 3 - time.monotonic()))
        road.stop_process(server)
        ended = time.monotonic()
        try:
            _, said = program.communicate(timeout=END_TIMEOUT)
        except subprocess.TimeoutExpired:
            raise Failed("the program still ran %d s after its display was lost" % END_TIMEOUT)
        took = time.monotonic() - ended
        saved = os.path.getmtime(settings) > 0
        print("  display lost: the program ended %.2f s later with exit code %d, settings %s; standard error: %s"
              % (took, program.returncode, "saved" if saved else "NOT SAVED", said.strip() or "(nothing)"),
              flush=True)
        if took > 2:
            raise Failed("the program took %.1f s to end once its display was lost" % took)
        if not saved:
            raise Failed("the settings were not saved when the display was lost")
    finally:
        if program and program.poll() is None:
            program.kill()
            program.wait()
        road.stop_process(server)
        sound.stop()


def main(check, binary, assets):
    work = tempfile.mkdtemp(prefix="quenlo-end-")
    os.chmod(work, 0o700)  # also the runtime folder, which Qt wants private
    server, display = road.x_server("1024x768x24")
    try:
        for name in os.listdir(assets):
            shutil.copy2(os.path.join(assets, name), work)
        shutil.copy2(binary, work)
        check(work, display)
    except Failed as e:
        print("FAILED: %s" % e, flush=True)
        return 1
    finally:
        road.stop_process(server)
        shutil.rmtree(work, ignore_errors=True)
    print("passed")
    return 0


if __name__ == "__main__":
    checks = {"unsaved": check_unsaved, "startup": check_startup, "display-lost": check_display_lost}
    if len(sys.argv) != 4 or sys.argv[1] not in checks:
        sys.exit(__doc__)
    sys.exit(main(checks[sys.argv[1]], sys.argv[2], sys.argv[3]))
