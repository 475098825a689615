#include "keypad/UserChosen.h"

std::array<std::int16_t, 49> LatinUserChosen{};
std::array<std::int16_t, 69> KanaUserChosen{};
std::int16_t LatinUserChosenCount = 0;
std::int16_t KanaUserChosenCount = 0;

std::int16_t CountLatinUserChosen()
{
    std::int16_t n = 0;
    for (int i = 1; i <= 48; ++i)
        n += IsLatinUserChosen(i);
    return n;
}

std::int16_t CountKanaUserChosen()
{
    std::int16_t n = 0;
    for (int i = 1; i <= 68; ++i)
        n += IsKanaUserChosen(i);
    return n;
}

void ToggleUserChosenEntry(std::int16_t& element, std::int16_t i, bool mayAdd)
{
    if (element == i)
        element = 0;
    else if (element == 0 && mayAdd)
        element = i;
}
