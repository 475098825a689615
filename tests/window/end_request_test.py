#!/usr/bin/python3
"""The built program asked by the system to end while its settings cannot be saved.

quenlo starts in a fresh program folder whose saveset.dat is a folder, on an X
server of its own (on the offscreen platform a message box answers itself, and so
would hide one waiting for a click) and the silent sound device. Once it listens
for SIGTERM it gets one: it must say on standard error that the settings were not
saved and end by itself, with no message box waiting for a click.

    end_request_test.py QUENLO_BINARY ASSETS_FOLDER
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


def catches(pid, sig):
    """Whether the process has a handler of its own for the signal."""
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("SigCgt:"):
                return int(line.split()[1], 16) & (1 << (sig - 1)) != 0
    return False


def main(binary, assets):
    work = tempfile.mkdtemp(prefix="quenlo-end-")
    os.chmod(work, 0o700)  # also the runtime folder, which Qt wants private
    server, display = road.x_server("1024x768x24")
    try:
        for name in os.listdir(assets):
            shutil.copy2(os.path.join(assets, name), work)
        shutil.copy2(binary, work)
        os.mkdir(os.path.join(work, "saveset.dat"))  # opens neither for reading nor for writing
        env = dict(os.environ)
        env.update(DISPLAY=display, QT_QPA_PLATFORM="xcb", QUENLO_AUDIO="silent", XDG_RUNTIME_DIR=work)
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        program = subprocess.Popen([os.path.join(work, "quenlo")], env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        try:
            end = time.monotonic() + START_TIMEOUT
            while not catches(program.pid, signal.SIGTERM):
                if program.poll() is not None or time.monotonic() > end:
                    print("FAILED: the program never listened for SIGTERM")
                    return 1
                time.sleep(0.05)
            program.send_signal(signal.SIGTERM)
            try:
                _, said = program.communicate(timeout=END_TIMEOUT)
            except subprocess.TimeoutExpired:
                print("FAILED: the program did not end after SIGTERM (a box waiting for a click?)")
                return 1
        finally:
            if program.poll() is None:
                program.kill()
                program.wait()
        print("standard error:", said.strip() or "(nothing)")
        if program.returncode != 0:
            print("FAILED: exit code %d" % program.returncode)
            return 1
        if "the settings were not saved" not in said:
            print("FAILED: standard error does not say that the settings were not saved")
            return 1
        print("passed")
        return 0
    finally:
        road.stop_process(server)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
