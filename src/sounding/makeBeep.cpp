#include "sounding/makeBeep.h"

#include "platform/sound/sound_service.h"
#include "synthesis/Delay.h"
#include "synthesis/MorseCodeTable.h"

QString LastBeepSymbol;

namespace {
constexpr int rowBT = 43;
constexpr int rowH = 8;
constexpr int rowR = 18;
constexpr int rowAR = 44;
constexpr int rowHore = 71;
constexpr int rowRata = 72;
} // namespace

void BeepMorseRow(int row, const QString& name, std::int32_t dotMs, std::int32_t dashMs,
                  std::int32_t toneHz, bool wordGap)
{
    const MorseRow& r = MorseRowAt(row);
    for (const char* e = r.code; *e; ++e) {
        platform::sound().beep(toneHz, *e == '-' ? dashMs : dotMs);
        if (e[1])
            WaitMilliseconds(dotMs);
    }
    if (wordGap) {
        WaitMilliseconds(static_cast<std::int32_t>(7LL * dotMs > INT32_MAX ? INT32_MAX : 7LL * dotMs));
        return;
    }
    LastBeepSymbol = name;
    WaitMilliseconds(dashMs);
}

void BeepLetterH(const QString& name, std::int32_t dotMs, std::int32_t dashMs, std::int32_t toneHz)
{
    BeepMorseRow(rowH, name, dotMs, dashMs, toneHz);
}

void BeepLetterR(const QString& name, std::int32_t dotMs, std::int32_t dashMs, std::int32_t toneHz)
{
    BeepMorseRow(rowR, name, dotMs, dashMs, toneHz);
}

void BeepBTWordGap(const QString& name, std::int32_t dotMs, std::int32_t dashMs, std::int32_t toneHz)
{
    BeepMorseRow(rowBT, name, dotMs, dashMs, toneHz, true);
}

void BeepHoreWordGap(const QString& name, std::int32_t dotMs, std::int32_t dashMs, std::int32_t toneHz)
{
    BeepMorseRow(rowHore, name, dotMs, dashMs, toneHz, true);
}

void BeepAR(const QString& name, std::int32_t dotMs, std::int32_t dashMs, std::int32_t toneHz)
{
    BeepMorseRow(rowAR, name, dotMs, dashMs, toneHz);
}

void BeepRata(const QString& name, std::int32_t dotMs, std::int32_t dashMs, std::int32_t toneHz)
{
    BeepMorseRow(rowRata, name, dotMs, dashMs, toneHz);
}
