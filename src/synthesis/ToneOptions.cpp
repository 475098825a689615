#include "synthesis/ToneOptions.h"

#include "dialogs/frmOptions.h"

float CodeIntervalFactor = 1.0f;

// The sliders are the live store: reading one loads the dialog when it is not loaded.
int ToneQualityValue() { return frmOptions().WavQuarityHScroll.value(); }
int ToneVolumeValue() { return frmOptions().WavVolumeHScroll.value(); }
