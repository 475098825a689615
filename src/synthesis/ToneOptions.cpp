#include "synthesis/ToneOptions.h"

namespace {
// The scroll bars' design values.
int toneQuality = 1;
int toneVolume = 1;
} // namespace

float CodeIntervalFactor = 1.0f;

int ToneQualityValue() { return toneQuality; }
int ToneVolumeValue() { return toneVolume; }
void SetToneQualityValue(int value) { toneQuality = value; }
void SetToneVolumeValue(int value) { toneVolume = value; }
