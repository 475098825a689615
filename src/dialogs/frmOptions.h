#pragma once
#include "platform/forms/forms.h"

// The options dialog "設定". Its controls are live settings that other parts read.
class FrmOptions : public forms::Form {
public:
    FrmOptions();

    forms::TabStrip tbsOptions{*this};
    forms::ControlArray<forms::PictureBox> picOptions{*this, 0, 3};
    forms::Frame fraSample1{picOptions(0)};
    forms::Label QuarityLabel{fraSample1};
    forms::HScrollBar WavQuarityHScroll{fraSample1};
    forms::Label VolumeLabel{fraSample1};
    forms::HScrollBar WavVolumeHScroll{fraSample1};
    forms::Frame fraSample4{picOptions(3)};
    forms::UpDown upDownLoopCw{fraSample4};
    forms::TextBox textHugouKakuninPlayTimes{fraSample4};
    forms::Frame frameHugouSpace{picOptions(3)};
    forms::UpDown upDownHugouSpace{frameHugouSpace};
    forms::TextBox textHugouSpace{frameHugouSpace};
    forms::CommandButton cmdOK{*this};
    forms::CommandButton cmdCancel{*this};
    forms::CommandButton cmdSave{*this};
};

inline forms::FormRef<FrmOptions> frmOptions;
