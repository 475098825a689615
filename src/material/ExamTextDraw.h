#pragma once
#include <QString>
#include <cstdint>

// The random draw of a registered exam text of the alphabet in use. A slot takes
// part while its path is set and its enabled flag is -1; the drawn slot leaves the
// cycle (enabled 0, drawn mark 1), and the draw of the last one left puts back
// every slot drawn in the cycle. remaining is the number of slots taking part.
// Returns the slot's digit "0".."9", "" when no slot is drawn (nothing changes).
QString PickNextTextSlot(std::int16_t remaining);
