#pragma once
#include "platform/forms/forms.h"

// The exam-text dialog: ten registered exam texts per alphabet.
class DialogMogisikenTxt : public forms::Form {
public:
    DialogMogisikenTxt();

    forms::Label labelExplanation{*this};
    // The exam text of the current run: the run driver loads the chosen slot's file
    // into it and the exam generators read it.
    forms::TextEditor richTextBoxEdit{*this};
};

inline forms::FormRef<DialogMogisikenTxt> dialogMogisikenTxt;
