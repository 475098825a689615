#pragma once
#include "platform/forms/forms.h"

#include <cstdint>

// The progress window of the sound-bank rebuild and of the exam compiler.
class FrmExchangeProgress : public forms::Form {
public:
    FrmExchangeProgress();
    // 0 freshly loaded, 1..10 tenths of the work, 11 an exam conversion finished.
    forms::ProgressBar progressBarExchange{*this};

    void Form_KeyPress(int& keyAscii);
};

inline forms::FormRef<FrmExchangeProgress> frmExchangeProgress;

// Raised by Esc to cancel an exam text's conversion to WAV.
extern std::int16_t ConversionCancelRequested;

// Gives back the main window's controls that a mock exam locked, as a cancelled
// conversion does.
void GiveBackControlsAfterConversionCancel();
