#pragma once
#include "platform/sound/sound_service.h"
#include "synthesis/MorseCodeTable.h"

#include <QString>
#include <QStringList>

// The beeps of the play log since origin written as Morse, for a unit of u ms:
// "." and "-" for 1u and 3u tones, nothing for a 1u gap, " " for 3u (between
// characters), " / " for 7u (between words) and " [n] " for any other gap of n
// units, so a timeline reads like the code that was sent.
inline QString heardMorse(platform::Tick origin, platform::Tick u)
{
    QString out;
    platform::Tick lastEnd = -1;
    for (const auto& e : platform::sound().log()) {
        if (!e.played || e.what != QLatin1String("beep") || e.at < origin)
            continue;
        if (lastEnd >= 0) {
            const platform::Tick gap = e.at - lastEnd;
            if (gap == 3 * u)
                out += QLatin1Char(' ');
            else if (gap == 7 * u)
                out += QStringLiteral(" / ");
            else if (gap != u)
                out += QStringLiteral(" [%1] ").arg(static_cast<double>(gap) / static_cast<double>(u));
        }
        out += e.durationMs == u ? QLatin1Char('.') : e.durationMs == 3 * u ? QLatin1Char('-') : QLatin1Char('?');
        lastEnd = e.at + e.durationMs;
    }
    return out;
}

// The code of a row of MorseCodeTable by its key ("A", "ホレ", "訂正").
inline QString codeOf(const QString& key)
{
    for (const MorseRow& r : MorseCodeTable())
        if (QStringView(r.key) == key)
            return QString::fromLatin1(r.code);
    return QStringLiteral("?");
}

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
