#include "sounding/PlayCharacter.h"

// Stand-in until the code-check player arrives.
void PlayCharacter(const QString&, const QString&, std::int16_t, std::int32_t, std::int16_t, std::int16_t) { }
