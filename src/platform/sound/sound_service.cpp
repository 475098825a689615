#include "platform/sound/sound_service.h"

#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <limits>

namespace platform {

SoundService::SoundService() = default;

// The device goes first: its worker may still report into the log.
SoundService::~SoundService() { device_.reset(); }

SoundDevice& SoundService::device()
{
    if (!device_)
        useDefaultSound();
    return *device_;
}

void SoundService::setDevice(std::unique_ptr<SoundDevice> device)
{
    device->onFirstFrame = [this](std::uint64_t id, SteadyTime at) {
        std::lock_guard lock(logMutex_);
        for (auto it = log_.rbegin(); it != log_.rend(); ++it) {
            if (it->first == id) {
                it->second.firstFrame = at;
                return;
            }
        }
    };
    if (device_)
        device_->stop();
    device_ = std::move(device);
}

QString SoundService::deviceName() { return device().name(); }

std::uint64_t SoundService::record(PlayLogEntry entry)
{
    const std::uint64_t id = nextId_++;
    std::lock_guard lock(logMutex_);
    if (logging_)
        log_.emplace_back(id, std::move(entry));
    return id;
}

bool SoundService::play(const QString& what, unsigned flags, const std::function<std::optional<Pcm>()>& load)
{
    PlayLogEntry entry;
    entry.at = clock().now();
    entry.called = std::chrono::steady_clock::now();
    entry.what = what;
    entry.flags = flags;
    // The no-stop probe: refused while something sounds, before anything is read.
    if ((flags & SND_NOSTOP) && device().isPlaying()) {
        record(std::move(entry));
        return false;
    }
    std::optional<Pcm> pcm = load();
    if (!pcm) {
        device().stop();
        record(std::move(entry));
        return false;
    }
    Voice voice;
    voice.rate = pcm->rate;
    voice.durationMs = pcm->durationMs();
    voice.samples = std::make_shared<const std::vector<std::int16_t>>(std::move(pcm->samples));
    entry.durationMs = voice.durationMs;
    entry.played = true;
    voice.id = record(std::move(entry));
    device().start(std::move(voice));
    if (!(flags & SND_ASYNC))
        device().waitEnd();
    return true;
}

bool SoundService::playMemory(const QByteArray& image, unsigned flags, const QString& label)
{
    return play(label, flags, [&] { return parseWav(image); });
}

bool SoundService::playFile(const QString& path, unsigned flags)
{
    return play(path, flags, [&]() -> std::optional<Pcm> {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return parseWav(file.readAll());
    });
}

void SoundService::beep(std::int64_t hz, std::int64_t ms)
{
    PlayLogEntry entry;
    entry.at = clock().now();
    entry.called = std::chrono::steady_clock::now();
    entry.what = QStringLiteral("beep");
    entry.hz = hz;
    if (ms <= 0) {
        record(std::move(entry));
        return;
    }
    Voice voice;
    voice.hz = hz;
    // The original call took a 32-bit unsigned length.
    voice.durationMs = std::min<std::int64_t>(ms, std::numeric_limits<std::uint32_t>::max());
    entry.durationMs = voice.durationMs;
    entry.played = true;
    voice.id = record(std::move(entry));
    device().start(std::move(voice));
    device().waitEnd();
}

void SoundService::stop() { device().stop(); }

bool SoundService::isPlaying() { return device().isPlaying(); }

void SoundService::enableLog(bool on)
{
    std::lock_guard lock(logMutex_);
    logging_ = on;
}

std::vector<PlayLogEntry> SoundService::log() const
{
    std::lock_guard lock(logMutex_);
    std::vector<PlayLogEntry> entries;
    entries.reserve(log_.size());
    for (const auto& [id, entry] : log_)
        entries.push_back(entry);
    return entries;
}

void SoundService::clearLog()
{
    std::lock_guard lock(logMutex_);
    log_.clear();
}

SoundService& sound()
{
    static SoundService service;
    return service;
}

void useSilentSound() { sound().setDevice(std::make_unique<SilentDevice>()); }

bool useAlsaSound(const QString& deviceName, QString* error)
{
    auto device = openAlsaDevice(deviceName, error);
    if (!device)
        return false;
    sound().setDevice(std::move(device));
    return true;
}

void useDefaultSound()
{
    const QByteArray choice = qgetenv("QUENLO_AUDIO");
    if (choice == "silent") {
        useSilentSound();
        return;
    }
    QString name = QString::fromLocal8Bit(qgetenv("QUENLO_ALSA_DEVICE"));
    if (name.isEmpty())
        name = QStringLiteral("default");
    // A sound server may come up after the program (a desktop that starts it late, a
    // headset plugged in), or hang: the device opens on its own thread and is tried
    // again until it does.
    sound().setDevice(openAlsaDevice(name, nullptr, {.keepTrying = true}));
}

} // namespace platform
