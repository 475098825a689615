#include "material/ExamTextDraw.h"

#include "dialogs/ExamTextState.h"
#include "platform/process.h"
#include "settings/SharedSettings.h"

#include <cmath>

QString PickNextTextSlot(std::int16_t remaining)
{
    platform::randomizeFromClock();
    const float r0 = platform::rnd();
    platform::randomize(static_cast<std::int16_t>(std::floor(static_cast<double>(r0) * 1000)));
    const float r = platform::rnd();
    if (AlphabetIsLatin != -1 && AlphabetIsLatin != 0)
        return QString();
    const bool latin = AlphabetIsLatin == -1;
    auto& path = latin ? LatinExamTextPath : KanaExamTextPath;
    auto& enabled = latin ? LatinExamTextEnabled : KanaExamTextEnabled;
    auto& drawn = latin ? LatinExamTextDrawn : KanaExamTextDrawn;

    // (remaining - 1) x r: the last eligible slot comes only when it is the last left.
    const int k = static_cast<int>(std::floor(static_cast<double>(static_cast<float>(remaining - 1) * r)));
    int seen = 0;
    for (int s = 0; s < 10; ++s) {
        if (path[s].isEmpty() || enabled[s] != -1)
            continue;
        if (seen++ != k)
            continue;
        enabled[s] = 0;
        drawn[s] = 1;
        if (remaining == 1)
            for (int t = 0; t < 10; ++t)
                if (drawn[t] == 1)
                    enabled[t] = -1;
        return QString::number(s);
    }
    return QString();
}
