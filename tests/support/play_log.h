#pragma once
#include "platform/sound/sound_service.h"

#include <QString>
#include <vector>

// The play log reduced to what a timeline test compares: (time, what, length).
struct Sounded {
    platform::Tick at;
    QString what;
    platform::Tick ms;
    bool operator==(const Sounded&) const = default;
};

inline std::vector<Sounded> soundedSince(platform::Tick origin)
{
    std::vector<Sounded> out;
    for (const auto& e : platform::sound().log())
        if (e.played)
            out.push_back({e.at - origin, e.what, e.durationMs});
    return out;
}

inline void PrintTo(const Sounded& s, std::ostream* os)
{
    *os << "{" << s.at << ", " << s.what.toStdString() << ", " << s.ms << "}";
}
