#include "synthesis/ToneOptions.h"

#include "dialogs/frmOptions.h"

#include <optional>

float CodeIntervalFactor = 1.0f;

namespace {
// A value the slider cannot hold (tests of the synthesis' own range check), held
// beside it until the next value the slider can take.
std::optional<int> qualityOutsideSlider;
std::optional<int> volumeOutsideSlider;

void setSlider(forms::HScrollBar& slider, std::optional<int>& outside, int value)
{
    if (value < slider.min() || value > slider.max()) {
        outside = value;
        return;
    }
    outside.reset();
    slider.setValue(value);
}
} // namespace

// The sliders are the live store: reading one loads the dialog when it is not loaded.
int ToneQualityValue() { return qualityOutsideSlider.value_or(frmOptions().WavQuarityHScroll.value()); }
int ToneVolumeValue() { return volumeOutsideSlider.value_or(frmOptions().WavVolumeHScroll.value()); }
void SetToneQualityValue(int value) { setSlider(frmOptions().WavQuarityHScroll, qualityOutsideSlider, value); }
void SetToneVolumeValue(int value) { setSlider(frmOptions().WavVolumeHScroll, volumeOutsideSlider, value); }
