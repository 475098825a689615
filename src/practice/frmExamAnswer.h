#pragma once
#include "platform/forms/forms.h"

// The exam answer window: the text of the last mock exam, shown after the exam.
// Closing it gives back the user-chosen answer keys, the range menu or the pass
// button, and the alphabet switch; its caller gives back the rest.
class FrmExamAnswer : public forms::Form {
public:
    FrmExamAnswer();

    forms::TextEditor richTextBoxExamAnswer{*this};
    forms::CommandButton cmdClose{*this};

    void Form_Load();
    void Form_QueryUnload(int& cancel, int unloadMode);
};

inline forms::FormRef<FrmExamAnswer> frmExamAnswer;
