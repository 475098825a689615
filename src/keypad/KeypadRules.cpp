#include "keypad/KeypadRules.h"

// The keypads come with their buttons; until then the rules have nothing to set.
void ApplyModeToKeypads() {}
void ApplyKanaRange(std::int16_t&) {}
