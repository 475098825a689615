#pragma once
#include "dialogs/frmOptions.h"

#include <algorithm>

// Moves the options dialog's tone sliders as the learner would (their Change
// runs). A value no slider position gives (for the synthesis' own range check)
// widens the slider's range to hold it; a value within 1..5 sets the range back.
inline void setToneSlider(forms::HScrollBar& slider, int value)
{
    slider.setMin(std::min(1, value));
    slider.setMax(std::max(5, value));
    slider.setValue(value);
}

inline void SetToneQualityValue(int value) { setToneSlider(frmOptions().WavQuarityHScroll, value); }
inline void SetToneVolumeValue(int value) { setToneSlider(frmOptions().WavVolumeHScroll, value); }
