#pragma once
#include "platform/forms/forms.h"

#include <QString>
#include <cstdint>

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

    // The word file of the selected option: the alphabet's sample file or the path of the
    // selected slot ("" when none is selected or the slot is free).
    QString ChosenWordFile();

private:
    // The frame and its records.
    void Form_Load();
    void LoadOptionSettings();
    // False when something could not be written (a message has said what); the
    // dialog then stays open.
    bool SaveOptionSettings();
    void cmdOK_Click();
    void cmdSave_Click();
    void cmdCancel_Click();
    void cmdTextSet_Click();
    void tbsOptions_Click();
    void Form_KeyDown(int& keyCode, int shift);
    void textLowerBound_Change();
    void Bound_KeyPress(int& keyAscii);
    void Bound_LostFocus(forms::TextBox& box);
    void SettingChanged();

    // Sound options and test playback.
    void WavQuarityHScroll_Change();
    void WavVolumeHScroll_Change();
    void hScrollCodeInterval_Change();
    void ShowCodeInterval(int percent);
    void optionWaveSampLow_Click();
    void optionWaveSampHigh_Click();
    void TestButton_Click();
    void cmdStandardCw_Click();

    // Word files.
    void optionEntryFile_Click(int slot);
    void optionEntrySampleFile_Click();
    void cmdEntryFile_Click();
    void cmdEditEntryFile_Click();
    void cmdDeleteEntryFile_Click();
    void SelectRegisteredWordFile();
    forms::OptionButton& EntryFileOption(int slot);
    int SelectedSlot();
    forms::FileOpenResult ChooseWordFile();
    void RegisterWordFile(int slot, const forms::FileOpenResult& chosen);
    // The word tab's load of the chosen file, with its count.
    void LoadWordList();
    void ShowWordCount();
    forms::TextEditor::Outcome LoadWordFile(const QString& path);
    void ShowNoWordFile();
    bool WordListHoldsUnsavedEdits() const;
    bool SaveWordList();

    // The slider positions the sound bank was last built for, or last loaded or saved.
    std::int16_t LastWaveQuality = 0;
    std::int16_t LastWaveVolume = 0;
    // The file whose text the word list editor holds ("" = none: the editor is then
    // locked), and that text as last read from or written to the file.
    QString wordListPath_;
    QString wordListSaved_;
    // Set while the dialog itself writes the editor (a load): only the learner's
    // changes of the word list enable 設定保存.
    bool writingWordList_ = false;
};

inline forms::FormRef<FrmOptions> frmOptions;
