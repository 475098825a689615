#pragma once
#include "platform/forms/forms.h"

// The options dialog "設定". Its controls are live settings that other parts read.
// Four panels, one per tab, lie over the tab strip; the tab switch moves the selected
// one into view and the others out of it.
class FrmOptions : public forms::Form {
public:
    FrmOptions();

    forms::TabStrip tbsOptions{*this};
    forms::ControlArray<forms::PictureBox> picOptions{*this, 0, 3};

    // Tab 1 "WAVE設定": tone quality and volume, code interval, test playback.
    forms::Frame fraSample1{picOptions(0)};
    forms::Label QuarityLabel{fraSample1};
    forms::Label labelQualitySoft{fraSample1};
    forms::Label labelQualityHard{fraSample1};
    forms::HScrollBar WavQuarityHScroll{fraSample1};
    forms::Label VolumeLabel{fraSample1};
    forms::Label labelVolumeLow{fraSample1};
    forms::Label labelVolumeHigh{fraSample1};
    forms::HScrollBar WavVolumeHScroll{fraSample1};
    forms::Frame frameCodeInterval{picOptions(0)};
    forms::Label labelCodeInterval{frameCodeInterval};
    forms::HScrollBar hScrollCodeInterval{frameCodeInterval};
    forms::CommandButton TestButton{picOptions(0)};
    forms::CommandButton cmdStandardCw{picOptions(0)};

    // Tab 2 "模擬試験": word lengths, exam-text selection, word files, sample rate.
    forms::Frame frameMogiTango{picOptions(1)};
    forms::UpDown upDownLowerBound{frameMogiTango};
    forms::TextBox textLowerBound{frameMogiTango};
    forms::Label labelLowerBound{frameMogiTango};
    forms::UpDown upDownUpperBound{frameMogiTango};
    forms::TextBox textUpperBound{frameMogiTango};
    forms::Label labelUpperBound{frameMogiTango};
    forms::Frame frameTextMode{picOptions(1)};
    forms::OptionButton optionTextRandom{frameTextMode};
    forms::OptionButton optionTextSelect{frameTextMode};
    forms::CommandButton cmdTextSet{picOptions(1)}; // after the frame: it sits on its corner
    forms::Frame frameEntryFile{picOptions(1)};
    forms::OptionButton optionEntrySampleFile{frameEntryFile};
    forms::OptionButton optionEntryFile1{frameEntryFile};
    forms::OptionButton optionEntryFile2{frameEntryFile};
    forms::OptionButton optionEntryFile3{frameEntryFile};
    forms::CommandButton cmdEntryFile{frameEntryFile};
    forms::CommandButton cmdEditEntryFile{frameEntryFile};
    forms::CommandButton cmdDeleteEntryFile{frameEntryFile};
    forms::Frame frameWavePlay{picOptions(1)};
    forms::Label labelSampleRate{frameWavePlay};
    forms::OptionButton optionWaveSampHigh{frameWavePlay};
    forms::OptionButton optionWaveSampLow{frameWavePlay};

    // Tab 3 "単語登録": the word list editor.
    forms::Label labelLastCountEntryWords{picOptions(2)};
    forms::Label Label8{picOptions(2)};
    forms::TextEditor richTextBoxEntryWords{picOptions(2)};

    // Tab 4 "符号確認": repetitions and spacing of code-check playback.
    forms::Frame fraSample4{picOptions(3)};
    forms::UpDown upDownLoopCw{fraSample4};
    forms::TextBox textHugouKakuninPlayTimes{fraSample4};
    forms::Label labelPlayTimesUnit{fraSample4};
    forms::Frame frameHugouSpace{picOptions(3)};
    forms::UpDown upDownHugouSpace{frameHugouSpace};
    forms::TextBox textHugouSpace{frameHugouSpace};
    forms::Label labelHugouSpaceUnit{frameHugouSpace};

    forms::CommandButton cmdOK{*this};
    forms::CommandButton cmdCancel{*this};
    forms::CommandButton cmdSave{*this};

private:
    void tbsOptions_Click();
};

inline forms::FormRef<FrmOptions> frmOptions;
