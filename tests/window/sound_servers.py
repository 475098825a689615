"""What the sound tests share: a sound server of the test's own (PulseAudio, or PipeWire
by hand), a recorder of its sink's monitor, the tones found in a recording, and the
ALSA config that sends a program's "default" to the server. Imports no X module: the
tests outside X use it too."""
import array
import os
import signal
import subprocess
import time

from window_road import stop_process

RATE = 16000  # of the recording
SERVER_TIMEOUT = 20


class Failed(Exception):
    pass


def poll_until(probe, timeout, step_s=0.05):
    """Polls probe() until it gives a true value or the time is up; returns its last value."""
    end = time.monotonic() + timeout
    while True:
        value = probe()
        if value or time.monotonic() > end:
            return value
        time.sleep(step_s)


# ---------------------------------------------------------------- the server

class PulseServer:
    """A PulseAudio of the test's own: a null sink "nul", reached at a private socket.
    As a desktop's (desktop=True) it listens where a desktop's does, at
    $XDG_RUNTIME_DIR/pulse/native, which its clients find by themselves: the
    environment names no server."""

    name = "PulseAudio"

    def __init__(self, work, desktop=False):
        self.work = work
        self.desktop = desktop
        self.pa = os.path.join(work, "server.pa")
        with open(self.pa, "w") as f:
            f.write("load-module module-null-sink sink_name=nul rate=48000\n"
                    "load-module module-native-protocol-unix\n"
                    "set-default-sink nul\n")
        self.env = dict(os.environ)
        self.env.update(XDG_RUNTIME_DIR=work, HOME=work)
        if desktop:
            for name in ("PULSE_RUNTIME_PATH", "PULSE_SERVER"):
                self.env.pop(name, None)
            # No client starts a server of its own (as root none does anyway): the
            # test decides when one runs.
            os.makedirs(os.path.join(work, ".config", "pulse"), exist_ok=True)
            with open(os.path.join(work, ".config", "pulse", "client.conf"), "w") as f:
                f.write("autospawn = no\n")
        else:
            self.env.update(PULSE_RUNTIME_PATH=work, PULSE_SERVER="unix:" + os.path.join(work, "native"))
        self.processes = []
        self.log = open(os.path.join(work, "server.log"), "a")

    def spawn(self, *command, env=None):
        self.processes.append(subprocess.Popen(command, env=env or self.env, stdout=self.log,
                                               stderr=subprocess.STDOUT))

    def start(self):
        # Kept off the session bus: on a desktop whose own PulseAudio holds its name
        # there, the test's would end at its start.
        env = {k: v for k, v in self.env.items() if k != "DBUS_SESSION_BUS_ADDRESS"}
        self.spawn("pulseaudio", "-n", "-F", self.pa, "--daemonize=no", "--exit-idle-time=-1", env=env)
        self.wait_up(["pactl", "info"])

    def wait_up(self, probe):
        def answers():
            for p in self.processes:
                if p.poll() is not None:
                    raise Failed("%s ended at its start (exit %d)" % (p.args[0], p.returncode))
            return subprocess.run(probe, env=self.env, capture_output=True, text=True)
        if not poll_until(lambda: answers().returncode == 0, SERVER_TIMEOUT, 0.1):
            raise Failed("%s did not answer %s within %d s" % (self.name, " ".join(probe), SERVER_TIMEOUT))

    def stop(self):
        while self.processes:
            process = self.processes.pop()
            if process.poll() is None:
                os.kill(process.pid, signal.SIGCONT)  # never left stopped
            stop_process(process)

    def hang(self, on):
        """The server stopped (SIGSTOP) as a server stuck after a suspend is, or going again."""
        for p in self.processes:
            os.kill(p.pid, signal.SIGSTOP if on else signal.SIGCONT)

    def alsa_conf(self):
        # The machine's own config may send "default" elsewhere (or to any server it
        # finds): this one names the test's server and comes last.
        server = self.env["PULSE_SERVER"]
        return ('pcm.!default { type pulse server "%s" }\n'
                'ctl.!default { type pulse server "%s" }\n' % (server, server))

    def record_command(self):
        return ["parec", "--latency-msec=20", "-d", "nul.monitor", "--raw", "--format=s16le",
                "--rate=%d" % RATE, "--channels=1"]

    def recording(self):
        """Whether a recording stream is on the server."""
        return subprocess.run(["pactl", "list", "short", "source-outputs"], env=self.env,
                              capture_output=True, text=True).stdout.strip() != ""

    def streams(self):
        """The server's playback streams now."""
        out = subprocess.run(["pactl", "list", "short", "sink-inputs"], env=self.env,
                             capture_output=True, text=True).stdout
        return [line for line in out.splitlines() if line.strip()]


class PipeWireServer(PulseServer):
    """PipeWire and WirePlumber of the test's own with a null sink "nul"; the program
    reaches it through the pipewire-alsa plugin found in plugin_dir."""

    name = "PipeWire"

    def __init__(self, work, plugin_dir):
        super().__init__(work)
        self.plugin_dir = plugin_dir
        config = os.path.join(work, "config")
        os.makedirs(os.path.join(config, "pipewire", "pipewire.conf.d"), exist_ok=True)
        with open(os.path.join(config, "pipewire", "pipewire.conf.d", "nul.conf"), "w") as f:
            f.write("context.objects = [\n"
                    "  { factory = adapter\n"
                    "    args = { factory.name = support.null-audio-sink node.name = nul\n"
                    "             media.class = Audio/Sink object.linger = true\n"
                    "             audio.position = [ MONO ] audio.rate = 48000 } }\n"
                    "]\n")
        self.env = dict(os.environ)
        self.env.update(XDG_RUNTIME_DIR=work, XDG_CONFIG_HOME=config, HOME=work)

    def start(self):
        self.spawn("pipewire")
        self.wait_up(["pw-cli", "info", "0"])
        self.spawn("wireplumber")
        # WirePlumber is up once it has a client of its own on the server.
        if not poll_until(lambda: "wireplumber" in subprocess.run(
                ["pw-cli", "ls", "Client"], env=self.env, capture_output=True, text=True).stdout.lower(),
                SERVER_TIMEOUT, 0.1):
            raise Failed("wireplumber did not join within %d s" % SERVER_TIMEOUT)

    def alsa_conf(self):
        return ('pcm_type.pipewire { lib "%s/libasound_module_pcm_pipewire.so" }\n'
                'ctl_type.pipewire { lib "%s/libasound_module_ctl_pipewire.so" }\n'
                'pcm.!default { type pipewire playback_node "-1" capture_node "-1" }\n'
                'ctl.!default { type pipewire }\n' % (self.plugin_dir, self.plugin_dir))

    def record_command(self):
        return ["pw-record", "--target", "nul", "-P", "{ stream.capture.sink=true }", "--latency", "20ms",
                "--rate", str(RATE), "--channels", "1", "--format", "s16", "-"]

    def nodes(self, media_class):
        out = subprocess.run(["pw-cli", "ls", "Node"], env=self.env, capture_output=True, text=True).stdout
        return [line for line in out.splitlines() if '"%s"' % media_class in line]

    def recording(self):
        return bool(self.nodes("Stream/Input/Audio"))

    def streams(self):
        return self.nodes("Stream/Output/Audio")


class Recorder:
    """The sink's monitor as raw 16-bit mono samples in a file that grows as it plays."""

    def __init__(self, server, path):
        self.path = path
        self.file = open(path, "wb")
        self.process = subprocess.Popen(server.record_command(), env=server.env, stdout=self.file,
                                        stderr=subprocess.DEVNULL)

    def length(self):
        """Samples recorded so far."""
        return os.path.getsize(self.path) // 2

    def samples(self, start=0):
        with open(self.path, "rb") as f:
            f.seek(start * 2)
            data = f.read()
        return array.array("h", data[:len(data) // 2 * 2])

    def stop(self):
        # SIGINT: the recorder writes out what it holds (SIGTERM loses its last part).
        stop_process(self.process, signal.SIGINT)
        self.file.close()


def alsa_env(server, work, name="asound.conf"):
    """The server's environment with an ALSA config of the test's own, written to
    work/name, that sends "default" to the server; the test's choice of device and
    of silence is taken out. For a desktop's server, ALSA's configuration is the
    system's own, as Debian ships it (the pulse package's hook sends "default" to a
    server that runs when ALSA reads its configuration)."""
    env = dict(server.env)
    if server.desktop:
        env.pop("ALSA_CONFIG_PATH", None)
    else:
        conf = os.path.join(work, name)
        with open(conf, "w") as f:
            f.write(server.alsa_conf())
        env["ALSA_CONFIG_PATH"] = "/usr/share/alsa/alsa.conf:" + conf
    env.pop("QUENLO_AUDIO", None)
    env.pop("QUENLO_ALSA_DEVICE", None)
    return env


# ---------------------------------------------------------------- what was heard

def tones(samples, threshold=200):
    """The tones in the samples as (start, end) in ms. A tone is a run of samples that
    are not silent (the sink's silence is exact zeros; a low threshold finds the ends of
    the tones' ramps); the quiet moments inside one period of the wave do not end it."""
    runs = []
    bridge = RATE * 4 // 1000
    start = last = None
    for i, x in enumerate(samples):
        if x > threshold or x < -threshold:
            if start is None:
                start = i
            elif i - last > bridge:
                runs.append((start, last + 1))
                start = i
            last = i
    if start is not None:
        runs.append((start, last + 1))
    return [(a * 1000.0 / RATE, b * 1000.0 / RATE) for a, b in runs if b - a > RATE // 1000 * 5]


def shape(found):
    """Tone lengths and the gaps between them, in ms."""
    lengths = [b - a for a, b in found]
    gaps = [found[i + 1][0] - found[i][1] for i in range(len(found) - 1)]
    return lengths, gaps

