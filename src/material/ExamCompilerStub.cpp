// Stand-in for the exam compiler until it is merged: no synthesis, only the
// compiler's outward behaviour. It plays two seconds of silence labelled with the
// slot and the text (so the play log shows what would have been compiled) and
// arms the end-of-playback poll as the compiler does.
#include "material/ExamCompiler.h"

#include "platform/forms/dialogs.h"
#include "platform/sound/sound_service.h"
#include "practice/frmMain.h"

#include <QByteArray>
#include <QtEndian>

namespace {
QByteArray silentWave(std::int32_t rate, std::int32_t ms)
{
    const std::int32_t dataBytes = rate / 1000 * ms * 2;
    QByteArray image(44 + dataBytes, '\0');
    char* p = image.data();
    auto put32 = [&](int at, std::uint32_t v) { qToLittleEndian<std::uint32_t>(v, p + at); };
    auto put16 = [&](int at, std::uint16_t v) { qToLittleEndian<std::uint16_t>(v, p + at); };
    memcpy(p, "RIFF", 4);
    put32(4, static_cast<std::uint32_t>(36 + dataBytes));
    memcpy(p + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1);
    put16(22, 1);
    put32(24, static_cast<std::uint32_t>(rate));
    put32(28, static_cast<std::uint32_t>(rate * 2));
    put16(32, 2);
    put16(34, 16);
    memcpy(p + 36, "data", 4);
    put32(40, static_cast<std::uint32_t>(dataBytes));
    return image;
}
} // namespace

void BuildAndPlayExamWave(std::int16_t slot, const QString& text, std::int16_t, std::int16_t, std::int32_t sampleRate,
                          std::int16_t interactive)
{
    if (text.isEmpty()) {
        forms::MsgBox(QStringLiteral("読み込む文字が有りません｡"), forms::vbOKOnly | forms::vbCritical,
                      QStringLiteral("エラー"));
        return;
    }
    const std::int32_t rate = sampleRate == 8000 ? 8000 : 16000;
    const QString label = QStringLiteral("exam %1: %2").arg(slot).arg(text);
    if (interactive == 0) {
        platform::sound().playMemory(silentWave(rate, 2000), platform::SND_MEMORY, label);
        return;
    }
    platform::sound().playMemory(silentWave(rate, 2000), platform::SND_MEMORY | platform::SND_ASYNC, label);
    FrmMain& f = frmMain();
    f.timerCheckWavePlayEnd.setInterval(800);
    f.timerCheckWavePlayEnd.setEnabled(true);
}
