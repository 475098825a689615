#!/usr/bin/python3
"""The ALSA device outside X, driven by the sound probe (tests/tools/sound_probe.cpp),
which beeps and prints how long each beep call took. One check a run:

  small-buffer    through a PulseAudio of the test's own (sound_servers.py), the device
                  opened with a buffer wish of 40 ms and of 20 ms, less than the room
                  the device waits for between writes on its usual buffer: 100 ms beeps
                  end in about 100 ms, are heard at the sink, and the device is never lost;
  failing         the program's own choice of device, its ALSA "default" being a device
                  that fails: the file plugin writing to /dev/full (it opens, takes up
                  to twice its buffer, then fails), and a sound server nobody serves
                  (it never opens, and is tried again all along). Over four sounds,
                  each lost to it, standard error says once that the device was lost,
                  or did not open, and never that it is back; every sound still lasts
                  its length;
  late            the program's own choice of device, its ALSA "default" on a
                  PulseAudio of the test's own that starts once the probe has said
                  that no device opened:
                  short beeps (each handed over in one write) are heard once it is up,
                  and standard error says once that no device opened and once that it
                  is back; and, with one beep made before the server is up and none
                  after it, and ALSA's delay reported as a card's (COARSE_POINTER,
                  preloaded: nothing played just after a write), "back" is still said,
                  by the worker's own retries;
  hung            the program's own choice of device, its ALSA "default" on a
                  PulseAudio of the test's own that is stopped (SIGSTOP, as a server
                  stuck after a suspend), so that the first open hangs: beep calls
                  (which wait for their end) and WAV images played asynchronously
                  (the probe waits while the device says it plays) each last their
                  own length, not the open's.

    sound_device_test.py small-buffer|failing|late|hung PROBE COARSE_POINTER

Every process the test starts is stopped by its id, also on a failure. Prints
"FAILED: <why>" and exits 1 when the check fails.
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # the sibling modules are imported from the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sound_servers import Failed, PulseServer, Recorder, alsa_env, poll_until, shape, tones  # noqa: E402

PROBE_TIMEOUT = 30
COARSE_POINTER = None  # the library that makes ALSA's delay a card's (tests/tools/coarse_pointer.cpp)


def probe(command, env, *args):
    """Runs the probe; the lengths of its beep calls in ms and its standard error."""
    try:
        run = subprocess.run([command] + [str(a) for a in args], env=env, capture_output=True, text=True,
                             timeout=PROBE_TIMEOUT)
    except subprocess.TimeoutExpired:
        raise Failed("sound_probe %s did not end within %d s" % (" ".join(map(str, args)), PROBE_TIMEOUT))
    if run.returncode != 0:
        raise Failed("sound_probe %s ended with %d: %s" % (" ".join(map(str, args)), run.returncode,
                                                            run.stderr.strip()))
    return [float(x) for x in run.stdout.split()], run.stderr.strip()


def check_small_buffer(command, work):
    beeps, beep_ms = 5, 100
    server = PulseServer(work)
    recorder = None
    try:
        server.start()
        recorder = Recorder(server, os.path.join(work, "small-buffer.raw"))
        env = alsa_env(server, work)
        # A fresh PulseAudio plays nothing for about 2 s: beeps on the usual buffer
        # until one is heard.
        if not poll_until(lambda: probe(command, env, 1, beep_ms, 100) and tones(recorder.samples()), 20, 0):
            raise Failed("nothing heard at the sink within 20 s")
        problems = []
        for wish_ms in (40, 20):
            mark = recorder.length()
            took, said = probe(command, env, "--buffer-ms", wish_ms, beeps, beep_ms, 300)
            # Let the last beep reach the recording.
            poll_until(lambda: len(tones(recorder.samples(mark))) >= beeps, 3)
            lengths, _ = shape(tones(recorder.samples(mark)))
            print("  buffer wish %d ms: beep calls took %s ms; heard tones of %s ms" % (
                wish_ms, [round(x) for x in took], [round(x) for x in lengths]), flush=True)
            # The median: a loaded machine may stall one beep past so small a buffer.
            if not beep_ms - 1 <= statistics.median(took) <= beep_ms + 150:
                problems.append("wish %d ms: beeps of %d ms took %s ms" % (wish_ms, beep_ms, took))
            if sum(lengths) < 0.7 * beeps * beep_ms:
                problems.append("wish %d ms: %d beeps of %d ms, heard %s ms" % (wish_ms, beeps, beep_ms, lengths))
            if said:
                problems.append("wish %d ms: standard error: %s" % (wish_ms, said))
        if problems:
            raise Failed("; ".join(problems))
    finally:
        if recorder:
            recorder.stop()
        server.stop()


def check_failing(command, work):
    # 300 ms sounds 700 ms apart: the file plugin fails in each gap, between sounds
    # the device is opened again, and the next sound finds it failing anew.
    beeps, beep_ms = 4, 300
    cases = (
        ("file plugin on /dev/full", 'pcm.!default { type file slave.pcm "null" file "/dev/full" format "raw" }',
         "was lost"),
        ("a server nobody serves", 'pcm.!default { type pulse server "unix:%s" }' % os.path.join(work, "none"),
         "no sound device opened"),
    )
    problems = []
    for name, config, line in cases:
        conf = os.path.join(work, "asound.conf")
        with open(conf, "w") as f:
            f.write(config + "\n")
        env = dict(os.environ)
        env["ALSA_CONFIG_PATH"] = "/usr/share/alsa/alsa.conf:" + conf
        env.pop("QUENLO_AUDIO", None)
        env.pop("QUENLO_ALSA_DEVICE", None)
        took, said = probe(command, env, beeps, beep_ms, 700)
        lines = said.splitlines()
        print("  %s: beep calls took %s ms; standard error:\n    %s" % (
            name, [round(x) for x in took], "\n    ".join(lines) or "(nothing)"), flush=True)
        if len(lines) != 1 or line not in lines[0]:
            problems.append("%s: expected one line, %r; got %d" % (name, line, len(lines)))
        if len(took) != beeps or any(x < beep_ms - 1 for x in took):
            problems.append("%s: %d beeps of %d ms took %s ms" % (name, beeps, beep_ms, took))
    if problems:
        raise Failed("; ".join(problems))


def late_run(command, work, name, beeps, beep_ms, gap_ms, preload=None):
    """A probe started before its server, the server started once the probe has said
    that no device opened: the tones heard."""
    server = PulseServer(work)
    env = alsa_env(server, work)
    if preload:
        env["LD_PRELOAD"] = preload
        # The sanitized probe's runtime need not come first.
        env["ASAN_OPTIONS"] = ":".join(filter(None, (env.get("ASAN_OPTIONS"), "verify_asan_link_order=0")))
    said_path = os.path.join(work, name + ".err")

    def said():
        with open(said_path) as f:
            return f.read()
    with open(said_path, "w") as err:
        run = subprocess.Popen([command, str(beeps), str(beep_ms), str(gap_ms)], env=env,
                               stdout=subprocess.DEVNULL, stderr=err)
    recorder = None
    try:
        # The server starts only once the probe has tried and failed, however slowly it starts.
        if not poll_until(lambda: "no sound device opened" in said() or run.poll() is not None, PROBE_TIMEOUT):
            raise Failed("sound_probe never said that no sound device opened")
        server.start()
        recorder = Recorder(server, os.path.join(work, name + ".raw"))
        try:
            run.wait(timeout=PROBE_TIMEOUT)
        except subprocess.TimeoutExpired:
            raise Failed("sound_probe did not end within %d s" % PROBE_TIMEOUT)
        heard = tones(recorder.samples())
        lines = said().strip().splitlines()
        print("  %s: %d tones heard; standard error:\n    %s" % (
            name, len(heard), "\n    ".join(lines) or "(nothing)"), flush=True)
        counts = [sum(text in line for line in lines) for text in ("no sound device opened", "was lost", "is back")]
        if counts != [1, 0, 1] or len(lines) != 2:
            raise Failed("%s: standard error should say once that no sound device opened and once that it is back"
                         % name)
        return heard
    finally:
        if run.poll() is None:
            run.kill()
            run.wait()
        if recorder:
            recorder.stop()
        server.stop()


def check_late(command, work):
    # Short beeps (each handed over in one write): once the server is up they are
    # heard, and standard error says so once.
    if not late_run(command, work, "beeps", 70, 60, 200):
        raise Failed("no beep heard once the server was up")
    # One beep, lost to the missing server, then nothing asked for 8 s, the device's
    # delay reported as a card reports it (nothing played just after a write): the
    # device, opened again between sounds, must itself watch its silence play and say so.
    late_run(command, work, "no sound asked", 1, 60, 8000, preload=COARSE_POINTER)


def check_hung(command, work):
    server = PulseServer(work)
    env = alsa_env(server, work)
    problems = []
    try:
        server.start()
        server.hang(True)
        for how, sound_ms in (("beep", 300), ("--wave", 300)):
            took, said = probe(command, env, *(["--wave"] if how == "--wave" else []), 4, sound_ms, 200)
            print("  %s calls of %d ms took %s ms; standard error: %s" % (
                how.lstrip("-"), sound_ms, [round(x) for x in took], said or "(nothing)"), flush=True)
            # Generous for a loaded machine, far below an open that waits for the server.
            if len(took) != 4 or any(not sound_ms - 1 <= x <= sound_ms + 1000 for x in took):
                problems.append("%s: sounds of %d ms took %s ms" % (how.lstrip("-"), sound_ms, took))
    finally:
        server.hang(False)
        server.stop()
    if problems:
        raise Failed("; ".join(problems))


def main():
    checks = {"small-buffer": check_small_buffer, "failing": check_failing, "late": check_late, "hung": check_hung}
    if len(sys.argv) != 4 or sys.argv[1] not in checks:
        sys.exit(__doc__)
    global COARSE_POINTER
    COARSE_POINTER = os.path.abspath(sys.argv[3])
    work = tempfile.mkdtemp(prefix="quenlo-sound-device-")
    os.chmod(work, 0o700)  # also the sound server's runtime folder
    try:
        checks[sys.argv[1]](os.path.abspath(sys.argv[2]), work)
    except Failed as e:
        print("FAILED: %s" % e, flush=True)
        return 1
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("passed", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
