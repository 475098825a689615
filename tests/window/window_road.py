"""What the window tests share outside X: fresh program folders, an X server of
their own and the road run inside a private D-Bus session, its processes stopped by
their ids."""
import os
import shutil
import signal
import subprocess
import sys
import tempfile


def x_server(screen="1280x1024x24"):
    """An X server on a free display, chosen by the server itself (-displayfd), so
    that window tests run side by side never race for a number: the process and the
    display's name."""
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", screen, "-nolisten", "tcp"],
                              pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as f:
        number = f.readline().strip()
    if not number:
        server.wait()
        raise RuntimeError("Xvfb did not start")
    return server, ":" + number


def stop_process(process, sig=signal.SIGTERM, timeout=10):
    """Ends one process the test started, by its id; killed if it does not end."""
    if process is None or process.poll() is not None:
        return
    try:
        process.send_signal(sig)
        process.wait(timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def program_folder(folder, binary, assets):
    """A fresh program folder: the built program and the files shipped beside it."""
    os.mkdir(folder)
    shutil.copy2(binary, folder)
    for name in os.listdir(assets):
        shutil.copy2(os.path.join(assets, name), folder)


def run_outside(script, binary, assets, folders=("program",), timeout=170, env=None):
    """Runs script --inside WORK under an X server of its own and a private D-Bus
    session, with a program folder in WORK for each name of folders. WORK is private
    (mode 700): it is also the runtime folder, where the single-instance lock and a
    sound server live. env adds to the environment; a value of None removes a name."""
    name = os.path.splitext(os.path.basename(script))[0]
    work = tempfile.mkdtemp(prefix="quenlo-%s-" % name)
    os.chmod(work, 0o700)
    try:
        for folder in folders:
            program_folder(os.path.join(work, folder), binary, assets)
        environment = dict(os.environ)
        environment.pop("QT_QPA_PLATFORM", None)  # ctest's offscreen setting is not for these
        environment.pop("DBUS_SESSION_BUS_ADDRESS", None)
        environment["XDG_RUNTIME_DIR"] = work
        for key, value in (env or {}).items():
            if value is None:
                environment.pop(key, None)
            else:
                environment[key] = value
        x, display = x_server()
        try:
            environment["DISPLAY"] = display
            command = ["dbus-run-session", "--", sys.executable, os.path.abspath(script), "--inside", work]
            run = subprocess.Popen(command, env=environment, start_new_session=True)
            try:
                return run.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                os.killpg(run.pid, signal.SIGKILL)  # its own group: the bus, the program, a server
                run.wait()
                print("FAILED: the whole road took more than %d s" % timeout, flush=True)
                return 1
        finally:
            stop_process(x)
    finally:
        shutil.rmtree(work, ignore_errors=True)


def main(doc, outer, inner):
    """The command line of a window test: BINARY ASSETS outside, --inside WORK inside."""
    if len(sys.argv) == 3 and sys.argv[1] == "--inside":
        sys.exit(inner(sys.argv[2]))
    if len(sys.argv) != 3:
        sys.exit(doc)
    sys.exit(outer(sys.argv[1], sys.argv[2]))
