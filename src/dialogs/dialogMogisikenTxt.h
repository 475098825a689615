#pragma once
#include "platform/forms/forms.h"

#include <QString>
#include <cstdint>

// The slot open in the editor panel, per alphabet (0..9).
extern std::int16_t LatinExamTextEditSlot;
extern std::int16_t KanaExamTextEditSlot;

// The exam-text dialog: ten registered exam texts per alphabet, how one is chosen
// for an exam, and the editor whose text is the exam text of the current run. Its
// controls are the live store of the selection method, the start/end flag, the
// registered paths and the enabled flags; every unload saves them.
class DialogMogisikenTxt : public forms::Form {
public:
    DialogMogisikenTxt();

    forms::Frame frameSelectMode{*this};
    forms::OptionButton optionTextRandom{frameSelectMode};
    forms::OptionButton optionTestSelect{frameSelectMode};
    forms::CommandButton cmdCredit{*this};
    forms::CommandButton cmdCreditAllDelete{*this};
    forms::CheckBox checkAutoStartEndAdd{*this};
    forms::Label labelExplanation{*this};

    // Picture1(0) the list panel, Picture1(1) the editor panel, in the same place:
    // the one in use stands at Left 120, the other out of view.
    forms::ControlArray<forms::PictureBox> Picture1{*this, 0, 1};
    forms::Frame frameNumbers{Picture1(0)};
    forms::ControlArray<forms::Label> labelNumber{frameNumbers, 0, 9};
    forms::Label labelSelectHeading{Picture1(0)};
    // (0) the tick boxes of the random method, (1) the option buttons of the pick.
    forms::ControlArray<forms::Frame> frameCheckOrOption{Picture1(0), 0, 1};
    forms::ControlArray<forms::CheckBox> checkSelectText{frameCheckOrOption(0), 0, 9};
    forms::ControlArray<forms::OptionButton> optionSelectText{frameCheckOrOption(1), 0, 9};
    forms::Frame frameFilePath{Picture1(0)};
    forms::ControlArray<forms::TextBox> textFilePath{frameFilePath, 0, 9};

    // The exam text of the current run: the run driver loads the chosen slot's file
    // into it and the exam generators read it.
    forms::TextEditor richTextBoxEdit{Picture1(1)};
    forms::CommandButton cmdTextSave{Picture1(1)};
    forms::CommandButton cmdDelete{Picture1(1)};

    forms::CommandButton OKButton{*this};

private:
    void LoadExamTextSettings();
    void ShowSelectionModeControls();
    void OpenExamTextForEdit(int slot);
    void SaveExamTextSettings();
    void checkAutoStartEndAdd_Click();
    void checkSelectText_Click(int index);
    void cmdCredit_Click();
    void cmdCreditAllDelete_Click();
    void cmdDelete_Click();
    void cmdTextSave_Click();
    void Form_Load();
    void Form_QueryUnload(int& cancel, int unloadMode);
    void OKButton_Click();
    void optionSelectText_Click(int index);
    void richTextBoxEdit_Change();
    void textFilePath_Change(int index);
    void textFilePath_DblClick(int index);

    void ShowListButtons(bool on);
    void ShowPanel(int panel);
    void FreeSlot(int slot);
    void DeleteSlotSound(int slot);
    void MarkSlotRegistered(int slot, bool on);
    void EndEditing();
    std::int16_t& EditSlot();

    // The editor text seen by the last change.
    QString LastEditorText;
    // The text of the edited slot's file as last read or written: the save writes
    // the file only when the editor differs from it.
    QString editorFileText_;
    // The open registration created its file (the name did not exist).
    bool registrationCreatedFile_ = false;
};

inline forms::FormRef<DialogMogisikenTxt> dialogMogisikenTxt;
