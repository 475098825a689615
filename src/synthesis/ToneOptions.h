#pragma once

// The options dialog's sound settings that the tone synthesis reads at every
// element build: its quality and volume sliders.

// Tone quality 1..5 (`WavQuarityHScroll`): the softness of the element edges.
int ToneQualityValue();
// Volume step 1..5 (`WavVolumeHScroll`).
int ToneVolumeValue();

// 1 + p / 100 for the code-interval percentage p; stretches the gap after a
// character in live Wave playing and the wait of the six waiting WAV writers.
extern float CodeIntervalFactor;
