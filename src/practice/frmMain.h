#pragma once
#include "platform/forms/forms.h"

#include <cstdint>

// The main window: the shell of the trainer, the practice-mode panel and the two
// keypads. Its controls are declared here in one place with their design values
// (the constructor); the handler bodies live with the subsystem that owns them.
class FrmMain : public forms::Form {
    // A frame as the container of a nested frame (braces alone would copy it).
    static forms::Container& in(forms::Frame& f) { return f; }

public:
    FrmMain();

    // Menus, left to right on the bar.
    forms::Menu mnuEnd{*this};
    forms::Menu mnuChange{*this};
    forms::Menu mnuSound{*this};
    forms::Menu mnuSoundWave{mnuSound};
    forms::Menu mnuSoundBeep{mnuSound};
    forms::Menu mnuSoundSeparator{mnuSound};
    forms::Menu mnuOptions{mnuSound};
    forms::Menu mnuMojihanni{*this};
    forms::Menu mnuMojiHanniAtoE{mnuMojihanni};
    forms::Menu mnuMojiHanniFtoJ{mnuMojihanni};
    forms::Menu mnuMojiHanniKtoO{mnuMojihanni};
    forms::Menu mnuMojiHanniPtoT{mnuMojihanni};
    forms::Menu mnuMojiHanniUtoZ{mnuMojihanni};
    forms::Menu mnuMojiHanniAllAlphabets{mnuMojihanni};
    forms::Menu mnuMojiHanniNumbers{mnuMojihanni};
    forms::Menu mnuMojiHanniMarks{mnuMojihanni};
    forms::Menu mnuMojiHanniAlphabetsNumbers{mnuMojihanni};
    forms::Menu mnuMojiHanniAlphabetsMarks{mnuMojihanni};
    forms::Menu mnuMojiHanniNumbersMarks{mnuMojihanni};
    forms::Menu mnuMojiHanniAll{mnuMojihanni};
    forms::Menu mnuMojihanniUserChose{mnuMojihanni};
    forms::Menu mnuMojihanniWabun{*this};
    forms::ControlArray<forms::Menu> mnuMojihanniWabun_Hani{mnuMojihanniWabun, 1, 18};
    forms::Menu mnuHelp{*this};
    forms::Menu mnuHelpOnlineManual{mnuHelp};
    forms::Menu mnuHelpGoHamWeb{mnuHelp};
    forms::Menu mnuHelpReadme{mnuHelp};
    forms::Menu mnuHelpAbout{mnuHelp};

    // The practice-mode panel.
    forms::Frame frameControl{*this};
    forms::Frame Frame1{in(frameControl)};
    forms::OptionButton optionKakuninMode{Frame1};
    forms::OptionButton optionKikitoriMode{Frame1};
    forms::OptionButton optionKikinagashiMode{Frame1};
    forms::OptionButton optionMogisikenMode{Frame1};
    forms::Label checkTypeKeyLeftLabel{Frame1};
    forms::CheckBox checkTypeKey{Frame1};
    forms::Label checkTypeKeyRightLabel{Frame1};
    forms::ComboBox comboMogisikenMode{Frame1};
    forms::Frame Frame2{in(Frame1)};
    forms::Label Label1{Frame2};
    forms::Label Label4{Frame2};
    forms::Label Label5{Frame2};
    forms::Label Label2{Frame2};
    forms::Label Label3{Frame2};
    forms::CommandButton StartButton_Command{Frame1};
    forms::CommandButton StopButton_Command{Frame1};
    forms::CommandButton KaitoupassButton_Command{Frame1};
    forms::TextBox textLimitKikitoriMode{Frame1};
    forms::UpDown upDownLimitKikitoriMode{Frame1};
    forms::Label Label7{Frame1};
    forms::Frame Frame4{in(frameControl)};
    forms::OptionButton optionSpeed25{Frame4};
    forms::OptionButton optionSpeed45{Frame4};
    forms::OptionButton optionSpeed60{Frame4};
    forms::OptionButton optionSpeed80{Frame4};
    forms::TextBox textCwSpeed{Frame4};
    forms::UpDown upDownSpeed{Frame4};
    forms::Frame Frame3{in(frameControl)};
    forms::TextBox textToneFreq{Frame3};
    forms::UpDown upDownToneFreq{Frame3};
    forms::Label Label6{Frame3};
    forms::Frame Frame6{in(frameControl)};
    forms::TextBox textReceiveTime{Frame6};
    forms::UpDown upDownReceiveTime{Frame6};
    forms::Label labelReceiveTime{Frame6};

    // The keypads of the two alphabets; the layout parks the other one out of sight.
    forms::Frame frameEngButton{*this};
    forms::Frame frameJpButton{*this};
    forms::CheckBox checkExceptDakutenHandakuten{frameJpButton};
    // The 48 Latin answer keys in LatinCharTable order (A_Button .. HH_Button).
    forms::ControlArray<forms::CommandButton> LatinButton{frameEngButton, 1, 48};
    // The 68 kana answer keys in KanaCharTable order.
    forms::ControlArray<forms::CommandButton> ButtonJp{frameJpButton, 1, 68};

    // Timers.
    forms::Timer timerLimitKikitoriMode{*this};
    forms::Timer timerCheckWavePlayEnd{*this};
    forms::Timer timerUserChoseLetters{*this};
    forms::Timer timerUserChoseJpLetters{*this};

    // Handlers of the window's life and menus.
    void Form_Load();
    void Form_QueryUnload(int& cancel, int unloadMode);
    void Form_Resize();
    void mnuEnd_Click();
    void mnuChange_Click();
    void mnuSoundWave_Click();
    void mnuSoundBeep_Click();
    void mnuOptions_Click();
    void mnuHelpAbout_Click();
    void mnuHelpReadme_Click();
    void mnuHelpOnlineManual_Click();
    void mnuHelpGoHamWeb_Click();

    // Handlers of the practice-mode panel.
    void optionKakuninMode_Click();
    void optionKikitoriMode_Click();
    void optionKikinagashiMode_Click();
    void optionMogisikenMode_Click();
    void comboMogisikenMode_Click();
    void checkExceptDakutenHandakuten_Click();
    void textCwSpeed_Change();
    void DigitFilter_KeyPress(int& keyAscii);
    void NumericBox_Click(forms::TextBox& box);
    void textCwSpeed_LostFocus();
    void textToneFreq_LostFocus();
    void textReceiveTime_LostFocus();

    // The run: Start, Stop, the pass button and the run timers.
    void StartButton_Command_Click();
    void StopButton_Command_Click();
    void StopButton_Command_MouseUp();
    void KaitoupassButton_Command_Click();
    void timerLimitKikitoriMode_Timer();
    void timerCheckWavePlayEnd_Timer();
    void upDownLimitKikitoriMode_Change();
    // The tone box as a number with the clamp of its LostFocus rule, without writing
    // the box: every read of the tone during a run goes through it.
    std::int16_t ToneOfBox();

    // Answer keys (their bodies are with the answer input).
    void LatinButton_Click(int index);
    void ButtonJp_Click(int index);
    // The keyboard, previewed for every control: the Esc functions, then the Latin
    // key map or the kana romaji readers.
    void Form_KeyPress(int& keyAscii);
    // The romaji entry shared by the kana readers: keys appended since the entry
    // began (0: the next key begins one) and their texts.
    std::int16_t RomajiKeyCount = 0;
    QString RomajiBuffer;

    // Range menus, key captions and the blinking of the user-chosen sets.
    // Item of LatinRangeTable row 1..13.
    forms::Menu& LatinRangeItem(int row);
    // Rows 1..12: the fixed ranges; row 13 has its own handler.
    void LatinRangeItem_Click(int row);
    void mnuMojihanniUserChose_Click();
    void mnuMojihanniWabun_Hani_Click(int index);
    void RestoreLatinKeyCaptions();
    void RestoreKanaKeyCaptions();
    void timerUserChoseLetters_Timer();
    void timerUserChoseJpLetters_Timer();
    // The blink phase the next tick applies: -1 hide the chosen captions, 0 show them.
    std::int16_t LatinBlinkHidden = 0;
    std::int16_t KanaBlinkHidden = 0;

    // Enables Start when a press can act on it: not while a stopped run still
    // unwinds, nor while the end of a played exam is still polled. Until then Start
    // stays disabled and comes back when that ends. Code check has no run: there
    // Start stays off whatever run ends.
    void GiveBackStart();
    // A run goes on and has not been stopped: it holds the controls it locked.
    bool RunHoldsPanel();
    // Gives back the tone box and spinner, the speed presets, box and spinner that
    // every run locks (the ends of a run add what else they give back).
    void GiveBackToneAndSpeed();
    // What every run locks: Start (GiveBackStart), the alphabet switch, the mode
    // options, tone and speed.
    void GiveBackRunControls();
    // The above, the exam-kind list and the exam-length box and spinner that a mock
    // exam locks too: the end of an exam, a refused one, a cancelled conversion. The
    // range menu and the pass button follow the exam kind at each of them.
    void GiveBackExamControls();

    // The range menu of the alphabet in use.
    forms::Menu& RangeMenuOfAlphabet();
    // The user-chosen set of the alphabet in use is the checked range.
    bool UserSetInForce();
    // Its blink timer.
    forms::Timer& BlinkTimerOfAlphabet();
    // The receive-time group on (enabled, window colour) or off (disabled, grey).
    void SetReceiveTimeGroup(bool on);
    // The keyboard-input box with its two bracket labels.
    void SetTypeKeyTrio(bool enabled);

private:
    void design();
};

inline forms::FormRef<FrmMain> frmMain;

// Every end of a run goes through it: raises StopRequested, gives the run's
// controls back and, after a single-character run, shows the results.
void EndPracticeRun();

// Ends the program from any depth: saves the main window's settings, stops the
// sound and leaves the process. When the system asked to end, a save that fails
// is said on standard error only.
[[noreturn]] void EndProgramSavingSettings(bool systemAsked = false);

// From now on the system's requests to end (signals, the end of the desktop
// session) end the program as the close box does, once the main window has loaded
// its settings; before that they end it at once, with success.
void ListenForEndRequests();
